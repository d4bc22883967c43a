// Saving an imported site of 100 pages with 1 MiB of contents each, and a new
// site of 100 pages with 100 KiB of the contents editor's text each, against
// cp -r of a folder that holds exactly the bytes the save writes (a saved
// site made beforehand). Both sides read their sources warm from the page
// cache and write into the project's disk, starting each run with nothing
// waiting to be written back.

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

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

// Relative path -> size of every file below ordner.
std::map<std::string, std::uintmax_t> Dateien(const std::string& ordner) {
    std::map<std::string, std::uintmax_t> dateien;
    for (const auto& e : fs::recursive_directory_iterator(ordner))
        if (e.is_regular_file()) dateien[fs::relative(e.path(), ordner).string()] = e.file_size();
    return dateien;
}

std::uintmax_t Summe(const std::map<std::string, std::uintmax_t>& dateien) {
    std::uintmax_t summe = 0;
    for (const auto& [name, groesse] : dateien) summe += groesse;
    return summe;
}

// Throws unless ordner holds the same files with the same bytes as vorlage.
void GleichPruefen(const std::string& ordner, const std::string& vorlage) {
    const auto soll = Dateien(vorlage);
    if (Dateien(ordner) != soll)
        throw std::runtime_error(ordner + " does not hold the files of " + vorlage);
    for (const auto& [name, groesse] : soll)
        if (test::Lesen(ordner + "/" + name) != test::Lesen(vorlage + "/" + name))
            throw std::runtime_error(ordner + "/" + name + " differs");
}

constexpr std::size_t kEditorBytes = 100 * 1024;

// About `bytes` of lines as the contents editor writes them, different for
// each page.
std::string EditorText(std::size_t bytes, int seite) {
    std::string text;
    text.reserve(bytes + 256);
    for (int absatz = 1; text.size() < bytes; ++absatz) {
        text += "        <h2>Seite " + std::to_string(seite) + ", Abschnitt " +
                std::to_string(absatz) + "</h2>\r\n";
        text +=
            "        <p>Gr&uuml;&szlig;e aus der <strong>Heide</strong>, wo die <em>B&auml;ume"
            "</em> stehen &amp; der Wind weht.<br />Mehr unter <a href=\"Seite1.html\">"
            "Start</a> &#8211; bis bald.</p>\r\n";
        text +=
            "        <ul>\r\n          <li>Eins</li>\r\n          <li>Zwei</li>\r\n"
            "        </ul>\r\n";
    }
    return text;
}

// The new site with the editor's text on every page: saving it against cp -r
// of its result, as the median of the pairs' ratios.
bool EditorSiteMessen(const test::TempOrdner& arbeit, int wiederholungen) {
    Projektdaten daten;
    daten.Modus = kModusHPNeu;
    daten.Zielordner = arbeit / "Editor";
    daten.Seitenzahl = kSeiten;
    daten.ButtonHoehe.Setzen(1, 30);
    daten.ButtonBreite.Setzen(1, 120);
    CodeEingaben eingaben;
    eingaben.menueFixiert = true;
    for (int i = 1; i <= kSeiten; ++i) {
        const std::string name = "Seite" + std::to_string(i) + ".html";
        daten.ImportSeiten.Setzen(i, name);
        eingaben.links.push_back({name, "Seite " + std::to_string(i), "Zur Seite"});
        daten.Seiteninhalte.Setzen(
            i, {"Seite " + std::to_string(i), "Beschreibung", EditorText(kEditorBytes, i)});
    }
    fs::create_directory(daten.Zielordner);
    const ErzeugterCode code = CodeErzeugen(daten, eingaben);
    const std::string neu = daten.Zielordner + "/Neu";
    const std::string vorlage = arbeit / "EditorVorlage";
    const std::string kopie = arbeit / "EditorKopie";
    DateienErzeugen(daten, code, true);
    fs::rename(neu, vorlage);
    const auto dateien = Dateien(vorlage);
    if (Summe(dateien) < std::uintmax_t{kSeiten} * kEditorBytes)
        throw std::runtime_error("the save wrote less than the editor's text");

    const Paar paar = Abwechselnd(
        wiederholungen,
        [&] {
            fs::remove_all(neu);
            fs::remove_all(kopie);
            ::sync();
        },
        [&] {
            const double d = Dauer([&] { DateienErzeugen(daten, code, true); });
            GleichPruefen(neu, vorlage);
            return d * 1000;
        },
        [&] {
            const double d = Dauer([&] { AusfuehrenErfolgreich({"cp", "-r", vorlage, kopie}); });
            GleichPruefen(kopie, vorlage);
            return d * 1000;
        });
    std::printf(
        "Neue Homepage mit Text aus dem Editor: je %.1f MiB in %zu Dateien (%d Seiten, je %zu "
        "Bytes Text; %d Durchgänge je Seite)\n",
        static_cast<double>(Summe(dateien)) / (1 << 20), dateien.size(), kSeiten, kEditorBytes,
        wiederholungen);
    return Urteil("Speichern mit Editortext gegen cp -r", paar, 1.5, "ms");
}

int Laufen(int wiederholungen) {
    test::TempOrdner arbeit;
    const ImportierteSite site = ImportierteSiteAnlegen(arbeit.pfad(), kSeiten, kInhaltBytes);
    const Projektdaten& daten = site.daten;
    const ErzeugterCode& code = site.code;

    // The save's own result is what cp copies: the same files, the same bytes.
    const std::string neu = arbeit / "Neu";
    const std::string vorlage = arbeit / "Vorlage";
    const std::string kopie = arbeit / "Kopie";
    DateienErzeugen(daten, code, true);
    fs::rename(neu, vorlage);
    const auto dateien = Dateien(vorlage);
    if (dateien.size() < kSeiten || Summe(dateien) < std::uintmax_t{kSeiten} * kInhaltBytes)
        throw std::runtime_error("the save wrote less than the contents");

    // After every run, untimed: that side wrote every file whole. The
    // processor time of both sides is reported beside the verdict, since the
    // save writes on a thread of its own while it converts.
    std::vector<double> rechenzeitEigen, rechenzeitKopie;
    const Paar paar = Abwechselnd(
        wiederholungen,
        [&] {
            fs::remove_all(neu);
            fs::remove_all(kopie);
            ::sync();
        },
        [&] {
            const double vorher = Rechenzeit();
            const double d = Dauer([&] { DateienErzeugen(daten, code, true); });
            rechenzeitEigen.push_back(Rechenzeit() - vorher);
            GleichPruefen(neu, vorlage);
            return d;
        },
        [&] {
            Kind kind;
            const double d = Dauer([&] {
                kind = AusfuehrenErfolgreich({"cp", "-r", vorlage, kopie});
            });
            rechenzeitKopie.push_back(Rechenzeit(kind.verbrauch));
            GleichPruefen(kopie, vorlage);
            return d;
        });

    std::printf(
        "Gespeichert und kopiert: je %.1f MiB in %zu Dateien (%d Seiten, je %zu Bytes Inhalt; "
        "Quellen warm im Seiten-Cache, vor jedem Durchgang sync; %d Durchgänge je Seite)\n",
        static_cast<double>(Summe(dateien)) / (1 << 20), dateien.size(), kSeiten, kInhaltBytes,
        wiederholungen);
    std::printf("  Rechenzeit (Median): Speichern %.1f ms, cp -r %.1f ms\n",
                Median(rechenzeitEigen) * 1000, Median(rechenzeitKopie) * 1000);
    const bool ok = Urteil("Speichern (DateienErzeugen) gegen cp -r", Median(paar.eigen) * 1000,
                           Median(paar.vergleich) * 1000, 1.5, "ms");
    const bool editorOk = EditorSiteMessen(arbeit, wiederholungen);
    return ok && editorOk ? 0 : 1;
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
