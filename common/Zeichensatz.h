#pragma once

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

// Short form for German literals written in this UTF-8 source: W("Ungültig").
inline std::string W(std::string_view utf8) { return cp1252AusUtf8(utf8); }

}  // namespace lw
