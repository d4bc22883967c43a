#include "pictures/Bild.h"

#include <sys/stat.h>

#include <string>

#include "common/Dateien.h"
#include "common/Fehler.h"
#include "common/Zeichensatz.h"
#include "pictures/Dekoder.h"

namespace lw {
namespace bild {
namespace {

// The messages speak of the file by its path, or of "Die Bilddaten" (plural)
// when there is no file.
std::string Satz(const std::string& pfad, const char* einzahl, const char* mehrzahl,
                 const std::string& rest) {
    if (pfad.empty()) return W("Die Bilddaten ") + W(mehrzahl) + " " + rest;
    return W("Die Datei ") + pfad + " " + W(einzahl) + " " + rest;
}

std::string Masse(long long breite, long long hoehe) {
    return std::to_string(breite) + W(" × ") + std::to_string(hoehe) + " Pixel";
}

}  // namespace

void KeinBild(const std::string& pfad) {
    throw Fehler(Satz(pfad, "ist", "sind", W("kein lesbares JPEG-, GIF- oder PNG-Bild")));
}

void Beschaedigt(const std::string& pfad) {
    throw Fehler(Satz(pfad, "ist", "sind", W("beschädigt oder unvollständig")));
}

void NichtUnterstuetzt(const std::string& pfad) {
    throw Fehler(Satz(pfad, "verwendet", "verwenden",
                      W("eine nicht unterstützte Variante des JPEG-Formats")));
}

void ZuGross(const std::string& pfad, long long breite, long long hoehe) {
    throw Fehler(Satz(pfad, "ist", "sind",
                      W("zu groß (") + Masse(breite, hoehe) + W("; erlaubt sind höchstens ") +
                          std::to_string(kBildMaxSeite) + W(" Pixel je Seite und ") +
                          std::to_string(kBildMaxPixel / (1024 * 1024)) + " Megapixel)"));
}

void GroessePruefen(const std::string& pfad, long long breite, long long hoehe) {
    if (breite <= 0 || hoehe <= 0)
        throw Fehler(Satz(pfad, "enthält", "enthalten",
                          W("ein leeres Bild (") + Masse(breite, hoehe) + ")"));
    if (breite > kBildMaxSeite || hoehe > kBildMaxSeite || breite * hoehe > kBildMaxPixel)
        ZuGross(pfad, breite, hoehe);
}

namespace {

bool BeginntMit(std::string_view daten, std::string_view kennung) {
    return daten.substr(0, kennung.size()) == kennung;
}

Bild Dekodieren(std::string_view daten, const std::string& pfad, int mindestBreite) {
    if (BeginntMit(daten, "\xFF\xD8\xFF")) return JpegDekodieren(daten, pfad, mindestBreite);
    if (BeginntMit(daten, "GIF87a") || BeginntMit(daten, "GIF89a"))
        return GifDekodieren(daten, pfad);
    if (BeginntMit(daten, "\x89PNG\r\n\x1A\n")) return PngDekodieren(daten, pfad);
    KeinBild(pfad);
}

}  // namespace
}  // namespace bild

Bild BildLaden(const std::string& pfad, int mindestBreite) {
    // Someone may pick a video renamed to .jpg; do not read gigabytes for it.
    // A failing stat is left to DateiLesenGanz, which has the right words.
    struct stat info {};
    if (::stat(LokalerPfad(pfad).c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        info.st_size > kBildMaxDateigroesse)
        throw Fehler(W("Die Datei ") + pfad + W(" ist zu groß für ein Bild (mehr als ") +
                     std::to_string(kBildMaxDateigroesse / (1024 * 1024)) + " MB)");
    return bild::Dekodieren(DateiLesenGanz(pfad), pfad, mindestBreite);
}

Bild BildDekodieren(std::string_view daten) {
    return bild::Dekodieren(daten, {}, 0);
}

}  // namespace lw
