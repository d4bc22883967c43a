#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "codegen/Code.h"
#include "common/Text.h"
#include "common/Zeichensatz.h"
#include "tests/support/TempOrdner.h"

namespace lw {
namespace {

struct Pruefung {
    int status = -1;
    std::string ausgabe;
};

// Validates against the DTD the page names, resolved through the system's XML
// catalog; a missing validator gives a non-zero status and so a failure.
Pruefung MitXmllint(const std::string& seite) {
    test::TempOrdner ordner;
    const std::string datei = ordner / "seite.html";
    test::Schreiben(datei, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + utf8AusCp1252(seite));
    Pruefung p;
    FILE* rohr = ::popen(("xmllint --nonet --noout --valid '" + datei + "' 2>&1").c_str(), "r");
    if (!rohr) return p;
    char puffer[512];
    while (std::fgets(puffer, sizeof puffer, rohr)) p.ausgabe += puffer;
    const int rc = ::pclose(rohr);
    p.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return p;
}

Projektdaten Site() {
    Projektdaten daten;
    daten.Modus = kModusHPNeu;
    daten.Seitenzahl = 3;
    daten.ButtonBreite.Setzen(1, 120);
    daten.ButtonHoehe.Setzen(1, 30);
    daten.ButtonGrafik.Setzen(1, "/b/knopf.gif");
    daten.BannerDatei = "/b/Tom & Jerry (neu).gif";
    daten.BannerBreite = 468;
    daten.BannerHoehe = 60;
    return daten;
}

CodeEingaben Felder(bool fixiert) {
    CodeEingaben e;
    e.menueFixiert = fixiert;
    e.links = {{"Seite1.html", "Kontakt & Anfahrt", "Zur Seite 1"},
               {"a&b.html", W("Über &amp; mehr"), W("Sag \"Hallo\" & <tschüss>")},
               {"Seite3.html", "Seite 3", "&auml; &#228; &#xE4;"}};
    e.bannerAlt = "\"Logo\"";
    e.bannerTooltipp = "1 < 2 & 3";
    return e;
}

TEST(XhtmlGueltig, PageWithBannerFixedAndNot) {
    for (const bool fixiert : {false, true}) {
        const auto p = MitXmllint(CodeErzeugen(Site(), Felder(fixiert)).seite);
        EXPECT_EQ(p.status, 0) << "fixed=" << fixiert << "\n" << p.ausgabe;
    }
}

// Guards the check itself: a quote left raw in a title must be rejected.
TEST(XhtmlGueltig, RawQuoteIsRejected) {
    std::string seite = CodeErzeugen(Site(), Felder(false)).seite;
    Ersetzen(seite, "&quot;Hallo&quot;", "\"Hallo\"");
    const auto p = MitXmllint(seite);
    EXPECT_NE(p.status, 0) << p.ausgabe;
    EXPECT_NE(p.status, 127) << "xmllint missing:\n" << p.ausgabe;
}

}  // namespace
}  // namespace lw
