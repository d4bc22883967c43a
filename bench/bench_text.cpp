// The text operations at 10 MiB and at 20 MiB: twice the text may take at
// most twice the time. Three groups, each as the program uses them:
// - the case-insensitive Ersetzen of the merge over the whole text (the seven
//   UTF-8 umlauts and the program name),
// - the import's contents cut (Position/Entfernen) of a provider page,
// - the merge's cut of the placeholder paragraphs and the heading replaced by
//   the contents.

#include <malloc.h>

#include <cstdio>
#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bench/Messung.h"
#include "bench/Texte.h"
#include "codegen/Code.h"
#include "common/Text.h"
#include "import/Import.h"
#include "import/Konfiguration.h"

namespace {

using namespace lw;
using namespace lw::bench;

constexpr std::size_t kMiB = std::size_t{1} << 20;

std::string Genau(std::string s, std::size_t n) {
    s.resize(n, ' ');
    return s;
}

std::string ProviderSeite(const std::string& inhalt) {
    const std::string werbung = std::string("http://") + konfiguration::AdServerHost + "/adx.js";
    return "<html><head><title>Seite</title></head>\n<body><table><tr><td>"
           "</td></tr></table></td><td background=\"data/tdef/" +
           Genau("tp008/pa1.png\" width=\"600\" valign=\"top\"", 86) + "><center>\n<script src=\"" +
           werbung + "\"></script>\n<noscript>Werbung</noscript>\n</center>" +
           Genau("<br><!-- Werbung Ende -->", 61) + inhalt +
           Genau("<br><!-- Werbung Anfang -->", 65) + "<center>\n<script src=\"" + werbung +
           "\"></script>\n</center>\n" + Genau("<br><br>", 10) +
           "<script language=\"JavaScript\" src=\"data/jsdef/count.js\"></script>\n"
           "</td></tr></table></body></html>\n";
}

std::string GenerierteSeite() {
    Projektdaten daten;
    daten.Modus = kModusNZAlt;
    daten.ImportAnzahl = 3;
    CodeEingaben eingaben;
    eingaben.menueFixiert = true;
    for (int i = 1; i <= 3; ++i) {
        daten.ImportSeiten.Setzen(i, "seite" + std::to_string(i) + ".html");
        eingaben.links.push_back({daten.ImportSeiten[i], "Seite", "Leistenwerk"});
    }
    return CodeErzeugen(daten, eingaben).seite;
}

constexpr std::string_view kUmlaute[][2] = {
    {"\xC3\xA4", "&auml;"}, {"\xC3\xB6", "&ouml;"}, {"\xC3\xBC", "&uuml;"}, {"\xC3\x9F", "&szlig;"},
    {"\xC3\x84", "&Auml;"}, {"\xC3\x96", "&Ouml;"}, {"\xC3\x9C", "&Uuml;"}};

// Keeps the optimiser from dropping a result.
std::size_t gesamtLaenge = 0;

struct Gruppe {
    const char* name;
    // Prepares the input untimed and returns the timed step.
    std::function<double(const std::string& inhalt)> lauf;
    bool vergleich = false;  // the machine's own growth, not counted in the sum
};

}  // namespace

int main(int argc, char** argv) try {
    const int wiederholungen = Wiederholungen(argc, argv, 11);
    const std::string seite = GenerierteSeite();
    const std::vector<Gruppe> gruppen = {
        {"Ersetzen ohne Groß-/Kleinschreibung",
         [](const std::string& inhalt) {
             std::string t = inhalt;
             const double d = Dauer([&] {
                 for (const auto& u : kUmlaute) Ersetzen(t, u[0], u[1]);
                 Ersetzen(t, "Leistenwerk", "_seite1");
             });
             gesamtLaenge += t.size();
             return d;
         }},
        {"Inhaltsschnitt des Imports (Position/Entfernen)",
         [](const std::string& inhalt) {
             std::string t = ProviderSeite(inhalt);
             std::string ergebnis;
             const double d = Dauer([&] { ergebnis = InhaltAusschneiden(std::move(t)); });
             gesamtLaenge += ergebnis.size();
             return d;
         }},
        {"Zusammenführen (Platzhalter schneiden, Überschrift ersetzen)",
         [&seite](const std::string& inhalt) {
             std::string t = seite;
             const double d = Dauer([&] {
                 const auto p = static_cast<long long>(Position("<p>", t));
                 const auto e = static_cast<long long>(Position("    </div>\r\n\r\n  </body>", t));
                 Entfernen(t, p, e - p);
                 Ersetzen(t, "        <h1>Lorem ipsum</h1>", inhalt);
                 Ersetzen(t, "Leistenwerk", "_seite1");
             });
             gesamtLaenge += t.size();
             return d;
         }},
        // What one pass over the memory costs at each size on this machine:
        // caches make even a plain copy grow faster than the bytes.
        {"Vergleich: reine Speicherkopie",
         [](const std::string& inhalt) {
             std::string t;
             const double d = Dauer([&] {
                 t.reserve(inhalt.size());
                 t.append(inhalt);
             });
             gesamtLaenge += t.size();
             return d;
         },
         true},
    };

    // The heap keeps what it once had and serves these sizes itself, and one
    // round of each size runs untimed first: the times are those of the
    // operations, not of the system handing out fresh pages, which on a
    // virtual machine costs more the more of them are new at once.
    ::mallopt(M_MMAP_THRESHOLD, 32 * static_cast<int>(kMiB));
    ::mallopt(M_TRIM_THRESHOLD, 1 << 30);
    const std::string klein = Inhalt(10 * kMiB, 1);
    const std::string gross = Inhalt(20 * kMiB, 1);
    for (const auto& g : gruppen) {
        g.lauf(gross);
        g.lauf(klein);
    }
    // [size][group] single times, and the sum of one round per size.
    std::vector<std::vector<double>> zeiten[2] = {std::vector<std::vector<double>>(gruppen.size()),
                                                  std::vector<std::vector<double>>(gruppen.size())};
    std::vector<double> summen[2];
    for (int r = 0; r < wiederholungen; ++r) {
        for (int k = 0; k < 2; ++k) {
            const int groesse = (k == 0) == (r % 2 == 0) ? 0 : 1;
            double summe = 0;
            for (std::size_t g = 0; g < gruppen.size(); ++g) {
                const double d = gruppen[g].lauf(groesse == 0 ? klein : gross);
                zeiten[groesse][g].push_back(d);
                if (!gruppen[g].vergleich) summe += d;
            }
            summen[groesse].push_back(summe);
        }
    }

    std::printf(
        "Text mit 10 MiB und 20 MiB, %d Durchgänge je Größe nach einem ungezählten, "
        "Speicher vorgewärmt (Ergebnisse: %zu Bytes)\n",
        wiederholungen, gesamtLaenge);
    for (std::size_t g = 0; g < gruppen.size(); ++g) {
        const double a = Median(zeiten[0][g]) * 1000, b = Median(zeiten[1][g]) * 1000;
        std::printf("  %s: %.1f ms bei 10 MiB, %.1f ms bei 20 MiB, Verhältnis %.2f\n",
                    gruppen[g].name, a, b, b / a);
    }
    const double eigen = Median(summen[1]) / Median(summen[0]);
    const bool ok = Urteil("Textoperationen 20 MiB gegen 10 MiB (ohne Vergleich)",
                           Median(summen[1]) * 1000, Median(summen[0]) * 1000, 2.0, "ms", 0.1);
    const std::size_t kopie = gruppen.size() - 1;
    const double speicher = Median(zeiten[1][kopie]) / Median(zeiten[0][kopie]);
    std::printf(
        "  Eine reine Speicherkopie wächst auf diesem Rechner von 10 auf 20 MiB um %.2f%s\n",
        speicher, eigen <= speicher ? "; die Textoperationen wachsen nicht stärker als sie" : "");
    return ok ? 0 : 1;
} catch (const std::exception& e) {
    std::fprintf(stderr, "bench_text: %s\n", e.what());
    return 2;
}
