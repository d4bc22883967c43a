#pragma once

#include <cstddef>
#include <string>

#include "codegen/Code.h"
#include "model/Projektdaten.h"

// Contents as a provider page carries them: headings, paragraphs, lists and
// links of German text whose umlauts are UTF-8, with here and there a single
// Windows-1252 letter as old pages have them. The same seed gives the same text.
namespace lw::bench {

std::string Inhalt(std::size_t bytes, unsigned saat);

// The same contents appended to text. Give text room for bytes + 256 first to
// have it grow only once.
void InhaltAnhaengen(std::string& text, std::size_t bytes, unsigned saat);

// An imported site as the save takes it: `seiten` contents files of `bytes`
// each in ordner + "/Alt", the project data naming them and the generated
// code with the fixed menu.
struct ImportierteSite {
    Projektdaten daten;
    ErzeugterCode code;
};
ImportierteSite ImportierteSiteAnlegen(const std::string& ordner, int seiten, std::size_t bytes);

}  // namespace lw::bench
