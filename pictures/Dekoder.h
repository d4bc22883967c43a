#pragma once

#include <string>
#include <string_view>

#include "pictures/Bild.h"

// Shared by the JPEG, GIF and PNG readers; not used outside pictures/.
// pfad names the picture in the messages; empty for bytes without a file.
namespace lw::bild {

[[noreturn]] void KeinBild(const std::string& pfad);
[[noreturn]] void Beschaedigt(const std::string& pfad);
[[noreturn]] void NichtUnterstuetzt(const std::string& pfad);
[[noreturn]] void ZuGross(const std::string& pfad, long long breite, long long hoehe);

// Rejects an empty or oversized picture; called with the header's numbers
// before anything is allocated for the pixels.
void GroessePruefen(const std::string& pfad, long long breite, long long hoehe);

// mindestBreite > 0: a JPEG is decoded at the smallest of libjpeg's scales
// n/8 that still gives at least that width, which skips most of the work
// for a picture that is to be made smaller anyway.
Bild JpegDekodieren(std::string_view daten, const std::string& pfad, int mindestBreite = 0);
Bild GifDekodieren(std::string_view daten, const std::string& pfad);
Bild PngDekodieren(std::string_view daten, const std::string& pfad);

}  // namespace lw::bild
