// The site writer's merge of an imported page into the generated page text.
// The input's first line chooses the page (its first byte the options, the
// rest the link texts, separated by '|'); everything after it is the imported
// contents. Whatever the contents and the typed link texts hold, the merged
// page keeps the generated head and end, and the contents arrive whole.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "codegen/Code.h"
#include "common/Text.h"
#include "model/Projektdaten.h"
#include "output/DateiErzeugung.h"

namespace {

constexpr std::string_view kUeberschrift = "        <h1>Lorem ipsum</h1>";
constexpr std::string_view kGenerator = "<meta name=\"generator\" content=\"Leistenwerk\" />";
constexpr std::string_view kSeitenEnde = "\r\n  </body>\r\n</html>\r\n";
const char* const kNamen[] = {"index.html", "kontakt.html", "ok..name.html", ".html"};

void Pruefen(bool bedingung) {
    if (!bedingung) __builtin_trap();
}

bool EndetMit(std::string_view t, std::string_view ende) {
    return t.size() >= ende.size() && t.substr(t.size() - ende.size()) == ende;
}

// A link text as a one-line edit field can hold it. C3 is left out because
// the merge turns UTF-8 umlauts into entities on the whole page, the typed
// texts included, and the head would then differ by design.
std::string AlsLinkText(std::string_view roh) {
    std::string text;
    for (const char c : roh) {
        const auto b = static_cast<unsigned char>(c);
        text += (b < 0x20 || b == 0x7F || b == 0xC3) ? '?' : c;
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    const std::string_view eingabe(reinterpret_cast<const char*>(daten), groesse);
    const std::size_t zeilenEnde = eingabe.find('\n');
    const std::string_view kopf =
        zeilenEnde == std::string_view::npos ? std::string_view() : eingabe.substr(0, zeilenEnde);
    const std::string inhalt(zeilenEnde == std::string_view::npos ? eingabe
                                                                  : eingabe.substr(zeilenEnde + 1));
    const unsigned optionen = kopf.empty() ? 0 : static_cast<unsigned char>(kopf[0]);

    lw::Projektdaten projekt;
    projekt.Modus = lw::kModusNZAlt;
    lw::CodeEingaben eingaben;
    eingaben.menueFixiert = optionen & 1;
    if (optionen & 2) {
        projekt.BannerDatei = "/bilder/kopf.jpg";
        projekt.BannerBreite = 400;
        projekt.BannerHoehe = 80;
    }
    const std::string name = kNamen[(optionen >> 2) & 3];

    std::vector<std::string> texte;
    std::string_view rest = kopf.empty() ? kopf : kopf.substr(1);
    for (;;) {
        const std::size_t trenner = rest.find('|');
        texte.push_back(AlsLinkText(rest.substr(0, trenner)));
        if (trenner == std::string_view::npos) break;
        rest.remove_prefix(trenner + 1);
    }
    for (std::size_t i = 0; i < texte.size(); ++i) {
        const std::string seite = i == 0 ? name : "seite" + std::to_string(i + 1) + ".html";
        projekt.ImportSeiten.Setzen(static_cast<int>(i) + 1, seite);
        eingaben.links.push_back({seite, texte[i], "Zu " + seite});
    }
    projekt.ImportAnzahl = static_cast<int>(texte.size());

    const std::string seitentext = lw::CodeErzeugen(projekt, eingaben).seite;
    const std::size_t ueberschrift = seitentext.rfind(kUeberschrift);
    const std::size_t generator = seitentext.find(kGenerator);
    Pruefen(ueberschrift != std::string::npos && generator < ueberschrift);

    // The head up to the placeholder heading (the last one: a link text may
    // hold the same words), with the page named in the generator tag, stands
    // unchanged before the contents.
    std::string erwarteterKopf = seitentext.substr(0, ueberschrift);
    erwarteterKopf.replace(
        generator, kGenerator.size(),
        "<meta name=\"generator\" content=\"_" + lw::NameOhneEndung(name) + "\" />");

    const std::string ergebnis = lw::SeiteZusammenfuehren(seitentext, inhalt, name);
    Pruefen(ergebnis.compare(0, erwarteterKopf.size(), erwarteterKopf) == 0);
    Pruefen(EndetMit(ergebnis, kSeitenEnde));
    Pruefen(ergebnis.size() >= erwarteterKopf.size() + kSeitenEnde.size());
    // Without UTF-8 lead bytes nothing in the contents is rewritten.
    if (inhalt.find('\xC3') == std::string::npos)
        Pruefen(ergebnis.compare(erwarteterKopf.size(), inhalt.size(), inhalt) == 0);
    return 0;
}
