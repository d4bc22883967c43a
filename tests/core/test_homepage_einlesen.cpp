// A saved site opened again and saved in place byte for byte, and the sites
// that cannot be read.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>

#include "codegen/Schriftstil.h"
#include "common/Fehler.h"
#include "common/Zeichensatz.h"
#include "output/DateiErzeugung.h"
#include "output/HomepageEinlesen.h"
#include "output/Vorschau.h"
#include "tests/support/FehlerText.h"
#include "tests/support/TempOrdner.h"

namespace lw {
namespace {

namespace fs = std::filesystem;
using test::FehlerText;
using test::Lesen;
using test::Schreiben;

// Every file and folder below ordner with its bytes, by relative path.
std::map<std::string, std::string> Dateien(const std::string& ordner) {
    std::map<std::string, std::string> dateien;
    for (const auto& e : fs::recursive_directory_iterator(ordner)) {
        const std::string name = fs::relative(e.path(), ordner).string();
        if (e.is_symlink())
            dateien[name] = "-> " + fs::read_symlink(e.path()).string();
        else
            dateien[name] = e.is_directory() ? "(Ordner)" : Lesen(e.path().string());
    }
    return dateien;
}

struct Link {
    std::string seite, text, tooltipp;
    std::string grafik;  // file name in the test's picture folder, or empty
};

struct Fall {
    const char* name;
    std::string modus;
    bool fixiert, eineGrafik, banner, hintergrund;
    std::vector<Link> links;
};

std::vector<Link> Standardlinks(int n) {
    std::vector<Link> links;
    for (int i = 1; i <= n; ++i) {
        const std::string s = std::to_string(i);
        links.push_back({"Seite" + s + ".html", "Seite " + s, "Zur Seite " + s, ""});
    }
    return links;
}

// The site as the wizard saves it into t/Neu; pictures from t/Bilder, the
// imported pages' contents from t/Alt.
void Speichern(const test::TempOrdner& t, const Fall& f) {
    fs::create_directories(t / "Bilder");
    fs::create_directories(t / "Alt");
    const auto bild = [&](const std::string& name) {
        Schreiben(t / ("Bilder/" + name), "Grafik " + name);
        return t / ("Bilder/" + name);
    };
    Projektdaten d;
    d.Modus = f.modus;
    d.Zielordner = t.pfad();
    CodeEingaben e;
    e.menueFixiert = f.fixiert;
    e.eineGrafikFuerAlle = f.eineGrafik;
    const int n = static_cast<int>(f.links.size());
    (f.modus == kModusNZAlt ? d.ImportAnzahl : d.Seitenzahl) = n;
    for (int i = 1; i <= n; ++i) {
        const Link& l = f.links[i - 1];
        d.ImportSeiten.Setzen(i, l.seite);
        e.links.push_back({l.seite, l.text, l.tooltipp});
        if (!l.grafik.empty()) d.ButtonGrafik.Setzen(i, bild(l.grafik));
        Schreiben(t / ("Alt/" + l.seite), W("        <p>Inhalt von ") + l.seite + W(": Tür</p>"));
    }
    d.ButtonHoehe.Setzen(1, 50);
    d.ButtonBreite.Setzen(1, 170);
    if (f.banner) {
        d.BannerDatei = bild("mein banner.gif");
        d.BannerBreite = 468;
        d.BannerHoehe = 60;
        e.bannerAlt = W("Grüße & \"Küsse\" <3");
        e.bannerTooltipp = "&amp;uuml; bleibt";
    }
    if (f.hintergrund) {
        d.HintergrundBild = bild("stein(1).jpg");
        d.HintergrundKachel = false;
        d.HintergrundFixiert = true;
        d.BodySchriftName = "Times New Roman";
        d.BodySchriftGroesse = 17;
        d.BodySchriftStil = SchriftstilAlsCss(true, true, false, true);
        d.ButtonHintergrundFarbe = "00ff80";
        d.ButtonSchriftFarbe = "123abc";
        d.ButtonSchriftGroesse = 9;
    }
    DateienErzeugen(d, CodeErzeugen(d, e), f.fixiert);
}

VorOrt Speichern(const GeleseneHomepage& hp) {
    VorOrt vorOrt{hp.inhalte, {}};
    DateienErzeugen(hp.daten, CodeErzeugen(hp.daten, hp.eingaben), hp.eingaben.menueFixiert,
                    &vorOrt);
    return vorOrt;
}

// The page with other lines inside its contents block.
std::string MitInhalt(const std::string& seite, const std::string& inhalt) {
    const std::string auf = "      <div id=\"Inhalt\">\r\n";
    const auto anfang = seite.find(auf) + auf.size();
    const auto ende = seite.rfind(
        "\r\n", seite.find(W("      <!-- Hier endet der Block für den Seiteninhalt")) - 5);
    return seite.substr(0, anfang) + inhalt + seite.substr(ende);
}

const std::vector<Fall>& Faelle() {
    const std::string neu = kModusHPNeu, alt = kModusNZAlt;
    const std::vector<Link> allerlei = {
        {"index.html", W("Über & uns"), W("Grüße \"aus\" <Köln>"), "a.gif"},
        {"b&c.html", "&auml; &amp; <b>fett</b>", "&#228;", "a.gif"},
        {W("Tür.html"), "C", "", "b b.gif"},
        {"d.html", "D", "", ""},
        {"e.html", "E", "", "a.gif"}};
    const std::vector<Link> zwei = {{"index.html", W("Start & Ziel"), W("Zur Übersicht"), "a.gif"},
                                    {"kontakt.htm", "Kontakt", "", ""}};
    const std::vector<Link> abc = {
        {"a.html", "A", "", "a.gif"}, {"b.html", "B", "", ""}, {"c.html", "C", "", "b.gif"}};
    // name, modus, fixiert, eineGrafik, banner, hintergrund, links
    static const std::vector<Fall> faelle = {
        {"neu schlicht", neu, false, false, false, false, Standardlinks(3)},
        {"neu mit allem", neu, true, false, true, true, allerlei},
        {"neu eine Grafik fuer alle", neu, false, true, false, false, abc},
        {"importiert fixiert", alt, true, false, true, false, zwei},
        {"importiert offen", alt, false, false, false, true, {abc[1]}},
        {"tausend Seiten", neu, true, false, false, false, Standardlinks(1000)},
    };
    return faelle;
}

TEST(HomepageEinlesen, UnchangedRoundTripsAreByteIdentical) {
    for (const Fall& f : Faelle()) {
        SCOPED_TRACE(f.name);
        test::TempOrdner t;
        Speichern(t, f);
        const auto vorher = Dateien(t / "Neu");
        // The folder Neu itself and the folder that holds it alike.
        const VorOrt vorOrt =
            Speichern(HomepageEinlesen(f.links.size() > 3 ? t / "Neu" : t.pfad()));
        EXPECT_TRUE(Dateien(t / "Neu") == vorher);
        // Nothing changed: nothing was replaced, and no backup was made.
        EXPECT_EQ(vorOrt.sicherung, "");
        EXPECT_EQ(std::distance(fs::directory_iterator(t.pfad()), fs::directory_iterator()), 3);
    }
}

// One page's title, description or text changed: that page's file alone is
// written and backed up; the next round trip changes nothing.
TEST(HomepageEinlesen, AChangedPageChangesItsFileAlone) {
    for (const Fall& f : {Faelle()[1], Faelle()[3]}) {
        SCOPED_TRACE(f.name);
        for (int was = 0; was < 3; ++was) {
            test::TempOrdner t;
            Speichern(t, f);
            const auto vorher = Dateien(t / "Neu");
            GeleseneHomepage hp = HomepageEinlesen(t.pfad());
            SeitenInhalt eigen = hp.daten.Seiteninhalte[2];
            if (was == 0) eigen.titel = W("Über mich");
            if (was == 1) eigen.beschreibung = W("Wer ich bin – kurz");
            if (was == 2) eigen.text = "        <p>Neu</p>\r\n";
            hp.daten.Seiteninhalte.Setzen(2, eigen);
            const VorOrt vorOrt = Speichern(hp);
            const std::string seite = (f.modus == kModusNZAlt ? "_" : "") + f.links[1].seite;
            auto nachher = Dateien(t / "Neu");
            EXPECT_NE(nachher.at(seite), vorher.at(seite));
            const auto gesichert = Dateien(t / vorOrt.sicherung);
            EXPECT_EQ(gesichert.size(), 1u);
            EXPECT_EQ(gesichert.at(seite), vorher.at(seite));
            nachher[seite] = vorher.at(seite);
            EXPECT_TRUE(nachher == vorher);

            nachher = Dateien(t / "Neu");
            hp = HomepageEinlesen(t.pfad());
            EXPECT_EQ(hp.daten.Seiteninhalte[2].titel, eigen.titel);
            EXPECT_EQ(hp.daten.Seiteninhalte[2].beschreibung, eigen.beschreibung);
            // What the editor is shown, taken back unchanged, writes the same
            // bytes again.
            const VorOrt geoeffnet{hp.inhalte, {}};
            const std::string block = InhaltsblockLesen(hp.daten, &geoeffnet, 2);
            if (was == 2)
                EXPECT_EQ(block, *eigen.text);
            else if (f.modus == kModusNZAlt)
                EXPECT_EQ(block, "        <p>Inhalt von kontakt.htm: T\xFCr</p>\r\n");
            else
                EXPECT_EQ(block, "");  // the placeholder is not offered
            if (!block.empty()) eigen.text = block;
            hp.daten.Seiteninhalte.Setzen(2, eigen);
            EXPECT_EQ(Speichern(hp).sicherung, "");
            EXPECT_TRUE(Dateien(t / "Neu") == nachher);
        }
    }
}

// The editor is not shown a page's contents once another editor changed the
// file; a new imported site shows the contents file as the save merges it.
TEST(InhaltsblockLesen, ChangedFilesAndImportedContents) {
    test::TempOrdner t;
    Speichern(t, Faelle()[0]);
    Schreiben(t / "Neu/Seite2.html", MitInhalt(Lesen(t / "Neu/Seite2.html"), "<p>eigen</p>"));
    const GeleseneHomepage hp = HomepageEinlesen(t.pfad());
    const VorOrt vorOrt{hp.inhalte, {}};
    // "Testen" shows the page's own contents.
    VorschauSchreiben(hp.daten, CodeErzeugen(hp.daten, hp.eingaben), false, false, "", 2, &vorOrt);
    EXPECT_NE(Lesen(t / "Test.html").find("<div id=\"Inhalt\">\r\n<p>eigen</p>\r\n      </div>"),
              std::string::npos);
    Schreiben(t / "Neu/Seite3.html", MitInhalt(Lesen(t / "Neu/Seite3.html"), "<p>x</p>"));
    EXPECT_EQ(FehlerText([&] { InhaltsblockLesen(hp.daten, &vorOrt, 3); }),
              W("Seite3.html: die Datei wurde seit dem Öffnen verändert. Bitte öffnen Sie die "
                "Homepage erneut."));
    EXPECT_EQ(InhaltsblockLesen(hp.daten, &vorOrt, 4), "");

    Projektdaten d;
    d.Modus = kModusNZAlt;
    d.Zielordner = t / "Import";
    d.ImportAnzahl = 2;
    d.ImportSeiten.Setzen(1, "a.html");
    d.ImportSeiten.Setzen(2, "b.html");
    fs::create_directories(t / "Import/Alt");
    Schreiben(t / "Import/Alt/a.html", "<p>T\xC3\xBCr \xE2\x82\xAC</p>");
    EXPECT_EQ(InhaltsblockLesen(d, nullptr, 1), "<p>T&uuml;r &#8364;</p>\r\n");
    EXPECT_EQ(InhaltsblockLesen(d, nullptr, 2), "");
}

// What the bytes of a round trip do not show: where the pictures are, and a
// typed "&amp;" that means '&' alone comes back as the '&'.
TEST(HomepageEinlesen, RecoversWhatTheTabsShow) {
    test::TempOrdner t;
    Speichern(t, Faelle()[1]);
    const GeleseneHomepage hp = HomepageEinlesen(t.pfad());
    EXPECT_EQ(hp.daten.Zielordner, t.pfad());
    EXPECT_EQ(hp.eingaben.links[1].text, "&auml; & <b>fett</b>");
    EXPECT_EQ(hp.daten.ButtonGrafik[3], t / "Neu/img/b b.gif");
    EXPECT_EQ(hp.daten.ButtonGrafik[4], "");
    EXPECT_EQ(hp.daten.BannerDatei, t / "Neu/img/mein banner.gif");
    EXPECT_EQ(hp.daten.HintergrundBild, t / "Neu/img/stein(1).jpg");
}

// Contents written with another editor come back merged as imported contents
// are, and stay as they are on the next round trip.
TEST(HomepageEinlesen, EditedContentsAreMergedAndKept) {
    for (const Fall& f : {Faelle()[0], Faelle()[3]}) {
        SCOPED_TRACE(f.name);
        test::TempOrdner t;
        Speichern(t, f);
        const std::string name = f.modus == kModusNZAlt ? "_kontakt.htm" : "Seite2.html";
        const std::string alt = Lesen(t / ("Neu/" + name));
        Schreiben(t / ("Neu/" + name),
                  MitInhalt(alt, "        <p>T\xC3\xBCr \xE2\x82\xAC &amp; \xFC</p>"));
        auto nachher = Dateien(t / "Neu");
        nachher[name] = MitInhalt(alt, "        <p>T&uuml;r &#8364; &amp; \xFC</p>");
        fs::remove_all(t / Speichern(HomepageEinlesen(t.pfad())).sicherung);
        EXPECT_TRUE(Dateien(t / "Neu") == nachher);
        Speichern(HomepageEinlesen(t.pfad()));
        EXPECT_TRUE(Dateien(t / "Neu") == nachher);
    }
}

// A page of the menu that is gone gets the placeholder and is named; pages
// taken out of the menu and the user's own files stay; pages added get the
// next names free in the menu and the folder.
TEST(HomepageEinlesen, MissingPagesAndFewerPages) {
    test::TempOrdner t;
    Speichern(t, Faelle()[0]);
    fs::remove(t / "Neu/Seite2.html");
    Schreiben(t / "Neu/eigene.txt", "meins");
    GeleseneHomepage hp = HomepageEinlesen(t.pfad());
    EXPECT_EQ(FehlendeSeitenMeldung(hp),
              W("Diese Seiten des Menüs fehlen im Ordner „") + t.pfad() +
                  W("/Neu“; sie erhalten den Platzhaltertext:\nSeite2.html"));
    SeitenzahlAendern(hp, 2);
    const std::string alteSeite3 = Lesen(t / "Neu/Seite3.html");
    Speichern(hp);
    EXPECT_EQ(Lesen(t / "Neu/Seite2.html"), CodeErzeugen(hp.daten, hp.eingaben).seite);
    EXPECT_EQ(Lesen(t / "Neu/Seite3.html"), alteSeite3);
    EXPECT_EQ(Lesen(t / "Neu/eigene.txt"), "meins");

    hp = HomepageEinlesen(t.pfad());
    EXPECT_EQ(hp.daten.Seitenzahl, 2);
    // A row taken away earlier leaves nothing to a row added.
    hp.daten.Seiteninhalte.Setzen(3, {"Drei", "", std::nullopt});
    SeitenzahlAendern(hp, 4);
    EXPECT_EQ(hp.daten.Seiteninhalte[3].titel, "");
    EXPECT_EQ(hp.daten.ImportSeiten[3], "Seite4.html");
    EXPECT_EQ(hp.daten.ImportSeiten[4], "Seite5.html");
    EXPECT_EQ(hp.eingaben.links[3].text, "Seite 4");
    ASSERT_EQ(hp.inhalte.size(), 4u);
    EXPECT_FALSE(hp.inhalte[3].has_value());
}

// Each bad site gets its message, and nothing in the folder changes; so does
// a page changed with another editor after the site was opened, at saving.
TEST(HomepageEinlesen, BadSitesAreRefusedWithTheirMessage) {
    using Verderben = std::function<void(const test::TempOrdner&)>;
    // Replaces von by nach in Neu/datei, which then is the page saved last.
    const auto ersetzen = [](std::string datei, std::string von, std::string nach) -> Verderben {
        return [=](const test::TempOrdner& t) {
            const std::string pfad = t / ("Neu/" + datei);
            std::string text = Lesen(pfad);
            const auto p = text.find(von);
            ASSERT_NE(p, std::string::npos) << von;
            Schreiben(pfad, text.replace(p, von.size(), nach));
            fs::last_write_time(pfad, fs::file_time_type::clock::now() + std::chrono::hours(1));
        };
    };
    const std::string keine =
        W("Im Ordner „%“ wurde keine mit Leistenwerk gespeicherte Homepage gefunden.");
    struct Schlecht {
        std::string name;
        Verderben verderben;
        std::string meldung;  // "%" stands for the chosen folder
        bool beimSpeichern = false;
    };
    std::vector<Schlecht> faelle = {
        {"kein Stylesheet", [](auto& t) { fs::remove(t / "Neu/css/formate.css"); }, keine},
        {"keine Seite",
         [](auto& t) {
             for (const char* s : {"Seite1.html", "Seite2.html", "Seite3.html"})
                 fs::remove(t / (std::string("Neu/") + s));
         },
         keine},
        {"Schriftfarbe", ersetzen("css/formate.css", "  color: #000000;", "  color: schwarz;"),
         "formate.css: die Schriftfarbe ist nicht lesbar"},
        {"Zeile fehlt", ersetzen("css/formate.css", "  display: block;\r\n", ""),
         W("formate.css: die Zeile „  display: block;“ fehlt")},
        {"Wert passt nicht", ersetzen("css/formate.css", "margin-left: 200px", "margin-left: 20px"),
         "formate.css: die Datei passt nicht zu den Einstellungen, die sie nennt"},
        {"Menue unlesbar", ersetzen("Seite2.html", "<a href=\"Seite3.html\"", "<a  href=\"x\""),
         W("Seite2.html: der Eintrag 3 des Menüs ist nicht lesbar")},
        {"Menues verschieden", ersetzen("Seite3.html", ">Seite 1<", ">Start<"),
         W("Seite1.html: das Menü ist anders als auf der Seite „Seite3.html“")},
        {"Inhaltsblock ohne Anfang", ersetzen("Seite2.html", "      <div id=\"Inhalt\">\r\n", ""),
         W("Seite2.html: die Zeile, die den Inhaltsblock öffnet, fehlt")},
        {"Inhaltsblock ohne Ende",
         ersetzen("Seite2.html",
                  "      </div>\r\n\r\n      <!-- Hier endet der Block f\xFCr den Seiteninhalt "
                  "//-->\r\n",
                  ""),
         W("Seite2.html: die Zeile, die den Inhaltsblock schließt, fehlt oder der Text danach "
           "wurde verändert")},
        {"nach dem Oeffnen geaendert", ersetzen("Seite3.html", "</html>", "</html><!-- neu -->"),
         W("Seite3.html: die Datei wurde seit dem Öffnen verändert. Bitte öffnen Sie die "
           "Homepage erneut."),
         true},
    };
    for (const std::string ziel : {"../x.html", "/x.html", "a/b.html"})
        faelle.push_back({ziel, ersetzen("Seite1.html", "\"Seite2.html\"", '"' + ziel + '"'),
                          W("Seite1.html: der Eintrag 2 des Menüs führt zu „") + ziel +
                              W("“, das ist kein gültiger Seitenname")});
    for (const std::string datei : {"css/formate.css", "Seite3.html"}) {
        const auto verknuepfen = [datei](const test::TempOrdner& t) {
            fs::rename(t / ("Neu/" + datei), t / "ziel");
            fs::create_symlink(t / "ziel", t / ("Neu/" + datei));
        };
        faelle.push_back({datei, verknuepfen,
                          fs::path(datei).filename().string() +
                              W(": die Datei ist eine symbolische Verknüpfung, der Leistenwerk "
                                "nicht folgt")});
    }
    for (const Schlecht& f : faelle) {
        SCOPED_TRACE(f.name);
        test::TempOrdner t;
        Speichern(t, Faelle()[0]);
        const GeleseneHomepage hp = HomepageEinlesen(t.pfad());
        f.verderben(t);
        const auto vorher = Dateien(t.pfad());
        std::string meldung = f.meldung;
        if (const auto p = meldung.find('%'); p != std::string::npos)
            meldung.replace(p, 1, t.pfad());
        EXPECT_EQ(FehlerText<Hinweis>([&] {
                      f.beimSpeichern ? (void)Speichern(hp) : (void)HomepageEinlesen(t.pfad());
                  }),
                  meldung);
        EXPECT_TRUE(Dateien(t.pfad()) == vorher);
    }
}

}  // namespace
}  // namespace lw
