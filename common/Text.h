#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The text operations that the site writer, the preview and the import share.
// Positions count from 1, as the generated markers are documented.
namespace lw {

// Position of the first occurrence of x in t, byte for byte with case; 0 when
// x does not occur (or is empty).
std::size_t Position(std::string_view x, std::string_view t);

// Removes n characters of t from position p. Nothing happens when p < 1,
// p > length of t or n <= 0; n is cut down to the characters that exist.
void Entfernen(std::string& t, long long p, long long n);

// The small letter of an ASCII capital; all other bytes stay. For the names
// of HTML, which are ASCII whatever the page's characters.
char KleinAscii(char c);
// a and b alike but for the case of ASCII letters.
bool GleichOhneFallAscii(std::string_view a, std::string_view b);

// Windows-1252 capitals: a-z, à-þ except ÷, and š œ ž ÿ; all other bytes stay.
char Grossbuchstabe(char c);
std::string Grossbuchstaben(std::string_view t);

// Replaces every occurrence of x by y, left to right, never searching inside
// inserted text. Matching ignores case by Grossbuchstaben; the result keeps
// t's and y's own characters. An empty x changes nothing.
void Ersetzen(std::string& t, std::string_view x, std::string_view y);

// The part after the last '/' (the path separator of this platform).
std::string DateiName(std::string_view pfad);

// The file name without its last '.' and what follows; without '.' unchanged.
std::string NameOhneEndung(std::string_view name);

// True for a name that can only mean one file directly inside its folder and
// that stays a valid file name when the site is copied to Windows: not empty,
// not "." or "..", no control character, none of / \ < > : " | ? *, no
// device name (con, nul, com1, ...), no dot or blank at the end, and short
// enough that the saved page with "_" in front still fits.
bool SchlichterDateiname(std::string_view name);

// A relative path ('/' between its parts) of plain file names: no empty part,
// no "." or "..", no leading '/', so it stays below the folder it is read from.
bool SchlichterPfad(std::string_view pfad);

}  // namespace lw
