#pragma once

#include <atomic>
#include <cstddef>
#include <list>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

// A small HTTP/1.1 server for tests, listening only on 127.0.0.1. It answers
// from a table of canned answers per request target and records every request.
// Connections are kept alive for further requests unless the client asks for
// "Connection: close" or the answer's kind ends the connection; each
// connection is served on a thread of its own.
// Used as http_proxy it receives absolute-form targets ("http://host/page"),
// so the real host names can be used without anything leaving the machine.
namespace lw::test {

using Kopfzeilen = std::vector<std::pair<std::string, std::string>>;

struct Anfrage {
    std::string methode;
    std::string ziel;  // request target exactly as sent
    std::string userAgent;
    std::string cacheControl;
    std::string pragma;
    Kopfzeilen kopfzeilen;  // all header lines in their order
};

struct Antwort {
    enum class Verhalten {
        Vollstaendig,     // status line, headers, whole body; the connection stays
        StocktImKoerper,  // full Content-Length, only `gesendet` bytes, then silence
        EndetImKoerper,   // full Content-Length, only `gesendet` bytes, then close
        Schweigt,         // reads the request and never answers
        Roh,              // sends `koerper` as it is, no status line, then close
    };
    int status = 200;
    std::string koerper;
    Kopfzeilen kopfzeilen;
    Verhalten verhalten = Verhalten::Vollstaendig;
    std::size_t gesendet = 0;

    static Antwort Seite(std::string koerper);
    static Antwort MitStatus(int status, std::string koerper = {});
    static Antwort Umleitung(std::string ort, int status = 302, std::string koerper = {});
    static Antwort Stockend(std::string koerper, std::size_t gesendet);
    static Antwort Abbrechend(std::string koerper, std::size_t gesendet);
    static Antwort Stumm();
    static Antwort Roh(std::string bytes);
};

class HttpServer final {
public:
    // Listens on 127.0.0.1 at a free port and serves on a background thread
    // until destroyed. Unknown targets get 404.
    HttpServer();
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:<port>", for direct requests and for http_proxy.
    std::string basis() const;

    void Setzen(const std::string& ziel, Antwort antwort);
    std::vector<Anfrage> Anfragen() const;
    std::size_t AnzahlAnfragen(const std::string& ziel) const;
    // Connections accepted so far.
    std::size_t AnzahlVerbindungen() const { return verbindungen_; }

private:
    struct Faden {
        std::thread faden;
        std::atomic<bool> fertig{false};
    };

    void Laufen();
    void Bedienen(int verbindung);
    // False when the connection must end after this request.
    bool EineAnfrage(int verbindung, std::string& gelesen);
    bool WartenAufLesbar(int fd, int millisekunden) const;
    void WartenBisGeschlossen(int verbindung) const;

    int lauscher_ = -1;
    int weckerLesen_ = -1;
    int weckerSchreiben_ = -1;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::map<std::string, Antwort> antworten_;
    std::vector<Anfrage> anfragen_;
    std::atomic<std::size_t> verbindungen_{0};
    std::list<Faden> bediener_;  // only the accepting thread touches it
    std::thread faden_;
};

// A port on 127.0.0.1 whose queue of waiting connections is full, so that a
// further connect neither succeeds nor is refused: it waits.
class VollerPort final {
public:
    VollerPort();
    ~VollerPort();
    VollerPort(const VollerPort&) = delete;
    VollerPort& operator=(const VollerPort&) = delete;

    int port() const { return port_; }

private:
    int lauscher_ = -1;
    std::vector<int> fueller_;
    int port_ = 0;
};

// A port on 127.0.0.1 where nothing listens (connects are refused).
int FreierPort();

// Clears the proxy variables of the environment for its lifetime and restores
// them afterwards. Given a server, it becomes http_proxy with an empty
// no_proxy: requests for real host names then reach the loopback server and
// no name is resolved or contacted elsewhere.
class ProxyUmgebung final {
public:
    ProxyUmgebung();
    explicit ProxyUmgebung(const HttpServer& server);
    ~ProxyUmgebung();
    ProxyUmgebung(const ProxyUmgebung&) = delete;
    ProxyUmgebung& operator=(const ProxyUmgebung&) = delete;

private:
    std::map<std::string, std::string> gemerkt_;
};

}  // namespace lw::test
