// Publishing against real loopback servers: pyftpdlib for FTP and FTPS,
// OpenSSH's sshd for SFTP.
#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <sstream>
#include <tuple>

#include "common/Fehler.h"
#include "common/Zeichensatz.h"
#include "publish/Krypto.h"
#include "publish/Veroeffentlichen.h"
#include "tests/support/Dateiserver.h"
#include "tests/support/FehlerText.h"
#include "tests/support/HttpServer.h"
#include "tests/support/TempOrdner.h"

namespace lw {
namespace {

namespace fs = std::filesystem;
using test::Inhalt;
using test::Lesen;
using test::Schreiben;
using Bestand = std::map<std::string, std::string>;

// A small site as the writer leaves it: a picture that takes several writes,
// and a hidden file that must stay home.
std::string SeiteAnlegen(const test::TempOrdner& t) {
    const std::string neu = t / "Neu";
    fs::create_directories(neu + "/css");
    fs::create_directories(neu + "/img");
    for (const char* name : {"Seite1", "Seite2", "Neue Seite"})
        Schreiben(neu + "/" + name + ".html", std::string("<html>") + name + "</html>\r\n");
    Schreiben(neu + "/css/formate.css", "body { color: red; }\r\n");
    std::string bild(300 * 1024, '\0');
    for (std::size_t i = 0; i < bild.size(); ++i) bild[i] = static_cast<char>(i * 7 + i / 251);
    Schreiben(neu + "/img/banner.jpg", bild);
    Schreiben(neu + "/.versteckt", "bleibt daheim");
    return neu;
}

// Each file online but `fremd` is whole as in neu; the list, if there, names
// exactly these with hash and size, and no hidden upload is left. True: a list.
bool Stimmig(const std::string& server, const Bestand& neu, const std::string& fremd = {}) {
    std::set<std::string> erwartet, genannt;
    for (const auto& [pfad, bytes] : Inhalt(server)) {
        if (pfad == fremd) continue;
        EXPECT_TRUE(neu.contains(pfad) && neu.at(pfad) == bytes) << pfad;
        erwartet.insert(Hex(Sha256Von(bytes)) + " " + std::to_string(bytes.size()) + " " + pfad);
    }
    if (!fs::exists(server + "/" + kDateiliste)) return false;
    std::istringstream liste(Lesen(server + "/" + kDateiliste));
    for (std::string zeile; std::getline(liste, zeile);) genannt.insert(zeile);
    EXPECT_EQ(genannt, erwartet);
    EXPECT_EQ(Inhalt(server, true).size(), Inhalt(server).size() + 1);
    return true;
}

// A loopback server of the given kind and the Zugang to a fresh folder on it.
struct Server {
    std::optional<test::FtpServer> ftp;
    std::optional<test::SftpServer> sftp;
    Zugang zugang;
    std::string ordner;  // where the site lands on this machine

    // sperre: the SFTP client key's passphrase.
    explicit Server(Protokoll p, test::FtpOptionen o = {}, const std::string& sperre = {}) {
        zugang.protokoll = p;
        zugang.server = "127.0.0.1";
        if (p == Protokoll::SFTP) {
            sftp.emplace(sperre);
            zugang.port = sftp->port();
            zugang.benutzer = ::getpwuid(::geteuid())->pw_name;
            zugang.schluessel = sftp->schluessel();
            zugang.ordner = ordner = sftp->ordner() + "/site";
        } else {
            o.tls = p == Protokoll::FTPS;
            ftp.emplace(o);
            zugang.port = ftp->port();
            zugang.benutzer = test::FtpServer::kBenutzer;
            zugang.passwort = test::FtpServer::kPasswort;
            zugang.ordner = "/site";
            ordner = ftp->ordner() + "/site";
        }
    }
};

// Answers every question with `ja`, noting it in `fragen`.
VeroeffentlichenBegleitung Antworten(std::vector<std::string>& fragen, bool ja = true) {
    VeroeffentlichenBegleitung b;
    b.fragen = [&fragen, ja](const std::string& f) { return fragen.push_back(f), ja; };
    return b;
}

class Veroeffentlichen_ : public ::testing::TestWithParam<Protokoll> {};

// Publish and re-publish: the folder follows Neu byte for byte, only changes go up.
TEST_P(Veroeffentlichen_, GleichtDenServerAb) {
    test::TempOrdner t;
    const std::string neu = SeiteAnlegen(t);
    Server s(GetParam());
    Vertrauen vertrauen;
    std::vector<std::string> fragen;
    const auto publizieren = [&] {
        return Veroeffentlichen(neu, s.zugang, vertrauen, Antworten(fragen));
    };

    auto bericht = publizieren();
    EXPECT_EQ(Inhalt(s.ordner), Inhalt(neu));
    EXPECT_TRUE(Stimmig(s.ordner, Inhalt(neu)));
    // Pictures and stylesheets before the pages, the list last.
    ASSERT_EQ(bericht.hochgeladen.size(), 6u);
    EXPECT_EQ(bericht.hochgeladen[0], "css/formate.css");
    EXPECT_EQ(bericht.hochgeladen[1], "img/banner.jpg");
    EXPECT_EQ(bericht.hochgeladen[5], kDateiliste);
    // SFTP's unknown key and FTPS's self-made certificate are asked about once.
    const std::size_t gefragt = GetParam() == Protokoll::FTP ? 0 : 1;
    ASSERT_EQ(fragen.size(), gefragt);
    if (gefragt) {
        const std::string& abdruck = GetParam() == Protokoll::SFTP
                                         ? vertrauen.hostSchluessel.begin()->second
                                         : vertrauen.zertifikate.begin()->second.fingerabdruck;
        EXPECT_NE(fragen[0].find(abdruck), std::string::npos);
    }

    // A change, a page removed, a file not ours, and one deleted by hand online.
    Schreiben(neu + "/Seite2.html", "<html>zwei, neu</html>\r\n");
    fs::remove(neu + "/Neue Seite.html");
    Schreiben(neu + "/img/neu.gif", "GIF89a");
    Schreiben(s.ordner + "/fremd.txt", "nicht von uns");
    fs::remove(s.ordner + "/css/formate.css");
    bericht = publizieren();
    EXPECT_EQ(bericht.hochgeladen, (std::vector<std::string>{"css/formate.css", "img/neu.gif",
                                                             "Seite2.html", kDateiliste}));
    EXPECT_EQ(bericht.geloescht, std::vector<std::string>{"Neue Seite.html"});
    Bestand erwartet = Inhalt(neu);
    erwartet["fremd.txt"] = "nicht von uns";
    EXPECT_EQ(Inhalt(s.ordner), erwartet);
    EXPECT_TRUE(Stimmig(s.ordner, Inhalt(neu), "fremd.txt"));
    EXPECT_EQ(fragen.size(), gefragt);
    if (GetParam() != Protokoll::SFTP) return;

    // A host key that changed since is refused, naming the trusted one.
    const std::string alt = vertrauen.hostSchluessel.begin()->second;
    s.sftp->SchluesselWechseln();
    Schreiben(neu + "/Seite1.html", "<html>anders</html>");
    const std::string text = test::FehlerText(publizieren);
    EXPECT_NE(text.find(alt), std::string::npos) << text;
    EXPECT_NE(text.find(W("geändert")), std::string::npos) << text;
    EXPECT_EQ(fragen.size(), 1u);
    EXPECT_EQ(Inhalt(s.ordner), erwartet);
    EXPECT_EQ(vertrauen.hostSchluessel.begin()->second, alt);
}

constexpr const char* kNamen[] = {"SFTP", "FTPS", "FTP"};
INSTANTIATE_TEST_SUITE_P(Protokolle, Veroeffentlichen_,
                         ::testing::Values(Protokoll::FTP, Protokoll::FTPS, Protokoll::SFTP),
                         [](const auto& i) { return kNamen[static_cast<int>(i.param)]; });

// A connection dropped in the picture is retried on a new connection; what
// was done is not sent again.
TEST(VeroeffentlichenFehler, AbgerisseneVerbindungWirdWiederholt) {
    test::TempOrdner t;
    const std::string neu = SeiteAnlegen(t);
    test::FtpOptionen o;
    o.abbruchNach = 100 * 1024;
    Server s(Protokoll::FTP, o);
    Vertrauen vertrauen;
    Veroeffentlichen(neu, s.zugang, vertrauen);
    EXPECT_EQ(Inhalt(s.ordner), Inhalt(neu));
    EXPECT_TRUE(Stimmig(s.ordner, Inhalt(neu)));
    EXPECT_EQ(std::ranges::count(s.ftp->Empfangen(), "site/css/.formate.css.lw-neu"), 1);
}

// A publish that fails: its message, only whole files online and a list that
// names no more than is there.
struct Fehlerfall {
    const char* name;
    Protokoll protokoll;
    const char* voll;           // FTP: a STOR of a name containing it gets "552"
    std::size_t abreissenNach;  // the first connection drops after so many bytes sent
    void (*aendern)(Zugang&);   // what the user got wrong
    bool ja;                    // the answer to the host key question
    std::string meldung;        // part of the message
    const char* da;             // online afterwards with the list; no folder without da, nichtDa
    const char* nichtDa;
    int wiederholungen = 0;
    bool beimUmbenennen = false;  // FTP: the first rename is done, its answer cut
    int hoechstens = 0;           // FTP: connections the server takes at once
    const char* sperre = "";      // SFTP: the client key's passphrase
};

constexpr const char* kSperre = "Schl\xC3\xBCssel \xCF\x89";

TEST(VeroeffentlichenFehler, Tabelle) {
    const Fehlerfall faelle[] = {
        {"552", Protokoll::FTP, "Seite2", 0, nullptr, true,
         "kein Platz mehr frei (\"Seite2.html\")", "img/banner.jpg", "Seite2.html"},
        {"abgerissen FTP", Protokoll::FTP, "", 100 * 1024, nullptr, true,
         "Verbindung zum Server ist abgebrochen", nullptr, "img/banner.jpg"},
        {"abgerissen SFTP", Protokoll::SFTP, "", 150 * 1024, nullptr, true,
         "Verbindung zum Server ist abgebrochen", nullptr, "img/banner.jpg"},
        {"Passwort", Protokoll::FTP, "", 0, [](Zugang& z) { z.passwort = "falsch"; }, true,
         "Passwort", nullptr, nullptr},
        {"Port", Protokoll::FTP, "", 0, [](Zugang& z) { z.port = test::FreierPort(); }, true,
         "keine Verbindung an", nullptr, nullptr},
        {"Name", Protokoll::FTP, "", 0, [](Zugang& z) { z.server = "kein-server.invalid"; }, true,
         "unbekannt", nullptr, nullptr},
        {"Nein zum Schluessel", Protokoll::SFTP, "", 0, nullptr, false, W("nicht bestätigt"),
         nullptr, nullptr},
        // Rows whose meldung is empty complete, and everything is online.
        {"Handshake SFTP", Protokoll::SFTP, "", 100, nullptr, true, "", nullptr, nullptr, 3},
        {"Handshake SFTP ohne Wiederholung", Protokoll::SFTP, "", 100, nullptr, false,
         "Die gesicherte Verbindung zum Server kam nicht zustande.", nullptr, nullptr},
        {"Umbenennen FTP", Protokoll::FTP, "", 0, nullptr, true, "", nullptr, nullptr, 3, true},
        {"Zwei Verbindungen", Protokoll::FTP, "", 0, nullptr, true, "", nullptr, nullptr, 0, false,
         2},
        {"Passphrase", Protokoll::SFTP, "", 0, [](Zugang& z) { z.passphrase = kSperre; }, true,
         "", nullptr, nullptr, 0, false, 0, kSperre},
        {"Passwort entsperrt nicht", Protokoll::SFTP, "", 0,
         [](Zugang& z) { z.passwort = kSperre; }, true, "Anmeldung abgelehnt", nullptr, nullptr,
         0, false, 0, kSperre},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        test::TempOrdner t;
        const std::string neu = SeiteAnlegen(t);
        test::FtpOptionen o;
        o.voll = f.voll;
        o.abbruchNach = f.abreissenNach;
        o.abbruchBeimUmbenennen = f.beimUmbenennen;
        o.hoechstens = f.hoechstens;
        Server s(f.protokoll, o, f.sperre);
        Zugang zugang = s.zugang;
        std::optional<test::Proxy> proxy;
        if (f.abreissenNach && s.sftp)
            zugang.port = proxy.emplace(zugang.port, test::ProxyOptionen{f.abreissenNach}).port();
        if (f.aendern) f.aendern(zugang);
        Vertrauen vertrauen;
        std::vector<std::string> fragen;
        const std::string text = test::FehlerText([&] {
            Veroeffentlichen(neu, zugang, vertrauen, Antworten(fragen, f.ja),
                             {.wiederholungen = f.wiederholungen});
        });
        if (f.meldung.empty()) {
            EXPECT_EQ(text, "(kein Fehler)");
            EXPECT_EQ(Inhalt(s.ordner), Inhalt(neu));
            EXPECT_TRUE(Stimmig(s.ordner, Inhalt(neu)));
            EXPECT_TRUE(!proxy || proxy->Abgerissen());
            // The file whose rename was cut went up again.
            if (f.beimUmbenennen) {
                EXPECT_EQ(s.ftp->Empfangen().size(), Inhalt(neu).size() + 2);
            }
            continue;
        }
        EXPECT_NE(text.find(f.meldung), std::string::npos) << text;
        // Trust given is kept, also when the publish fails.
        EXPECT_EQ(vertrauen.hostSchluessel.size(),
                  f.protokoll == Protokoll::SFTP && f.ja ? 1u : 0u);
        if (!f.da && !f.nichtDa) {
            EXPECT_FALSE(fs::exists(s.ordner));
            continue;
        }
        const bool liste = Stimmig(s.ordner, Inhalt(neu));
        EXPECT_TRUE(!f.da || (liste && fs::exists(s.ordner + "/" + f.da)));
        EXPECT_FALSE(fs::exists(s.ordner + "/" + f.nichtDa));
        if (!f.abreissenNach) continue;
        EXPECT_TRUE(!proxy || proxy->Abgerissen());
        Veroeffentlichen(neu, zugang, vertrauen, Antworten(fragen));
        EXPECT_EQ(Inhalt(s.ordner), Inhalt(neu));
        EXPECT_TRUE(Stimmig(s.ordner, Inhalt(neu)));
    }
}

// A certificate the system vouched for is remembered: a self-signed one on
// that server later is shown as changed, with both fingerprints, not asked about.
TEST(VeroeffentlichenFehler, GeprueftesZertifikatWirdGemerkt) {
    test::TempOrdner t;
    const std::string neu = SeiteAnlegen(t);
    const int port = test::FreierPort();
    Vertrauen vertrauen;
    vertrauen.zertifikatsspeicher = t / "ca.crt";
    std::vector<std::string> fragen;
    test::FtpOptionen o;
    o.port = port;
    o.zertifizierungsstelle = t / "ca.crt";
    {
        Server s(Protokoll::FTPS, o);
        Veroeffentlichen(neu, s.zugang, vertrauen, Antworten(fragen));
        EXPECT_EQ(Inhalt(s.ordner), Inhalt(neu));
    }
    ASSERT_EQ(vertrauen.zertifikate.size(), 1u);
    const auto alt = vertrauen.zertifikate.begin()->second;
    EXPECT_TRUE(alt.vomSystem);
    o.zertifizierungsstelle.clear();
    Server s(Protokoll::FTPS, o);
    const std::string text = test::FehlerText(
        [&] { Veroeffentlichen(neu, s.zugang, vertrauen, Antworten(fragen)); });
    EXPECT_NE(text.find(W("geändert")), std::string::npos) << text;
    EXPECT_NE(text.find(W("Bisher: ") + alt.fingerabdruck), std::string::npos) << text;
    const auto jetzt = text.find(W("\nJetzt: "));
    ASSERT_NE(jetzt, std::string::npos) << text;
    const std::string neuer = text.substr(jetzt + 8, alt.fingerabdruck.size());
    EXPECT_EQ(std::ranges::count(neuer, ':'), 31) << text;
    EXPECT_NE(neuer, alt.fingerabdruck);
    EXPECT_TRUE(fragen.empty());
    EXPECT_FALSE(fs::exists(s.ordner));
}

// "Abbrechen" during an upload leaves no part of it, and a list of what is online.
TEST(VeroeffentlichenFehler, Abbrechen) {
    test::TempOrdner t;
    const std::string neu = SeiteAnlegen(t);
    Schreiben(neu + "/img/gross.bmp", std::string(std::size_t{64} * 1024 * 1024, 'x'));
    Server s(Protokoll::FTP);
    Vertrauen vertrauen;
    bool stopp = false;
    VeroeffentlichenBegleitung b;
    b.zwischenschritt = [&](const VeroeffentlichenStand& st) {
        stopp = stopp || (st.datei == "img/gross.bmp" && st.gesendet > 0);
    };
    b.abbrechen = [&] { return stopp; };
    EXPECT_TRUE(Veroeffentlichen(neu, s.zugang, vertrauen, b).abgebrochen);
    EXPECT_TRUE(stopp);
    EXPECT_FALSE(fs::exists(s.ordner + "/Seite1.html"));
    EXPECT_TRUE(Stimmig(s.ordner, Inhalt(neu)));
}

// Everything but the password goes into the file, and comes back.
TEST(VeroeffentlichenEinstellungen, OhnePasswort) {
    test::TempOrdner t;
    VeroeffentlichenEinstellungen e;
    e.zugang = {.protokoll = Protokoll::FTPS,
                .server = "ftp.example.org",
                .port = 2121,
                .benutzer = W("müller"),
                .passwort = "Geheim!",
                .schluessel = "",
                .passphrase = "",
                .ordner = "/htdocs"};
    e.vertrauen.hostSchluessel["a:22"] = "SHA256:abc";
    e.vertrauen.zertifikate["b:21"] = {"AB:CD", "sha256//xyz="};
    e.vertrauen.zertifikate["c:21"] = {"EF:01", "sha256//abc=", true};
    const std::string pfad = EinstellungenPfad(t.pfad());
    EinstellungenSchreiben(pfad, e);
    EXPECT_EQ(Lesen(pfad).find("Geheim!"), std::string::npos);
    const auto g = EinstellungenLesen(pfad);
    const auto felder = [](const Zugang& z) {
        return std::tie(z.protokoll, z.server, z.port, z.benutzer, z.ordner);
    };
    EXPECT_EQ(felder(g.zugang), felder(e.zugang));
    EXPECT_TRUE(g.zugang.passwort.empty());
    EXPECT_EQ(g.vertrauen.hostSchluessel, e.vertrauen.hostSchluessel);
    EXPECT_EQ(g.vertrauen.zertifikate.at("b:21").pin, "sha256//xyz=");
    EXPECT_FALSE(g.vertrauen.zertifikate.at("b:21").vomSystem);
    EXPECT_EQ(g.vertrauen.zertifikate.at("c:21").pin, "sha256//abc=");
    EXPECT_TRUE(g.vertrauen.zertifikate.at("c:21").vomSystem);
    EXPECT_EQ(EinstellungenLesen(t / "fehlt.ini").zugang.port, 22);
}

TEST(VeroeffentlichenStartseite, FuehrtZurErstenSeite) {
    test::TempOrdner t;
    EXPECT_TRUE(StartseiteFehlt(t.pfad()));
    StartseiteAnlegen(t.pfad(), "_Start & Co.html");
    EXPECT_FALSE(StartseiteFehlt(t.pfad()));
    const std::string seite = Lesen(t / "index.html");
    EXPECT_NE(seite.find("url=_Start &amp; Co.html\""), std::string::npos);
    EXPECT_NE(seite.find("<a href=\"_Start &amp; Co.html\">"), std::string::npos);
    // Valid XHTML 1.0 Transitional by the DTD, through the system's XML catalog.
    const int rc =
        std::system(("xmllint --nonet --noout --valid '" + t / "index.html" + "'").c_str());
    EXPECT_TRUE(WIFEXITED(rc) && WEXITSTATUS(rc) == 0) << rc;
}

}  // namespace
}  // namespace lw
