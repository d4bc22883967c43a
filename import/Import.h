#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "import/LadeURL.h"
#include "model/Projektdaten.h"

namespace lw {

// What the import tells the windows while it runs, and what they can ask of it.
struct ImportRueckmeldung {
    std::function<void(const std::string&)> status;  // text for lbl_Staus
    // Between download chunks, and between the megabytes of a file written.
    Zwischenschritt zwischenschritt;
    // Pages done out of all pages of the menu, after each page.
    std::function<void(int fertig, int gesamt)> fortschritt;
    // Asked before every request and with every Zwischenschritt: true stops
    // the import there. The page or picture under way is dropped; what was
    // written so far stays.
    std::function<bool()> abbrechen;
    // Answers the downloads in place of the network (address, size bound);
    // its answers count as whole. Empty: the downloads go through sitzung.
    std::function<std::string(const std::string& url, std::size_t hoechstGroesse)> laden;
    // The session that loaded the start page, so that one connection serves
    // the whole import; its Abbruchfrage should be abbrechen. None: the
    // import opens one of its own.
    LadeSitzung* sitzung = nullptr;
};

// A page or picture that did not come along, and why ("keine Antwort",
// "Status 404", ...).
struct ImportFehlschlag {
    std::string name;
    std::string grund;
};

struct ImportErgebnis {
    std::vector<ImportFehlschlag> fehlgeschlagen;
    bool abgebrochen = false;  // rueckmeldung.abbrechen said stop
};

// The plain message that lists the failed pages and pictures, one per line
// ("hobby.html: keine Antwort"); empty when nothing failed.
std::string MeldungFehlgeschlagen(const ImportErgebnis& ergebnis);

// "Benutzername" and the empty text count as no name.
bool BenutzernameFehlt(const std::string& benutzer);

// "http://www." + benutzer + DownloadDomain + "/index.html"
std::string StartseitenAdresse(const std::string& benutzer);

// The fixed messages of the import procedure (Windows-1252).
std::string MeldungKeinBenutzername();
std::string MeldungOrdnerEmpfehlung();
std::string MeldungKeineSeite(const std::string& benutzer);
std::string MeldungUngueltigeSeite(const std::string& benutzer);
// Status text while the folder Alt is made.
std::string StatusVerzeichnisseErstellen();

enum class StartseitenBefund { Gueltig, Leer, KeineNetzhofSeite };
StartseitenBefund StartseitePruefen(const std::string& startseite);

// Creates Zielordner + "/Alt" ("E/A-Fehler 183" when it exists).
void AltOrdnerErzeugen(const std::string& zielordner);

// Reads the page list from the start page's menu into ImportSeiten and
// ImportAnzahl, downloads every page and writes its contents file into
// Zielordner + "/Alt/" (an empty one for a page that failed), and the pictures
// of the pages below it (ImportBilder, by BildPfad::datei). A file-system
// failure throws lw::Fehler. A page name that is no plain file name stops the
// import there, with a message naming it, before anything is loaded for it.
ImportErgebnis SeitenImportieren(Projektdaten& daten, const std::string& startseite,
                                 const std::string& benutzer,
                                 const ImportRueckmeldung& rueckmeldung);

// Walks the links of the start page's menu in their order. Each name is the
// link target with its last five characters replaced by ".html".
class MenueLeser final {
public:
    explicit MenueLeser(std::string startseite) : startseite_(std::move(startseite)) {}
    // The next page name; nothing when no further menu link follows.
    std::optional<std::string> Naechster();

private:
    std::string startseite_;
    std::size_t gelesen_ = 0;
};

// True when the page holds the provider's imprint, disclaimer, contact form
// or guestbook: such a page is embedded, not taken over.
bool IstAnbieterFunktion(std::string_view seite);

// The inline frame that loads the page by its own name.
std::string RahmenErsatz(const std::string& name);

// Cuts the provider's frame, counter and advertising away from a page.
std::string InhaltAusschneiden(std::string seite);
// The same cut as the part of the page that stays, without a copy.
std::string_view InhaltsBereich(std::string_view seite);

// The values of the src and background attributes in the page's tags (name in
// any case, value in double or single quotes) that end in .jpg, .jpeg, .gif or
// .png in any case; as written, in the order of the page.
void BildAdressenSammeln(std::string_view seite, std::vector<std::string_view>& adressen);

enum class BildAdressArt {
    Relativ,    // plain path components below the page's folder: taken
    Fremd,      // another site (scheme or "//host"): left alone
    Ungueltig,  // root-relative, "." or "..", query, fragment, no plain file name
};

// A picture address as a browser reads it from the merged page and as a web
// server maps it to a file. The page's bytes count as the merge presents
// them (see utf8AusSeitenbytes) and its character references as the HTML
// parser decodes them (&amp; &lt; &gt; &quot; &apos;, the umlaut entities,
// &#233; and &#xE9;).
struct BildPfad {
    // What is requested: the decoded address with blanks, non-ASCII
    // characters and other bytes a URL path cannot hold percent-encoded as
    // UTF-8; an existing %XX stays.
    std::string anfrage;
    // The file below Alt and Neu: each part percent-decoded, its bytes taken
    // as above, in the core's text (cp1252MitReferenzen).
    std::string datei;
};

// Every check on the decoded parts: a '/', '\', control character or NUL
// inside a part, a part "." or "..", or one that is no plain file name makes
// the address Ungueltig. pfad is filled for Relativ.
BildAdressArt BildAdresseEinordnen(std::string_view adresse, BildPfad* pfad = nullptr);

}  // namespace lw
