// Any bytes as a provider start page and as a downloaded page: the menu
// extraction, the contents cut and the picture addresses must end, stay
// within the input (or below Alt) and never crash, whatever the server sends.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/Dateien.h"
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

    // A picture address that is taken names a file below Alt whatever it
    // decodes to, and its request is a plain URL path.
    std::vector<std::string_view> adressen;
    lw::BildAdressenSammeln(inhalt, adressen);
    for (const std::string_view adresse : adressen) {
        lw::BildPfad pfad;
        if (lw::BildAdresseEinordnen(adresse, &pfad) != lw::BildAdressArt::Relativ) continue;
        Pruefen(lw::SchlichterPfad(pfad.datei));
        const std::string lokal = "/" + lw::LokalerPfad(pfad.datei) + "/";
        Pruefen(lokal.find("/../") == std::string::npos && lokal.find('\0') == std::string::npos);
        for (const char c : pfad.anfrage)
            Pruefen(c > ' ' && c < 0x7F && c != '"' && c != '<' && c != '>' && c != '?' &&
                    c != '#');
    }
    return 0;
}
