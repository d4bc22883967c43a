// Publishing against real loopback servers: pyftpdlib for FTP and FTPS,
// OpenSSH's sshd for SFTP.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "common/Fehler.h"
#include "common/Zeichensatz.h"
#include "publish/Krypto.h"
#include "publish/Veroeffentlichen.h"
#include "tests/support/Dateiserver.h"
#include "tests/support/HttpServer.h"
#include "tests/support/TempOrdner.h"

namespace lw {
namespace {

using test::Inhalt;
using test::Lesen;
using test::Schreiben;
using Bestand = std::map<std::string, std::string>;

// A small site as the writer leaves it, with a picture big enough to take
// several writes and a hidden file that must stay home.
void SeiteAnlegen(const std::string& neu) {
    std::filesystem::create_directories(neu + "/css");
    std::filesystem::create_directories(neu + "/img");
    Schreiben(neu + "/Seite1.html", "<html>eins</html>\r\n");
    Schreiben(neu + "/Seite2.html", "<html>zwei</html>\r\n");
    Schreiben(neu + "/Neue Seite.html", "<html>drei</html>\r\n");
    Schreiben(neu + "/css/formate.css", "body { color: red; }\r\n");
    std::string bild(300 * 1024, '\0');
    for (std::size_t i = 0; i < bild.size(); ++i) bild[i] = static_cast<char>(i * 7 + i / 251);
    Schreiben(neu + "/img/banner.jpg", bild);
    Schreiben(neu + "/.versteckt", "bleibt daheim");
}

// The list on the server names exactly the files online, each with its size
// and hash as it is there.
void ListeStimmt(const std::string& server, const std::string& fremd = {}) {
    Bestand online = Inhalt(server);
    online.erase(fremd);
    std::set<std::string> genannt;
    const std::string liste = Lesen(server + "/" + kDateiliste);
    std::size_t pos = 0;
    while (pos < liste.size()) {
        const auto ende = liste.find('\n', pos);
        const std::string zeile = liste.substr(pos, ende - pos);
        pos = ende + 1;
        const auto a = zeile.find(' ');
        const auto b = zeile.find(' ', a + 1);
        const std::string pfad = zeile.substr(b + 1);
        ASSERT_TRUE(online.contains(pfad)) << pfad;
        EXPECT_EQ(zeile.substr(0, a), Hex(Sha256Von(online.at(pfad)))) << pfad;
        EXPECT_EQ(zeile.substr(a + 1, b - a - 1), std::to_string(online.at(pfad).size()));
        genannt.insert(pfad);
    }
    EXPECT_EQ(genannt.size(), online.size());
}

// Each file online is whole: as in Neu now or as it was before.
void NurGanzeDateien(const std::string& server, const Bestand& neu, const Bestand& vorher = {}) {
    for (const auto& [pfad, bytes] : Inhalt(server)) {
        const bool neuGleich = neu.contains(pfad) && neu.at(pfad) == bytes;
        const bool altGleich = vorher.contains(pfad) && vorher.at(pfad) == bytes;
        EXPECT_TRUE(neuGleich || altGleich) << pfad;
    }
}

struct Ziel {
    Zugang zugang;
    std::string server;  // the folder the site lands in on this machine
};

class Server {
public:
    virtual ~Server() = default;
    virtual Ziel ZielFuer(const std::string& unterordner) const = 0;
};

class FtpArt final : public Server {
public:
    explicit FtpArt(test::FtpOptionen o = {}) : tls_(o.tls), server_(o) {}
    Ziel ZielFuer(const std::string& unterordner) const override {
        Ziel z;
        z.zugang.protokoll = tls_ ? Protokoll::FTPS : Protokoll::FTP;
        z.zugang.server = "127.0.0.1";
        z.zugang.port = server_.port();
        z.zugang.benutzer = test::FtpServer::kBenutzer;
        z.zugang.passwort = test::FtpServer::kPasswort;
        z.zugang.ordner = "/" + unterordner;
        z.server = server_.ordner() + "/" + unterordner;
        return z;
    }
    const test::FtpServer& server() const { return server_; }

private:
    bool tls_;
    test::FtpServer server_;
};

class SftpArt final : public Server {
public:
    Ziel ZielFuer(const std::string& unterordner) const override {
        Ziel z;
        z.zugang.protokoll = Protokoll::SFTP;
        z.zugang.server = "127.0.0.1";
        z.zugang.port = server_.port();
        z.zugang.benutzer = BenutzerName();
        z.zugang.schluessel = server_.schluessel();
        z.zugang.ordner = server_.ordner() + "/" + unterordner;
        z.server = z.zugang.ordner;
        return z;
    }
    test::SftpServer& server() { return server_; }

private:
    static std::string BenutzerName() {
        const char* n = std::getenv("USER");
        if (n && *n) return n;
        return ::geteuid() == 0 ? "root" : std::string(::getlogin() ? ::getlogin() : "");
    }
    test::SftpServer server_;
};

// Says "Ja" and keeps the questions.
struct Antworten {
    std::vector<std::string> fragen;
    bool ja = true;
    VeroeffentlichenBegleitung Begleitung() {
        VeroeffentlichenBegleitung b;
        b.fragen = [this](const std::string& f) {
            fragen.push_back(f);
            return ja;
        };
        return b;
    }
};

std::string Fehlertext(const std::function<void()>& f) {
    try {
        f();
    } catch (const Fehler& e) {
        return e.what();
    }
    return "kein Fehler";
}

class Veroeffentlichen_ : public ::testing::TestWithParam<Protokoll> {
protected:
    std::unique_ptr<Server> Starten() {
        if (GetParam() == Protokoll::SFTP) return std::make_unique<SftpArt>();
        test::FtpOptionen o;
        o.tls = GetParam() == Protokoll::FTPS;
        return std::make_unique<FtpArt>(o);
    }
};

// First publish, a change, a file deleted by hand on the server, and a file
// the program never put there: the server's folder follows Neu byte for byte,
// and only what changed goes up.
TEST_P(Veroeffentlichen_, GleichtDenServerAb) {
    test::TempOrdner t;
    const std::string neu = t / "Neu";
    SeiteAnlegen(neu);
    auto server = Starten();
    const Ziel ziel = server->ZielFuer("htdocs");
    Vertrauen vertrauen;
    Antworten antworten;

    auto bericht = Veroeffentlichen(neu, ziel.zugang, vertrauen, antworten.Begleitung());
    EXPECT_EQ(Inhalt(ziel.server), Inhalt(neu));
    EXPECT_EQ(bericht.hochgeladen.size(), 6u);
    EXPECT_EQ(bericht.hochgeladen.back(), kDateiliste);
    // Pictures and stylesheets before the pages.
    EXPECT_EQ(bericht.hochgeladen[0], "css/formate.css");
    EXPECT_EQ(bericht.hochgeladen[1], "img/banner.jpg");
    EXPECT_FALSE(std::filesystem::exists(ziel.server + "/.versteckt"));
    ListeStimmt(ziel.server);
    // Plain FTP asks nothing; SFTP's unknown key and FTPS's self-made
    // certificate are asked about once, with their fingerprints.
    if (GetParam() == Protokoll::FTP) {
        EXPECT_TRUE(antworten.fragen.empty());
    } else {
        ASSERT_EQ(antworten.fragen.size(), 1u);
        const std::string& abdruck = GetParam() == Protokoll::SFTP
                                         ? vertrauen.hostSchluessel.begin()->second
                                         : vertrauen.zertifikate.begin()->second.fingerabdruck;
        EXPECT_NE(antworten.fragen[0].find(abdruck), std::string::npos);
    }

    Schreiben(neu + "/Seite2.html", "<html>zwei, neu</html>\r\n");
    std::filesystem::remove(neu + "/Neue Seite.html");
    Schreiben(neu + "/img/neu.gif", "GIF89a");
    Schreiben(ziel.server + "/fremd.txt", "nicht von uns");
    bericht = Veroeffentlichen(neu, ziel.zugang, vertrauen, antworten.Begleitung());
    EXPECT_EQ(bericht.hochgeladen,
              (std::vector<std::string>{"img/neu.gif", "Seite2.html", kDateiliste}));
    EXPECT_EQ(bericht.geloescht, std::vector<std::string>{"Neue Seite.html"});
    Bestand erwartet = Inhalt(neu);
    erwartet["fremd.txt"] = "nicht von uns";
    EXPECT_EQ(Inhalt(ziel.server), erwartet);
    EXPECT_EQ(antworten.fragen.size(), GetParam() == Protokoll::FTP ? 0u : 1u);

    // Deleted by hand: sent again, and nothing else.
    std::filesystem::remove(ziel.server + "/css/formate.css");
    bericht = Veroeffentlichen(neu, ziel.zugang, vertrauen, antworten.Begleitung());
    EXPECT_EQ(bericht.hochgeladen, std::vector<std::string>{"css/formate.css"});
    EXPECT_EQ(Inhalt(ziel.server), erwartet);
    ListeStimmt(ziel.server, "fremd.txt");
    // No hidden leftovers of the uploads.
    EXPECT_EQ(Inhalt(ziel.server, true).size(), erwartet.size() + 1);
}

INSTANTIATE_TEST_SUITE_P(Protokolle, Veroeffentlichen_,
                         ::testing::Values(Protokoll::FTP, Protokoll::FTPS, Protokoll::SFTP),
                         [](const auto& info) {
                             return info.param == Protokoll::FTP    ? std::string("FTP")
                                    : info.param == Protokoll::FTPS ? std::string("FTPS")
                                                                    : std::string("SFTP");
                         });

// A connection dropped in the middle of the picture: retried on a new
// connection, the files already done kept, and nothing cut off online.
TEST(VeroeffentlichenFehler, AbgerisseneVerbindungWirdWiederholt) {
    test::TempOrdner t;
    const std::string neu = t / "Neu";
    SeiteAnlegen(neu);
    test::FtpOptionen o;
    o.abbruchNach = 100 * 1024;
    FtpArt server(o);
    const Ziel ziel = server.ZielFuer("");
    Vertrauen vertrauen;
    Veroeffentlichen(neu, ziel.zugang, vertrauen);
    EXPECT_EQ(Inhalt(ziel.server), Inhalt(neu));
    ListeStimmt(ziel.server);
    // The stylesheet once, the picture twice (broken off, then whole).
    const auto empfangen = server.server().Empfangen();
    EXPECT_EQ(std::count(empfangen.begin(), empfangen.end(), "css/.formate.css.lw-neu"), 1);
    EXPECT_EQ(Inhalt(ziel.server, true).size(), Inhalt(neu).size() + 1);
}

// Without retries the publish fails, leaving only whole files and a list that
// names no more than is online; the next publish completes it.
TEST(VeroeffentlichenFehler, AbbruchOhneWiederholungUndNaechsterLauf) {
    test::TempOrdner t;
    const std::string neu = t / "Neu";
    SeiteAnlegen(neu);
    SftpArt sftp;
    test::AbreissProxy proxy(sftp.server().port(), 150 * 1024);
    Ziel ziel = sftp.ZielFuer("site");
    ziel.zugang.port = proxy.port();
    Vertrauen vertrauen;
    Antworten antworten;
    VeroeffentlichenGrenzen grenzen;
    grenzen.wiederholungen = 0;
    const std::string text = Fehlertext(
        [&] { Veroeffentlichen(neu, ziel.zugang, vertrauen, antworten.Begleitung(), grenzen); });
    EXPECT_NE(text.find("Verbindung"), std::string::npos) << text;
    EXPECT_TRUE(proxy.Abgerissen());
    NurGanzeDateien(ziel.server, Inhalt(neu));
    EXPECT_FALSE(std::filesystem::exists(ziel.server + "/img/banner.jpg"));
    if (std::filesystem::exists(ziel.server + "/" + kDateiliste)) ListeStimmt(ziel.server);

    Veroeffentlichen(neu, ziel.zugang, vertrauen, antworten.Begleitung());
    EXPECT_EQ(Inhalt(ziel.server), Inhalt(neu));
    ListeStimmt(ziel.server);
}

// "552": the message says so, what went up before stays, the list names it.
TEST(VeroeffentlichenFehler, KeinPlatzAufDemServer) {
    test::TempOrdner t;
    const std::string neu = t / "Neu";
    SeiteAnlegen(neu);
    test::FtpOptionen o;
    o.voll = "Seite2";
    FtpArt server(o);
    const Ziel ziel = server.ZielFuer("");
    Vertrauen vertrauen;
    const std::string text = Fehlertext([&] { Veroeffentlichen(neu, ziel.zugang, vertrauen); });
    EXPECT_NE(text.find("kein Platz"), std::string::npos) << text;
    EXPECT_NE(text.find("Seite2.html"), std::string::npos) << text;
    NurGanzeDateien(ziel.server, Inhalt(neu));
    EXPECT_TRUE(std::filesystem::exists(ziel.server + "/img/banner.jpg"));
    EXPECT_FALSE(std::filesystem::exists(ziel.server + "/Seite2.html"));
    ListeStimmt(ziel.server);
}

// Refusals before anything goes up, each with its own message, nothing online.
TEST(VeroeffentlichenFehler, AnmeldungUndVerbindung) {
    test::TempOrdner t;
    const std::string neu = t / "Neu";
    SeiteAnlegen(neu);
    FtpArt ftp;
    Ziel ziel = ftp.ZielFuer("");
    Vertrauen vertrauen;
    Zugang falsch = ziel.zugang;
    falsch.passwort = "falsch";
    EXPECT_NE(Fehlertext([&] { Veroeffentlichen(neu, falsch, vertrauen); }).find("Passwort"),
              std::string::npos);
    Zugang zu = ziel.zugang;
    zu.port = test::FreierPort();
    EXPECT_NE(Fehlertext([&] { Veroeffentlichen(neu, zu, vertrauen); }).find("keine Verbindung an"),
              std::string::npos);
    Zugang unbekannt = ziel.zugang;
    unbekannt.server = "kein-server.invalid";
    EXPECT_NE(Fehlertext([&] { Veroeffentlichen(neu, unbekannt, vertrauen); }).find("unbekannt"),
              std::string::npos);
    EXPECT_TRUE(Inhalt(ziel.server, true).empty());
}

// A host key that changed after the first publish is refused, naming both
// fingerprints; "Nein" to an unknown key publishes nothing.
TEST(VeroeffentlichenFehler, HostSchluessel) {
    test::TempOrdner t;
    const std::string neu = t / "Neu";
    SeiteAnlegen(neu);
    SftpArt sftp;
    const Ziel ziel = sftp.ZielFuer("site");
    Vertrauen vertrauen;
    Antworten nein;
    nein.ja = false;
    EXPECT_NE(Fehlertext([&] {
                  Veroeffentlichen(neu, ziel.zugang, vertrauen, nein.Begleitung());
              }).find(W("nicht bestätigt")),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(ziel.server));
    EXPECT_TRUE(vertrauen.hostSchluessel.empty());

    Antworten ja;
    Veroeffentlichen(neu, ziel.zugang, vertrauen, ja.Begleitung());
    const std::string alt = vertrauen.hostSchluessel.begin()->second;
    sftp.server().SchluesselWechseln();
    Schreiben(neu + "/Seite1.html", "<html>anders</html>");
    const Bestand vorher = Inhalt(ziel.server);
    const std::string text =
        Fehlertext([&] { Veroeffentlichen(neu, ziel.zugang, vertrauen, ja.Begleitung()); });
    EXPECT_NE(text.find(alt), std::string::npos) << text;
    EXPECT_NE(text.find(W("geändert")), std::string::npos) << text;
    EXPECT_EQ(ja.fragen.size(), 1u);
    EXPECT_EQ(Inhalt(ziel.server), vorher);
    EXPECT_EQ(vertrauen.hostSchluessel.begin()->second, alt);
}

// "Abbrechen" during an upload: the file under way leaves no hidden part,
// and the list names exactly what is online.
TEST(VeroeffentlichenFehler, Abbrechen) {
    test::TempOrdner t;
    const std::string neu = t / "Neu";
    SeiteAnlegen(neu);
    std::string gross(std::size_t{64} * 1024 * 1024, 'x');
    Schreiben(neu + "/img/gross.bmp", gross);
    FtpArt ftp;
    const Ziel ziel = ftp.ZielFuer("");
    Vertrauen vertrauen;
    VeroeffentlichenBegleitung b;
    bool stopp = false;
    int schritte = 0;
    b.zwischenschritt = [&](const VeroeffentlichenStand& s) {
        ++schritte;
        if (s.datei == "img/gross.bmp" && s.gesendet > 0) stopp = true;
    };
    b.abbrechen = [&] { return stopp; };
    const auto bericht = Veroeffentlichen(neu, ziel.zugang, vertrauen, b);
    EXPECT_TRUE(bericht.abgebrochen);
    EXPECT_GT(schritte, 0);
    NurGanzeDateien(ziel.server, Inhalt(neu));
    EXPECT_FALSE(std::filesystem::exists(ziel.server + "/Seite1.html"));
    ListeStimmt(ziel.server);
    for (const auto& [pfad, bytes] : Inhalt(ziel.server, true))
        EXPECT_TRUE(pfad == kDateiliste || !pfad.starts_with('.')) << pfad;
}

// Everything but the password goes into the file, and comes back.
TEST(VeroeffentlichenEinstellungen, OhnePasswort) {
    test::TempOrdner t;
    VeroeffentlichenEinstellungen e;
    e.zugang = {Protokoll::FTPS, "ftp.example.org", 2121, W("müller"), "Geheim!", "", "/htdocs"};
    e.vertrauen.hostSchluessel["a:22"] = "SHA256:abc";
    e.vertrauen.zertifikate["b:21"] = {"AB:CD", "sha256//xyz="};
    const std::string pfad = EinstellungenPfad(t.pfad());
    EinstellungenSchreiben(pfad, e);
    EXPECT_EQ(Lesen(pfad).find("Geheim!"), std::string::npos);
    const auto gelesen = EinstellungenLesen(pfad);
    EXPECT_EQ(gelesen.zugang.server, "ftp.example.org");
    EXPECT_EQ(gelesen.zugang.port, 2121);
    EXPECT_EQ(gelesen.zugang.protokoll, Protokoll::FTPS);
    EXPECT_EQ(gelesen.zugang.benutzer, W("müller"));
    EXPECT_TRUE(gelesen.zugang.passwort.empty());
    EXPECT_EQ(gelesen.zugang.ordner, "/htdocs");
    EXPECT_EQ(gelesen.vertrauen.hostSchluessel, e.vertrauen.hostSchluessel);
    EXPECT_EQ(gelesen.vertrauen.zertifikate.at("b:21").pin, "sha256//xyz=");
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
