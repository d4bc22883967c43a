#include "common/Text.h"

#include <array>
#include <climits>

#include "common/Zeichensatz.h"

namespace lw {
namespace {

constexpr std::array<unsigned char, 256> grossTabelle() {
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
    for (int c = 'a'; c <= 'z'; ++c) t[c] = static_cast<unsigned char>(c - 0x20);
    for (int c = 0xE0; c <= 0xFE; ++c)
        if (c != 0xF7) t[c] = static_cast<unsigned char>(c - 0x20);
    t[0x9A] = 0x8A;  // š
    t[0x9C] = 0x8C;  // œ
    t[0x9E] = 0x8E;  // ž
    t[0xFF] = 0x9F;  // ÿ
    return t;
}
constexpr auto kGross = grossTabelle();

}  // namespace

std::size_t Position(std::string_view x, std::string_view t) {
    if (x.empty()) return 0;
    const auto p = t.find(x);
    return p == std::string_view::npos ? 0 : p + 1;
}

void Entfernen(std::string& t, long long p, long long n) {
    const auto laenge = static_cast<long long>(t.size());
    if (p < 1 || p > laenge || n <= 0) return;
    if (n > laenge - p + 1) n = laenge - p + 1;
    t.erase(static_cast<std::size_t>(p - 1), static_cast<std::size_t>(n));
}

char Grossbuchstabe(char c) { return static_cast<char>(kGross[static_cast<unsigned char>(c)]); }

std::string Grossbuchstaben(std::string_view t) {
    std::string g(t);
    for (char& c : g) c = Grossbuchstabe(c);
    return g;
}

void Ersetzen(std::string& t, std::string_view x, std::string_view y) {
    if (x.empty()) return;
    const std::string grossT = Grossbuchstaben(t);
    const std::string grossX = Grossbuchstaben(x);
    std::size_t treffer = grossT.find(grossX);
    if (treffer == std::string::npos) return;

    std::string ergebnis;
    ergebnis.reserve(t.size());
    std::size_t von = 0;
    while (treffer != std::string::npos) {
        ergebnis.append(t, von, treffer - von);
        ergebnis.append(y);
        von = treffer + grossX.size();
        treffer = grossT.find(grossX, von);
    }
    ergebnis.append(t, von, std::string::npos);
    t = std::move(ergebnis);
}

std::string DateiName(std::string_view pfad) {
    const auto p = pfad.rfind('/');
    return std::string(p == std::string_view::npos ? pfad : pfad.substr(p + 1));
}

std::string NameOhneEndung(std::string_view name) {
    const std::string datei = DateiName(name);
    const auto p = datei.rfind('.');
    return p == std::string::npos ? datei : datei.substr(0, p);
}

namespace {

// Windows opens a device instead of a file for these names, whatever follows
// the first dot.
bool IstGeraetename(std::string_view name) {
    std::string stamm = Grossbuchstaben(name.substr(0, name.find('.')));
    while (!stamm.empty() && stamm.back() == ' ') stamm.pop_back();
    if (stamm == "CON" || stamm == "PRN" || stamm == "AUX" || stamm == "NUL") return true;
    return stamm.size() == 4 && (stamm.starts_with("COM") || stamm.starts_with("LPT")) &&
           stamm[3] >= '1' && stamm[3] <= '9';
}

}  // namespace

bool SchlichterDateiname(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    // Windows drops a trailing dot or blank, so two names would meet in one file.
    if (name.back() == '.' || name.back() == ' ' || IstGeraetename(name)) return false;
    for (const char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) return false;
        if (std::string_view("/\\<>:\"|?*").find(c) != std::string_view::npos) return false;
    }
    // The length counts in this platform's file names (UTF-8), where a
    // Windows-1252 letter may take up to three bytes.
    return utf8AusCp1252(name).size() + 1 <= NAME_MAX;
}

}  // namespace lw
