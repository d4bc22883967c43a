// Importing 50 pages of 200 KiB from the loopback provider as the user starts
// it (the start page, then every page of its menu, with SeitenImportieren),
// against one curl process that fetches the same 51 addresses one after the
// other through the same proxy and writes each into a file. The server keeps
// its connections alive, so curl sends all requests over one connection; the
// import is measured as a process of its own too, so that both sides pay for
// starting and for loading libcurl once.
//
// Then the import's text work on the same pages (the provider markers, the
// cut and the picture scan) against seven memmem calls per page, in this
// process.

#include <string.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/Messung.h"
#include "bench/Texte.h"
#include "common/Dateien.h"
#include "import/Import.h"
#include "import/Konfiguration.h"
#include "tests/support/HttpServer.h"
#include "tests/support/TempOrdner.h"

namespace {

namespace fs = std::filesystem;
using namespace lw;
using namespace lw::bench;

constexpr int kSeiten = 50;
constexpr std::size_t kSeitenBytes = 200 * 1024;
const std::string kBenutzer = "anna";
const char* const kEinImport = "--importieren";

std::string Genau(std::string s, std::size_t n) {
    s.resize(n, ' ');
    return s;
}

// A page in the provider's design: frame, advertising above and below the
// contents, counter; the contents fill it up to kSeitenBytes.
std::string ProviderSeite(int i) {
    const std::string werbung = std::string("http://") + konfiguration::AdServerHost + "/adx.js";
    const std::string kopf =
        "<html><head><title>Meine Seite</title>"
        "<meta name=\"generator\" content=\"NETZHOF, http://www." +
        std::string(konfiguration::ProviderDomain) +
        "/\"></head>\n<body><table width=\"800\"><tr><td><table><tr><td>"
        "<img src=\"data/tdef/tp008/pa0.png\">\n";
    const std::string rahmen = "</td></tr></table></td><td background=\"data/tdef/" +
                               Genau("tp008/pa1.png\" width=\"600\" valign=\"top\"", 86) + ">";
    const std::string werbeKopf = "<center>\n<script src=\"" + werbung +
                                  "\"></script>\n<noscript>Werbung</noscript>\n</center>" +
                                  Genau("<br><!-- Werbung Ende -->", 61);
    const std::string werbeFuss = Genau("<br><!-- Werbung Anfang -->", 65) +
                                  "<center>\n<script src=\"" + werbung +
                                  "\"></script>\n</center>\n";
    const std::string fuss =
        Genau("<br><br>", 10) +
        "<script language=\"JavaScript\" src=\"data/jsdef/count.js\"></script>\n"
        "</td></tr></table></body></html>\n";
    const std::size_t rest =
        kopf.size() + rahmen.size() + werbeKopf.size() + werbeFuss.size() + fuss.size();
    return kopf + rahmen + werbeKopf + Inhalt(kSeitenBytes - rest, static_cast<unsigned>(i)) +
           werbeFuss + fuss;
}

std::string SeitenName(int i) {
    return "seite" + std::to_string(i) + ".html";
}

std::string Adresse(const std::string& name) {
    return "http://www." + kBenutzer + konfiguration::DownloadDomain + "/" + name;
}

std::string Startseite() {
    std::string s = "<html><body><table>\n";
    for (int i = 1; i <= kSeiten; ++i)
        s += "<tr><td><a href=\"" + SeitenName(i) + "\"><img src=\"data/pics/m" +
             std::to_string(i) + ".png\" border=\"0\"></a></td></tr>\n";
    return s + "</table></body></html>\n";
}

// The child's side: one import into zielordner (whose Alt exists), through
// the http_proxy it inherited.
int EinImport(const std::string& zielordner) {
    Projektdaten daten;
    daten.Zielordner = zielordner;
    LadeSitzung sitzung;
    const std::string startseite = sitzung.Laden(StartseitenAdresse(kBenutzer));
    ImportRueckmeldung rueckmeldung;
    rueckmeldung.sitzung = &sitzung;
    const ImportErgebnis ergebnis = SeitenImportieren(daten, startseite, kBenutzer, rueckmeldung);
    if (daten.ImportAnzahl != kSeiten || !ergebnis.fehlgeschlagen.empty() || ergebnis.abgebrochen) {
        std::fprintf(stderr, "bench_import: %d pages, %zu failed\n", daten.ImportAnzahl,
                     ergebnis.fehlgeschlagen.size());
        return 3;
    }
    return 0;
}

// Connections the server accepted so far; servers that cannot count them
// give nothing.
template <class Server>
long long Verbindungen(const Server& server) {
    if constexpr (requires { server.AnzahlVerbindungen(); })
        return static_cast<long long>(server.AnzahlVerbindungen());
    else
        return -1;
}

std::string Aufzaehlung(const std::vector<long long>& werte) {
    std::string text;
    for (const long long w : werte) {
        if (!text.empty()) text += ' ';
        text += std::to_string(w);
    }
    return text;
}

// The provider markers, the cut and the picture scan on every page, against
// seven memmem calls per page over the whole page; the median of the rounds.
bool Textarbeit(int wiederholungen) {
    std::vector<std::string> seiten;
    for (int i = 1; i <= kSeiten; ++i) seiten.push_back(ProviderSeite(i));
    const std::string marken[] = {"<img src=\"data/pics/impress.png\"",
                                  "<h1>Haftungsauschluss (Disclaimer)</h1>",
                                  "<h1>Kontaktformular</h1>",
                                  std::string("<form action=\"http://") +
                                      konfiguration::GuestbookHost +
                                      "/guestbook.php\" method=\"POST\">",
                                  "</td></tr></table></td><td background=\"data/tdef/",
                                  "<script language=\"JavaScript\" src=\"data/jsdef/count.js\"",
                                  std::string("http://") + konfiguration::AdServerHost + "/adx.js"};
    std::size_t summe = 0;  // keeps the work from being left out
    std::vector<std::string_view> adressen;
    std::vector<double> rechenzeitEigen, rechenzeitVergleich;
    const auto mitRechenzeit = [](std::vector<double>& rechenzeit, const auto& schritt) {
        const double vorher = Rechenzeit();
        const double d = Dauer(schritt);
        rechenzeit.push_back(Rechenzeit() - vorher);
        return d;
    };
    const Paar paar = Abwechselnd(
        wiederholungen, [] {},
        [&] {
            return mitRechenzeit(rechenzeitEigen, [&] {
                for (const std::string& seite : seiten) {
                    summe += IstAnbieterFunktion(seite);
                    const std::string_view inhalt = InhaltsBereich(seite);
                    adressen.clear();
                    BildAdressenSammeln(inhalt, adressen);
                    summe += inhalt.size() + adressen.size();
                }
            });
        },
        [&] {
            return mitRechenzeit(rechenzeitVergleich, [&] {
                for (const std::string& seite : seiten)
                    for (const std::string& marke : marken)
                        summe += ::memmem(seite.data(), seite.size(), marke.data(), marke.size()) !=
                                 nullptr;
            });
        });
    std::printf(
        "Textarbeit des Imports auf %d Seiten zu %zu KiB (Anbietermarken, Schnitt, Bildsuche) "
        "gegen sieben memmem-Aufrufe je Seite; %d Durchgänge je Seite (Prüfsumme %zu)\n",
        kSeiten, kSeitenBytes / 1024, wiederholungen, summe);
    std::printf("  Rechenzeit (Median): Import %.2f ms, memmem %.2f ms\n",
                Median(rechenzeitEigen) * 1000, Median(rechenzeitVergleich) * 1000);
    return Urteil("Textarbeit des Imports gegen sieben memmem-Aufrufe je Seite",
                  Median(paar.eigen) * 1000, Median(paar.vergleich) * 1000, 1.5, "ms");
}

int Laufen(int wiederholungen) {
    test::HttpServer server;
    const test::ProxyUmgebung proxy(server);
    std::size_t bytes = 0;
    const std::string start = Startseite();
    bytes += start.size();
    server.Setzen(Adresse("index.html"), test::Antwort::Seite(start));
    for (int i = 1; i <= kSeiten; ++i) {
        std::string seite = ProviderSeite(i);
        bytes += seite.size();
        server.Setzen(Adresse(SeitenName(i)), test::Antwort::Seite(std::move(seite)));
    }

    test::TempOrdner arbeit;
    const std::string kopie = arbeit / "curl";
    const std::vector<std::string> einImport = {ProgrammOrdner() + "/bench_import", kEinImport,
                                                arbeit.pfad()};
    std::vector<std::string> curl = {"curl",
                                     "--silent",
                                     "--show-error",
                                     "--fail",
                                     "--user-agent",
                                     "InetURL:/1.0",
                                     "--header",
                                     "Cache-Control: no-cache",
                                     "--header",
                                     "Pragma: no-cache",
                                     "--output",
                                     kopie + "/index.html",
                                     Adresse("index.html")};
    for (int i = 1; i <= kSeiten; ++i) {
        curl.push_back("--output");
        curl.push_back(kopie + "/" + SeitenName(i));
        curl.push_back(Adresse(SeitenName(i)));
    }

    const auto leeren = [&] {
        fs::remove_all(arbeit / "Alt");
        fs::remove_all(kopie);
        AltOrdnerErzeugen(arbeit.pfad());
        fs::create_directory(kopie);
    };
    // Every page must arrive both ways (the import keeps the start page in
    // memory), all through the loopback server, and each side must have used
    // one connection for all of them.
    std::vector<long long> verbindungenEigen, verbindungenCurl;
    std::vector<double> rechenzeitEigen, rechenzeitCurl;
    const auto zaehlen = [](const std::string& ordner) {
        return std::distance(fs::directory_iterator(ordner), fs::directory_iterator());
    };
    const auto messen = [&](const std::vector<std::string>& programm, const std::string& ordner,
                            long long dateien, std::vector<long long>& verbindungen,
                            std::vector<double>& rechenzeit) {
        const std::size_t anfragen = server.Anfragen().size();
        const long long vorher = Verbindungen(server);
        Kind kind;
        const double d = Dauer([&] { kind = AusfuehrenErfolgreich(programm); });
        if (zaehlen(ordner) != dateien || server.Anfragen().size() != anfragen + kSeiten + 1)
            throw std::runtime_error(
                programm[0] + " did not fetch every page: " + std::to_string(zaehlen(ordner)) +
                " files, " + std::to_string(server.Anfragen().size() - anfragen) + " requests");
        if (vorher >= 0) verbindungen.push_back(Verbindungen(server) - vorher);
        rechenzeit.push_back(Rechenzeit(kind.verbrauch));
        return d;
    };
    const auto eigen = [&] {
        return messen(einImport, arbeit / "Alt", kSeiten, verbindungenEigen, rechenzeitEigen);
    };
    const auto vergleich = [&] {
        return messen(curl, kopie, kSeiten + 1, verbindungenCurl, rechenzeitCurl);
    };
    // Once each untimed, for the caches of the libraries and the disk.
    leeren();
    eigen();
    vergleich();
    verbindungenEigen.clear();
    verbindungenCurl.clear();
    rechenzeitEigen.clear();
    rechenzeitCurl.clear();

    const Paar paar = Abwechselnd(wiederholungen, leeren, eigen, vergleich);

    std::printf(
        "Startseite und %d Seiten, zusammen %.0f KiB, über http_proxy auf 127.0.0.1; "
        "Vergleich: ein curl-Prozess mit allen %d Adressen nacheinander, jede in eine Datei; "
        "beide als eigener Prozess; %d Durchgänge je Seite nach je einem ungezählten\n",
        kSeiten, static_cast<double>(bytes) / 1024, kSeiten + 1, wiederholungen);
    std::printf("  Rechenzeit (Median): Import %.1f ms, curl %.1f ms\n",
                Median(rechenzeitEigen) * 1000, Median(rechenzeitCurl) * 1000);
    bool fair = true;
    if (verbindungenCurl.empty()) {
        std::printf("Verbindungen: vom Server nicht gezählt\n");
    } else {
        std::printf("Verbindungen je Durchgang: Import %s; curl %s\n",
                    Aufzaehlung(verbindungenEigen).c_str(), Aufzaehlung(verbindungenCurl).c_str());
        for (const long long v : verbindungenCurl) fair = fair && v == 1;
        if (!fair)
            std::printf("Der Vergleich ist nicht fair: curl hat nicht eine Verbindung benutzt\n");
        for (const long long v : verbindungenEigen)
            if (v != 1) std::printf("Der Import hat mehr als eine Verbindung benutzt\n");
    }
    const bool ok = Urteil(std::string("Import (Startseite und SeitenImportieren) gegen curl") +
                               (fair ? "" : " (kein fairer Vergleich)"),
                           Median(paar.eigen) * 1000, Median(paar.vergleich) * 1000, 1.1, "ms");
    std::printf("\n");
    const bool text = Textarbeit(wiederholungen * 2);
    return ok && fair && text ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 3 && std::strcmp(argv[1], kEinImport) == 0) return EinImport(argv[2]);
        return Laufen(Wiederholungen(argc, argv, 15));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_import: %s\n", e.what());
        return 2;
    }
}
