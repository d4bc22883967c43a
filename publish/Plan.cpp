#include "publish/Plan.h"

#include <optional>
#include <set>
#include <vector>

#include "common/Dateien.h"
#include "common/Fehler.h"

namespace lw::veroeffentlichung {

VeroeffentlichenBericht Abgleichen(Sitzung& sitzung, const std::string& lokal,
                                   const Liste& dateien) {
    const std::optional<std::string> alterText = sitzung.Holen(kDateiliste);
    const std::optional<Liste> alte =
        alterText ? std::optional<Liste>(ListeLesen(*alterText)) : std::nullopt;

    // What is on the server, in every folder that the site has or had.
    std::set<std::string> ordner{""};
    for (const auto& [pfad, e] : dateien) ordner.insert(Ordner(pfad));
    if (alte)
        for (const auto& [pfad, e] : *alte) ordner.insert(Ordner(pfad));
    std::set<std::string> vorhanden;
    for (const std::string& o : ordner)
        for (const std::string& name : sitzung.Auflisten(o)) vorhanden.insert(Darin(o, name));

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

    VeroeffentlichenBericht bericht;
    auto listeSchreiben = [&] {
        const std::string text = ListeText(online);
        if (alterText && *alterText == text) return;
        Quelle quelle;
        quelle.text = text;
        sitzung.Hochladen(kDateiliste, quelle, text.size(), alterText.has_value());
        bericht.hochgeladen.push_back(kDateiliste);
    };
    // The hidden files of transfers that did not finish are removed by the
    // session itself.
    auto aufraeumen = [&] {
        sitzung.Aufraeumen();
        listeSchreiben();
    };
    try {
        // Several at once within each group; the pages start once every
        // picture and stylesheet is in place.
        for (const bool seiten : {false, true}) {
            std::vector<Sitzung::Datei> gruppe;
            for (const auto& pfad : hoch)
                if (IstSeite(pfad) == seiten)
                    gruppe.push_back({pfad, dateien.at(pfad).groesse, vorhanden.contains(pfad)});
            sitzung.AlleHochladen(lokal, gruppe, [&](const Sitzung::Datei& d) {
                online[d.pfad] = dateien.at(d.pfad);
                bericht.hochgeladen.push_back(d.pfad);
            });
        }
        for (const auto& pfad : weg) {
            if (vorhanden.contains(pfad)) {
                sitzung.Loeschen(pfad);
                bericht.geloescht.push_back(pfad);
            }
            online.erase(pfad);
        }
        listeSchreiben();
    } catch (const Abgebrochen&) {
        aufraeumen();
        bericht.abgebrochen = true;
    } catch (const Fehler&) {
        // The list names what is online, as far as the connection still
        // lets it be written; a list not written names old versions at worst,
        // which the next publish replaces.
        if (!sitzung.Gebrochen()) {
            try {
                aufraeumen();
            } catch (const Fehler&) {
            } catch (const Abgebrochen&) {
            }
        }
        throw;
    }
    return bericht;
}

}  // namespace lw::veroeffentlichung
