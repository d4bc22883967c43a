#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>

#include "common/Fehler.h"
#include "common/Zeichensatz.h"
#include "output/Vorschau.h"
#include "tests/support/FehlerText.h"
#include "tests/support/TempOrdner.h"

namespace lw {
namespace {

namespace fs = std::filesystem;
using test::Lesen;
using test::Schreiben;

using test::FehlerText;

const char* const kSeite =
    "<link href=\"css/ie.css\" /><link href=\"css/formate.css\" />"
    "<img src=\"img/kopf.jpg\" /><img src=\"img/KOPF.JPG\" />\r\n";
const char* const kCss =
    "body { background-image: url(../img/stein.gif); }\r\n"
    ".Seite1 { background-image: url(../img/a.gif); }\r\n"
    ".Seite2 { background-image: url(../img/b.gif); }\r\n";

struct Vorschau {
    test::TempOrdner t;
    Projektdaten d;
    Vorschau() {
        fs::create_directories(t / "Meine Bilder");
        fs::create_directories(t / "Ziel");
        for (const char* bild : {"kopf.jpg", "stein.gif", "a.gif", "b.gif"})
            Schreiben(t / "Meine Bilder/" + bild, bild);
        d.Modus = kModusHPNeu;
        d.Zielordner = t / "Ziel";
    }
    std::string Bild(const std::string& name) const { return t / "Meine Bilder/" + name; }
    std::string Url(const std::string& name) const {
        return "file://" + t.pfad() + "/Meine%20Bilder/" + name;
    }
    std::string Datei(const std::string& name) const { return Lesen(d.Zielordner + "/" + name); }
};

TEST(VorschauSchreiben, BannerPointsAtThePictureWithEncodedBlanks) {
    Vorschau v;
    v.d.BannerDatei = v.Bild("kopf.jpg");
    EXPECT_EQ(VorschauSchreiben(v.d, {kSeite, "", "ie"}, true, false, ""),
              v.d.Zielordner + "/Test.html");
    const std::string src = "<img src=\"" + v.Url("kopf.jpg") + "\" />";
    EXPECT_EQ(v.Datei("Test.html"),
              "<link href=\"TestIE.css\" /><link href=\"Test.css\" />" + src + src + "\r\n");
    EXPECT_EQ(v.Datei("TestIE.css"), "ie");
}

TEST(VorschauSchreiben, FirefoxGetsBlanksUnchangedWithoutFixedMenu) {
    Vorschau v;
    v.d.BannerDatei = v.Bild("kopf.jpg");
    VorschauSchreiben(v.d, {kSeite, "", ""}, false, false, "firefox-esr.desktop");
    const std::string src = "<img src=\"file://" + v.Bild("kopf.jpg") + "\" />";
    EXPECT_EQ(v.Datei("Test.html"),
              "<link href=\"css/ie.css\" /><link href=\"Test.css\" />" + src + src + "\r\n");
    EXPECT_EQ(v.Datei("TestIE.css"), "");  // written all the same
}

// A backslash in a folder's name is part of the name here: it is encoded like
// the site's own addresses, and only the stylesheet's other backslashes turn.
TEST(VorschauSchreiben, StylesheetGetsForwardSlashes) {
    Vorschau v;
    fs::create_directories(v.t / "Bilder\\Alt");
    Schreiben(v.t / "Bilder\\Alt/stein.gif", "gif");
    v.d.HintergrundBild = v.t / "Bilder\\Alt/stein.gif";
    VorschauSchreiben(v.d, {"", "url(../img/stein.gif) \\x", ""}, false, false, "");
    EXPECT_EQ(v.Datei("Test.css"), "url(file://" + v.t.pfad() + "/Bilder%5CAlt/stein.gif) /x");
}

// The page and the stylesheet carry such names as addresses (see CodeErzeugen);
// the preview finds them there and points them at the chosen files, encoded
// the same way.
TEST(VorschauSchreiben, NamesWithBlanksQuotesAndBrackets) {
    for (const char* browser : {"", "firefox-esr.desktop"}) {
        SCOPED_TRACE(browser);
        Vorschau v;
        v.d.Seitenzahl = 1;
        v.d.BannerDatei = v.Bild("Tom & Jerry (neu).gif");
        v.d.HintergrundBild = v.Bild("it's \"x\".gif");
        v.d.ButtonGrafik.Setzen(1, v.Bild("knopf 1.gif"));
        for (const std::string& bild : {v.d.BannerDatei, v.d.HintergrundBild, v.d.ButtonGrafik[1]})
            Schreiben(bild, "gif");
        VorschauSchreiben(v.d,
                          {"<img src=\"img/Tom%20&amp;%20Jerry%20%28neu%29.gif\" />",
                           "url(../img/it%27s%20%22x%22.gif) url(../img/knopf%201.gif)", ""},
                          false, false, browser);
        const std::string ordner =
            *browser ? v.t.pfad() + "/Meine Bilder/" : v.t.pfad() + "/Meine%20Bilder/";
        const std::string blank = *browser ? " " : "%20";
        EXPECT_EQ(v.Datei("Test.html"), "<img src=\"file://" + ordner + "Tom" + blank + "&amp;" +
                                            blank + "Jerry" + blank + "%28neu%29.gif\" />");
        EXPECT_EQ(v.Datei("Test.css"), "url(file://" + ordner + "it%27s" + blank +
                                           "%22x%22.gif) url(file://" + ordner + "knopf" + blank +
                                           "1.gif)");
    }
}

// An imported site keeps Seitenzahl at 0; its buttons must be found as well.
TEST(VorschauSchreiben, ButtonGraphicsOfThePagesInUse) {
    struct Fall {
        const char* name;
        const char* modus;
        bool eineGrafik;
        bool bRewritten;
    };
    for (const Fall& f :
         {Fall{"new", kModusHPNeu, false, true}, Fall{"imported", kModusNZAlt, false, true},
          Fall{"oneForAll", kModusHPNeu, true, false}}) {
        SCOPED_TRACE(f.name);
        Vorschau v;
        v.d.Modus = f.modus;
        (f.modus == std::string(kModusNZAlt) ? v.d.ImportAnzahl : v.d.Seitenzahl) = 3;
        v.d.HintergrundBild = v.Bild("stein.gif");
        v.d.ButtonGrafik.Setzen(1, v.Bild("a.gif"));
        v.d.ButtonGrafik.Setzen(2, v.Bild("b.gif"));
        v.d.ButtonGrafik.Setzen(3, v.Bild("b.gif"));
        VorschauSchreiben(v.d, {"", kCss, ""}, false, f.eineGrafik, "");
        const std::string css = v.Datei("Test.css");
        EXPECT_NE(css.find("url(" + v.Url("stein.gif") + ")"), std::string::npos);
        EXPECT_NE(css.find("url(" + v.Url("a.gif") + ")"), std::string::npos);
        EXPECT_EQ(css.find("url(" + v.Url("b.gif") + ")") != std::string::npos, f.bRewritten);
        EXPECT_EQ(css.find("../img/b.gif") != std::string::npos, !f.bRewritten);
    }
}

TEST(VorschauSchreiben, Failures) {
    Vorschau v;
    v.d.BannerDatei = v.t / "weg.jpg";
    EXPECT_EQ(FehlerText([&] {
                  VorschauSchreiben(v.d, {kSeite, "", ""}, false, false, "");
              }),
              "Datei nicht gefunden");
    EXPECT_FALSE(fs::exists(v.d.Zielordner + "/Test.html"));

    v.d.BannerDatei.clear();
    v.d.Zielordner.clear();
    EXPECT_EQ(FehlerText([&] {
                  VorschauSchreiben(v.d, {kSeite, "", ""}, false, false, "");
              }),
              W("Ungültiger Dateiname"));

    // A full disk: the page is written, the stylesheet is not.
    v.d.Zielordner = v.t / "Ziel";
    fs::create_symlink("/dev/full", v.t / "Ziel/Test.css");
    EXPECT_EQ(FehlerText([&] {
                  VorschauSchreiben(v.d, {"seite", "css", ""}, false, false, "");
              }),
              "Zu wenig Speicherplatz");
    EXPECT_EQ(v.Datei("Test.html"), "seite");
    EXPECT_FALSE(fs::exists(v.d.Zielordner + "/TestIE.css"));
}

// Points the XDG folders and the desktop name into a temporary folder and
// puts everything back afterwards.
class XdgUmgebung {
public:
    explicit XdgUmgebung(const test::TempOrdner& t, const char* desktop) {
        Setzen("HOME", t / "home");
        Setzen("XDG_CONFIG_HOME", t / "config");
        Setzen("XDG_CONFIG_DIRS", t / "etc");
        Setzen("XDG_DATA_HOME", t / "data");
        Setzen("XDG_DATA_DIRS", t / "share1:" + t / "share2");
        Setzen("XDG_CURRENT_DESKTOP", desktop);
        for (const char* o :
             {"config", "etc", "data/applications", "share1/applications", "share2/applications"})
            fs::create_directories(t / o);
    }
    ~XdgUmgebung() {
        for (const auto& [name, wert] : alt_)
            wert ? ::setenv(name.c_str(), wert->c_str(), 1) : ::unsetenv(name.c_str());
    }

private:
    void Setzen(const char* name, const std::string& wert) {
        const char* vorher = std::getenv(name);
        alt_[name] = vorher ? std::optional<std::string>(vorher) : std::nullopt;
        ::setenv(name, wert.c_str(), 1);
    }
    std::map<std::string, std::optional<std::string>> alt_;
};

std::string Eintrag(const char* browser) {
    return std::string(
               "[Added Associations]\nx-scheme-handler/http=falsch.desktop;\n\n"
               "[Default Applications]\ntext/html=auch-falsch.desktop\n"
               "x-scheme-handler/http = ") +
           browser + ";zweiter.desktop;\n";
}

TEST(StandardBrowser, ReadsTheDesktopsRecordInLookupOrder) {
    test::TempOrdner t;
    XdgUmgebung umgebung(t, "X-Cinnamon:GNOME");
    EXPECT_EQ(StandardBrowser(), "");

    Schreiben(t / "share2/applications/mimeapps.list", Eintrag("system.desktop"));
    EXPECT_EQ(StandardBrowser(), "system.desktop");
    Schreiben(t / "share1/applications/gnome-mimeapps.list", Eintrag("gnome-system.desktop"));
    EXPECT_EQ(StandardBrowser(), "gnome-system.desktop");
    Schreiben(t / "etc/mimeapps.list", Eintrag("etc.desktop"));
    EXPECT_EQ(StandardBrowser(), "etc.desktop");
    Schreiben(t / "config/mimeapps.list", Eintrag("firefox-esr.desktop"));
    EXPECT_EQ(StandardBrowser(), "firefox-esr.desktop");
    Schreiben(t / "config/gnome-mimeapps.list", "[Default Applications]\ntext/html=x.desktop\n");
    EXPECT_EQ(StandardBrowser(), "firefox-esr.desktop");  // no http entry there
    Schreiben(t / "config/x-cinnamon-mimeapps.list", Eintrag("chromium.desktop"));
    EXPECT_EQ(StandardBrowser(), "chromium.desktop");
}

}  // namespace
}  // namespace lw
