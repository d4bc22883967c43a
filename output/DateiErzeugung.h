#pragma once

#include <string>

#include "codegen/Code.h"
#include "model/Projektdaten.h"

namespace lw {

// Reads bytes [anfang, ende) of a file; (0, 0) reads it whole. A missing file
// (or a folder of that name) gives the empty text.
std::string DateiLesen(const std::string& dateiname, long long anfang, long long ende);

// The page text of mode "NZAlt": the placeholder paragraphs and heading give
// way to the contents of an imported page, its UTF-8 umlauts become entities
// and the generator tag names the page ("_" + name without extension).
std::string SeiteZusammenfuehren(std::string seitentext, const std::string& inhalt,
                                 const std::string& seitenname);

// Writes the site into Zielordner + "/Neu/": the pages (merged with the
// contents files of "/Alt/" in mode "NZAlt"), css/formate.css, css/IE.css
// when the menu is fixed, and the picture copies in img/. The first failure
// throws lw::Fehler; what was written before stays. Page names that are no
// plain file names are refused ("E/A-Fehler 123") before anything is written.
void DateienErzeugen(const Projektdaten& daten, const ErzeugterCode& code, bool menueFixiert);

// The message shown after saving (LF between its two lines).
std::string SpeicherMeldung(const Projektdaten& daten);

}  // namespace lw
