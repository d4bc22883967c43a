#include "bench/Messung.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace lw::bench {

double Jetzt() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

double Dauer(const std::function<void()>& schritt) {
    const double anfang = Jetzt();
    schritt();
    return Jetzt() - anfang;
}

double Median(std::vector<double> werte) {
    if (werte.empty()) return 0;
    std::sort(werte.begin(), werte.end());
    const std::size_t m = werte.size() / 2;
    return werte.size() % 2 ? werte[m] : (werte[m - 1] + werte[m]) / 2;
}

double Rechenzeit(const rusage& verbrauch) {
    const auto sekunden = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return sekunden(verbrauch.ru_utime) + sekunden(verbrauch.ru_stime);
}

double Rechenzeit() {
    rusage verbrauch{};
    ::getrusage(RUSAGE_SELF, &verbrauch);
    return Rechenzeit(verbrauch);
}

Kind Ausfuehren(const std::vector<std::string>& argumente, bool sammeln) {
    std::vector<char*> argv;
    for (const auto& a : argumente) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    int rohr[2] = {-1, -1};
    if (sammeln && ::pipe2(rohr, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
    posix_spawn_file_actions_t aktionen;
    posix_spawn_file_actions_init(&aktionen);
    if (sammeln)
        posix_spawn_file_actions_adddup2(&aktionen, rohr[1], STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&aktionen, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&aktionen, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    pid_t pid = 0;
    const int fehler = ::posix_spawnp(&pid, argv[0], &aktionen, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&aktionen);
    if (sammeln) ::close(rohr[1]);
    if (fehler != 0) {
        if (sammeln) ::close(rohr[0]);
        throw std::runtime_error(argumente[0] + ": " + std::strerror(fehler));
    }

    Kind kind;
    if (sammeln) {
        char puffer[4096];
        for (;;) {
            const ssize_t n = ::read(rohr[0], puffer, sizeof puffer);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            kind.ausgabe.append(puffer, static_cast<std::size_t>(n));
        }
        ::close(rohr[0]);
    }
    // wait4 gives this child's own peak memory, not the maximum of all children.
    while (::wait4(pid, &kind.status, 0, &kind.verbrauch) < 0)
        if (errno != EINTR) throw std::runtime_error("wait4 failed");
    return kind;
}

Kind AusfuehrenErfolgreich(const std::vector<std::string>& argumente, bool sammeln) {
    Kind kind = Ausfuehren(argumente, sammeln);
    if (!WIFEXITED(kind.status) || WEXITSTATUS(kind.status) != 0)
        throw std::runtime_error(argumente[0] + " failed (status " + std::to_string(kind.status) +
                                 ")");
    return kind;
}

Paar Abwechselnd(int wiederholungen, const std::function<void()>& vorbereiten,
                 const std::function<double()>& eigen, const std::function<double()>& vergleich) {
    Paar paar;
    for (int i = 0; i < wiederholungen; ++i) {
        for (int seite = 0; seite < 2; ++seite) {
            const bool eigenJetzt = (seite == 0) == (i % 2 == 0);
            if (vorbereiten) vorbereiten();
            if (eigenJetzt)
                paar.eigen.push_back(eigen());
            else
                paar.vergleich.push_back(vergleich());
        }
    }
    return paar;
}

bool Urteil(const std::string& name, double eigen, double vergleich, double ziel,
            const std::string& einheit, double toleranz) {
    const double verhaeltnis = vergleich > 0 ? eigen / vergleich : 0;
    const bool erreicht = vergleich > 0 && verhaeltnis <= ziel;
    const bool inToleranz = vergleich > 0 && verhaeltnis <= ziel * (1 + toleranz);
    std::printf("%s: %.1f %s gegen %.1f %s, Verhältnis %.2f (Ziel höchstens %.2f): %s\n",
                name.c_str(), eigen, einheit.c_str(), vergleich, einheit.c_str(), verhaeltnis, ziel,
                erreicht     ? "erreicht"
                : inToleranz ? "erreicht im Rahmen der Messschwankung"
                             : "VERFEHLT");
    std::fflush(stdout);
    return inToleranz;
}

double MedianVerhaeltnis(const Paar& paar) {
    std::vector<double> verhaeltnisse;
    for (std::size_t i = 0; i < paar.eigen.size() && i < paar.vergleich.size(); ++i)
        if (paar.vergleich[i] > 0) verhaeltnisse.push_back(paar.eigen[i] / paar.vergleich[i]);
    return Median(verhaeltnisse);
}

bool Urteil(const std::string& name, const Paar& paar, double ziel, const std::string& einheit) {
    const double verhaeltnis = MedianVerhaeltnis(paar);
    const bool erreicht = verhaeltnis > 0 && verhaeltnis <= ziel;
    std::printf(
        "%s: %.1f %s gegen %.1f %s, Verhältnis %.2f (Ziel höchstens %.2f, Median der Paare): %s\n",
        name.c_str(), Median(paar.eigen), einheit.c_str(), Median(paar.vergleich), einheit.c_str(),
        verhaeltnis, ziel, erreicht ? "erreicht" : "VERFEHLT");
    std::fflush(stdout);
    return erreicht;
}

bool Grenze(const std::string& name, double wert, double ziel, const std::string& einheit) {
    const bool erreicht = wert <= ziel;
    std::printf("%s: %.1f %s (Ziel höchstens %.1f %s): %s\n", name.c_str(), wert, einheit.c_str(),
                ziel, einheit.c_str(), erreicht ? "erreicht" : "VERFEHLT");
    std::fflush(stdout);
    return erreicht;
}

int Wiederholungen(int argc, char** argv, int vorgabe) {
    if (argc < 2) return vorgabe;
    const int n = std::atoi(argv[1]);
    return n > 0 ? n : vorgabe;
}

}  // namespace lw::bench
