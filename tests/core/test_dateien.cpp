#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <cstring>
#include <string>

#include "common/Dateien.h"
#include "common/SchreibFaden.h"
#include "common/Fehler.h"
#include "common/Zeichensatz.h"
#include "tests/support/FehlerText.h"
#include "tests/support/Kindprozess.h"
#include "tests/support/TempOrdner.h"

namespace lw {
namespace {

namespace fs = std::filesystem;
using test::FehlerText;

// Every entry of the folder as "name:size", in name order; hidden files
// (the ones a write in progress uses) show up like any other.
std::string Inhalt(const std::string& ordner) {
    std::set<std::string> namen;
    for (const auto& e : fs::directory_iterator(ordner))
        namen.insert(e.path().filename().string() + ":" +
                     (e.is_regular_file() ? std::to_string(e.file_size()) : "<Ordner>"));
    std::string liste;
    for (const auto& n : namen) liste += n + " ";
    return liste;
}

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
    const mode_t vorher = ::umask(022);
    TextSchreiben(t / "x.html", "alter, laengerer Inhalt");
    TextSchreiben(t / "x.html", bytes);
    DateiErstellen(t / "y.gif", "GIF");
    ::umask(vorher);
    EXPECT_EQ(test::Lesen(t / "x.html"), bytes);
    EXPECT_EQ(DateiLesenGanz(t / "x.html"), bytes);
    EXPECT_EQ(fs::status(t / "y.gif").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
    EXPECT_EQ(Inhalt(t.pfad()), "x.html:5 y.gif:3 ");

    // Written a megabyte at a time: asked between the pieces, and abandoned
    // when the answer is no, which leaves the old file.
    const std::string gross(2 * 1024 * 1024 + 1, 'g');
    int gefragt = 0;
    EXPECT_FALSE(TextSchreiben(t / "x.html", gross, [&] { return ++gefragt < 2; }));
    EXPECT_EQ(gefragt, 2);
    EXPECT_EQ(Inhalt(t.pfad()), "x.html:5 y.gif:3 ");
    EXPECT_TRUE(TextSchreiben(t / "x.html", gross, [&] { return ++gefragt > 0; }));
    EXPECT_EQ(gefragt, 4);
    EXPECT_TRUE(test::Lesen(t / "x.html") == gross);
}

TEST(Dateien, NonAsciiPathsUseThisPlatformsFileNames) {
    test::TempOrdner t;
    const std::string ordner = t.pfad() + W("/Bilder für Anna");
    OrdnerErzeugen(ordner);
    TextSchreiben(ordner + W("/Tür.gif"), "GIF");
    EXPECT_EQ(test::Lesen(t.pfad() + "/Bilder für Anna/Tür.gif"), "GIF");
    EXPECT_TRUE(DateiExistiert(ordner + W("/Tür.gif")));
    // A character Windows-1252 cannot hold, by its reference.
    TextSchreiben(ordner + "/&#26085;.gif", "GIF");
    EXPECT_EQ(test::Lesen(t.pfad() + "/Bilder für Anna/日.gif"), "GIF");
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

// A refused write keeps its message and leaves the folder as it was: no
// hidden file, the old file whole. Root would ignore the missing rights, so
// the steps run as an ordinary user.
TEST(Dateien, RefusedWritesKeepTheirTextsAndLeaveNothingBehind) {
    test::TempOrdner t;
    const auto offen = fs::perms::owner_all | fs::perms::others_all;
    fs::permissions(t.pfad(), offen);
    fs::create_directory(t / "Ordner.html");
    fs::create_directory(t / "gesperrt");
    test::Schreiben(t / "nurlesen.html", "alt");
    fs::permissions(t / "nurlesen.html", fs::perms::owner_read | fs::perms::others_read);
    fs::permissions(t / "gesperrt", fs::perms::owner_read | fs::perms::owner_exec |
                                        fs::perms::others_read | fs::perms::others_exec);
    const std::string erstellen = W("\" kann nicht erstellt werden. Zugriff verweigert.");
    const std::string antwort = test::AlsGewoehnlicherNutzer([&] {
        std::string texte;
        for (const char* name : {"Ordner.html", "nurlesen.html", "gesperrt/neu.html"}) {
            texte += FehlerText([&] { TextSchreiben(t / name, "neu"); }) + "|";
            texte += FehlerText([&] { DateiErstellen(t / name, "neu"); }) + "|";
        }
        return texte;
    });
    EXPECT_EQ(antwort, "Dateizugriff verweigert|Datei \"" + (t / "Ordner.html") + erstellen +
                           "|Dateizugriff verweigert|Datei \"" + (t / "nurlesen.html") + erstellen +
                           "|Dateizugriff verweigert|Datei \"" + (t / "gesperrt/neu.html") +
                           erstellen + "|");
    EXPECT_EQ(Inhalt(t.pfad()), "Ordner.html:<Ordner> gesperrt:<Ordner> nurlesen.html:3 ");
    EXPECT_EQ(test::Lesen(t / "nurlesen.html"), "alt");
}

// A disk that fills up during the save keeps every file that was written
// whole, replaces nothing with a part and leaves no hidden file. The tmpfs
// exists only inside the child, so the child looks at it.
TEST(Dateien, FullDiskLeavesOnlyWholeFiles) {
    test::TempOrdner t;
    fs::create_directory(t / "klein");
    const std::string gross(64 * 1024, 'x');
    test::Schreiben(t / "bild.gif", gross);
    const auto antwort = test::MitKleinemDatentraeger(t / "klein", 32 * 1024, [&] {
        const std::string k = t / "klein";
        TextSchreiben(k + "/alt.html", "alter Inhalt");
        TextSchreiben(k + "/Seite1.html", std::string(8 * 1024, 'a'));
        DateiErstellen(k + "/Seite2.html", std::string(8 * 1024, 'b'));
        std::string texte;
        texte += FehlerText([&] { TextSchreiben(k + "/Seite3.html", gross); }) + "|";
        texte += FehlerText([&] { TextSchreiben(k + "/alt.html", gross); }) + "|";
        texte += FehlerText([&] { DateiErstellen(k + "/Seite4.html", gross); }) + "|";
        texte += FehlerText([&] { DateiKopieren(t / "bild.gif", k + "/bild.gif"); }) + "|";
        return texte + Inhalt(k) + DateiLesenGanz(k + "/alt.html").substr(0, 40);
    });
    if (!antwort) GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    EXPECT_EQ(*antwort,
              "Zu wenig Speicherplatz|Zu wenig Speicherplatz|Zu wenig Speicherplatz|"
              "Zu wenig Speicherplatz|Seite1.html:8192 Seite2.html:8192 alt.html:12 alter Inhalt");
}

// The writing thread writes in the order given. A file that cannot be made
// is refused at once; after a failure on the thread nothing more is written,
// and the failure is thrown on the caller's side. A file not closed when the
// thread ends is not left behind, not even hidden.
TEST(SchreibFaden, OrderFailureAndUnfinishedFiles) {
    test::TempOrdner t;
    // A failed trade keeps the buffer handed over, so each writer has its own.
    Puffer puffer(8);
    const auto schreiben = [&puffer](SchreibFaden& faden, std::string_view stueck) {
        std::memcpy(puffer.Daten(), stueck.data(), stueck.size());
        puffer.laenge = stueck.size();
        puffer = faden.Tauschen(std::move(puffer));
        EXPECT_EQ(puffer.laenge, 0u);
    };
    {
        SchreibFaden faden(8, 1);
        for (const char* name : {"a.txt", "b.txt"}) {
            faden.Oeffnen(t / name);
            schreiben(faden, "12345678");
            schreiben(faden, name);
            faden.Schliessen();
        }
        EXPECT_EQ(FehlerText([&] { faden.Oeffnen(t / "fehlt/c.txt"); }),
                  "Datei \"" + (t / "fehlt/c.txt") + W("\" kann nicht erstellt werden. ") +
                      W("Das System kann den angegebenen Pfad nicht finden."));
        // A folder takes the place of a file while it is written: it cannot
        // be moved into place.
        faden.Oeffnen(t / "x.txt");
        schreiben(faden, "x");
        fs::create_directory(t / "x.txt");
        faden.Schliessen();
        EXPECT_EQ(FehlerText([&] {
                      faden.Oeffnen(t / "d.txt");
                      schreiben(faden, "d");
                      faden.Schliessen();
                      faden.Ende();
                  }),
                  "Dateizugriff verweigert");
    }
    {
        puffer = Puffer(8);
        SchreibFaden faden(8, 1);
        faden.Oeffnen(t / "e.txt");
        schreiben(faden, "e");
    }
    EXPECT_EQ(Inhalt(t.pfad()), "a.txt:13 b.txt:13 x.txt:<Ordner> ");
    EXPECT_EQ(test::Lesen(t / "b.txt"), "12345678b.txt");
}

}  // namespace
}  // namespace lw
