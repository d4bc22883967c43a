#include "codegen/Schriftstil.h"

#include <cmath>
#include <cstdio>

namespace lw {

std::string FarbeAlsHex(std::uint32_t farbe) {
    // The top byte marks system colours; the windows resolve those before calling.
    const unsigned rot = farbe & 0xFFu;
    const unsigned gruen = (farbe >> 8) & 0xFFu;
    const unsigned blau = (farbe >> 16) & 0xFFu;
    char text[8];
    std::snprintf(text, sizeof text, "%02x%02x%02x", rot, gruen, blau);
    return text;
}

namespace {

std::string Eintrag(int zeile) {
    const bool fett = zeile & 1, kursiv = zeile & 2, unter = zeile & 4, durch = zeile & 8;
    std::string css = fett ? "        font-weight: bold;\n" : "        font-weight: normal;\n";
    css += kursiv ? "        font-style: italic;\n" : "        font-style: normal;\n";
    if (!unter && !durch) css += "        text-decoration: none;";
    if (unter) css += "        text-decoration: underline;";
    if (unter && durch) css += '\n';
    if (durch) css += "        text-decoration: line-through;";
    return css;
}

}  // namespace

const std::array<std::string, 16>& Schriftstiltabelle() {
    static const std::array<std::string, 16> tabelle = [] {
        std::array<std::string, 16> t;
        for (int zeile = 0; zeile < 16; ++zeile) t[zeile] = Eintrag(zeile);
        return t;
    }();
    return tabelle;
}

std::string SchriftstilAlsCss(bool fett, bool kursiv, bool unterstrichen, bool durchgestrichen) {
    return Schriftstiltabelle()[(fett ? 1 : 0) | (kursiv ? 2 : 0) | (unterstrichen ? 4 : 0) |
                                (durchgestrichen ? 8 : 0)];
}

std::string EmWert(int h, int s) {
    // The windows never deliver a size below 1; a zero must still not divide.
    if (s <= 0) return "0.0";
    // Quotient first, then the product: this order decides the rare cases
    // where q lands next to a halfway point.
    const double q = (static_cast<double>(h) / s) * 10.0;
    const double unten = std::floor(q);
    const double rest = q - unten;
    long long v = static_cast<long long>(unten);
    if (rest > 0.5 || (rest == 0.5 && v % 2 != 0)) ++v;

    // Work on the magnitude so that div and mod do not truncate towards zero
    // into "-3.-6" or lose the sign of "-0.5".
    const unsigned long long betrag = v < 0 ? 0ULL - static_cast<unsigned long long>(v) : v;
    std::string text = v < 0 ? "-" : "";
    text += std::to_string(betrag / 10) + '.' + std::to_string(betrag % 10);
    return text;
}

}  // namespace lw
