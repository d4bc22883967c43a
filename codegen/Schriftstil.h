#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

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

// The families every visitor has, in the order the font lists offer them.
inline constexpr const char* kWebSchriften[] = {
    "Arial", "Verdana", "Tahoma", "Trebuchet MS", "Georgia", "Times New Roman", "Courier New"};

// The value of a font-family declaration: the family quoted, then its generic
// family as the fallback a browser takes without it ("serif" for Georgia and
// Times New Roman, "monospace" for Courier New, else "sans-serif").
std::string SchriftFamilieCss(const std::string& name);

// The contrast ratio of two colours of six hex digits, from 1 to 21, by the
// relative luminance of WCAG 2.1 (success criterion 1.4.3). A colour that is
// no such text throws lw::Fehler naming its field (was1, was2) and the colour.
double KontrastVerhaeltnis(std::string_view farbe1, std::string_view farbe2,
                           const std::string& was1, const std::string& was2);

// The ratio text learners need: at least 4.5 : 1 for normal text.
inline constexpr double kKontrastMindestens = 4.5;

// "Kontrast 7,3 : 1", below kKontrastMindestens followed by the warning. The
// figure is cut, not rounded, to one decimal, so that a ratio just below 4.5
// never reads "4,5" beside a warning.
std::string KontrastText(double verhaeltnis);

}  // namespace lw
