#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <string>
#include <string_view>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "pictures/Dekoder.h"

// libjpeg reports fatal errors through error_exit, which must not return. We
// leave it by longjmp; a C++ exception must never cross libjpeg's C frames.
// Therefore the functions that call setjmp (KopfLesen, Starten, ZeilenLesen)
// hold no object with a destructor, and the reason is turned into lw::Fehler
// only after they have returned.
namespace lw::bild {
namespace {

// Legitimate progressive files have about ten scans; thousands of tiny scans
// make the decoder walk the whole coefficient buffer for each of them.
constexpr int kMaxScans = 1000;
// Safety net for libjpeg's own buffers (progressive files keep all
// coefficients in memory); beyond it libjpeg fails instead of allocating.
constexpr long kMaxJpegSpeicher = 1024L * 1024 * 1024;

enum class Grund { Beschaedigt, ZuGross, Leer, NichtUnterstuetzt };

// Plain C data only: it lives in JpegDekodieren's frame, below the jumps.
struct JpegLeser {
    jpeg_decompress_struct info;
    jpeg_error_mgr fehler;
    jpeg_progress_mgr fortschritt;
    std::jmp_buf sprung;
    Grund grund;
};

JpegLeser& LeserVon(j_common_ptr c) {
    return *static_cast<JpegLeser*>(c->client_data);
}

[[noreturn]] void Abbrechen(j_common_ptr c, Grund grund) {
    JpegLeser& leser = LeserVon(c);
    leser.grund = grund;
    std::longjmp(leser.sprung, 1);
}

[[noreturn]] void FehlerAusgang(j_common_ptr c) {
    switch (c->err->msg_code) {
        case JERR_IMAGE_TOO_BIG:
        case JERR_OUT_OF_MEMORY:
        case JERR_NO_BACKING_STORE:
            Abbrechen(c, Grund::ZuGross);
        case JERR_EMPTY_IMAGE:
            Abbrechen(c, Grund::Leer);
        case JERR_BAD_PRECISION:
        case JERR_CONVERSION_NOTIMPL:
        case JERR_ARITH_NOTIMPL:
        case JERR_NOT_COMPILED:
            Abbrechen(c, Grund::NichtUnterstuetzt);
        default:
            Abbrechen(c, Grund::Beschaedigt);
    }
}

// Small damage (stray bytes between markers and the like) is tolerated
// silently, as browsers do. Data that end early are not: libjpeg would fill
// the missing part with grey and call it a picture.
void Meldung(j_common_ptr c, int stufe) {
    if (stufe >= 0) return;
    if (c->err->msg_code == JWRN_JPEG_EOF || c->err->msg_code == JWRN_HIT_MARKER)
        Abbrechen(c, Grund::Beschaedigt);
    ++c->err->num_warnings;
}

void KeineAusgabe(j_common_ptr) {}

void ScansBegrenzen(j_common_ptr c) {
    if (c->is_decompressor && reinterpret_cast<j_decompress_ptr>(c)->input_scan_number > kMaxScans)
        Abbrechen(c, Grund::Beschaedigt);
}

bool KopfLesen(JpegLeser& l, const unsigned char* daten, unsigned long laenge) {
    if (setjmp(l.sprung)) return false;
    jpeg_create_decompress(&l.info);
    l.info.progress = &l.fortschritt;
    l.info.mem->max_memory_to_use = kMaxJpegSpeicher;
    jpeg_mem_src(&l.info, daten, laenge);
    jpeg_read_header(&l.info, TRUE);
    return true;
}

// A progressive file is read whole here, so a cut one fails before the
// caller allocates the pixels.
bool Starten(JpegLeser& l) {
    if (setjmp(l.sprung)) return false;
    jpeg_start_decompress(&l.info);
    return true;
}

// ziel holds output_height rows of zeilenbytes each, owned by the caller.
bool ZeilenLesen(JpegLeser& l, unsigned char* ziel, std::size_t zeilenbytes) {
    if (setjmp(l.sprung)) return false;
    while (l.info.output_scanline < l.info.output_height) {
        JSAMPROW zeile = ziel + l.info.output_scanline * zeilenbytes;
        if (jpeg_read_scanlines(&l.info, &zeile, 1) != 1) {
            l.grund = Grund::Beschaedigt;
            return false;
        }
    }
    // Reads up to the end marker, so that a cut file is noticed whether it
    // is progressive or not.
    jpeg_finish_decompress(&l.info);
    return true;
}

std::uint8_t Mal(unsigned a, unsigned b) {
    return static_cast<std::uint8_t>((a * b + 127) / 255);
}

// libjpeg delivers CMYK as stored. Adobe's writers store the inks inverted
// (255 = no ink); without their marker the values are plain ink amounts.
void CmykNachRgba(std::vector<std::uint8_t>& pixel, bool adobeInvertiert) {
    for (std::size_t i = 0; i + 3 < pixel.size(); i += 4) {
        unsigned c = pixel[i], m = pixel[i + 1], y = pixel[i + 2], k = pixel[i + 3];
        if (!adobeInvertiert) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        pixel[i] = Mal(c, k);
        pixel[i + 1] = Mal(m, k);
        pixel[i + 2] = Mal(y, k);
        pixel[i + 3] = 255;
    }
}

class Aufraeumen final {
public:
    explicit Aufraeumen(JpegLeser& l) : l_(l) {}
    ~Aufraeumen() { jpeg_destroy_decompress(&l_.info); }
    Aufraeumen(const Aufraeumen&) = delete;
    Aufraeumen& operator=(const Aufraeumen&) = delete;

private:
    JpegLeser& l_;
};

[[noreturn]] void Melden(const JpegLeser& l, const std::string& pfad) {
    switch (l.grund) {
        case Grund::ZuGross:
            ZuGross(pfad, l.info.image_width, l.info.image_height);
        case Grund::Leer:
            GroessePruefen(pfad, l.info.image_width, l.info.image_height);
            break;
        case Grund::NichtUnterstuetzt:
            NichtUnterstuetzt(pfad);
        case Grund::Beschaedigt:
            break;
    }
    Beschaedigt(pfad);
}

}  // namespace

Bild JpegDekodieren(std::string_view daten, const std::string& pfad, int mindestBreite) {
    JpegLeser l{};  // zeroed: jpeg_destroy_decompress is harmless even if creation failed
    Aufraeumen aufraeumen(l);
    l.info.err = jpeg_std_error(&l.fehler);
    l.fehler.error_exit = FehlerAusgang;
    l.fehler.emit_message = Meldung;
    l.fehler.output_message = KeineAusgabe;
    l.info.client_data = &l;
    l.fortschritt.progress_monitor = ScansBegrenzen;

    if (!KopfLesen(l, reinterpret_cast<const unsigned char*>(daten.data()), daten.size()))
        Melden(l, pfad);
    GroessePruefen(pfad, l.info.image_width, l.info.image_height);

    bool cmyk = false;
    switch (l.info.jpeg_color_space) {
        case JCS_GRAYSCALE:
        case JCS_YCbCr:
        case JCS_RGB:
            l.info.out_color_space = JCS_EXT_RGBA;
            break;
        case JCS_CMYK:
        case JCS_YCCK:
            l.info.out_color_space = JCS_CMYK;
            cmyk = true;
            break;
        default:
            NichtUnterstuetzt(pfad);
    }

    // libjpeg's output size at scale n/8 is the size times n / 8, rounded up.
    unsigned achtel = 8;
    while (mindestBreite > 0 && achtel > 1 &&
           (l.info.image_width * (achtel - 1) + 7) / 8 >= static_cast<unsigned>(mindestBreite))
        --achtel;
    l.info.scale_num = achtel;
    l.info.scale_denom = 8;
    const JDIMENSION breite = (l.info.image_width * achtel + 7) / 8;
    const JDIMENSION hoehe = (l.info.image_height * achtel + 7) / 8;

    if (!Starten(l)) Melden(l, pfad);
    if (l.info.output_width != breite || l.info.output_height != hoehe ||
        l.info.output_components != 4)
        Beschaedigt(pfad);

    Bild bild;
    bild.breite = static_cast<int>(l.info.output_width);
    bild.hoehe = static_cast<int>(l.info.output_height);
    const std::size_t zeilenbytes = static_cast<std::size_t>(bild.breite) * 4;
    bild.rgba.resize(zeilenbytes * static_cast<std::size_t>(bild.hoehe));
    if (!ZeilenLesen(l, bild.rgba.data(), zeilenbytes)) Melden(l, pfad);
    if (cmyk) CmykNachRgba(bild.rgba, l.info.saw_Adobe_marker);
    return bild;
}

}  // namespace lw::bild
