#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Searching long pages for short texts, sixteen bytes at a time where the
// machine has SSE2: a place is compared in full only where the first and the
// last byte of a looked-for text both stand right.
namespace lw {

class Suche final {
public:
    // ohneFall: ASCII letters match in either case. No text may be empty;
    // up to four are sifted, more are compared at every place.
    explicit Suche(std::vector<std::string> texte, bool ohneFall = false);

    // Offset of the first place at or after ab where one of the texts
    // begins; npos when there is none.
    std::size_t Finden(std::string_view t, std::size_t ab = 0) const;

private:
    bool Passt(std::string_view t, std::size_t p, const std::string& text) const;

    std::vector<std::string> texte_;
    bool ohneFall_;
};

// Offset of the first x in t at or after ab, case and all; npos when there is
// none. An empty x is found at ab.
std::size_t Finden(std::string_view t, std::string_view x, std::size_t ab = 0);

// How the texts are sifted: the best way this machine has is taken. Tests
// try every way the machine can run, one after the other; the choice is not
// meant to change while a search runs.
enum class SuchWeg { Einzeln, Sse2, Avx2 };
SuchWeg BesterSuchWeg();
void SuchWegSetzen(SuchWeg weg);

}  // namespace lw
