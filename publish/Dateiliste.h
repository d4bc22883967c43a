#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "publish/Krypto.h"
#include "publish/Veroeffentlichen.h"

// The list .leistenwerk-dateien that the server keeps of what the program put
// there, one line "<SHA-256> <size> <path>" per file, and the same list made
// from the files of Neu: reading, writing and comparing. Paths are relative,
// '/' between their parts, in this platform's file-name bytes: the names as
// they go up. The list is a journal: a file's line says "-" instead of its
// hash while it is being replaced or deleted, so that it never vouches for
// bytes that are not online.
namespace lw::veroeffentlichung {

using Uhr = std::chrono::steady_clock;

// The windows get their turn at least this often, with room to spare for the
// 100 ms they are promised.
constexpr auto kTakt = std::chrono::milliseconds(50);

// The user's "Abbrechen": ends the publish where it stands.
struct Abgebrochen {};

struct Eintrag {
    std::uint64_t groesse = 0;
    std::string sha;  // hexadecimal, or kUnbekannt
    bool operator==(const Eintrag&) const = default;
};
using Liste = std::map<std::string, Eintrag>;

// A file of the program's whose version online is not known: it goes up
// again, and is deleted once Neu no longer has it.
inline constexpr const char* kUnbekannt = "-";
inline Eintrag Markiert() {
    return {0, kUnbekannt};
}

std::string Ordner(const std::string& pfad);
std::string Name(const std::string& pfad);
std::string Darin(const std::string& ordner, const std::string& name);
// The hidden name a file has on the server until it is whole.
std::string TempName(const std::string& pfad);
// The hidden name the old file has while the new one takes its place.
std::string AltName(const std::string& pfad);
bool IstSeite(const std::string& pfad);
// For messages, which are Windows-1252 like every text of the core; control
// characters shown as '?'.
std::string Anzeige(const std::string& pfad);

// Why a file of Neu cannot go up under its name, as the end of a sentence;
// empty when it can. The list holds exactly such paths.
std::string NamensFehler(std::string_view pfad);

std::string ListeText(const Liste& liste);

// The server's list, read as it arrives, in bounded memory: lines that do not
// fit the form, or name a hidden file, are skipped (their files count as
// unknown), and a list larger than any this program writes is given up.
class ListenLeser final {
public:
    // From the start again (a new attempt after a broken connection).
    void Anfang();
    // False once the list is too large: the rest is not wanted.
    bool Stueck(std::string_view daten);
    // The entries; none when the list was too large.
    std::optional<Liste> Ende();
    // False when a line was skipped: the list should be written anew.
    bool Sauber() const { return sauber_; }

private:
    void Zeile(std::string_view zeile);
    Liste liste_;
    std::string zeile_;
    std::uint64_t gelesen_ = 0;
    bool ueberlang_ = false;  // the line under way is too long and skipped
    bool sauber_ = true;
};

// Every file below Neu but the hidden ones, each read once for its hash; the
// windows get their turn in between as during the upload. Before any file is
// read, every name is checked and every symbolic link refused (Hinweis), so
// that nothing is sent of a folder that cannot go up whole.
Liste Sammeln(const std::string& lokal, const VeroeffentlichenBegleitung& begleitung);
// One file of Neu read again for its hash.
Eintrag Pruefsumme(const std::string& lokal, const std::string& pfad,
                   const VeroeffentlichenBegleitung& begleitung);

// A file of Neu opened for reading, without following a link in its place.
struct Schliessen {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using Datei = std::unique_ptr<std::FILE, Schliessen>;
Datei Oeffnen(const std::string& lokal, const std::string& pfad);

// The bytes of one upload, for libcurl's read callback: a file of Neu, hashed
// as it goes up and stopped before its end when it is no longer the file its
// entry was made from, or a text in memory.
class Quelle final {
public:
    Quelle(std::FILE* datei, const Eintrag& erwartet);
    explicit Quelle(std::string_view text) : text_(text) {}
    static std::size_t Lesen(char* ziel, std::size_t groesse, std::size_t anzahl, void* q);
    // Before each attempt.
    void Zurueck();
    // The upload was stopped because the file changed since its hash was taken.
    bool Geaendert() const { return geaendert_; }

private:
    std::size_t Stueck(char* ziel, std::size_t n);
    std::FILE* datei_ = nullptr;
    Eintrag erwartet_;
    std::optional<Sha256> sha_;
    std::string_view text_;
    std::uint64_t gelesen_ = 0;
    bool fertig_ = false;
    bool geaendert_ = false;
};

}  // namespace lw::veroeffentlichung
