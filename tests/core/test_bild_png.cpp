#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "common/Zeichensatz.h"
#include "pictures/Bild.h"
#include "tests/support/Bildmuster.h"
#include "tests/support/FehlerText.h"

namespace lw {
namespace {

using test::FehlerText;
using test::PngKodieren;
using test::PngMuster;

const std::string kBeschaedigt = W("Die Bilddaten sind beschädigt oder unvollständig");

// Samples through the whole range of the depth, different in every channel,
// so that swapped channels or misplaced rows show.
PngMuster Muster(int farbtyp, int bittiefe, int breite, int hoehe) {
    PngMuster m{breite, hoehe, farbtyp, bittiefe, false, {}, {}, {}, {}};
    const unsigned hoechster = (1u << bittiefe) - 1;
    const std::size_t anzahl = static_cast<std::size_t>(breite) * hoehe * test::PngKanaele(farbtyp);
    for (std::size_t i = 0; i < anzahl; ++i)
        m.werte.push_back(static_cast<std::uint16_t>((i * 40503u + 7) % (hoechster + 1)));
    for (unsigned i = 0; farbtyp == 3 && i <= hoechster; ++i)
        m.palette.push_back({static_cast<std::uint8_t>(i * 13), static_cast<std::uint8_t>(255 - i),
                             static_cast<std::uint8_t>(i * 7 + 1)});
    return m;
}

// The pixels the PNG format defines for the samples, worked out from its
// rules rather than by a decoder.
std::vector<std::uint8_t> Erwartet(const PngMuster& m) {
    const auto acht = [&](unsigned v) {
        if (m.bittiefe == 16) return static_cast<std::uint8_t>(std::lround(v / 257.0));
        return static_cast<std::uint8_t>(v * 255 / ((1u << m.bittiefe) - 1));
    };
    const int kanaele = test::PngKanaele(m.farbtyp);
    const int farben = m.farbtyp == 2 || m.farbtyp == 6 ? 3 : 1;
    std::vector<std::uint8_t> rgba;
    for (std::size_t p = 0; p < m.werte.size(); p += kanaele) {
        const std::uint16_t* s = m.werte.data() + p;
        if (m.farbtyp == 3) {
            const auto& f = m.palette.at(s[0]);
            const std::uint8_t a = s[0] < m.paletteAlpha.size() ? m.paletteAlpha[s[0]] : 255;
            rgba.insert(rgba.end(), {f[0], f[1], f[2], a});
            continue;
        }
        for (int k = 0; k < 3; ++k) rgba.push_back(acht(s[farben == 3 ? k : 0]));
        const bool durchsichtig =
            !m.transparent.empty() && std::equal(m.transparent.begin(), m.transparent.end(), s);
        rgba.push_back(kanaele > farben ? acht(s[farben]) : durchsichtig ? 0 : 255);
    }
    return rgba;
}

TEST(PngBild, EveryKindGivesThePixelsTheFormatDefines) {
    const struct {
        const char* name;
        int farbtyp, bittiefe, breite, hoehe;
        bool interlaced, durchsichtig;  // tRNS: alpha for a palette, else one value
    } arten[] = {
        {"palette 4 bit, partly transparent", 3, 4, 7, 5, false, true},
        {"palette 8 bit, interlaced", 3, 8, 11, 9, true, false},
        {"palette 1 bit", 3, 1, 13, 2, false, false},
        {"grey 1 bit", 0, 1, 10, 3, false, false},
        {"grey 2 bit, one level transparent", 0, 2, 9, 4, false, true},
        {"grey 8 bit, interlaced", 0, 8, 17, 13, true, false},
        {"grey 16 bit", 0, 16, 5, 5, false, false},
        {"grey and alpha 8 bit", 4, 8, 6, 3, false, false},
        {"grey and alpha 16 bit", 4, 16, 4, 4, false, false},
        {"rgb 8 bit, interlaced", 2, 8, 9, 10, true, false},
        {"rgb 16 bit, one colour transparent", 2, 16, 6, 4, false, true},
        {"rgba 8 bit", 6, 8, 8, 3, false, false},
        {"rgba 16 bit, interlaced", 6, 16, 3, 9, true, false},
    };
    for (const auto& art : arten) {
        SCOPED_TRACE(art.name);
        PngMuster m = Muster(art.farbtyp, art.bittiefe, art.breite, art.hoehe);
        m.interlaced = art.interlaced;
        if (art.durchsichtig && art.farbtyp == 3)
            m.paletteAlpha = {0, 128, 255, 3};
        else if (art.durchsichtig)  // the colour of the second pixel
            m.transparent.assign(m.werte.begin() + test::PngKanaele(art.farbtyp),
                                 m.werte.begin() + 2 * test::PngKanaele(art.farbtyp));
        const Bild b = BildDekodieren(PngKodieren(m));
        EXPECT_EQ(b.breite, m.breite);
        EXPECT_EQ(b.hoehe, m.hoehe);
        EXPECT_EQ(b.rgba, Erwartet(m));
    }
}

TEST(PngBild, BrokenFilesAreRefused) {
    const std::string gut = PngKodieren(Muster(2, 8, 20, 3));
    const std::size_t ihdr = test::PngChunkPosition(gut, "IHDR");
    const std::size_t idat = test::PngChunkPosition(gut, "IDAT");
    const std::size_t iend = test::PngChunkPosition(gut, "IEND");
    // The bytes at pos of the chunk's data replaced, its CRC made right again.
    const auto geaendert = [&](std::size_t chunk, std::size_t pos, std::string_view bytes) {
        std::string d = gut;
        d.replace(chunk + 8 + pos, bytes.size(), bytes);
        test::PngCrcErneuern(d, chunk);
        return d;
    };
    std::string pruefsumme = gut;
    pruefsumme[iend - 1] ^= 1;  // the last byte of the IDAT's CRC
    const struct {
        const char* name;
        std::string daten;
        std::string meldung;
    } faelle[] = {
        {"signature only", gut.substr(0, 8), kBeschaedigt},
        {"cut in the pixels", gut.substr(0, idat + 20), kBeschaedigt},
        {"without IEND", gut.substr(0, iend), kBeschaedigt},
        {"bad CRC", pruefsumme, kBeschaedigt},
        {"damaged zlib stream", geaendert(idat, 1, "\x55"), kBeschaedigt},
        {"unknown colour type", geaendert(ihdr, 9, "\x05"), kBeschaedigt},
        {"width 0", geaendert(ihdr, 3, std::string_view("\0", 1)), kBeschaedigt},
        {"width 20000", geaendert(ihdr, 2, "\x4E\x20"),
         W("Die Bilddaten sind zu groß (20000 × 3 Pixel; erlaubt sind höchstens 16384 Pixel "
           "je Seite und 64 Megapixel)")},
    };
    for (const auto& f : faelle)
        EXPECT_EQ(FehlerText([&] { BildDekodieren(f.daten); }), f.meldung) << f.name;
}

}  // namespace
}  // namespace lw
