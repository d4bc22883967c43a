#include <gtest/gtest.h>

#include <cstdlib>

#include "common/Zeichensatz.h"
#include "pictures/Bild.h"
#include "tests/support/Bildmuster.h"
#include "tests/support/TempOrdner.h"

namespace lw {
namespace {

using test::FehlerText;
using test::JpegKodieren;
using test::JpegMuster;
using test::Pixel;

const std::string kBeschaedigt = W("Die Bilddaten sind beschädigt oder unvollständig");

// JPEG is lossy: colours are compared with a tolerance.
void FarbeEtwa(const Bild& b, int x, int y, std::array<int, 3> soll) {
    const auto ist = Pixel(b, x, y);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(ist[i], soll[i], 12) << "Pixel " << x << "," << y << " Kanal " << i;
    EXPECT_EQ(ist[3], 255) << "Pixel " << x << "," << y;
}

JpegMuster RotBlau(bool progressiv) {
    JpegMuster m;
    m.breite = 32;
    m.hoehe = 16;
    m.pixel = test::Haelften(32, 16, {255, 0, 0}, {0, 0, 255});
    m.progressiv = progressiv;
    return m;
}

TEST(JpegBild, ColourPicturesBaselineAndProgressive) {
    for (bool progressiv : {false, true}) {
        SCOPED_TRACE(progressiv ? "progressiv" : "baseline");
        const Bild b = BildDekodieren(JpegKodieren(RotBlau(progressiv)));
        ASSERT_EQ(b.breite, 32);
        ASSERT_EQ(b.hoehe, 16);
        ASSERT_EQ(b.rgba.size(), 32u * 16 * 4);
        FarbeEtwa(b, 4, 8, {255, 0, 0});
        FarbeEtwa(b, 27, 8, {0, 0, 255});
        FarbeEtwa(b, 31, 15, {0, 0, 255});
    }
}

TEST(JpegBild, GrayscaleBecomesGreyRgba) {
    JpegMuster m;
    m.breite = 16;
    m.hoehe = 24;
    m.komponenten = 1;
    m.pixel = test::Haelften(16, 24, {40}, {200});
    const Bild b = BildDekodieren(JpegKodieren(m));
    ASSERT_EQ(b.breite, 16);
    ASSERT_EQ(b.hoehe, 24);
    FarbeEtwa(b, 2, 20, {40, 40, 40});
    FarbeEtwa(b, 13, 3, {200, 200, 200});
}

// CMYK as Photoshop writes it (inverted, Adobe marker), as YCCK, and plain
// inks without the marker: all three must come out red and blue.
TEST(JpegBild, CmykVariantsAreConverted) {
    struct Fall {
        const char* name;
        bool ycck;
        bool adobe;
    };
    for (const Fall& f : {Fall{"cmyk-adobe", false, true}, Fall{"ycck-adobe", true, true},
                          Fall{"cmyk-ohne-marker", false, false}}) {
        SCOPED_TRACE(f.name);
        JpegMuster m;
        m.breite = 32;
        m.hoehe = 16;
        m.komponenten = 4;
        m.alsYcck = f.ycck;
        m.adobeMarker = f.adobe;
        // Red = no cyan, full magenta and yellow; blue = full cyan and magenta.
        m.pixel = f.adobe ? test::Haelften(32, 16, {255, 0, 0, 255}, {0, 0, 255, 255})
                          : test::Haelften(32, 16, {0, 255, 255, 0}, {255, 255, 0, 0});
        const Bild b = BildDekodieren(JpegKodieren(m));
        ASSERT_EQ(b.breite, 32);
        FarbeEtwa(b, 4, 8, {255, 0, 0});
        FarbeEtwa(b, 27, 8, {0, 0, 255});
    }
}

TEST(JpegBild, UnsupportedVariantsAreRejected) {
    const std::string kText =
        W("Die Bilddaten verwenden eine nicht unterstützte Variante des JPEG-Formats");
    JpegMuster zwei;
    zwei.breite = zwei.hoehe = 8;
    zwei.komponenten = 2;
    zwei.pixel.assign(8 * 8 * 2, 100);
    EXPECT_EQ(FehlerText([&] { BildDekodieren(JpegKodieren(zwei)); }), kText);

    std::string zwoelfBit = JpegKodieren(RotBlau(false));
    zwoelfBit[test::SofPosition(zwoelfBit) + 4] = 12;
    EXPECT_EQ(FehlerText([&] { BildDekodieren(zwoelfBit); }), kText);
}

// The limits apply to the header's numbers, before anything is decoded.
TEST(JpegBild, HeaderSizesAreCheckedFirst) {
    const std::string gut = JpegKodieren(RotBlau(false));
    const std::size_t sof = test::SofPosition(gut);
    const auto mitGroesse = [&](int breite, int hoehe) {
        std::string d = gut;
        test::Setze16(d, sof + 5, hoehe, true);
        test::Setze16(d, sof + 7, breite, true);
        return FehlerText([&] { BildDekodieren(d); });
    };
    const std::string kGrenze =
        W("; erlaubt sind höchstens 16384 Pixel je Seite und 64 Megapixel)");
    EXPECT_EQ(mitGroesse(16385, 16), W("Die Bilddaten sind zu groß (16385 × 16 Pixel") + kGrenze);
    EXPECT_EQ(mitGroesse(8193, 8192), W("Die Bilddaten sind zu groß (8193 × 8192 Pixel") + kGrenze);
    EXPECT_EQ(mitGroesse(65535, 65535),
              W("Die Bilddaten sind zu groß (65535 × 65535 Pixel") + kGrenze);
    EXPECT_EQ(mitGroesse(0, 16), W("Die Bilddaten enthalten ein leeres Bild (0 × 16 Pixel)"));
    // Within the limits the data are read, and do not suffice.
    EXPECT_EQ(mitGroesse(16384, 16), kBeschaedigt);
}

TEST(JpegBild, EveryCutIsReported) {
    for (bool progressiv : {false, true}) {
        const std::string voll = JpegKodieren(RotBlau(progressiv));
        for (std::size_t n = 3; n < voll.size(); ++n)
            ASSERT_EQ(FehlerText([&] { BildDekodieren(voll.substr(0, n)); }), kBeschaedigt)
                << n << " Bytes, progressiv " << progressiv;
    }
}

// One scan per coefficient and bit: 704 scans for a grey picture are still
// accepted, 2112 for a colour picture are not.
TEST(JpegBild, ScanCountIsLimited) {
    JpegMuster grau;
    grau.breite = grau.hoehe = 8;
    grau.komponenten = 1;
    grau.pixel.assign(64, 90);
    grau.jeBitEinScan = true;
    const Bild b = BildDekodieren(JpegKodieren(grau));
    FarbeEtwa(b, 3, 3, {90, 90, 90});

    JpegMuster farbig = RotBlau(false);
    farbig.jeBitEinScan = true;
    EXPECT_EQ(FehlerText([&] { BildDekodieren(JpegKodieren(farbig)); }), kBeschaedigt);
}

// libjpeg would print warnings on stderr; a desktop program must not.
TEST(JpegBild, DamagedDataIsToleratedSilently) {
    std::string datei = JpegKodieren(RotBlau(false));
    const std::size_t sos = datei.find("\xFF\xDA");
    ASSERT_NE(sos, std::string::npos);
    datei.insert(sos, "\x12\x34\x56");  // stray bytes before a marker

    testing::internal::CaptureStderr();
    const Bild b = BildDekodieren(datei);
    const std::string kurz = FehlerText([&] { BildDekodieren(datei.substr(0, datei.size() / 2)); });
    const std::string ausgabe = testing::internal::GetCapturedStderr();

    EXPECT_EQ(ausgabe, "");
    FarbeEtwa(b, 4, 8, {255, 0, 0});
    EXPECT_EQ(kurz, kBeschaedigt);
}

TEST(JpegBild, LoadsFromFileByItsSignature) {
    test::TempOrdner t;
    const std::string pfad = t.pfad() + W("/Kopf für Seite.gif");
    test::Schreiben(t.pfad() + "/Kopf für Seite.gif", JpegKodieren(RotBlau(false)));
    const Bild b = BildLaden(pfad);
    EXPECT_EQ(b.breite, 32);
    EXPECT_EQ(b.hoehe, 16);

    const std::string halb = JpegKodieren(RotBlau(false)).substr(0, 300);
    test::Schreiben(t / "halb.jpg", halb);
    EXPECT_EQ(FehlerText([&] { BildLaden(t / "halb.jpg"); }),
              "Die Datei " + (t / "halb.jpg") + W(" ist beschädigt oder unvollständig"));
}

}  // namespace
}  // namespace lw
