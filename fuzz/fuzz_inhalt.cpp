// Any bytes as HTML, from the clipboard (UTF-8) and from a saved page
// (Windows-1252 with entities), reduced to the contents' set: the result has
// only the set's elements and attributes, is valid XHTML 1.0 Transitional in
// the page's contents block (checked by libxml2 against the W3C DTD, found
// through the system's XML catalog), and reduced again it stays as it is.
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/valid.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "codegen/Inhalt.h"

namespace {

void Pruefen(bool bedingung) {
    if (!bedingung) __builtin_trap();
}

void Still(void*, const char*, ...) {}

xmlDtdPtr Dtd() {
    static xmlDtdPtr dtd = [] {
        xmlSetGenericErrorFunc(nullptr, Still);
        xmlDtdPtr d = xmlParseDTD(BAD_CAST "-//W3C//DTD XHTML 1.0 Transitional//EN", BAD_CAST
                                  "http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd");
        if (!d) {
            std::fprintf(stderr,
                         "fuzz_inhalt: the XHTML 1.0 Transitional DTD is not in the catalog\n");
            std::abort();
        }
        return d;
    }();
    return dtd;
}

bool Erlaubt(std::string_view element, std::string_view attribut) {
    if (element == "a") return attribut == "href" || attribut == "title";
    if (element == "img")
        return attribut == "src" || attribut == "alt" || attribut == "width" ||
               attribut == "height";
    if (element == "table") return attribut == "border" || attribut == "cellpadding";
    return false;
}

bool ImSatz(std::string_view e) {
    for (const std::string_view s : {"p", "h1", "h2", "h3", "br", "strong", "em", "u", "ul", "ol",
                                     "li", "a", "img", "table", "tr", "th", "td", "hr"})
        if (e == s) return true;
    return false;
}

void ElementePruefen(xmlNodePtr knoten) {
    for (xmlNodePtr k = knoten->children; k; k = k->next) {
        if (k->type != XML_ELEMENT_NODE) continue;
        const std::string_view name = reinterpret_cast<const char*>(k->name);
        Pruefen(ImSatz(name));
        for (xmlAttrPtr a = k->properties; a; a = a->next)
            Pruefen(Erlaubt(name, reinterpret_cast<const char*>(a->name)));
        if (name == "table")
            if (xmlChar* rand = xmlGetProp(k, BAD_CAST "border")) {
                Pruefen(std::string_view(reinterpret_cast<const char*>(rand)) == "1");
                xmlFree(rand);
            }
        ElementePruefen(k);
    }
}

// The lines of a contents block: ASCII, indented, CR LF.
void FormPruefen(const std::string& markup) {
    std::size_t anfang = 0;
    while (anfang < markup.size()) {
        const std::size_t ende = markup.find("\r\n", anfang);
        Pruefen(ende != std::string::npos);
        Pruefen(markup.compare(anfang, 8, "        ") == 0);
        for (std::size_t i = anfang; i < ende; ++i) {
            const auto c = static_cast<unsigned char>(markup[i]);
            Pruefen(c >= 0x20 && c < 0x7F);
        }
        anfang = ende + 2;
    }
}

void GueltigPruefen(const std::string& markup) {
    const std::string seite =
        "<!DOCTYPE html [<!ENTITY auml \"&#228;\"><!ENTITY ouml \"&#246;\"><!ENTITY uuml "
        "\"&#252;\"><!ENTITY szlig \"&#223;\"><!ENTITY Auml \"&#196;\"><!ENTITY Ouml "
        "\"&#214;\"><!ENTITY Uuml \"&#220;\">]>\n<html xmlns=\"http://www.w3.org/1999/xhtml\">"
        "<head><title>t</title></head><body>\r\n      <div id=\"Inhalt\">\r\n" +
        markup + "      </div>\r\n</body></html>";
    xmlDocPtr doc =
        xmlReadMemory(seite.data(), static_cast<int>(seite.size()), "seite.html", "ISO-8859-1",
                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    Pruefen(doc != nullptr);
    xmlValidCtxtPtr pruefer = xmlNewValidCtxt();
    pruefer->error = Still;
    pruefer->warning = Still;
    Pruefen(xmlValidateDtd(pruefer, doc, Dtd()) == 1);
    xmlFreeValidCtxt(pruefer);
    xmlNodePtr body = xmlDocGetRootElement(doc)->children;
    while (body && !(body->type == XML_ELEMENT_NODE &&
                     std::string_view(reinterpret_cast<const char*>(body->name)) == "body"))
        body = body->next;
    Pruefen(body != nullptr);
    for (xmlNodePtr div = body->children; div; div = div->next)
        if (div->type == XML_ELEMENT_NODE) ElementePruefen(div);
    xmlFreeDoc(doc);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    const std::string_view eingabe(reinterpret_cast<const char*>(daten), groesse);
    lw::InhaltsOptionen seite;
    seite.kodierung = lw::Kodierung::Seitenbytes;
    for (const lw::Kodierung k : {lw::Kodierung::Utf8, lw::Kodierung::Seitenbytes}) {
        lw::InhaltsOptionen optionen;
        optionen.kodierung = k;
        const std::string markup = lw::InhaltBereinigen(eingabe, optionen).markup;
        FormPruefen(markup);
        Pruefen(lw::InhaltBereinigen(markup, seite).markup == markup);
        GueltigPruefen(markup);
    }
    // Plain text takes the same road out.
    const std::string klartext = lw::KlartextAlsInhalt(eingabe);
    FormPruefen(klartext);
    Pruefen(lw::InhaltImSatz(klartext));
    return 0;
}
