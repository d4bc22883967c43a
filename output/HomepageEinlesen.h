#pragma once

#include <optional>
#include <string>
#include <vector>

#include "codegen/Code.h"
#include "model/Projektdaten.h"
#include "output/DateiErzeugung.h"

namespace lw {

// A saved site read back: the folder Neu is the project.
struct GeleseneHomepage {
    // mode, pages, colours, fonts, pictures, sizes, Zielordner, and each page's
    // title and description in Seiteninhalte (its contents stay in the file)
    Projektdaten daten;
    CodeEingaben eingaben;  // what the controls of the two tabs show, one row per page
    // Where page i keeps its own contents, at [i - 1]: what stands between
    // the line that opens the contents block and the line that closes it.
    // Nothing for a page named in the menu whose file is missing.
    std::vector<std::optional<EigenerInhalt>> inhalte;
    // The pages named in the menu whose file is missing, in menu order.
    std::vector<std::string> fehlendeSeiten;
};

// Reads the site in ordner: the folder Neu itself or the folder that holds it.
// The settings come from css/formate.css, css/ie.css (css/IE.css of earlier
// versions) and the pages, the pictures are those in img/. Nothing outside
// ordner is read and no symbolic link is followed. A site that cannot be
// read throws lw::Hinweis naming the file and what is wrong.
GeleseneHomepage HomepageEinlesen(const std::string& ordner);

// The folder of the site: Zielordner + "/Neu".
std::string SeitenOrdner(const Projektdaten& daten);

// The message after reading when pages of the menu were missing; empty when
// none was.
std::string FehlendeSeitenMeldung(const GeleseneHomepage& homepage);

// A new site's page count changed after reading: rows taken away go from the
// end (their files stay on disk), rows added get the names "Seite<N>.html"
// with the next numbers free in the menu and in the folder, the default link
// texts and no title, description or contents of their own.
void SeitenzahlAendern(GeleseneHomepage& homepage, int seitenzahl);

}  // namespace lw
