#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "codegen/Code.h"
#include "model/Projektdaten.h"

namespace lw {

// Reads bytes [anfang, ende) of a file; (0, 0) reads it whole. A missing file
// (or a folder of that name) gives the empty text.
std::string DateiLesen(const std::string& dateiname, long long anfang, long long ende);

// The page text of mode "NZAlt" with an imported page's contents, as the
// save writes it: the placeholder paragraphs and heading give way to the
// contents, UTF-8 umlauts become entities (over the whole page), every other
// well-formed UTF-8 character of the contents a decimal character reference
// (a noncharacter that of U+FFFD), and the generator tag names the page ("_"
// + name without extension). A page text not of this generator throws
// lw::Fehler.
std::string SeiteZusammenfuehren(std::string_view seitentext, std::string_view inhalt,
                                 const std::string& seitenname);

// The chosen pictures that the site refers to: banner, background and the
// button graphics of the pages in use, in this order, empty ones left out.
std::vector<std::string> GewaehlteBilder(const Projektdaten& daten);

// Two different chosen pictures whose addresses in img/ are the same
// (BildAdresse; capitals and small letters count as the same) would show as
// one picture: refused with lw::Hinweis naming both paths.
void BildnamenPruefen(const Projektdaten& daten);

// Writes the site into Zielordner + "/Neu/": the pages (merged with the
// contents files of "/Alt/" in mode "NZAlt"), css/formate.css, css/ie.css
// when the menu is fixed, the picture copies in img/ and, in mode "NZAlt",
// the pictures of ImportBilder from "/Alt/" at their relative paths. The first
// failure throws lw::Fehler; what was written before stays. Refused before
// anything is written: page names that are no plain file names (the message
// names the page), chosen pictures of the same name, and imported pictures whose path
// is no plain relative path or would take the place of a file of the site.
void DateienErzeugen(const Projektdaten& daten, const ErzeugterCode& code, bool menueFixiert);

// The message shown after saving (LF between its two lines).
std::string SpeicherMeldung(const Projektdaten& daten);

}  // namespace lw
