// Saving an imported site of 100 pages with 1 MiB of contents each, against
// copying the same contents folder with cp -r. Both sides run warm: the
// contents files were just written and stay in the page cache.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "bench/Messung.h"
#include "bench/Texte.h"
#include "codegen/Code.h"
#include "common/Dateien.h"
#include "output/DateiErzeugung.h"
#include "tests/support/TempOrdner.h"

namespace {

namespace fs = std::filesystem;
using namespace lw;
using namespace lw::bench;

constexpr int kSeiten = 100;
constexpr std::size_t kInhaltBytes = std::size_t{1} << 20;

std::string SeitenName(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "seite%03d.html", i);
    return name;
}

std::uintmax_t OrdnerGroesse(const std::string& ordner) {
    std::uintmax_t summe = 0;
    for (const auto& e : fs::recursive_directory_iterator(ordner))
        if (e.is_regular_file()) summe += e.file_size();
    return summe;
}

int Laufen(int wiederholungen) {
    test::TempOrdner arbeit;
    Projektdaten daten;
    daten.Modus = kModusNZAlt;
    daten.Zielordner = arbeit.pfad();
    daten.ImportAnzahl = kSeiten;
    CodeEingaben eingaben;
    eingaben.menueFixiert = true;
    OrdnerErzeugen(arbeit / "Alt");
    for (int i = 1; i <= kSeiten; ++i) {
        daten.ImportSeiten.Setzen(i, SeitenName(i));
        eingaben.links.push_back({SeitenName(i), "Seite " + std::to_string(i), "Zur Seite"});
        TextSchreiben(arbeit / "Alt/" + SeitenName(i),
                      Inhalt(kInhaltBytes, static_cast<unsigned>(i)));
    }
    const ErzeugterCode code = CodeErzeugen(daten, eingaben);

    const std::string neu = arbeit / "Neu";
    const std::string kopie = arbeit / "Kopie";
    const Paar paar = Abwechselnd(
        wiederholungen,
        [&] {
            fs::remove_all(neu);
            fs::remove_all(kopie);
        },
        [&] { return Dauer([&] { DateienErzeugen(daten, code, true); }); },
        [&] { return Dauer([&] {
                  AusfuehrenErfolgreich({"cp", "-r", arbeit / "Alt", kopie});
              }); });

    // Both sides must have done their whole work for the numbers to compare.
    fs::remove_all(neu);
    fs::remove_all(kopie);
    DateienErzeugen(daten, code, true);
    AusfuehrenErfolgreich({"cp", "-r", arbeit / "Alt", kopie});
    const std::uintmax_t inhalte = std::uintmax_t{kSeiten} * kInhaltBytes;
    if (OrdnerGroesse(kopie) != inhalte || OrdnerGroesse(neu) <= inhalte)
        throw std::runtime_error("a side did not write all of its bytes");
    const auto mib = [](std::uintmax_t b) { return static_cast<double>(b) / (1 << 20); };
    std::printf(
        "Gespeichert: %.1f MiB in Neu, kopiert: %.1f MiB (%d Seiten, je %zu Bytes Inhalt, "
        "Dateien warm im Seiten-Cache, %d Durchgänge je Seite)\n",
        mib(OrdnerGroesse(neu)), mib(OrdnerGroesse(kopie)), kSeiten, kInhaltBytes, wiederholungen);
    const bool ok = Urteil("Speichern (DateienErzeugen) gegen cp -r", Median(paar.eigen) * 1000,
                           Median(paar.vergleich) * 1000, 1.5, "ms");
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Laufen(Wiederholungen(argc, argv, 15));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_speichern: %s\n", e.what());
        return 2;
    }
}
