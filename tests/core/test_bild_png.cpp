#include <gtest/gtest.h>

#include <cmath>

#include "common/Zeichensatz.h"
#include "pictures/Bild.h"
#include "tests/support/Bildmuster.h"
#include "tests/support/TempOrdner.h"

namespace lw {
namespace {

using test::FehlerText;
using test::PngKodieren;
using test::PngMuster;

const std::string kBeschaedigt = W("Die Bilddaten sind beschädigt oder unvollständig");

// Samples that run through the whole range of the depth, different in every
// channel, so that swapped channels or misplaced rows show.
PngMuster Muster(int farbtyp, int bittiefe, int breite, int hoehe) {
    PngMuster m;
    m.farbtyp = farbtyp;
    m.bittiefe = bittiefe;
    m.breite = breite;
    m.hoehe = hoehe;
    const unsigned hoechster = (1u << bittiefe) - 1;
    const std::size_t anzahl = static_cast<std::size_t>(breite) * hoehe * test::PngKanaele(farbtyp);
    for (std::size_t i = 0; i < anzahl; ++i)
        m.werte.push_back(static_cast<std::uint16_t>((i * 40503u + 7) % (hoechster + 1)));
    if (farbtyp == 3) {
        for (unsigned i = 0; i <= hoechster; ++i)
            m.palette.push_back({static_cast<std::uint8_t>(i * 13),
                                 static_cast<std::uint8_t>(255 - i),
                                 static_cast<std::uint8_t>(i * 7 + 1)});
    }
    return m;
}

// The pixels the PNG format defines for the samples, worked out here from
// the specification's rules rather than by a decoder.
std::vector<std::uint8_t> Erwartet(const PngMuster& m) {
    const auto acht = [&](unsigned v) {
        if (m.bittiefe == 16) return static_cast<std::uint8_t>(std::lround(v / 257.0));
        return static_cast<std::uint8_t>(v * 255 / ((1u << m.bittiefe) - 1));
    };
    const int kanaele = test::PngKanaele(m.farbtyp);
    std::vector<std::uint8_t> rgba;
    for (std::size_t p = 0; p < m.werte.size() / kanaele; ++p) {
        const std::uint16_t* s = m.werte.data() + p * kanaele;
        switch (m.farbtyp) {
            case 3: {
                const auto& f = m.palette.at(s[0]);
                rgba.insert(rgba.end(), {f[0], f[1], f[2]});
                rgba.push_back(s[0] < m.paletteAlpha.size() ? m.paletteAlpha[s[0]] : 255);
                break;
            }
            case 0:
            case 4: {
                const std::uint8_t grau = acht(s[0]);
                rgba.insert(rgba.end(), {grau, grau, grau});
                if (kanaele == 2)
                    rgba.push_back(acht(s[1]));
                else
                    rgba.push_back(!m.transparent.empty() && s[0] == m.transparent[0] ? 0 : 255);
                break;
            }
            default: {
                for (int k = 0; k < 3; ++k) rgba.push_back(acht(s[k]));
                const bool durchsichtig = m.transparent.size() == 3 && s[0] == m.transparent[0] &&
                                          s[1] == m.transparent[1] && s[2] == m.transparent[2];
                rgba.push_back(kanaele == 4 ? acht(s[3]) : durchsichtig ? 0 : 255);
            }
        }
    }
    return rgba;
}

struct Art {
    const char* name;
    PngMuster muster;
};

std::vector<Art> Arten() {
    std::vector<Art> arten;
    const auto dazu = [&](const char* name, PngMuster m) { arten.push_back({name, std::move(m)}); };
    PngMuster palette4 = Muster(3, 4, 7, 5);
    palette4.paletteAlpha = {0, 128, 255, 3};
    dazu("palette 4 bit, partly transparent", palette4);
    PngMuster palette8 = Muster(3, 8, 11, 9);
    palette8.interlaced = true;
    dazu("palette 8 bit, interlaced", palette8);
    dazu("palette 1 bit", Muster(3, 1, 13, 2));
    dazu("grey 1 bit", Muster(0, 1, 10, 3));
    PngMuster grau2 = Muster(0, 2, 9, 4);
    grau2.transparent = {2};
    dazu("grey 2 bit, one level transparent", grau2);
    dazu("grey 8 bit, interlaced", [] {
        PngMuster m = Muster(0, 8, 17, 13);
        m.interlaced = true;
        return m;
    }());
    dazu("grey 16 bit", Muster(0, 16, 5, 5));
    dazu("grey and alpha 8 bit", Muster(4, 8, 6, 3));
    dazu("grey and alpha 16 bit", Muster(4, 16, 4, 4));
    dazu("rgb 8 bit, interlaced", [] {
        PngMuster m = Muster(2, 8, 9, 10);
        m.interlaced = true;
        return m;
    }());
    PngMuster rgb16 = Muster(2, 16, 6, 4);
    rgb16.transparent = {rgb16.werte[3], rgb16.werte[4], rgb16.werte[5]};
    dazu("rgb 16 bit, one colour transparent", rgb16);
    dazu("rgba 8 bit", Muster(6, 8, 8, 3));
    dazu("rgba 16 bit, interlaced", [] {
        PngMuster m = Muster(6, 16, 3, 9);
        m.interlaced = true;
        return m;
    }());
    return arten;
}

TEST(PngBild, EveryKindGivesThePixelsTheFormatDefines) {
    for (const Art& art : Arten()) {
        SCOPED_TRACE(art.name);
        const Bild b = BildDekodieren(PngKodieren(art.muster));
        EXPECT_EQ(b.breite, art.muster.breite);
        EXPECT_EQ(b.hoehe, art.muster.hoehe);
        EXPECT_EQ(b.rgba, Erwartet(art.muster));
    }
}

TEST(PngBild, BrokenFilesAreRefused) {
    const std::string gut = PngKodieren(Muster(2, 8, 20, 3));
    const std::size_t ihdr = test::PngChunkPosition(gut, "IHDR");
    const std::size_t idat = test::PngChunkPosition(gut, "IDAT");
    const std::size_t iend = test::PngChunkPosition(gut, "IEND");

    std::string breit = gut;
    test::Setze16(breit, ihdr + 8 + 2, 20000, true);
    test::PngCrcErneuern(breit, ihdr);
    std::string leer = gut;
    test::Setze16(leer, ihdr + 8 + 2, 0, true);
    test::PngCrcErneuern(leer, ihdr);
    std::string pruefsumme = gut;
    pruefsumme[iend - 1] ^= 1;  // the last byte of the IDAT's CRC
    std::string daten = gut;
    daten[idat + 9] ^= 0x55;  // inside the compressed pixels
    test::PngCrcErneuern(daten, idat);
    std::string farbtyp = gut;
    farbtyp[ihdr + 8 + 9] = 5;
    test::PngCrcErneuern(farbtyp, ihdr);

    const struct {
        const char* name;
        std::string daten;
        std::string meldung;
    } faelle[] = {
        {"signature only", gut.substr(0, 8), kBeschaedigt},
        {"cut in the pixels", gut.substr(0, idat + 20), kBeschaedigt},
        {"without IEND", gut.substr(0, iend), kBeschaedigt},
        {"bad CRC", pruefsumme, kBeschaedigt},
        {"damaged pixel data", daten, kBeschaedigt},
        {"unknown colour type", farbtyp, kBeschaedigt},
        {"width 0", leer, kBeschaedigt},
        {"width 20000", breit,
         W("Die Bilddaten sind zu groß (20000 × 3 Pixel; erlaubt sind höchstens 16384 Pixel "
           "je Seite und 64 Megapixel)")},
    };
    for (const auto& f : faelle)
        EXPECT_EQ(FehlerText([&] { BildDekodieren(f.daten); }), f.meldung) << f.name;
}

TEST(PngBild, BrokenFileIsNamedInTheMessage) {
    test::TempOrdner t;
    const std::string gut = PngKodieren(Muster(0, 8, 4, 4));
    test::Schreiben(t / "knopf.png", gut.substr(0, gut.size() / 2));
    EXPECT_EQ(FehlerText([&] { BildLaden(t / "knopf.png"); }),
              "Die Datei " + (t / "knopf.png") + W(" ist beschädigt oder unvollständig"));
}

}  // namespace
}  // namespace lw
