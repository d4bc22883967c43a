#include "codegen/Schriftstil.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/Fehler.h"
#include "common/Zeichensatz.h"

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

std::string SchriftFamilieCss(const std::string& name) {
    const char* art = "sans-serif";
    if (name == "Georgia" || name == "Times New Roman") art = "serif";
    if (name == "Courier New") art = "monospace";
    return "\"" + name + "\"," + art;
}

namespace {

int HexZiffer(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Relative luminance: each channel linearised from sRGB, then weighted.
double Leuchtdichte(std::string_view farbe, const std::string& was) {
    const auto unlesbar = [&] {
        throw Fehler(was + W(": die Farbe „") + Lesbar(std::string(farbe)) +
                     W("“ ist nicht lesbar (erwartet sind sechs Hexadezimalziffern)"));
    };
    if (farbe.size() != 6) unlesbar();
    double kanal[3];
    for (int i = 0; i < 3; ++i) {
        const int hoch = HexZiffer(farbe[2 * i]), tief = HexZiffer(farbe[2 * i + 1]);
        if (hoch < 0 || tief < 0) unlesbar();
        const double c = (hoch * 16 + tief) / 255.0;
        kanal[i] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    }
    return 0.2126 * kanal[0] + 0.7152 * kanal[1] + 0.0722 * kanal[2];
}

}  // namespace

double KontrastVerhaeltnis(std::string_view farbe1, std::string_view farbe2,
                           const std::string& was1, const std::string& was2) {
    const double l1 = Leuchtdichte(farbe1, was1), l2 = Leuchtdichte(farbe2, was2);
    return (std::max(l1, l2) + 0.05) / (std::min(l1, l2) + 0.05);
}

std::string KontrastText(double verhaeltnis) {
    // The small addition keeps 7.0 computed as 6.9999... at "7,0".
    const long long zehntel = static_cast<long long>(std::floor(verhaeltnis * 10 + 1e-9));
    std::string text =
        "Kontrast " + std::to_string(zehntel / 10) + "," + std::to_string(zehntel % 10) + " : 1";
    if (verhaeltnis < kKontrastMindestens)
        text += W(" – für viele Besucher schwer lesbar (empfohlen: mindestens 4,5 : 1)");
    return text;
}

}  // namespace lw
