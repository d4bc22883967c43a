#include "common/Dateien.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>

#include "common/Fehler.h"
#include "common/Zeichensatz.h"

namespace lw {
namespace {

// Closes a file opened for reading on every road out.
class Datei final {
public:
    explicit Datei(int fd) : fd_(fd) {}
    Datei(const Datei&) = delete;
    Datei& operator=(const Datei&) = delete;
    ~Datei() { ::close(fd_); }

private:
    int fd_;
};

std::string ElternOrdner(const std::string& pfad) {
    const auto p = pfad.rfind('/');
    if (p == std::string::npos) return ".";
    return p == 0 ? "/" : pfad.substr(0, p);
}

// Writes all bytes; 0 or the errno of the failed write.
int AllesSchreiben(int fd, std::string_view daten) {
    while (!daten.empty()) {
        const ssize_t n = ::write(fd, daten.data(), daten.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        daten.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

// Reads the rest of the file behind fd; 0 or the errno of the failed read.
int AllesLesen(int fd, std::string& aus) {
    // Room for the whole file at once: growing a text of megabytes step by
    // step costs more than reading it.
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
        aus.reserve(aus.size() + static_cast<std::size_t>(st.st_size));
    char puffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, puffer, sizeof puffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return 0;
        aus.append(puffer, static_cast<std::size_t>(n));
    }
}

[[noreturn]] void Werfen(int err, const std::string& pfad) {
    EAFehlerWerfen(EACodeAusErrno(err, pfad));
}

std::string Zufall() {
    static std::atomic<std::uint64_t> zaehler{0};
    std::uint64_t z = 0;
    if (::getrandom(&z, sizeof z, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof z))
        z = (static_cast<std::uint64_t>(::getpid()) << 32) ^ zaehler.fetch_add(1);
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(z));
    return text;
}

[[noreturn]] void NichtErstellt(int err, const std::string& ziel) {
    throw Fehler("Datei \"" + ziel + W("\" kann nicht erstellt werden. ") + SystemGrund(err, ziel));
}

}  // namespace

std::string LokalerPfad(std::string_view pfad) { return utf8MitReferenzen(pfad); }

int EACodeAusErrno(int err, const std::string& pfad) {
    switch (err) {
        case ENOENT:
            return OrdnerExistiert(ElternOrdner(pfad)) ? kDateiNichtGefunden : kPfadNichtGefunden;
        case ENOTDIR: return kPfadNichtGefunden;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case ETXTBSY: return kZugriffVerweigert;
        case EEXIST: return kExistiertBereits;
        case ENOSPC:
        case EDQUOT: return kSpeicherVoll;
        case EMFILE:
        case ENFILE: return kZuVieleDateien;
        case ENAMETOOLONG: return kNameZuLang;
        case EINVAL:
        case EILSEQ: return kUngueltigerName;
        default: return err;
    }
}

std::string SystemGrund(int err, const std::string& pfad) {
    switch (EACodeAusErrno(err, pfad)) {
        case kDateiNichtGefunden: return W("Das System kann die angegebene Datei nicht finden.");
        case kPfadNichtGefunden: return W("Das System kann den angegebenen Pfad nicht finden.");
        case kZugriffVerweigert: return W("Zugriff verweigert.");
        case kExistiertBereits:
            return W("Eine Datei kann nicht erstellt werden, wenn sie bereits vorhanden ist.");
        case kSpeicherVoll: return W("Auf dem Datenträger ist nicht genug Speicherplatz vorhanden.");
        case kZuVieleDateien: return W("Das System kann die Datei nicht öffnen.");
        case kNameZuLang: return W("Der Dateiname oder die Erweiterung ist zu lang.");
        case kUngueltigerName:
            return W("Die Syntax für den Dateinamen, Verzeichnisnamen oder die "
                     "Datenträgerbezeichnung ist falsch.");
        default: return W("Systemfehler ") + std::to_string(err) + ".";
    }
}

void OrdnerErzeugen(const std::string& pfad) {
    if (::mkdir(LokalerPfad(pfad).c_str(), 0777) != 0) Werfen(errno, pfad);
}

void OrdnerAufDemWegErzeugen(const std::string& basis, std::string_view pfad) {
    for (auto trenner = pfad.find('/'); trenner != std::string_view::npos;
         trenner = pfad.find('/', trenner + 1)) {
        const std::string ordner = basis + std::string(pfad.substr(0, trenner));
        if (!OrdnerExistiert(ordner)) OrdnerErzeugen(ordner);
    }
}

// No fsync: the program promises whole files after the failures it reports,
// not after a power cut, and a flush per page would make a save of many pages
// many times slower.
NeueDatei::NeueDatei(std::string ziel, unsigned modus) : pfad_(std::move(ziel)), modus_(modus) {
    if (const int err = Oeffnen()) NichtErstellt(err, pfad_);
}

NeueDatei::~NeueDatei() {
    if (fd_ >= 0) ::close(fd_);
    if (!temp_.empty()) ::unlink(temp_.c_str());
}

int NeueDatei::Oeffnen() {
    lokal_ = LokalerPfad(pfad_);
    const auto schraegstrich = lokal_.rfind('/');
    const std::string ordner =
        schraegstrich == std::string::npos ? "" : lokal_.substr(0, schraegstrich + 1);
    const std::string name =
        schraegstrich == std::string::npos ? lokal_ : lokal_.substr(schraegstrich + 1);
    struct stat st {};
    const bool vorhanden = ::stat(lokal_.c_str(), &st) == 0;
    if (name.empty() || name == "." || name == ".." || (vorhanden && !S_ISREG(st.st_mode))) {
        // A device, a pipe or a folder cannot be replaced by a file: opening
        // it directly gives the same answer as always.
        fd_ = ::open(lokal_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, modus_);
        return fd_ < 0 ? errno : 0;
    }
    if (vorhanden) {
        // The rename would replace a file the user may not write; keep the
        // refusal that opening it for writing gives.
        const int probe = ::open(lokal_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        if (probe < 0) return errno;
        ::close(probe);
    }
    // The hidden name keeps a long file name within the 255 bytes a name may
    // have, so that only the destination's own length can fail.
    for (int versuch = 0; versuch < 16; ++versuch) {
        temp_ = ordner + "." + name.substr(0, 200) + "." + Zufall() + ".tmp";
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, modus_);
        if (fd_ >= 0) return 0;
        if (errno != EEXIST) break;
    }
    const int err = errno;
    temp_.clear();
    return err;
}

void NeueDatei::Schreiben(std::string_view daten) {
    if (const int err = AllesSchreiben(fd_, daten)) Werfen(err, pfad_);
}

void NeueDatei::Abschliessen() {
    const int r = ::close(fd_);
    fd_ = -1;
    // A full disk often shows only at close.
    if (r != 0) Werfen(errno, pfad_);
    if (temp_.empty()) return;
    if (::rename(temp_.c_str(), lokal_.c_str()) != 0) Werfen(errno, pfad_);
    temp_.clear();
}

void TextSchreiben(const std::string& pfad, std::string_view text) {
    TextSchreiben(pfad, text, {});
}

bool TextSchreiben(const std::string& pfad, std::string_view text,
                   const std::function<bool()>& weiter) {
    // Small enough that a slow disk takes well under a tenth of a second for one.
    constexpr std::size_t kStueck = std::size_t{1} << 20;
    NeueDatei datei;
    datei.pfad_ = pfad;
    if (const int err = datei.Oeffnen()) Werfen(err, pfad);
    for (;;) {
        const std::string_view teil = weiter ? text.substr(0, kStueck) : text;
        datei.Schreiben(teil);
        text.remove_prefix(teil.size());
        if (text.empty()) break;
        if (!weiter()) return false;
    }
    datei.Abschliessen();
    return true;
}

DateiLeser::DateiLeser(const std::string& pfad) : pfad_(pfad) {
    if (!DateiExistiert(pfad)) EAFehlerWerfen(kDateiNichtGefunden);
    fd_ = ::open(LokalerPfad(pfad).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) Werfen(errno, pfad);
}

DateiLeser::~DateiLeser() {
    ::close(fd_);
}

std::size_t DateiLeser::Lesen(char* ziel, std::size_t n) {
    std::size_t gelesen = 0;
    while (gelesen < n) {
        const ssize_t r = ::read(fd_, ziel + gelesen, n - gelesen);
        if (r < 0) {
            if (errno == EINTR) continue;
            Werfen(errno, pfad_);
        }
        if (r == 0) break;
        gelesen += static_cast<std::size_t>(r);
    }
    return gelesen;
}

void DateiLeser::Rest(std::string& aus) {
    if (const int err = AllesLesen(fd_, aus)) Werfen(err, pfad_);
}

void DateiLeser::Springen(long long position) {
    if (::lseek(fd_, static_cast<off_t>(position), SEEK_SET) < 0) Werfen(errno, pfad_);
}

long long DateiLeser::Groesse() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) Werfen(errno, pfad_);
    return static_cast<long long>(st.st_size);
}

long long DateiLeser::Geaendert() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) Werfen(errno, pfad_);
    return static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
}

std::string DateiLesenGanz(const std::string& pfad) {
    std::string inhalt;
    DateiLeser(pfad).Rest(inhalt);
    return inhalt;
}

void DateiKopieren(const std::string& quelle, const std::string& ziel) {
    std::string inhalt;
    {
        const int fd = ::open(LokalerPfad(quelle).c_str(), O_RDONLY | O_CLOEXEC);
        const int err = fd < 0 ? errno : 0;
        if (fd < 0 || !DateiExistiert(quelle)) {
            if (fd >= 0) ::close(fd);
            throw Fehler("Datei " + quelle + W(" kann nicht geöffnet werden. ") +
                         SystemGrund(fd < 0 ? err : EISDIR, quelle));
        }
        Datei datei(fd);
        if (const int lesefehler = AllesLesen(fd, inhalt)) Werfen(lesefehler, quelle);
    }
    DateiErstellen(ziel, inhalt);
}

void DateiSichern(const std::string& quelle, const std::string& ziel) {
    // A copy of every byte would cost as much as the save itself.
    if (::link(LokalerPfad(quelle).c_str(), LokalerPfad(ziel).c_str()) == 0) return;
    DateiKopieren(quelle, ziel);
}

void DateiErstellen(const std::string& ziel, std::string_view inhalt) {
    NeueDatei datei(ziel);
    datei.Schreiben(inhalt);
    datei.Abschliessen();
}

bool DateiExistiert(const std::string& pfad) {
    struct stat st {};
    return ::stat(LokalerPfad(pfad).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool OrdnerExistiert(const std::string& pfad) {
    struct stat st {};
    return ::stat(LokalerPfad(pfad).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

namespace {
Eintragsart ArtAus(const struct stat& st) {
    if (S_ISLNK(st.st_mode)) return Eintragsart::verknuepfung;
    if (S_ISREG(st.st_mode)) return Eintragsart::datei;
    if (S_ISDIR(st.st_mode)) return Eintragsart::ordner;
    return Eintragsart::anderes;
}
}  // namespace

Eintragsart EintragsartLesen(const std::string& pfad) {
    struct stat st {};
    if (::lstat(LokalerPfad(pfad).c_str(), &st) != 0) return Eintragsart::fehlt;
    return ArtAus(st);
}

std::vector<OrdnerEintrag> OrdnerLesen(const std::string& ordner) {
    const std::string lokal = LokalerPfad(ordner);
    DIR* d = ::opendir(lokal.c_str());
    if (!d) Werfen(errno, ordner);
    std::vector<OrdnerEintrag> eintraege;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        struct stat st {};
        if (::fstatat(::dirfd(d), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        eintraege.push_back(
            {cp1252AusUtf8(name), ArtAus(st),
             static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec});
    }
    ::closedir(d);
    return eintraege;
}

std::string ProgrammOrdner() {
    char puffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", puffer, sizeof puffer - 1);
    if (n <= 0) return ".";
    const std::string exe = cp1252AusUtf8(std::string_view(puffer, static_cast<std::size_t>(n)));
    return ElternOrdner(exe);
}

}  // namespace lw
