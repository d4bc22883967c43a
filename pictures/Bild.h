#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lw {

// A decoded JPEG, GIF or PNG picture: size in pixels and the pixels as RGBA
// rows (alpha 0 where a GIF is transparent, a PNG's own alpha, 255 elsewhere).
struct Bild {
    int breite = 0;
    int hoehe = 0;
    std::vector<std::uint8_t> rgba;
};

// Limits checked before any pixel memory is taken: a hostile or broken header
// must not make the program allocate gigabytes. A 64-megapixel picture still
// needs 256 MB as RGBA; banners and buttons are far below that.
inline constexpr int kBildMaxSeite = 16384;
inline constexpr long long kBildMaxPixel = 64LL * 1024 * 1024;
inline constexpr long long kBildMaxDateigroesse = 256LL * 1024 * 1024;

// Decodes the file. The format follows the file's signature, not its name.
// A file that is no readable JPEG, GIF or PNG, is truncated or declares absurd
// dimensions throws lw::Fehler with a German text naming the path.
// mindestBreite > 0 allows a JPEG to come smaller, but at least that wide
// (or whole, when it is narrower): see VerkleinerteKopie.
Bild BildLaden(const std::string& pfad, int mindestBreite = 0);

// The same for bytes already in memory; the messages then speak of
// "Die Bilddaten" instead of a file.
Bild BildDekodieren(std::string_view daten);

}  // namespace lw
