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


// The code point of a Windows-1252 byte.
char32_t ZeichenAusByte(char ch) {
    const auto b = static_cast<std::uint8_t>(ch);
    return b >= 0x80 && b < 0xA0 ? kObererBereich[b - 0x80] : b;
}

// A decimal character reference at t[p] ("&#26085;") to a character that
// Windows-1252 cannot hold: its length and code point; 0 for anything else.
std::size_t ReferenzAusserhalb(std::string_view t, std::size_t p, char32_t& zeichen) {
    if (t.compare(p, 2, "&#") != 0) return 0;
    char32_t c = 0;
    std::size_t i = p + 2;
    for (; i < t.size() && i < p + 9 && t[i] >= '0' && t[i] <= '9'; ++i) c = c * 10 + (t[i] - '0');
    if (i == p + 2 || i >= t.size() || t[i] != ';' || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    if (alsByte(c) != '?' || c == '?') return 0;
    zeichen = c;
    return i + 1 - p;
}

}  // namespace

void utf8Anhaengen(std::string& aus, char32_t c) {
    if (c < 0x80) {
        aus += static_cast<char>(c);
    } else if (c < 0x800) {
        aus += static_cast<char>(0xC0 | (c >> 6));
        aus += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        aus += static_cast<char>(0xE0 | (c >> 12));
        aus += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        aus += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        aus += static_cast<char>(0xF0 | (c >> 18));
        aus += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        aus += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        aus += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::size_t Utf8Folge(std::string_view t, std::size_t p, char32_t& zeichen) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(t[p + i]); };
    const unsigned char a = byte(0);
    std::size_t laenge = 0;
    unsigned char min = 0x80, max = 0xBF;  // the range of the second byte
    if (a >= 0xC2 && a <= 0xDF) {
        laenge = 2;
    } else if (a >= 0xE0 && a <= 0xEF) {
        laenge = 3;
        if (a == 0xE0) min = 0xA0;
        if (a == 0xED) max = 0x9F;
    } else if (a >= 0xF0 && a <= 0xF4) {
        laenge = 4;
        if (a == 0xF0) min = 0x90;
        if (a == 0xF4) max = 0x8F;
    } else {
        return 0;
    }
    if (t.size() - p < laenge || byte(1) < min || byte(1) > max) return 0;
    char32_t z = a & (0x7F >> laenge);
    for (std::size_t i = 1; i < laenge; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        z = z << 6 | (byte(i) & 0x3F);
    }
    zeichen = z;
    return laenge;
}

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
    for (char ch : cp1252) utf8Anhaengen(aus, ZeichenAusByte(ch));
    return aus;
}

std::string utf8AusSeitenbytes(std::string_view bytes) {
    std::string aus;
    aus.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t c = 0;
        if (const std::size_t laenge = Utf8Folge(bytes, i, c)) {
            aus.append(bytes.substr(i, laenge));
            i += laenge;
        } else {
            utf8Anhaengen(aus, ZeichenAusByte(bytes[i++]));
        }
    }
    return aus;
}

std::string cp1252MitReferenzen(std::string_view utf8) {
    std::string aus;
    aus.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        const std::size_t laenge = Utf8Folge(utf8, i, c);
        if (laenge == 0) {
            aus += static_cast<std::uint8_t>(utf8[i]) < 0x80 ? utf8[i] : '?';
            ++i;
            continue;
        }
        const char b = alsByte(c);
        if (b == '?')
            aus += "&#" + std::to_string(static_cast<std::uint32_t>(c)) + ";";
        else
            aus += b;
        i += laenge;
    }
    return aus;
}

std::string utf8MitReferenzen(std::string_view cp1252) {
    std::string aus;
    aus.reserve(cp1252.size() + cp1252.size() / 8);
    for (std::size_t i = 0; i < cp1252.size();) {
        char32_t c = 0;
        if (const std::size_t laenge = cp1252[i] == '&' ? ReferenzAusserhalb(cp1252, i, c) : 0) {
            utf8Anhaengen(aus, c);
            i += laenge;
        } else {
            utf8Anhaengen(aus, ZeichenAusByte(cp1252[i++]));
        }
    }
    return aus;
}

}  // namespace lw
