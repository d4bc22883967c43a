#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lw {

// A decoded JPEG or GIF picture: size in pixels and the pixels as RGBA rows
// (alpha 0 where a GIF is transparent, 255 elsewhere).
struct Bild {
    int breite = 0;
    int hoehe = 0;
    std::vector<std::uint8_t> rgba;
};

// Decodes the file. A file that is no readable JPEG or GIF, is truncated or
// declares absurd dimensions throws lw::Fehler with a German text.
Bild BildLaden(const std::string& pfad);

// The same for bytes already in memory.
Bild BildDekodieren(std::string_view daten);

}  // namespace lw
