// Start-up of the program to its visible start window, and its peak memory,
// against the smallest Qt Widgets program with one window showing a label.
// Both run as whole processes on the X display given in DISPLAY (the script
// starts an Xvfb); each reports the moment its window was first drawn,
// measured from just before it was started. Peak memory is the child's own
// ru_maxrss.

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/Messung.h"
#include "common/Dateien.h"

namespace {

using namespace lw::bench;

struct Lauf {
    double sekunden;
    double mib;
};

Lauf Starten(const std::string& programm) {
    const double anfang = Jetzt();
    const Kind kind = AusfuehrenErfolgreich({programm}, true);
    const double sichtbar = std::strtod(kind.ausgabe.c_str(), nullptr);
    if (sichtbar <= anfang) throw std::runtime_error(programm + " reported no window");
    return {sichtbar - anfang, static_cast<double>(kind.verbrauch.ru_maxrss) / 1024};
}

int Laufen(int wiederholungen, std::string leistenwerk, std::string minimal) {
    const char* anzeige = std::getenv("DISPLAY");
    if (!anzeige || !*anzeige) throw std::runtime_error("DISPLAY is not set (start an Xvfb)");
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);

    // Once each untimed, so that both find the font and library caches filled.
    Starten(leistenwerk);
    Starten(minimal);
    std::vector<double> zeitEigen, zeitMinimal, speicherEigen, speicherMinimal;
    Abwechselnd(
        wiederholungen, {},
        [&] {
            const Lauf l = Starten(leistenwerk);
            speicherEigen.push_back(l.mib);
            zeitEigen.push_back(l.sekunden);
            return l.sekunden;
        },
        [&] {
            const Lauf l = Starten(minimal);
            speicherMinimal.push_back(l.mib);
            zeitMinimal.push_back(l.sekunden);
            return l.sekunden;
        });

    std::printf(
        "Start bis zum ersten Bild des Startfensters auf %s (Xvfb), %d Starts je "
        "Programm nach je einem ungezählten; Vergleich: ein QLabel mit Text in einem Fenster der "
        "gleichen Größe\n",
        anzeige, wiederholungen);
    const bool zeit = Urteil("Startzeit Leistenwerk gegen minimales Qt-Programm",
                             Median(zeitEigen) * 1000, Median(zeitMinimal) * 1000, 1.3, "ms");
    const bool speicher = Urteil("Speicherspitze Leistenwerk gegen minimales Qt-Programm",
                                 Median(speicherEigen), Median(speicherMinimal), 1.3, "MiB");
    return zeit && speicher ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        // Two other programs may be named after the count, for finding out
        // what a difference comes from.
        const std::string ordner = lw::ProgrammOrdner();
        return Laufen(Wiederholungen(argc, argv, 21),
                      argc > 3 ? argv[2] : ordner + "/bench_start_leistenwerk",
                      argc > 3 ? argv[3] : ordner + "/bench_start_minimal");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_start: %s\n", e.what());
        return 2;
    }
}
