// A saved site opened again: saved by the site writer, read back, saved in
// place and compared byte for byte; and the sites that cannot be read.
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
#include "tests/support/TempOrdner.h"

namespace lw {
namespace {

namespace fs = std::filesystem;
using test::Lesen;
using test::Schreiben;

// Every file below ordner with its bytes, by relative path; links as "->".
std::map<std::string, std::string> Dateien(const std::string& ordner) {
    std::map<std::string, std::string> dateien;
    for (const auto& e : fs::recursive_directory_iterator(ordner)) {
        const std::string name = fs::relative(e.path(), ordner).string();
        if (e.is_symlink())
            dateien[name] = "-> " + fs::read_symlink(e.path()).string();
        else if (e.is_regular_file())
            dateien[name] = Lesen(e.path().string());
    }
    return dateien;
}

struct Link {
    std::string seite;
    std::string text;
    std::string tooltipp;
    std::string grafik;  // file name in the test's picture folder, or empty
};

struct Fall {
    const char* name;
    std::string modus = kModusHPNeu;
    bool fixiert = false;
    bool eineGrafik = false;
    bool banner = false;
    bool hintergrund = false;
    std::vector<Link> links;
};

std::vector<Link> Standardlinks(int n) {
    std::vector<Link> links;
    for (int i = 1; i <= n; ++i)
        links.push_back({"Seite" + std::to_string(i) + ".html", "Seite " + std::to_string(i),
                         "Zur Seite " + std::to_string(i), ""});
    return links;
}

// The site as the wizard saves it into t/Neu; pictures from t/Bilder, the
// imported pages' contents from t/Alt.
void Speichern(const test::TempOrdner& t, const Fall& f) {
    fs::create_directories(t / "Bilder");
    fs::create_directories(t / "Alt");
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
        if (!l.grafik.empty()) {
            Schreiben(t / ("Bilder/" + l.grafik), "Grafik " + l.grafik);
            d.ButtonGrafik.Setzen(i, t / ("Bilder/" + l.grafik));
        }
        Schreiben(t / ("Alt/" + l.seite), W("        <p>Inhalt von ") + l.seite + W(": Tür</p>"));
    }
    d.ButtonHoehe.Setzen(1, 50);
    d.ButtonBreite.Setzen(1, 170);
    if (f.banner) {
        Schreiben(t / "Bilder/mein banner.gif", "Banner");
        d.BannerDatei = t / "Bilder/mein banner.gif";
        d.BannerBreite = 468;
        d.BannerHoehe = 60;
        e.bannerAlt = W("Grüße & \"Küsse\" <3");
        e.bannerTooltipp = "&amp;uuml; bleibt";
    }
    if (f.hintergrund) {
        Schreiben(t / "Bilder/stein(1).jpg", "Stein");
        d.HintergrundBild = t / "Bilder/stein(1).jpg";
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

// Opens the site and saves it in place without a change.
VorOrt OeffnenUndSpeichern(const std::string& ordner) {
    const GeleseneHomepage hp = HomepageEinlesen(ordner);
    VorOrt vorOrt{hp.inhalte, {}};
    DateienErzeugen(hp.daten, CodeErzeugen(hp.daten, hp.eingaben), hp.eingaben.menueFixiert,
                    &vorOrt);
    return vorOrt;
}

// The pages as a page of the site shows them between the contents block's
// lines, and with other contents there.
std::string MitInhalt(const std::string& seite, const std::string& inhalt) {
    const std::string auf = "      <div id=\"Inhalt\">\r\n";
    const auto anfang = seite.find(auf) + auf.size();
    const auto ende = seite.rfind(
        "\r\n", seite.find(W("      <!-- Hier endet der Block für den Seiteninhalt")) - 5);
    return seite.substr(0, anfang) + inhalt + seite.substr(ende);
}

const std::vector<Fall>& Faelle() {
    static const std::vector<Fall> faelle = [] {
        std::vector<Fall> f;
        f.push_back({"neu schlicht", kModusHPNeu, false, false, false, false, Standardlinks(3)});
        Fall alles{"neu mit allem", kModusHPNeu, true, false, true, true, {}};
        alles.links = {{"index.html", W("Über & uns"), W("Grüße \"aus\" <Köln>"), "a.gif"},
                       {"b&c.html", "&auml; &amp; <b>fett</b>", "&#228;", "a.gif"},
                       {W("Tür.html"), "C", "", "b b.gif"},
                       {"d.html", "D", "", ""},
                       {"e.html", "E", "", "a.gif"}};
        f.push_back(alles);
        Fall eine{
            "neu eine Grafik fuer alle", kModusHPNeu, false, true, false, false, Standardlinks(3)};
        eine.links[0].grafik = "a.gif";
        eine.links[2].grafik = "b.gif";
        f.push_back(eine);
        Fall importiert{"importiert fixiert", kModusNZAlt, true, false, true, false, {}};
        importiert.links = {{"index.html", W("Start & Ziel"), W("Zur Übersicht"), "a.gif"},
                            {"kontakt.htm", "Kontakt", "", ""}};
        f.push_back(importiert);
        Fall offen{"importiert offen", kModusNZAlt, false, false, false, true, {}};
        offen.links = {{"a.html", "A", "", ""}};
        f.push_back(offen);
        f.push_back(
            {"tausend Seiten", kModusHPNeu, true, false, false, false, Standardlinks(1000)});
        return f;
    }();
    return faelle;
}

TEST(HomepageEinlesen, UnchangedRoundTripsAreByteIdentical) {
    for (const Fall& f : Faelle()) {
        SCOPED_TRACE(f.name);
        test::TempOrdner t;
        Speichern(t, f);
        const auto vorher = Dateien(t / "Neu");
        // The folder Neu itself and the folder that holds it alike.
        const VorOrt vorOrt = OeffnenUndSpeichern(f.links.size() > 3 ? t / "Neu" : t.pfad());
        EXPECT_TRUE(Dateien(t / "Neu") == vorher);
        // The backup holds what was replaced: the pages and the stylesheets,
        // not the pictures, which were not copied onto themselves.
        const auto gesichert = Dateien(t / vorOrt.sicherung);
        EXPECT_EQ(gesichert.size(), f.links.size() + (f.fixiert ? 2 : 1));
        for (const auto& [name, bytes] : gesichert) EXPECT_EQ(bytes, vorher.at(name)) << name;
        EXPECT_FALSE(fs::exists(t / (vorOrt.sicherung + "/img")));
        EXPECT_EQ(std::distance(fs::directory_iterator(t.pfad()), fs::directory_iterator()), 4);
    }
}

TEST(HomepageEinlesen, RecoversWhatTheTabsShow) {
    const Fall& f = Faelle()[1];
    test::TempOrdner t;
    Speichern(t, f);
    const GeleseneHomepage hp = HomepageEinlesen(t.pfad());
    const Projektdaten& d = hp.daten;
    const std::string img = t / "Neu/img/";
    EXPECT_EQ(d.Modus, kModusHPNeu);
    EXPECT_EQ(d.Zielordner, t.pfad());
    EXPECT_EQ(d.Seitenzahl, 5);
    EXPECT_TRUE(hp.eingaben.menueFixiert);
    EXPECT_FALSE(hp.eingaben.eineGrafikFuerAlle);
    for (int i = 1; i <= 5; ++i) {
        const Link& l = f.links[i - 1];
        EXPECT_EQ(d.ImportSeiten[i], l.seite);
        EXPECT_EQ(hp.eingaben.links[i - 1].seite, l.seite);
        // A typed "&amp;" that means '&' alone comes back as the '&'.
        EXPECT_EQ(hp.eingaben.links[i - 1].text, i == 2 ? "&auml; & <b>fett</b>" : l.text);
        EXPECT_EQ(hp.eingaben.links[i - 1].tooltipp, l.tooltipp);
        EXPECT_EQ(d.ButtonGrafik[i], l.grafik.empty() ? "" : img + l.grafik) << i;
        ASSERT_TRUE(hp.inhalte[i - 1].has_value());
    }
    EXPECT_EQ(d.BannerDatei, img + "mein banner.gif");
    EXPECT_EQ(d.BannerBreite, 468);
    EXPECT_EQ(d.BannerHoehe, 60);
    EXPECT_EQ(hp.eingaben.bannerAlt, W("Grüße & \"Küsse\" <3"));
    EXPECT_EQ(hp.eingaben.bannerTooltipp, "&amp;uuml; bleibt");
    EXPECT_EQ(d.HintergrundBild, img + "stein(1).jpg");
    EXPECT_FALSE(d.HintergrundKachel);
    EXPECT_TRUE(d.HintergrundFixiert);
    EXPECT_EQ(d.BodySchriftName, "Times New Roman");
    EXPECT_EQ(d.BodySchriftGroesse, 17);
    EXPECT_EQ(d.BodySchriftStil, SchriftstilAlsCss(true, true, false, true));
    EXPECT_EQ(d.ButtonHintergrundFarbe, "00ff80");
    EXPECT_EQ(d.ButtonSchriftFarbe, "123abc");
    EXPECT_EQ(d.ButtonSchriftGroesse, 9);
    EXPECT_EQ(d.ButtonBreite[1], 170);
    EXPECT_EQ(d.ButtonHoehe[1], 50);
    EXPECT_TRUE(hp.fehlendeSeiten.empty());
}

// Contents written with another editor come back merged as imported
// contents are; the next round trip keeps them as they are then.
TEST(HomepageEinlesen, EditedContentsAreMergedAndKept) {
    for (const Fall& f : {Faelle()[0], Faelle()[3]}) {
        SCOPED_TRACE(f.name);
        test::TempOrdner t;
        Speichern(t, f);
        const std::string seite =
            t / (f.modus == kModusNZAlt ? "Neu/_kontakt.htm" : "Neu/Seite2.html");
        const std::string alt = Lesen(seite);
        Schreiben(seite, MitInhalt(alt, "        <p>T\xC3\xBCr \xE2\x82\xAC &amp; \xFC</p>"));
        const auto vorher = Dateien(t / "Neu");
        const VorOrt vorOrt = OeffnenUndSpeichern(t.pfad());
        auto nachher = vorher;
        nachher[fs::relative(seite, t / "Neu").string()] =
            MitInhalt(alt, "        <p>T&uuml;r &#8364; &amp; \xFC</p>");
        EXPECT_TRUE(Dateien(t / "Neu") == nachher);
        EXPECT_EQ(Lesen(t / (vorOrt.sicherung + "/" + fs::relative(seite, t / "Neu").string())),
                  vorher.at(fs::relative(seite, t / "Neu").string()));
        fs::remove_all(t / vorOrt.sicherung);
        OeffnenUndSpeichern(t.pfad());
        EXPECT_TRUE(Dateien(t / "Neu") == nachher);
    }
}

// A page of the menu that is gone gets the placeholder and is named; pages
// taken out of the menu and the user's own files stay as they are.
TEST(HomepageEinlesen, MissingPagesAndFewerPages) {
    test::TempOrdner t;
    Speichern(t, Faelle()[0]);
    fs::remove(t / "Neu/Seite2.html");
    Schreiben(t / "Neu/eigene.txt", "meins");
    GeleseneHomepage hp = HomepageEinlesen(t.pfad());
    EXPECT_EQ(hp.fehlendeSeiten, std::vector<std::string>{"Seite2.html"});
    EXPECT_EQ(FehlendeSeitenMeldung(hp),
              W("Diese Seiten des Menüs fehlen im Ordner „") + t.pfad() +
                  W("/Neu“; sie erhalten den Platzhaltertext:\nSeite2.html"));
    SeitenzahlAendern(hp, 2);
    VorOrt vorOrt{hp.inhalte, {}};
    const auto code = CodeErzeugen(hp.daten, hp.eingaben);
    DateienErzeugen(hp.daten, code, false, &vorOrt);
    EXPECT_EQ(Lesen(t / "Neu/Seite2.html"), code.seite);
    EXPECT_NE(Lesen(t / "Neu/Seite3.html"), Lesen(t / "Neu/Seite1.html"));  // the old menu
    EXPECT_EQ(Lesen(t / "Neu/eigene.txt"), "meins");

    // Two more: the next names free in the menu and the folder.
    hp = HomepageEinlesen(t.pfad());
    EXPECT_EQ(hp.daten.Seitenzahl, 2);
    SeitenzahlAendern(hp, 4);
    EXPECT_EQ(hp.daten.ImportSeiten[3], "Seite4.html");
    EXPECT_EQ(hp.daten.ImportSeiten[4], "Seite5.html");
    EXPECT_EQ(hp.eingaben.links[3].text, "Seite 4");
    EXPECT_EQ(hp.inhalte.size(), 4u);
    EXPECT_FALSE(hp.inhalte[3].has_value());
}

// A page changed with another editor after the site was opened: the save
// refuses before it writes anything, backup included.
TEST(HomepageEinlesen, PageChangedAfterOpeningIsRefused) {
    test::TempOrdner t;
    Speichern(t, Faelle()[0]);
    const GeleseneHomepage hp = HomepageEinlesen(t.pfad());
    Schreiben(t / "Neu/Seite3.html", Lesen(t / "Neu/Seite3.html") + "<!-- neu -->");
    const auto vorher = Dateien(t.pfad());
    VorOrt vorOrt{hp.inhalte, {}};
    try {
        DateienErzeugen(hp.daten, CodeErzeugen(hp.daten, hp.eingaben), false, &vorOrt);
        ADD_FAILURE() << "gespeichert";
    } catch (const Hinweis& h) {
        EXPECT_EQ(std::string(h.what()),
                  W("Seite3.html: die Datei wurde seit dem Öffnen verändert. Bitte öffnen Sie "
                    "die Homepage erneut."));
    }
    EXPECT_TRUE(Dateien(t.pfad()) == vorher);
    EXPECT_EQ(std::distance(fs::directory_iterator(t.pfad()), fs::directory_iterator()), 3);
}

// Each bad site gets its message, and nothing in the folder changes.
TEST(HomepageEinlesen, BadSitesAreRefusedWithTheirMessage) {
    const auto ersetzen = [](const std::string& pfad, const std::string& von,
                             const std::string& nach) {
        std::string text = Lesen(pfad);
        const auto p = text.find(von);
        ASSERT_NE(p, std::string::npos) << von;
        Schreiben(pfad, text.replace(p, von.size(), nach));
        // The edited page is the one saved last.
        fs::last_write_time(pfad, fs::file_time_type::clock::now() + std::chrono::hours(1));
    };
    struct Schlecht {
        const char* name;
        std::function<void(const test::TempOrdner&)> verderben;
        std::string meldung;  // "%" stands for the chosen folder
    };
    const std::vector<Schlecht> faelle = {
        {"kein Stylesheet", [](auto& t) { fs::remove(t / "Neu/css/formate.css"); },
         W("Im Ordner „%“ wurde keine mit Leistenwerk gespeicherte Homepage gefunden.")},
        {"keine Seite",
         [](auto& t) {
             for (const char* s : {"Seite1.html", "Seite2.html", "Seite3.html"})
                 fs::remove(t / (std::string("Neu/") + s));
         },
         W("Im Ordner „%“ wurde keine mit Leistenwerk gespeicherte Homepage gefunden.")},
        {"Schriftfarbe",
         [&](auto& t) {
             ersetzen(t / "Neu/css/formate.css", "  color: #000000;", "  color: schwarz;");
         },
         "formate.css: die Schriftfarbe ist nicht lesbar"},
        {"Zeile fehlt",
         [&](auto& t) { ersetzen(t / "Neu/css/formate.css", "  display: block;\r\n", ""); },
         W("formate.css: die Zeile „  display: block;“ fehlt")},
        {"Wert passt nicht",
         [&](auto& t) {
             ersetzen(t / "Neu/css/formate.css", "margin-left: 200px", "margin-left: 20px");
         },
         "formate.css: die Datei passt nicht zu den Einstellungen, die sie nennt"},
        {"Menue unlesbar",
         [&](auto& t) {
             ersetzen(t / "Neu/Seite2.html", "<a href=\"Seite3.html\"", "<a  href=\"x\"");
         },
         W("Seite2.html: der Eintrag 3 des Menüs ist nicht lesbar")},
        {"Menues verschieden",
         [&](auto& t) { ersetzen(t / "Neu/Seite3.html", ">Seite 1<", ">Start<"); },
         W("Seite1.html: das Menü ist anders als auf der Seite „Seite3.html“")},
        {"Inhaltsblock ohne Anfang",
         [&](auto& t) { ersetzen(t / "Neu/Seite2.html", "      <div id=\"Inhalt\">\r\n", ""); },
         W("Seite2.html: die Zeile, die den Inhaltsblock öffnet, fehlt")},
        {"Inhaltsblock ohne Ende",
         [&](auto& t) {
             ersetzen(t / "Neu/Seite2.html",
                      "      </div>\r\n\r\n      <!-- Hier endet der Block f\xFCr den Seiteninhalt "
                      "//-->\r\n",
                      "");
         },
         W("Seite2.html: die Zeile, die den Inhaltsblock schließt, fehlt oder der Text danach "
           "wurde verändert")},
        {"Seite ausserhalb",
         [&](auto& t) { ersetzen(t / "Neu/Seite1.html", "\"Seite2.html\"", "\"../x.html\""); },
         W("Seite1.html: der Eintrag 2 des Menüs führt zu „../x.html“, das ist kein gültiger "
           "Seitenname")},
        {"Seite absolut",
         [&](auto& t) { ersetzen(t / "Neu/Seite1.html", "\"Seite2.html\"", "\"/x.html\""); },
         W("Seite1.html: der Eintrag 2 des Menüs führt zu „/x.html“, das ist kein gültiger "
           "Seitenname")},
        {"Seite im Unterordner",
         [&](auto& t) { ersetzen(t / "Neu/Seite1.html", "\"Seite2.html\"", "\"a/b.html\""); },
         W("Seite1.html: der Eintrag 2 des Menüs führt zu „a/b.html“, das ist kein gültiger "
           "Seitenname")},
        {"Stylesheet als Verknuepfung",
         [](auto& t) {
             fs::rename(t / "Neu/css/formate.css", t / "formate.css");
             fs::create_symlink(t / "formate.css", t / "Neu/css/formate.css");
         },
         W("formate.css: die Datei ist eine symbolische Verknüpfung, der Leistenwerk nicht folgt")},
        {"Seite als Verknuepfung",
         [](auto& t) {
             fs::rename(t / "Neu/Seite3.html", t / "Seite3.html");
             fs::create_symlink(t / "Seite3.html", t / "Neu/Seite3.html");
         },
         W("Seite3.html: die Datei ist eine symbolische Verknüpfung, der Leistenwerk nicht folgt")},
    };
    for (const Schlecht& f : faelle) {
        SCOPED_TRACE(f.name);
        test::TempOrdner t;
        Speichern(t, Faelle()[0]);
        f.verderben(t);
        const auto vorher = Dateien(t.pfad());
        std::string meldung = f.meldung;
        if (const auto p = meldung.find('%'); p != std::string::npos)
            meldung.replace(p, 1, t.pfad());
        try {
            HomepageEinlesen(t.pfad());
            ADD_FAILURE() << "gelesen";
        } catch (const Hinweis& h) {
            EXPECT_EQ(std::string(h.what()), meldung);
        }
        EXPECT_TRUE(Dateien(t.pfad()) == vorher);
    }
}

}  // namespace
}  // namespace lw
