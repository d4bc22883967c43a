#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/Fehler.h"
#include "common/Zeichensatz.h"
#include "import/Import.h"
#include "import/LadeURL.h"
#include "tests/support/HttpServer.h"
#include "tests/support/TempOrdner.h"

// Start pages whose menu names files the import must not write: the page names
// come from a server and become file names inside Alt. Every page is imported
// into a target folder two levels below a folder of its own, and that whole
// tree is compared before and after, so an escape would be visible.
namespace lw {
namespace {

namespace fs = std::filesystem;
using test::Antwort;

const std::string kBenutzer = "anna";
const std::string kAnbieter = "http://www.anna.netzhof-download.de/";

std::string MenueLink(const std::string& ziel) {
    return "<tr><td><a href=\"" + ziel +
           "\"><img src=\"data/pics/m.png\" border=\"0\"></a></td></tr>\n";
}

// Without the contents cell the frame cut takes the first 134 characters, and
// without the counter everything behind them stays.
std::string Geliefert(const std::string& inhalt) {
    return std::string(134, '~') + inhalt;
}

// How a page name travels in the request: blanks and bytes beyond ASCII are
// percent-encoded as browsers do, everything else is sent as it stands.
std::string AlsZiel(const std::string& name) {
    std::string ziel;
    for (const char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (c == ' ' || b >= 0x80) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", b);
            ziel += hex;
        } else {
            ziel += c;
        }
    }
    return kAnbieter + ziel;
}

struct Feindlich {
    std::string art;
    std::string ziel;  // link target; it ends in ".html", so it is the page name too
    bool abgelehnt;
};

std::vector<Feindlich> Ziele() {
    std::vector<Feindlich> z = {
        {"parent", "../x.html", true},
        {"two parents", "../../etc/x.html", true},
        {"many parents", "../../../../../../../../tmp/x.html", true},
        {"this folder", "./x.html", true},
        {"parent inside", "a/../../x.html", true},
        {"absolute", "/tmp/x.html", true},
        {"absolute etc", "/etc/passwd.html", true},
        {"network path", "//server/freigabe.html", true},
        {"only dots", "..", true},
        {"encoded dots then slash", "%2e%2e/x.html", true},
        {"encoded slash", "%2e%2e%2fx.html", false},
        {"dots encoded slash", "..%2fx.html", false},
        {"twice encoded slash", "..%2f..%2fx.html", false},
        {"encoded absolute", "%2fetc%2fx.html", false},
        {"encoded backslash", "..%5cx.html", false},
        {"encoded NUL", "%00x.html", false},
        {"double encoding", "%252e%252e%252fx.html", false},
        {"overlong slash", "..%c0%afx.html", false},
        {"backslash parent", "..\\x.html", true},
        {"backslash parents", "..\\..\\x.html", true},
        {"UNC", "\\\\server\\x.html", true},
        {"drive", "c:\\x.html", true},
        {"backslash inside", "a\\b.html", true},
        {"line feed", "a\nb.html", true},
        {"carriage return", "a\rb.html", true},
        {"tab", "a\tb.html", true},
        {"escape", "a\x1b[2Jb.html", true},
        {"bell", "\x07.html", true},
        {"backspace", "ab\b\b../x.html", true},
        {"unit separator", "a\x1f.html", true},
        {"DEL", "a\x7f.html", true},
        {"NUL", std::string("a\0b.html", 8), true},
        {"NUL before parent", std::string("x\0/../../y.html", 15), true},
        {"200 bytes", std::string(195, 'l') + ".html", false},
        {"254 bytes", std::string(249, 'l') + ".html", false},
        {"255 bytes", std::string(250, 'l') + ".html", true},
        {"300 bytes", std::string(295, 'l') + ".html", true},
        {"umlauts longer in UTF-8", std::string(125, '\xFC') + ".html", true},
        {"umlauts that fit", std::string(100, '\xFC') + ".html", false},
        {"con", "con.html", true},
        {"CON", "CON.html", true},
        {"nul", "nul.html", true},
        {"nul short", "nul", true},
        {"prn", "prn.html", true},
        {"aux", "aux.html", true},
        {"com1", "com1.html", true},
        {"lpt9", "lpt9.html", true},
        {"device before second dot", "con.txt.html", true},
        {"device with blank", "aux .html", true},
        {"device-like word", "console.html", false},
        {"blank inside", "neue seite.html", false},
        {"leading blank", " vorne.html", false},
        {"only blanks", "   .html", false},
        {"two dots inside", "ok..name.html", false},
        {"dots throughout", "a..b..c.html", false},
        {"three dots", "...html", false},
        {"leading dots", "..x.html", false},
        {"dots before extension", "x...html", false},
        {"less than", "a<b.html", true},
        {"greater than", "a>b.html", true},
        {"colon", "a:b.html", true},
        {"quote", "a\"b.html", true},
        {"pipe", "a|b.html", true},
        {"question mark", "seite.php?id=1.html", true},
        {"star", "a*b.html", true},
        {"umlaut", W("Über uns.html"), false},
        {"euro", "\x80uro.html", false},
    };
    return z;
}

// The tree below a folder: relative path -> file contents ("<Ordner>" for a folder).
std::map<std::string, std::string> Baum(const std::string& wurzel) {
    std::map<std::string, std::string> baum;
    for (const auto& e : fs::recursive_directory_iterator(wurzel)) {
        const std::string pfad = fs::relative(e.path(), wurzel).string();
        baum[pfad] = e.is_directory() ? "<Ordner>" : test::Lesen(e.path().string());
    }
    return baum;
}

class FeindlichesMenue : public ::testing::Test {
protected:
    test::HttpServer server;
    test::ProxyUmgebung umleitung{server};
};

enum class Form { Allein, Zwischen, Startseite };

std::string StartseiteIn(Form form, const std::string& ziel) {
    switch (form) {
        case Form::Allein:
            return MenueLink(ziel);
        case Form::Zwischen:
            return "<table>\n" + MenueLink("vorher.html") + MenueLink(ziel) +
                   MenueLink("nachher.html") + "</table>";
        case Form::Startseite:
            return "<html><head><meta name=\"generator\" content=\"NETZHOF, "
                   "http://www.netzhof.de/\"></head><body><table><tr><td "
                   "background=\"data/tdef/tp008/pa0.png\"><table>\n" +
                   MenueLink("index.html") + MenueLink(ziel) + MenueLink("kontakt.html") +
                   "</table></td></tr></table></body></html>";
    }
    return {};
}

// The pages that surround the hostile link, in menu order.
std::vector<std::string> Nachbarn(Form form, bool vorher) {
    switch (form) {
        case Form::Allein:
            return {};
        case Form::Zwischen:
            return {vorher ? "vorher.html" : "nachher.html"};
        case Form::Startseite:
            return {vorher ? "index.html" : "kontakt.html"};
    }
    return {};
}

TEST_F(FeindlichesMenue, NothingOutsideAltRefusedNamesStopOrdinaryNamesImport) {
    const std::map<std::string, std::string> nachbarSeiten = {
        {"vorher.html", "<p>vorher</p>"},
        {"nachher.html", "<p>nachher</p>"},
        {"index.html", "<p>Startseite</p>"},
    };
    for (const auto& [name, inhalt] : nachbarSeiten)
        server.Setzen(kAnbieter + name, Antwort::Seite(Geliefert(inhalt)));
    server.Setzen(kAnbieter + "kontakt.html",
                  Antwort::Seite(Geliefert("<h1>Kontaktformular</h1><form></form>")));

    int seiten = 0;
    for (const Feindlich& f : Ziele()) {
        const std::string eigenerInhalt = "<p>Seite " + std::to_string(seiten) + "</p>";
        if (!f.abgelehnt) server.Setzen(AlsZiel(f.ziel), Antwort::Seite(Geliefert(eigenerInhalt)));
        for (const Form form : {Form::Allein, Form::Zwischen, Form::Startseite}) {
            ++seiten;
            SCOPED_TRACE(f.art + " / form " + std::to_string(static_cast<int>(form)));
            test::TempOrdner eltern;
            fs::create_directories(eltern / "eins/zwei/Ziel");
            Projektdaten daten;
            daten.Zielordner = eltern / "eins/zwei/Ziel";
            AltOrdnerErzeugen(daten.Zielordner);
            const auto vorher = Baum(eltern.pfad());
            const bool absolut = f.ziel.front() == '/';
            const bool absolutVorher = absolut && fs::exists(f.ziel);
            const std::size_t anfragenVorher = server.Anfragen().size();

            std::string fehler = "(kein Fehler)";
            try {
                SeitenImportieren(daten, StartseiteIn(form, f.ziel), kBenutzer, {});
            } catch (const Fehler& e) {
                fehler = e.what();
            }

            // Nothing changed or vanished anywhere but directly inside Alt.
            const auto nachher = Baum(eltern.pfad());
            std::map<std::string, std::string> neu;
            for (const auto& [pfad, inhalt] : vorher) EXPECT_EQ(nachher.at(pfad), inhalt) << pfad;
            for (const auto& [pfad, inhalt] : nachher)
                if (!vorher.count(pfad)) neu[pfad] = inhalt;
            for (const auto& [pfad, inhalt] : neu)
                EXPECT_EQ(fs::path(pfad).parent_path(), fs::path("eins/zwei/Ziel/Alt")) << pfad;
            if (absolut) {
                EXPECT_EQ(fs::exists(f.ziel), absolutVorher);
            }

            std::map<std::string, std::string> erwartet;
            // Keyed by the file names of this platform (UTF-8).
            for (const auto& n : Nachbarn(form, true)) erwartet[n] = nachbarSeiten.at(n);
            if (f.abgelehnt) {
                EXPECT_TRUE(fehler.ends_with(W("\" ist kein gültiger Dateiname (E/A-Fehler 123)")))
                    << fehler;
                EXPECT_EQ(daten.ImportAnzahl, static_cast<int>(Nachbarn(form, true).size()) + 1);
                // Not even asked for: only the pages before it were loaded.
                EXPECT_EQ(server.Anfragen().size() - anfragenVorher, erwartet.size());
            } else {
                EXPECT_EQ(fehler, "(kein Fehler)");
                EXPECT_EQ(daten.ImportSeiten[daten.ImportAnzahl == 3 ? 2 : 1], f.ziel);
                erwartet[utf8AusCp1252(f.ziel)] = eigenerInhalt;
                for (const auto& n : Nachbarn(form, false))
                    erwartet[n] = nachbarSeiten.count(n) ? nachbarSeiten.at(n) : RahmenErsatz(n);
            }
            std::map<std::string, std::string> inAlt;
            for (const auto& [pfad, inhalt] : neu)
                inAlt[fs::path(pfad).filename().string()] = inhalt;
            EXPECT_EQ(inAlt, erwartet);
        }
    }
    EXPECT_GE(seiten, 200);
}

// A blank, which libcurl would refuse, and bytes beyond ASCII reach the server
// percent-encoded; a '%' that is already there stays as it is.
TEST_F(FeindlichesMenue, BlanksAndUmlautsAreSentEncoded) {
    const std::string ziel = kAnbieter + "%DCber%20uns%2541.html";
    server.Setzen(ziel, Antwort::Seite("Hallo"));
    EXPECT_EQ(LadeURL(kAnbieter + W("Über uns%2541.html")), "Hallo");
    ASSERT_EQ(server.Anfragen().size(), 1u);
    EXPECT_EQ(server.Anfragen()[0].ziel, ziel);
}

}  // namespace
}  // namespace lw
