// The publish's entry, its settings file and the start page; the list, the
// plan and the connection have their own files.
#include "publish/Veroeffentlichen.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "codegen/Code.h"
#include "common/Dateien.h"
#include "common/Fehler.h"
#include "common/Zeichensatz.h"
#include "publish/Dateiliste.h"
#include "publish/Plan.h"
#include "publish/Verbindung.h"

namespace lw {

int StandardPort(Protokoll protokoll) {
    return protokoll == Protokoll::SFTP ? 22 : 21;
}

VeroeffentlichenBericht Veroeffentlichen(const std::string& neu, const Zugang& zugang,
                                         Vertrauen& vertrauen,
                                         const VeroeffentlichenBegleitung& begleitung,
                                         const VeroeffentlichenGrenzen& grenzen) {
    using namespace veroeffentlichung;
    const std::string lokal = LokalerPfad(neu);
    try {
        Liste dateien = Sammeln(lokal, begleitung);
        Sitzung sitzung(zugang, vertrauen, begleitung, grenzen);
        return Abgleichen(sitzung, lokal, std::move(dateien), begleitung, grenzen);
    } catch (const Abgebrochen&) {
        // Stopped before anything went up.
        VeroeffentlichenBericht bericht;
        bericht.abgebrochen = true;
        return bericht;
    }
}

std::string EinstellungenPfad(const std::string& zielordner) {
    return zielordner + "/Veroeffentlichen.ini";
}

namespace {

constexpr std::pair<Protokoll, const char*> kProtokolle[] = {
    {Protokoll::SFTP, "SFTP"}, {Protokoll::FTPS, "FTPS"}, {Protokoll::FTP, "FTP"}};

int VerbindungenBegrenzt(int n) {
    return std::clamp(n, 1, 8);
}

}  // namespace

VeroeffentlichenEinstellungen EinstellungenLesen(const std::string& pfad) {
    VeroeffentlichenEinstellungen e;
    if (!DateiExistiert(pfad)) return e;
    const std::string text = DateiLesenGanz(pfad);
    std::string_view rest = text;
    std::string abschnitt;
    while (!rest.empty()) {
        const auto ende = rest.find('\n');
        std::string_view zeile = rest.substr(0, ende);
        rest = ende == std::string_view::npos ? std::string_view() : rest.substr(ende + 1);
        if (zeile.ends_with('\r')) zeile.remove_suffix(1);
        if (zeile.starts_with('[') && zeile.ends_with(']')) {
            abschnitt = std::string(zeile.substr(1, zeile.size() - 2));
            continue;
        }
        const auto gleich = zeile.find('=');
        if (gleich == std::string_view::npos) continue;
        const std::string name(zeile.substr(0, gleich));
        const std::string wert(zeile.substr(gleich + 1));
        Zugang& z = e.zugang;
        if (abschnitt == "Veroeffentlichen") {
            if (name == "Protokoll") {
                for (const auto& [p, n] : kProtokolle)
                    if (wert == n) z.protokoll = p;
            } else if (name == "Server") {
                z.server = wert;
            } else if (name == "Port") {
                try {
                    z.port = std::stoi(wert);
                } catch (const std::exception&) {
                }
            } else if (name == "Benutzer") {
                z.benutzer = wert;
            } else if (name == "Schluessel") {
                z.schluessel = wert;
            } else if (name == "Ordner") {
                z.ordner = wert;
            } else if (name == "Adresse") {
                e.adresse = wert;
            } else if (name == "Verbindungen") {
                try {
                    e.verbindungen = VerbindungenBegrenzt(std::stoi(wert));
                } catch (const std::exception&) {
                }
            }
        } else if (abschnitt == "Hostschluessel") {
            e.vertrauen.hostSchluessel[name] = wert;
        } else if (abschnitt == "Zertifikate") {
            // "<fingerprint> <pin>", and " System" when the store vouched for it.
            const auto leer = wert.find(' ');
            if (leer == std::string::npos) continue;
            std::string pin = wert.substr(leer + 1);
            const bool system = pin.ends_with(" System");
            if (system) pin.resize(pin.size() - 7);
            e.vertrauen.zertifikate[name] = {wert.substr(0, leer), pin, system};
        }
    }
    return e;
}

void EinstellungenSchreiben(const std::string& pfad, const VeroeffentlichenEinstellungen& e) {
    // One line each: a line break typed into a field must not start another.
    auto zeile = [](std::string_view name, std::string wert) {
        std::erase_if(wert, [](char c) { return c == '\r' || c == '\n'; });
        return std::string(name) + "=" + wert + "\r\n";
    };
    const Zugang& z = e.zugang;
    std::string text = "[Veroeffentlichen]\r\n";
    for (const auto& [p, n] : kProtokolle)
        if (p == z.protokoll) text += zeile("Protokoll", n);
    text += zeile("Server", z.server) + zeile("Port", std::to_string(z.port)) +
            zeile("Benutzer", z.benutzer) + zeile("Schluessel", z.schluessel) +
            zeile("Ordner", z.ordner) + zeile("Adresse", e.adresse) +
            zeile("Verbindungen", std::to_string(VerbindungenBegrenzt(e.verbindungen)));
    text += "\r\n[Hostschluessel]\r\n";
    for (const auto& [wer, schluessel] : e.vertrauen.hostSchluessel) text += zeile(wer, schluessel);
    text += "\r\n[Zertifikate]\r\n";
    for (const auto& [wer, zert] : e.vertrauen.zertifikate)
        text += zeile(wer, zert.fingerabdruck + " " + zert.pin +
                            (zert.vomSystem ? " System" : ""));
    // Server, user and trusted keys are nobody else's business.
    NeueDatei datei(pfad, 0600);
    datei.Schreiben(text);
    datei.Abschliessen();
}

bool StartseiteFehlt(const std::string& neu) {
    return !DateiExistiert(neu + "/index.html");
}

void StartseiteAnlegen(const std::string& neu, const std::string& ersteSeite) {
    const std::string ziel = AttributWert(ersteSeite);
    const std::string text = std::string(kSeitenAnfang) +
                             "    <meta http-equiv=\"refresh\" content=\"0; url=" + ziel +
                             "\" />\r\n"
                             "    <title>Meine Homepage</title>\r\n"
                             "  </head>\r\n"
                             "  <body>\r\n"
                             "    <p><a href=\"" +
                             ziel + "\">" + W("Weiter zur Startseite") +
                             "</a></p>\r\n"
                             "  </body>\r\n"
                             "</html>\r\n";
    TextSchreiben(neu + "/index.html", text);
}

}  // namespace lw
