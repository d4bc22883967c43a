#include <gtest/gtest.h>

#include "common/Zeichensatz.h"
#include "pictures/Bild.h"
#include "tests/support/Bildmuster.h"

namespace lw {
namespace {

using test::FehlerText;
using test::GifKodieren;
using test::GifMuster;
using test::Pixel;
using Rgba = std::array<int, 4>;

const std::string kBeschaedigt = W("Die Bilddaten sind beschädigt oder unvollständig");

// Four colours; the frame fills the screen unless a test moves it.
GifMuster Muster(int breite, int hoehe) {
    GifMuster m;
    m.schirmBreite = m.breite = breite;
    m.schirmHoehe = m.hoehe = hoehe;
    m.farben = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {10, 20, 30}};
    for (int i = 0; i < breite * hoehe; ++i) m.indizes.push_back(static_cast<std::uint8_t>(i % 4));
    return m;
}

TEST(GifBild, ColoursAndTransparentIndex) {
    GifMuster m = Muster(4, 2);
    m.transparent = 2;
    const Bild b = BildDekodieren(GifKodieren(m));
    ASSERT_EQ(b.breite, 4);
    ASSERT_EQ(b.hoehe, 2);
    ASSERT_EQ(b.rgba.size(), 4u * 2 * 4);
    EXPECT_EQ(Pixel(b, 0, 0), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(Pixel(b, 1, 0), (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(Pixel(b, 2, 0)[3], 0);
    EXPECT_EQ(Pixel(b, 3, 1), (Rgba{10, 20, 30, 255}));
    EXPECT_EQ(Pixel(b, 2, 1)[3], 0);
}

TEST(GifBild, OldVersionWithoutExtensions) {
    GifMuster m = Muster(3, 3);
    m.gif89 = false;
    const std::string datei = GifKodieren(m);
    ASSERT_EQ(datei.substr(0, 6), "GIF87a");
    EXPECT_EQ(Pixel(BildDekodieren(datei), 1, 2), (Rgba{10, 20, 30, 255}));
}

// Rows of an interlaced frame arrive in four passes; each row has its own
// colour so that a misplaced row shows.
TEST(GifBild, InterlacedRowsLandInPlace) {
    for (int hoehe : {1, 5, 11}) {
        SCOPED_TRACE(hoehe);
        GifMuster m;
        m.schirmBreite = m.breite = 2;
        m.schirmHoehe = m.hoehe = hoehe;
        m.interlaced = true;
        for (int i = 0; i < 16; ++i) m.farben.push_back({static_cast<std::uint8_t>(i * 10), 0, 0});
        for (int y = 0; y < hoehe; ++y)
            m.indizes.insert(m.indizes.end(), 2, static_cast<std::uint8_t>(y));
        const Bild b = BildDekodieren(GifKodieren(m));
        for (int y = 0; y < hoehe; ++y) EXPECT_EQ(Pixel(b, 1, y)[0], y * 10) << "Zeile " << y;
    }
}

TEST(GifBild, AnimationShowsTheFirstFrame) {
    GifMuster m = Muster(2, 2);
    m.indizes = {0, 0, 0, 0};
    m.zweitesFrame = {2, 2, 2, 2};
    const Bild b = BildDekodieren(GifKodieren(m));
    EXPECT_EQ(Pixel(b, 1, 1), (Rgba{255, 0, 0, 255}));
}

// The picture has the logical screen's size; a frame that sticks out is cut,
// what it leaves uncovered is transparent.
TEST(GifBild, FrameIsClampedToTheScreen) {
    GifMuster m = Muster(3, 3);
    m.schirmBreite = m.schirmHoehe = 4;
    m.links = m.oben = 2;
    const Bild b = BildDekodieren(GifKodieren(m));
    ASSERT_EQ(b.breite, 4);
    ASSERT_EQ(b.hoehe, 4);
    ASSERT_EQ(b.rgba.size(), 4u * 4 * 4);
    EXPECT_EQ(Pixel(b, 2, 2), (Rgba{255, 0, 0, 255}));   // frame pixel 0, 0
    EXPECT_EQ(Pixel(b, 3, 2), (Rgba{0, 255, 0, 255}));   // frame pixel 1, 0
    EXPECT_EQ(Pixel(b, 2, 3), (Rgba{10, 20, 30, 255}));  // frame pixel 0, 1
    EXPECT_EQ(Pixel(b, 0, 0), (Rgba{0, 0, 0, 0}));
    EXPECT_EQ(Pixel(b, 1, 3)[3], 0);
}

TEST(GifBild, MissingOrShortColourMap) {
    // Written with 256 colours, then the table is cut to 2 entries: the codes
    // still carry 8 bits, so indices 2.. point past the table.
    GifMuster m;
    m.schirmBreite = m.breite = 4;
    m.schirmHoehe = m.hoehe = 1;
    m.farben.assign(256, {50, 60, 70});
    m.indizes = {0, 1, 5, 255};
    const std::string voll = GifKodieren(m);

    std::string kurz = voll;
    kurz[10] = static_cast<char>(kurz[10] & 0xF8);
    kurz.erase(13 + 2 * 3, (256 - 2) * 3);
    const Bild b = BildDekodieren(kurz);
    EXPECT_EQ(Pixel(b, 1, 0), (Rgba{50, 60, 70, 255}));
    EXPECT_EQ(Pixel(b, 2, 0), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(Pixel(b, 3, 0), (Rgba{0, 0, 0, 255}));

    std::string ohne = voll;
    ohne[10] = static_cast<char>(ohne[10] & 0x78);
    ohne.erase(13, 256 * 3);
    const Bild grau = BildDekodieren(ohne);
    EXPECT_EQ(Pixel(grau, 2, 0), (Rgba{5, 5, 5, 255}));
    EXPECT_EQ(Pixel(grau, 3, 0), (Rgba{255, 255, 255, 255}));
}

TEST(GifBild, DeclaredSizesAreCheckedBeforeDecoding) {
    const std::string gut = GifKodieren(Muster(4, 4));
    const std::size_t frame = test::FrameKopfPosition(gut);
    const auto mitFrame = [&](int breite, int hoehe) {
        std::string d = gut;
        test::Setze16(d, frame + 5, breite, false);
        test::Setze16(d, frame + 7, hoehe, false);
        return FehlerText([&] { BildDekodieren(d); });
    };
    const auto mitSchirm = [&](int breite, int hoehe) {
        std::string d = gut;
        test::Setze16(d, 6, breite, false);
        test::Setze16(d, 8, hoehe, false);
        return FehlerText([&] { BildDekodieren(d); });
    };
    const std::string kGrenze =
        W("; erlaubt sind höchstens 16384 Pixel je Seite und 64 Megapixel)");
    EXPECT_EQ(mitFrame(65535, 65535),
              W("Die Bilddaten sind zu groß (65535 × 65535 Pixel") + kGrenze);
    EXPECT_EQ(mitFrame(4, 0), W("Die Bilddaten enthalten ein leeres Bild (4 × 0 Pixel)"));
    EXPECT_EQ(mitSchirm(16385, 1), W("Die Bilddaten sind zu groß (16385 × 1 Pixel") + kGrenze);
    EXPECT_EQ(mitSchirm(0, 0), W("Die Bilddaten enthalten ein leeres Bild (0 × 0 Pixel)"));
    // A frame within the limits but larger than its data.
    EXPECT_EQ(mitFrame(400, 400), kBeschaedigt);
}

TEST(GifBild, EveryCutBeforeTheEndIsReported) {
    GifMuster m = Muster(16, 16);
    m.transparent = 1;
    m.interlaced = true;
    const std::string voll = GifKodieren(m);
    for (std::size_t n = 6; n + 1 < voll.size(); ++n)
        ASSERT_EQ(FehlerText([&] { BildDekodieren(voll.substr(0, n)); }), kBeschaedigt)
            << n << " Bytes";
    // Only the trailer missing: the first frame is complete.
    EXPECT_EQ(BildDekodieren(voll.substr(0, voll.size() - 1)).breite, 16);
}

TEST(GifBild, FileWithoutAnyFrame) {
    std::string d = GifKodieren(Muster(2, 2));
    d.resize(test::FrameKopfPosition(d));
    d += ';';
    EXPECT_EQ(FehlerText([&] { BildDekodieren(d); }), kBeschaedigt);
}

}  // namespace
}  // namespace lw
