// The two conversions between UTF-8 and Windows-1252. Any bytes as
// Windows-1252 come back unchanged through UTF-8. Any bytes as UTF-8 give one
// byte per sequence: the Windows-1252 byte whose shortest UTF-8 form the
// sequence is, else '?' (overlong forms, surrogates, code points beyond
// U+10FFFF, characters Windows-1252 lacks, broken and stray bytes). So no
// ASCII byte and no NUL ever comes out of non-ASCII input.
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "common/Zeichensatz.h"

namespace {

void Pruefen(bool bedingung) {
    if (!bedingung) __builtin_trap();
}

// The shortest UTF-8 form of every Windows-1252 byte, as the other direction
// writes it.
const std::map<std::string, char>& Formen() {
    static const std::map<std::string, char> formen = [] {
        std::map<std::string, char> f;
        for (int b = 0; b < 256; ++b) {
            const char c = static_cast<char>(b);
            f.emplace(lw::utf8AusCp1252(std::string_view(&c, 1)), c);
        }
        return f;
    }();
    return formen;
}

// Length of the sequence at i: the lead byte's count of continuation bytes as
// far as they are there; a byte that leads nothing stands alone.
std::size_t FolgenLaenge(std::string_view t, std::size_t i) {
    const auto b = static_cast<std::uint8_t>(t[i]);
    const std::size_t folge = b >= 0xC0 && b < 0xE0   ? 1
                              : b >= 0xE0 && b < 0xF0 ? 2
                              : b >= 0xF0 && b < 0xF8 ? 3
                                                      : 0;
    std::size_t n = 1;
    while (n <= folge && i + n < t.size() && (static_cast<std::uint8_t>(t[i + n]) & 0xC0) == 0x80)
        ++n;
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    const std::string_view eingabe(reinterpret_cast<const char*>(daten), groesse);

    const std::string utf8 = lw::utf8AusCp1252(eingabe);
    Pruefen(lw::cp1252AusUtf8(utf8) == eingabe);

    const std::string aus = lw::cp1252AusUtf8(eingabe);
    std::size_t k = 0;
    for (std::size_t i = 0; i < eingabe.size(); ++k) {
        const std::size_t n = FolgenLaenge(eingabe, i);
        const std::string folge(eingabe.substr(i, n));
        Pruefen(k < aus.size());
        const auto form = Formen().find(folge);
        Pruefen(aus[k] == (form != Formen().end() ? form->second : '?'));
        if (static_cast<std::uint8_t>(folge[0]) >= 0x80)
            Pruefen(aus[k] == '?' || static_cast<std::uint8_t>(aus[k]) >= 0x80);
        i += n;
    }
    Pruefen(k == aus.size());
    return 0;
}
