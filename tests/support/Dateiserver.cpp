#include "tests/support/Dateiserver.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
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
    posix_spawn_file_actions_t aktionen;
    ::posix_spawn_file_actions_init(&aktionen);
    if (ersteZeile) {
        if (::pipe2(rohr, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
        ::posix_spawn_file_actions_adddup2(&aktionen, rohr[1], 1);
    }
    const int fehler = ::posix_spawn(&pid_, argumente[0].c_str(), &aktionen, nullptr,
                                     Argv(argumente).data(), environ);
    ::posix_spawn_file_actions_destroy(&aktionen);
    if (fehler != 0) throw std::runtime_error("kann nicht starten: " + argumente[0]);
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
        Ausfuehren({"openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                    "-subj", "/CN=127.0.0.1", "-keyout", arbeit_ / "zert.pem", "-out",
                    arbeit_ / "zert.crt", "-batch"});
        Schreiben(arbeit_ / "beides.pem",
                  Lesen(arbeit_ / "zert.crt") + Lesen(arbeit_ / "zert.pem"));
        a.insert(a.end(), {"--zert", arbeit_ / "beides.pem"});
    }
    if (!o.voll.empty()) a.insert(a.end(), {"--voll", o.voll});
    if (o.abbruchNach) a.insert(a.end(), {"--abbruch-nach", std::to_string(o.abbruchNach)});
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

SftpServer::SftpServer() {
    // PEM, which every libssh2 reads.
    for (const char* name : {"host1", "host2", "client"})
        Ausfuehren(
            {"ssh-keygen", "-q", "-t", "ecdsa", "-m", "PEM", "-N", "", "-f", arbeit_ / name});
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

AbreissProxy::AbreissProxy(int zielPort, std::size_t nachBytes) {
    lauscher_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = Loopback(0);
    socklen_t l = sizeof a;
    if (::bind(lauscher_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        ::listen(lauscher_, 16) != 0 ||
        ::getsockname(lauscher_, reinterpret_cast<sockaddr*>(&a), &l) != 0)
        throw std::runtime_error("Proxy");
    port_ = ntohs(a.sin_port);
    faden_ = std::thread([this, zielPort, nachBytes] {
        while (!ende_) {
            pollfd p{lauscher_, POLLIN, 0};
            if (::poll(&p, 1, 50) != 1 || ende_) continue;
            const int client = ::accept4(lauscher_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0) return;
            if (Weiterleiten(client, zielPort, abgerissen_ ? SIZE_MAX : nachBytes))
                abgerissen_ = true;
        }
    });
}

AbreissProxy::~AbreissProxy() {
    ende_ = true;
    faden_.join();
    ::close(lauscher_);
}

// True when it ended the connection after nachBytes.
bool AbreissProxy::Weiterleiten(int client, int zielPort, std::size_t nachBytes) {
    const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = Loopback(zielPort);
    std::size_t gesendet = 0;
    bool gerissen = false;
    if (::connect(server, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
        char puffer[65536];
        pollfd p[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
        while (!ende_) {
            if (::poll(p, 2, 50) < 0) break;
            if (p[0].revents & (POLLIN | POLLHUP | POLLERR)) {
                const ssize_t n = ::read(client, puffer, sizeof puffer);
                if (n <= 0) break;
                gesendet += static_cast<std::size_t>(n);
                if ((gerissen = gesendet >= nachBytes)) break;
                if (::write(server, puffer, static_cast<std::size_t>(n)) != n) break;
            }
            if (p[1].revents & (POLLIN | POLLHUP | POLLERR)) {
                const ssize_t n = ::read(server, puffer, sizeof puffer);
                if (n <= 0 || ::write(client, puffer, static_cast<std::size_t>(n)) != n) break;
            }
        }
    }
    ::close(server);
    ::close(client);
    return gerissen;
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
