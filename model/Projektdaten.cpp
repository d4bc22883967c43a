#include "model/Projektdaten.h"

#include <algorithm>

namespace lw {
namespace {
// The plain entry of the style table: no bold, no italic, no decoration.
constexpr const char* kOhneStil =
    "        font-weight: normal;\n        font-style: normal;\n        text-decoration: none;";

// The defaults that a fresh run and each showing of the main window share.
void Grundwerte(Projektdaten& d) {
    d.BodySchriftFarbe = "000000";
    d.ButtonSchriftFarbe = "000000";
    d.BodyHintergrundFarbe = "ffffff";
    d.HintergrundBild.clear();
    d.ButtonHintergrundFarbe.clear();
    d.HintergrundKachel = true;
    d.BodySchriftStil = kOhneStil;
    d.ButtonSchriftStil = kOhneStil;
    d.BeendenBestaetigt = false;
    d.LinksAufgebaut = false;
}
}  // namespace

// Without the phone layout: data filled by hand gives the classic pages.
Projektdaten::Projektdaten() { Grundwerte(*this); }

void Projektdaten::StandardwerteSetzen() {
    Grundwerte(*this);
    HandyAnsicht = true;
}

int Projektdaten::SeitenInGebrauch() const {
    if (Modus == kModusNZAlt) return std::max(ImportAnzahl, 0);
    if (Modus == kModusHPNeu) return std::max(Seitenzahl, 0);
    return 0;
}

}  // namespace lw
