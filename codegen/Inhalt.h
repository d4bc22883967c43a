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
//
// The form is canonical, so that the same text always gives the same bytes:
// - each block on its own line: eight spaces before a block of the contents,
//   two more per level inside (li in ul/ol, tr in table, td/th in tr, a list
//   nested in an item); inline content on its block's line; an item or cell
//   with a nested list has its text on its own line, the list below it and
//   the end tag on a line of its own;
// - headings h1 to h3 stay, h4 to h6 become h3, Word's title and heading
//   paragraphs become headings; no strong inside a heading or th, no u
//   inside a link (the block or link shows it already);
// - inline elements nest as a > strong > em > u; spaces and line breaks
//   between differently formatted words stand outside the formatting;
//   elements without text are left out;
// - paragraphs inside an item or cell become line breaks (<br />), tables
//   inside an item or cell become lines, lists deeper than eight levels
//   become lines of the item around them;
// - an empty paragraph in the middle (Qt's empty block, a paragraph of only
//   spaces and non-breaking spaces) is "<p><br /></p>"; none stands at the
//   start or the end; contents without text give the empty string.
namespace lw {

// How the input's bytes are to be read.
enum class Kodierung {
    Utf8,        // the windows' text: the editor's document, the clipboard
    Seitenbytes  // a saved page's bytes (Windows-1252, with entities)
};

// A picture the input shows, as found and as it is to be written. Its texts
// are UTF-8 (entities resolved), whatever the input's Kodierung; the writer
// puts them out with the character rule.
struct InhaltsBild {
    std::string src;  // the address (img/..., file:..., data:..., http...)
    std::string alt;
    int breite = 0;  // 0: not given
    int hoehe = 0;
};

struct InhaltsOptionen {
    Kodierung kodierung = Kodierung::Utf8;
    // Asked for each picture that is not from the web: what to write in its
    // place (src, alt, breite and hoehe as they are to be written), or
    // nothing to leave it out. Without it every picture with an address of
    // the site, a file: or a data: address stays as found. Pictures with
    // other schemes (javascript:, cid:, ...) are always left out.
    std::function<std::optional<InhaltsBild>(const InhaltsBild&)> bild;
};

struct BereinigterInhalt {
    // The lines of the contents block: each block on its own line, indented
    // as the rest of the page (eight spaces inside the block, two more per
    // level), each line ending in CR LF; ASCII only, umlauts as named
    // entities, every other character beyond ASCII a character reference.
    std::string markup;
    // Pictures of the input that were left out because they come from the web
    // (http:, https:, //...), by address (UTF-8), each once, in the order
    // found.
    std::vector<std::string> webBilder;
};

// Any HTML reduced to the set: structure and text kept, the rest dropped.
// Links keep http:, https:, mailto:, ftp:, tel: and addresses of the site;
// others (javascript:, data:, vbscript:, file:, a fragment alone) lose their
// link, not their text. A Windows clipboard header ("Version:0.9 ...
// StartFragment:...") is taken off. Linear in time and memory; reducing the
// result again gives it unchanged.
BereinigterInhalt InhaltBereinigen(std::string_view html, const InhaltsOptionen& optionen = {});

// True when a contents block (Kodierung::Seitenbytes) is already in the set as
// the editor writes it, so the editor can show it and give the same bytes.
bool InhaltImSatz(std::string_view markup);

// Plain text (UTF-8) as contents: paragraphs at blank lines, line breaks at
// single line ends.
std::string KlartextAlsInhalt(std::string_view utf8);

}  // namespace lw
