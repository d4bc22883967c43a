#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A page's own contents as the editor writes them: one small set of XHTML
// elements (p, h1, h2, h3, br, strong, em, u, ul, ol, li, a with href and
// title, img with src, alt, width and height, table with tr, th, td and
// border="1" and cellpadding, hr), nothing else. Every text that reaches a
// page's contents block goes this one road: the editor's own document, a
// paste, and a contents block read back from a saved page.
namespace lw {

// How the input's bytes are to be read.
enum class Kodierung {
    Utf8,        // the windows' text: the editor's document, the clipboard
    Seitenbytes  // a saved page's bytes (Windows-1252, with entities)
};

// A picture the input shows, as found and as it is to be written.
struct InhaltsBild {
    std::string src;  // the address (img/..., file:..., data:..., http...)
    std::string alt;
    int breite = 0;  // 0: not given
    int hoehe = 0;
};

struct InhaltsOptionen {
    Kodierung kodierung = Kodierung::Utf8;
    // Asked for each picture: what to write in its place, or nothing to leave
    // it out. Without it every picture stays as found.
    std::function<std::optional<InhaltsBild>(const InhaltsBild&)> bild;
};

struct BereinigterInhalt {
    // The lines of the contents block: each block on its own line, indented
    // as the rest of the page (eight spaces inside the block, two more per
    // level), each line ending in CR LF; ASCII only, umlauts as named
    // entities, every other character beyond ASCII a character reference.
    std::string markup;
    // Pictures of the input that were left out because they come from the web
    // (http:, https:, //...), by address.
    std::vector<std::string> webBilder;
};

// Any HTML reduced to the set: structure and text kept, the rest dropped.
BereinigterInhalt InhaltBereinigen(std::string_view html, const InhaltsOptionen& optionen = {});

// True when a contents block (Kodierung::Seitenbytes) is already in the set as
// the editor writes it, so the editor can show it and give the same bytes.
bool InhaltImSatz(std::string_view markup);

// Plain text (UTF-8) as contents: paragraphs at blank lines, line breaks at
// single line ends.
std::string KlartextAlsInhalt(std::string_view utf8);

}  // namespace lw
