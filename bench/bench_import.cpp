// Importing 50 pages from the loopback provider with SeitenImportieren,
// against one curl process that fetches the same 50 addresses one after the
// other through the same proxy and writes each into a file.

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/Messung.h"
#include "bench/Texte.h"
#include "import/Import.h"
#include "import/Konfiguration.h"
#include "tests/support/HttpServer.h"
#include "tests/support/TempOrdner.h"

namespace {

namespace fs = std::filesystem;
using namespace lw;
using namespace lw::bench;

constexpr int kSeiten = 50;
const std::string kBenutzer = "anna";

std::string Genau(std::string s, std::size_t n) {
    s.resize(n, ' ');
    return s;
}

// A page in the provider's design: frame, advertising above and below the
// contents, counter, and 20 to 50 KB in all.
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
    const std::size_t inhalt = 20000 + static_cast<std::size_t>(i * 30000 / kSeiten);
    return kopf + rahmen + werbeKopf + Inhalt(inhalt, static_cast<unsigned>(i)) + werbeFuss + fuss;
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

void ProxySetzen(const test::HttpServer& server) {
    for (const char* name :
         {"HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY", "NO_PROXY"})
        ::unsetenv(name);
    ::setenv("http_proxy", server.basis().c_str(), 1);
    ::setenv("no_proxy", "", 1);
}

int Laufen(int wiederholungen) {
    test::HttpServer server;
    ProxySetzen(server);
    std::size_t bytes = 0;
    for (int i = 1; i <= kSeiten; ++i) {
        std::string seite = ProviderSeite(i);
        bytes += seite.size();
        server.Setzen(Adresse(SeitenName(i)), test::Antwort::Seite(std::move(seite)));
    }
    const std::string startseite = Startseite();

    test::TempOrdner arbeit;
    Projektdaten daten;
    daten.Zielordner = arbeit.pfad();
    const std::string kopie = arbeit / "curl";
    std::vector<std::string> curl = {"curl", "--silent", "--show-error", "--fail"};
    for (int i = 1; i <= kSeiten; ++i) {
        curl.push_back("--output");
        curl.push_back(kopie + "/" + SeitenName(i));
        curl.push_back(Adresse(SeitenName(i)));
    }

    const auto leeren = [&] {
        fs::remove_all(arbeit / "Alt");
        fs::remove_all(kopie);
        AltOrdnerErzeugen(daten.Zielordner);
        fs::create_directory(kopie);
    };
    const Paar paar = Abwechselnd(
        wiederholungen, leeren,
        [&] { return Dauer([&] { SeitenImportieren(daten, startseite, kBenutzer, {}); }); },
        [&] { return Dauer([&] { AusfuehrenErfolgreich(curl); }); });

    // Every page must go both ways, all through the loopback server.
    leeren();
    SeitenImportieren(daten, startseite, kBenutzer, {});
    AusfuehrenErfolgreich(curl);
    const auto zaehlen = [](const std::string& ordner) {
        return std::distance(fs::directory_iterator(ordner), fs::directory_iterator());
    };
    if (daten.ImportAnzahl != kSeiten || zaehlen(arbeit / "Alt") != kSeiten ||
        zaehlen(kopie) != kSeiten ||
        server.Anfragen().size() != 2u * kSeiten * static_cast<unsigned>(wiederholungen + 1))
        throw std::runtime_error(
            "not every page was fetched: " + std::to_string(daten.ImportAnzahl) + " names, " +
            std::to_string(zaehlen(arbeit / "Alt")) + " files, " + std::to_string(zaehlen(kopie)) +
            " copies, " + std::to_string(server.Anfragen().size()) + " requests");

    std::printf(
        "%d Seiten, zusammen %.0f KB, über http_proxy auf 127.0.0.1; Vergleich: ein "
        "curl-Prozess mit allen %d Adressen nacheinander, jede in eine Datei; "
        "%d Durchgänge je Seite\n",
        kSeiten, static_cast<double>(bytes) / 1000, kSeiten, wiederholungen);
    const bool ok = Urteil("Import (SeitenImportieren) gegen curl", Median(paar.eigen) * 1000,
                           Median(paar.vergleich) * 1000, 1.1, "ms");
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Laufen(Wiederholungen(argc, argv, 15));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_import: %s\n", e.what());
        return 2;
    }
}
