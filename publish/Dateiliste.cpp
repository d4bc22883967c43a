#include "publish/Dateiliste.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <filesystem>
#include <system_error>
#include <vector>

#include "common/Dateien.h"
#include "common/Fehler.h"
#include "common/Text.h"
#include "common/Zeichensatz.h"

namespace lw::veroeffentlichung {
namespace {

// Both hidden names are the same length longer than the name itself.
constexpr std::string_view kNeuEndung = ".lw-neu";
constexpr std::string_view kAltEndung = ".lw-alt";
static_assert(kNeuEndung.size() == kAltEndung.size());
constexpr std::size_t kNameHoechstens = NAME_MAX - 1 - kNeuEndung.size();

// Far beyond any site of this program (some 150,000 files), and the memory a
// hostile server can make the reading take.
constexpr std::uint64_t kListeHoechstens = std::uint64_t{16} * 1024 * 1024;
constexpr std::size_t kZeileHoechstens = 64 + 1 + 20 + 1 + PATH_MAX;

// A symbolic link would publish what lies outside Neu, or hide what lies in it.
[[noreturn]] void VerknuepfungWerfen(const std::string& pfad) {
    throw Hinweis(W("\"") + Anzeige(pfad) +
                  W("\" im Ordner Neu ist eine Verknüpfung (symbolischer Link). Verknüpfungen "
                    "werden nicht veröffentlicht, damit nichts von außerhalb des Ordners ins "
                    "Netz gelangt. Bitte ersetzen Sie sie durch die Datei oder den Ordner "
                    "selbst; es wurde nichts veröffentlicht"));
}

}  // namespace

std::string Ordner(const std::string& pfad) {
    const auto s = pfad.rfind('/');
    return s == std::string::npos ? std::string() : pfad.substr(0, s);
}

std::string Name(const std::string& pfad) {
    const auto s = pfad.rfind('/');
    return s == std::string::npos ? pfad : pfad.substr(s + 1);
}

std::string Darin(const std::string& ordner, const std::string& name) {
    return ordner.empty() ? name : ordner + "/" + name;
}

namespace {
// Appended rather than "." + name: GCC 12 warns about the insert at the front
// (-Wrestrict) in a release build.
std::string Versteckt(const std::string& pfad, std::string_view endung) {
    std::string name = ".";
    name += Name(pfad);
    name += endung;
    return Darin(Ordner(pfad), name);
}
}  // namespace

std::string TempName(const std::string& pfad) { return Versteckt(pfad, kNeuEndung); }

std::string AltName(const std::string& pfad) { return Versteckt(pfad, kAltEndung); }

bool IstSeite(const std::string& pfad) {
    const std::string name = Name(pfad);
    const auto punkt = name.rfind('.');
    if (punkt == std::string::npos) return false;
    const std::string endung = name.substr(punkt + 1);
    return GleichOhneFallAscii(endung, "html") || GleichOhneFallAscii(endung, "htm");
}

std::string Anzeige(const std::string& pfad) {
    return Lesbar(cp1252AusUtf8(pfad));
}

// The checks go from what a protocol cannot carry to what the list cannot
// hold, so that the message names the first thing the user must change.
std::string NamensFehler(std::string_view pfad) {
    for (const char c : pfad) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F)
            return W("ihr Name enthält ein Steuerzeichen (etwa einen Zeilenumbruch)");
    }
    if (pfad.find('\\') != std::string_view::npos)
        return W("ihr Name enthält einen umgekehrten Schrägstrich (\\)");
    for (;;) {
        const auto trenner = pfad.find('/');
        const std::string_view teil = pfad.substr(0, trenner);
        if (teil.size() > kNameHoechstens)
            return W("ein Name darin ist mit ") + std::to_string(teil.size()) +
                   W(" Bytes zu lang; auf dem Server sind höchstens ") +
                   std::to_string(kNameHoechstens) + W(" möglich");
        if (teil.empty() || teil.starts_with('.'))
            return W("ihr Name kann in der Liste der veröffentlichten Dateien nicht stehen");
        if (trenner == std::string_view::npos) return {};
        pfad.remove_prefix(trenner + 1);
    }
}

std::string ListeText(const Liste& liste) {
    std::string text;
    for (const auto& [pfad, e] : liste)
        text += e.sha + " " + std::to_string(e.groesse) + " " + pfad + "\n";
    return text;
}

void ListenLeser::Anfang() {
    *this = ListenLeser();
}

bool ListenLeser::Stueck(std::string_view daten) {
    gelesen_ += daten.size();
    if (gelesen_ > kListeHoechstens) return false;
    while (!daten.empty()) {
        const auto ende = daten.find('\n');
        const std::string_view teil = daten.substr(0, ende);
        if (!ueberlang_ && zeile_.size() + teil.size() > kZeileHoechstens) {
            ueberlang_ = true;
            zeile_.clear();
        }
        if (!ueberlang_) zeile_.append(teil);
        if (ende == std::string_view::npos) break;
        if (ueberlang_)
            sauber_ = false;
        else
            Zeile(zeile_);
        zeile_.clear();
        ueberlang_ = false;
        daten.remove_prefix(ende + 1);
    }
    return true;
}

std::optional<Liste> ListenLeser::Ende() {
    if (gelesen_ > kListeHoechstens) return std::nullopt;
    if (ueberlang_ || !zeile_.empty()) sauber_ = false;
    return std::move(liste_);
}

void ListenLeser::Zeile(std::string_view zeile) {
    const auto a = zeile.find(' ');
    const auto b = a == std::string_view::npos ? a : zeile.find(' ', a + 1);
    const std::string_view sha = zeile.substr(0, a);
    const bool hash = sha.size() == 64 && std::all_of(sha.begin(), sha.end(), [](char c) {
                          return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
                      });
    Eintrag e;
    if (b == std::string_view::npos || b == a + 1 || (!hash && sha != kUnbekannt)) {
        sauber_ = false;
        return;
    }
    const auto [ende, fehler] = std::from_chars(zeile.data() + a + 1, zeile.data() + b, e.groesse);
    if (fehler != std::errc() || ende != zeile.data() + b ||
        !NamensFehler(zeile.substr(b + 1)).empty()) {
        sauber_ = false;
        return;
    }
    e.sha = std::string(sha);
    liste_[std::string(zeile.substr(b + 1))] = e;
}

Datei Oeffnen(const std::string& lokal, const std::string& pfad) {
    // Not blocking: a pipe put there in the meantime must not hang the publish.
    const int fd = ::open((lokal + "/" + pfad).c_str(),
                          O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0 && errno == ELOOP) VerknuepfungWerfen(pfad);
    if (fd < 0) EAFehlerWerfen(EACodeAusErrno(errno, Anzeige(pfad)));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        EAFehlerWerfen(EACodeAusErrno(EINVAL, Anzeige(pfad)));
    }
    std::FILE* datei = ::fdopen(fd, "rb");
    if (!datei) {
        ::close(fd);
        throw std::bad_alloc();
    }
    return Datei(datei);
}

namespace {

Eintrag Pruefsumme(const std::string& lokal, const std::string& pfad,
                   const VeroeffentlichenBegleitung& begleitung, Uhr::time_point& zuletzt,
                   std::string& puffer) {
    const Datei datei = Oeffnen(lokal, pfad);
    Sha256 sha;
    Eintrag e;
    while (const std::size_t n = std::fread(puffer.data(), 1, puffer.size(), datei.get())) {
        sha.Dazu(puffer.data(), n);
        e.groesse += n;
        if (Uhr::now() - zuletzt < kTakt) continue;
        zuletzt = Uhr::now();
        if (begleitung.zwischenschritt) begleitung.zwischenschritt({0, 0, pfad});
        if (begleitung.abbrechen && begleitung.abbrechen()) throw Abgebrochen{};
    }
    if (std::ferror(datei.get())) EAFehlerWerfen(EACodeAusErrno(EIO, Anzeige(pfad)));
    e.sha = Hex(sha.Ende());
    return e;
}

}  // namespace

Eintrag Pruefsumme(const std::string& lokal, const std::string& pfad,
                   const VeroeffentlichenBegleitung& begleitung) {
    auto zuletzt = Uhr::now();
    std::string puffer(std::size_t{256} * 1024, '\0');
    return Pruefsumme(lokal, pfad, begleitung, zuletzt, puffer);
}

Liste Sammeln(const std::string& lokal, const VeroeffentlichenBegleitung& begleitung) {
    namespace fs = std::filesystem;
    std::vector<std::string> pfade;
    std::error_code fehler;
    fs::recursive_directory_iterator it(lokal, fehler), ende;
    if (fehler) EAFehlerWerfen(kPfadNichtGefunden);
    const auto unlesbar = [&] {
        throw Fehler(W("Der Ordner kann nicht gelesen werden: ") + fehler.message());
    };
    for (; it != ende; it.increment(fehler)) {
        if (fehler) unlesbar();
        const fs::file_status art = it->symlink_status(fehler);
        if (fehler) unlesbar();
        if (it->path().filename().string().starts_with('.')) {
            if (fs::is_directory(art)) it.disable_recursion_pending();
            continue;
        }
        const std::string pfad = it->path().lexically_relative(lokal).generic_string();
        if (fs::is_symlink(art)) VerknuepfungWerfen(pfad);
        if (!fs::is_regular_file(art)) continue;
        if (const std::string grund = NamensFehler(pfad); !grund.empty())
            throw Hinweis(W("Die Datei \"") + Anzeige(pfad) +
                          W("\" im Ordner Neu kann nicht veröffentlicht werden: ") + grund +
                          W(". Bitte benennen Sie sie um; es wurde nichts veröffentlicht"));
        pfade.push_back(pfad);
    }
    auto zuletzt = Uhr::now();
    std::string puffer(std::size_t{256} * 1024, '\0');
    Liste liste;
    for (const std::string& pfad : pfade)
        liste[pfad] = Pruefsumme(lokal, pfad, begleitung, zuletzt, puffer);
    return liste;
}

Quelle::Quelle(std::FILE* datei, const Eintrag& erwartet) : datei_(datei), erwartet_(erwartet) {
    Zurueck();
}

void Quelle::Zurueck() {
    if (datei_) std::rewind(datei_);
    if (datei_) sha_.emplace();
    gelesen_ = 0;
    fertig_ = false;
    geaendert_ = false;
}

std::size_t Quelle::Lesen(char* ziel, std::size_t groesse, std::size_t anzahl, void* q) {
    return static_cast<Quelle*>(q)->Stueck(ziel, groesse * anzahl);
}

std::size_t Quelle::Stueck(char* ziel, std::size_t n) {
    if (!datei_) {
        const std::size_t m = std::min<std::size_t>(n, text_.size() - gelesen_);
        std::copy_n(text_.data() + gelesen_, m, ziel);
        gelesen_ += m;
        return m;
    }
    if (fertig_) return 0;
    std::size_t m = 0;
    if (gelesen_ < erwartet_.groesse) {
        m = std::fread(ziel, 1, std::min<std::uint64_t>(n, erwartet_.groesse - gelesen_), datei_);
        if (m == 0) {
            // Shorter than when its hash was taken.
            geaendert_ = !std::ferror(datei_);
            return CURL_READFUNC_ABORT;
        }
        sha_->Dazu(ziel, m);
        gelesen_ += m;
        if (gelesen_ < erwartet_.groesse) return m;
    }
    // The size of the entry is reached: the file must end here, with the
    // entry's hash, or the server would get bytes the list does not name.
    fertig_ = true;
    const bool weiter = std::fgetc(datei_) != EOF;
    if (std::ferror(datei_)) return CURL_READFUNC_ABORT;
    if (weiter || Hex(sha_->Ende()) != erwartet_.sha) {
        geaendert_ = true;
        return CURL_READFUNC_ABORT;
    }
    return m;
}

}  // namespace lw::veroeffentlichung
