#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace lw {

// A colour as the platform delivers it: red in the lowest byte (0x00BBGGRR).
// Gives six lower-case hex digits in the order red, green, blue.
std::string FarbeAlsHex(std::uint32_t farbe);

// The entry of the style table for the four flags: LF-separated declarations,
// each indented by eight blanks, no line end after the last.
std::string SchriftstilAlsCss(bool fett, bool kursiv, bool unterstrichen, bool durchgestrichen);

// All 16 entries. Row index: bold 1, italic 2, underline 4, strike-out 8.
const std::array<std::string, 16>& Schriftstiltabelle();

// Height h pixels in em of a font of s pixels, one digit after the point,
// rounded halfway to even ("3.6" for 50/14, "1.2" for 25/20).
std::string EmWert(int h, int s);

}  // namespace lw
