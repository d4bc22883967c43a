#include "output/DateiErzeugung.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <map>
#include <string_view>
#include <utility>
#include <vector>

#include "common/Dateien.h"
#include "common/Fehler.h"
#include "common/Text.h"
#include "common/Zeichensatz.h"

namespace lw {
namespace {

// The line closing the scroll block, the empty line and the start of
// "  </body>"; the generated page carries it only with the fixed menu.
constexpr std::string_view kEndmarke = "    </div>\r\n\r\n  </body>";
// The line that closes the contents block, where the cut of the placeholders ends.
constexpr std::string_view kInhaltEnde = "\r\n      </div>\r\n";
constexpr std::string_view kUeberschrift = "        <h1>Lorem ipsum</h1>";
constexpr std::string_view kGeneratorAnfang = "<meta name=\"generator\" content=\"";
constexpr std::string_view kGeneratorLeistenwerk =
    "<meta name=\"generator\" content=\"Leistenwerk\" />";

struct Umlaut {
    std::string_view utf8;
    std::string_view entitaet;
};
// The provider's pages carry UTF-8; the generated page declares ISO-8859-1.
// The seven letters keep their named entities, every other character of the
// imported contents becomes a character reference (Zeichenweise).
constexpr Umlaut kUmlaute[] = {
    {"\xC3\xA4", "&auml;"}, {"\xC3\xB6", "&ouml;"}, {"\xC3\xBC", "&uuml;"}, {"\xC3\x9F", "&szlig;"},
    {"\xC3\x84", "&Auml;"}, {"\xC3\x96", "&Ouml;"}, {"\xC3\x9C", "&Uuml;"}};

// For each second byte: 1 + its place in kUmlaute, 0 for none.
constexpr std::array<unsigned char, 256> kUmlautNach = [] {
    std::array<unsigned char, 256> t{};
    for (std::size_t i = 0; i < std::size(kUmlaute); ++i)
        t[static_cast<unsigned char>(kUmlaute[i].utf8[1])] = static_cast<unsigned char>(i + 1);
    return t;
}();

// Length (2 to 4) of the well-formed UTF-8 sequence at t[p] and its code
// point; 0 for overlong forms, surrogates, code points above U+10FFFF, stray
// continuation bytes and cut-off sequences.
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

// Copies the block of kBlock bytes at von to nach and returns which of them
// are 0x80 or above, bit i for byte i.
#if defined(__SSE2__)
constexpr std::size_t kBlock = 16;
inline unsigned HoheBytesKopieren(const char* von, char* nach) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(von));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(nach), block);
    return static_cast<unsigned>(_mm_movemask_epi8(block));
}
#else
constexpr std::size_t kBlock = 8;
inline unsigned HoheBytesKopieren(const char* von, char* nach) {
    std::uint64_t block;
    std::memcpy(&block, von, sizeof block);
    std::memcpy(nach, &block, sizeof block);
    if constexpr (std::endian::native == std::endian::little) {
        // The top bits of the eight bytes gathered into one byte.
        return static_cast<unsigned>(((block & 0x8080808080808080ull) * 0x0002040810204081ull) >>
                                     56);
    } else {
        unsigned hoch = 0;
        for (std::size_t i = 0; i < sizeof block; ++i)
            hoch |= static_cast<unsigned>(static_cast<unsigned char>(von[i]) >> 7) << i;
        return hoch;
    }
}
#endif

// Appends t to aus with its UTF-8 umlauts as named entities and, with
// referenzen, every other well-formed UTF-8 character as a decimal character
// reference; every other byte stays. Byte-exact: case-insensitive matching
// would take Ì (C3 8C) for Ü and sequences beginning with E3 for C3. A C3 is
// always the first byte of its sequence, so the umlauts come out as replacing
// one letter after the other over the text would give them.
//
// One pass: a block at a time is copied into a small buffer that stays in the
// cache and looked at on the way, and the buffer goes on to aus in large
// pieces. Appending every piece between two letters to aus on its own costs
// more than the conversion.
void Zeichenweise(std::string& aus, std::string_view t, bool referenzen) {
    constexpr std::size_t kGroesse = 16384;
    // Behind the filled part: room for a block and the longest replacement
    // ("&#1114111;").
    constexpr std::size_t kRand = kBlock + 16;
    char puffer[kGroesse];
    std::size_t z = 0;  // bytes in puffer
    const char* q = t.data();
    const std::size_t n = t.size();
    std::size_t p = 0;
    while (p < n) {
        if (z > kGroesse - kRand) {
            aus.append(puffer, z);
            z = 0;
        }
        if (p + kBlock <= n) {
            const unsigned hoch = HoheBytesKopieren(q + p, puffer + z);
            if (hoch == 0) {
                p += kBlock;
                z += kBlock;
                continue;
            }
            const auto k = static_cast<std::size_t>(std::countr_zero(hoch));
            p += k;
            z += k;
        } else if (static_cast<unsigned char>(q[p]) < 0x80) {
            puffer[z++] = q[p++];
            continue;
        }
        // q[p] is 0x80 or above.
        if (const unsigned umlaut =
                q[p] == '\xC3' && p + 1 < n ? kUmlautNach[static_cast<unsigned char>(q[p + 1])] : 0) {
            const std::string_view entitaet = kUmlaute[umlaut - 1].entitaet;
            std::memcpy(puffer + z, entitaet.data(), entitaet.size());
            z += entitaet.size();
            p += 2;
            continue;
        }
        char32_t zeichen = 0;
        if (const std::size_t laenge = referenzen ? Utf8Folge(t, p, zeichen) : 0) {
            puffer[z] = '&';
            puffer[z + 1] = '#';
            char* ende = std::to_chars(puffer + z + 2, puffer + z + 10,
                                       static_cast<std::uint32_t>(zeichen))
                             .ptr;
            *ende = ';';
            z = static_cast<std::size_t>(ende + 1 - puffer);
            p += laenge;
            continue;
        }
        puffer[z++] = q[p++];
    }
    aus.append(puffer, z);
}

// At least the length of what Zeichenweise makes of t, found without
// decoding: no byte of 0x80 or above grows by more than three ("&#2047;"
// for two bytes is the most), and an umlaut across a seam is one of them.
std::size_t HoechstLaenge(std::string_view t) {
    // The top bits of eight bytes summed by one multiplication (the
    // machine's baseline has no popcount instruction).
    constexpr std::uint64_t kEins = 0x0101010101010101ull;
    std::size_t hoch = 0;
    std::size_t p = 0;
    for (; p + 8 <= t.size(); p += 8) {
        std::uint64_t block;
        std::memcpy(&block, t.data() + p, sizeof block);
        hoch += static_cast<std::size_t>((((block >> 7) & kEins) * kEins) >> 56);
    }
    for (; p < t.size(); ++p) hoch += static_cast<unsigned char>(t[p]) >= 0x80;
    return t.size() + 3 * hoch;
}

// Appends t as Zeichenweise gives it. Appending the parts of a text one after
// the other gives the umlauts of the whole text: a C3 that ends aus is still
// raw (entities end in ';') and pairs with t's first byte.
void ZeichenAnhaengen(std::string& aus, std::string_view t, bool referenzen) {
    if (!t.empty() && !aus.empty() && aus.back() == '\xC3') {
        if (const unsigned umlaut = kUmlautNach[static_cast<unsigned char>(t[0])]) {
            aus.pop_back();
            aus.append(kUmlaute[umlaut - 1].entitaet);
            t.remove_prefix(1);
        }
    }
    Zeichenweise(aus, t, referenzen);
}

// Removes the placeholder paragraphs so the imported contents take their
// place. The cut ends at the line that closes the contents block, with the
// fixed menu too: the end mark begins with the scroll block's closing line,
// and cutting up to it would leave that block open and close "Inhalt" with
// the scroll block's line. A text without the contents block's end (not one
// of this generator) is cut up to the end mark, if it has one.
void PlatzhalterEntfernen(std::string& seite) {
    const auto p = static_cast<long long>(Position("<p>", seite));
    if (p == 0) return;
    if (const auto ende = seite.find(kInhaltEnde, static_cast<std::size_t>(p - 1));
        ende != std::string::npos) {
        const auto divAnfang = static_cast<long long>(ende + 2);  // 0-based, behind the CR LF
        Entfernen(seite, p, divAnfang - (p - 1));
    } else if (const auto e = static_cast<long long>(Position(kEndmarke, seite)); e > 0) {
        Entfernen(seite, p, e - p);
    }
}

void BildKopieren(const std::string& bild, const std::string& imgOrdner) {
    if (bild.empty()) return;
    const std::string inhalt = DateiLesenGanz(bild);
    DateiErstellen(imgOrdner + DateiName(bild), inhalt);
}

// The files below "Neu" that the writer makes itself, in capitals: Windows
// and many web hosts do not tell "Logo.gif" from "logo.gif".
std::vector<std::string> EigeneDateien(const Projektdaten& daten) {
    std::vector<std::string> dateien = {"CSS/FORMATE.CSS", "CSS/IE.CSS"};
    for (int i = 1; i <= daten.SeitenInGebrauch(); ++i)
        dateien.push_back(Grossbuchstaben("_" + daten.ImportSeiten[i]));
    for (const std::string& bild : GewaehlteBilder(daten))
        dateien.push_back(Grossbuchstaben("IMG/" + DateiName(bild)));
    return dateien;
}

// True when the two paths are one, or one is a folder on the other's way.
bool Ueberschneiden(std::string_view a, std::string_view b) {
    if (a.size() > b.size()) std::swap(a, b);
    return b.starts_with(a) && (b.size() == a.size() || b[a.size()] == '/');
}

// The pictures of the imported pages must land inside "Neu" and must not
// take the place of a file or folder the writer makes; inside its folders
// they may go.
void ImportBilderPruefen(const Projektdaten& daten) {
    if (daten.ImportBilder.empty()) return;
    const std::vector<std::string> eigene = EigeneDateien(daten);
    for (const std::string& bild : daten.ImportBilder) {
        if (!SchlichterPfad(bild))
            throw Hinweis("Das Bild \"" + Lesbar(bild) +
                          W("\" der übernommenen Homepage hat keinen gültigen Pfad."));
        const std::string gross = Grossbuchstaben(bild);
        const auto gleich = [&gross](std::string_view eigen) {
            return Ueberschneiden(gross, eigen);
        };
        if (gross == "CSS" || gross == "IMG" || std::any_of(eigene.begin(), eigene.end(), gleich))
            throw Hinweis("Das Bild \"" + bild +
                          W("\" der übernommenen Homepage hat denselben Pfad wie eine Datei "
                            "der neuen Seiten. Bitte benennen Sie eines davon um."));
    }
}

// Copies a picture of the imported pages to the same place below "Neu",
// making the folders on its way that do not exist yet.
void ImportBildKopieren(const std::string& alt, const std::string& neu, const std::string& bild) {
    OrdnerAufDemWegErzeugen(neu, bild);
    DateiKopieren(alt + bild, neu + bild);
}

// Only the generator tag names the page, and only the first, that of the
// generated head: nothing the user types stands before it, and the same word
// in the contents or the link texts is the user's own. A file name may hold
// an '&', which the attribute value must not carry raw.
bool NameEinsetzen(std::string& seite, const std::string& seitenname) {
    const auto p = seite.find(kGeneratorLeistenwerk);
    if (p == std::string::npos) return false;
    seite.replace(
        p, kGeneratorLeistenwerk.size(),
        std::string(kGeneratorAnfang) + "_" + AttributWert(NameOhneEndung(seitenname)) + "\" />");
    return true;
}

// The merged page into seite, whose room is kept from page to page: fresh
// memory for every page of a megabyte costs more than the merge itself. The
// generated parts keep their bytes as the umlaut rule has always given them;
// only the imported contents get character references as well.
void Zusammenfuehren(std::string_view seitentext, std::string_view inhalt,
                     const std::string& seitenname, std::string& seite) {
    seite.clear();
    // The navigation carries the link texts as typed, markup and all, so a
    // typed "<p>" or heading stands before the placeholders. Only the last
    // placeholder heading and what follows it are the generated contents.
    const auto inhaltsblock = seitentext.rfind(kUeberschrift);
    if (inhaltsblock == std::string_view::npos) {
        // Not a page of this generator: the steps as written, over the whole
        // text. Without the heading no contents go in.
        std::string ganz(seitentext);
        PlatzhalterEntfernen(ganz);
        Ersetzen(ganz, kUeberschrift, inhalt);
        ZeichenAnhaengen(seite, ganz, false);
        NameEinsetzen(seite, seitenname);
        return;
    }
    // Put together from its parts in one piece of memory, so that the contents
    // are copied only once; the name goes in after the entities of the head,
    // as over the whole text.
    const std::string_view kopf = seitentext.substr(0, inhaltsblock);
    std::string block(seitentext.substr(inhaltsblock));
    PlatzhalterEntfernen(block);
    const std::string_view ende = std::string_view(block).substr(kUeberschrift.size());
    // One reserve for all parts and the name, which may grow to "&quot;"s.
    seite.reserve(HoechstLaenge(kopf) + HoechstLaenge(inhalt) + HoechstLaenge(ende) +
                  6 * seitenname.size() + kGeneratorAnfang.size() + 8);
    ZeichenAnhaengen(seite, kopf, false);
    const bool benannt = NameEinsetzen(seite, seitenname);
    ZeichenAnhaengen(seite, inhalt, true);
    ZeichenAnhaengen(seite, ende, false);
    if (!benannt) NameEinsetzen(seite, seitenname);
}

// DateiLesen(dateiname, 0, 0) into a buffer whose room is kept from page to page.
void InhaltLesen(const std::string& dateiname, std::string& inhalt) {
    inhalt.clear();
    if (DateiExistiert(dateiname)) DateiLesenGanz(dateiname, inhalt);
}

}  // namespace

std::vector<std::string> GewaehlteBilder(const Projektdaten& daten) {
    std::vector<std::string> bilder;
    for (const std::string* bild : {&daten.BannerDatei, &daten.HintergrundBild})
        if (!bild->empty()) bilder.push_back(*bild);
    for (int i = 1; i <= daten.SeitenInGebrauch(); ++i)
        if (!daten.ButtonGrafik[i].empty()) bilder.push_back(daten.ButtonGrafik[i]);
    return bilder;
}

void BildnamenPruefen(const Projektdaten& daten) {
    // By capitals, as Windows sees names and as the preview finds them.
    std::map<std::string, const std::string*> erstes;
    for (const std::string& bild : GewaehlteBilder(daten)) {
        const auto [platz, neu] = erstes.try_emplace(Grossbuchstaben(DateiName(bild)), &bild);
        if (!neu && *platz->second != bild)
            throw Hinweis("Die Bilder \"" + *platz->second + "\" und \"" + bild +
                          "\" haben denselben Namen. Bitte benennen Sie eines davon um.");
    }
}

std::string SeiteZusammenfuehren(std::string seitentext, const std::string& inhalt,
                                 const std::string& seitenname) {
    std::string seite;
    Zusammenfuehren(seitentext, inhalt, seitenname, seite);
    return seite;
}

std::string DateiLesen(const std::string& dateiname, long long anfang, long long ende) {
    if (!DateiExistiert(dateiname)) return {};
    if (anfang < 0) anfang = 0;
    // Only small contents files are read; reading whole keeps one error road.
    const std::string inhalt = DateiLesenGanz(dateiname);
    const auto groesse = static_cast<long long>(inhalt.size());
    if (anfang >= ende || ende > groesse) ende = groesse;
    if (anfang >= groesse) return {};
    return inhalt.substr(static_cast<std::size_t>(anfang), static_cast<std::size_t>(ende - anfang));
}

void DateienErzeugen(const Projektdaten& daten, const ErzeugterCode& code, bool menueFixiert) {
    // An empty folder would put the site at the top of the file system.
    if (daten.Zielordner.empty()) EAFehlerWerfen(kPfadNichtGefunden);
    const int n = daten.SeitenInGebrauch();
    // Checked before anything is created: a refused name leaves no trace.
    for (int i = 1; i <= n; ++i)
        if (!SchlichterDateiname(daten.ImportSeiten[i]))
            SeitennameUngueltigWerfen(daten.ImportSeiten[i]);
    BildnamenPruefen(daten);
    const bool importiert = daten.Modus == kModusNZAlt;
    if (importiert) ImportBilderPruefen(daten);

    const std::string neu = daten.Zielordner + "/Neu/";
    const std::string alt = daten.Zielordner + "/Alt/";
    OrdnerErzeugen(daten.Zielordner + "/Neu");

    std::string inhalt;  // both kept from page to page, see Zusammenfuehren
    std::string seite;
    for (int i = 1; i <= n; ++i) {
        const std::string& name = daten.ImportSeiten[i];
        if (importiert) {
            InhaltLesen(alt + name, inhalt);
            Zusammenfuehren(code.seite, inhalt, name, seite);
            const std::string seitendatei = neu + "_" + name;
            // A missing contents file ends the save with the open error of a
            // copy of it; the page bytes are written only once.
            if (!DateiExistiert(alt + name)) DateiKopieren(alt + name, seitendatei);
            DateiErstellen(seitendatei, seite);
            continue;
        }
        const std::string seitendatei = neu + name;
        DateiErstellen(seitendatei, {});
        TextSchreiben(seitendatei, code.seite);
    }

    OrdnerErzeugen(neu + "css");
    TextSchreiben(neu + "css/formate.css", code.css);
    // The pages link "css/ie.css"; web hosts tell capitals from small letters.
    if (menueFixiert) TextSchreiben(neu + "css/ie.css", code.ieCss);

    OrdnerErzeugen(neu + "img");
    const std::string img = neu + "img/";
    BildKopieren(daten.BannerDatei, img);
    BildKopieren(daten.HintergrundBild, img);
    for (int i = 1; i <= n; ++i) BildKopieren(daten.ButtonGrafik[i], img);
    if (importiert)
        for (const std::string& bild : daten.ImportBilder) ImportBildKopieren(alt, neu, bild);
}

std::string SpeicherMeldung(const Projektdaten& daten) {
    return "Die erforderlichen Dateien wurden unter " + daten.Zielordner +
           "/Neu gespeichert.\nDas Programm wird jetzt beendet.";
}

}  // namespace lw
