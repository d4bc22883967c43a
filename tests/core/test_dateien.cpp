#include <gtest/gtest.h>


#include "common/Dateien.h"
#include "common/Fehler.h"
#include "common/Zeichensatz.h"
#include "tests/support/FehlerText.h"
#include "tests/support/TempOrdner.h"

namespace lw {
namespace {

using test::FehlerText;

TEST(EAText, NumberedTexts) {
    EXPECT_EQ(EAText(2), "Datei nicht gefunden");
    EXPECT_EQ(EAText(3), W("Ungültiger Dateiname"));
    EXPECT_EQ(EAText(5), "Dateizugriff verweigert");
    EXPECT_EQ(EAText(101), "Zu wenig Speicherplatz");
    EXPECT_EQ(EAText(183), "E/A-Fehler 183");
}

TEST(Dateien, FolderCreationFailures) {
    test::TempOrdner t;
    OrdnerErzeugen(t / "Neu");
    EXPECT_EQ(FehlerText([&] { OrdnerErzeugen(t / "Neu"); }), "E/A-Fehler 183");
    EXPECT_EQ(FehlerText([&] { OrdnerErzeugen(t / "fehlt/Neu"); }), W("Ungültiger Dateiname"));
}

TEST(Dateien, WritesBytesUnchangedAndReplaces) {
    test::TempOrdner t;
    const std::string bytes("a\r\n\0\xFC", 5);
    TextSchreiben(t / "x.html", "alter, laengerer Inhalt");
    TextSchreiben(t / "x.html", bytes);
    EXPECT_EQ(test::Lesen(t / "x.html"), bytes);
    EXPECT_EQ(DateiLesenGanz(t / "x.html"), bytes);
}

TEST(Dateien, NonAsciiPathsUseThisPlatformsFileNames) {
    test::TempOrdner t;
    const std::string ordner = t.pfad() + W("/Bilder für Anna");
    OrdnerErzeugen(ordner);
    TextSchreiben(ordner + W("/Tür.gif"), "GIF");
    EXPECT_EQ(test::Lesen(t.pfad() + "/Bilder für Anna/Tür.gif"), "GIF");
    EXPECT_TRUE(DateiExistiert(ordner + W("/Tür.gif")));
}

TEST(Dateien, MissingFiles) {
    test::TempOrdner t;
    EXPECT_EQ(FehlerText([&] { DateiLesenGanz(t / "fehlt.gif"); }), "Datei nicht gefunden");
    EXPECT_EQ(FehlerText([&] { DateiKopieren(t / "fehlt.gif", t / "ziel.gif"); }),
              "Datei " + (t / "fehlt.gif") +
                  W(" kann nicht geöffnet werden. Das System kann die angegebene Datei nicht "
                    "finden."));
    test::Schreiben(t / "da.gif", "GIF89a");
    EXPECT_EQ(FehlerText([&] { DateiKopieren(t / "da.gif", t / "fehlt/ziel.gif"); }),
              "Datei \"" + (t / "fehlt/ziel.gif") +
                  W("\" kann nicht erstellt werden. Das System kann den angegebenen Pfad nicht "
                    "finden."));
    EXPECT_FALSE(DateiExistiert(t.pfad()));  // a folder is no file
}

TEST(Dateien, FullDiskIsReported) {
    EXPECT_EQ(FehlerText([] { TextSchreiben("/dev/full", "x"); }), "Zu wenig Speicherplatz");
}

}  // namespace
}  // namespace lw
