#include "publish/Plan.h"

#include <map>
#include <optional>
#include <set>
#include <vector>

#include "common/Dateien.h"
#include "common/Fehler.h"
#include "common/Zeichensatz.h"

namespace lw::veroeffentlichung {

namespace {

// A file that changes again while it goes up again is left to the user.
constexpr int kMalGeaendert = 3;

}  // namespace

VeroeffentlichenBericht Abgleichen(Sitzung& sitzung, const std::string& lokal, Liste dateien,
                                   const VeroeffentlichenBegleitung& begleitung,
                                   const VeroeffentlichenGrenzen& grenzen) {
    // The server's list; where a cut left none but the one that stepped aside
    // for a newer one, that one: no list names what changed after it was written.
    ListenLeser leser;
    bool listeDa = sitzung.Holen(kDateiliste, leser);
    bool ausAlt = !listeDa && sitzung.Holen(AltName(kDateiliste), leser);
    std::optional<Liste> alte;
    if (listeDa || ausAlt) alte = leser.Ende();
    // The server's list is as this publish would write it; else it is written anew.
    bool sauber = alte && leser.Sauber() && !ausAlt;

    // What is on the server, in every folder that the site has or had, each listed once.
    std::set<std::string> ordner{""};
    for (const auto& [pfad, e] : dateien) ordner.insert(Ordner(pfad));
    if (alte)
        for (const auto& [pfad, e] : *alte) ordner.insert(Ordner(pfad));
    std::set<std::string> vorhanden;
    for (const std::string& o : ordner)
        for (const std::string& name : sitzung.Auflisten(o)) vorhanden.insert(Darin(o, name));

    // Hidden files a cut left of the program's files: an upload not renamed
    // yet, an old file that had stepped aside. They would stand in the way.
    std::set<std::string> reste;
    const auto rest = [&](const std::string& pfad) {
        for (const std::string& r : {TempName(pfad), AltName(pfad)})
            if (vorhanden.contains(r) && !(ausAlt && r == AltName(kDateiliste))) reste.insert(r);
    };
    rest(kDateiliste);
    for (const auto& [pfad, e] : dateien) rest(pfad);
    if (alte)
        for (const auto& [pfad, e] : *alte) rest(pfad);

    // What the list may name: the files online as the last publish left them.
    Liste online;
    if (alte)
        for (const auto& [pfad, e] : *alte)
            if (vorhanden.contains(pfad)) online[pfad] = e;

    // Pictures and stylesheets before the pages that name them.
    std::vector<std::string> hoch;
    for (const bool seiten : {false, true})
        for (const auto& [pfad, e] : dateien) {
            if (IstSeite(pfad) != seiten) continue;
            const auto alt = online.find(pfad);
            if (alt == online.end() || alt->second != e) hoch.push_back(pfad);
        }
    std::vector<std::string> weg;
    if (alte)
        for (const auto& [pfad, e] : *alte)
            if (!dateien.contains(pfad)) weg.push_back(pfad);
    for (const auto& pfad : hoch) sitzung.stand.gesamt += dateien.at(pfad).groesse;

    // Before anything online changes, the list stops vouching for what will.
    bool markiert = false;
    for (const auto* art : {&hoch, &weg})
        for (const auto& pfad : *art) {
            const auto it = online.find(pfad);
            if (it == online.end() || it->second == Markiert()) continue;
            it->second = Markiert();
            markiert = true;
        }

    VeroeffentlichenBericht bericht;
    Liste geschrieben = alte ? *alte : Liste();  // what the server's list says
    bool listeGesendet = false;
    auto zuletzt = Uhr::now();
    auto listeSchreiben = [&] {
        if (sauber && online == geschrieben) return;
        const std::string text = ListeText(online);
        Quelle quelle(text);
        sitzung.Hochladen(kDateiliste, quelle, text.size(), listeDa);
        listeGesendet = listeDa = sauber = true;
        geschrieben = online;
        zuletzt = Uhr::now();
        if (ausAlt) sitzung.Loeschen(AltName(kDateiliste));
        ausAlt = false;
    };
    // The hidden files of transfers that did not finish are removed by the
    // session itself.
    auto aufraeumen = [&] {
        sitzung.Aufraeumen();
        listeSchreiben();
    };
    try {
        for (const std::string& r : reste) sitzung.Loeschen(r);
        if (markiert) listeSchreiben();
        // Several at once within each group; the pages start once every
        // picture and stylesheet is in place. The list is kept here, on this
        // thread, as each file lands.
        std::map<std::string, int> malGeaendert;
        for (const bool seiten : {false, true}) {
            std::vector<Sitzung::Sendung> gruppe;
            for (const auto& pfad : hoch)
                if (IstSeite(pfad) == seiten)
                    gruppe.push_back({pfad, &dateien.at(pfad), vorhanden.contains(pfad)});
            const auto fertig = [&](const Sitzung::Sendung& d) {
                online[d.pfad] = *d.eintrag;
                vorhanden.insert(d.pfad);
                bericht.hochgeladen.push_back(d.pfad);
                // After a cut, what went up since the list was written goes again.
                if (Uhr::now() - zuletzt >= grenzen.listenTakt) listeSchreiben();
            };
            const auto geaendert = [&](const Sitzung::Sendung& d) {
                // What went up goes, and the file is read again, so that the
                // list names the bytes online.
                sitzung.Loeschen(TempName(d.pfad));
                if (++malGeaendert[d.pfad] == kMalGeaendert)
                    throw Hinweis(W("Die Datei \"") + Anzeige(d.pfad) +
                                  W("\" ändert sich während des Veröffentlichens immer wieder. "
                                    "Bitte schließen Sie das Programm, das sie schreibt, und "
                                    "veröffentlichen Sie noch einmal"));
                sitzung.stand.gesamt -= d.eintrag->groesse;
                *d.eintrag = Pruefsumme(lokal, d.pfad, begleitung);
                sitzung.stand.gesamt += d.eintrag->groesse;
            };
            sitzung.AlleHochladen(lokal, gruppe, fertig, geaendert);
        }
        for (const auto& pfad : weg) {
            if (vorhanden.contains(pfad)) {
                sitzung.Loeschen(pfad);
                bericht.geloescht.push_back(pfad);
            }
            online.erase(pfad);
            if (Uhr::now() - zuletzt >= grenzen.listenTakt) listeSchreiben();
        }
        listeSchreiben();
    } catch (const Abgebrochen&) {
        aufraeumen();
        bericht.abgebrochen = true;
    } catch (const Fehler&) {
        // The list names what is online, as far as the connection still
        // lets it be written; a list not written names nothing that changed
        // since it was, which the next publish replaces.
        if (!sitzung.Gebrochen()) {
            try {
                aufraeumen();
            } catch (const Fehler&) {
            } catch (const Abgebrochen&) {
            }
        }
        throw;
    }
    if (listeGesendet) bericht.hochgeladen.push_back(kDateiliste);
    return bericht;
}

}  // namespace lw::veroeffentlichung
