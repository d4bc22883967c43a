#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "common/Zeichensatz.h"
#include "pictures/Bild.h"
#include "pictures/Verkleinern.h"
#include "tests/support/Bildmuster.h"
#include "tests/support/TempOrdner.h"

namespace lw {
namespace {

using test::FehlerText;

TEST(Bild, OnlyJpegGifAndPngSignaturesAreAccepted) {
    std::mt19937 zufall(7);
    std::string rauschen;
    for (int i = 0; i < 4000; ++i) rauschen += static_cast<char>(zufall());
    const struct {
        const char* name;
        std::string daten;
    } faelle[] = {
        {"leer", ""},
        {"png-fremde-kennung", std::string("\x89PNG\r\n\x1A\r\0\0\0\rIHDR", 16)},
        {"zufall", rauschen},
        {"jpeg-anfang", "\xFF\xD8"},
        {"gif-fremde-version", "GIF88a;"},
        {"html", "<html><body>kein Bild</body></html>"},
    };
    for (const auto& f : faelle)
        EXPECT_EQ(FehlerText([&] { BildDekodieren(f.daten); }),
                  "Die Bilddaten sind kein lesbares JPEG-, GIF- oder PNG-Bild")
            << f.name;
}

TEST(Bild, FileMessagesNameThePathAsGiven) {
    test::TempOrdner t;
    test::Schreiben(t.pfad() + "/Über uns.jpg", "Das ist Text.");
    const std::string pfad = t.pfad() + W("/Über uns.jpg");
    EXPECT_EQ(FehlerText([&] { BildLaden(pfad); }),
              W("Die Datei ") + pfad + " ist kein lesbares JPEG-, GIF- oder PNG-Bild");
    EXPECT_EQ(FehlerText([&] { BildLaden(t / "fehlt.gif"); }), "Datei nicht gefunden");
}

// A file far beyond any picture is refused before it is read into memory.
TEST(Bild, HugeFileIsNotRead) {
    test::TempOrdner t;
    test::Schreiben(t / "film.jpg", "\xFF\xD8\xFF");
    std::filesystem::resize_file(t / "film.jpg", kBildMaxDateigroesse + 1);
    EXPECT_EQ(FehlerText([&] { BildLaden(t / "film.jpg"); }),
              "Die Datei " + (t / "film.jpg") + W(" ist zu groß für ein Bild (mehr als 256 MB)"));
}

// Damaged copies of real files: each gives a picture of consistent size or
// lw::Fehler; anything else (crash, other exception) fails the test.
TEST(Bild, RandomDamageNeverEscapes) {
    test::JpegMuster jpeg;
    jpeg.breite = 24;
    jpeg.hoehe = 16;
    jpeg.pixel = test::Haelften(24, 16, {200, 30, 90}, {10, 220, 40});
    test::JpegMuster progressiv = jpeg;
    progressiv.progressiv = true;
    test::GifMuster gif;
    gif.schirmBreite = gif.breite = 16;
    gif.schirmHoehe = gif.hoehe = 16;
    gif.farben = {{0, 0, 0}, {255, 255, 255}, {1, 2, 3}, {4, 5, 6}};
    gif.transparent = 3;
    gif.interlaced = true;
    for (int i = 0; i < 256; ++i) gif.indizes.push_back(static_cast<std::uint8_t>(i * 7 % 4));

    test::PngMuster png;
    png.breite = png.hoehe = 16;
    png.farbtyp = 3;
    png.bittiefe = 4;
    png.interlaced = true;
    png.palette = {{0, 0, 0}, {255, 255, 255}, {1, 2, 3}, {4, 5, 6}};
    png.paletteAlpha = {0, 100};
    for (int i = 0; i < 256; ++i) png.werte.push_back(static_cast<std::uint16_t>(i * 7 % 4));

    std::mt19937 zufall(2024);
    for (const std::string& vorlage : {test::JpegKodieren(jpeg), test::JpegKodieren(progressiv),
                                       test::GifKodieren(gif), test::PngKodieren(png)}) {
        for (int versuch = 0; versuch < 400; ++versuch) {
            std::string d = vorlage;
            const int stellen = 1 + static_cast<int>(zufall() % 4);
            for (int s = 0; s < stellen; ++s)
                d[6 + zufall() % (d.size() - 6)] = static_cast<char>(zufall());
            try {
                const Bild b = BildDekodieren(d);
                ASSERT_GT(b.breite, 0);
                ASSERT_GT(b.hoehe, 0);
                ASSERT_EQ(b.rgba.size(), static_cast<std::size_t>(b.breite) * b.hoehe * 4);
            } catch (const Fehler&) {
            }
        }
    }
}

TEST(HandyHinweis, LimitsAndSizeText) {
    const std::string langsam = W(" MB groß und lädt auf dem Handy langsam.");
    const struct {
        long long bytes;
        int breite;
        std::string hinweis;
    } faelle[] = {
        {1024 * 1024, 1920, ""},
        {1024 * 1024 + 1, 100, "Dieses Bild ist 1,0" + langsam},
        {5033165, 1000, "Dieses Bild ist 4,8" + langsam},
        {100000, 1921, "Dieses Bild ist 0,1" + langsam},
    };
    for (const auto& f : faelle) EXPECT_EQ(HandyHinweis(f.bytes, f.breite), f.hinweis) << f.bytes;
}

// The copy: at most 1600 px wide in the picture's proportions, JPEG for
// opaque pictures, PNG where there is transparency; the original unchanged.
TEST(VerkleinerteKopie, FormatNameAndSizeRows) {
    test::JpegMuster jpeg{3300, 200, 3, test::Haelften(3300, 200, {255, 0, 0}, {0, 0, 255})};
    test::PngMuster rgba{2000, 10, 6, 8, false, {}, {}, {}, {}};
    test::PngMuster rgb{2000, 10, 2, 8, false, {}, {}, {}, {}};
    for (int i = 0; i < 2000 * 10; ++i) {
        const bool rechts = i % 2000 >= 1000;
        for (int c : {0, 80, 160}) rgb.werte.push_back(static_cast<std::uint16_t>(c));
        for (int c : {0, 0, 255, rechts ? 255 : 0})
            rgba.werte.push_back(static_cast<std::uint16_t>(c));
    }
    // Narrower than the copy's width and transparent: kept at its size, as PNG.
    test::GifMuster gif;
    gif.schirmBreite = gif.breite = 800;
    gif.schirmHoehe = gif.hoehe = 2;
    gif.farben = {{0, 0, 0}, {9, 9, 9}};
    gif.transparent = 0;
    gif.indizes.assign(1600, 0);
    const struct {
        const char* name;
        std::string bytes;
        const char* kopie;
        int breite, hoehe;
        bool durchsichtig;
    } faelle[] = {
        {"Foto.JPEG", test::JpegKodieren(jpeg), "Foto.JPEG", 1600, 97, false},
        {"logo.png", test::PngKodieren(rgba), "logo.png", 1600, 8, true},
        {"flach.png", test::PngKodieren(rgb), "flach.jpg", 1600, 8, false},
        {"schmal.gif", test::GifKodieren(gif), "schmal.png", 800, 2, true},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        test::TempOrdner t;
        test::Schreiben(t / f.name, f.bytes);
        const std::string kopie = VerkleinerteKopie(t / f.name, t.pfad() + "/kopie");
        EXPECT_EQ(kopie, t / (std::string("kopie/") + f.kopie));
        EXPECT_EQ(test::Lesen(t / f.name), f.bytes);
        const Bild b = BildLaden(kopie);
        EXPECT_EQ(b.breite, f.breite);
        EXPECT_EQ(b.hoehe, f.hoehe);
        EXPECT_EQ(test::Pixel(b, 0, 0)[3], f.durchsichtig ? 0 : 255);
    }
    // Scaled while decoding and again after, the halves keep their colours.
    test::TempOrdner t;
    test::Schreiben(t / "f.jpg", faelle[0].bytes);
    const Bild b = BildLaden(VerkleinerteKopie(t / "f.jpg", t.pfad()));
    EXPECT_GT(test::Pixel(b, 100, 50)[0], 230);
    EXPECT_GT(test::Pixel(b, 1500, 50)[2], 230);
    EXPECT_LT(test::Pixel(b, 1500, 50)[0], 25);
}

TEST(VerkleinerteKopie, UndecodablePictureGivesItsMessageAndNoCopy) {
    test::TempOrdner t;
    test::Schreiben(t / "kaputt.jpg", "\xFF\xD8\xFF kein Bild");
    const std::string meldung =
        "Die Datei " + (t / "kaputt.jpg") + W(" ist beschädigt oder unvollständig");
    EXPECT_EQ(test::FehlerText([&] { VerkleinerteKopie(t / "kaputt.jpg", t / "k"); }), meldung);
    EXPECT_EQ(test::FehlerText([&] { HandyHinweis(t / "kaputt.jpg"); }), meldung);
    EXPECT_FALSE(std::filesystem::exists(t / "k/kaputt.jpg"));
}

}  // namespace
}  // namespace lw
