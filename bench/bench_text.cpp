// The two text operations of the program on large contents: the merge of a
// generated page with imported contents (SeiteZusammenfuehren, the save's own
// road into memory) and the cut of
// the contents out of a provider page (InhaltAusschneiden), at 10, 20 and 40
// MiB. Twice the text may take at most 2.1 times as long, and an operation may
// need at most twice the size of its result in memory.
//
// Every single measurement runs in a fresh process of this program, with the
// heap as the core leaves it: the input is built, its memory counted, the
// high-water mark reset, and the operation timed; the peak is what the
// operation added to the resident memory at its highest.

#include <malloc.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "bench/Messung.h"
#include "bench/Texte.h"
#include "codegen/Code.h"
#include "common/Dateien.h"
#include "import/Import.h"
#include "import/Konfiguration.h"
#include "output/DateiErzeugung.h"

namespace {

using namespace lw;
using namespace lw::bench;

constexpr std::size_t kMiB = std::size_t{1} << 20;
const char* const kEineMessung = "--messen";
const int kGroessen[] = {10, 20, 40};

std::string Genau(std::string s, std::size_t n) {
    s.resize(n, ' ');
    return s;
}

// A provider page around `bytes` of contents, built in one piece so that no
// freed copy of the input is left in the heap for the operation to reuse.
std::string ProviderSeite(std::size_t bytes) {
    const std::string werbung = std::string("http://") + konfiguration::AdServerHost + "/adx.js";
    const std::string vorne =
        "<html><head><title>Seite</title></head>\n<body><table><tr><td>"
        "</td></tr></table></td><td background=\"data/tdef/" +
        Genau("tp008/pa1.png\" width=\"600\" valign=\"top\"", 86) + "><center>\n<script src=\"" +
        werbung + "\"></script>\n<noscript>Werbung</noscript>\n</center>" +
        Genau("<br><!-- Werbung Ende -->", 61);
    const std::string hinten = Genau("<br><!-- Werbung Anfang -->", 65) +
                               "<center>\n<script src=\"" + werbung + "\"></script>\n</center>\n" +
                               Genau("<br><br>", 10) +
                               "<script language=\"JavaScript\" src=\"data/jsdef/count.js\">"
                               "</script>\n</td></tr></table></body></html>\n";
    std::string seite;
    seite.reserve(vorne.size() + bytes + 256 + hinten.size());
    seite += vorne;
    InhaltAnhaengen(seite, bytes, 1);
    seite += hinten;
    return seite;
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

// A field of /proc/self/status in bytes ("VmRSS", "VmHWM").
std::size_t Status(const char* feld) {
    std::ifstream status("/proc/self/status");
    const std::string anfang = std::string(feld) + ":";
    for (std::string zeile; std::getline(status, zeile);)
        if (zeile.compare(0, anfang.size(), anfang) == 0)
            return std::strtoull(zeile.c_str() + anfang.size(), nullptr, 10) * 1024;
    throw std::runtime_error(std::string("no ") + feld + " in /proc/self/status");
}

// From here on VmHWM counts from the present resident memory.
void HoechststandZuruecksetzen() {
    std::ofstream clearRefs("/proc/self/clear_refs");
    clearRefs << "5";
    clearRefs.close();
    if (!clearRefs)
        throw std::runtime_error("cannot reset VmHWM: " + std::string(std::strerror(errno)));
}

// Every size starts from memory, not from the cache: the input was made just
// before, and 10 or 20 MiB of it would still sit in a 32 MiB last-level cache
// where 40 MiB cannot.
void CacheVerdraengen() {
    std::vector<char> puffer(std::size_t{128} << 20, 1);
    volatile char summe = 0;
    for (std::size_t i = 0; i < puffer.size(); i += 4096)
        summe = static_cast<char>(summe + puffer[i]);
}

struct Einzelmessung {
    double sekunden = 0;
    double rechenzeit = 0;  // seconds of processor time, user and system
    double spitze = 0;      // bytes
    double ausgabe = 0;     // bytes
};

// The child's side: prints "<seconds> <peak bytes> <output bytes> <processor seconds>".
int EineMessung(const std::string& operation, int mib) {
    const std::size_t bytes = static_cast<std::size_t>(mib) * kMiB;
    std::string eingabe, seitentext, ergebnis;
    std::function<void()> schritt;
    if (operation == "zusammenfuehren") {
        seitentext = GenerierteSeite();
        eingabe = Inhalt(bytes, 1);
        schritt = [&] {
            ergebnis = SeiteZusammenfuehren(std::move(seitentext), eingabe, "seite1.html");
        };
    } else if (operation == "ausschneiden") {
        eingabe = ProviderSeite(bytes);
        schritt = [&] { ergebnis = InhaltAusschneiden(std::move(eingabe)); };
    } else if (operation == "kopie") {
        eingabe = Inhalt(bytes, 1);
        schritt = [&] {
            ergebnis.reserve(eingabe.size());
            ergebnis.append(eingabe);
        };
    } else {
        throw std::runtime_error("unknown operation " + operation);
    }
    CacheVerdraengen();
    // Only what is in use counts as before: free heap memory goes back to the
    // system, so the operation cannot hide its needs in it.
    ::malloc_trim(0);
    const std::size_t vorher = Status("VmRSS");
    HoechststandZuruecksetzen();
    const double rechenzeitVorher = Rechenzeit();
    const double sekunden = Dauer(schritt);
    const double rechenzeit = Rechenzeit() - rechenzeitVorher;
    const std::size_t hoechststand = Status("VmHWM");
    // A page the operation did not recognise would be measured on a short road.
    if (operation == "zusammenfuehren" ? ergebnis.size() <= bytes : ergebnis.size() != bytes)
        throw std::runtime_error(operation + " gave " + std::to_string(ergebnis.size()) +
                                 " bytes from " + std::to_string(bytes));
    std::printf("%.9f %zu %zu %.9f\n", sekunden, hoechststand > vorher ? hoechststand - vorher : 0,
                ergebnis.size(), rechenzeit);
    return 0;
}

Einzelmessung Messen(const std::string& operation, int mib) {
    const Kind kind = AusfuehrenErfolgreich(
        {ProgrammOrdner() + "/bench_text", kEineMessung, operation, std::to_string(mib)}, true);
    Einzelmessung m;
    if (std::sscanf(kind.ausgabe.c_str(), "%lf %lf %lf %lf", &m.sekunden, &m.spitze, &m.ausgabe,
                    &m.rechenzeit) != 4 ||
        m.ausgabe <= 0)
        throw std::runtime_error(operation + " reported nothing: " + kind.ausgabe);
    return m;
}

struct Operation {
    const char* name;
    const char* argument;
    bool vergleich;  // the machine's reference, no verdict
};

int Laufen(int wiederholungen) {
    const Operation operationen[] = {
        {"SeiteZusammenfuehren", "zusammenfuehren", false},
        {"InhaltAusschneiden", "ausschneiden", false},
        {"Vergleich: reine Speicherkopie", "kopie", true},
    };
    constexpr int kAnzahl = static_cast<int>(std::size(kGroessen));
    // [operation][size] the runs.
    std::map<std::string, std::vector<Einzelmessung>> laeufe[kAnzahl];
    for (int r = 0; r < wiederholungen; ++r)
        for (const auto& op : operationen)
            // Each round starts with another size, so none is always first.
            for (int k = 0; k < kAnzahl; ++k) {
                const int g = (r + k) % kAnzahl;
                laeufe[g][op.argument].push_back(Messen(op.argument, kGroessen[g]));
            }

    std::printf(
        "Text mit 10, 20 und 40 MiB Inhalt, jede Messung in einem frischen Prozess mit den "
        "Speichereinstellungen des Programms, %d Durchgänge je Größe; Spitze: VmHWM über VmRSS "
        "vor der Operation\n",
        wiederholungen);
    const auto median = [&](int g, const char* op, double Einzelmessung::*feld) {
        std::vector<double> werte;
        for (const auto& m : laeufe[g].at(op)) werte.push_back(m.*feld);
        return Median(werte);
    };
    // The sizes of one round run one after the other: size g against the one
    // before, round by round, are the pairs.
    const auto paare = [&](int g, const char* op) {
        Paar paar;
        for (int r = 0; r < wiederholungen; ++r) {
            paar.eigen.push_back(laeufe[g].at(op)[r].sekunden * 1000);
            paar.vergleich.push_back(laeufe[g - 1].at(op)[r].sekunden * 1000);
        }
        return paar;
    };
    bool ok = true;
    for (const auto& op : operationen) {
        double zeit[kAnzahl], rechenzeit[kAnzahl], spitze[kAnzahl], ausgabe[kAnzahl];
        for (int g = 0; g < kAnzahl; ++g) {
            zeit[g] = median(g, op.argument, &Einzelmessung::sekunden) * 1000;
            rechenzeit[g] = median(g, op.argument, &Einzelmessung::rechenzeit) * 1000;
            spitze[g] = median(g, op.argument, &Einzelmessung::spitze) / kMiB;
            ausgabe[g] = median(g, op.argument, &Einzelmessung::ausgabe) / kMiB;
        }
        std::printf(
            "  %s: %.1f / %.1f / %.1f ms (Rechenzeit %.1f / %.1f / %.1f ms); Spitze %.1f / %.1f / "
            "%.1f MiB bei %.1f / %.1f / %.1f MiB Ergebnis\n",
            op.name, zeit[0], zeit[1], zeit[2], rechenzeit[0], rechenzeit[1], rechenzeit[2],
            spitze[0], spitze[1], spitze[2], ausgabe[0], ausgabe[1], ausgabe[2]);
        if (op.vergleich) {
            std::printf(
                "  Die reine Speicherkopie wächst auf diesem Rechner um %.2f (20 gegen 10 "
                "MiB) und %.2f (40 gegen 20 MiB), Median der Paare\n",
                MedianVerhaeltnis(paare(1, op.argument)), MedianVerhaeltnis(paare(2, op.argument)));
            continue;
        }
        for (int g = 1; g < kAnzahl; ++g)
            ok &= Urteil("Zeit " + std::string(op.name) + " " + std::to_string(kGroessen[g]) +
                             " gegen " + std::to_string(kGroessen[g - 1]) + " MiB",
                         paare(g, op.argument), 2.1, "ms");
        int schlimmste = 0;
        for (int g = 1; g < kAnzahl; ++g)
            if (spitze[g] / ausgabe[g] > spitze[schlimmste] / ausgabe[schlimmste]) schlimmste = g;
        ok &= Urteil("Speicherspitze " + std::string(op.name) + " gegen ihr Ergebnis bei " +
                         std::to_string(kGroessen[schlimmste]) + " MiB",
                     spitze[schlimmste], ausgabe[schlimmste], 2.0, "MiB");
    }
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 4 && std::strcmp(argv[1], kEineMessung) == 0)
            return EineMessung(argv[2], std::atoi(argv[3]));
        return Laufen(Wiederholungen(argc, argv, 21));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_text: %s\n", e.what());
        return 2;
    }
}
