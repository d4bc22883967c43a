#include "tests/support/Bildmuster.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

namespace lw::test {
namespace {

J_COLOR_SPACE Farbraum(int komponenten) {
    switch (komponenten) {
        case 1:
            return JCS_GRAYSCALE;
        case 3:
            return JCS_RGB;
        case 4:
            return JCS_CMYK;
        default:
            return JCS_UNKNOWN;
    }
}

// Every coefficient of every component gets its own first scan at the lowest
// precision and then one refinement scan per bit: 11 x 64 scans per component.
std::vector<jpeg_scan_info> JeBitEinScan(int komponenten) {
    constexpr int kBits = 10;
    std::vector<jpeg_scan_info> skript;
    for (int k = 0; k < komponenten; ++k) {
        for (int koeff = 0; koeff < 64; ++koeff) {
            for (int ah = 0, al = kBits; al >= 0; ah = al, --al) {
                jpeg_scan_info scan{};
                scan.comps_in_scan = 1;
                scan.component_index[0] = k;
                scan.Ss = scan.Se = koeff;
                scan.Ah = ah;
                scan.Al = al;
                skript.push_back(scan);
            }
        }
    }
    return skript;
}

int InStringSchreiben(GifFileType* gif, const GifByteType* daten, int anzahl) {
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(daten), anzahl);
    return anzahl;
}

void Pruefen(int ergebnis, const char* schritt) {
    if (ergebnis != GIF_OK) throw std::runtime_error(schritt);
}

void FrameSchreiben(GifFileType* gif, const GifMuster& m,
                    const std::vector<std::uint8_t>& indizes) {
    Pruefen(EGifPutImageDesc(gif, m.links, m.oben, m.breite, m.hoehe, m.interlaced, nullptr),
            "EGifPutImageDesc");
    std::vector<int> reihenfolge;
    if (m.interlaced) {
        constexpr int kStart[] = {0, 4, 2, 1};
        constexpr int kSchritt[] = {8, 8, 4, 2};
        for (int d = 0; d < 4; ++d)
            for (int y = kStart[d]; y < m.hoehe; y += kSchritt[d]) reihenfolge.push_back(y);
    } else {
        for (int y = 0; y < m.hoehe; ++y) reihenfolge.push_back(y);
    }
    for (int y : reihenfolge) {
        std::vector<GifPixelType> zeile(indizes.begin() + y * m.breite,
                                        indizes.begin() + (y + 1) * m.breite);
        Pruefen(EGifPutLine(gif, zeile.data(), m.breite), "EGifPutLine");
    }
}

void PngInString(png_structp png, png_bytep daten, png_size_t anzahl) {
    static_cast<std::string*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(daten), anzahl);
}

void PngNichtsLeeren(png_structp) {}

// The length field of the chunk that starts there.
std::size_t PngLaenge(const std::string& png, std::size_t chunk) {
    std::size_t laenge = 0;
    for (int i = 0; i < 4; ++i)
        laenge = laenge << 8 | static_cast<unsigned char>(png.at(chunk + i));
    return laenge;
}

// Holds no object with a destructor: libpng leaves it by longjmp on failure.
bool PngSchreiben(png_structp png, png_infop info, const PngMuster& m, png_colorp palette,
                  png_color_16p transparent, png_bytepp zeilen) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_IHDR(png, info, static_cast<png_uint_32>(m.breite), static_cast<png_uint_32>(m.hoehe),
                 m.bittiefe, m.farbtyp, m.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!m.palette.empty()) png_set_PLTE(png, info, palette, static_cast<int>(m.palette.size()));
    if (!m.paletteAlpha.empty())
        png_set_tRNS(png, info, m.paletteAlpha.data(), static_cast<int>(m.paletteAlpha.size()),
                     nullptr);
    if (!m.transparent.empty()) png_set_tRNS(png, info, nullptr, 0, transparent);
    png_write_info(png, info);
    png_set_packing(png);
    png_write_image(png, zeilen);
    png_write_end(png, info);
    return true;
}

}  // namespace

int PngKanaele(int farbtyp) {
    return farbtyp == PNG_COLOR_TYPE_RGB          ? 3
           : farbtyp == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
           : farbtyp == PNG_COLOR_TYPE_RGB_ALPHA  ? 4
                                                  : 1;
}

std::string PngKodieren(const PngMuster& m) {
    // One byte a sample below 16 bits, packed by libpng; 16 bits high byte first.
    std::vector<png_byte> pixel;
    for (const std::uint16_t wert : m.werte) {
        if (m.bittiefe == 16) pixel.push_back(static_cast<png_byte>(wert >> 8));
        pixel.push_back(static_cast<png_byte>(wert & 0xFF));
    }
    const std::size_t zeilenbytes = pixel.size() / m.hoehe;
    std::vector<png_bytep> zeilen;
    for (int y = 0; y < m.hoehe; ++y) zeilen.push_back(pixel.data() + y * zeilenbytes);
    std::vector<png_color> palette;
    for (const Rgb& f : m.palette) palette.push_back({f[0], f[1], f[2]});
    png_color_16 transparent{};
    if (m.transparent.size() == 1) transparent.gray = m.transparent[0];
    if (m.transparent.size() == 3)
        transparent = {0, m.transparent[0], m.transparent[1], m.transparent[2], 0};

    std::string datei;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) throw std::runtime_error("png_create_write_struct");
    png_set_write_fn(png, &datei, PngInString, PngNichtsLeeren);
    const bool geschrieben =
        PngSchreiben(png, info, m, palette.data(), &transparent, zeilen.data());
    png_destroy_write_struct(&png, &info);
    if (!geschrieben) throw std::runtime_error("PngKodieren");
    return datei;
}

std::string JpegKodieren(const JpegMuster& m) {
    jpeg_compress_struct c{};
    jpeg_error_mgr fehler{};
    c.err = jpeg_std_error(&fehler);
    jpeg_create_compress(&c);
    unsigned char* puffer = nullptr;
    unsigned long groesse = 0;
    jpeg_mem_dest(&c, &puffer, &groesse);

    c.image_width = static_cast<JDIMENSION>(m.breite);
    c.image_height = static_cast<JDIMENSION>(m.hoehe);
    c.input_components = m.komponenten;
    c.in_color_space = Farbraum(m.komponenten);
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 95, TRUE);
    if (m.alsYcck) jpeg_set_colorspace(&c, JCS_YCCK);
    if (m.komponenten == 4) c.write_Adobe_marker = m.adobeMarker;
    if (m.progressiv) jpeg_simple_progression(&c);
    std::vector<jpeg_scan_info> skript;
    if (m.jeBitEinScan) {
        skript = JeBitEinScan(m.komponenten);
        c.scan_info = skript.data();
        c.num_scans = static_cast<int>(skript.size());
    }

    jpeg_start_compress(&c, TRUE);
    std::vector<std::uint8_t> pixel = m.pixel;
    const std::size_t zeilenbytes = static_cast<std::size_t>(m.breite) * m.komponenten;
    while (c.next_scanline < c.image_height) {
        JSAMPROW zeile = pixel.data() + c.next_scanline * zeilenbytes;
        jpeg_write_scanlines(&c, &zeile, 1);
    }
    jpeg_finish_compress(&c);
    std::string datei(reinterpret_cast<const char*>(puffer), groesse);
    std::free(puffer);
    jpeg_destroy_compress(&c);
    return datei;
}

std::vector<std::uint8_t> Haelften(int breite, int hoehe, std::vector<std::uint8_t> links,
                                   std::vector<std::uint8_t> rechts) {
    std::vector<std::uint8_t> pixel;
    for (int y = 0; y < hoehe; ++y)
        for (int x = 0; x < breite; ++x) {
            const auto& farbe = x < breite / 2 ? links : rechts;
            pixel.insert(pixel.end(), farbe.begin(), farbe.end());
        }
    return pixel;
}

std::string GifKodieren(const GifMuster& m) {
    std::string datei;
    int fehler = 0;
    GifFileType* gif = EGifOpen(&datei, InStringSchreiben, &fehler);
    if (!gif) throw std::runtime_error("EGifOpen");
    EGifSetGifVersion(gif, m.gif89);

    std::vector<GifColorType> farben;
    for (const Rgb& f : m.farben) farben.push_back({f[0], f[1], f[2]});
    ColorMapObject* karte = GifMakeMapObject(static_cast<int>(farben.size()), farben.data());
    Pruefen(EGifPutScreenDesc(gif, m.schirmBreite, m.schirmHoehe, 8, 0, karte),
            "EGifPutScreenDesc");
    GifFreeMapObject(karte);

    if (m.transparent >= 0) {
        GraphicsControlBlock gcb{DISPOSAL_UNSPECIFIED, false, 0, m.transparent};
        GifByteType block[4];
        const auto laenge = static_cast<int>(EGifGCBToExtension(&gcb, block));
        Pruefen(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, laenge, block), "EGifPutExtension");
    }
    FrameSchreiben(gif, m, m.indizes);
    if (!m.zweitesFrame.empty()) FrameSchreiben(gif, m, m.zweitesFrame);
    Pruefen(EGifCloseFile(gif, &fehler), "EGifCloseFile");
    return datei;
}

std::size_t SofPosition(const std::string& jpeg) {
    std::size_t pos = 2;
    while (pos + 4 <= jpeg.size()) {
        const auto marker = static_cast<unsigned char>(jpeg[pos + 1]);
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return pos;
        const auto hi = static_cast<unsigned char>(jpeg[pos + 2]);
        const auto lo = static_cast<unsigned char>(jpeg[pos + 3]);
        pos += 2 + (hi << 8 | lo);
    }
    throw std::runtime_error("kein Frame-Kopf");
}

std::size_t FrameKopfPosition(const std::string& gif) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(gif.at(i)); };
    std::size_t pos = 13;
    if (byte(10) & 0x80) pos += std::size_t{3} << ((byte(10) & 7) + 1);
    while (byte(pos) == 0x21) {
        pos += 2;
        while (byte(pos) != 0) pos += byte(pos) + 1;
        ++pos;
    }
    if (byte(pos) != 0x2C) throw std::runtime_error("kein Bildkopf");
    return pos;
}

void Setze16(std::string& daten, std::size_t pos, int wert, bool bigEndian) {
    const auto hi = static_cast<char>((wert >> 8) & 0xFF);
    const auto lo = static_cast<char>(wert & 0xFF);
    daten.at(pos) = bigEndian ? hi : lo;
    daten.at(pos + 1) = bigEndian ? lo : hi;
}

std::size_t PngChunkPosition(const std::string& png, const char* typ) {
    for (std::size_t pos = 8; pos + 8 <= png.size(); pos += 12 + PngLaenge(png, pos))
        if (png.compare(pos + 4, 4, typ) == 0) return pos;
    throw std::runtime_error(std::string("kein Chunk ") + typ);
}

void PngCrcErneuern(std::string& png, std::size_t chunk) {
    const std::size_t laenge = PngLaenge(png, chunk);
    const auto crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + chunk + 4),
                           static_cast<uInt>(laenge + 4));
    for (int i = 0; i < 4; ++i)
        png.at(chunk + 8 + laenge + i) = static_cast<char>((crc >> (24 - 8 * i)) & 0xFF);
}

std::array<int, 4> Pixel(const Bild& b, int x, int y) {
    const std::size_t i = (static_cast<std::size_t>(y) * b.breite + x) * 4;
    return {b.rgba.at(i), b.rgba.at(i + 1), b.rgba.at(i + 2), b.rgba.at(i + 3)};
}

}  // namespace lw::test
