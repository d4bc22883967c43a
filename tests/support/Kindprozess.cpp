#include "tests/support/Kindprozess.h"

#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

#include "common/Fehler.h"

namespace lw::test {
namespace {

constexpr int kVorbereitungFehlgeschlagen = 3;

bool DateiSchreiben(const char* pfad, const std::string& text) {
    const int fd = ::open(pfad, O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    return ::close(fd) == 0 && ok;
}

// Forks; the child runs vorbereiten and then schritt and writes the answer
// into the pipe. Empty when vorbereiten failed in the child.
std::optional<std::string> ImKind(const std::function<bool()>& vorbereiten,
                                  const Schritt& schritt) {
    int rohr[2];
    if (::pipe2(rohr, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        ::close(rohr[0]);
        if (!vorbereiten()) ::_exit(kVorbereitungFehlgeschlagen);
        std::string antwort;
        try {
            antwort = schritt();
        } catch (const Fehler& f) {
            antwort = f.what();
        } catch (const std::exception& e) {
            antwort = std::string("unerwartete Ausnahme: ") + e.what();
        }
        const bool ok = ::write(rohr[1], antwort.data(), antwort.size()) ==
                        static_cast<ssize_t>(antwort.size());
        ::_exit(ok ? 0 : 1);
    }
    ::close(rohr[1]);
    std::string antwort;
    char puffer[4096];
    for (ssize_t n; (n = ::read(rohr[0], puffer, sizeof puffer)) != 0;) {
        if (n < 0) break;
        antwort.append(puffer, static_cast<std::size_t>(n));
    }
    ::close(rohr[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == kVorbereitungFehlgeschlagen) return {};
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("child ended abnormally");
    return antwort;
}

}  // namespace

std::string AlsGewoehnlicherNutzer(const Schritt& schritt) {
    const auto antwort = ImKind(
        [] {
            if (::geteuid() != 0) return true;
            const gid_t niemand = 65534;
            return ::setgroups(0, nullptr) == 0 && ::setresgid(niemand, niemand, niemand) == 0 &&
                   ::setresuid(niemand, niemand, niemand) == 0;
        },
        schritt);
    if (!antwort) throw std::runtime_error("could not drop root rights");
    return *antwort;
}

std::optional<std::string> MitKleinemDatentraeger(const std::string& ordner, std::size_t bytes,
                                                  const Schritt& schritt) {
    return ImKind(
        [&] {
            const uid_t uid = ::geteuid();
            const gid_t gid = ::getegid();
            if (uid != 0) {
                // A user namespace grants the mount right; map the caller's
                // ids so files on the tmpfs can be created.
                if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
                if (!DateiSchreiben("/proc/self/setgroups", "deny") ||
                    !DateiSchreiben("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
                    !DateiSchreiben("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1"))
                    return false;
            } else if (::unshare(CLONE_NEWNS) != 0) {
                return false;
            }
            if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
            const std::string optionen = "size=" + std::to_string(bytes);
            return ::mount("tmpfs", ordner.c_str(), "tmpfs", 0, optionen.c_str()) == 0;
        },
        schritt);
}

}  // namespace lw::test
