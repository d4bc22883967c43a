#include "tests/support/Dateiserver.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "tests/support/HttpServer.h"

extern char** environ;

namespace lw::test {
namespace {

std::vector<char*> Argv(const std::vector<std::string>& argumente) {
    std::vector<char*> argv;
    for (const auto& a : argumente) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    return argv;
}

// Runs a program to its end; throws when it fails.
void Ausfuehren(const std::vector<std::string>& argumente) {
    pid_t pid = -1;
    int status = 0;
    if (::posix_spawnp(&pid, argumente[0].c_str(), nullptr, nullptr, Argv(argumente).data(),
                       environ) != 0 ||
        ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("fehlgeschlagen: " + argumente[0]);
}

sockaddr_in Loopback(int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

bool Erreichbar(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = Loopback(port);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(fd);
    return ok;
}

void WartenAufPort(int port) {
    const auto bis = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!Erreichbar(port)) {
        if (std::chrono::steady_clock::now() > bis)
            throw std::runtime_error("Server antwortet nicht auf Port " + std::to_string(port));
        ::usleep(20000);
    }
}

}  // namespace

Hintergrundprozess::Hintergrundprozess(const std::vector<std::string>& argumente,
                                       std::string* ersteZeile) {
    int rohr[2] = {-1, -1};
    if (ersteZeile && ::pipe2(rohr, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    std::vector<char*> argv = Argv(argumente);
    const pid_t eltern = ::getpid();
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork");
    if (pid_ == 0) {
        // A server outliving a crashed test would hold the test's output open
        // and keep its runner waiting for the timeout.
        if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != eltern) ::_exit(127);
        if (ersteZeile && ::dup2(rohr[1], 1) < 0) ::_exit(127);
        ::execve(argv[0], argv.data(), environ);
        ::_exit(127);
    }
    if (!ersteZeile) return;
    ::close(rohr[1]);
    std::string zeile;
    char c = 0;
    pollfd p{rohr[0], POLLIN, 0};
    while (::poll(&p, 1, 20000) == 1 && ::read(rohr[0], &c, 1) == 1 && c != '\n') zeile += c;
    ::close(rohr[0]);
    if (zeile.empty()) throw std::runtime_error("keine Antwort von " + argumente[0]);
    *ersteZeile = zeile;
}

Hintergrundprozess::~Hintergrundprozess() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (::waitpid(pid_, nullptr, WNOHANG) == pid_) return;
        ::usleep(10000);
    }
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
}

FtpServer::FtpServer(const FtpOptionen& o) {
    std::vector<std::string> a{"/usr/bin/python3", LW_TESTQUELLEN "/ftp_server.py",
                               "--ordner",         wurzel_.pfad(),
                               "--benutzer",       kBenutzer,
                               "--passwort",       kPasswort,
                               "--protokoll",      arbeit_ / "empfangen"};
    if (o.tls) {
        std::vector<std::string> req{"openssl", "req",  "-x509",  "-newkey",
                                     "rsa:2048", "-nodes", "-days", "2",
                                     "-subj",    "/CN=127.0.0.1", "-addext",
                                     "subjectAltName=IP:127.0.0.1", "-keyout",
                                     arbeit_ / "zert.pem", "-out", arbeit_ / "zert.crt",
                                     "-batch"};
        if (!o.zertifizierungsstelle.empty()) {
            Ausfuehren({"openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                        "-subj", "/CN=Leistenwerk Test-CA", "-keyout", arbeit_ / "ca.pem",
                        "-out", o.zertifizierungsstelle, "-batch"});
            req.insert(req.end(), {"-CA", o.zertifizierungsstelle, "-CAkey", arbeit_ / "ca.pem"});
        }
        Ausfuehren(req);
        Schreiben(arbeit_ / "beides.pem",
                  Lesen(arbeit_ / "zert.crt") + Lesen(arbeit_ / "zert.pem"));
        a.insert(a.end(), {"--zert", arbeit_ / "beides.pem"});
    }
    if (!o.voll.empty()) a.insert(a.end(), {"--voll", o.voll});
    if (o.abbruchNach) a.insert(a.end(), {"--abbruch-nach", std::to_string(o.abbruchNach)});
    if (o.abbruchBeimUmbenennen) a.push_back("--abbruch-bei-rnto");
    if (o.hoechstens) a.insert(a.end(), {"--hoechstens", std::to_string(o.hoechstens)});
    if (o.port) a.insert(a.end(), {"--port", std::to_string(o.port)});
    if (!o.abbruchBei.empty()) a.insert(a.end(), {"--abbruch-bei", o.abbruchBei});
    if (o.keinUeberschreiben) a.push_back("--kein-ueberschreiben");
    if (!o.rntoNein.empty()) a.insert(a.end(), {"--rnto-nein", o.rntoNein});
    std::string zeile;
    prozess_ = std::make_unique<Hintergrundprozess>(a, &zeile);
    port_ = std::stoi(zeile);
}

std::vector<std::string> FtpServer::Empfangen() const {
    std::vector<std::string> namen;
    std::ifstream datei(arbeit_ / "empfangen");
    for (std::string zeile; std::getline(datei, zeile);)
        namen.push_back(
            std::filesystem::path(zeile).lexically_relative(wurzel_.pfad()).generic_string());
    return namen;
}

SftpServer::SftpServer(const std::string& passphrase) {
    // PEM, which every libssh2 reads.
    for (const char* name : {"host1", "host2", "client"})
        Ausfuehren({"ssh-keygen", "-q", "-t", "ecdsa", "-m", "PEM", "-N",
                    name == std::string("client") ? passphrase : "", "-f", arbeit_ / name});
    Schreiben(arbeit_ / "authorized_keys", Lesen(arbeit_ / "client.pub"));
    // sshd started by root wants its empty privilege-separation folder.
    if (::geteuid() == 0) ::mkdir("/run/sshd", 0755);
    port_ = FreierPort();
    Starten("host1");
}

void SftpServer::SchluesselWechseln() {
    prozess_.reset();
    Starten("host2");
}

void SftpServer::Starten(const std::string& hostschluessel) {
    std::ostringstream k;
    k << "Port " << port_ << "\nListenAddress 127.0.0.1\nHostKey " << (arbeit_ / hostschluessel)
      << "\nPidFile " << (arbeit_ / "sshd.pid") << "\nAuthorizedKeysFile "
      << (arbeit_ / "authorized_keys")
      << "\nStrictModes no\nUsePAM no\nPasswordAuthentication no\n"
         "KbdInteractiveAuthentication no\nPubkeyAuthentication yes\n"
         "PermitRootLogin prohibit-password\nSubsystem sftp internal-sftp\nLogLevel FATAL\n";
    Schreiben(arbeit_ / "sshd_config", k.str());
    prozess_ = std::make_unique<Hintergrundprozess>(
        std::vector<std::string>{"/usr/sbin/sshd", "-D", "-e", "-f", arbeit_ / "sshd_config"},
        nullptr);
    WartenAufPort(port_);
}

Proxy::Proxy(int zielPort, const ProxyOptionen& optionen) {
    lauscher_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    sockaddr_in a = Loopback(0);
    socklen_t l = sizeof a;
    if (::bind(lauscher_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        ::listen(lauscher_, 64) != 0 ||
        ::getsockname(lauscher_, reinterpret_cast<sockaddr*>(&a), &l) != 0)
        throw std::runtime_error("Proxy");
    port_ = ntohs(a.sin_port);
    faden_ = std::thread([this, zielPort, optionen] { Laufen(zielPort, optionen); });
}

Proxy::~Proxy() {
    ende_ = true;
    faden_.join();
    ::close(lauscher_);
}

namespace {

using Uhr = std::chrono::steady_clock;

// One direction of a connection: what was read and is due to be written
// then; an empty piece stands for the end of the stream.
struct Richtung {
    int von = -1, nach = -1;
    std::deque<std::pair<Uhr::time_point, std::string>> stuecke;
    std::size_t bytes = 0;
    bool gelesenBisEnde = false;
    bool geschlossen = false;  // its end was passed on
};

struct Verbindung {
    Richtung hin, her;  // client to server, server to client
    std::size_t gesendet = 0;
    bool tot = false;
};

// Reads what is there into the direction's queue; false on an error.
bool Lesen(Richtung& r, std::chrono::milliseconds verzoegerung, std::size_t* gezaehlt) {
    char puffer[65536];
    const ssize_t n = ::read(r.von, puffer, sizeof puffer);
    if (n < 0) return errno == EAGAIN || errno == EWOULDBLOCK;
    if (gezaehlt) *gezaehlt += static_cast<std::size_t>(n);
    r.stuecke.emplace_back(Uhr::now() + verzoegerung,
                           std::string(puffer, static_cast<std::size_t>(n)));
    r.bytes += static_cast<std::size_t>(n);
    if (n == 0) r.gelesenBisEnde = true;
    return true;
}

// Writes what is due; false on an error.
bool Schreiben(Richtung& r) {
    const auto jetzt = Uhr::now();
    while (!r.stuecke.empty() && r.stuecke.front().first <= jetzt) {
        std::string& s = r.stuecke.front().second;
        if (s.empty()) {
            ::shutdown(r.nach, SHUT_WR);
            r.geschlossen = true;
            r.stuecke.pop_front();
            continue;
        }
        const ssize_t n = ::send(r.nach, s.data(), s.size(), MSG_NOSIGNAL);
        if (n < 0) return errno == EAGAIN || errno == EWOULDBLOCK;
        r.bytes -= static_cast<std::size_t>(n);
        s.erase(0, static_cast<std::size_t>(n));
        if (!s.empty()) return true;
        r.stuecke.pop_front();
    }
    return true;
}

}  // namespace

void Proxy::Laufen(int zielPort, ProxyOptionen o) {
    // Reading stops while this much waits in one direction.
    constexpr std::size_t kHoechstens = std::size_t{4} * 1024 * 1024;
    std::vector<std::unique_ptr<Verbindung>> verbindungen;
    while (!ende_) {
        std::vector<pollfd> p{{lauscher_, POLLIN, 0}};
        auto frist = Uhr::now() + std::chrono::milliseconds(50);
        for (const auto& v : verbindungen)
            for (Richtung* r : {&v->hin, &v->her}) {
                const short lesen = !r->gelesenBisEnde && r->bytes < kHoechstens ? POLLIN : 0;
                short schreiben = 0;
                if (!r->stuecke.empty()) {
                    frist = std::min(frist, r->stuecke.front().first);
                    if (r->stuecke.front().first <= Uhr::now()) schreiben = POLLOUT;
                }
                p.push_back({r->von, lesen, 0});
                p.push_back({r->nach, schreiben, 0});
            }
        const auto warten = std::chrono::ceil<std::chrono::milliseconds>(frist - Uhr::now());
        if (::poll(p.data(), p.size(), static_cast<int>(std::max<long>(0, warten.count()))) < 0)
            continue;
        // A connection accepted below has no entries in this round's poll.
        const std::size_t gepollt = verbindungen.size();
        if (p[0].revents & POLLIN) {
            const int client = ::accept4(lauscher_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
            const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_in a = Loopback(zielPort);
            if (client >= 0 &&
                ::connect(server, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
                ::fcntl(server, F_SETFL, O_NONBLOCK) == 0) {
                // Pieces go on as they come, as the ends themselves send them.
                const int ja = 1;
                ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &ja, sizeof ja);
                ::setsockopt(server, IPPROTO_TCP, TCP_NODELAY, &ja, sizeof ja);
                auto v = std::make_unique<Verbindung>();
                v->hin.von = v->her.nach = client;
                v->hin.nach = v->her.von = server;
                verbindungen.push_back(std::move(v));
            } else {
                if (client >= 0) ::close(client);
                ::close(server);
            }
        }
        for (std::size_t i = 0; i < gepollt; ++i) {
            Verbindung& v = *verbindungen[i];
            const pollfd* q = &p[1 + 4 * i];
            constexpr short kLesbar = POLLIN | POLLHUP | POLLERR;
            if ((q[0].revents & kLesbar) && !Lesen(v.hin, o.verzoegerung, &v.gesendet))
                v.tot = true;
            if ((q[2].revents & kLesbar) && !Lesen(v.her, o.verzoegerung, nullptr)) v.tot = true;
            if (o.abreissenNach && !abgerissen_ && v.gesendet >= o.abreissenNach) {
                v.tot = true;
                abgerissen_ = true;
            }
            if (!v.tot && (!Schreiben(v.hin) || !Schreiben(v.her))) v.tot = true;
            if (v.hin.geschlossen && v.her.geschlossen) v.tot = true;
        }
        std::erase_if(verbindungen, [](const auto& v) {
            if (!v->tot) return false;
            ::close(v->hin.von);
            ::close(v->hin.nach);
            return true;
        });
    }
    for (const auto& v : verbindungen) {
        ::close(v->hin.von);
        ::close(v->hin.nach);
    }
}

std::map<std::string, std::string> Inhalt(const std::string& ordner, bool versteckte) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> inhalt;
    for (const auto& e : fs::recursive_directory_iterator(ordner)) {
        if (!e.is_regular_file()) continue;
        const std::string pfad = e.path().lexically_relative(ordner).generic_string();
        if (!versteckte && (pfad.starts_with('.') || pfad.find("/.") != std::string::npos))
            continue;
        inhalt[pfad] = Lesen(e.path().string());
    }
    return inhalt;
}

}  // namespace lw::test
