#pragma once

#include <string>

#include "pictures/Bild.h"

// Pictures that load slowly on a phone, and the smaller copy offered for them.
namespace lw {

inline constexpr long long kHandyMaxBytes = 1024LL * 1024;
inline constexpr int kHandyMaxBreite = 1920;
inline constexpr int kKopieMaxBreite = 1600;
inline constexpr int kKopieJpegQualitaet = 85;

// "Dieses Bild ist 4,8 MB groß und lädt auf dem Handy langsam." for a picture
// of more than 1 MiB or wider than 1920 px; empty for one that is fine.
std::string HandyHinweis(long long bytes, int breite);

// The same for a picture file already decoded (its width), or decoded here.
// A file that is no readable picture throws lw::Fehler naming it, so that a
// picture that cannot be decoded never gets the offer of a copy.
std::string HandyHinweis(const std::string& pfad, const Bild& bild);
std::string HandyHinweis(const std::string& pfad);

// Writes a copy of the picture at pfad, at most maxBreite wide and in its
// proportions, into the folder ordner (made when missing; its parent must
// exist) under the original's name: as JPEG of
// quality 85 when it is opaque, as PNG when it has transparency; the name's
// ending changes only where the format does. The original is only read.
// Returns the copy's path; throws lw::Fehler as BildLaden, or when the copy
// cannot be written.
std::string VerkleinerteKopie(const std::string& pfad, const std::string& ordner,
                              int maxBreite = kKopieMaxBreite);

// The pixels scaled to breite x hoehe by the area each new pixel covers,
// weighted by transparency so that transparent pixels lend no colour.
Bild BildSkalieren(const Bild& bild, int breite, int hoehe);

}  // namespace lw
