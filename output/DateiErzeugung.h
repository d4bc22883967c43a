#pragma once

#include <optional>
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

// The chosen pictures that the site refers to: banner, background, the
// button graphics of the pages in use and the pictures of the pages'
// contents (InhaltBilder), in this order, empty ones left out.
std::vector<std::string> GewaehlteBilder(const Projektdaten& daten);

// Two different chosen pictures whose addresses in img/ are the same
// (BildAdresse; capitals and small letters count as the same) would show as
// one picture: refused with lw::Hinweis naming both paths.
void BildnamenPruefen(const Projektdaten& daten);

// The page of an opened site as saving in place writes it with these
// contents: in mode "NZAlt" merged as an imported page; in mode "HPNeu" the
// contents take the placeholder block's place with the character references
// of the merge, while every other line stays as the page text has it.
std::string EigeneSeite(std::string_view seitentext, const std::string& modus,
                        const std::string& seitenname, std::string_view inhalt);

// Where a page of an opened site keeps its own contents: bytes
// [anfang, anfang + laenge) of the file datei (relative to the folder Neu),
// which must still be as it was read (size and time of the last change).
struct EigenerInhalt {
    std::string datei;
    long long anfang = 0;
    long long laenge = 0;
    long long groesse = 0;
    long long geaendert = 0;
};

// Saving into the folder Neu of an opened site instead of making it.
struct VorOrt {
    // The own contents of page i at [i - 1]; read when the page is written,
    // from the backup where the file is one the save replaces.
    std::vector<std::optional<EigenerInhalt>> inhalte;
    // Set by the save: the folder beside Neu that keeps the files it replaced.
    std::string sicherung;
};

// The contents block of page `seite` (1-based) as the site holds it now, for
// the editor to show: the lines between the block's opening and closing
// lines, each ending in CR LF, Windows-1252 with entities. That is an opened
// site's own contents (vorOrt), or an imported page's contents file as the
// save merges it; empty for a page that has the placeholder or nothing yet.
// An own contents file changed since it was read is refused with
// lw::Hinweis, as at the save.
std::string InhaltsblockLesen(const Projektdaten& daten, const VorOrt* vorOrt, int seite);

// Writes the site into Zielordner + "/Neu/": the pages (merged with the
// contents files of "/Alt/" in mode "NZAlt"), css/formate.css, css/ie.css
// when the menu is fixed, the picture copies in img/ and, in mode "NZAlt",
// the pictures of ImportBilder from "/Alt/" at their relative paths. The first
// failure throws lw::Fehler; what was written before stays. Refused before
// anything is written: page names that are no plain file names (the message
// names the page), chosen pictures of the same name, and imported pictures whose path
// is no plain relative path or would take the place of a file of the site.
// With vorOrt the folder Neu exists: every file the save replaces is first
// copied into a new folder "Sicherung JJJJ-MM-TT HH-MM-SS" beside it, at the
// same relative path, and then replaced whole; files the save does not write
// stay as they are, and pictures already in img/ are not copied onto themselves.
// A file of the contents that changed since it was read is refused with
// lw::Hinweis before anything is written.
void DateienErzeugen(const Projektdaten& daten, const ErzeugterCode& code, bool menueFixiert,
                     VorOrt* vorOrt = nullptr);

// The message shown after saving (LF between its lines); after a save in
// place it names the backup folder too.
std::string SpeicherMeldung(const Projektdaten& daten, const VorOrt* vorOrt = nullptr);

}  // namespace lw
