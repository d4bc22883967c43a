#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "common/Text.h"

// Ersetzen on texts of megabytes, where it works without capital copies.
namespace lw {
namespace {

// The rule as written: search in the capitals of both texts, put t's and y's
// own characters into the result, go on behind each match.
std::string NachDerRegel(const std::string& t, const std::string& x, const std::string& y) {
    const std::string grossT = Grossbuchstaben(t);
    const std::string grossX = Grossbuchstaben(x);
    std::string ergebnis;
    std::size_t von = 0;
    for (auto p = grossT.find(grossX); p != std::string::npos; p = grossT.find(grossX, von)) {
        ergebnis += t.substr(von, p - von) + y;
        von = p + x.size();
    }
    return ergebnis + t.substr(von);
}

std::string Sichtbar(const std::string& t) {
    std::string s;
    for (const char c : t) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%02X ", static_cast<unsigned char>(c));
        s += hex;
    }
    return s;
}

// Bytes with two small forms (a/A, ã/Ã, ÿ/Ÿ, š/Š) and look-alikes that are no
// case pair (÷/×), so that candidates of both forms stand close together.
const std::string kAlphabet = "aAb\xE3\xC3\xFF\x9F\x9A\x8A\xF7\xD7";

TEST(ErsetzenGross, AgreesWithTheRuleOnMixedCase) {
    unsigned zufall = 20240611;
    const auto naechste = [&zufall](std::size_t n) {
        zufall = zufall * 1103515245u + 12345u;
        return static_cast<std::size_t>((zufall >> 8) % n);
    };
    const auto text = [&](std::size_t hoechstens) {
        std::string s;
        for (std::size_t n = naechste(hoechstens + 1); n > 0; --n)
            s += kAlphabet[naechste(kAlphabet.size())];
        return s;
    };
    const std::string ersatz[] = {"", "Y", "\xE3\xE3-lang"};
    for (int fall = 0; fall < 3000; ++fall) {
        const std::string t = text(40);
        std::string x = text(3);
        if (x.empty()) x.push_back('a');
        const std::string& y = ersatz[fall % 3];
        std::string ergebnis = t;
        Ersetzen(ergebnis, x, y);
        ASSERT_EQ(ergebnis, NachDerRegel(t, x, y))
            << "t=" << Sichtbar(t) << " x=" << Sichtbar(x) << " y=" << Sichtbar(y);
    }
}

TEST(ErsetzenGross, NamedEdges) {
    const struct {
        const char* name;
        std::string t, x, y, erwartet;
    } faelle[] = {
        {"both small forms in a row", "\xE3\xC3\xE3", "\xC3\xE3", "Y", "Y\xE3"},
        {"match at the very end", "xxAB", "ab", "-", "xx-"},
        {"candidate too close to the end", "xxa", "ab", "-", "xxa"},
        {"pattern longer than the text", "a", "aa", "-", "a"},
        {"no candidate at all", "xyz", "q", "-", "xyz"},
        {"second byte decides", "\xFF\x9F|\x9F\xFF", "\x9F\x9F", "y", "y|y"},
        {"division sign is no letter", "\xF7\xD7", "\xD7", "x", "\xF7x"},
    };
    for (const auto& f : faelle) {
        std::string t = f.t;
        Ersetzen(t, f.x, f.y);
        EXPECT_EQ(t, f.erwartet) << f.name;
    }
}

// A page of megabytes with matches in both cases at its start, in the middle
// and as its last bytes.
TEST(ErsetzenGross, MegabytesOfText) {
    std::string t = "leistenwerk";
    while (t.size() < 3u << 20) t += "Text mit \xE4 und \xC3\xA4 und LeistenWerk. ";
    t += "LEISTENWERK";
    const std::string erwartet = NachDerRegel(t, "Leistenwerk", "_kontakt");
    Ersetzen(t, "Leistenwerk", "_kontakt");
    EXPECT_EQ(t.size(), erwartet.size());
    EXPECT_EQ(t, erwartet);
    EXPECT_TRUE(t.starts_with("_kontakt"));
    EXPECT_TRUE(t.ends_with("_kontakt"));
}

}  // namespace
}  // namespace lw
