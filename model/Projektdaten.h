#pragma once

#include <string>
#include <vector>

#include "model/LinkTabelle.h"

namespace lw {

inline constexpr const char* kModusHPNeu = "HPNeu";
inline constexpr const char* kModusNZNeu = "NZNeu";
inline constexpr const char* kModusNZAlt = "NZAlt";

// The settings the wizard collects. One instance lives for the whole run; the
// windows write it, generation, preview and site writer read it. All text is
// Windows-1252.
struct Projektdaten {
    std::string Modus;  // "HPNeu", "NZNeu" or "NZAlt"; empty until chosen
    int Seitenzahl = 0;
    LinkTabelle<std::string> ImportSeiten;  // page file names of rows 1..n
    int ImportAnzahl = 0;
    std::string Zielordner;  // without trailing '/'
    // Pictures of the imported pages, stored below Zielordner + "/Alt/" at
    // these relative paths ('/' between folders), the names a web server
    // looks up for the pages' addresses (BildPfad::datei); the site writer
    // copies them.
    std::vector<std::string> ImportBilder;

    std::string BodyHintergrundFarbe;
    std::string BodySchriftFarbe;
    std::string BodySchriftStil;
    std::string BodySchriftName = "Arial";
    int BodySchriftGroesse = 14;

    std::string HintergrundBild;
    bool HintergrundKachel = true;
    bool HintergrundFixiert = false;

    std::string BannerDatei;
    int BannerHoehe = 0;
    int BannerBreite = 0;

    std::string ButtonHintergrundFarbe;
    std::string ButtonSchriftFarbe;
    std::string ButtonSchriftStil;
    std::string ButtonSchriftName = "Arial";
    int ButtonSchriftGroesse = 14;

    LinkTabelle<std::string> ButtonGrafik;
    LinkTabelle<int> ButtonHoehe;
    LinkTabelle<int> ButtonBreite;

    bool LinksAufgebaut = false;
    bool BeendenBestaetigt = false;

    // The values a fresh run starts with (before any window is shown).
    Projektdaten();

    // The defaults assigned each time the main window is shown.
    void StandardwerteSetzen();

    // Pages in use: ImportAnzahl in "NZAlt", Seitenzahl in "HPNeu", else 0.
    int SeitenInGebrauch() const;
};

}  // namespace lw
