#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The core keeps all text as Windows-1252 bytes, as the generated pages and the
// provider's pages carry it. These two conversions are the only bridge to UTF-8
// (source literals, file names of this platform, Qt at the window boundary).
namespace lw {

// Characters that Windows-1252 cannot hold and malformed UTF-8 become '?':
// one for each sequence a lead byte starts (cut short, overlong, a surrogate,
// beyond U+10FFFF) and one for each stray byte. Never ASCII or NUL.
std::string cp1252AusUtf8(std::string_view utf8);
std::string utf8AusCp1252(std::string_view cp1252);

// Length (2 to 4) of the well-formed UTF-8 sequence at t[p] and its code
// point; 0 for overlong forms, surrogates, code points above U+10FFFF, stray
// continuation bytes and cut-off sequences.
std::size_t Utf8Folge(std::string_view t, std::size_t p, char32_t& zeichen);

// The code point c appended as UTF-8.
void utf8Anhaengen(std::string& aus, char32_t c);

// Bytes as a page declared Windows-1252 presents them once its UTF-8 is taken
// as such: a well-formed UTF-8 sequence is its character, every other byte
// above 0x7F its Windows-1252 character. The result is UTF-8.
std::string utf8AusSeitenbytes(std::string_view bytes);

// File names are Windows-1252 text too, but this platform's names may hold
// any character: one that Windows-1252 cannot hold stands in the core's text
// as its decimal character reference ("&#26085;"), as in the pages. The
// first gives that text of a UTF-8 name (malformed UTF-8 becomes '?'), the
// second the UTF-8 name of such a text. A name that holds such a reference
// literally does not survive the round trip.
std::string cp1252MitReferenzen(std::string_view utf8);
std::string utf8MitReferenzen(std::string_view cp1252);

// The pages' form of the seven German letters, as named entities ("&auml;");
// empty for every other code point.
constexpr std::string_view UmlautEntitaet(char32_t zeichen) {
    switch (zeichen) {
        case 0xE4:
            return "&auml;";
        case 0xF6:
            return "&ouml;";
        case 0xFC:
            return "&uuml;";
        case 0xDF:
            return "&szlig;";
        case 0xC4:
            return "&Auml;";
        case 0xD6:
            return "&Ouml;";
        case 0xDC:
            return "&Uuml;";
        default:
            return {};
    }
}

// A noncharacter (U+FDD0 to U+FDEF and the last two code points of every
// plane) is no text, and XML refuses a reference to U+FFFE or U+FFFF: it
// becomes the replacement character.
constexpr char32_t AlsText(char32_t zeichen) {
    const bool nichtzeichen =
        (zeichen >= 0xFDD0 && zeichen <= 0xFDEF) || (zeichen & 0xFFFE) == 0xFFFE;
    return nichtzeichen ? char32_t{0xFFFD} : zeichen;
}

// Short form for German literals written in this UTF-8 source: W("Ungültig").
inline std::string W(std::string_view utf8) { return cp1252AusUtf8(utf8); }

}  // namespace lw
