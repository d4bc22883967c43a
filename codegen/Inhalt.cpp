#include "codegen/Inhalt.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "common/Zeichensatz.h"

// Three steps, as the sanitisers people trust do it: a tolerant HTML parser
// builds a tree (as a browser would, in the parts that matter for text), a
// walk over the tree keeps the structure of the small set and the text, and a
// writer puts out that structure in one canonical form. Nothing is removed by
// searching strings, so no trick of spelling gets markup past the walk.
namespace lw {
namespace {

// ---------------------------------------------------------------------------
// Characters

bool IstLeer(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}
bool IstBuchstabe(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IstZiffer(char c) {
    return c >= '0' && c <= '9';
}
bool IstAlnum(char c) {
    return IstBuchstabe(c) || IstZiffer(c);
}
char Klein(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

std::string KleinText(std::string_view t) {
    std::string s(t);
    for (char& c : s) c = Klein(c);
    return s;
}

bool BeginntMitKlein(std::string_view t, std::string_view anfang) {
    if (t.size() < anfang.size()) return false;
    for (std::size_t i = 0; i < anfang.size(); ++i)
        if (Klein(t[i]) != anfang[i]) return false;
    return true;
}

std::string_view Getrimmt(std::string_view t) {
    while (!t.empty() && IstLeer(t.front())) t.remove_prefix(1);
    while (!t.empty() && IstLeer(t.back())) t.remove_suffix(1);
    return t;
}

// Control characters are no text (XML refuses most of them) and a
// noncharacter becomes U+FFFD: cleaned once at the input, so that what the
// walk checks (a link's scheme, spaces between words) is what is written.
bool IstSteuerzeichen(char32_t z) {
    return (z < 0x20 && z != '\t' && z != '\n' && z != '\r' && z != '\f') ||
           (z >= 0x7F && z <= 0x9F);
}

std::string Gesaeubert(std::string_view t) {
    std::string aus;
    aus.reserve(t.size());
    std::size_t i = 0;
    while (i < t.size()) {
        // Plain text a run at a time.
        std::size_t j = i;
        while (j < t.size() && ((t[j] >= 0x20 && t[j] < 0x7F) || t[j] == '\n' || t[j] == '\t')) ++j;
        aus.append(t.substr(i, j - i));
        i = j;
        if (i == t.size()) break;
        const auto b = static_cast<unsigned char>(t[i]);
        if (b < 0x80) {
            if (!IstSteuerzeichen(b)) aus += static_cast<char>(b);
            ++i;
            continue;
        }
        char32_t z = 0;
        const std::size_t n = Utf8Folge(t, i, z);
        i += n ? n : 1;
        if (!n) z = 0xFFFD;
        if (!IstSteuerzeichen(z)) utf8Anhaengen(aus, AlsText(z));
    }
    return aus;
}

// ---------------------------------------------------------------------------
// Character references

struct Entitaet {
    std::string_view name;
    char32_t zeichen;
};

// The entities of HTML 4, &apos; and the punctuation that HTML 5 added and
// that hides a scheme's colon ("javascript&colon;"). The first block (the markup's four and
// Latin-1) are the ones browsers also take without their ';'.
constexpr std::string_view kLatin1Namen[] = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",
    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn",
    "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",
    "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
    "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave",
    "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde",
    "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",
    "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",
    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

constexpr Entitaet kWeitere[] = {
    {"apos", 39},     {"OElig", 338},   {"oelig", 339},    {"Scaron", 352},   {"scaron", 353},
    {"Yuml", 376},    {"fnof", 402},    {"circ", 710},     {"tilde", 732},    {"Alpha", 913},
    {"Beta", 914},    {"Gamma", 915},   {"Delta", 916},    {"Epsilon", 917},  {"Zeta", 918},
    {"Eta", 919},     {"Theta", 920},   {"Iota", 921},     {"Kappa", 922},    {"Lambda", 923},
    {"Mu", 924},      {"Nu", 925},      {"Xi", 926},       {"Omicron", 927},  {"Pi", 928},
    {"Rho", 929},     {"Sigma", 931},   {"Tau", 932},      {"Upsilon", 933},  {"Phi", 934},
    {"Chi", 935},     {"Psi", 936},     {"Omega", 937},    {"alpha", 945},    {"beta", 946},
    {"gamma", 947},   {"delta", 948},   {"epsilon", 949},  {"zeta", 950},     {"eta", 951},
    {"theta", 952},   {"iota", 953},    {"kappa", 954},    {"lambda", 955},   {"mu", 956},
    {"nu", 957},      {"xi", 958},      {"omicron", 959},  {"pi", 960},       {"rho", 961},
    {"sigmaf", 962},  {"sigma", 963},   {"tau", 964},      {"upsilon", 965},  {"phi", 966},
    {"chi", 967},     {"psi", 968},     {"omega", 969},    {"thetasym", 977}, {"upsih", 978},
    {"piv", 982},     {"ensp", 8194},   {"emsp", 8195},    {"thinsp", 8201},  {"zwnj", 8204},
    {"zwj", 8205},    {"lrm", 8206},    {"rlm", 8207},     {"ndash", 8211},   {"mdash", 8212},
    {"lsquo", 8216},  {"rsquo", 8217},  {"sbquo", 8218},   {"ldquo", 8220},   {"rdquo", 8221},
    {"bdquo", 8222},  {"dagger", 8224}, {"Dagger", 8225},  {"bull", 8226},    {"hellip", 8230},
    {"permil", 8240}, {"prime", 8242},  {"Prime", 8243},   {"lsaquo", 8249},  {"rsaquo", 8250},
    {"oline", 8254},  {"frasl", 8260},  {"euro", 8364},    {"image", 8465},   {"weierp", 8472},
    {"real", 8476},   {"trade", 8482},  {"alefsym", 8501}, {"larr", 8592},    {"uarr", 8593},
    {"rarr", 8594},   {"darr", 8595},   {"harr", 8596},    {"crarr", 8629},   {"lArr", 8656},
    {"uArr", 8657},   {"rArr", 8658},   {"dArr", 8659},    {"hArr", 8660},    {"forall", 8704},
    {"part", 8706},   {"exist", 8707},  {"empty", 8709},   {"nabla", 8711},   {"isin", 8712},
    {"notin", 8713},  {"ni", 8715},     {"prod", 8719},    {"sum", 8721},     {"minus", 8722},
    {"lowast", 8727}, {"radic", 8730},  {"prop", 8733},    {"infin", 8734},   {"ang", 8736},
    {"and", 8743},    {"or", 8744},     {"cap", 8745},     {"cup", 8746},     {"int", 8747},
    {"there4", 8756}, {"sim", 8764},    {"cong", 8773},    {"asymp", 8776},   {"ne", 8800},
    {"equiv", 8801},  {"le", 8804},     {"ge", 8805},      {"sub", 8834},     {"sup", 8835},
    {"nsub", 8836},   {"sube", 8838},   {"supe", 8839},    {"oplus", 8853},   {"otimes", 8855},
    {"perp", 8869},   {"sdot", 8901},   {"lceil", 8968},   {"rceil", 8969},   {"lfloor", 8970},
    {"rfloor", 8971}, {"lang", 9001},   {"rang", 9002},    {"loz", 9674},     {"spades", 9824},
    {"clubs", 9827},  {"hearts", 9829}, {"diams", 9830},   {"Tab", 9},        {"NewLine", 10},
    {"excl", 33},     {"num", 35},      {"lpar", 40},      {"rpar", 41},      {"comma", 44},
    {"period", 46},   {"sol", 47},      {"colon", 58},     {"semi", 59},      {"equals", 61},
    {"quest", 63},    {"commat", 64},   {"bsol", 92},      {"lowbar", 95},    {"hyphen", 8208}};

struct EntitaetWert {
    char32_t zeichen;
    bool ohneSemikolon;  // taken without its ';' too
};

const std::unordered_map<std::string_view, EntitaetWert>& Entitaeten() {
    static const auto tabelle = [] {
        std::unordered_map<std::string_view, EntitaetWert> t;
        for (const auto& [name, z] :
             {Entitaet{"amp", '&'}, Entitaet{"lt", '<'}, Entitaet{"gt", '>'}, Entitaet{"quot", '"'},
              Entitaet{"AMP", '&'}, Entitaet{"LT", '<'}, Entitaet{"GT", '>'}, Entitaet{"QUOT", '"'},
              Entitaet{"COPY", 169}, Entitaet{"REG", 174}})
            t.emplace(name, EntitaetWert{z, true});
        char32_t z = 160;
        for (const std::string_view name : kLatin1Namen) t.emplace(name, EntitaetWert{z++, true});
        for (const Entitaet& e : kWeitere) t.emplace(e.name, EntitaetWert{e.zeichen, false});
        return t;
    }();
    return tabelle;
}

constexpr std::size_t kLaengsterName = 8;

// A numeric reference's code point as browsers take it: NUL, surrogates and
// values beyond Unicode become U+FFFD, 0x80 to 0x9F the Windows-1252 letters.
char32_t ZahlAlsZeichen(std::uint32_t wert) {
    if (wert == 0 || wert > 0x10FFFF || (wert >= 0xD800 && wert <= 0xDFFF)) return 0xFFFD;
    if (wert >= 0x80 && wert <= 0x9F) {
        const std::string utf8 = utf8AusCp1252(std::string(1, static_cast<char>(wert)));
        char32_t z = 0;
        return Utf8Folge(utf8, 0, z) ? z : wert;
    }
    return wert;
}

// Text with its character references resolved, appended to aus. In an
// attribute value a name without ';' followed by a letter, digit or '=' stays
// as written, as browsers keep query strings such as "?a=1&copy=2".
void EntitaetenAufloesen(std::string_view t, std::string& aus, bool attribut) {
    std::size_t i = 0;
    while (i < t.size()) {
        const std::size_t amp = t.find('&', i);
        if (amp == std::string_view::npos) {
            aus.append(t.substr(i));
            return;
        }
        aus.append(t.substr(i, amp - i));
        i = amp + 1;
        if (i < t.size() && t[i] == '#') {
            std::size_t j = i + 1;
            const bool hex = j < t.size() && (t[j] == 'x' || t[j] == 'X');
            if (hex) ++j;
            const std::size_t ziffernAnfang = j;
            std::uint32_t wert = 0;
            for (; j < t.size(); ++j) {
                const char c = t[j];
                int d = -1;
                if (IstZiffer(c))
                    d = c - '0';
                else if (hex && c >= 'a' && c <= 'f')
                    d = c - 'a' + 10;
                else if (hex && c >= 'A' && c <= 'F')
                    d = c - 'A' + 10;
                if (d < 0) break;
                wert = std::min<std::uint32_t>(wert * (hex ? 16 : 10) + d, 0x110000);
            }
            if (j == ziffernAnfang) {
                aus += '&';
                continue;
            }
            if (j < t.size() && t[j] == ';') ++j;
            if (const char32_t z = ZahlAlsZeichen(wert); !IstSteuerzeichen(z))
                utf8Anhaengen(aus, AlsText(z));
            i = j;
            continue;
        }
        std::size_t j = i;
        while (j < t.size() && j - i < 32 && IstAlnum(t[j])) ++j;
        const auto& tabelle = Entitaeten();
        if (j < t.size() && t[j] == ';') {
            if (const auto it = tabelle.find(t.substr(i, j - i)); it != tabelle.end()) {
                utf8Anhaengen(aus, it->second.zeichen);
                i = j + 1;
                continue;
            }
        }
        // The longest name browsers take without ';' that starts the run.
        bool gefunden = false;
        for (std::size_t n = std::min(j - i, kLaengsterName); n >= 2 && !gefunden; --n) {
            const auto it = tabelle.find(t.substr(i, n));
            if (it == tabelle.end() || !it->second.ohneSemikolon) continue;
            const char danach = i + n < t.size() ? t[i + n] : ' ';
            if (attribut && (IstAlnum(danach) || danach == '=')) break;
            utf8Anhaengen(aus, it->second.zeichen);
            i += n;
            gefunden = true;
        }
        if (!gefunden) aus += '&';
    }
}

// ---------------------------------------------------------------------------
// The tree

struct Attribut {
    std::string name;
    std::string wert;
};

// What the walk needs of a style attribute, read once per element.
struct Stil {
    std::optional<bool> fett, kursiv, unterstrichen;
    std::string msoListe;  // Word's "l0 level2 lfo1", in lower case
    int qtEinzug = 0;      // Qt's -qt-list-indent
    int breite = 0, hoehe = 0;
    bool rahmen = false;  // a solid border, as Google Docs and LibreOffice draw tables
};

// The declarations of a style attribute.
template <typename F>
void Deklarationen(std::string_view stil, F&& f) {
    std::size_t i = 0;
    while (i < stil.size()) {
        std::size_t ende = stil.find(';', i);
        if (ende == std::string_view::npos) ende = stil.size();
        const std::string_view teil = stil.substr(i, ende - i);
        i = ende + 1;
        const std::size_t doppelpunkt = teil.find(':');
        if (doppelpunkt == std::string_view::npos) continue;
        f(KleinText(Getrimmt(teil.substr(0, doppelpunkt))), Getrimmt(teil.substr(doppelpunkt + 1)));
    }
}

// A non-negative whole number as HTML's attributes give it ("120", "120px").
int Zahl(std::string_view w) {
    w = Getrimmt(w);
    int wert = 0;
    const auto [ende, fehler] = std::from_chars(w.data(), w.data() + w.size(), wert);
    if (fehler != std::errc() || wert < 0) return 0;
    const std::string_view rest = w.substr(static_cast<std::size_t>(ende - w.data()));
    if (!rest.empty() && rest != "px" && rest[0] != '.') return 0;
    return std::min(wert, 100000);
}

Stil StilLesen(std::string_view text) {
    Stil s;
    Deklarationen(text, [&](const std::string& name, std::string_view roh) {
        std::string wert = KleinText(roh);
        if (const std::size_t p = wert.find("!important"); p != std::string::npos) wert.erase(p);
        wert = std::string(Getrimmt(wert));
        if (name == "font-weight") {
            int zahl = 0;
            const auto [ende, fehler] =
                std::from_chars(wert.data(), wert.data() + wert.size(), zahl);
            if (wert == "bold" || wert == "bolder" || (fehler == std::errc() && zahl >= 600))
                s.fett = true;
            else if (wert == "normal" || wert == "lighter" || fehler == std::errc())
                s.fett = false;
        } else if (name == "font-style") {
            if (wert == "italic" || wert.substr(0, 7) == "oblique")
                s.kursiv = true;
            else if (wert == "normal")
                s.kursiv = false;
        } else if (name == "text-decoration" || name == "text-decoration-line") {
            if (wert.find("underline") != std::string::npos)
                s.unterstrichen = true;
            else if (wert.find("none") != std::string::npos)
                s.unterstrichen = false;
        } else if (name == "mso-list") {
            s.msoListe = wert;
        } else if (name == "-qt-list-indent") {
            s.qtEinzug = Zahl(wert);
        } else if (name == "width") {
            s.breite = Zahl(wert);
        } else if (name == "height") {
            s.hoehe = Zahl(wert);
        } else if (name.compare(0, 6, "border") == 0 && wert.find("solid") != std::string::npos &&
                   wert.find("none") == std::string::npos) {
            s.rahmen = true;
        }
    });
    return s;
}

struct Eigenschaften {
    std::vector<Attribut> attribute;
    Stil stil;
};

// What the tree building and the walk ask of an element's name.
enum : std::uint32_t {
    kBlock = 1u << 0,         // starts and ends a block of text
    kFormatierend = 1u << 1,  // carried into the next block when left open
    kLeer = 1u << 2,          // never has content
    kRoh = 1u << 3,           // its content is no text of the page
    kUeberschrift = 1u << 4,
    kP = 1u << 5,
    kLi = 1u << 6,
    kDtDd = 1u << 7,
    kZelle = 1u << 8,
    kTr = 1u << 9,
    kRumpf = 1u << 10,  // thead, tbody, tfoot
    kA = 1u << 11,
    kTable = 1u << 12,
    kCaption = 1u << 13,
    kButton = 1u << 14,
    kListe = 1u << 15,
    kDl = 1u << 16,
    kTabellenteil = 1u << 17,
    kSeite = 1u << 18,      // html, head, body: their tags are left out
    kVerworfen = 1u << 19,  // no text of the page: dropped with its content
};

std::uint32_t Merkmale(std::string_view name) {
    static const auto tabelle = [] {
        std::unordered_map<std::string_view, std::uint32_t> t;
        const auto setzen = [&](std::uint32_t m, std::initializer_list<std::string_view> namen) {
            for (const std::string_view n : namen) t[n] |= m;
        };
        setzen(kBlock,
               {"p",          "div",     "ul",         "ol",      "li",      "dl",     "dt",
                "dd",         "table",   "caption",    "thead",   "tbody",   "tfoot",  "tr",
                "td",         "th",      "blockquote", "pre",     "address", "center", "section",
                "article",    "aside",   "header",     "footer",  "nav",     "main",   "figure",
                "figcaption", "form",    "fieldset",   "legend",  "hr",      "menu",   "dir",
                "details",    "summary", "hgroup",     "listing", "xmp",     "h1",     "h2",
                "h3",         "h4",      "h5",         "h6"});
        setzen(kUeberschrift, {"h1", "h2", "h3", "h4", "h5", "h6"});
        setzen(kFormatierend, {"a", "b", "big", "code", "em", "font", "i", "nobr", "s", "small",
                               "strike", "strong", "tt", "u"});
        setzen(kLeer,
               {"br", "hr", "img", "meta", "link", "input", "area", "base", "col", "embed", "param",
                "source", "track", "wbr", "keygen", "basefont", "bgsound", "image"});
        setzen(kRoh, {"script", "style", "xml", "title", "textarea", "iframe", "noembed",
                      "noframes", "noscript", "plaintext", "template"});
        setzen(kP, {"p"});
        setzen(kLi, {"li"});
        setzen(kDtDd, {"dt", "dd"});
        setzen(kZelle, {"td", "th"});
        setzen(kTr, {"tr"});
        setzen(kRumpf, {"thead", "tbody", "tfoot"});
        setzen(kA, {"a"});
        setzen(kTable, {"table"});
        setzen(kCaption, {"caption"});
        setzen(kButton, {"button"});
        setzen(kListe, {"ul", "ol", "menu", "dir"});
        setzen(kDl, {"dl"});
        setzen(kTabellenteil, {"table", "tr", "td", "th", "thead", "tbody", "tfoot", "caption"});
        setzen(kSeite, {"html", "head", "body"});
        setzen(kVerworfen,
               {"object",   "embed",  "applet",   "frameset", "frame",  "select",   "option",
                "optgroup", "button", "input",    "map",      "area",   "audio",    "video",
                "canvas",   "svg",    "math",     "meta",     "link",   "base",     "param",
                "source",   "track",  "head",     "datalist", "output", "progress", "meter",
                "dialog",   "keygen", "basefont", "bgsound",  "rp"});
        return t;
    }();
    const auto it = tabelle.find(name);
    return it == tabelle.end() ? 0 : it->second;
}

struct Knoten {
    std::string name;  // empty for text
    std::string text;  // the text, or the list marker Word hides from browsers
    // Shared with the copies that browsers make of a formatting element
    // left open, so that a long style costs its memory and reading once.
    std::shared_ptr<const Eigenschaften> eigenschaften;
    std::vector<std::uint32_t> kinder;
    std::uint32_t merkmale = 0;
    bool geschlossen = false;  // its end tag came while a block inside it was open
};

const std::string* AttributWert(const Knoten& k, std::string_view name) {
    if (!k.eigenschaften) return nullptr;
    for (const Attribut& a : k.eigenschaften->attribute)
        if (a.name == name) return &a.wert;
    return nullptr;
}

const Stil& StilVon(const Knoten& k) {
    static const Stil kein;
    return k.eigenschaften ? k.eigenschaften->stil : kein;
}

// Deeper nesting is flattened: a hostile input of a million open tags would
// otherwise cost a million stack frames in the walk. The set's own markup
// stays far below it (about 25 levels at most).
constexpr std::size_t kTiefsteVerschachtelung = 64;

bool In(std::string_view name, std::initializer_list<std::string_view> namen) {
    return std::find(namen.begin(), namen.end(), name) != namen.end();
}

class Baum {
public:
    explicit Baum(std::size_t tags) {
        knoten_.reserve(tags + 1);
        knoten_.emplace_back();
        knoten_[0].name = "#wurzel";
        offen_.push_back(0);
    }

    void Start(std::string name, std::vector<Attribut> attribute) {
        if (name == "image") name = "img";
        const std::uint32_t m = Merkmale(name);
        if (m & kSeite) return;
        ImpliziteEnden(m);
        if (!(m & kBlock)) Wiederoeffnen();
        const bool leer = m & kLeer;
        if (offen_.size() >= kTiefsteVerschachtelung + (leer ? 1 : 0)) return;
        const std::uint32_t k = Neu(std::move(name), m);
        if (!attribute.empty()) {
            auto e = std::make_shared<Eigenschaften>();
            e->attribute = std::move(attribute);
            for (const Attribut& a : e->attribute)
                if (a.name == "style") e->stil = StilLesen(a.wert);
            knoten_[k].eigenschaften = std::move(e);
        }
        if (!leer) offen_.push_back(k);
    }

    void Ende(std::string_view name) {
        const std::uint32_t m = Merkmale(name);
        if (m & kSeite) return;
        if (name == "br") {
            Start("br", {});
            return;
        }
        if (m & kFormatierend) VergessenZumWiederoeffnen(name);
        if (m & kTabellenteil) wiederoeffnen_.clear();
        // The element to close, searched from the innermost; a block in
        // between stops an inline element's end tag (its formatting then
        // lasts until that block ends), table boundaries stop everything
        // but the table's own tags.
        for (std::size_t i = offen_.size(); i-- > 1;) {
            const Knoten& k = knoten_[offen_[i]];
            if (k.name == name || (m & k.merkmale & kUeberschrift)) {
                if (!(m & kBlock) && GibtBlockDarueber(i)) {
                    knoten_[offen_[i]].geschlossen = true;
                    return;
                }
                SchliessenBis(i);
                return;
            }
            // Nothing inside a table closes what stands outside it.
            if (k.merkmale & kTable) return;
            if (!(m & kTabellenteil) && (k.merkmale & (kZelle | kCaption))) return;
            if ((m & kLi) && (k.merkmale & kListe)) return;
        }
    }

    void Text(std::string_view text) {
        if (text.empty()) return;
        if (!Getrimmt(text).empty()) Wiederoeffnen();
        Knoten& oben = knoten_[offen_.back()];
        if (!oben.kinder.empty() && knoten_[oben.kinder.back()].name.empty()) {
            knoten_[oben.kinder.back()].text.append(text);
            return;
        }
        const std::uint32_t k = Neu({}, 0);
        knoten_[k].text.assign(text);
    }

    // The bullet or number of a Word paragraph that only looks like a list
    // item: it belongs to the paragraph that carries the list's style.
    void ListenMarke(std::string marke) {
        for (std::size_t i = offen_.size(); i-- > 1;) {
            Knoten& k = knoten_[offen_[i]];
            if (!StilVon(k).msoListe.empty()) {
                k.text = std::move(marke);
                return;
            }
        }
    }

    std::vector<Knoten>& Knotenliste() { return knoten_; }

private:
    std::uint32_t Neu(std::string name, std::uint32_t merkmale) {
        const auto k = static_cast<std::uint32_t>(knoten_.size());
        knoten_.emplace_back();
        knoten_.back().name = std::move(name);
        knoten_.back().merkmale = merkmale;
        knoten_[offen_.back()].kinder.push_back(k);
        return k;
    }

    bool GibtBlockDarueber(std::size_t i) const {
        for (std::size_t j = i + 1; j < offen_.size(); ++j)
            if (knoten_[offen_[j]].merkmale & kBlock) return true;
        return false;
    }

    // Pops offen_ down to and without index i; formatting elements above it
    // come back at the next text, as in browsers.
    void SchliessenBis(std::size_t i) {
        for (std::size_t j = i + 1; j < offen_.size(); ++j) {
            const Knoten& k = knoten_[offen_[j]];
            if ((k.merkmale & kFormatierend) && !k.geschlossen &&
                wiederoeffnen_.size() < kWiederoeffnenHoechstens)
                wiederoeffnen_.push_back(offen_[j]);
        }
        offen_.resize(i);
        while (offen_.size() > 1 && knoten_[offen_.back()].geschlossen) offen_.pop_back();
    }

    void VergessenZumWiederoeffnen(std::string_view name) {
        for (std::size_t i = wiederoeffnen_.size(); i-- > 0;)
            if (knoten_[wiederoeffnen_[i]].name == name) {
                wiederoeffnen_.erase(wiederoeffnen_.begin() + static_cast<std::ptrdiff_t>(i));
                return;
            }
    }

    void Wiederoeffnen() {
        if (wiederoeffnen_.empty()) return;
        std::vector<std::uint32_t> liste;
        liste.swap(wiederoeffnen_);
        for (const std::uint32_t alt : liste) {
            if (offen_.size() >= kTiefsteVerschachtelung) break;
            const std::uint32_t k = Neu(knoten_[alt].name, knoten_[alt].merkmale);
            knoten_[k].eigenschaften = knoten_[alt].eigenschaften;
            offen_.push_back(k);
        }
    }

    // Where an element of the kind gesucht is at index i of offen_, searched
    // from the innermost up to the first element of the kind grenze; 0 for
    // none.
    std::size_t Suchen(std::uint32_t gesucht, std::uint32_t grenze) const {
        for (std::size_t i = offen_.size(); i-- > 1;) {
            const std::uint32_t m = knoten_[offen_[i]].merkmale;
            if (m & gesucht) return i;
            if (m & grenze) return 0;
        }
        return 0;
    }

    // The end tags that HTML leaves out: a new paragraph, item, row or cell
    // closes the open one, a block closes the paragraph.
    void ImpliziteEnden(std::uint32_t m) {
        if ((m & kBlock) && !(m & (kZelle | kTr))) {
            if (const std::size_t i = Suchen(kP, kTable | kZelle | kCaption | kButton))
                SchliessenBis(i);
        }
        if ((m & kUeberschrift) && (knoten_[offen_.back()].merkmale & kUeberschrift))
            SchliessenBis(offen_.size() - 1);
        std::size_t i = 0;
        if (m & kLi)
            i = Suchen(kLi, kListe | kTable | kZelle);
        else if (m & kDtDd)
            i = Suchen(kDtDd, kDl | kTable | kZelle);
        else if (m & kZelle)
            i = Suchen(kZelle, kTable);
        else if (m & kTr)
            i = Suchen(kTr | kZelle, kTable);
        else if (m & kRumpf)
            i = Suchen(kRumpf | kTr | kZelle, kTable);
        else if (m & kA)
            i = Suchen(kA, kTable | kZelle);
        if (i) {
            // A row closes the row, not only the cell in it.
            if ((m & kTr) && (knoten_[offen_[i]].merkmale & kZelle))
                if (const std::size_t zeile = Suchen(kTr, kTable); zeile && zeile < i) i = zeile;
            SchliessenBis(i);
            if (m & kA) VergessenZumWiederoeffnen("a");
        }
        if (m & kTabellenteil) wiederoeffnen_.clear();
    }

    static constexpr std::size_t kWiederoeffnenHoechstens = 12;
    std::vector<Knoten> knoten_;
    std::vector<std::uint32_t> offen_;
    std::vector<std::uint32_t> wiederoeffnen_;
};

// ---------------------------------------------------------------------------
// The tokenizer

// Word hides a list's bullet and a doubled line break from browsers in these
// conditional sections; browsers show them, but they are no text of the page.
bool VerborgeneBedingung(std::string_view bedingung) {
    return bedingung.find("!supportLists") != std::string_view::npos ||
           bedingung.find("!supportLineBreakNewLine") != std::string_view::npos;
}

bool IstEndif(std::string_view inhalt) {
    return Getrimmt(inhalt).substr(0, 6) == "[endif";
}

class Zerleger {
public:
    Zerleger(std::string_view t, Baum& baum) : t_(t), baum_(baum) {}

    void Laufen() {
        while (p_ < t_.size()) {
            const std::size_t lt = t_.find('<', p_);
            if (lt == std::string_view::npos) {
                TextAusgeben(t_.substr(p_));
                return;
            }
            if (lt > p_) TextAusgeben(t_.substr(p_, lt - p_));
            p_ = lt;
            Markup();
        }
    }

private:
    void TextAusgeben(std::string_view roh) {
        std::string text;
        EntitaetenAufloesen(roh, text, false);
        if (verborgen_)
            marke_ += text;
        else
            baum_.Text(text);
    }

    // p_ stands at a '<'.
    void Markup() {
        const std::string_view rest = t_.substr(p_);
        if (rest.substr(0, 4) == "<!--") {
            Kommentar();
        } else if (rest.substr(0, 2) == "<!" || rest.substr(0, 2) == "<?") {
            // Declarations, processing instructions and Word's downlevel
            // conditions ("<![if !vml]>") end at the first '>'.
            const std::size_t ende = t_.find('>', p_);
            const std::string_view inhalt =
                t_.substr(p_ + 2, ende == std::string_view::npos ? t_.npos : ende - p_ - 2);
            Bedingung(inhalt);
            p_ = ende == std::string_view::npos ? t_.size() : ende + 1;
        } else if (rest.size() >= 3 && rest[1] == '/' && IstBuchstabe(rest[2])) {
            Tag(true);
        } else if (rest.size() >= 2 && rest[1] == '/') {
            const std::size_t ende = t_.find('>', p_);
            p_ = ende == std::string_view::npos ? t_.size() : ende + 1;
        } else if (rest.size() >= 2 && IstBuchstabe(rest[1])) {
            Tag(false);
        } else {
            TextAusgeben("<");
            ++p_;
        }
    }

    void Kommentar() {
        std::size_t anfang = p_ + 4;
        if (t_.substr(anfang, 1) == ">") {
            p_ = anfang + 1;
            return;
        }
        if (t_.substr(anfang, 2) == "->") {
            p_ = anfang + 2;
            return;
        }
        std::size_t ende = t_.find("--", anfang);
        while (ende != std::string_view::npos) {
            if (t_.substr(ende + 2, 1) == ">" || t_.substr(ende + 2, 2) == "!>") break;
            ende = t_.find("--", ende + 1);
        }
        if (ende == std::string_view::npos) {
            p_ = t_.size();
            return;
        }
        Bedingung(t_.substr(anfang, ende - anfang));
        p_ = ende + (t_[ende + 2] == '>' ? 3 : 4);
    }

    // A comment's or declaration's content: the start or end of a section
    // Word hides from browsers.
    void Bedingung(std::string_view inhalt) {
        if (inhalt.substr(0, 3) == "[if" && inhalt.back() == ']' &&
            inhalt.find('>') == std::string_view::npos && VerborgeneBedingung(inhalt)) {
            if (!verborgen_) marke_.clear();
            verborgen_ = true;
        } else if (verborgen_ && IstEndif(inhalt)) {
            verborgen_ = false;
            baum_.ListenMarke(std::move(marke_));
            marke_.clear();
        }
    }

    void Tag(bool ende) {
        std::size_t i = p_ + (ende ? 2 : 1);
        const std::size_t nameAnfang = i;
        while (i < t_.size() && !IstLeer(t_[i]) && t_[i] != '/' && t_[i] != '>') ++i;
        std::string name = KleinText(t_.substr(nameAnfang, i - nameAnfang));
        std::vector<Attribut> attribute;
        // Attributes, as the HTML tokenizer reads them.
        while (true) {
            while (i < t_.size() && (IstLeer(t_[i]) || t_[i] == '/')) ++i;
            if (i >= t_.size()) {
                p_ = t_.size();  // a tag cut off by the end of the input is dropped
                return;
            }
            if (t_[i] == '>') {
                ++i;
                break;
            }
            const std::size_t a = i;
            ++i;  // the first character may be '='
            while (i < t_.size() && !IstLeer(t_[i]) && t_[i] != '/' && t_[i] != '>' && t_[i] != '=')
                ++i;
            std::string aname = KleinText(t_.substr(a, i - a));
            std::size_t j = i;
            while (j < t_.size() && IstLeer(t_[j])) ++j;
            std::string wert;
            if (j < t_.size() && t_[j] == '=') {
                ++j;
                while (j < t_.size() && IstLeer(t_[j])) ++j;
                if (j < t_.size() && (t_[j] == '"' || t_[j] == '\'')) {
                    const std::size_t zu = t_.find(t_[j], j + 1);
                    if (zu == std::string_view::npos) {
                        p_ = t_.size();
                        return;
                    }
                    if (!ende) EntitaetenAufloesen(t_.substr(j + 1, zu - j - 1), wert, true);
                    j = zu + 1;
                } else {
                    const std::size_t w = j;
                    while (j < t_.size() && !IstLeer(t_[j]) && t_[j] != '>') ++j;
                    if (!ende) EntitaetenAufloesen(t_.substr(w, j - w), wert, true);
                }
                i = j;
            }
            if (!ende && attribute.size() < kAttributeHoechstens &&
                std::none_of(attribute.begin(), attribute.end(),
                             [&](const Attribut& x) { return x.name == aname; }))
                attribute.push_back({std::move(aname), std::move(wert)});
        }
        p_ = i;
        // A hidden section never spans blocks: one left open ends there.
        const std::uint32_t merkmale = Merkmale(name);
        if (verborgen_ && (merkmale & kBlock)) Bedingung("[endif]");
        if (verborgen_) {
            if (!ende && (merkmale & kRoh)) RohtextUeberspringen(name);
            return;
        }
        if (ende) {
            baum_.Ende(name);
            return;
        }
        const bool roh = merkmale & kRoh;
        baum_.Start(name, std::move(attribute));
        if (roh) {
            RohtextUeberspringen(name);
            baum_.Ende(name);
        }
    }

    // Up to the element's end tag; its content is never the page's text.
    void RohtextUeberspringen(std::string_view name) {
        if (name == "plaintext") {
            p_ = t_.size();
            return;
        }
        std::size_t i = p_;
        while ((i = t_.find("</", i)) != std::string_view::npos) {
            const std::size_t n = i + 2;
            if (BeginntMitKlein(t_.substr(n), name) &&
                (n + name.size() >= t_.size() || IstLeer(t_[n + name.size()]) ||
                 t_[n + name.size()] == '/' || t_[n + name.size()] == '>')) {
                const std::size_t zu = t_.find('>', n);
                p_ = zu == std::string_view::npos ? t_.size() : zu + 1;
                return;
            }
            i = n;
        }
        p_ = t_.size();
    }

    static constexpr std::size_t kAttributeHoechstens = 64;
    std::string_view t_;
    Baum& baum_;
    std::size_t p_ = 0;
    bool verborgen_ = false;
    std::string marke_;
};

// The Windows clipboard's HTML starts with a header of offsets
// ("Version:0.9", "StartHTML:", "StartFragment:" ...); the fragment is the
// part that was copied.
std::string_view OhneZwischenablageKopf(std::string_view t) {
    if (t.substr(0, 8) != "Version:") return t;
    const auto zahl = [&](std::string_view schluessel) -> std::size_t {
        const std::size_t kopfEnde = std::min(t.find('<'), t.size());
        const std::size_t p = t.substr(0, kopfEnde).find(schluessel);
        if (p == std::string_view::npos) return t.npos;
        std::size_t wert = 0;
        const char* anfang = t.data() + p + schluessel.size();
        const auto [ende, fehler] = std::from_chars(anfang, t.data() + kopfEnde, wert);
        return fehler == std::errc() && ende != anfang ? wert : t.npos;
    };
    const std::size_t anfang = zahl("StartFragment:"), ende = zahl("EndFragment:");
    if (anfang < ende && ende <= t.size()) return t.substr(anfang, ende - anfang);
    const std::size_t html = zahl("StartHTML:");
    if (html < t.size()) return t.substr(html);
    const std::size_t lt = t.find('<');
    return lt == std::string_view::npos ? std::string_view() : t.substr(lt);
}

// ---------------------------------------------------------------------------
// The set as a structure

struct Format {
    bool fett = false;
    bool kursiv = false;
    bool unterstrichen = false;
    int link = -1;  // index into the links
    bool operator==(const Format&) const = default;
};

struct Stueck {
    enum class Art : std::uint8_t { Text, Umbruch, Bild } art = Art::Text;
    std::string text;  // UTF-8
    Format format;
    int bild = -1;
};

enum class BlockArt : std::uint8_t { P, H1, H2, H3, UL, OL, LI, TABLE, TR, TD, TH, HR, Zeile };

struct Block {
    BlockArt art = BlockArt::P;
    std::vector<Stueck> inhalt;  // P, H1-H3, Zeile
    std::vector<Block> kinder;   // lists, LI (Zeile and lists), TABLE, TR, TD/TH (as LI)
    bool rahmen = false;
    int innenabstand = -1;
};

bool IstListe(const Block& b) {
    return b.art == BlockArt::UL || b.art == BlockArt::OL;
}

struct Link {
    std::string href;
    std::string titel;
};

// ---------------------------------------------------------------------------
// Styles

void StilAnwenden(const Stil& stil, Format& f) {
    if (stil.fett) f.fett = *stil.fett;
    if (stil.kursiv) f.kursiv = *stil.kursiv;
    if (stil.unterstrichen) f.unterstrichen = *stil.unterstrichen;
}

bool HatKlasse(const Knoten& k, std::string_view anfang) {
    const std::string* klasse = AttributWert(k, "class");
    if (!klasse) return false;
    std::size_t i = 0;
    while (i < klasse->size()) {
        while (i < klasse->size() && IstLeer((*klasse)[i])) ++i;
        const std::size_t a = i;
        while (i < klasse->size() && !IstLeer((*klasse)[i])) ++i;
        if (BeginntMitKlein(std::string_view(*klasse).substr(a, i - a), KleinText(anfang)))
            return true;
    }
    return false;
}

// ---------------------------------------------------------------------------
// Addresses

// Leading and trailing spaces go, and control characters (tabs and line
// breaks) inside too, as browsers treat an href: the scheme checked is the
// scheme written.
std::string AdresseBereinigt(std::string_view roh) {
    std::string s;
    for (const char c : roh)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) s += c;
    std::size_t a = 0, e = s.size();
    while (a < e && static_cast<unsigned char>(s[a]) <= ' ') ++a;
    while (e > a && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(a, e - a);
}

// The scheme in lower case ("http"), empty for a relative address.
std::string Schema(std::string_view adresse) {
    std::size_t i = 0;
    while (i < adresse.size() &&
           (IstAlnum(adresse[i]) || adresse[i] == '+' || adresse[i] == '-' || adresse[i] == '.'))
        ++i;
    if (i == 0 || i >= adresse.size() || adresse[i] != ':' || !IstBuchstabe(adresse[0])) return {};
    return KleinText(adresse.substr(0, i));
}

bool IstWebAdresse(std::string_view adresse) {
    const std::string s = Schema(adresse);
    return s == "http" || s == "https" || adresse.substr(0, 2) == "//";
}

// Links the page keeps: to the web, to mail and to files of the site. A link
// to a fragment alone is dropped with the anchors it pointed at.
bool LinkErlaubt(std::string_view adresse) {
    if (adresse.empty() || adresse[0] == '#') return false;
    const std::string s = Schema(adresse);
    if (s.empty()) return adresse.find('\\') == std::string_view::npos;
    return s == "http" || s == "https" || s == "mailto" || s == "ftp" || s == "tel";
}

// ---------------------------------------------------------------------------
// The walk

constexpr int kTiefsteListe = 8;

bool IstLeerraum(const Stueck& s) {
    return s.art == Stueck::Art::Umbruch ||
           (s.art == Stueck::Art::Text && Getrimmt(s.text).empty());
}

// Only spaces (ordinary and non-breaking) and line breaks: a paragraph that
// shows no text.
bool ZeigtNichts(const std::vector<Stueck>& stuecke) {
    for (const Stueck& s : stuecke) {
        if (s.art == Stueck::Art::Bild) return false;
        if (s.art != Stueck::Art::Text) continue;
        for (std::size_t i = 0; i < s.text.size(); ++i) {
            if (s.text[i] == ' ') continue;
            if (s.text.compare(i, 2, "\xC2\xA0") != 0) return false;
            ++i;
        }
    }
    return true;
}

// A run of inline content in its one form: whitespace collapsed as browsers
// show it (a space between two formats gets what both share), bold dropped where the
// block is bold anyway and underline where a link is, line breaks and
// pictures taking only the formatting both neighbours share, neighbours of
// one format merged. A paragraph (absatz) that shows nothing but spaces and
// breaks is an empty line, kept as its breaks; any other block showing
// nothing is dropped.
void Normalisieren(std::vector<Stueck>& stuecke, bool fettUnterdrueckt, bool absatz) {
    std::vector<Stueck> aus;
    bool offen = false;     // whitespace seen, not yet written
    bool sichtbar = false;  // something shown since the line began
    for (Stueck& s : stuecke) {
        if (fettUnterdrueckt) s.format.fett = false;
        if (s.format.link >= 0) s.format.unterstrichen = false;
        if (s.art == Stueck::Art::Umbruch) {
            offen = sichtbar = false;
            aus.push_back(std::move(s));
            continue;
        }
        if (s.art == Stueck::Art::Bild) {
            if (offen && sichtbar) aus.push_back(Stueck{Stueck::Art::Text, " ", {}, -1});
            offen = false;
            sichtbar = true;
            aus.push_back(std::move(s));
            continue;
        }
        std::string text;
        for (const char c : s.text) {
            if (IstLeer(c)) {
                offen = true;
                continue;
            }
            if (offen && sichtbar) {
                if (text.empty())
                    aus.push_back(Stueck{Stueck::Art::Text, " ", s.format, -1});
                else
                    text += ' ';
            }
            offen = false;
            sichtbar = true;
            text += c;
        }
        if (text.empty()) continue;
        s.text = std::move(text);
        aus.push_back(std::move(s));
    }
    if (ZeigtNichts(aus)) {
        std::size_t umbrueche = 0;
        for (const Stueck& s : aus) umbrueche += s.art == Stueck::Art::Umbruch;
        if (absatz && !aus.empty()) umbrueche = std::max<std::size_t>(umbrueche, 1);
        stuecke.assign(absatz ? umbrueche : 0, Stueck{Stueck::Art::Umbruch, {}, {}, -1});
        return;
    }
    // The formatting of breaks, spaces and pictures comes from the nearest
    // words on both sides (and a link's from the nearest word or picture),
    // never from each other, so that it is the same when read back.
    const auto wort = [](const Stueck& s) {
        return s.art == Stueck::Art::Text && !Getrimmt(s.text).empty();
    };
    std::vector<Format> links(aus.size()), rechts(aus.size());
    std::vector<int> linkLinks(aus.size(), -1), linkRechts(aus.size(), -1);
    {
        Format f;
        int l = -1;
        for (std::size_t i = 0; i < aus.size(); ++i) {
            links[i] = f;
            linkLinks[i] = l;
            if (wort(aus[i])) f = aus[i].format;
            if (wort(aus[i]) || aus[i].art == Stueck::Art::Bild) l = aus[i].format.link;
        }
        f = Format{};
        l = -1;
        for (std::size_t i = aus.size(); i-- > 0;) {
            rechts[i] = f;
            linkRechts[i] = l;
            if (wort(aus[i])) f = aus[i].format;
            if (wort(aus[i]) || aus[i].art == Stueck::Art::Bild) l = aus[i].format.link;
        }
    }
    for (std::size_t i = 0; i < aus.size(); ++i) {
        Stueck& s = aus[i];
        if (wort(s)) continue;
        const Format vor = links[i], nach = rechts[i];
        const int link = s.art == Stueck::Art::Bild
                             ? s.format.link
                             : (linkLinks[i] == linkRechts[i] ? linkLinks[i] : -1);
        s.format = Format{vor.fett && nach.fett, vor.kursiv && nach.kursiv,
                          vor.unterstrichen && nach.unterstrichen && link < 0, link};
    }
    stuecke.clear();
    for (Stueck& s : aus) {
        if (!stuecke.empty() && s.art == Stueck::Art::Text &&
            stuecke.back().art == Stueck::Art::Text && stuecke.back().format == s.format) {
            stuecke.back().text += s.text;
            continue;
        }
        stuecke.push_back(std::move(s));
    }
}

// Where the walk puts what it finds: the root (or the place before a table
// for what broken markup puts into it outside cells), or an item or cell.
struct Rahmen {
    explicit Rahmen(Block* b, bool z = false, bool kopf = false, int tiefe = 0)
        : behaelter(b), zelle(z), kopfzelle(kopf), listenTiefe(tiefe) {}
    Block* behaelter;
    bool zelle;  // LI, TD or TH: paragraphs become line breaks
    bool kopfzelle;
    int listenTiefe;  // lists around the container
    std::vector<Stueck> absatz;
    BlockArt absatzArt = BlockArt::P;
    bool umbruch = false;  // a paragraph ended in a cell: a break before more
    // Lists given as flat paragraphs (Word) or with Qt's indent continue
    // the list before them while nothing else came in between.
    bool listeFortsetzbar = false;
    bool tieferGewesen = false;
    std::string listenKennung;
};

struct ListenPlatz {
    Block* liste;
    int tiefe;  // lists deep within the container
};

class Gang {
public:
    Gang(std::vector<Knoten>& knoten, const InhaltsOptionen& optionen, BereinigterInhalt& ergebnis)
        : k_(knoten), optionen_(optionen), ergebnis_(ergebnis) {}

    Block Laufen() {
        Block wurzel;
        Rahmen r{&wurzel};
        rahmen_.push_back(&r);
        for (const std::uint32_t kind : k_[0].kinder) Inhalt(kind, Format{});
        Flush(r);
        rahmen_.pop_back();
        return wurzel;
    }

    std::vector<Link> links;
    std::vector<InhaltsBild> bilder;

private:
    Rahmen& R() { return *rahmen_.back(); }

    void Hinzufuegen(Stueck s) {
        Rahmen& r = R();
        if (r.zelle && r.umbruch && !IstLeerraum(s)) {
            r.umbruch = false;
            if (std::any_of(r.absatz.begin(), r.absatz.end(), [](const Stueck& x) {
                    return !IstLeerraum(x) || x.art != Stueck::Art::Text;
                }))
                r.absatz.push_back(Stueck{Stueck::Art::Umbruch, {}, {}, -1});
        }
        r.absatz.push_back(std::move(s));
    }

    void Absatzende() {
        Rahmen& r = R();
        if (r.zelle)
            r.umbruch = true;
        else
            Flush(r);
    }

    void Flush(Rahmen& r) {
        if (r.absatz.empty()) return;
        std::vector<Stueck> stuecke = std::move(r.absatz);
        r.absatz.clear();
        const BlockArt art = r.zelle ? BlockArt::Zeile : r.absatzArt;
        auto& kinder = r.behaelter->kinder;
        // A line that follows a line (an item's text before and after what
        // broken markup put between) is one line, as it reads back.
        const bool anschluss =
            art == BlockArt::Zeile && !kinder.empty() && kinder.back().art == BlockArt::Zeile;
        if (anschluss) {
            std::vector<Stueck> vorher = std::move(kinder.back().inhalt);
            kinder.pop_back();
            vorher.push_back(Stueck{Stueck::Art::Umbruch, {}, {}, -1});
            for (Stueck& s : stuecke) vorher.push_back(std::move(s));
            stuecke = std::move(vorher);
        }
        const bool kopf = art == BlockArt::H1 || art == BlockArt::H2 || art == BlockArt::H3;
        Normalisieren(stuecke, kopf || (r.zelle && r.kopfzelle), art == BlockArt::P);
        if (stuecke.empty()) return;
        Block b;
        b.art = art;
        b.inhalt = std::move(stuecke);
        kinder.push_back(std::move(b));
        r.listeFortsetzbar = false;
    }

    // --- Lists

    // The list at the given level that an item belongs to, made where it is
    // missing: lists given as flat siblings (Word's paragraphs, Qt's indent)
    // become nested lists, at most one level deeper than the one before.
    ListenPlatz ListeFuer(int stufe, BlockArt art, const std::string& kennung) {
        Rahmen& r = R();
        Flush(r);
        stufe = std::clamp(stufe, 1, std::max(1, kTiefsteListe - r.listenTiefe));
        auto& kinder = r.behaelter->kinder;
        const auto neu = [art](std::vector<Block>& ort) {
            ort.push_back(Block{art, {}, {}, false, -1});
            return &ort.back();
        };
        const bool fortsetzen = r.listeFortsetzbar && !kinder.empty() && IstListe(kinder.back());
        if (!fortsetzen || stufe == 1) {
            const bool anhaengen = fortsetzen && kinder.back().art == art &&
                                   (kennung == r.listenKennung || r.tieferGewesen);
            Block* liste = anhaengen ? &kinder.back() : neu(kinder);
            r.listeFortsetzbar = true;
            r.tieferGewesen = false;
            r.listenKennung = kennung;
            return {liste, 1};
        }
        Block* liste = &kinder.back();
        Block* elternLi = nullptr;
        int tiefe = 1;
        while (tiefe < stufe && !liste->kinder.empty()) {
            Block* li = &liste->kinder.back();
            elternLi = li;
            ++tiefe;
            if (!li->kinder.empty() && IstListe(li->kinder.back())) {
                liste = &li->kinder.back();
                continue;
            }
            liste = neu(li->kinder);
            break;
        }
        if (liste->art != art) {
            if (liste->kinder.empty())
                liste->art = art;
            else
                liste = neu(elternLi ? elternLi->kinder : kinder);
        }
        r.listeFortsetzbar = true;
        r.tieferGewesen = tiefe > 1;
        return {liste, tiefe};
    }

    template <typename F>
    void Eintrag(Block* li, int listenTiefe, F&& inhalt) {
        Rahmen r{li, true, false, listenTiefe};
        rahmen_.push_back(&r);
        inhalt(r);
        Flush(r);
        rahmen_.pop_back();
    }

    Block* NeuesLi(Block* liste) {
        liste->kinder.push_back(Block{BlockArt::LI, {}, {}, false, -1});
        return &liste->kinder.back();
    }

    // A list's children into the list block: items, and what broken markup
    // puts between them (text, a nested list) into the item before.
    void ListenInhalt(std::uint32_t knoten, Block* liste, Format f, int tiefe) {
        const std::vector<std::uint32_t>& kinder = k_[knoten].kinder;
        for (std::size_t i = 0; i < kinder.size();) {
            const Knoten& k = k_[kinder[i]];
            if (k.name == "li") {
                Eintrag(NeuesLi(liste), tiefe,
                        [&](Rahmen&) { Kinder(kinder[i], FormatVon(k, f)); });
                ++i;
                continue;
            }
            // Everything up to the next item at once: one line of the item.
            std::size_t j = i;
            while (j < kinder.size() && k_[kinder[j]].name != "li") ++j;
            const bool sichtbar =
                std::any_of(kinder.begin() + i, kinder.begin() + j, [&](std::uint32_t c) {
                    return !k_[c].name.empty() || !Getrimmt(k_[c].text).empty();
                });
            if (sichtbar) {
                Block* li = liste->kinder.empty() ? NeuesLi(liste) : &liste->kinder.back();
                Eintrag(li, tiefe, [&](Rahmen& r) {
                    r.umbruch = true;
                    for (std::size_t n = i; n < j; ++n) Inhalt(kinder[n], f);
                });
            }
            i = j;
        }
    }

    void Liste(std::uint32_t knoten, Format f) {
        const Knoten& k = k_[knoten];
        Rahmen& r = R();
        if (r.listenTiefe >= kTiefsteListe) {
            // Too deep: the items become lines of the item around them.
            Absatzende();
            Kinder(knoten, f);
            Absatzende();
            return;
        }
        // Qt writes a list that is indented without an item above it as a
        // sibling with its level in "-qt-list-indent".
        int stufe = 1;
        if (r.behaelter->art != BlockArt::LI) {
            stufe = std::max(1, StilVon(k).qtEinzug);
        }
        const ListenPlatz platz = ListeFuer(stufe, k.name == "ol" ? BlockArt::OL : BlockArt::UL,
                                            "#" + std::to_string(knoten));
        ListenInhalt(knoten, platz.liste, f, r.listenTiefe + platz.tiefe);
        r.listeFortsetzbar = true;
    }

    // A Word paragraph that only looks like a list item ("mso-list:l0 level2
    // lfo1"): an item of a real list at its level; the bullet Word hid from
    // browsers tells bullets from numbers.
    bool WordListe(std::uint32_t knoten, Format f) {
        const Knoten& k = k_[knoten];
        const std::string& msoListe = StilVon(k).msoListe;
        if (msoListe.empty() || msoListe == "none" || msoListe.find("ignore") != std::string::npos)
            return false;
        if (R().listenTiefe >= kTiefsteListe) return false;
        int stufe = 1;
        if (const std::size_t p = msoListe.find("level"); p != std::string::npos)
            stufe = std::max(1, Zahl(std::string_view(msoListe).substr(p + 5, 1)));
        std::string kennung = msoListe.substr(0, msoListe.find(' '));
        if (const std::size_t p = msoListe.find("lfo"); p != std::string::npos)
            kennung += msoListe.substr(p);
        const ListenPlatz platz =
            ListeFuer(stufe, IstNummer(k.text) ? BlockArt::OL : BlockArt::UL, kennung);
        Rahmen& r = R();
        Eintrag(NeuesLi(platz.liste), r.listenTiefe + platz.tiefe,
                [&](Rahmen&) { Kinder(knoten, FormatVon(k, f)); });
        r.listeFortsetzbar = true;
        return true;
    }

    // "1.", "a)", "iv." are numbers; bullets are symbols.
    static bool IstNummer(std::string_view marke) {
        std::string s;
        for (const char c : marke)
            if (static_cast<unsigned char>(c) < 0x80 && !IstLeer(c)) s += c;
        if (s.size() < 2 || (s.back() != '.' && s.back() != ')')) return false;
        s.pop_back();
        return std::all_of(s.begin(), s.end(), [](char c) { return IstAlnum(c) || c == '.'; });
    }

    // --- Tables

    void Tabelle(std::uint32_t knoten, Format f) {
        Rahmen& r = R();
        Flush(r);
        const Knoten& k = k_[knoten];
        Block tabelle;
        tabelle.art = BlockArt::TABLE;
        if (const std::string* rand = AttributWert(k, "border"))
            tabelle.rahmen = Zahl(*rand) > 0 || Getrimmt(*rand).empty();
        tabelle.rahmen = tabelle.rahmen || StilVon(k).rahmen;
        if (const std::string* abstand = AttributWert(k, "cellpadding"))
            if (!Getrimmt(*abstand).empty() && IstZiffer(Getrimmt(*abstand)[0]))
                tabelle.innenabstand = std::min(Zahl(*abstand), 99);
        Block vorher;  // what broken markup puts into the table outside cells
        Rahmen davor{&vorher};
        TabellenInhalt(knoten, tabelle, davor, f, 0);
        rahmen_.push_back(&davor);
        Flush(davor);
        rahmen_.pop_back();
        auto& kinder = r.behaelter->kinder;
        for (Block& b : vorher.kinder) kinder.push_back(std::move(b));
        std::erase_if(tabelle.kinder, [](const Block& z) { return z.kinder.empty(); });
        if (!tabelle.kinder.empty()) kinder.push_back(std::move(tabelle));
        r.listeFortsetzbar = false;
    }

    void TabellenInhalt(std::uint32_t knoten, Block& tabelle, Rahmen& davor, Format f, int ebene) {
        bool zeileImplizit = false;
        for (const std::uint32_t kind : k_[knoten].kinder) {
            const Knoten& k = k_[kind];
            if ((k.name.empty() && Getrimmt(k.text).empty()) || IstVerworfen(k) ||
                k.name == "colgroup" || k.name == "col")
                continue;
            if (In(k.name, {"thead", "tbody", "tfoot"}) && ebene < 4) {
                TabellenInhalt(kind, tabelle, davor, f, ebene + 1);
                zeileImplizit = false;
            } else if (k.name == "tr") {
                tabelle.kinder.push_back(Block{BlockArt::TR, {}, {}, false, -1});
                for (const std::uint32_t zelle : k.kinder) {
                    const Knoten& z = k_[zelle];
                    if (z.name == "td" || z.name == "th")
                        Zelle(zelle, tabelle.kinder.back(), f, tabelle);
                    else if (!(z.name.empty() && Getrimmt(z.text).empty()))
                        Davor(davor, zelle, f);
                }
                zeileImplizit = false;
            } else if (k.name == "td" || k.name == "th") {
                if (!zeileImplizit)
                    tabelle.kinder.push_back(Block{BlockArt::TR, {}, {}, false, -1});
                zeileImplizit = true;
                Zelle(kind, tabelle.kinder.back(), f, tabelle);
            } else {
                Davor(davor, kind, f);
            }
        }
    }

    void Davor(Rahmen& davor, std::uint32_t knoten, Format f) {
        rahmen_.push_back(&davor);
        Inhalt(knoten, f);
        rahmen_.pop_back();
    }

    void Zelle(std::uint32_t knoten, Block& zeile, Format f, Block& tabelle) {
        const Knoten& k = k_[knoten];
        tabelle.rahmen = tabelle.rahmen || StilVon(k).rahmen;
        Block zelle;
        zelle.art = k.name == "th" ? BlockArt::TH : BlockArt::TD;
        Rahmen r{&zelle, true, zelle.art == BlockArt::TH, 0};
        rahmen_.push_back(&r);
        Kinder(knoten, FormatVon(k, f));
        Flush(r);
        rahmen_.pop_back();
        zeile.kinder.push_back(std::move(zelle));
    }

    // --- Pictures

    void BildAufnehmen(const Knoten& k, Format f) {
        const std::string* src = AttributWert(k, "src");
        if (!src) return;
        InhaltsBild bild;
        bild.src = AdresseBereinigt(*src);
        if (bild.src.empty()) return;
        if (IstWebAdresse(bild.src)) {
            auto& web = ergebnis_.webBilder;
            if (std::find(web.begin(), web.end(), bild.src) == web.end()) web.push_back(bild.src);
            return;
        }
        // Other schemes (javascript:, cid:, blob:) show nothing; a one-letter
        // scheme is a Windows drive ("C:\Bilder\a.jpg").
        const std::string schema = Schema(bild.src);
        if (schema.size() > 1 && schema != "file" && schema != "data") return;
        if (const std::string* alt = AttributWert(k, "alt")) bild.alt = *alt;
        if (const std::string* w = AttributWert(k, "width")) bild.breite = Zahl(*w);
        if (const std::string* h = AttributWert(k, "height")) bild.hoehe = Zahl(*h);
        if (bild.breite == 0) bild.breite = StilVon(k).breite;
        if (bild.hoehe == 0) bild.hoehe = StilVon(k).hoehe;
        if (optionen_.bild) {
            std::optional<InhaltsBild> ersatz = optionen_.bild(bild);
            if (!ersatz) return;
            bild = std::move(*ersatz);
            bild.src = AdresseBereinigt(bild.src);
            if (bild.src.empty()) return;
        }
        bild.alt = Gesaeubert(bild.alt);
        bild.breite = std::clamp(bild.breite, 0, 100000);
        bild.hoehe = std::clamp(bild.hoehe, 0, 100000);
        bilder.push_back(std::move(bild));
        Hinzufuegen(Stueck{Stueck::Art::Bild, {}, f, static_cast<int>(bilder.size() - 1)});
    }

    // --- Elements

    static bool IstVerworfen(const Knoten& k) {
        const std::string& n = k.name;
        if (n.empty()) return false;
        if (k.merkmale & (kRoh | kVerworfen)) return true;
        // Namespaced elements are dropped; Word's "o:p" holds the non-breaking
        // space of an empty line and other Office wrappers hold text, so only
        // drawings ("v:") and objects ("o:") go with their contents.
        if (const std::size_t doppelpunkt = n.find(':'); doppelpunkt != std::string::npos) {
            const std::string_view praefix = std::string_view(n).substr(0, doppelpunkt);
            return praefix == "v" || (praefix == "o" && n != "o:p");
        }
        // Word's list bullet where it is not hidden in a condition.
        return StilVon(k).msoListe == "ignore";
    }

    Format FormatVon(const Knoten& k, Format f) {
        const std::string& n = k.name;
        if (n == "b" || n == "strong") {
            f.fett = true;
        } else if (In(n, {"i", "em", "cite", "var", "dfn"})) {
            f.kursiv = true;
        } else if (n == "u" || n == "ins") {
            f.unterstrichen = true;
        } else if (n == "a") {
            f.link = -1;
            if (const std::string* href = AttributWert(k, "href")) {
                std::string adresse = AdresseBereinigt(*href);
                if (LinkErlaubt(adresse)) {
                    Link l{std::move(adresse), {}};
                    if (const std::string* titel = AttributWert(k, "title"))
                        l.titel = std::string(Getrimmt(*titel));
                    links.push_back(std::move(l));
                    f.link = static_cast<int>(links.size() - 1);
                }
            }
        }
        StilAnwenden(StilVon(k), f);
        return f;
    }

    void Kinder(std::uint32_t knoten, Format f) {
        const bool alt = vorformatiert_;
        vorformatiert_ = alt || k_[knoten].name == "pre";
        for (const std::uint32_t kind : k_[knoten].kinder) Inhalt(kind, f);
        vorformatiert_ = alt;
    }

    // Headings: h1 to h3 as they are, h4 to h6 as h3 (the set has three
    // levels; a heading stays a heading). Word's title and heading styles on
    // paragraphs count as headings too.
    static BlockArt UeberschriftArt(const Knoten& k) {
        if (k.merkmale & kUeberschrift)
            return k.name[1] == '1' ? BlockArt::H1 : k.name[1] == '2' ? BlockArt::H2 : BlockArt::H3;
        if (k.name == "p" || k.name == "div") {
            if (HatKlasse(k, "MsoTitle")) return BlockArt::H1;
            if (HatKlasse(k, "MsoSubtitle")) return BlockArt::H2;
            if (HatKlasse(k, "MsoHeading")) {
                const std::string klasse = KleinText(*AttributWert(k, "class"));
                const std::size_t p = klasse.find("msoheading");
                const char stufe = p + 10 < klasse.size() ? klasse[p + 10] : '3';
                return stufe == '1' ? BlockArt::H1 : stufe == '2' ? BlockArt::H2 : BlockArt::H3;
            }
        }
        return BlockArt::P;
    }

    void Inhalt(std::uint32_t knoten, Format f) {
        const Knoten& k = k_[knoten];
        if (k.name.empty()) {
            TextAufnehmen(k.text, f);
            return;
        }
        if (IstVerworfen(k)) return;
        const std::string& n = k.name;
        Rahmen& r = R();
        if (n == "br") {
            Hinzufuegen(Stueck{Stueck::Art::Umbruch, {}, f, -1});
        } else if (n == "img") {
            BildAufnehmen(k, f);
        } else if (n == "hr") {
            Absatzende();
            if (!r.zelle) {
                r.behaelter->kinder.push_back(Block{BlockArt::HR, {}, {}, false, -1});
                r.listeFortsetzbar = false;
            }
        } else if (In(n, {"ul", "ol", "dir", "menu"})) {
            Liste(knoten, FormatVon(k, f));
        } else if (n == "li" && r.listenTiefe < kTiefsteListe) {
            // An item outside any list: a list of its own, shared with the
            // items next to it.
            const ListenPlatz platz = ListeFuer(1, BlockArt::UL, "#li");
            Eintrag(NeuesLi(platz.liste), r.listenTiefe + 1,
                    [&](Rahmen&) { Kinder(knoten, FormatVon(k, f)); });
            r.listeFortsetzbar = true;
        } else if (n == "table" && !r.zelle) {
            Tabelle(knoten, FormatVon(k, f));
        } else if ((n == "p" || n == "div") && !r.zelle && WordListe(knoten, f)) {
            // A Word paragraph that looks like a list item, now in its list.
        } else if (k.merkmale & kBlock) {
            // A block ends the paragraph before it and after it; a heading
            // gives its paragraphs its level, other blocks inherit it.
            Absatzende();
            const BlockArt vorher = r.absatzArt;
            if (const BlockArt art = UeberschriftArt(k); art != BlockArt::P) r.absatzArt = art;
            Kinder(knoten, FormatVon(k, f));
            Absatzende();
            r.absatzArt = vorher;
        } else {
            Kinder(knoten, FormatVon(k, f));
        }
    }

    void TextAufnehmen(const std::string& text, Format f) {
        if (!vorformatiert_) {
            Hinzufuegen(Stueck{Stueck::Art::Text, text, f, -1});
            return;
        }
        std::size_t i = 0;
        while (true) {
            const std::size_t zeilenende = std::min(text.find('\n', i), text.size());
            if (zeilenende > i)
                Hinzufuegen(Stueck{Stueck::Art::Text, text.substr(i, zeilenende - i), f, -1});
            if (zeilenende == text.size()) break;
            Hinzufuegen(Stueck{Stueck::Art::Umbruch, {}, f, -1});
            i = zeilenende + 1;
        }
    }

    std::vector<Knoten>& k_;
    const InhaltsOptionen& optionen_;
    BereinigterInhalt& ergebnis_;
    std::vector<Rahmen*> rahmen_;
    bool vorformatiert_ = false;
};

// Lists without items, rows without cells and tables without rows are no
// markup; then no empty paragraphs at the ends.
void Ausduennen(std::vector<Block>& bloecke, bool wurzel) {
    for (Block& b : bloecke) Ausduennen(b.kinder, false);
    std::erase_if(bloecke, [](const Block& b) {
        return (IstListe(b) || b.art == BlockArt::TR || b.art == BlockArt::TABLE) &&
               b.kinder.empty();
    });
    // Two lines of an item that an empty list stood between are one.
    for (std::size_t i = 1; i < bloecke.size();) {
        if (bloecke[i].art != BlockArt::Zeile || bloecke[i - 1].art != BlockArt::Zeile) {
            ++i;
            continue;
        }
        auto& vorher = bloecke[i - 1].inhalt;
        vorher.push_back(Stueck{Stueck::Art::Umbruch, {}, {}, -1});
        for (Stueck& s : bloecke[i].inhalt) vorher.push_back(std::move(s));
        Normalisieren(vorher, false, false);
        bloecke.erase(bloecke.begin() + static_cast<std::ptrdiff_t>(i));
    }
    if (!wurzel) return;
    const auto leer = [](const Block& b) { return b.art == BlockArt::P && ZeigtNichts(b.inhalt); };
    while (!bloecke.empty() && leer(bloecke.back())) bloecke.pop_back();
    const auto erstes = std::find_if_not(bloecke.begin(), bloecke.end(), leer);
    bloecke.erase(bloecke.begin(), erstes);
}

// ---------------------------------------------------------------------------
// The writer

constexpr std::string_view kZeilenende = "\r\n";
constexpr int kEinzug = 8;

// UTF-8 text in the page's form: ASCII, the seven umlauts as named entities,
// every other character a decimal reference; control characters go, and a
// noncharacter becomes U+FFFD, which XML allows.
void Zeichen(std::string& aus, std::string_view t, bool attribut) {
    std::size_t i = 0;
    while (i < t.size()) {
        const auto b = static_cast<unsigned char>(t[i]);
        if (b < 0x80) {
            switch (b) {
                case '&':
                    aus += "&amp;";
                    break;
                case '<':
                    aus += "&lt;";
                    break;
                case '>':
                    aus += "&gt;";
                    break;
                case '"':
                    aus += attribut ? "&quot;" : "\"";
                    break;
                case '\t':
                case '\n':
                case '\f':
                case '\r':
                    aus += ' ';
                    break;
                default:
                    if (!IstSteuerzeichen(b)) aus += static_cast<char>(b);
            }
            ++i;
            continue;
        }
        char32_t z = 0;
        const std::size_t n = Utf8Folge(t, i, z);
        i += n ? n : 1;
        if (!n) z = 0xFFFD;
        if (IstSteuerzeichen(z)) continue;
        z = AlsText(z);
        if (const std::string_view entitaet = UmlautEntitaet(z); !entitaet.empty()) {
            aus += entitaet;
            continue;
        }
        char puffer[16];
        const auto ende =
            std::to_chars(puffer, puffer + sizeof puffer, static_cast<std::uint32_t>(z));
        aus += "&#";
        aus.append(puffer, ende.ptr);
        aus += ';';
    }
}

class Schreiber {
public:
    Schreiber(const std::vector<Link>& links, const std::vector<InhaltsBild>& bilder,
              std::string& aus)
        : links_(links), bilder_(bilder), aus_(aus) {}

    void Bloecke(const std::vector<Block>& bloecke, int einzug) {
        for (const Block& b : bloecke) Block_(b, einzug);
    }

private:
    void Einzug(int n) { aus_.append(static_cast<std::size_t>(n), ' '); }
    void Auf(std::string_view name) {
        aus_ += '<';
        aus_ += name;
        aus_ += '>';
    }
    // The closing tag ends its line.
    void Zu(std::string_view name) {
        aus_ += "</";
        aus_ += name;
        aus_ += '>';
        aus_ += kZeilenende;
    }

    static std::string_view Name(BlockArt a) {
        switch (a) {
            case BlockArt::P:
                return "p";
            case BlockArt::H1:
                return "h1";
            case BlockArt::H2:
                return "h2";
            case BlockArt::H3:
                return "h3";
            case BlockArt::UL:
                return "ul";
            case BlockArt::OL:
                return "ol";
            case BlockArt::LI:
                return "li";
            case BlockArt::TABLE:
                return "table";
            case BlockArt::TR:
                return "tr";
            case BlockArt::TD:
                return "td";
            case BlockArt::TH:
                return "th";
            case BlockArt::HR:
                return "hr";
            case BlockArt::Zeile:
                return "";
        }
        return "";
    }

    void Block_(const Block& b, int einzug) {
        const std::string_view name = Name(b.art);
        switch (b.art) {
            case BlockArt::P:
            case BlockArt::H1:
            case BlockArt::H2:
            case BlockArt::H3:
                Einzug(einzug);
                Auf(name);
                Zeile(b.inhalt);
                Zu(name);
                return;
            case BlockArt::HR:
                Einzug(einzug);
                aus_ += "<hr />";
                aus_ += kZeilenende;
                return;
            case BlockArt::Zeile:
                Einzug(einzug);
                Zeile(b.inhalt);
                aus_ += kZeilenende;
                return;
            case BlockArt::LI:
            case BlockArt::TD:
            case BlockArt::TH: {
                Einzug(einzug);
                Auf(name);
                std::size_t i = 0;
                if (!b.kinder.empty() && b.kinder[0].art == BlockArt::Zeile)
                    Zeile(b.kinder[i++].inhalt);
                if (i < b.kinder.size()) {
                    aus_ += kZeilenende;
                    for (; i < b.kinder.size(); ++i) Block_(b.kinder[i], einzug + 2);
                    Einzug(einzug);
                }
                Zu(name);
                return;
            }
            case BlockArt::TABLE:
                Einzug(einzug);
                aus_ += "<table";
                if (b.rahmen) aus_ += " border=\"1\"";
                if (b.innenabstand >= 0)
                    aus_ += " cellpadding=\"" + std::to_string(b.innenabstand) + "\"";
                aus_ += '>';
                aus_ += kZeilenende;
                Bloecke(b.kinder, einzug + 2);
                Einzug(einzug);
                aus_ += "</table>";
                aus_ += kZeilenende;
                return;
            case BlockArt::UL:
            case BlockArt::OL:
            case BlockArt::TR:
                if (b.kinder.empty()) return;
                Einzug(einzug);
                Auf(name);
                aus_ += kZeilenende;
                Bloecke(b.kinder, einzug + 2);
                Einzug(einzug);
                Zu(name);
                return;
        }
    }

    // The inline elements always nest in one order, a, strong, em, u, so
    // that one text has one markup.
    void Zeile(const std::vector<Stueck>& stuecke) {
        std::vector<char> offen;  // 'a', 's', 'e', 'u'
        int offenerLink = -1;
        for (const Stueck& s : stuecke) {
            std::vector<char> soll;
            if (s.format.link >= 0) soll.push_back('a');
            if (s.format.fett) soll.push_back('s');
            if (s.format.kursiv) soll.push_back('e');
            if (s.format.unterstrichen) soll.push_back('u');
            std::size_t gleich = 0;
            while (gleich < offen.size() && gleich < soll.size() && offen[gleich] == soll[gleich] &&
                   (offen[gleich] != 'a' || offenerLink == s.format.link))
                ++gleich;
            while (offen.size() > gleich) {
                Schliessen(offen.back());
                offen.pop_back();
            }
            for (std::size_t i = gleich; i < soll.size(); ++i) {
                Oeffnen(soll[i], s.format.link);
                offen.push_back(soll[i]);
            }
            offenerLink = s.format.link;
            switch (s.art) {
                case Stueck::Art::Text:
                    Zeichen(aus_, s.text, false);
                    break;
                case Stueck::Art::Umbruch:
                    aus_ += "<br />";
                    break;
                case Stueck::Art::Bild:
                    BildSchreiben(bilder_[static_cast<std::size_t>(s.bild)]);
                    break;
            }
        }
        while (!offen.empty()) {
            Schliessen(offen.back());
            offen.pop_back();
        }
    }

    void Oeffnen(char e, int link) {
        switch (e) {
            case 'a': {
                const Link& l = links_[static_cast<std::size_t>(link)];
                aus_ += "<a href=\"";
                Zeichen(aus_, l.href, true);
                aus_ += '"';
                if (!l.titel.empty()) {
                    aus_ += " title=\"";
                    Zeichen(aus_, l.titel, true);
                    aus_ += '"';
                }
                aus_ += '>';
                break;
            }
            case 's':
                aus_ += "<strong>";
                break;
            case 'e':
                aus_ += "<em>";
                break;
            case 'u':
                aus_ += "<u>";
                break;
        }
    }

    void Schliessen(char e) {
        switch (e) {
            case 'a':
                aus_ += "</a>";
                break;
            case 's':
                aus_ += "</strong>";
                break;
            case 'e':
                aus_ += "</em>";
                break;
            case 'u':
                aus_ += "</u>";
                break;
        }
    }

    void BildSchreiben(const InhaltsBild& b) {
        aus_ += "<img src=\"";
        Zeichen(aus_, b.src, true);
        aus_ += "\" alt=\"";
        Zeichen(aus_, b.alt, true);
        aus_ += '"';
        if (b.breite > 0) aus_ += " width=\"" + std::to_string(b.breite) + "\"";
        if (b.hoehe > 0) aus_ += " height=\"" + std::to_string(b.hoehe) + "\"";
        aus_ += " />";
    }

    const std::vector<Link>& links_;
    const std::vector<InhaltsBild>& bilder_;
    std::string& aus_;
};

}  // namespace

BereinigterInhalt InhaltBereinigen(std::string_view html, const InhaltsOptionen& optionen) {
    BereinigterInhalt ergebnis;
    const std::string text =
        Gesaeubert(optionen.kodierung == Kodierung::Seitenbytes ? utf8AusSeitenbytes(html)
                                                                : OhneZwischenablageKopf(html));
    Block wurzel;
    std::vector<Link> links;
    std::vector<InhaltsBild> bilder;
    {
        Baum baum(static_cast<std::size_t>(std::count(text.begin(), text.end(), '<')));
        Zerleger(text, baum).Laufen();
        Gang gang(baum.Knotenliste(), optionen, ergebnis);
        wurzel = gang.Laufen();
        links = std::move(gang.links);
        bilder = std::move(gang.bilder);
    }
    Ausduennen(wurzel.kinder, true);
    Schreiber(links, bilder, ergebnis.markup).Bloecke(wurzel.kinder, kEinzug);
    return ergebnis;
}

bool InhaltImSatz(std::string_view markup) {
    // The editor's document keeps neither a header cell nor a link's title
    // (Qt writes them as a bold cell and drops the title): such contents are
    // shown unchanged rather than lose them at the next write.
    // Text has its '<' as an entity, so these are tags.
    if (markup.find("<th>") != std::string_view::npos) return false;
    for (std::size_t a = markup.find("<a "); a != std::string_view::npos;
         a = markup.find("<a ", a + 1))
        if (markup.substr(a, markup.find('>', a) - a).find(" title=\"") != std::string_view::npos)
            return false;
    InhaltsOptionen optionen;
    optionen.kodierung = Kodierung::Seitenbytes;
    return InhaltBereinigen(markup, optionen).markup == markup;
}

std::string KlartextAlsInhalt(std::string_view utf8) {
    const std::string text = Gesaeubert(utf8);
    std::vector<Block> absaetze;
    std::vector<Stueck> absatz;
    const auto fertig = [&] {
        Normalisieren(absatz, false, false);
        if (!absatz.empty())
            absaetze.push_back(Block{BlockArt::P, std::move(absatz), {}, false, -1});
        absatz.clear();
    };
    std::size_t i = 0;
    while (true) {
        const std::size_t ende = std::min(text.find_first_of("\r\n", i), text.size());
        const std::string_view zeile(text.data() + i, ende - i);
        if (Getrimmt(zeile).empty()) {
            fertig();
        } else {
            if (!absatz.empty()) absatz.push_back(Stueck{Stueck::Art::Umbruch, {}, {}, -1});
            absatz.push_back(Stueck{Stueck::Art::Text, std::string(zeile), {}, -1});
        }
        if (ende == text.size()) break;
        i = ende + (text.compare(ende, 2, "\r\n") == 0 ? 2 : 1);
    }
    fertig();
    std::string markup;
    Schreiber({}, {}, markup).Bloecke(absaetze, kEinzug);
    return markup;
}

}  // namespace lw
