#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/Fehler.h"
#include "pictures/Bild.h"
#include "tests/support/FehlerText.h"

// Small real JPEG, GIF and PNG files, written with the libraries' own encoders.
namespace lw::test {

struct JpegMuster {
    int breite = 0;
    int hoehe = 0;
    int komponenten = 3;              // 1 grey, 2 unknown, 3 RGB, 4 CMYK
    std::vector<std::uint8_t> pixel;  // komponenten bytes per pixel
    bool alsYcck = false;             // CMYK input stored as YCCK
    bool adobeMarker = true;          // only for CMYK/YCCK
    bool progressiv = false;
    bool jeBitEinScan = false;  // a progressive script with one scan per coefficient and bit
};
std::string JpegKodieren(const JpegMuster& m);

// Two halves of one colour each, split at x = breite / 2.
std::vector<std::uint8_t> Haelften(int breite, int hoehe, std::vector<std::uint8_t> links,
                                   std::vector<std::uint8_t> rechts);

using Rgb = std::array<std::uint8_t, 3>;

struct GifMuster {
    int schirmBreite = 0;
    int schirmHoehe = 0;
    int links = 0, oben = 0, breite = 0, hoehe = 0;  // the frame
    std::vector<Rgb> farben;                         // global colour map, 2^n entries
    int transparent = -1;
    bool interlaced = false;
    bool gif89 = true;
    std::vector<std::uint8_t> indizes;       // breite x hoehe, row by row
    std::vector<std::uint8_t> zweitesFrame;  // optional, same rectangle
};
std::string GifKodieren(const GifMuster& m);

struct PngMuster {
    int breite = 0;
    int hoehe = 0;
    int farbtyp = 0;  // as in IHDR: 0 grey, 2 RGB, 3 palette, 4 grey and alpha, 6 RGBA
    int bittiefe = 8;
    bool interlaced = false;
    std::vector<Rgb> palette;
    std::vector<std::uint8_t> paletteAlpha;  // tRNS of a palette: alpha of the first entries
    std::vector<std::uint16_t> transparent;  // tRNS of grey (one value) or RGB (three)
    std::vector<std::uint16_t> werte;        // the samples row by row, every channel
};
// The number of samples per pixel of a colour type.
int PngKanaele(int farbtyp);
std::string PngKodieren(const PngMuster& m);

// Offsets inside written files, for damaging them on purpose.
std::size_t SofPosition(const std::string& jpeg);       // the FF Cn marker of the frame header
std::size_t FrameKopfPosition(const std::string& gif);  // the ',' of the first image descriptor
void Setze16(std::string& daten, std::size_t pos, int wert, bool bigEndian);
// The length field that starts the first chunk of that type, and a fresh CRC
// for the chunk there after its data were changed.
std::size_t PngChunkPosition(const std::string& png, const char* typ);
void PngCrcErneuern(std::string& png, std::size_t chunk);

// Pixel x, y of a decoded picture as r, g, b, a.
std::array<int, 4> Pixel(const Bild& b, int x, int y);

}  // namespace lw::test
