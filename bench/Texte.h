#pragma once

#include <cstddef>
#include <string>

// Contents as a provider page carries them: headings, paragraphs, lists and
// links of German text whose umlauts are UTF-8, with here and there a single
// Windows-1252 letter as old pages have them. The same seed gives the same text.
namespace lw::bench {

std::string Inhalt(std::size_t bytes, unsigned saat);

// The same contents appended to text. Give text room for bytes + 256 first to
// have it grow only once.
void InhaltAnhaengen(std::string& text, std::size_t bytes, unsigned saat);

}  // namespace lw::bench
