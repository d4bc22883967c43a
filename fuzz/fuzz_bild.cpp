// Any bytes handed to the picture decoder: a German error is fine, a crash,
// leak, hang or unbounded allocation is not.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/Fehler.h"
#include "pictures/Bild.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    try {
        const lw::Bild bild =
            lw::BildDekodieren(std::string_view(reinterpret_cast<const char*>(daten), groesse));
        // A decoded picture keeps the limits and is exactly as large as it says.
        if (bild.breite <= 0 || bild.hoehe <= 0 || bild.breite > lw::kBildMaxSeite ||
            bild.hoehe > lw::kBildMaxSeite ||
            static_cast<long long>(bild.breite) * bild.hoehe > lw::kBildMaxPixel)
            __builtin_trap();
        if (bild.rgba.size() != static_cast<std::size_t>(bild.breite) * bild.hoehe * 4)
            __builtin_trap();
    } catch (const lw::Fehler&) {
    }
    return 0;
}
