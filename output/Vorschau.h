#pragma once

#include <string>

#include "codegen/Code.h"
#include "model/Projektdaten.h"
#include "output/DateiErzeugung.h"

namespace lw {

// Writes Test.html, Test.css and TestIE.css into daten.Zielordner with every
// picture reference pointing at the chosen picture file ("file://" + path).
// browser is StandardBrowser()'s answer; it decides the "%20" rule.
// Returns the path of the test page, for the browser to open. Refused before
// anything is written: an empty Zielordner ("Ungültiger Dateiname") and two
// chosen pictures of the same name (BildnamenPruefen). The test page is page
// `seite` of the site with its title and contents: the editor's text, or
// else, for generated code, the contents the save keeps (an opened site's own
// contents from vorOrt, an imported page's contents file), or the placeholder.
std::string VorschauSchreiben(const Projektdaten& daten, const ErzeugterCode& code,
                              bool menueFixiert, bool eineGrafikFuerAlle,
                              const std::string& browser, int seite = 1,
                              const VorOrt* vorOrt = nullptr);

// The default web browser as the desktop records it (the desktop entry that
// handles http addresses, e.g. "firefox-esr.desktop"), or the empty text.
std::string StandardBrowser();

}  // namespace lw
