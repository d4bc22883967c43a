#include "common/Text.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <vector>

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

// How many bytes have the same capital as c: 1 for bytes without a case pair.
constexpr std::array<unsigned char, 256> formenTabelle() {
    std::array<unsigned char, 256> n{};
    for (int c = 0; c < 256; ++c) ++n[kGross[c]];
    std::array<unsigned char, 256> formen{};
    for (int c = 0; c < 256; ++c) formen[c] = n[kGross[c]];
    return formen;
}
constexpr auto kFormen = formenTabelle();

constexpr bool HoechstensZweiFormen() {
    for (const unsigned char n : kFormen)
        if (n > 2) return false;
    return true;
}
static_assert(HoechstensZweiFormen(), "GrossSuche looks for at most two bytes per capital");

// Finds x (in capitals) in t by the capitals of t's bytes. One byte of x, the
// anchor, is looked for with memchr in each of its forms (a byte without a
// case pair where x has one, so that t is read once), each byte of t at most
// once per form; only where it stands is the rest compared.
class GrossSuche final {
public:
    GrossSuche(std::string_view t, std::string x) : t_(t), x_(std::move(x)) {
        for (std::size_t i = 0; i < x_.size(); ++i) {
            if (kFormen[static_cast<unsigned char>(x_[i])] == 1) {
                anker_ = i;
                break;
            }
        }
        const auto gross = static_cast<unsigned char>(x_[anker_]);
        for (int c = 0; c < 256 && anzahl_ < 2; ++c)
            if (kGross[c] == gross) formen_[anzahl_++] = static_cast<unsigned char>(c);
    }

    // The first match at or after von; npos when there is none.
    std::size_t Ab(std::size_t von) {
        std::size_t ab = von + anker_;
        for (;;) {
            std::size_t kandidat = std::string_view::npos;
            for (int k = 0; k < anzahl_; ++k) {
                if (naechste_[k] < ab || !gesucht_[k]) {
                    naechste_[k] = Finden(formen_[k], ab);
                    gesucht_[k] = true;
                }
                kandidat = std::min(kandidat, naechste_[k]);
            }
            if (kandidat == std::string_view::npos) return std::string_view::npos;
            const std::size_t anfang = kandidat - anker_;
            if (t_.size() - anfang < x_.size()) return std::string_view::npos;
            if (PasstAb(anfang)) return anfang;
            ab = kandidat + 1;
        }
    }

private:
    std::size_t Finden(unsigned char c, std::size_t von) const {
        if (von >= t_.size()) return std::string_view::npos;
        const void* p = std::memchr(t_.data() + von, c, t_.size() - von);
        return p ? static_cast<std::size_t>(static_cast<const char*>(p) - t_.data())
                 : std::string_view::npos;
    }

    bool PasstAb(std::size_t p) const {
        for (std::size_t i = 0; i < x_.size(); ++i)
            if (kGross[static_cast<unsigned char>(t_[p + i])] != static_cast<unsigned char>(x_[i]))
                return false;
        return true;
    }

    std::string_view t_;
    std::string x_;
    std::size_t anker_ = 0;
    unsigned char formen_[2] = {};
    int anzahl_ = 0;
    std::size_t naechste_[2] = {};
    bool gesucht_[2] = {};
};

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

char KleinAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool GleichOhneFallAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (KleinAscii(a[i]) != KleinAscii(b[i])) return false;
    return true;
}

char Grossbuchstabe(char c) { return static_cast<char>(kGross[static_cast<unsigned char>(c)]); }

std::string Grossbuchstaben(std::string_view t) {
    std::string g(t);
    for (char& c : g) c = Grossbuchstabe(c);
    return g;
}

void Ersetzen(std::string& t, std::string_view x, std::string_view y) {
    if (x.empty()) return;
    // The texts run to megabytes: no capital copy of t, and the result is
    // allocated once at its final size.
    GrossSuche suche(t, Grossbuchstaben(x));
    std::vector<std::size_t> treffer;
    for (auto p = suche.Ab(0); p != std::string_view::npos; p = suche.Ab(p + x.size()))
        treffer.push_back(p);
    if (treffer.empty()) return;

    std::string ergebnis;
    ergebnis.reserve(t.size() - treffer.size() * x.size() + treffer.size() * y.size());
    std::size_t von = 0;
    for (const std::size_t p : treffer) {
        ergebnis.append(t, von, p - von);
        ergebnis.append(y);
        von = p + x.size();
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
    return utf8MitReferenzen(name).size() + 1 <= NAME_MAX;
}

bool SchlichterPfad(std::string_view pfad) {
    for (;;) {
        const auto trenner = pfad.find('/');
        if (!SchlichterDateiname(pfad.substr(0, trenner))) return false;
        if (trenner == std::string_view::npos) return true;
        pfad.remove_prefix(trenner + 1);
    }
}

}  // namespace lw
