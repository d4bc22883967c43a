#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "publish/Veroeffentlichen.h"

// The list .leistenwerk-dateien that the server keeps of what the program put
// there, one line "<SHA-256> <size> <path>" per file, and the same list made
// from the files of Neu: reading, writing and comparing. Paths are relative,
// '/' between their parts, in this platform's file-name bytes: the names as
// they go up.
namespace lw::veroeffentlichung {

using Uhr = std::chrono::steady_clock;

// The windows get their turn at least this often, with room to spare for the
// 100 ms they are promised.
constexpr auto kTakt = std::chrono::milliseconds(50);

// The user's "Abbrechen": ends the publish where it stands.
struct Abgebrochen {};

struct Eintrag {
    std::uint64_t groesse = 0;
    std::string sha;  // hexadecimal
    bool operator==(const Eintrag&) const = default;
};
using Liste = std::map<std::string, Eintrag>;

std::string Ordner(const std::string& pfad);
std::string Name(const std::string& pfad);
std::string Darin(const std::string& ordner, const std::string& name);
// The hidden name a file has on the server until it is whole.
std::string TempName(const std::string& pfad);
bool IstSeite(const std::string& pfad);
// For messages, which are Windows-1252 like every text of the core.
std::string Anzeige(const std::string& pfad);

std::string ListeText(const Liste& liste);
// Lines that do not fit the form are skipped: their files count as unknown
// and go up again.
Liste ListeLesen(std::string_view text);

// Every file below Neu but the hidden ones, each read once for its hash; the
// windows get their turn in between as during the upload.
Liste Sammeln(const std::string& lokal, const VeroeffentlichenBegleitung& begleitung);

}  // namespace lw::veroeffentlichung
