// The editor's contents converted to the page's markup (InhaltBereinigen on
// what the editor's document gives as HTML) at 10 and 20 MiB: twice the text
// may take at most 2.1 times as long. Every measurement runs in a fresh
// process of this program, so that neither size finds the heap the other
// left; the sizes run alternately, the one that goes first changing every
// round. The verdict is the median of the rounds' ratios of processor time:
// the conversion runs on one thread, and on a shared machine the wall clock
// measures the other processes too (it is printed beside it).

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>

#include "bench/Messung.h"
#include "codegen/Inhalt.h"
#include "common/Dateien.h"

namespace {

using namespace lw;
using namespace lw::bench;

constexpr std::size_t kMiB = std::size_t{1} << 20;

// A document as Qt writes it: headings, paragraphs with formatted runs and
// links, lists with nested items, tables and empty lines, each block with
// Qt's style attributes, up to the size.
std::string EditorDokument(std::size_t bytes) {
    const std::string stil =
        " style=\" margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; "
        "-qt-block-indent:0; text-indent:0px;\"";
    std::string html =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\" "
        "\"http://www.w3.org/TR/REC-html40/strict.dtd\">\n<html><head><meta name=\"qrichtext\" "
        "content=\"1\" /><meta charset=\"utf-8\" /><style type=\"text/css\">\np, li { white-space: "
        "pre-wrap; }\n</style></head><body style=\" font-family:'Sans Serif'; font-size:9pt;\">\n";
    html.reserve(bytes + 4096);
    for (int i = 0; html.size() < bytes; ++i) {
        const std::string n = std::to_string(i);
        html +=
            "<h2" + stil + "><span style=\" font-size:x-large; font-weight:700;\">Abschnitt " + n +
            "</span></h2>\n<p" + stil +
            ">Gr\xC3\xBC\xC3\x9F"
            "e aus K\xC3\xB6ln, <span style=\" font-weight:700;\">fett " +
            n +
            "</span> und <span style=\" font-style:italic;\">kursiv</span> mit <a href=\"seite" +
            n +
            ".html\"><span style=\" text-decoration: underline; color:#0000ff;\">Link</span>"
            "</a> &amp; \xE2\x82\xAC " +
            n + ".</p>\n<p style=\"-qt-paragraph-type:empty;" + stil.substr(8) +
            "><br /></p>\n<ul style=\"margin-top: 0px; -qt-list-indent: 1;\">\n<li" + stil +
            ">Punkt " + n + "\n<ul style=\"margin-top: 0px; -qt-list-indent: 2;\">\n<li" + stil +
            ">Unterpunkt</li></ul></li>\n<li" + stil +
            ">Zweiter Punkt</li></ul>\n<table border=\"1\" cellspacing=\"2\" cellpadding=\"4\">\n"
            "<tr>\n<td>\n<p" +
            stil + ">A " + n + "</p></td>\n<td>\n<p" + stil + ">B</p></td></tr></table>\n";
    }
    html += "</body></html>";
    return html;
}

const char* const kEineMessung = "--messen";

// The child's side: prints "<seconds> <processor seconds> <output bytes>".
int EineMessung(int mib) {
    const std::string html = EditorDokument(static_cast<std::size_t>(mib) * kMiB);
    std::size_t groesse = 0;
    const double vorher = Rechenzeit();
    const double sekunden = Dauer([&] { groesse = InhaltBereinigen(html).markup.size(); });
    std::printf("%.9f %.9f %zu\n", sekunden, Rechenzeit() - vorher, groesse);
    return groesse > 0 ? 0 : 2;
}

struct Messwert {
    double sekunden = 0, rechenzeit = 0, groesse = 0;
};

Messwert Messen(int mib) {
    const Kind kind = AusfuehrenErfolgreich(
        {ProgrammOrdner() + "/bench_inhalt", kEineMessung, std::to_string(mib)}, true);
    Messwert m;
    if (std::sscanf(kind.ausgabe.c_str(), "%lf %lf %lf", &m.sekunden, &m.rechenzeit, &m.groesse) !=
        3)
        throw std::runtime_error("no measurement: " + kind.ausgabe);
    return m;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 3 && std::strcmp(argv[1], kEineMessung) == 0)
            return EineMessung(std::atoi(argv[2]));
        const int wiederholungen = Wiederholungen(argc, argv, 11);
        Paar rechenzeit, uhr;
        double groesse10 = 0, groesse20 = 0;
        const auto messen = [&](int mib) {
            const Messwert m = Messen(mib);
            (mib == 20 ? groesse20 : groesse10) = m.groesse;
            (mib == 20 ? uhr.eigen : uhr.vergleich).push_back(m.sekunden * 1000);
            return m.rechenzeit * 1000;
        };
        rechenzeit = Abwechselnd(
            wiederholungen, nullptr, [&] { return messen(20); }, [&] { return messen(10); });
        std::printf(
            "Inhalt des Editors in das Markup der Seite, 10 und 20 MiB HTML, jede Messung in einem "
            "frischen Prozess, %d Durchgänge; Ergebnis %.1f und %.1f MiB\n",
            wiederholungen, groesse10 / kMiB, groesse20 / kMiB);
        std::printf("Uhrzeit: %.1f ms gegen %.1f ms, Verhältnis %.2f (Median der Paare)\n",
                    Median(uhr.eigen), Median(uhr.vergleich), MedianVerhaeltnis(uhr));
        return Urteil("Rechenzeit InhaltBereinigen 20 gegen 10 MiB", rechenzeit, 2.1, "ms") ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_inhalt: %s\n", e.what());
        return 2;
    }
}
