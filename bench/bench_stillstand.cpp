// How long the windows would go without events while a download waits: the
// longest gap between two calls of LadeURL's Zwischenschritt (counted from
// the start of the download to its end) while the loopback server stalls for
// 10 s, once in the middle of a body and once without any answer. The stall
// limit lies above the stall, so the server ends it by closing the connection.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "bench/Messung.h"
#include "import/LadeURL.h"
#include "tests/support/HttpServer.h"

namespace {

using namespace lw;
using namespace lw::bench;

constexpr auto kStillstand = std::chrono::seconds(10);

struct Lauf {
    double laengsteLuecke = 0;  // seconds
    double dauer = 0;           // seconds
    std::size_t aufrufe = 0;
};

Lauf Messen(const test::Antwort& antwort) {
    std::optional<test::HttpServer> server(std::in_place);
    server->Setzen("/stockt", antwort);
    const std::string url = server->basis() + "/stockt";
    LadeGrenzen grenzen;
    grenzen.stillstandsFrist = kStillstand + std::chrono::seconds(2);

    std::vector<double> zeiten = {Jetzt()};
    // Ending the server closes its connections: that ends the stall.
    std::thread schluss([&server] {
        std::this_thread::sleep_for(kStillstand);
        server.reset();
    });
    LadeURL(
        url, [&zeiten] { zeiten.push_back(Jetzt()); }, grenzen);
    zeiten.push_back(Jetzt());
    schluss.join();

    Lauf lauf;
    lauf.aufrufe = zeiten.size() - 2;
    lauf.dauer = zeiten.back() - zeiten.front();
    for (std::size_t i = 1; i < zeiten.size(); ++i)
        lauf.laengsteLuecke = std::max(lauf.laengsteLuecke, zeiten[i] - zeiten[i - 1]);
    if (lauf.dauer < 0.9 * static_cast<double>(kStillstand.count()))
        throw std::runtime_error("the download did not wait for the stall");
    return lauf;
}

int Laufen(int wiederholungen) {
    const test::ProxyUmgebung ohneProxy;
    {
        // libcurl is loaded with the first download; that is no wait.
        test::HttpServer server;
        server.Setzen("/", test::Antwort::Seite("x"));
        LadeURL(server.basis() + "/");
    }

    struct Art {
        const char* name;
        test::Antwort antwort;
    };
    const Art arten[] = {
        {"Stillstand im Körper", test::Antwort::Stockend(std::string(100'000, 'x'), 50'000)},
        {"keine Antwort", test::Antwort::Stumm()},
    };
    std::printf(
        "Längste Lücke zwischen zwei Aufrufen des Zwischenschritts, Server steht %lld s still "
        "(Stillstandsfrist %lld s), %d Läufe je Art\n",
        static_cast<long long>(kStillstand.count()),
        static_cast<long long>(kStillstand.count()) + 2, wiederholungen);
    double schlimmste = 0;
    const char* schlimmsteArt = arten[0].name;
    for (const auto& art : arten) {
        std::vector<double> luecken;
        std::string einzeln;
        for (int i = 0; i < wiederholungen; ++i) {
            const Lauf lauf = Messen(art.antwort);
            luecken.push_back(lauf.laengsteLuecke);
            char text[96];
            std::snprintf(text, sizeof text, "%s%.0f ms (%zu Aufrufe in %.1f s)",
                          einzeln.empty() ? "" : ", ", lauf.laengsteLuecke * 1000, lauf.aufrufe,
                          lauf.dauer);
            einzeln += text;
        }
        std::printf("  %s: %s\n", art.name, einzeln.c_str());
        if (Median(luecken) >= schlimmste) {
            schlimmste = Median(luecken);
            schlimmsteArt = art.name;
        }
    }
    const bool ok = Grenze(
        std::string("Längste Lücke zwischen Zwischenschritten (Median, ") + schlimmsteArt + ")",
        schlimmste * 1000, 200, "ms");
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Laufen(Wiederholungen(argc, argv, 3));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_stillstand: %s\n", e.what());
        return 2;
    }
}
