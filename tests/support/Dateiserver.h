#pragma once

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/TempOrdner.h"

// Loopback servers for the publishing tests, each serving a fresh folder:
// pyftpdlib for FTP and FTPS, OpenSSH's sshd for SFTP.
namespace lw::test {

// A program started in the background, ended (SIGTERM, then SIGKILL) with the object.
class Hintergrundprozess final {
public:
    // With `ersteZeile`, waits for the program's first line on stdout.
    Hintergrundprozess(const std::vector<std::string>& argumente, std::string* ersteZeile);
    ~Hintergrundprozess();
    Hintergrundprozess(const Hintergrundprozess&) = delete;
    Hintergrundprozess& operator=(const Hintergrundprozess&) = delete;

private:
    pid_t pid_ = -1;
};

struct FtpOptionen {
    bool tls = false;
    std::string voll{};           // STOR of a name containing this gets "552"
    std::size_t abbruchNach = 0;  // the connection closes once after so many upload bytes
    bool abbruchBeimUmbenennen = false;  // closes once after the first rename, unanswered
    int hoechstens = 0;                  // connections at once, 0: any number
    int port = 0;                        // 0: a free one
    // TLS: the certificate is signed by this authority (its certificate is
    // written to that file) instead of by itself.
    std::string zertifizierungsstelle{};
    std::string abbruchBei{};     // ... or once at the STOR of a name containing this
    bool keinUeberschreiben = false;  // RNTO onto an existing file is refused
    std::string rntoNein{};  // RNTO onto this name is refused once while the old one stands aside
};

class FtpServer final {
public:
    explicit FtpServer(const FtpOptionen& optionen = {});
    int port() const { return port_; }
    // The folder the user sees as "/".
    const std::string& ordner() const { return wurzel_.pfad(); }
    static constexpr const char* kBenutzer = "lw";
    // UTF-8, with a letter Windows-1252 does not have.
    static constexpr const char* kPasswort = "geheim 1 \xCF\x89";
    // The files whose upload the server finished, in order (their server paths).
    std::vector<std::string> Empfangen() const;

private:
    TempOrdner arbeit_;
    TempOrdner wurzel_;
    int port_ = 0;
    std::unique_ptr<Hintergrundprozess> prozess_;
};

class SftpServer final {
public:
    // The client's key is locked with `passphrase` when there is one.
    explicit SftpServer(const std::string& passphrase = {});
    int port() const { return port_; }
    const std::string& ordner() const { return wurzel_.pfad(); }
    // The client's private key, the only login the server takes.
    std::string schluessel() const { return arbeit_ / "client"; }
    // The server starts again with another host key, on the same port.
    void SchluesselWechseln();

private:
    void Starten(const std::string& hostschluessel);
    TempOrdner arbeit_;
    TempOrdner wurzel_;
    int port_ = 0;
    std::unique_ptr<Hintergrundprozess> prozess_;
};

struct ProxyOptionen {
    // The first connection over which the client sends so many bytes ends
    // there (both ways); later ones pass. 0: never.
    std::size_t abreissenNach = 0;
    // Each direction's bytes arrive this much later, as over a line to a
    // web host.
    std::chrono::milliseconds verzoegerung{0};
};

// A TCP proxy on 127.0.0.1 to a loopback port, for any number of connections
// at once, on a thread of its own.
class Proxy final {
public:
    Proxy(int zielPort, const ProxyOptionen& optionen);
    ~Proxy();
    Proxy(const Proxy&) = delete;
    Proxy& operator=(const Proxy&) = delete;
    int port() const { return port_; }
    bool Abgerissen() const { return abgerissen_; }

private:
    void Laufen(int zielPort, ProxyOptionen optionen);
    int lauscher_ = -1;
    int port_ = 0;
    std::atomic<bool> ende_{false};
    std::atomic<bool> abgerissen_{false};
    std::thread faden_;
};

// Every regular file below ordner by relative path, with its bytes; names
// starting with '.' are left out when `versteckte` is false.
std::map<std::string, std::string> Inhalt(const std::string& ordner, bool versteckte = false);

}  // namespace lw::test
