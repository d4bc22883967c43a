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

std::string Zeile(const std::string& pfad, const std::string& bytes) {
    return Hex(Sha256Von(bytes)) + " " + std::to_string(bytes.size()) + " " + pfad;
}

// The list's lines by path. Each names a file online with its hash and size,
// or marks it ("- 0"): it never vouches for bytes that are not online.
std::map<std::string, std::string> Liste(const std::string& server) {
    std::map<std::string, std::string> zeilen;
    const Bestand online = Inhalt(server);
    std::istringstream liste(Lesen(server + "/" + kDateiliste));
    for (std::string zeile; std::getline(liste, zeile);) {
        const std::string pfad = zeile.substr(zeile.find(' ', zeile.find(' ') + 1) + 1);
        EXPECT_TRUE(online.contains(pfad)) << zeile;
        if (online.contains(pfad) && !zeile.starts_with("- 0 ")) {
            EXPECT_EQ(zeile, Zeile(pfad, online.at(pfad)));
        }
        zeilen[pfad] = zeile;
    }
    return zeilen;
}

// Each file online but `fremd` is whole as in neu; the list, if there, names
// exactly these with hash and size, and no hidden upload is left. True: a list.
bool Stimmig(const std::string& server, const Bestand& neu, const std::string& fremd = {}) {
    std::set<std::string> erwartet, genannt;
    for (const auto& [pfad, bytes] : Inhalt(server)) {
        if (pfad == fremd) continue;
        EXPECT_TRUE(neu.contains(pfad) && neu.at(pfad) == bytes) << pfad;
        erwartet.insert(Zeile(pfad, bytes));
    }
    for (const auto& [pfad, bytes] : Inhalt(server, true))
        EXPECT_FALSE(pfad.ends_with(".lw-neu") || pfad.ends_with(".lw-alt")) << pfad;
    if (!fs::exists(server + "/" + kDateiliste)) return false;
    for (const auto& [pfad, zeile] : Liste(server)) genannt.insert(zeile);
    EXPECT_EQ(genannt, erwartet);
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
            // Over FTPS the folder is taken from where the login starts.
            zugang.ordner = p == Protokoll::FTPS ? "site" : "/site";
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
    // The list goes up only where the journal needs it, however slow the
    // machine; the pictures and the stylesheet go up at once, in any order.
    const auto publizieren = [&] {
        auto b = Veroeffentlichen(neu, s.zugang, vertrauen, Antworten(fragen),
                                  {.listenTakt = std::chrono::hours(1)});
        std::sort(b.hochgeladen.begin(), b.hochgeladen.begin() + 2);
        return b;
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

    // A change, a page removed, a file not ours, one deleted by hand online,
    // and a hidden file that a forged line of the list names.
    Schreiben(neu + "/Seite2.html", "<html>zwei, neu</html>\r\n");
    fs::remove(neu + "/Neue Seite.html");
    Schreiben(neu + "/img/neu.gif", "GIF89a");
    Schreiben(s.ordner + "/fremd.txt", "nicht von uns");
    Schreiben(s.ordner + "/img/.htaccess", "Deny from all");
    fs::remove(s.ordner + "/css/formate.css");
    Schreiben(s.ordner + "/" + kDateiliste,
              Lesen(s.ordner + "/" + kDateiliste) + Zeile("img/.htaccess", "Deny from all") + "\n");
    // A cut left the list only where it stepped aside for a newer one.
    fs::rename(s.ordner + "/" + kDateiliste, s.ordner + "/..leistenwerk-dateien.lw-alt");
    bericht = publizieren();
    EXPECT_EQ(bericht.hochgeladen, (std::vector<std::string>{"css/formate.css", "img/neu.gif",
                                                             "Seite2.html", kDateiliste}));
    EXPECT_EQ(bericht.geloescht, std::vector<std::string>{"Neue Seite.html"});
    Bestand erwartet = Inhalt(neu);
    erwartet["fremd.txt"] = "nicht von uns";
    EXPECT_EQ(Inhalt(s.ordner), erwartet);
    EXPECT_TRUE(Stimmig(s.ordner, Inhalt(neu), "fremd.txt"));
    EXPECT_EQ(Lesen(s.ordner + "/img/.htaccess"), "Deny from all");
    EXPECT_EQ(fragen.size(), gefragt);

    // A list larger than any this program writes counts as none: all goes up.
    std::string riesig;
    while (riesig.size() <= std::size_t{16} << 20)
        riesig += Zeile(std::to_string(riesig.size()), "") + "\n";
    Schreiben(s.ordner + "/" + kDateiliste, riesig);
    EXPECT_EQ(publizieren().hochgeladen.size(), Inhalt(neu).size() + 1);
    EXPECT_TRUE(Stimmig(s.ordner, Inhalt(neu), "fremd.txt"));
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

// Names a protocol or the list cannot carry, and symbolic links: refused
// before any connection, naming the file, and nothing reaches the server.
TEST_P(Veroeffentlichen_, NamenUndVerknuepfungen) {
    const std::pair<std::string, bool> faelle[] = {
        {"Seite\r\nDELE Seite1.html", false},
        {"img/a\tb.gif", false},
        {"css/x\x7f.css", false},
        {"a\\b.html", false},
        {"img/" + std::string(244, 'x') + ".jpg", false},
        // A link to a file outside, and one in the place of a folder.
        {"img/fremd.jpg", true},
        {"css", true}};
    Server s(GetParam());
    for (const auto& [pfad, verknuepfung] : faelle) {
        SCOPED_TRACE(pfad);
        test::TempOrdner t;
        const std::string neu = SeiteAnlegen(t);
        fs::create_directory(t / "draussen");
        Schreiben(t / "draussen/formate.css", "body {}");
        if (!verknuepfung) Schreiben(neu + "/" + pfad, "x");
        if (verknuepfung) {
            const bool ordner = fs::is_directory(neu + "/" + pfad);
            fs::remove_all(neu + "/" + pfad);
            fs::create_symlink(t / (ordner ? "draussen" : "draussen/formate.css"),
                               neu + "/" + pfad);
        }
        Vertrauen vertrauen;
        std::vector<std::string> fragen;
        const std::string text = test::FehlerText<Hinweis>(
            [&] { Veroeffentlichen(neu, s.zugang, vertrauen, Antworten(fragen)); });
        EXPECT_NE(text.find("\"" + Lesbar(pfad) + "\""), std::string::npos) << text;
        // SFTP and FTPS would have asked about the server's key on connecting.
        EXPECT_TRUE(fragen.empty());
        EXPECT_FALSE(fs::exists(s.ordner));
    }
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

// A publish that fails: its message, only whole files online, old or new, and
// a list that vouches for nothing else; where the row goes on, the next
// publish completes it and sends nothing the list vouches for.
struct Fehlerfall {
    const char* name = "";
    Protokoll protokoll = Protokoll::FTP;
    void (*ftp)(test::FtpOptionen&) = nullptr;  // the FTP server's faults
    std::size_t abreissenNach = 0;       // SFTP: the first connection drops after so many bytes
    void (*aendern)(Zugang&) = nullptr;  // what the user got wrong
    bool ja = true;                      // the answer to the host key question
    std::string meldung{};               // part of the message
    const char* da = nullptr;  // online afterwards with the list; no folder without da, nichtDa
    const char* nichtDa = nullptr;
    // Replacing: a whole publish first, then pages and picture changed, a page
    // added and one removed; the failing publish leaves the old `markiert` online and
    // marked in the list, and `genannt` new and named with its hash.
    bool ersetzen = false;
    const char* markiert = nullptr;
    const char* genannt = nullptr;
    int wiederholungen = 0;
    const char* sperre = "";  // SFTP: the client key's passphrase
    // One, where the row needs the file before the failing one in place.
    int verbindungen = 4;
};

constexpr const char* kSperre = "Schl\xC3\xBCssel \xCF\x89";

TEST(VeroeffentlichenFehler, Tabelle) {
    const std::string abgerissen = "Verbindung zum Server ist abgebrochen";
    const Fehlerfall faelle[] = {
        {"552", Protokoll::FTP, [](test::FtpOptionen& o) { o.voll = "Seite2"; }, 0, nullptr, true,
         "kein Platz mehr frei (\"Seite2.html\")", "img/banner.jpg", "Seite2.html"},
        {"abgerissen FTP", Protokoll::FTP, [](test::FtpOptionen& o) { o.abbruchNach = 100 * 1024; },
         0, nullptr, true, abgerissen, nullptr, "img/banner.jpg"},
        {"abgerissen SFTP", Protokoll::SFTP, nullptr, 150 * 1024, nullptr, true, abgerissen,
         nullptr, "img/banner.jpg"},
        {"Passwort", Protokoll::FTP, nullptr, 0, [](Zugang& z) { z.passwort = "falsch"; }, true,
         "Passwort"},
        {"Port", Protokoll::FTP, nullptr, 0, [](Zugang& z) { z.port = test::FreierPort(); }, true,
         "keine Verbindung an"},
        {"Name", Protokoll::FTP, nullptr, 0, [](Zugang& z) { z.server = "kein-server.invalid"; },
         true, "unbekannt"},
        {"Nein zum Schluessel", Protokoll::SFTP, nullptr, 0, nullptr, false, W("nicht bestätigt")},
        // A server that renames onto no existing file, and then refuses the
        // new page its place: the old one steps aside and comes back.
        {"Umbenennen verweigert", Protokoll::FTP,
         [](test::FtpOptionen& o) { o.keinUeberschreiben = true, o.rntoNein = "Seite2.html"; }, 0,
         nullptr, true, "\"Seite2.html\"", "Seite2.html", nullptr, true, "Seite2.html",
         "Seite1.html", 0, "", 1},
        {"abgerissen beim Ersetzen FTP", Protokoll::FTP,
         [](test::FtpOptionen& o) { o.abbruchBei = ".Seite3.html.lw-neu"; }, 0, nullptr, true,
         abgerissen, "Neue Seite.html", nullptr, true, "Neue Seite.html", "Seite2.html", 0, "", 1},
        {"abgerissen beim Ersetzen SFTP", Protokoll::SFTP, nullptr, 150 * 1024, nullptr, true,
         abgerissen, "img/banner.jpg", nullptr, true, "img/banner.jpg"},
        // Rows whose meldung is empty complete, and everything is online.
        {"Handshake SFTP", Protokoll::SFTP, nullptr, 100, nullptr, true, "", nullptr, nullptr,
         false, nullptr, nullptr, 3},
        {"Handshake SFTP ohne Wiederholung", Protokoll::SFTP, nullptr, 100, nullptr, false,
         "Die gesicherte Verbindung zum Server kam nicht zustande."},
        {"Umbenennen FTP", Protokoll::FTP,
         [](test::FtpOptionen& o) { o.abbruchBeimUmbenennen = true; }, 0, nullptr, true, "",
         nullptr, nullptr, false, nullptr, nullptr, 3},
        {"Zwei Verbindungen", Protokoll::FTP, [](test::FtpOptionen& o) { o.hoechstens = 2; }, 0,
         nullptr, true, ""},
        {"Passphrase", Protokoll::SFTP, nullptr, 0, [](Zugang& z) { z.passphrase = kSperre; },
         true, "", nullptr, nullptr, false, nullptr, nullptr, 0, kSperre},
        {"Passwort entsperrt nicht", Protokoll::SFTP, nullptr, 0,
         [](Zugang& z) { z.passwort = kSperre; }, true, "Anmeldung abgelehnt", nullptr, nullptr,
         false, nullptr, nullptr, 0, kSperre},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        test::TempOrdner t;
        const std::string neu = SeiteAnlegen(t);
        test::FtpOptionen optionen;
        if (f.ftp) f.ftp(optionen);
        Server s(f.protokoll, optionen, f.sperre);
        Zugang zugang = s.zugang;
        std::optional<test::Proxy> proxy;
        if (f.abreissenNach)
            zugang.port = proxy.emplace(zugang.port, test::ProxyOptionen{f.abreissenNach}).port();
        if (f.aendern) f.aendern(zugang);
        Vertrauen vertrauen;
        std::vector<std::string> fragen;
        const Bestand alt = Inhalt(neu);
        if (f.ersetzen) {
            Veroeffentlichen(neu, s.zugang, vertrauen, Antworten(fragen));
            Schreiben(neu + "/img/banner.jpg", std::string(300 * 1024, 'b'));
            Schreiben(neu + "/Seite1.html", "<html>eins, neu</html>");
            Schreiben(neu + "/Seite2.html", "<html>zwei, neu</html>");
            Schreiben(neu + "/Seite3.html", "<html>drei</html>");
            fs::remove(neu + "/Neue Seite.html");
        }
        // The list goes up after each file, so that the cut finds a journal.
        const std::string text = test::FehlerText([&] {
            Veroeffentlichen(neu, zugang, vertrauen, Antworten(fragen, f.ja),
                             {.wiederholungen = f.wiederholungen,
                              .verbindungen = f.verbindungen,
                              .listenTakt = {}});
        });
        if (f.meldung.empty()) {
            EXPECT_EQ(text, "(kein Fehler)");
            EXPECT_EQ(Inhalt(s.ordner), Inhalt(neu));
            EXPECT_TRUE(Stimmig(s.ordner, Inhalt(neu)));
            EXPECT_TRUE(!proxy || proxy->Abgerissen());
            // The file whose rename was cut went up again.
            if (optionen.abbruchBeimUmbenennen) {
                EXPECT_EQ(std::ranges::count_if(s.ftp->Empfangen(),
                                                [](const auto& d) {
                                                    return !d.ends_with("-dateien.lw-neu");
                                                }),
                          static_cast<long>(Inhalt(neu).size() + 1));
            }
            continue;
        }
        EXPECT_NE(text.find(f.meldung), std::string::npos) << text;
        // Trust given is kept, also when the publish fails.
        EXPECT_EQ(!vertrauen.hostSchluessel.empty(), f.protokoll == Protokoll::SFTP && f.ja);
        if (!f.da && !f.nichtDa) {
            EXPECT_FALSE(fs::exists(s.ordner));
            continue;
        }
        const Bestand online = Inhalt(s.ordner);
        for (const auto& [pfad, bytes] : online)
            EXPECT_TRUE(Inhalt(neu)[pfad] == bytes || (alt.contains(pfad) && alt.at(pfad) == bytes))
                << pfad;
        ASSERT_TRUE(fs::exists(s.ordner + "/" + kDateiliste));
        auto liste = Liste(s.ordner);
        const bool weiter = f.abreissenNach || optionen.abbruchNach || f.ersetzen;
        // A cut leaves the hidden upload, which the next publish removes.
        if (!weiter) {
            EXPECT_TRUE(Stimmig(s.ordner, Inhalt(neu)));
        }
        EXPECT_TRUE(!f.da || online.contains(f.da));
        EXPECT_FALSE(f.nichtDa && online.contains(f.nichtDa));
        if (f.markiert) {
            EXPECT_EQ(liste[f.markiert], std::string("- 0 ") + f.markiert);
            EXPECT_EQ(online.at(f.markiert), alt.at(f.markiert));
        }
        if (f.genannt) {
            EXPECT_EQ(liste[f.genannt], Zeile(f.genannt, Inhalt(neu)[f.genannt]));
        }
        if (!weiter) continue;
        EXPECT_TRUE(!proxy || proxy->Abgerissen());
        // The user puts the old picture back: the list never vouches for what
        // is not online, so it goes up again.
        if (f.ersetzen) Schreiben(neu + "/img/banner.jpg", alt.at("img/banner.jpg"));
        const Bestand jetzt = Inhalt(neu);
        for (const auto& pfad :
             Veroeffentlichen(neu, zugang, vertrauen, Antworten(fragen)).hochgeladen)
            if (pfad != kDateiliste) {
                EXPECT_NE(liste[pfad], Zeile(pfad, jetzt.at(pfad))) << pfad;
            }
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

// A file that changed since its hash was taken (here while the unknown key
// is asked about) goes up as it is then, and the list names those bytes.
TEST(VeroeffentlichenFehler, DateiAendertSichUnterwegs) {
    test::TempOrdner t;
    const std::string neu = SeiteAnlegen(t);
    Server s(Protokoll::SFTP);
    Vertrauen vertrauen;
    VeroeffentlichenBegleitung b;
    b.fragen = [&](const std::string&) {
        Schreiben(neu + "/img/banner.jpg", std::string(200 * 1024, 'k'));
        Schreiben(neu + "/Seite1.html", "<html>SEITE1</html>\r\n");  // the same size
        return true;
    };
    Veroeffentlichen(neu, s.zugang, vertrauen, b);
    EXPECT_EQ(Inhalt(s.ordner), Inhalt(neu));
    EXPECT_TRUE(Stimmig(s.ordner, Inhalt(neu)));
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

// Everything but the password and the passphrase goes into the file, only its
// owner may read it, and it comes back.
TEST(VeroeffentlichenEinstellungen, OhnePasswort) {
    test::TempOrdner t;
    VeroeffentlichenEinstellungen e;
    e.zugang = {.protokoll = Protokoll::FTPS,
                .server = "ftp.example.org",
                .port = 2121,
                .benutzer = W("müller"),
                .passwort = "Geheim!",
                .schluessel = "",
                .passphrase = "Schloss!",
                .ordner = "/htdocs"};
    e.vertrauen.hostSchluessel["a:22"] = "SHA256:abc";
    e.vertrauen.zertifikate["b:21"] = {"AB:CD", "sha256//xyz="};
    e.vertrauen.zertifikate["c:21"] = {"EF:01", "sha256//abc=", true};
    e.adresse = "https://www.beispiel.de";
    e.verbindungen = 6;
    const std::string pfad = EinstellungenPfad(t.pfad());
    Schreiben(pfad, "alt");
    fs::permissions(pfad, fs::perms::all);
    EinstellungenSchreiben(pfad, e);
    EXPECT_EQ(fs::status(pfad).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Lesen(pfad).find("Geheim!"), std::string::npos);
    EXPECT_EQ(Lesen(pfad).find("Schloss!"), std::string::npos);
    const auto g = EinstellungenLesen(pfad);
    const auto felder = [](const Zugang& z) {
        return std::tie(z.protokoll, z.server, z.port, z.benutzer, z.ordner);
    };
    EXPECT_EQ(felder(g.zugang), felder(e.zugang));
    EXPECT_TRUE(g.zugang.passwort.empty() && g.zugang.passphrase.empty());
    EXPECT_EQ(g.vertrauen.hostSchluessel, e.vertrauen.hostSchluessel);
    EXPECT_EQ(g.vertrauen.zertifikate.at("b:21").pin, "sha256//xyz=");
    EXPECT_FALSE(g.vertrauen.zertifikate.at("b:21").vomSystem);
    EXPECT_EQ(g.vertrauen.zertifikate.at("c:21").pin, "sha256//abc=");
    EXPECT_TRUE(g.vertrauen.zertifikate.at("c:21").vomSystem);
    EXPECT_EQ(std::tie(g.adresse, g.verbindungen), std::tie(e.adresse, e.verbindungen));
    EXPECT_EQ(EinstellungenLesen(t / "fehlt.ini").zugang.port, 22);
    EXPECT_EQ(EinstellungenLesen(t / "fehlt.ini").verbindungen, 4);
    // Connections outside 1 to 8 are taken as the nearest, others as 4.
    for (const auto& [wert, n] : {std::pair{"0", 1}, {"99", 8}, {"-3", 1}, {"viele", 4}}) {
        Schreiben(pfad, std::string("[Veroeffentlichen]\r\nVerbindungen=") + wert + "\r\n");
        EXPECT_EQ(EinstellungenLesen(pfad).verbindungen, n) << wert;
    }
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
