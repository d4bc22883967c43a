#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Projektdaten.h"

namespace lw {

// The first lines of every page the program writes, before its own meta tags.
inline constexpr std::string_view kSeitenAnfang =
    "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\"\r\n"
    "  \"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\r\n"
    "<html xmlns=\"http://www.w3.org/1999/xhtml\">\r\n"
    "  <head>\r\n"
    "    <meta http-equiv=\"content-type\" content=\"text/html; charset=ISO-8859-1\" />\r\n";
// The stylesheet lines of the page's head.
inline constexpr std::string_view kIeLink =
    "    <link rel=\"stylesheet\" type=\"text/css\" href=\"css/ie.css\" />";
inline constexpr std::string_view kCssLink =
    "    <link rel=\"stylesheet\" type=\"text/css\" href=\"css/formate.css\" />";

// The texts of one link row as its fields hold them.
struct LinkTexte {
    std::string seite;     // Ed_Link: file name and target in "HPNeu"
    std::string text;      // Ed_Alt: text on the button
    std::string tooltipp;  // Ed_Tooltipp: title of the link
};

// What generation reads from the windows' controls rather than the project data.
struct CodeEingaben {
    bool menueFixiert = false;        // cbx_MenueFixieren
    bool eineGrafikFuerAlle = false;  // CheckBox1
    std::vector<LinkTexte> links;     // links[0] is row 1; missing rows read as empty
    std::string bannerAlt;            // Edit5
    std::string bannerTooltipp;       // Edit6
};

// The three texts of the code tab, each line ending in CR LF.
struct ErzeugterCode {
    std::string seite;  // Memo1: page 1 (SeiteErzeugen)
    std::string css;    // Memo2: formate.css
    std::string ieCss;  // Memo3: the workaround stylesheet, empty unless the menu is fixed
    // What the texts were made from: the save and the preview make each page
    // of it (SeiteAusCode). Without it every page is `seite`.
    std::optional<CodeEingaben> eingaben = std::nullopt;
};

// Graphic group of link i (1-based): the number of the link that started it.
int GrafikGruppe(const Projektdaten& daten, bool eineGrafikFuerAlle, int link);

// Text for a double-quoted attribute value: '"', '<' and every '&' that does not
// begin an entity or character reference become &quot;, &lt;, &amp;, so that a
// typed quote cannot break the page while a typed "&auml;" stays an entity.
std::string AttributWert(std::string_view text);

// A link text as typed, markup and all, except that an '&' that begins no
// reference becomes &amp;, so "Kontakt & Anfahrt" keeps the page well-formed.
std::string LinkText(std::string_view text);

// A picture's file name as a relative address: blank, '"', '\'', '(', ')' and
// '\\' become %20 %22 %27 %28 %29 %5C, so that it stands in an attribute and
// in an unquoted CSS url(...) alike; every other byte stays.
std::string BildAdresse(std::string_view dateiname);

// The address by which a page's contents show a chosen picture, copied into
// img/ at the save: "img/" and the file name as BildAdresse gives it.
std::string InhaltsBildAdresse(std::string_view pfad);

// The way back: the text that AttributWert, LinkText or BildAdresse turned
// into what a saved page holds. An "&amp;" stays when the '&' alone would
// begin a reference, so that the text gives the same bytes again.
std::string AttributWertLesen(std::string_view wert);
std::string LinkTextLesen(std::string_view text);
std::string BildAdresseLesen(std::string_view adresse);

// The text of page `seite` (1-based): its own title ("Meine Homepage" while
// empty), its description line (none while empty) and, with mitInhalt, the
// editor's contents in place of the placeholders when they hold any text.
// Every other line as the page text of every page; a page number beyond the
// pages in use gives the page with no contents of its own.
std::string SeiteErzeugen(const Projektdaten& daten, const CodeEingaben& eingaben, int seite,
                          bool mitInhalt = true);

// Page `seite` of generated code: SeiteErzeugen with the inputs the code was
// made from, or code.seite for code made without them.
std::string SeiteAusCode(const Projektdaten& daten, const ErzeugterCode& code, int seite,
                         bool mitInhalt = true);

// The editor's contents of page `seite` when they are to take the page's
// place: nothing while the editor was never opened for it; an empty view
// when the text holds no more than blanks and line ends (the placeholder).
std::optional<std::string_view> EditorInhalt(const Projektdaten& daten, int seite);

// The page's title or description (Windows-1252, as typed) as its head
// carries it, in <title> and in a double-quoted attribute alike: as
// AttributWert, a control character becomes a blank, the seven umlauts their
// named entities and every other byte above 0x7F its decimal character
// reference, so the head is ASCII like the contents. A typed reference
// stays. The reader gives a text that is written to the same bytes again.
std::string KopfText(std::string_view text);
std::string KopfTextLesen(std::string_view text);

// The lines of the placeholder contents, as every page without its own
// contents carries them.
std::string_view PlatzhalterZeilen();

ErzeugterCode CodeErzeugen(const Projektdaten& daten, const CodeEingaben& eingaben);

}  // namespace lw
