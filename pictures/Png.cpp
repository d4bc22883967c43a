#include <png.h>

#include <csetjmp>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "pictures/Dekoder.h"

// libpng reports fatal errors through its error function, which must not
// return; it leaves by longjmp to the setjmp of the step that called libpng.
// As with libjpeg, a C++ exception never crosses libpng's C frames: the
// functions that call setjmp (KopfLesen, PixelLesen) hold no object with a
// destructor, and the failure becomes lw::Fehler after they have returned.
namespace lw::bild {
namespace {

// Plain C data only: libpng reads through it from inside its own frames.
struct Quelle {
    const unsigned char* pos;
    std::size_t rest;
};

void SpeicherLesen(png_structp png, png_bytep ziel, png_size_t anzahl) {
    auto* quelle = static_cast<Quelle*>(png_get_io_ptr(png));
    if (anzahl > quelle->rest) png_error(png, "unexpected end of data");
    std::memcpy(ziel, quelle->pos, anzahl);
    quelle->pos += anzahl;
    quelle->rest -= anzahl;
}

[[noreturn]] void FehlerAusgang(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

// Damage libpng can step over (a bad ancillary chunk) passes, as in browsers.
void KeineWarnung(png_structp, png_const_charp) {}

bool KopfLesen(png_structp png, png_infop info) {
    if (setjmp(png_jmpbuf(png))) return false;
    // libpng's own limit stops at a million pixels a side with a message of
    // damage; the real limit is checked afterwards with the numbers read.
    png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_read_info(png, info);
    return true;
}

// Every kind of PNG becomes 8-bit RGBA: palettes and grey levels below 8 bits
// are expanded, a tRNS chunk becomes alpha, 16-bit samples are scaled down,
// grey is copied to the three colours and opaque pictures get alpha 255.
// zeilen holds one pointer per row into the caller's pixels.
bool PixelLesen(png_structp png, png_infop info, png_bytepp zeilen, std::size_t zeilenbytes) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != zeilenbytes || png_get_channels(png, info) != 4 ||
        png_get_bit_depth(png, info) != 8)
        return false;
    png_read_image(png, zeilen);
    // Reads up to IEND, so that a cut file is noticed as with JPEG.
    png_read_end(png, nullptr);
    return true;
}

class Aufraeumen final {
public:
    Aufraeumen(png_structp& png, png_infop& info) : png_(png), info_(info) {}
    ~Aufraeumen() { png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr); }
    Aufraeumen(const Aufraeumen&) = delete;
    Aufraeumen& operator=(const Aufraeumen&) = delete;

private:
    png_structp& png_;
    png_infop& info_;
};

}  // namespace

Bild PngDekodieren(std::string_view daten, const std::string& pfad) {
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, FehlerAusgang, KeineWarnung);
    if (!png) Beschaedigt(pfad);
    png_infop info = png_create_info_struct(png);
    const Aufraeumen aufraeumen(png, info);
    if (!info) Beschaedigt(pfad);
    Quelle quelle{reinterpret_cast<const unsigned char*>(daten.data()), daten.size()};
    png_set_read_fn(png, &quelle, SpeicherLesen);

    if (!KopfLesen(png, info)) Beschaedigt(pfad);
    GroessePruefen(pfad, png_get_image_width(png, info), png_get_image_height(png, info));

    Bild bild;
    bild.breite = static_cast<int>(png_get_image_width(png, info));
    bild.hoehe = static_cast<int>(png_get_image_height(png, info));
    const std::size_t zeilenbytes = static_cast<std::size_t>(bild.breite) * 4;
    bild.rgba.resize(zeilenbytes * static_cast<std::size_t>(bild.hoehe));
    std::vector<png_bytep> zeilen(static_cast<std::size_t>(bild.hoehe));
    for (std::size_t y = 0; y < zeilen.size(); ++y) zeilen[y] = bild.rgba.data() + y * zeilenbytes;
    if (!PixelLesen(png, info, zeilen.data(), zeilenbytes)) Beschaedigt(pfad);
    return bild;
}

}  // namespace lw::bild
