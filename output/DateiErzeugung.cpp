#include "output/DateiErzeugung.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
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

// The line that closes the contents block, where the cut of the placeholders
// ends, with the fixed menu too: the scroll block's closing line follows it,
// and cutting up to that would leave the scroll block open.
constexpr std::string_view kInhaltEnde = "\r\n      </div>\r\n";
constexpr std::string_view kUeberschrift = "        <h1>Lorem ipsum</h1>";
constexpr std::string_view kGeneratorAnfang = "<meta name=\"generator\" content=\"";
constexpr std::string_view kGeneratorLeistenwerk =
    "<meta name=\"generator\" content=\"Leistenwerk\" />";

// The provider's pages carry UTF-8; the generated page declares ISO-8859-1.
// The seven letters keep their named entities, every other character of the
// imported contents becomes a character reference (Umwandeln). All seven are
// C3 and a continuation byte in UTF-8: for each such byte, the entity of the
// umlaut it makes, empty for none.
constexpr std::array<std::string_view, 256> kEntitaetNachC3 = [] {
    std::array<std::string_view, 256> t{};
    for (unsigned b = 0x80; b < 0xC0; ++b) t[b] = UmlautEntitaet(0xC0 | (b & 0x3F));
    return t;
}();

std::string_view EntitaetNachC3(char zweites) {
    return kEntitaetNachC3[static_cast<unsigned char>(zweites)];
}

// No input byte makes more than this many: "&#2047;" for two bytes.
constexpr std::size_t kHoechstFaktor = 4;

// Bytes below 0x80 go out as they are, a block at a time while a block holds
// no other. The block is tested as two 64-bit words, a byte of 0x80 or above
// being one with its top bit set: GCC 12 leaves a loop over the bytes as
// sixteen loads, and the save of imported pages then misses its speed goal.
constexpr std::size_t kBlock = 16;
bool NurAscii(const char* p) {
    std::uint64_t vorne = 0, hinten = 0;
    std::memcpy(&vorne, p, sizeof vorne);
    std::memcpy(&hinten, p + sizeof vorne, sizeof hinten);
    return ((vorne | hinten) & 0x8080808080808080u) == 0;
}

// Writes the n bytes at q to ziel with their UTF-8 umlauts as named entities
// and, with referenzen, every other well-formed UTF-8 character as a decimal
// character reference; every other byte stays. Returns the length written,
// at most kHoechstFaktor times n. Byte-exact: case-insensitive matching
// would take Ì (C3 8C) for Ü and sequences beginning with E3 for C3. A C3 is
// always the first byte of its sequence, so the umlauts come out as replacing
// one letter after the other over the text would give them.
std::size_t Umwandeln(const char* q, std::size_t n, char* ziel, bool referenzen) {
    const std::string_view t(q, n);
    std::size_t z = 0;  // bytes written
    std::size_t p = 0;
    while (p < n) {
        if (p + kBlock <= n) {
            if (NurAscii(q + p)) {
                std::memcpy(ziel + z, q + p, kBlock);
                p += kBlock;
                z += kBlock;
                continue;
            }
            // Up to the block's first byte of 0x80 or above.
            while (static_cast<unsigned char>(q[p]) < 0x80) ziel[z++] = q[p++];
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
            char* ende = std::to_chars(ziel + z + 2, ziel + z + 10,
                                       static_cast<std::uint32_t>(AlsText(zeichen)))
                             .ptr;
            *ende = ';';
            z = static_cast<std::size_t>(ende + 1 - ziel);
            p += laenge;
            continue;
        }
        ziel[z++] = q[p++];
    }
    return z;
}

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

// The placeholder block of a page text of this generator: from the heading
// up to the line that closes the contents block.
std::string_view PlatzhalterIn(std::string_view seitentext) {
    const auto anfang = seitentext.rfind(kUeberschrift);
    if (anfang == std::string_view::npos) return {};
    return seitentext.substr(anfang, seitentext.find(kInhaltEnde, anfang) - anfang);
}

// The editor's lines in the merged page: the line end of the last one is
// the one the generated lines after the contents begin with, as in a new
// site's page, so the contents read back are the same lines.
std::string_view OhneZeilenende(std::string_view text) {
    if (text.ends_with("\r\n")) text.remove_suffix(2);
    return text;
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

// Fills ziel with up to n bytes of a part, fewer only at its end.
using Quelle = std::function<std::size_t(char* ziel, std::size_t n)>;
// Takes the merged page a buffer at a time and gives an empty one back.
using Senke = std::function<Puffer(Puffer)>;

Senke ZumFaden(SchreibFaden& schreiber) {
    return [&schreiber](Puffer voll) { return schreiber.Tauschen(std::move(voll)); };
}

Quelle AusText(std::string_view t) {
    return [t](char* ziel, std::size_t n) mutable {
        n = std::min(n, t.size());
        // An empty view may have no data at all, which memcpy must not get.
        if (n > 0) std::memcpy(ziel, t.data(), n);
        t.remove_prefix(n);
        return n;
    };
}

// Pieces of a part converted at a time: big enough that the calls cost
// little, small enough that they stay in the cache with what they become.
constexpr std::size_t kStueck = 128 * 1024;
constexpr std::size_t kAusGroesse = kHoechstFaktor * kStueck + 8;

// The merge of imported or kept contents into the generated page, on the way
// to a file or into memory. The generated parts around the contents are
// found once: the head up to the last placeholder heading, with the generator
// tag that names each page, and what follows the placeholders. The navigation
// carries the link texts as typed, markup and all, so a typed "<p>" or
// heading stands before the placeholders; only the last placeholder heading
// and what follows it are the generated contents. Only the first generator
// tag, that of the generated head, names the page: nothing the user types
// stands before it, and the same word in the contents or the link texts is
// the user's own.
class Zusammenfuehrung final {
public:
    // Throws lw::Fehler for a page text that is not of this generator. With
    // rahmenBehalten (a new site's page, saved in place) the generated parts
    // stay byte for byte as the page text has them, the generator tag and
    // the contents block's closing line included; only the contents are
    // merged.
    explicit Zusammenfuehrung(std::string_view seitentext, bool rahmenBehalten = false)
        : ein_(std::make_unique_for_overwrite<char[]>(kStueck)),
          aus_(kAusGroesse),
          rahmenBehalten_(rahmenBehalten) {
        Vorlage(seitentext);
    }

    // The page text of the pages that follow, which must outlive them: each
    // page has its own title and description.
    void Vorlage(std::string_view seitentext) {
        const auto inhaltsblock = seitentext.rfind(kUeberschrift);
        const auto tag = seitentext.find(kGeneratorLeistenwerk);
        const std::string_view nachUeberschrift =
            inhaltsblock == std::string_view::npos
                ? std::string_view()
                : seitentext.substr(inhaltsblock + kUeberschrift.size());
        // The placeholder paragraphs give way to the contents, up to the
        // line that closes the contents block.
        const auto platzhalter = nachUeberschrift.find("<p>");
        const auto blockEnde = nachUeberschrift.find(kInhaltEnde, platzhalter);
        if (tag > inhaltsblock || blockEnde == std::string_view::npos)
            throw Fehler(W("Der Seitentext hat keinen Inhaltsblock dieses Programms."));
        vorTag_ = seitentext.substr(0, tag);
        nachTag_ = seitentext.substr(tag + kGeneratorLeistenwerk.size(),
                                     inhaltsblock - tag - kGeneratorLeistenwerk.size());
        ende_ = rahmenBehalten_ ? std::string(nachUeberschrift.substr(blockEnde))
                                : std::string(nachUeberschrift.substr(0, platzhalter)) +
                                      std::string(nachUeberschrift.substr(blockEnde + 2));
    }

    // The generated parts keep their bytes as the umlaut rule has always
    // given them; only the contents get character references as well.
    void Seite(const Quelle& inhalt, const std::string& seitenname, const Senke& senke) {
        senke_ = &senke;
        aus_.laenge = 0;
        c3_ = false;
        if (rahmenBehalten_) {
            Roh(vorTag_);
            Roh(kGeneratorLeistenwerk);
            Roh(nachTag_);
        } else {
            Teil(AusText(vorTag_), false);
            // A file name may hold an '&', which the attribute value must not
            // carry raw; the name's own bytes stay.
            Roh(std::string(kGeneratorAnfang) + "_" + AttributWert(NameOhneEndung(seitenname)) +
                "\" />");
            Teil(AusText(nachTag_), false);
        }
        Teil(inhalt, true);
        Teil(AusText(ende_), false);
        Leeren();
    }

    // A file that is written as it stands.
    void Text(std::string_view text, const Senke& senke) {
        senke_ = &senke;
        aus_.laenge = 0;
        Roh(text);
        Leeren();
    }

    // At least the length of a merged page with contents of this many bytes.
    std::size_t HoechstLaenge(std::size_t inhalt, const std::string& seitenname) const {
        return vorTag_.size() + nachTag_.size() + ende_.size() +
               kHoechstFaktor * (inhalt + 2 * seitenname.size()) + kGeneratorAnfang.size() + 8;
    }

private:
    // A part read to its end, a piece of whole characters at a time. The
    // umlaut rule runs over the whole page: a raw C3 that ends a part pairs
    // with the next part's first byte, the one rule across the seams.
    void Teil(const Quelle& quelle, bool referenzen) {
        std::size_t gefuellt = 0;
        for (;;) {
            gefuellt += quelle(ein_.get() + gefuellt, kStueck - gefuellt);
            const bool ende = gefuellt < kStueck;
            const std::string_view stueck(ein_.get(), gefuellt);
            const std::size_t ganz = ende ? gefuellt : GanzeZeichen(stueck);
            Stueck(stueck.substr(0, ganz), referenzen);
            if (ende) break;
            // The start of a cut-off character begins the next piece.
            std::memmove(ein_.get(), ein_.get() + ganz, gefuellt - ganz);
            gefuellt -= ganz;
        }
        // Entities and references end in ';': a C3 at the end is raw.
        c3_ = aus_.laenge > 0 && aus_.Daten()[aus_.laenge - 1] == '\xC3';
    }

    void Stueck(std::string_view t, bool referenzen) {
        if (c3_ && !t.empty()) {
            if (const std::string_view entitaet = EntitaetNachC3(t.front()); !entitaet.empty()) {
                --aus_.laenge;
                Roh(entitaet);
                t.remove_prefix(1);
            }
        }
        c3_ = false;
        if (aus_.laenge + kHoechstFaktor * t.size() > kAusGroesse) Leeren();
        aus_.laenge += Umwandeln(t.data(), t.size(), aus_.Daten() + aus_.laenge, referenzen);
    }

    void Roh(std::string_view t) {
        c3_ = false;
        while (!t.empty()) {
            if (aus_.laenge == kAusGroesse) Leeren();
            const std::size_t n = std::min(t.size(), kAusGroesse - aus_.laenge);
            std::memcpy(aus_.Daten() + aus_.laenge, t.data(), n);
            aus_.laenge += n;
            t.remove_prefix(n);
        }
    }

    void Leeren() {
        if (aus_.laenge > 0) aus_ = (*senke_)(std::move(aus_));
    }

    std::string_view vorTag_, nachTag_;
    std::string ende_;
    std::unique_ptr<char[]> ein_;
    Puffer aus_;
    const Senke* senke_ = nullptr;
    bool c3_ = false;
    bool rahmenBehalten_;
};

// True when the file at pfad holds exactly the bytes that geben hands its
// senke. The first difference sets genug, which a long part may heed.
bool GleicheBytes(const std::string& pfad,
                  const std::function<void(const Senke&, const bool& genug)>& geben) {
    if (EintragsartLesen(pfad) != Eintragsart::datei) return false;
    DateiLeser leser(pfad);
    std::string alt;
    bool verschieden = false;
    const Senke vergleich = [&](Puffer voll) {
        if (!verschieden) {
            const std::string_view neu = voll.Inhalt();
            alt.resize(neu.size());
            verschieden = leser.Lesen(alt.data(), alt.size()) != neu.size() || alt != neu;
        }
        voll.laenge = 0;
        return voll;
    };
    geben(vergleich, verschieden);
    char weiter = 0;
    return !verschieden && leser.Lesen(&weiter, 1) == 0;
}

std::string InSpeicher(Zusammenfuehrung& zusammenfuehrung, std::string_view inhalt,
                       const std::string& seitenname) {
    std::string seite;
    // Room that is reserved but never written costs no memory.
    seite.reserve(zusammenfuehrung.HoechstLaenge(inhalt.size(), seitenname));
    zusammenfuehrung.Seite(AusText(inhalt), seitenname, [&seite](Puffer voll) {
        seite.append(voll.Inhalt());
        voll.laenge = 0;
        return voll;
    });
    return seite;
}

}  // namespace

std::vector<std::string> GewaehlteBilder(const Projektdaten& daten) {
    std::vector<std::string> bilder;
    for (const std::string* bild : {&daten.BannerDatei, &daten.HintergrundBild})
        if (!bild->empty()) bilder.push_back(*bild);
    for (int i = 1; i <= daten.SeitenInGebrauch(); ++i)
        if (!daten.ButtonGrafik[i].empty()) bilder.push_back(daten.ButtonGrafik[i]);
    for (const std::string& bild : daten.InhaltBilder)
        if (!bild.empty()) bilder.push_back(bild);
    return bilder;
}

void BildnamenPruefen(const Projektdaten& daten) {
    // By the addresses the pages give them, in capitals, as Windows sees
    // names and as the preview finds them: "a b.gif" and "a%20b.gif" are both
    // img/a%20b.gif.
    std::map<std::string, const std::string*> erstes;
    for (const std::string& bild : GewaehlteBilder(daten)) {
        const auto [platz, neu] =
            erstes.try_emplace(Grossbuchstaben(BildAdresse(DateiName(bild))), &bild);
        if (!neu && *platz->second != bild)
            throw Hinweis("Die Bilder \"" + *platz->second + "\" und \"" + bild +
                          "\" haben denselben Namen. Bitte benennen Sie eines davon um.");
    }
}

std::string SeiteZusammenfuehren(std::string_view seitentext, std::string_view inhalt,
                                 const std::string& seitenname) {
    Zusammenfuehrung zusammenfuehrung(seitentext);
    return InSpeicher(zusammenfuehrung, inhalt, seitenname);
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

[[noreturn]] void SeitOeffnenVeraendert(const std::string& datei) {
    throw Hinweis(Lesbar(datei) + W(": die Datei wurde seit dem Öffnen verändert. Bitte öffnen "
                                    "Sie die Homepage erneut."));
}

// The backup folder beside Neu, made new: two saves in one second, or a
// folder of that name already there, give " (2)", " (3)" ... after the time.
std::string SicherungAnlegen(const std::string& zielordner) {
    const std::string stempel = "Sicherung " + Zeitstempel();
    for (int nummer = 1;; ++nummer) {
        const std::string name =
            nummer == 1 ? stempel : stempel + " (" + std::to_string(nummer) + ")";
        if (EintragsartLesen(zielordner + "/" + name) != Eintragsart::fehlt) continue;
        OrdnerErzeugen(zielordner + "/" + name);
        return name;
    }
}

void VorOrtSchreiben(const Projektdaten& daten, const ErzeugterCode& code, bool menueFixiert,
                     VorOrt& vorOrt) {
    const std::string neu = daten.Zielordner + "/Neu/";
    // Nothing is written through a link that was put into Neu after opening.
    VerknuepfungenAblehnen(daten.Zielordner + "/Neu");
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
    // The contents are read while the pages are written: their files must
    // still be those that were read.
    for (const std::optional<EigenerInhalt>& inhalt : vorOrt.inhalte) {
        if (!inhalt) continue;
        const bool gleich = EintragsartLesen(neu + inhalt->datei) == Eintragsart::datei && [&] {
            const DateiLeser leser(neu + inhalt->datei);
            return leser.Groesse() == inhalt->groesse && leser.Geaendert() == inhalt->geaendert;
        }();
        if (!gleich) SeitOeffnenVeraendert(inhalt->datei);
    }

    const bool importiert = daten.Modus == kModusNZAlt;
    std::string rahmen = SeiteAusCode(daten, code, 1, false);
    Zusammenfuehrung zusammenfuehrung(rahmen, !importiert);
    std::vector<std::string> geaendert;  // the files whose bytes the save changes
    const auto wirdErsetzt = [&geaendert](const std::string& ziel) {
        return std::find(geaendert.begin(), geaendert.end(), ziel) != geaendert.end();
    };
    std::string sicherung;
    // Page i into the senke. Own contents come from the backup where their
    // file is one the save replaces, which may already be the new one; they
    // end early once genug is set.
    const auto seiteGeben = [&](int i, const Senke& senke, const bool& genug) {
        const std::string& name = daten.ImportSeiten[i];
        rahmen = SeiteAusCode(daten, code, i, false);
        zusammenfuehrung.Vorlage(rahmen);
        // The editor's text, where it was opened, takes the place of the
        // page's own contents.
        const auto text = EditorInhalt(daten, i);
        const EigenerInhalt* inhalt =
            !text && static_cast<std::size_t>(i) <= vorOrt.inhalte.size() &&
                    vorOrt.inhalte[i - 1].has_value()
                ? &*vorOrt.inhalte[i - 1]
                : nullptr;
        if (!inhalt && !importiert) {
            // A page added to a new site or written in the editor: the page
            // text as the generator makes it.
            zusammenfuehrung.Text(SeiteAusCode(daten, code, i), senke);
            return;
        }
        if (!inhalt) {
            zusammenfuehrung.Seite(
                AusText(text && !text->empty() ? OhneZeilenende(*text) : PlatzhalterIn(rahmen)),
                name, senke);
            return;
        }
        DateiLeser leser((!sicherung.empty() && wirdErsetzt(inhalt->datei) ? sicherung : neu) +
                         inhalt->datei);
        leser.Springen(inhalt->anfang);
        long long rest = inhalt->laenge;
        zusammenfuehrung.Seite(
            [&leser, &rest, &genug](char* ziel, std::size_t n) {
                if (genug) return std::size_t{0};
                const std::size_t gelesen = leser.Lesen(
                    ziel,
                    static_cast<std::size_t>(std::min<long long>(rest, static_cast<long long>(n))));
                rest -= static_cast<long long>(gelesen);
                return gelesen;
            },
            name, senke);
    };

    // Only the files whose bytes change are backed up and written: an
    // unchanged site stays as it is, and a changed page changes its file
    // alone.
    for (int i = 1; i <= n; ++i) {
        const std::string ziel = vorsatz + daten.ImportSeiten[i];
        if (!GleicheBytes(neu + ziel, [&](const Senke& senke, const bool& genug) {
                seiteGeben(i, senke, genug);
            }))
            geaendert.push_back(ziel);
    }
    const auto textPruefen = [&](const std::string& ziel, std::string_view text) {
        if (!GleicheBytes(neu + ziel, [&](const Senke& senke, const bool&) {
                zusammenfuehrung.Text(text, senke);
            }))
            geaendert.push_back(ziel);
    };
    textPruefen("css/formate.css", code.css);
    if (menueFixiert) textPruefen("css/ie.css", code.ieCss);
    std::vector<std::pair<std::string, std::string>> bildInhalte;  // target, bytes
    for (const std::string& bild : bilder) {
        const std::string ziel = "img/" + DateiName(bild);
        std::string inhalt = DateiLesenGanz(bild);
        const std::size_t vorher = geaendert.size();
        textPruefen(ziel, inhalt);
        if (geaendert.size() > vorher) bildInhalte.emplace_back(ziel, std::move(inhalt));
    }

    // Everything that will be replaced is kept before the first file is.
    vorOrt.sicherung.clear();
    if (std::any_of(geaendert.begin(), geaendert.end(),
                    [&neu](const std::string& ziel) { return DateiExistiert(neu + ziel); })) {
        vorOrt.sicherung = SicherungAnlegen(daten.Zielordner);
        sicherung = daten.Zielordner + "/" + vorOrt.sicherung + "/";
        for (const std::string& ziel : geaendert) {
            if (!DateiExistiert(neu + ziel)) continue;
            OrdnerAufDemWegErzeugen(sicherung, ziel);
            DateiSichern(neu + ziel, sicherung + ziel);
        }
    }

    // As the imported save: each page is merged while the one before goes
    // to the disk.
    SchreibFaden schreiber(kAusGroesse, 2);
    const Senke senke = ZumFaden(schreiber);
    const bool nieGenug = false;
    schreiber.Alle([&] {
        for (int i = 1; i <= n; ++i) {
            const std::string ziel = vorsatz + daten.ImportSeiten[i];
            if (!wirdErsetzt(ziel)) continue;
            schreiber.Oeffnen(neu + ziel);
            seiteGeben(i, senke, nieGenug);
            schreiber.Schliessen();
        }
    });
    if (!OrdnerExistiert(neu + "css")) OrdnerErzeugen(neu + "css");
    if (wirdErsetzt("css/formate.css")) TextSchreiben(neu + "css/formate.css", code.css);
    if (menueFixiert && wirdErsetzt("css/ie.css")) TextSchreiben(neu + "css/ie.css", code.ieCss);
    if (!OrdnerExistiert(neu + "img")) OrdnerErzeugen(neu + "img");
    for (const auto& [ziel, inhalt] : bildInhalte) DateiErstellen(neu + ziel, inhalt);
}

}  // namespace

void VerknuepfungenAblehnen(const std::string& neu) {
    const auto ablehnen = [](const std::string& pfad) {
        throw Hinweis(Lesbar(pfad) + W(": die Datei ist eine symbolische Verknüpfung, der "
                                       "Leistenwerk nicht folgt"));
    };
    if (EintragsartLesen(neu) == Eintragsart::verknuepfung) ablehnen(DateiName(neu));
    std::vector<std::string> offen{""};
    while (!offen.empty()) {
        const std::string ordner = std::move(offen.back());
        offen.pop_back();
        for (const OrdnerEintrag& e : OrdnerLesen(neu + "/" + ordner)) {
            if (e.art == Eintragsart::verknuepfung) ablehnen(ordner + e.name);
            if (e.art == Eintragsart::ordner) offen.push_back(ordner + e.name + "/");
        }
    }
}

std::string EigeneSeite(std::string_view seitentext, const std::string& modus,
                        const std::string& seitenname, std::string_view inhalt) {
    Zusammenfuehrung zusammenfuehrung(seitentext, modus != kModusNZAlt);
    return InSpeicher(zusammenfuehrung, inhalt, seitenname);
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
        // Each page is converted while the one before goes to the disk.
        std::string rahmen = SeiteAusCode(daten, code, 1, false);
        Zusammenfuehrung zusammenfuehrung(rahmen);
        SchreibFaden schreiber(kAusGroesse, 2);
        const Senke senke = ZumFaden(schreiber);
        schreiber.Alle([&] {
            for (int i = 1; i <= n; ++i) {
                const std::string& name = daten.ImportSeiten[i];
                const std::string seitendatei = neu + "_" + name;
                if (i > 1) {
                    rahmen = SeiteAusCode(daten, code, i, false);
                    zusammenfuehrung.Vorlage(rahmen);
                }
                // What the editor wrote takes the place of the imported contents.
                if (const auto text = EditorInhalt(daten, i)) {
                    schreiber.Oeffnen(seitendatei);
                    zusammenfuehrung.Seite(
                        AusText(text->empty() ? PlatzhalterIn(rahmen) : OhneZeilenende(*text)),
                        name, senke);
                    schreiber.Schliessen();
                    continue;
                }
                // A missing contents file ends the save with the open error
                // of a copy of it.
                if (!DateiExistiert(alt + name)) DateiKopieren(alt + name, seitendatei);
                DateiLeser leser(alt + name);
                schreiber.Oeffnen(seitendatei);
                zusammenfuehrung.Seite(
                    [&leser](char* ziel, std::size_t n) { return leser.Lesen(ziel, n); }, name,
                    senke);
                schreiber.Schliessen();
            }
        });
    } else {
        // Each page whole or not at all: a full disk leaves no empty page.
        for (int i = 1; i <= n; ++i)
            DateiErstellen(neu + daten.ImportSeiten[i], SeiteAusCode(daten, code, i));
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
    // A picture that several pages show is copied once.
    std::vector<std::string> kopiert;
    for (const std::string& bild : daten.InhaltBilder) {
        if (std::find(kopiert.begin(), kopiert.end(), bild) != kopiert.end()) continue;
        BildKopieren(bild, img);
        kopiert.push_back(bild);
    }
    if (importiert)
        for (const std::string& bild : daten.ImportBilder) ImportBildKopieren(alt, neu, bild);
}

std::string InhaltsblockLesen(const Projektdaten& daten, const VorOrt* vorOrt, int seite) {
    if (seite < 1 || seite > daten.SeitenInGebrauch()) return {};
    const std::optional<EigenerInhalt>* eigen =
        vorOrt && static_cast<std::size_t>(seite) <= vorOrt->inhalte.size()
            ? &vorOrt->inhalte[seite - 1]
            : nullptr;
    std::string block;
    if (eigen && *eigen) {
        const EigenerInhalt& inhalt = **eigen;
        const std::string pfad = daten.Zielordner + "/Neu/" + inhalt.datei;
        if (EintragsartLesen(pfad) != Eintragsart::datei) SeitOeffnenVeraendert(inhalt.datei);
        DateiLeser leser(pfad);
        if (leser.Groesse() != inhalt.groesse || leser.Geaendert() != inhalt.geaendert)
            SeitOeffnenVeraendert(inhalt.datei);
        leser.Springen(inhalt.anfang);
        block.resize(static_cast<std::size_t>(inhalt.laenge));
        block.resize(leser.Lesen(block.data(), block.size()));
    } else if (daten.Modus == kModusNZAlt && !eigen) {
        const std::string alt = daten.Zielordner + "/Alt/" + daten.ImportSeiten[seite];
        if (!DateiExistiert(alt)) return {};
        const std::string roh = DateiLesenGanz(alt);
        block.resize(kHoechstFaktor * roh.size());
        block.resize(Umwandeln(roh.data(), roh.size(), block.data(), true));
    }
    // The placeholder is not offered as text; a new site's page holds it
    // without the line end that the closing line begins with.
    if (block.find_first_not_of(" \t\r\n") == std::string::npos ||
        block + "\r\n" == PlatzhalterZeilen())
        return {};
    if (!block.ends_with("\r\n")) block += "\r\n";
    return block;
}

std::string SpeicherMeldung(const Projektdaten& daten, const VorOrt* vorOrt) {
    if (vorOrt && vorOrt->sicherung.empty())
        return "Die Homepage wurde unter " + daten.Zielordner +
               "/Neu gespeichert.\nDas Programm wird jetzt beendet.";
    if (vorOrt)
        return "Die Homepage wurde unter " + daten.Zielordner +
               "/Neu gespeichert.\nDie bisherigen Dateien liegen unter " + daten.Zielordner + "/" +
               vorOrt->sicherung + ".\nDas Programm wird jetzt beendet.";
    return "Die erforderlichen Dateien wurden unter " + daten.Zielordner +
           "/Neu gespeichert.\nDas Programm wird jetzt beendet.";
}

}  // namespace lw
