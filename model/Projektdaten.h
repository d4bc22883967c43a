#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/LinkTabelle.h"

namespace lw {

inline constexpr const char* kModusHPNeu = "HPNeu";
inline constexpr const char* kModusNZNeu = "NZNeu";
inline constexpr const char* kModusNZAlt = "NZAlt";

// What the user wrote for one page on tab_Inhalte.
struct SeitenInhalt {
    std::string titel;         // empty: the page keeps "Meine Homepage"
    std::string beschreibung;  // empty: the page has no description line
    // The contents block's lines as the editor wrote them (codegen/Inhalt.h).
    // Nothing while the editor was never opened for the page: it keeps what
    // it has, the placeholder or its own contents. Empty: the placeholder.
    std::optional<std::string> text;
};

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

    // Fits the site to phones and tablets: the viewport line, one media query
    // and the mark of the page a visitor is on. Off in a value-initialised
    // Projektdaten, so that data filled by hand gives the classic bytes;
    // StandardwerteSetzen turns it on for a site made in the windows.
    bool HandyAnsicht = false;

    // The pages' own titles, descriptions and contents, by row of tab_Links.
    LinkTabelle<SeitenInhalt> Seiteninhalte;
    // The picture files that the pages' contents show (img/<file name>),
    // copied into img/ at the save under the rules of the banner.
    std::vector<std::string> InhaltBilder;

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
