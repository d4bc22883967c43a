#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

// Puts the folder Neu on a web host over SFTP, FTPS or FTP: only what changed,
// each file under a hidden name first and renamed into place when whole, so
// that visitors never get a cut-off file. The server keeps the list
// .leistenwerk-dateien of what the program put there; nothing else on the
// server is touched.
namespace lw {

enum class Protokoll { SFTP, FTPS, FTP };

// The port each protocol uses unless the user says otherwise.
int StandardPort(Protokoll protokoll);

struct Zugang {
    Protokoll protokoll = Protokoll::SFTP;
    std::string server;
    int port = 22;
    std::string benutzer;
    // Unlike the other texts of the core, the password and the passphrase are
    // UTF-8, as the user typed them: a password may hold any character, and
    // the server gets exactly those bytes. Kept in memory only, never written
    // anywhere.
    std::string passwort;
    // SFTP only, optional: the private key file (its ".pub" beside it is used
    // when it exists).
    std::string schluessel;
    // Unlocks the key; never sent as a login password, and the password is
    // never tried on the key. UTF-8 like the password, kept in memory only.
    std::string passphrase;
    // The folder on the server, "/htdocs" from the server's root, "htdocs"
    // from the login folder.
    std::string ordner;
};

// What the user has trusted, by "server:port": the SFTP host key's
// fingerprint ("SHA256:..."), and for FTPS the certificate last seen: its
// fingerprint and the pin of its public key.
struct Vertrauen {
    std::map<std::string, std::string> hostSchluessel;
    struct Zertifikat {
        std::string fingerabdruck;
        std::string pin;
        // The system's store vouched for it: not pinned, only remembered, so
        // that a certificate the store refuses on that server later is shown
        // as changed rather than asked about as new.
        bool vomSystem = false;
    };
    std::map<std::string, Zertifikat> zertifikate;
    // The certificates the system trusts, a PEM file; empty for the system's
    // own store. Not kept in the settings.
    std::string zertifikatsspeicher;
};

// Veroeffentlichen.ini beside Neu: everything but the password and the
// passphrase, readable by its owner only.
struct VeroeffentlichenEinstellungen {
    Zugang zugang;
    Vertrauen vertrauen;
    // The site's address on the web ("https://www.beispiel.de"), optional.
    std::string adresse;
    // "Gleichzeitige Verbindungen", 1 to 8; the file's values outside are
    // taken as the nearest.
    int verbindungen = 4;
};
std::string EinstellungenPfad(const std::string& zielordner);
// Defaults (SFTP, port 22, 4 connections, all else empty) where the file
// does not exist.
VeroeffentlichenEinstellungen EinstellungenLesen(const std::string& pfad);
// The password and the passphrase are left out whatever they hold; the file
// is written 0600 also where it was open to others before.
void EinstellungenSchreiben(const std::string& pfad, const VeroeffentlichenEinstellungen& e);

struct VeroeffentlichenStand {
    std::uint64_t gesendet = 0;  // bytes of this publish that went up so far
    std::uint64_t gesamt = 0;    // bytes this publish uploads
    std::string datei;           // the file under way, relative to Neu
};

struct VeroeffentlichenBegleitung {
    // Called at least every 100 ms while the publish runs, so that the
    // windows are served.
    std::function<void(const VeroeffentlichenStand&)> zwischenschritt;
    // Asked with the Zwischenschritt; true stops: the file under way is given
    // up and its hidden file removed, and the list is written for what is
    // online.
    std::function<bool()> abbrechen;
    // An unknown host key or an unverifiable certificate: the question (its
    // fingerprint in it); true trusts it from now on. Without it, it is refused.
    std::function<bool(const std::string& frage)> fragen;
};

struct VeroeffentlichenGrenzen {
    std::chrono::milliseconds verbindungsFrist{std::chrono::seconds(30)};
    std::chrono::seconds stillstandsFrist{60};
    // New connections after a connection broke during the publish.
    int wiederholungen = 3;
    // "Gleichzeitige Verbindungen" (1 to 8) that files go up over; fewer when
    // the server refuses more.
    int verbindungen = 4;
    // The list on the server is brought up to date at least this often while
    // files go up, so that after a cut no more than this goes up again.
    std::chrono::milliseconds listenTakt{std::chrono::seconds(3)};
};

struct VeroeffentlichenBericht {
    std::vector<std::string> hochgeladen;  // relative paths, the list last
    std::vector<std::string> geloescht;
    bool abgebrochen = false;
};

inline constexpr const char* kDateiliste = ".leistenwerk-dateien";

// Publishes the folder neu. A file whose name a protocol or the list cannot
// carry, and any symbolic link below neu, is refused (Hinweis) before a
// connection is made. Each failure throws Fehler with a German message;
// whatever is online then is a whole old or new version of each file, and the
// list on the server names no file with bytes other than those online. Trust the user grants
// is added to vertrauen, also when the publish fails afterwards.
VeroeffentlichenBericht Veroeffentlichen(const std::string& neu, const Zugang& zugang,
                                         Vertrauen& vertrauen,
                                         const VeroeffentlichenBegleitung& begleitung = {},
                                         const VeroeffentlichenGrenzen& grenzen = {});

// A web host shows index.html at the site's address; a site whose pages have
// other names gets a small page there that leads to the first page.
bool StartseiteFehlt(const std::string& neu);
void StartseiteAnlegen(const std::string& neu, const std::string& ersteSeite);

}  // namespace lw
