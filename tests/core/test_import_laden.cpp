#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "import/LadeURL.h"
#include "tests/support/HttpServer.h"
#include "tests/support/TempOrdner.h"

namespace lw {
namespace {

using test::Antwort;
using namespace std::chrono_literals;

const std::string kSeiten = "http://www.anna.netzhof-download.de/";

class Download : public ::testing::Test {
protected:
    // Through the loopback server from here on.
    void UeberServer() { umleitung_.emplace(server); }
    static LadeGrenzen Kurz() {
        LadeGrenzen g;
        g.verbindungsFrist = 2s;
        g.stillstandsFrist = 1s;
        return g;
    }

    test::HttpServer server;

private:
    test::ProxyUmgebung ohneProxy_;
    std::optional<test::ProxyUmgebung> umleitung_;
};

TEST(AdresseMitSchema, PrefixOnlyWithoutHttpAnywhere) {
    const struct {
        const char* name;
        std::string url, erwartet;
    } faelle[] = {
        {"no scheme", "www.anna.de/a.html", "http://www.anna.de/a.html"},
        {"capitals", "HTTP://www.anna.de/", "HTTP://www.anna.de/"},
        {"mixed case", "hTTp://www.anna.de/", "hTTp://www.anna.de/"},
        {"not at start", "www.anna.de/?z=http://x.de", "www.anna.de/?z=http://x.de"},
        {"https is no http://", "https://anna.de/", "http://https://anna.de/"},
        {"empty", "", "http://"},
    };
    for (const auto& f : faelle) EXPECT_EQ(AdresseMitSchema(f.url), f.erwartet) << f.name;
}

TEST_F(Download, SendsAgentAndCacheBypassThroughProxy) {
    UeberServer();
    server.Setzen(kSeiten + "seite.html", Antwort::Seite("Hallo"));
    EXPECT_EQ(LadeURL("www.anna.netzhof-download.de/seite.html"), "Hallo");

    const auto anfragen = server.Anfragen();
    ASSERT_EQ(anfragen.size(), 1u);
    EXPECT_EQ(anfragen[0].methode, "GET");
    EXPECT_EQ(anfragen[0].ziel, kSeiten + "seite.html");
    EXPECT_EQ(anfragen[0].userAgent, "InetURL:/1.0");
    EXPECT_EQ(anfragen[0].cacheControl, "no-cache");
    EXPECT_EQ(anfragen[0].pragma, "no-cache");
    int pragmas = 0;
    for (const auto& [name, wert] : anfragen[0].kopfzeilen) {
        pragmas += name == "Pragma";
        EXPECT_NE(name, "Cookie");
    }
    EXPECT_EQ(pragmas, 1);
}

TEST_F(Download, StatusRule) {
    UeberServer();
    const struct {
        const char* name;
        Antwort antwort;
        std::string erwartet;
    } faelle[] = {
        {"404", Antwort::MitStatus(404, "weg"), "Status:404"},
        {"500 with body", Antwort::MitStatus(500, "kaputt"), "Status:500"},
        {"204", Antwort::MitStatus(204), "Status:204"},
        {"302 without Location is read", Antwort::MitStatus(302, "hier"), "hier"},
        {"empty 200", Antwort::Seite(""), ""},
        {"no status line", Antwort::Roh("Hallo Welt\r\n\r\n"), ""},
        {"closed without answer", Antwort::Roh(""), ""},
    };
    int i = 0;
    for (const auto& f : faelle) {
        const std::string ziel = kSeiten + "s" + std::to_string(++i) + ".html";
        server.Setzen(ziel, f.antwort);
        EXPECT_EQ(LadeURL(ziel, {}, Kurz()), f.erwartet) << f.name;
    }
}

TEST_F(Download, UnreachableGivesEmptyText) {
    EXPECT_EQ(LadeURL("http://127.0.0.1:" + std::to_string(test::FreierPort()) + "/"), "");
    // A proxy that is not there is no answer either.
    ::setenv("http_proxy", ("http://127.0.0.1:" + std::to_string(test::FreierPort())).c_str(), 1);
    EXPECT_EQ(LadeURL(kSeiten + "seite.html"), "");
}

TEST_F(Download, NoProxyIsHonoured) {
    test::HttpServer direkt;
    direkt.Setzen("/d.html", Antwort::Seite("direkt"));
    UeberServer();
    ::setenv("no_proxy", "127.0.0.1", 1);
    EXPECT_EQ(LadeURL(direkt.basis() + "/d.html"), "direkt");
    EXPECT_TRUE(server.Anfragen().empty());
}

// Every byte arrives in its order, zero bytes and bytes above 127 included.
TEST_F(Download, LargeBinaryBodyWhole) {
    UeberServer();
    std::string koerper(100'000, '\0');
    for (std::size_t i = 0; i < koerper.size(); ++i)
        koerper[i] = static_cast<char>((i * 7 + i / 251) % 256);
    server.Setzen(kSeiten + "gross.html", Antwort::Seite(koerper));
    server.Setzen(kSeiten + "null.html", Antwort::Seite(std::string("vor\0nach\r\n\xFC", 12)));

    int schritte = 0;
    const std::string gross = LadeURL(kSeiten + "gross.html", [&] { ++schritte; });
    EXPECT_EQ(gross.size(), koerper.size());
    EXPECT_TRUE(gross == koerper);
    EXPECT_GE(schritte, 2);
    EXPECT_EQ(LadeURL(kSeiten + "null.html"), std::string("vor\0nach\r\n\xFC", 12));
}

// The body of another status is not waited for: the server stalls in it.
TEST_F(Download, OtherStatusBodyIsNotRead) {
    UeberServer();
    Antwort weg = Antwort::Stockend(std::string(50'000, 'x'), 1000);
    weg.status = 404;
    server.Setzen(kSeiten + "weg.html", weg);
    LadeGrenzen g;
    g.stillstandsFrist = 60s;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(LadeURL(kSeiten + "weg.html", {}, g), "Status:404");
    EXPECT_LT(std::chrono::steady_clock::now() - start, 30s);
}

TEST_F(Download, RedirectionsFollowedWithinBounds) {
    UeberServer();
    server.Setzen(kSeiten + "alt.html", Antwort::Umleitung("/neu.html", 302, "umgezogen"));
    server.Setzen(kSeiten + "neu.html", Antwort::Seite("neu"));
    EXPECT_EQ(LadeURL(kSeiten + "alt.html"), "neu");
    ASSERT_EQ(server.Anfragen().size(), 2u);
    EXPECT_EQ(server.Anfragen()[1].ziel, kSeiten + "neu.html");
    EXPECT_EQ(server.Anfragen()[1].userAgent, "InetURL:/1.0");

    server.Setzen(kSeiten + "kreis.html", Antwort::Umleitung("/kreis.html"));
    EXPECT_EQ(LadeURL(kSeiten + "kreis.html"), "");
    EXPECT_EQ(server.AnzahlAnfragen(kSeiten + "kreis.html"), 6u);
}

// A redirection must not read local files or switch to other protocols.
TEST_F(Download, RedirectionOnlyToHttp) {
    UeberServer();
    test::TempOrdner t;
    test::Schreiben(t / "geheim.txt", "GEHEIM");
    server.Setzen(kSeiten + "datei.html", Antwort::Umleitung("file://" + (t / "geheim.txt")));
    server.Setzen(kSeiten + "ftp.html", Antwort::Umleitung("ftp://127.0.0.1:1/x"));
    EXPECT_EQ(LadeURL(kSeiten + "datei.html"), "");
    EXPECT_EQ(LadeURL(kSeiten + "ftp.html"), "");
}

TEST_F(Download, BrokenOffBodyKeepsWhatArrived) {
    UeberServer();
    std::string koerper(10'000, 'a');
    for (std::size_t i = 0; i < koerper.size(); ++i) koerper[i] = static_cast<char>('a' + i % 26);
    server.Setzen(kSeiten + "ende.html", Antwort::Abbrechend(koerper, 3000));
    server.Setzen(kSeiten + "stockt.html", Antwort::Stockend(koerper, 2500));
    EXPECT_EQ(LadeURL(kSeiten + "ende.html", {}, Kurz()), koerper.substr(0, 3000));
    EXPECT_EQ(LadeURL(kSeiten + "stockt.html", {}, Kurz()), koerper.substr(0, 2500));

    LadeGrenzen klein = Kurz();
    klein.hoechstGroesse = 1000;
    server.Setzen(kSeiten + "voll.html", Antwort::Seite(koerper));
    EXPECT_EQ(LadeURL(kSeiten + "voll.html", {}, klein), koerper.substr(0, 1000));
}

// Neither a server that never answers nor a connect that never completes may
// keep the program waiting; the bounds here are far below the waits they guard.
TEST_F(Download, SilenceAndHangingConnectEnd) {
    UeberServer();
    server.Setzen(kSeiten + "stumm.html", Antwort::Stumm());
    EXPECT_EQ(LadeURL(kSeiten + "stumm.html", {}, Kurz()), "");

    ::unsetenv("http_proxy");
    test::VollerPort voll;
    LadeGrenzen g;
    g.verbindungsFrist = 300ms;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(LadeURL("http://127.0.0.1:" + std::to_string(voll.port()) + "/", {}, g), "");
    const auto dauer = std::chrono::steady_clock::now() - start;
    // Not sooner: the connect really waited and the bound ended it.
    EXPECT_GE(dauer, 250ms);
    EXPECT_LT(dauer, 30s);
}

TEST_F(Download, FailingStepReachesCaller) {
    UeberServer();
    server.Setzen(kSeiten + "seite.html", Antwort::Seite(std::string(20'000, 'x')));
    EXPECT_THROW(LadeURL(kSeiten + "seite.html", [] { throw std::runtime_error("abbrechen"); }),
                 std::runtime_error);
}

// One import's pages travel over one kept-alive connection, yet each request
// still carries the cache bypass and the user agent.
TEST_F(Download, SessionKeepsOneConnection) {
    UeberServer();
    std::vector<std::string> koerper;
    for (int i = 0; i < 20; ++i) {
        // Sizes go up and down: a shorter page in the caller's kept buffer
        // must show nothing of the longer one before.
        koerper.push_back(
            std::string(static_cast<std::size_t>((i * 7919) % 40'000), static_cast<char>('a' + i)));
        server.Setzen(kSeiten + "p" + std::to_string(i) + ".html", Antwort::Seite(koerper.back()));
    }
    // However fast a page comes, the windows get their turn with it.
    int schritte = 0;
    LadeSitzung sitzung([&] { ++schritte; });
    std::string puffer;
    for (int i = 0; i < 20; ++i) {
        const std::string url = kSeiten + "p" + std::to_string(i) + ".html";
        if (i % 2) {
            sitzung.Laden(url, puffer);
            EXPECT_EQ(puffer, koerper[i]) << i;
        } else {
            EXPECT_EQ(sitzung.Laden(url), koerper[i]) << i;
        }
    }
    EXPECT_EQ(server.AnzahlVerbindungen(), 1u);
    EXPECT_GE(schritte, 20);
    const auto anfragen = server.Anfragen();
    ASSERT_EQ(anfragen.size(), 20u);
    for (const auto& a : anfragen) {
        EXPECT_EQ(a.userAgent, "InetURL:/1.0") << a.ziel;
        EXPECT_EQ(a.cacheControl, "no-cache") << a.ziel;
        EXPECT_EQ(a.pragma, "no-cache") << a.ziel;
    }
}

// After every kind of failed request the session still fetches the next page.
TEST_F(Download, SessionUsableAfterFailure) {
    UeberServer();
    std::string koerper(10'000, 'a');
    for (std::size_t i = 0; i < koerper.size(); ++i) koerper[i] = static_cast<char>('a' + i % 26);
    server.Setzen(kSeiten + "gut.html", Antwort::Seite("gut"));
    server.Setzen(kSeiten + "ende.html", Antwort::Abbrechend(koerper, 3000));
    server.Setzen(kSeiten + "stockt.html", Antwort::Stockend(koerper, 2500));
    server.Setzen(kSeiten + "gross.html", Antwort::Seite(koerper));
    server.Setzen(kSeiten + "roh.html", Antwort::Roh("kein HTTP"));

    bool werfen = false;
    LadeSitzung sitzung(
        [&] {
            if (werfen) throw std::runtime_error("abbrechen");
        },
        Kurz());
    // Whether the whole answer came: a status text counts as whole.
    const struct {
        const char* name;
        std::string seite;
        std::size_t hoechstGroesse;
        std::string erwartet;
        bool vollstaendig;
    } faelle[] = {
        {"broken off", "ende.html", 1'000'000, koerper.substr(0, 3000), false},
        {"stalled", "stockt.html", 1'000'000, koerper.substr(0, 2500), false},
        {"cut at the bound", "gross.html", 1000, koerper.substr(0, 1000), false},
        {"exactly the bound", "gross.html", koerper.size(), koerper, true},
        {"no status line", "roh.html", 1'000'000, "", false},
        {"not found", "fehlt.html", 1'000'000, "Status:404", true},
    };
    for (const auto& f : faelle) {
        EXPECT_EQ(sitzung.Laden(kSeiten + f.seite, f.hoechstGroesse), f.erwartet) << f.name;
        EXPECT_EQ(sitzung.LetzteVollstaendig(), f.vollstaendig) << f.name;
        EXPECT_EQ(sitzung.Laden(kSeiten + "gut.html"), "gut") << f.name;
        EXPECT_TRUE(sitzung.LetzteVollstaendig()) << f.name;
    }
    werfen = true;
    EXPECT_THROW(sitzung.Laden(kSeiten + "stockt.html"), std::runtime_error);
    werfen = false;
    EXPECT_EQ(sitzung.Laden(kSeiten + "gross.html"), koerper);

    ::setenv("http_proxy", ("http://127.0.0.1:" + std::to_string(test::FreierPort())).c_str(), 1);
    EXPECT_EQ(sitzung.Laden(kSeiten + "gut.html"), "");
    UeberServer();
    EXPECT_EQ(sitzung.Laden(kSeiten + "gut.html"), "gut");
}

// A stop answered while a server stalls abandons the download at once, as a
// failed one; the session then fetches the next page as before.
TEST_F(Download, StopAbandonsTheDownloadAtOnce) {
    UeberServer();
    server.Setzen(kSeiten + "stockt.html", Antwort::Stockend(std::string(10'000, 's'), 2500));
    server.Setzen(kSeiten + "stumm.html", Antwort::Stumm());
    server.Setzen(kSeiten + "gut.html", Antwort::Seite("gut"));
    using Uhr = std::chrono::steady_clock;
    std::optional<Uhr::time_point> stoppAb;
    LadeGrenzen g;
    g.stillstandsFrist = 60s;
    LadeSitzung sitzung({}, g, [&] { return stoppAb && Uhr::now() >= *stoppAb; });
    for (const char* seite : {"stockt.html", "stumm.html"}) {
        const auto start = Uhr::now();
        stoppAb = start + 300ms;
        EXPECT_EQ(sitzung.Laden(kSeiten + seite), "") << seite;
        // Only a hang catcher, far below the stall limit.
        EXPECT_LT(Uhr::now() - start, 30s) << seite;
        EXPECT_FALSE(sitzung.LetzteVollstaendig()) << seite;
    }
    stoppAb.reset();
    EXPECT_EQ(sitzung.Laden(kSeiten + "gut.html"), "gut");
    EXPECT_TRUE(sitzung.LetzteVollstaendig());
    EXPECT_EQ(server.AnzahlAnfragen(kSeiten + "stockt.html"), 1u);
}

// The windows may start a download of their own while one is waiting; it
// must neither fail nor disturb the waiting one.
TEST_F(Download, NestedDownloadFromTheCallback) {
    UeberServer();
    const std::string gross(200'000, 'g');
    server.Setzen(kSeiten + "gross.html", Antwort::Seite(gross));
    server.Setzen(kSeiten + "klein.html", Antwort::Seite("klein"));
    LadeSitzung* aussen = nullptr;
    bool gestartet = false;
    std::string innen;
    LadeSitzung sitzung([&] {
        if (std::exchange(gestartet, true)) return;
        innen = aussen->Laden(kSeiten + "klein.html");
    });
    aussen = &sitzung;
    EXPECT_EQ(sitzung.Laden(kSeiten + "gross.html"), gross);
    EXPECT_EQ(innen, "klein");
}

// Whatever the download waits for, the windows get their turn several times
// a second, and the wait still ends at its bound. The bounds here only catch
// a hang; the benchmark measures the gaps.
TEST_F(Download, CallbacksKeepComingWhileWaiting) {
    UeberServer();
    server.Setzen(kSeiten + "stockt.html", Antwort::Stockend(std::string(10'000, 's'), 2500));
    server.Setzen(kSeiten + "stumm.html", Antwort::Stumm());
    test::VollerPort voll;
    const std::string verbinden = "http://127.0.0.1:" + std::to_string(voll.port()) + "/";
    ::setenv("no_proxy", "127.0.0.1", 1);

    LadeGrenzen g;
    g.verbindungsFrist = 2s;
    g.stillstandsFrist = 2s;
    const struct {
        const char* name;
        std::string url, erwartet;
    } faelle[] = {
        {"connecting", verbinden, ""},
        {"silent server", kSeiten + "stumm.html", ""},
        {"stalled body", kSeiten + "stockt.html", std::string(2500, 's')},
    };
    for (const auto& f : faelle) {
        using Uhr = std::chrono::steady_clock;
        const auto start = Uhr::now();
        auto zuletzt = start;
        Uhr::duration groessteLuecke{};
        const std::string seite = LadeURL(
            f.url,
            [&] {
                const auto jetzt = Uhr::now();
                groessteLuecke = std::max(groessteLuecke, jetzt - zuletzt);
                zuletzt = jetzt;
            },
            g);
        const auto ende = Uhr::now();
        groessteLuecke = std::max(groessteLuecke, ende - zuletzt);
        EXPECT_EQ(seite, f.erwartet) << f.name;
        EXPECT_LT(groessteLuecke, 500ms) << f.name;
        EXPECT_GE(ende - start, 1900ms) << f.name;
        EXPECT_LT(ende - start, g.stillstandsFrist + 3s) << f.name;
    }
}

}  // namespace
}  // namespace lw
