#include "pictures/Verkleinern.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <png.h>

#include "common/Dateien.h"
#include "common/Fehler.h"
#include "common/Text.h"
#include "common/Zeichensatz.h"

namespace lw {
namespace {

// As in the decoders: libjpeg leaves a fatal error by longjmp, so the
// function that calls setjmp holds no object with a destructor.
struct JpegSchreiber {
    jpeg_compress_struct info;
    jpeg_error_mgr fehler;
    std::jmp_buf sprung;
    unsigned char* puffer;
    unsigned long laenge;
};

[[noreturn]] void JpegFehler(j_common_ptr c) {
    std::longjmp(static_cast<JpegSchreiber*>(c->client_data)->sprung, 1);
}

bool JpegSchreiben(JpegSchreiber& s, const Bild& bild) {
    if (setjmp(s.sprung)) return false;
    jpeg_create_compress(&s.info);
    jpeg_mem_dest(&s.info, &s.puffer, &s.laenge);
    s.info.image_width = static_cast<JDIMENSION>(bild.breite);
    s.info.image_height = static_cast<JDIMENSION>(bild.hoehe);
    s.info.input_components = 4;
    s.info.in_color_space = JCS_EXT_RGBA;
    jpeg_set_defaults(&s.info);
    jpeg_set_quality(&s.info, kKopieJpegQualitaet, TRUE);
    jpeg_start_compress(&s.info, TRUE);
    const std::size_t zeilenbytes = static_cast<std::size_t>(bild.breite) * 4;
    while (s.info.next_scanline < s.info.image_height) {
        // libjpeg only reads the row, but its interface is not const.
        auto* zeile = const_cast<JSAMPROW>(bild.rgba.data() + s.info.next_scanline * zeilenbytes);
        jpeg_write_scanlines(&s.info, &zeile, 1);
    }
    jpeg_finish_compress(&s.info);
    return true;
}

std::string JpegKodieren(const Bild& bild, const std::string& pfad) {
    JpegSchreiber s{};
    s.info.err = jpeg_std_error(&s.fehler);
    s.fehler.error_exit = JpegFehler;
    s.info.client_data = &s;
    const bool gut = JpegSchreiben(s, bild);
    std::string bytes;
    if (gut) bytes.assign(reinterpret_cast<const char*>(s.puffer), s.laenge);
    jpeg_destroy_compress(&s.info);
    std::free(s.puffer);
    if (!gut)
        throw Fehler(W("Die verkleinerte Kopie von ") + pfad + W(" kann nicht erstellt werden"));
    return bytes;
}

// libpng's simplified interface reports failures by its result, no longjmp.
std::string PngKodieren(const Bild& bild, const std::string& pfad) {
    png_image bildInfo{};
    bildInfo.version = PNG_IMAGE_VERSION;
    bildInfo.width = static_cast<png_uint_32>(bild.breite);
    bildInfo.height = static_cast<png_uint_32>(bild.hoehe);
    bildInfo.format = PNG_FORMAT_RGBA;
    png_alloc_size_t groesse = 0;
    std::string bytes;
    bool gut = png_image_write_to_memory(&bildInfo, nullptr, &groesse, 0, bild.rgba.data(), 0,
                                         nullptr) != 0;
    if (gut) {
        bytes.resize(groesse);
        gut = png_image_write_to_memory(&bildInfo, bytes.data(), &groesse, 0, bild.rgba.data(), 0,
                                        nullptr) != 0;
        bytes.resize(groesse);
    }
    png_image_free(&bildInfo);
    if (!gut)
        throw Fehler(W("Die verkleinerte Kopie von ") + pfad + W(" kann nicht erstellt werden"));
    return bytes;
}

// For each new pixel along one axis: the old pixels it covers and how much
// of each, the shares summing to one.
struct Spannen {
    std::vector<int> anfang;  // first old pixel of new pixel i
    std::vector<int> anzahl;
    std::vector<int> erster;  // index of its first share in anteil
    std::vector<float> anteil;
};

Spannen SpannenBerechnen(int alt, int neu) {
    Spannen s;
    const double faktor = static_cast<double>(alt) / neu;
    for (int i = 0; i < neu; ++i) {
        const double von = i * faktor, bis = std::min<double>((i + 1) * faktor, alt);
        const int erstes = static_cast<int>(von);
        const int letztes = std::min(alt, static_cast<int>(std::ceil(bis)));
        s.anfang.push_back(erstes);
        s.anzahl.push_back(letztes - erstes);
        s.erster.push_back(static_cast<int>(s.anteil.size()));
        for (int k = erstes; k < letztes; ++k)
            s.anteil.push_back(static_cast<float>(
                (std::min<double>(bis, k + 1) - std::max<double>(von, k)) / (bis - von)));
    }
    return s;
}

std::uint8_t Byte(float wert) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(wert), 0L, 255L));
}

bool HatTransparenz(const Bild& bild) {
    for (std::size_t i = 3; i < bild.rgba.size(); i += 4)
        if (bild.rgba[i] != 255) return true;
    return false;
}

std::string Kleinbuchstaben(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace

std::string HandyHinweis(long long bytes, int breite) {
    if (bytes <= kHandyMaxBytes && breite <= kHandyMaxBreite) return {};
    // A wide but small file still reads "0,1 MB", not "0,0 MB".
    const long long zehntel =
        std::max(1LL, std::llround(static_cast<double>(bytes) * 10 / (1024.0 * 1024.0)));
    return W("Dieses Bild ist ") + std::to_string(zehntel / 10) + "," +
           std::to_string(zehntel % 10) + W(" MB groß und lädt auf dem Handy langsam.");
}

std::string HandyHinweis(const std::string& pfad, const Bild& bild) {
    struct stat info {};
    if (::stat(LokalerPfad(pfad).c_str(), &info) != 0) throw Fehler(SystemGrund(errno, pfad));
    return HandyHinweis(static_cast<long long>(info.st_size), bild.breite);
}

std::string HandyHinweis(const std::string& pfad) {
    return HandyHinweis(pfad, BildLaden(pfad));
}

Bild BildSkalieren(const Bild& bild, int breite, int hoehe) {
    const Spannen x = SpannenBerechnen(bild.breite, breite);
    const Spannen y = SpannenBerechnen(bild.hoehe, hoehe);

    // Across first, into colour times alpha and alpha, one row per old row.
    std::vector<float> quer(static_cast<std::size_t>(breite) * bild.hoehe * 4);
    for (int zeile = 0; zeile < bild.hoehe; ++zeile) {
        const std::uint8_t* alt =
            bild.rgba.data() + static_cast<std::size_t>(zeile) * bild.breite * 4;
        float* neu = quer.data() + static_cast<std::size_t>(zeile) * breite * 4;
        for (int i = 0; i < breite; ++i) {
            float r = 0, g = 0, b = 0, a = 0;
            const float* anteil = x.anteil.data() + x.erster[i];
            const std::uint8_t* p = alt + static_cast<std::size_t>(x.anfang[i]) * 4;
            for (int k = 0; k < x.anzahl[i]; ++k, p += 4) {
                const float w = anteil[k] * p[3];
                r += w * p[0];
                g += w * p[1];
                b += w * p[2];
                a += w;
            }
            neu[4 * i] = r;
            neu[4 * i + 1] = g;
            neu[4 * i + 2] = b;
            neu[4 * i + 3] = a;
        }
    }

    Bild aus;
    aus.breite = breite;
    aus.hoehe = hoehe;
    aus.rgba.resize(static_cast<std::size_t>(breite) * hoehe * 4);
    std::vector<float> summe(static_cast<std::size_t>(breite) * 4);
    const std::size_t zeilenwerte = static_cast<std::size_t>(breite) * 4;
    for (int j = 0; j < hoehe; ++j) {
        std::fill(summe.begin(), summe.end(), 0.0f);
        const float* anteil = y.anteil.data() + y.erster[j];
        for (int k = 0; k < y.anzahl[j]; ++k) {
            const float w = anteil[k];
            const float* zeile = quer.data() + (y.anfang[j] + k) * zeilenwerte;
            for (std::size_t v = 0; v < zeilenwerte; ++v) summe[v] += w * zeile[v];
        }
        std::uint8_t* ziel = aus.rgba.data() + j * zeilenwerte;
        for (int i = 0; i < breite; ++i) {
            const float a = summe[4 * i + 3];
            const float kehr = a > 0 ? 1.0f / a : 0.0f;
            for (int c = 0; c < 3; ++c) ziel[4 * i + c] = Byte(summe[4 * i + c] * kehr);
            ziel[4 * i + 3] = Byte(a);
        }
    }
    return aus;
}

std::string VerkleinerteKopie(const std::string& pfad, const std::string& ordner, int maxBreite) {
    Bild bild = BildLaden(pfad, maxBreite);
    const int breite = std::min(maxBreite, bild.breite);
    const int hoehe = std::max(
        1, static_cast<int>(std::lround(static_cast<double>(bild.hoehe) * breite / bild.breite)));
    if (breite != bild.breite || hoehe != bild.hoehe) bild = BildSkalieren(bild, breite, hoehe);

    const std::string name = DateiName(pfad);
    const std::string stamm = NameOhneEndung(name);
    const std::string endung = name.substr(stamm.size());
    const std::string klein = Kleinbuchstaben(endung);
    std::string bytes, neueEndung;
    if (HatTransparenz(bild)) {
        bytes = PngKodieren(bild, pfad);
        neueEndung = klein == ".png" ? endung : ".png";
    } else {
        bytes = JpegKodieren(bild, pfad);
        neueEndung = klein == ".jpg" || klein == ".jpeg" || klein == ".jpe" ? endung : ".jpg";
    }
    if (!OrdnerExistiert(ordner)) OrdnerErzeugen(ordner);
    const std::string ziel = ordner + "/" + stamm + neueEndung;
    DateiErstellen(ziel, bytes);
    return ziel;
}

}  // namespace lw
