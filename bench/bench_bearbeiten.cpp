// Opening a saved site of 100 pages with 1 MiB of contents each, changing a
// text of its menu and saving it in place, backup included, against cp -r of
// the same site. The menu stands on every page, so every page is compared,
// merged again and written; the stylesheet and the pictures stay. Both sides
// read the site warm from the page cache and write into the project's disk,
// starting each run with nothing waiting to be written back.

#include <unistd.h>

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
#include "output/HomepageEinlesen.h"
#include "tests/support/TempOrdner.h"

namespace {

namespace fs = std::filesystem;
using namespace lw;
using namespace lw::bench;

constexpr int kSeiten = 100;
constexpr std::size_t kInhaltBytes = std::size_t{1} << 20;

// Throws unless both folders hold the same files with the same bytes.
void GleichPruefen(const std::string& ordner, const std::string& vorlage) {
    std::size_t anzahl = 0;
    for (const auto& e : fs::recursive_directory_iterator(vorlage)) {
        if (!e.is_regular_file()) continue;
        const std::string name = fs::relative(e.path(), vorlage).string();
        if (test::Lesen(ordner + "/" + name) != test::Lesen(e.path().string()))
            throw std::runtime_error(ordner + "/" + name + " differs");
        ++anzahl;
    }
    std::size_t dort = 0;
    for (const auto& e : fs::recursive_directory_iterator(ordner)) dort += e.is_regular_file();
    if (dort != anzahl) throw std::runtime_error(ordner + " holds other files");
}

// Throws unless every file of the backup is the file of vorlage at the same
// place, and it holds the pages.
void SicherungPruefen(const std::string& sicherung, const std::string& vorlage, int seiten) {
    int anzahl = 0;
    for (const auto& e : fs::recursive_directory_iterator(sicherung)) {
        if (!e.is_regular_file()) continue;
        const std::string name = fs::relative(e.path(), sicherung).string();
        if (test::Lesen(e.path().string()) != test::Lesen(vorlage + "/" + name))
            throw std::runtime_error(sicherung + "/" + name + " differs");
        ++anzahl;
    }
    if (anzahl != seiten) throw std::runtime_error(sicherung + " holds other files");
}

// Opens the site in ort, changes the tooltip of the first link and saves it
// in place; returns the backup folder.
std::string GeaendertSpeichern(const std::string& ort) {
    GeleseneHomepage hp = HomepageEinlesen(ort);
    hp.eingaben.links[0].tooltipp += " (neu)";
    VorOrt vorOrt{std::move(hp.inhalte), {}};
    DateienErzeugen(hp.daten, CodeErzeugen(hp.daten, hp.eingaben), hp.eingaben.menueFixiert,
                    &vorOrt);
    return ort + "/" + vorOrt.sicherung;
}

int Laufen(int wiederholungen) {
    test::TempOrdner arbeit;
    const ImportierteSite site = ImportierteSiteAnlegen(arbeit.pfad(), kSeiten, kInhaltBytes);
    DateienErzeugen(site.daten, site.code, true);
    const std::string vorlage = arbeit / "Vorlage";
    fs::rename(arbeit / "Neu", vorlage);

    const std::string ort = arbeit / "Ort";
    const std::string kopie = arbeit / "Kopie";
    // What every run must give: the changed site, saved once beforehand.
    const std::string erwartet = arbeit / "Erwartet";
    fs::create_directory(ort);
    AusfuehrenErfolgreich({"cp", "-r", vorlage, ort + "/Neu"});
    GeaendertSpeichern(ort);
    fs::rename(ort + "/Neu", erwartet);
    std::string sicherung;
    const Paar paar = Abwechselnd(
        wiederholungen,
        [&] {
            fs::remove_all(ort);
            fs::remove_all(kopie);
            fs::create_directory(ort);
            AusfuehrenErfolgreich({"cp", "-r", vorlage, ort + "/Neu"});
            ::sync();
        },
        [&] {
            const double d = Dauer([&] { sicherung = GeaendertSpeichern(ort); });
            // The backup holds every file that was replaced, here the pages.
            GleichPruefen(ort + "/Neu", erwartet);
            SicherungPruefen(sicherung, vorlage, kSeiten);
            return d;
        },
        [&] {
            const double d = Dauer([&] { AusfuehrenErfolgreich({"cp", "-r", vorlage, kopie}); });
            GleichPruefen(kopie, vorlage);
            return d;
        });

    std::printf(
        "Geöffnet, Menütext geändert und an Ort und Stelle gespeichert (mit Sicherung) gegen "
        "cp -r: %d Seiten mit je "
        "%zu Bytes Inhalt; Quellen warm im Seiten-Cache, vor jedem Durchgang sync; %d Durchgänge "
        "je Seite\n",
        kSeiten, kInhaltBytes, wiederholungen);
    const bool ok = Urteil("Öffnen und Speichern an Ort und Stelle gegen cp -r",
                           Median(paar.eigen) * 1000, Median(paar.vergleich) * 1000, 2.5, "ms");
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Laufen(Wiederholungen(argc, argv, 9));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_bearbeiten: %s\n", e.what());
        return 2;
    }
}
