#include <gtest/gtest.h>

#include "model/Projektdaten.h"

namespace lw {
namespace {

const char* const kOhneStil =
    "        font-weight: normal;\n        font-style: normal;\n        text-decoration: none;";

TEST(Projektdaten, FreshProjectCarriesTheDefaults) {
    Projektdaten d;
    EXPECT_EQ(d.BodySchriftStil, kOhneStil);
    EXPECT_EQ(d.ButtonSchriftStil, kOhneStil);
    EXPECT_EQ(d.BodySchriftFarbe, "000000");
    EXPECT_EQ(d.ButtonSchriftFarbe, "000000");
    EXPECT_EQ(d.BodyHintergrundFarbe, "ffffff");
    EXPECT_TRUE(d.HintergrundKachel);
    EXPECT_EQ(d.Seitenzahl, 0);
    EXPECT_EQ(d.SeitenInGebrauch(), 0);
    // Data filled by hand keeps the classic pages.
    EXPECT_FALSE(d.HandyAnsicht);
}

TEST(Projektdaten, ShowingTheMainWindowResetsOnlyItsFields) {
    Projektdaten d;
    d.Modus = "HPNeu";
    d.Seitenzahl = 3;
    d.BannerDatei = "/b/kopf.jpg";
    d.HintergrundBild = "/b/stein.gif";
    d.HintergrundKachel = false;
    d.HintergrundFixiert = true;
    d.ButtonHintergrundFarbe = "123456";
    d.LinksAufgebaut = d.BeendenBestaetigt = true;
    d.StandardwerteSetzen();
    EXPECT_TRUE(d.HintergrundBild.empty());
    EXPECT_TRUE(d.ButtonHintergrundFarbe.empty());
    EXPECT_TRUE(d.HintergrundKachel);
    EXPECT_FALSE(d.LinksAufgebaut);
    EXPECT_FALSE(d.BeendenBestaetigt);
    EXPECT_TRUE(d.HandyAnsicht);
    // Not among the reset fields.
    EXPECT_EQ(d.BannerDatei, "/b/kopf.jpg");
    EXPECT_TRUE(d.HintergrundFixiert);
    EXPECT_EQ(d.Seitenzahl, 3);
}

TEST(Projektdaten, PagesInUseFollowTheMode) {
    Projektdaten d;
    d.Seitenzahl = 3;
    d.ImportAnzahl = 7;
    d.Modus = "HPNeu";
    EXPECT_EQ(d.SeitenInGebrauch(), 3);
    d.Modus = "NZAlt";
    EXPECT_EQ(d.SeitenInGebrauch(), 7);
    d.Modus = "NZNeu";
    EXPECT_EQ(d.SeitenInGebrauch(), 0);
    d.Modus = "hpneu";  // the whole string with case
    EXPECT_EQ(d.SeitenInGebrauch(), 0);
}

TEST(LinkTabelle, GrowsBeyondFiftyAndNeverReadsMissingRows) {
    Projektdaten d;
    EXPECT_EQ(d.ButtonGrafik[1], "");
    EXPECT_EQ(d.ButtonHoehe[0], 0);
    EXPECT_EQ(d.ButtonHoehe[-5], 0);
    d.ImportSeiten.Setzen(120, "letzte.html");
    EXPECT_EQ(d.ImportSeiten.Zeilen(), 120);
    EXPECT_EQ(d.ImportSeiten[120], "letzte.html");
    EXPECT_EQ(d.ImportSeiten[60], "");
    EXPECT_EQ(d.ImportSeiten[121], "");
    d.ImportSeiten.Setzen(0, "slot null bleibt leer");
    EXPECT_EQ(d.ImportSeiten[0], "");
}

}  // namespace
}  // namespace lw
