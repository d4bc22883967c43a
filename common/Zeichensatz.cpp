#include "common/Zeichensatz.h"

#include <array>
#include <cstdint>

namespace lw {
namespace {

// Code points of the bytes 0x80..0x9F. The five bytes Windows leaves undefined
// map to the C1 control of the same value, as MultiByteToWideChar does, so that
// every byte survives a round trip.
constexpr std::array<char32_t, 32> kObererBereich = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char alsByte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < kObererBereich.size(); ++i)
        if (kObererBereich[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}

void utf8Anhaengen(std::string& aus, char32_t c) {
    if (c < 0x80) {
        aus += static_cast<char>(c);
    } else if (c < 0x800) {
        aus += static_cast<char>(0xC0 | (c >> 6));
        aus += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        aus += static_cast<char>(0xE0 | (c >> 12));
        aus += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        aus += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string cp1252AusUtf8(std::string_view utf8) {
    std::string aus;
    aus.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<std::uint8_t>(utf8[i]);
        int folge = 0;
        char32_t c = 0;
        char32_t kleinste = 0;  // below it the form is overlong
        if (b < 0x80) {
            aus += static_cast<char>(b);
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            folge = 1;
            c = b & 0x1F;
            kleinste = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            folge = 2;
            c = b & 0x0F;
            kleinste = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            folge = 3;
            c = b & 0x07;
            kleinste = 0x10000;
        } else {
            aus += '?';  // a stray continuation byte or a lead byte UTF-8 never uses
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        bool gueltig = true;
        for (int k = 0; k < folge; ++k, ++j) {
            if (j >= utf8.size() || (static_cast<std::uint8_t>(utf8[j]) & 0xC0) != 0x80) {
                gueltig = false;
                break;
            }
            c = (c << 6) | (static_cast<std::uint8_t>(utf8[j]) & 0x3F);
        }
        // An overlong form would smuggle in ASCII ("\xC0\xAF" for '/') or a NUL;
        // surrogates and code points beyond U+10FFFF are no characters at all.
        if (c < kleinste || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) gueltig = false;
        aus += gueltig ? alsByte(c) : '?';
        i = j;  // a broken sequence costs one '?' and resumes at the offending byte
    }
    return aus;
}

std::string utf8AusCp1252(std::string_view cp1252) {
    std::string aus;
    aus.reserve(cp1252.size() + cp1252.size() / 8);
    for (char ch : cp1252) {
        const auto b = static_cast<std::uint8_t>(ch);
        if (b >= 0x80 && b < 0xA0)
            utf8Anhaengen(aus, kObererBereich[b - 0x80]);
        else
            utf8Anhaengen(aus, b);
    }
    return aus;
}

}  // namespace lw
