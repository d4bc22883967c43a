#include "model/Projektdaten.h"

#include <algorithm>

namespace lw {
namespace {
// The plain entry of the style table: no bold, no italic, no decoration.
constexpr const char* kOhneStil =
    "        font-weight: normal;\n        font-style: normal;\n        text-decoration: none;";
}  // namespace

Projektdaten::Projektdaten() { StandardwerteSetzen(); }

void Projektdaten::StandardwerteSetzen() {
    BodySchriftFarbe = "000000";
    ButtonSchriftFarbe = "000000";
    BodyHintergrundFarbe = "ffffff";
    HintergrundBild.clear();
    ButtonHintergrundFarbe.clear();
    HintergrundKachel = true;
    BodySchriftStil = kOhneStil;
    ButtonSchriftStil = kOhneStil;
    BeendenBestaetigt = false;
    LinksAufgebaut = false;
}

int Projektdaten::SeitenInGebrauch() const {
    if (Modus == kModusNZAlt) return std::max(ImportAnzahl, 0);
    if (Modus == kModusHPNeu) return std::max(Seitenzahl, 0);
    return 0;
}

}  // namespace lw
