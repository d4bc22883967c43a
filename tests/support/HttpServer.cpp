#include "tests/support/HttpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

namespace lw::test {
namespace {

// Bounds so that a test that goes wrong cannot keep the server busy for ever.
constexpr int kKopfFristMs = 10'000;
constexpr auto kWarteHoechstens = std::chrono::seconds(180);
constexpr std::size_t kKopfHoechstens = 64 * 1024;

std::string Klein(std::string_view s) {
    std::string k(s);
    for (char& c : k) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return k;
}

std::string_view Getrimmt(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

const char* Grund(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 301:
            return "Moved Permanently";
        case 302:
            return "Found";
        case 303:
            return "See Other";
        case 307:
            return "Temporary Redirect";
        case 403:
            return "Forbidden";
        case 404:
            return "Not Found";
        case 500:
            return "Internal Server Error";
        default:
            return "Status";
    }
}

int LauscherOeffnen(int warteschlange, int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw std::runtime_error("socket failed");
    const int ja = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &ja, sizeof ja);
    sockaddr_in adr{};
    adr.sin_family = AF_INET;
    adr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    adr.sin_port = 0;
    socklen_t laenge = sizeof adr;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&adr), sizeof adr) != 0 ||
        ::listen(fd, warteschlange) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&adr), &laenge) != 0) {
        ::close(fd);
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    port = ntohs(adr.sin_port);
    return fd;
}

// False when the other side is gone.
bool AllesSenden(int fd, std::string_view daten) {
    while (!daten.empty()) {
        const ssize_t n = ::send(fd, daten.data(), daten.size(), MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        daten.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool AnfrageZerlegen(const std::string& kopf, Anfrage& anfrage) {
    std::size_t zeilenEnde = kopf.find("\r\n");
    const std::string_view ersteZeile = std::string_view(kopf).substr(0, zeilenEnde);
    const auto l1 = ersteZeile.find(' ');
    const auto l2 = ersteZeile.rfind(' ');
    if (l1 == std::string_view::npos || l2 == l1) return false;
    anfrage.methode = ersteZeile.substr(0, l1);
    anfrage.ziel = ersteZeile.substr(l1 + 1, l2 - l1 - 1);

    std::size_t von = zeilenEnde + 2;
    while (von < kopf.size()) {
        zeilenEnde = kopf.find("\r\n", von);
        if (zeilenEnde == std::string::npos) zeilenEnde = kopf.size();
        const std::string_view zeile = std::string_view(kopf).substr(von, zeilenEnde - von);
        von = zeilenEnde + 2;
        const auto doppelpunkt = zeile.find(':');
        if (doppelpunkt == std::string_view::npos) continue;
        const std::string name(Getrimmt(zeile.substr(0, doppelpunkt)));
        const std::string wert(Getrimmt(zeile.substr(doppelpunkt + 1)));
        const std::string klein = Klein(name);
        if (klein == "user-agent") anfrage.userAgent = wert;
        if (klein == "cache-control") anfrage.cacheControl = wert;
        if (klein == "pragma") anfrage.pragma = wert;
        anfrage.kopfzeilen.emplace_back(name, wert);
    }
    return true;
}

// HTTP/1.1 keeps the connection unless told otherwise; HTTP/1.0 closes it
// unless asked to keep it.
bool SchliessenGewuenscht(const std::string& kopf, const Anfrage& anfrage) {
    const std::string_view ersteZeile = std::string_view(kopf).substr(0, kopf.find("\r\n"));
    const bool http10 = ersteZeile.ends_with("HTTP/1.0");
    for (const auto& [name, wert] : anfrage.kopfzeilen) {
        if (Klein(name) != "connection") continue;
        const std::string klein = Klein(wert);
        if (klein.find("close") != std::string::npos) return true;
        if (klein.find("keep-alive") != std::string::npos) return false;
    }
    return http10;
}

std::string StatusUndKopf(const Antwort& a, bool schliessen) {
    std::string kopf = "HTTP/1.1 " + std::to_string(a.status) + " " + Grund(a.status) + "\r\n";
    kopf += "Content-Length: " + std::to_string(a.koerper.size()) + "\r\n";
    if (schliessen) kopf += "Connection: close\r\n";
    for (const auto& [name, wert] : a.kopfzeilen) kopf += name + ": " + wert + "\r\n";
    kopf += "\r\n";
    return kopf;
}

}  // namespace

Antwort Antwort::Seite(std::string koerper) {
    return MitStatus(200, std::move(koerper));
}

Antwort Antwort::MitStatus(int status, std::string koerper) {
    Antwort a;
    a.status = status;
    a.koerper = std::move(koerper);
    return a;
}

Antwort Antwort::Umleitung(std::string ort, int status, std::string koerper) {
    Antwort a = MitStatus(status, std::move(koerper));
    a.kopfzeilen.emplace_back("Location", std::move(ort));
    return a;
}

Antwort Antwort::Stockend(std::string koerper, std::size_t gesendet) {
    Antwort a = Seite(std::move(koerper));
    a.verhalten = Verhalten::StocktImKoerper;
    a.gesendet = gesendet;
    return a;
}

Antwort Antwort::Abbrechend(std::string koerper, std::size_t gesendet) {
    Antwort a = Seite(std::move(koerper));
    a.verhalten = Verhalten::EndetImKoerper;
    a.gesendet = gesendet;
    return a;
}

Antwort Antwort::Stumm() {
    Antwort a;
    a.verhalten = Verhalten::Schweigt;
    return a;
}

Antwort Antwort::Roh(std::string bytes) {
    Antwort a;
    a.koerper = std::move(bytes);
    a.verhalten = Verhalten::Roh;
    return a;
}

HttpServer::HttpServer() {
    lauscher_ = LauscherOeffnen(16, port_);
    int wecker[2];
    if (::pipe2(wecker, O_CLOEXEC) != 0) {
        ::close(lauscher_);
        throw std::runtime_error("pipe failed");
    }
    weckerLesen_ = wecker[0];
    weckerSchreiben_ = wecker[1];
    faden_ = std::thread([this] { Laufen(); });
}

HttpServer::~HttpServer() {
    const char c = 'x';
    [[maybe_unused]] const ssize_t n = ::write(weckerSchreiben_, &c, 1);
    faden_.join();
    ::close(lauscher_);
    ::close(weckerLesen_);
    ::close(weckerSchreiben_);
}

std::string HttpServer::basis() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

void HttpServer::Setzen(const std::string& ziel, Antwort antwort) {
    std::lock_guard sperre(mutex_);
    antworten_[ziel] = std::move(antwort);
}

std::vector<Anfrage> HttpServer::Anfragen() const {
    std::lock_guard sperre(mutex_);
    return anfragen_;
}

std::size_t HttpServer::AnzahlAnfragen(const std::string& ziel) const {
    std::lock_guard sperre(mutex_);
    return static_cast<std::size_t>(std::count_if(
        anfragen_.begin(), anfragen_.end(), [&](const Anfrage& a) { return a.ziel == ziel; }));
}

// False when the server is being stopped or the wait ran out.
bool HttpServer::WartenAufLesbar(int fd, int millisekunden) const {
    pollfd f[2] = {{fd, POLLIN, 0}, {weckerLesen_, POLLIN, 0}};
    for (;;) {
        const int r = ::poll(f, 2, millisekunden);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0 || (f[1].revents & POLLIN)) return false;
        return true;
    }
}

void HttpServer::WartenBisGeschlossen(int verbindung) const {
    const auto ende = std::chrono::steady_clock::now() + kWarteHoechstens;
    char puffer[4096];
    while (std::chrono::steady_clock::now() < ende) {
        if (!WartenAufLesbar(verbindung, 1000)) {
            // Either stopping or just a quiet second; the wecker tells which.
            pollfd w{weckerLesen_, POLLIN, 0};
            if (::poll(&w, 1, 0) > 0) return;
            continue;
        }
        const ssize_t n = ::recv(verbindung, puffer, sizeof puffer, 0);
        if (n == 0 || (n < 0 && errno != EINTR)) return;
    }
}

void HttpServer::Laufen() {
    for (;;) {
        if (!WartenAufLesbar(lauscher_, -1)) break;
        const int verbindung = ::accept4(lauscher_, nullptr, nullptr, SOCK_CLOEXEC);
        if (verbindung < 0) continue;
        ++verbindungen_;
        bediener_.remove_if([](Faden& f) {
            if (!f.fertig) return false;
            f.faden.join();
            return true;
        });
        // A client may hold a kept-alive connection while it opens another.
        Faden& neu = bediener_.emplace_back();
        neu.faden = std::thread([this, verbindung, &neu] {
            Bedienen(verbindung);
            ::close(verbindung);
            neu.fertig = true;
        });
    }
    for (Faden& f : bediener_) f.faden.join();
}

void HttpServer::Bedienen(int verbindung) {
    std::string gelesen;
    while (EineAnfrage(verbindung, gelesen)) {
    }
}

bool HttpServer::EineAnfrage(int verbindung, std::string& gelesen) {
    char puffer[4096];
    while (gelesen.find("\r\n\r\n") == std::string::npos) {
        // A kept-alive connection may rest long between two requests.
        const int frist =
            gelesen.empty() ? static_cast<int>(std::chrono::milliseconds(kWarteHoechstens).count())
                            : kKopfFristMs;
        if (gelesen.size() > kKopfHoechstens || !WartenAufLesbar(verbindung, frist)) return false;
        const ssize_t n = ::recv(verbindung, puffer, sizeof puffer, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        gelesen.append(puffer, static_cast<std::size_t>(n));
    }
    const std::size_t kopfEnde = gelesen.find("\r\n\r\n");
    const std::string kopf = gelesen.substr(0, kopfEnde);
    // What follows belongs to the next request.
    gelesen.erase(0, kopfEnde + 4);

    Anfrage anfrage;
    if (!AnfrageZerlegen(kopf, anfrage)) return false;
    const bool schliessen = SchliessenGewuenscht(kopf, anfrage);
    Antwort antwort = Antwort::MitStatus(404, "nicht gefunden");
    {
        std::lock_guard sperre(mutex_);
        anfragen_.push_back(anfrage);
        if (const auto it = antworten_.find(anfrage.ziel); it != antworten_.end())
            antwort = it->second;
    }

    using V = Antwort::Verhalten;
    switch (antwort.verhalten) {
        case V::Vollstaendig:
            return AllesSenden(verbindung, StatusUndKopf(antwort, schliessen) + antwort.koerper) &&
                   !schliessen;
        case V::Roh:
            AllesSenden(verbindung, antwort.koerper);
            return false;
        case V::Schweigt:
            WartenBisGeschlossen(verbindung);
            return false;
        case V::EndetImKoerper:
        case V::StocktImKoerper: {
            const std::string_view teil =
                std::string_view(antwort.koerper)
                    .substr(0, std::min(antwort.gesendet, antwort.koerper.size()));
            if (!AllesSenden(verbindung, StatusUndKopf(antwort, true)) ||
                !AllesSenden(verbindung, teil))
                return false;
            if (antwort.verhalten == V::StocktImKoerper) WartenBisGeschlossen(verbindung);
            return false;
        }
    }
    return false;
}

VollerPort::VollerPort() {
    // With no room in the queue, the kernel drops further connection requests
    // and the client keeps waiting.
    lauscher_ = LauscherOeffnen(0, port_);
    sockaddr_in adr{};
    adr.sin_family = AF_INET;
    adr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    adr.sin_port = htons(static_cast<uint16_t>(port_));
    for (int i = 0; i < 2; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0) break;
        ::connect(fd, reinterpret_cast<sockaddr*>(&adr), sizeof adr);
        fueller_.push_back(fd);
    }
    // Give the kernel a moment to queue the fillers.
    pollfd f{fueller_.empty() ? -1 : fueller_.front(), POLLOUT, 0};
    ::poll(&f, 1, 500);
}

VollerPort::~VollerPort() {
    for (const int fd : fueller_) ::close(fd);
    ::close(lauscher_);
}

int FreierPort() {
    int port = 0;
    const int fd = LauscherOeffnen(1, port);
    ::close(fd);
    return port;
}

namespace {
constexpr const char* kProxyNamen[] = {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY",
                                       "all_proxy",  "ALL_PROXY",  "no_proxy",    "NO_PROXY"};
}  // namespace

ProxyUmgebung::ProxyUmgebung() {
    for (const char* name : kProxyNamen) {
        if (const char* wert = std::getenv(name)) gemerkt_[name] = wert;
        ::unsetenv(name);
    }
}

ProxyUmgebung::ProxyUmgebung(const HttpServer& server) : ProxyUmgebung() {
    ::setenv("http_proxy", server.basis().c_str(), 1);
    ::setenv("no_proxy", "", 1);
}

ProxyUmgebung::~ProxyUmgebung() {
    for (const char* name : kProxyNamen) {
        const auto it = gemerkt_.find(name);
        if (it == gemerkt_.end())
            ::unsetenv(name);
        else
            ::setenv(name, it->second.c_str(), 1);
    }
}

}  // namespace lw::test
