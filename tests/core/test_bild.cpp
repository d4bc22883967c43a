#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "common/Zeichensatz.h"
#include "pictures/Bild.h"
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

}  // namespace
}  // namespace lw
