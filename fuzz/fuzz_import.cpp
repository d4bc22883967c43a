// Any bytes as a provider start page and as a downloaded page: the menu
// extraction and the contents cut must end, stay within the input and never
// crash, whatever the server sends.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/Text.h"
#include "import/Import.h"

namespace {

constexpr std::string_view kEndung = ".html";

void Pruefen(bool bedingung) {
    if (!bedingung) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    const std::string eingabe(reinterpret_cast<const char*>(daten), groesse);

    // Every menu link takes at least its 17-byte marker, so the number of
    // names is bounded by the input; each name is a piece of the input with
    // ".html" behind it. The import stops at the first name that is no plain
    // file name, and so does this walk: such a name may be the whole rest of
    // the page, and walking on would copy that rest once per link.
    lw::MenueLeser menue(eingabe);
    std::size_t namen = 0;
    while (const auto name = menue.Naechster()) {
        ++namen;
        Pruefen(namen * 17 <= groesse);
        Pruefen(name->size() >= kEndung.size() &&
                std::string_view(*name).substr(name->size() - kEndung.size()) == kEndung);
        const std::string_view ziel =
            std::string_view(*name).substr(0, name->size() - kEndung.size());
        Pruefen(eingabe.find(ziel) != std::string::npos);
        if (!lw::SchlichterDateiname(*name)) break;
        // A name that passes stays a single file name inside Alt.
        Pruefen(name->find('/') == std::string::npos && *name != "..");
    }

    // The cut only ever removes: what is left is a piece of the page.
    (void)lw::IstAnbieterFunktion(eingabe);
    const std::string inhalt = lw::InhaltAusschneiden(eingabe);
    Pruefen(inhalt.size() <= eingabe.size());
    Pruefen(eingabe.find(inhalt) != std::string::npos);
    return 0;
}
