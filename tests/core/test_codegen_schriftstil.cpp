#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "codegen/Schriftstil.h"
#include "common/Fehler.h"
#include "common/Zeichensatz.h"
#include "model/Projektdaten.h"

namespace lw {
namespace {

TEST(FarbeAlsHex, RedGreenBlueOrderLowerCase) {
    struct Fall {
        const char* name;
        std::uint32_t farbe;
        const char* hex;
    };
    const Fall faelle[] = {
        {"blue", 0x00FF0000, "0000ff"},      {"red", 0x000000FF, "ff0000"},
        {"black", 0x00000000, "000000"},     {"white", 0x00FFFFFF, "ffffff"},
        {"mixed", 0x00336699, "996633"},     {"leading zeros", 0x00010203, "030201"},
        {"flag byte", 0xFF00AB00, "00ab00"},
    };
    for (const auto& f : faelle) EXPECT_EQ(FarbeAlsHex(f.farbe), f.hex) << f.name;
}

TEST(Schriftstil, AllSixteenEntries) {
    // The table row by row: bold, italic, underline, strike-out, decoration lines.
    struct Zeile {
        bool fett, kursiv, unter, durch;
        std::vector<const char*> dekoration;
    };
    const Zeile tabelle[] = {
        {false, false, false, false, {"none"}},
        {true, false, false, false, {"none"}},
        {false, true, false, false, {"none"}},
        {true, true, false, false, {"none"}},
        {false, false, true, false, {"underline"}},
        {true, false, true, false, {"underline"}},
        {false, true, true, false, {"underline"}},
        {true, true, true, false, {"underline"}},
        {false, false, false, true, {"line-through"}},
        {true, false, false, true, {"line-through"}},
        {false, true, false, true, {"line-through"}},
        {true, true, false, true, {"line-through"}},
        {false, false, true, true, {"underline", "line-through"}},
        {true, false, true, true, {"underline", "line-through"}},
        {false, true, true, true, {"underline", "line-through"}},
        {true, true, true, true, {"underline", "line-through"}},
    };
    int index = 0;
    for (const auto& z : tabelle) {
        std::string erwartet = std::string("        font-weight: ") + (z.fett ? "bold" : "normal") +
                               ";\n        font-style: " + (z.kursiv ? "italic" : "normal") + ";";
        for (const char* d : z.dekoration)
            erwartet += std::string("\n        text-decoration: ") + d + ";";
        EXPECT_EQ(SchriftstilAlsCss(z.fett, z.kursiv, z.unter, z.durch), erwartet)
            << "row " << index;
        EXPECT_EQ(Schriftstiltabelle()[index], erwartet) << "row " << index;
        ++index;
    }
}

TEST(Schriftstil, FullEntriesAndDefault) {
    EXPECT_EQ(SchriftstilAlsCss(false, false, false, false),
              "        font-weight: normal;\n        font-style: normal;\n"
              "        text-decoration: none;");
    EXPECT_EQ(SchriftstilAlsCss(true, false, true, true),
              "        font-weight: bold;\n        font-style: normal;\n"
              "        text-decoration: underline;\n        text-decoration: line-through;");
    const Projektdaten frisch;
    EXPECT_EQ(SchriftstilAlsCss(false, false, false, false), frisch.BodySchriftStil);
    EXPECT_EQ(SchriftstilAlsCss(false, false, false, false), frisch.ButtonSchriftStil);
}

TEST(EmWert, RoundingRows) {
    struct Fall {
        const char* name;
        int h, s;
        const char* em;
    };
    const Fall faelle[] = {
        {"50/14", 50, 14, "3.6"},
        {"45/12", 45, 12, "3.8"},
        {"halfway 12.5 to even", 25, 20, "1.2"},
        {"halfway 37.5 to even", 75, 20, "3.8"},
        {"halfway 2.5", 5, 20, "0.2"},
        {"halfway 3.5", 7, 20, "0.4"},
        {"zero", 0, 14, "0.0"},
        {"one hundred", 100, 10, "10.0"},
        {"below one", 1, 2, "0.5"},
        {"negative", -50, 14, "-3.6"},
        {"negative halfway -12.5", -25, 20, "-1.2"},
        {"negative halfway -37.5", -75, 20, "-3.8"},
        {"negative below one", -1, 2, "-0.5"},
        {"negative halfway -1.5", -3, 20, "-0.2"},
        {"negative rounds to zero", -1, 20, "0.0"},
        {"largest", INT_MAX, 1, "2147483647.0"},
        {"smallest", INT_MIN, 1, "-2147483648.0"},
        {"size zero", 50, 0, "0.0"},
        {"negative size", 50, -14, "0.0"},
    };
    for (const auto& f : faelle) EXPECT_EQ(EmWert(f.h, f.s), f.em) << f.name;
}

// Over the range the windows allow, the double computation must agree with
// rounding the exact fraction 10h/s, halfway to even, and be symmetric in h.
TEST(EmWert, AgreesWithExactFraction) {
    for (int s = 1; s <= 120; ++s) {
        for (int h = 0; h <= 600; ++h) {
            long long v = 10LL * h / s;
            const long long rest2 = 2 * (10LL * h % s);
            if (rest2 > s || (rest2 == s && v % 2 == 1)) ++v;
            const std::string em = std::to_string(v / 10) + "." + std::to_string(v % 10);
            ASSERT_EQ(EmWert(h, s), em) << "h=" << h << " s=" << s;
            ASSERT_EQ(EmWert(-h, s), v == 0 ? em : "-" + em) << "h=" << -h << " s=" << s;
        }
    }
}

// Values of the WCAG 2.1 definition; the text cuts to one decimal, so the
// well-known #777777 on white (4.48) warns and #767676 (4.54) does not.
TEST(Kontrast, WcagRows) {
    struct Fall {
        const char *vorne, *hinten;
        double verhaeltnis;
        const char* text;
    };
    const std::string warnung =
        W(" – für viele Besucher schwer lesbar (empfohlen: mindestens 4,5 : 1)");
    const Fall faelle[] = {
        {"000000", "ffffff", 21.0, "Kontrast 21,0 : 1"},
        {"ffffff", "000000", 21.0, "Kontrast 21,0 : 1"},
        {"ffffff", "ffffff", 1.0, "Kontrast 1,0 : 1+"},
        {"777777", "ffffff", 4.478, "Kontrast 4,4 : 1+"},
        {"767676", "FFFFFF", 4.542, "Kontrast 4,5 : 1"},
        {"ff0000", "ffffff", 3.998, "Kontrast 3,9 : 1+"},
        {"595959", "ffffff", 7.005, "Kontrast 7,0 : 1"},
        {"0000ff", "ffffff", 8.592, "Kontrast 8,5 : 1"},
    };
    for (const auto& f : faelle) {
        const double v = KontrastVerhaeltnis(f.vorne, f.hinten, "vorne", "hinten");
        EXPECT_NEAR(v, f.verhaeltnis, 0.001) << f.vorne << " " << f.hinten;
        std::string text = f.text;
        if (text.back() == '+') text.replace(text.size() - 1, 1, warnung);
        EXPECT_EQ(KontrastText(v), text) << f.vorne;
    }
}

TEST(Kontrast, UnreadableColourNamesField) {
    for (const char* farbe : {"", "12345", "12345g", "#ffffff", "1234567"}) {
        try {
            KontrastVerhaeltnis("000000", farbe, "vorne", "Die Schriftfarbe der Buttons");
            ADD_FAILURE() << farbe;
        } catch (const Fehler& f) {
            EXPECT_EQ(std::string(f.what()).rfind("Die Schriftfarbe der Buttons: die Farbe", 0), 0u)
                << f.what();
        }
    }
}

TEST(SchriftFamilieCss, GenericFallbackRows) {
    const std::pair<const char*, const char*> faelle[] = {
        {"Arial", "\"Arial\",sans-serif"},
        {"Georgia", "\"Georgia\",serif"},
        {"Times New Roman", "\"Times New Roman\",serif"},
        {"Courier New", "\"Courier New\",monospace"},
        {"DejaVu Serif", "\"DejaVu Serif\",sans-serif"},
    };
    for (const auto& [name, css] : faelle) EXPECT_EQ(SchriftFamilieCss(name), css);
}

}  // namespace
}  // namespace lw
