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
#include <ctime>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "common/Dateien.h"
#include "common/Fehler.h"
#include "common/SchreibFaden.h"
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

// For each byte after a C3: the entity of the umlaut it makes, empty for none.
constexpr std::array<std::string_view, 256> kEntitaetNachC3 = [] {
    std::array<std::string_view, 256> t{};
    for (const Umlaut& u : kUmlaute) t[static_cast<unsigned char>(u.utf8[1])] = u.entitaet;
    return t;
}();

std::string_view EntitaetNachC3(char zweites) {
    return kEntitaetNachC3[static_cast<unsigned char>(zweites)];
}

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

// Writes the n bytes at q to ziel with their UTF-8 umlauts as named entities
// and, with referenzen, every other well-formed UTF-8 character as a decimal
// character reference; every other byte stays. Returns the length written,
// at most HoechstLaenge of the input. Byte-exact: case-insensitive matching
// would take Ì (C3 8C) for Ü and sequences beginning with E3 for C3. A C3 is
// always the first byte of its sequence, so the umlauts come out as replacing
// one letter after the other over the text would give them.
std::size_t Umwandeln(const char* q, std::size_t n, char* ziel, bool referenzen) {
    const std::string_view t(q, n);
    std::size_t z = 0;  // bytes written
    std::size_t p = 0;
    while (p < n) {
        if (p + kBlock <= n) {
            // The block goes out whole: its bytes make at least as many.
            const unsigned hoch = HoheBytesKopieren(q + p, ziel + z);
            if (hoch == 0) {
                p += kBlock;
                z += kBlock;
                continue;
            }
            const auto k = static_cast<std::size_t>(std::countr_zero(hoch));
            p += k;
            z += k;
        } else if (static_cast<unsigned char>(q[p]) < 0x80) {
            ziel[z++] = q[p++];
            continue;
        }
        // q[p] is 0x80 or above.
        if (const std::string_view entitaet =
                q[p] == '\xC3' && p + 1 < n ? EntitaetNachC3(q[p + 1]) : std::string_view();
            !entitaet.empty()) {
            std::memcpy(ziel + z, entitaet.data(), entitaet.size());
            z += entitaet.size();
            p += 2;
            continue;
        }
        char32_t zeichen = 0;
        if (const std::size_t laenge = referenzen ? Utf8Folge(t, p, zeichen) : 0) {
            ziel[z] = '&';
            ziel[z + 1] = '#';
            char* ende =
                std::to_chars(ziel + z + 2, ziel + z + 10, static_cast<std::uint32_t>(zeichen)).ptr;
            *ende = ';';
            z = static_cast<std::size_t>(ende + 1 - ziel);
            p += laenge;
            continue;
        }
        ziel[z++] = q[p++];
    }
    return z;
}

// No input byte makes more than this many: "&#2047;" for two bytes.
constexpr std::size_t kHoechstFaktor = 4;

// The length of t's start that Umwandeln turns alone into what it makes of it
// within a longer text: a character cut off at the end is left for the next
// piece. Only a byte of 0xC0 or above begins a character, it is never taken
// into one that begins before it, and only the last of them can be cut off.
std::size_t GanzeZeichen(std::string_view t) {
    for (std::size_t i = 1; i <= 3 && i <= t.size(); ++i) {
        const auto b = static_cast<unsigned char>(t[t.size() - i]);
        if (b < 0xC0) continue;
        const std::size_t laenge = b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF8 ? 4 : 1;
        return laenge > i ? t.size() - i : t.size();
    }
    return t.size();
}

// Appends t to aus as Umwandeln gives it, a piece at a time through a small
// buffer that stays in the cache: appending every piece between two letters
// to aus on its own costs more than the conversion.
void Zeichenweise(std::string& aus, std::string_view t, bool referenzen) {
    constexpr std::size_t kTeil = 4096;
    char puffer[kHoechstFaktor * kTeil];
    while (!t.empty()) {
        std::string_view teil = t.substr(0, kTeil);
        if (teil.size() < t.size()) teil = teil.substr(0, GanzeZeichen(teil));
        aus.append(puffer, Umwandeln(teil.data(), teil.size(), puffer, referenzen));
        t.remove_prefix(teil.size());
    }
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
        if (const std::string_view entitaet = EntitaetNachC3(t[0]); !entitaet.empty()) {
            aus.pop_back();
            aus.append(entitaet);
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

// The generated parts around the contents of a page of this generator: the
// head up to the last placeholder heading, its umlauts as entities and the
// name in its generator tag if it has one, and what follows the placeholders,
// raw. The navigation carries the link texts as typed, markup and all, so a
// typed "<p>" or heading stands before the placeholders; only the last
// placeholder heading and what follows it are the generated contents.
struct Rahmen {
    std::string kopf;
    std::string ende;
    bool benannt = false;
};

std::optional<Rahmen> RahmenBilden(std::string_view seitentext, const std::string& seitenname) {
    const auto inhaltsblock = seitentext.rfind(kUeberschrift);
    if (inhaltsblock == std::string_view::npos) return std::nullopt;
    Rahmen rahmen;
    // The name goes in after the entities of the head, as over the whole text.
    Zeichenweise(rahmen.kopf, seitentext.substr(0, inhaltsblock), false);
    rahmen.benannt = NameEinsetzen(rahmen.kopf, seitenname);
    rahmen.ende = seitentext.substr(inhaltsblock);
    PlatzhalterEntfernen(rahmen.ende);
    rahmen.ende.erase(0, kUeberschrift.size());
    return rahmen;
}

// The generated parts keep their bytes as the umlaut rule has always given
// them; only the imported contents get character references as well.
std::string Zusammenfuehren(std::string_view seitentext, std::string_view inhalt,
                            const std::string& seitenname) {
    std::string seite;
    const std::optional<Rahmen> rahmen = RahmenBilden(seitentext, seitenname);
    if (!rahmen) {
        // Not a page of this generator: the steps as written, over the whole
        // text. Without the heading no contents go in.
        std::string ganz(seitentext);
        PlatzhalterEntfernen(ganz);
        Ersetzen(ganz, kUeberschrift, inhalt);
        ZeichenAnhaengen(seite, ganz, false);
        NameEinsetzen(seite, seitenname);
        return seite;
    }
    // One reserve for all parts and the name, so that the contents are copied
    // only once.
    seite.reserve(rahmen->kopf.size() + HoechstLaenge(inhalt) + HoechstLaenge(rahmen->ende) +
                  6 * seitenname.size() + kGeneratorAnfang.size() + 8);
    seite = rahmen->kopf;
    ZeichenAnhaengen(seite, inhalt, true);
    ZeichenAnhaengen(seite, rahmen->ende, false);
    if (!rahmen->benannt) NameEinsetzen(seite, seitenname);
    return seite;
}

// Pieces of the contents read and written at a time: big enough that the
// calls cost little, small enough that they stay in the cache with what they
// become.
constexpr std::size_t kStueck = 128 * 1024;
// Room in a buffer of the writing thread: a piece as it may grow, and a
// letter held back from the piece before.
constexpr std::size_t kPufferGroesse = kHoechstFaktor * kStueck + 8;

// Writes pages from their parts as ZeichenAnhaengen puts them together: each
// piece is converted into a buffer of the writing thread, which writes it
// while the next one is read and converted. A raw C3 that ends a piece is
// held back: it may pair with the next part's first byte.
class SeitenSchreiber final {
public:
    SeitenSchreiber()
        : ein_(std::make_unique_for_overwrite<char[]>(kStueck)), faden_(kPufferGroesse, 3) {}

    void Beginnen(const std::string& pfad) {
        faden_.Oeffnen(pfad);
        c3_ = false;
    }

    // Bytes that need no conversion.
    void Fertig(std::string_view t) {
        while (!t.empty()) {
            const std::string_view teil = t.substr(0, kStueck);
            char* puffer = faden_.Puffer();
            const std::size_t z = C3Anhaengen(puffer);
            std::memcpy(puffer + z, teil.data(), teil.size());
            Abgeben(puffer, z + teil.size());
            t.remove_prefix(teil.size());
        }
    }

    void Zeichen(std::string_view t, bool referenzen) {
        while (!t.empty()) {
            char* puffer = faden_.Puffer();
            std::size_t z = C3Anhaengen(puffer, &t);
            std::string_view teil = t.substr(0, kStueck);
            if (teil.size() < t.size()) teil = teil.substr(0, GanzeZeichen(teil));
            z += Umwandeln(teil.data(), teil.size(), puffer + z, referenzen);
            Abgeben(puffer, z);
            t.remove_prefix(teil.size());
        }
    }

    // The whole file, as Zeichen gives it.
    void Datei(DateiLeser& leser, bool referenzen) {
        std::size_t gefuellt = 0;
        for (;;) {
            gefuellt += leser.Lesen(ein_.get() + gefuellt, kStueck - gefuellt);
            const bool ende = gefuellt < kStueck;
            const std::string_view stueck(ein_.get(), gefuellt);
            const std::size_t ganz = ende ? gefuellt : GanzeZeichen(stueck);
            Zeichen(stueck.substr(0, ganz), referenzen);
            if (ende) return;
            // The start of a cut-off character begins the next piece.
            std::memmove(ein_.get(), ein_.get() + ganz, gefuellt - ganz);
            gefuellt -= ganz;
        }
    }

    void Abschliessen() {
        if (c3_) {
            char* puffer = faden_.Puffer();
            Abgeben(puffer, C3Anhaengen(puffer));
        }
        faden_.Schliessen();
    }

    // Waits until every page is written; the first failure is thrown.
    void Ende() { faden_.Ende(); }

private:
    // Puts the held-back C3 at the start of puffer, as the umlaut's entity
    // when the text that follows begins with its second byte, which it then
    // takes; the length put there.
    std::size_t C3Anhaengen(char* puffer, std::string_view* weiter = nullptr) {
        if (!c3_) return 0;
        c3_ = false;
        if (const std::string_view entitaet =
                weiter && !weiter->empty() ? EntitaetNachC3(weiter->front()) : std::string_view();
            !entitaet.empty()) {
            std::memcpy(puffer, entitaet.data(), entitaet.size());
            weiter->remove_prefix(1);
            return entitaet.size();
        }
        puffer[0] = '\xC3';
        return 1;
    }

    void Abgeben(char* puffer, std::size_t laenge) {
        c3_ = laenge > 0 && puffer[laenge - 1] == '\xC3';
        faden_.Schreiben(c3_ ? laenge - 1 : laenge);
    }

    std::unique_ptr<char[]> ein_;
    SchreibFaden faden_;
    bool c3_ = false;
};

// The merged page of an imported one, written with its contents read from
// the file a piece at a time, so that the cache keeps what is read until it
// is written: a page of a megabyte built whole in memory costs more than
// reading and writing it.
void SeiteSchreiben(std::string_view seitentext, const std::string& inhaltsdatei,
                    const std::string& seitenname, const std::string& seitendatei,
                    SeitenSchreiber& schreiber) {
    const std::optional<Rahmen> rahmen = RahmenBilden(seitentext, seitenname);
    if (!rahmen || !rahmen->benannt) {
        // Not a page of this generator, where the name may go into the contents.
        const std::string seite =
            Zusammenfuehren(seitentext, DateiLesenGanz(inhaltsdatei), seitenname);
        schreiber.Beginnen(seitendatei);
        schreiber.Fertig(seite);
    } else {
        DateiLeser leser(inhaltsdatei);
        schreiber.Beginnen(seitendatei);
        schreiber.Fertig(rahmen->kopf);
        schreiber.Datei(leser, true);
        schreiber.Zeichen(rahmen->ende, false);
    }
    schreiber.Abschliessen();
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
    return Zusammenfuehren(seitentext, inhalt, seitenname);
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

namespace {

// The contents block of the page text: from the placeholder heading up to the
// line that closes the block; npos for a text without it.
std::pair<std::size_t, std::size_t> PlatzhalterBlock(std::string_view seitentext) {
    const auto anfang = seitentext.rfind(kUeberschrift);
    if (anfang == std::string_view::npos) return {anfang, anfang};
    const auto ende = seitentext.find(kInhaltEnde, anfang);
    if (ende == std::string_view::npos) return {std::string_view::npos, std::string_view::npos};
    return {anfang, ende};
}

std::string Zeitstempel() {
    const std::time_t jetzt = std::time(nullptr);
    std::tm zeit{};
    localtime_r(&jetzt, &zeit);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H-%M-%S", &zeit);
    return text;
}

// A file or folder of the site that the save would write through: only a
// plain file or nothing may stand there, never a link that leads elsewhere.
void ErsetzbarPruefen(const std::string& pfad, Eintragsart erlaubt) {
    const Eintragsart art = EintragsartLesen(pfad);
    if (art == Eintragsart::fehlt || art == erlaubt) return;
    throw Hinweis("\"" + Lesbar(pfad) +
                  W("\" kann nicht ersetzt werden: es ist keine gewöhnliche Datei oder ein "
                    "Ordner, sondern eine Verknüpfung oder etwas anderes."));
}

void VorOrtSchreiben(const Projektdaten& daten, const ErzeugterCode& code, bool menueFixiert,
                     VorOrt& vorOrt) {
    const std::string neu = daten.Zielordner + "/Neu/";
    const int n = daten.SeitenInGebrauch();
    const std::string vorsatz = daten.Modus == kModusNZAlt ? "_" : "";

    // The relative paths the save writes, pictures only where they do not
    // come from their own place in img/.
    std::vector<std::string> ziele;
    for (int i = 1; i <= n; ++i) ziele.push_back(vorsatz + daten.ImportSeiten[i]);
    ziele.push_back("css/formate.css");
    if (menueFixiert) ziele.push_back("css/ie.css");
    std::vector<std::string> bilder;
    for (const std::string& bild : GewaehlteBilder(daten)) {
        const std::string ziel = "img/" + DateiName(bild);
        if (neu + ziel == bild || std::find(ziele.begin(), ziele.end(), ziel) != ziele.end())
            continue;
        ziele.push_back(ziel);
        bilder.push_back(bild);
    }
    for (const char* ordner : {"css", "img"}) ErsetzbarPruefen(neu + ordner, Eintragsart::ordner);
    for (const std::string& ziel : ziele) ErsetzbarPruefen(neu + ziel, Eintragsart::datei);

    // Everything that will be replaced is kept before the first file is.
    vorOrt.sicherung = "Sicherung " + Zeitstempel();
    const std::string sicherung = daten.Zielordner + "/" + vorOrt.sicherung + "/";
    OrdnerErzeugen(daten.Zielordner + "/" + vorOrt.sicherung);
    for (const std::string& ziel : ziele) {
        if (!DateiExistiert(neu + ziel)) continue;
        OrdnerAufDemWegErzeugen(sicherung, ziel);
        DateiKopieren(neu + ziel, sicherung + ziel);
    }

    for (int i = 1; i <= n; ++i) {
        const std::optional<std::string> keiner;
        const auto& inhalt =
            static_cast<std::size_t>(i) <= vorOrt.inhalte.size() ? vorOrt.inhalte[i - 1] : keiner;
        TextSchreiben(neu + vorsatz + daten.ImportSeiten[i],
                      EigeneSeite(code.seite, daten.Modus, daten.ImportSeiten[i], inhalt));
    }
    if (!OrdnerExistiert(neu + "css")) OrdnerErzeugen(neu + "css");
    TextSchreiben(neu + "css/formate.css", code.css);
    if (menueFixiert) TextSchreiben(neu + "css/ie.css", code.ieCss);
    if (!OrdnerExistiert(neu + "img")) OrdnerErzeugen(neu + "img");
    for (const std::string& bild : bilder) BildKopieren(bild, neu + "img/");
}

}  // namespace

std::string EigeneSeite(const std::string& seitentext, const std::string& modus,
                        const std::string& seitenname, const std::optional<std::string>& inhalt) {
    const auto [anfang, ende] = PlatzhalterBlock(seitentext);
    if (anfang == std::string::npos) return seitentext;
    if (modus == kModusNZAlt)
        return Zusammenfuehren(seitentext,
                               inhalt ? std::string_view(*inhalt)
                                      : std::string_view(seitentext).substr(anfang, ende - anfang),
                               seitenname);
    if (!inhalt) return seitentext;
    std::string seite(seitentext, 0, anfang);
    seite.reserve(anfang + HoechstLaenge(*inhalt) + seitentext.size() - ende);
    ZeichenAnhaengen(seite, *inhalt, true);
    seite.append(seitentext, ende);
    return seite;
}

void DateienErzeugen(const Projektdaten& daten, const ErzeugterCode& code, bool menueFixiert,
                     VorOrt* vorOrt) {
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

    if (vorOrt) {
        VorOrtSchreiben(daten, code, menueFixiert, *vorOrt);
        return;
    }

    const std::string neu = daten.Zielordner + "/Neu/";
    const std::string alt = daten.Zielordner + "/Alt/";
    OrdnerErzeugen(daten.Zielordner + "/Neu");

    if (importiert) {
        SeitenSchreiber schreiber;
        try {
            for (int i = 1; i <= n; ++i) {
                const std::string& name = daten.ImportSeiten[i];
                const std::string seitendatei = neu + "_" + name;
                // A missing contents file ends the save with the open error
                // of a copy of it.
                if (!DateiExistiert(alt + name)) DateiKopieren(alt + name, seitendatei);
                SeiteSchreiben(code.seite, alt + name, name, seitendatei, schreiber);
            }
        } catch (...) {
            // The pages before are written first; a failure among them came
            // first and is the one to report.
            schreiber.Ende();
            throw;
        }
        schreiber.Ende();
    } else {
        for (int i = 1; i <= n; ++i) {
            const std::string seitendatei = neu + daten.ImportSeiten[i];
            DateiErstellen(seitendatei, {});
            TextSchreiben(seitendatei, code.seite);
        }
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

std::string SpeicherMeldung(const Projektdaten& daten, const VorOrt* vorOrt) {
    if (vorOrt)
        return "Die Homepage wurde unter " + daten.Zielordner +
               "/Neu gespeichert.\nDie bisherigen Dateien liegen unter " + daten.Zielordner + "/" +
               vorOrt->sicherung + ".\nDas Programm wird jetzt beendet.";
    return "Die erforderlichen Dateien wurden unter " + daten.Zielordner +
           "/Neu gespeichert.\nDas Programm wird jetzt beendet.";
}

}  // namespace lw
