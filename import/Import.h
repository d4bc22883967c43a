#pragma once

#include <functional>
#include <string>

#include "import/LadeURL.h"
#include "model/Projektdaten.h"

namespace lw {

// What the import tells the windows while it runs.
struct ImportRueckmeldung {
    std::function<void(const std::string&)> status;  // text for lbl_Staus
    Zwischenschritt zwischenschritt;                 // between download chunks
};

// "Benutzername" and the empty text count as no name.
bool BenutzernameFehlt(const std::string& benutzer);

// "http://www." + benutzer + DownloadDomain + "/index.html"
std::string StartseitenAdresse(const std::string& benutzer);

// The fixed messages of the import procedure (Windows-1252).
std::string MeldungKeinBenutzername();
std::string MeldungOrdnerEmpfehlung();
std::string MeldungKeinOrdner();
std::string MeldungKeineSeite(const std::string& benutzer);
std::string MeldungUngueltigeSeite(const std::string& benutzer);

enum class StartseitenBefund { Gueltig, Leer, KeineNetzhofSeite };
StartseitenBefund StartseitePruefen(const std::string& startseite);

// Creates Zielordner + "/Alt" ("E/A-Fehler 183" when it exists).
void AltOrdnerErzeugen(const std::string& zielordner);

// Reads the page list from the start page's menu into ImportSeiten and
// ImportAnzahl, downloads every page and writes its contents file into
// Zielordner + "/Alt/". A file-system failure throws lw::Fehler.
void SeitenImportieren(Projektdaten& daten, const std::string& startseite,
                       const std::string& benutzer, const ImportRueckmeldung& rueckmeldung);

}  // namespace lw
