// The contents editor with two pages of 1 MiB each: switching te_Inhalt from
// one page to the other, and one key press in such a page, each against its
// goal. For comparison, the switch as it would be if every opening read the
// page's markup again.

#include <QApplication>
#include <QKeyEvent>
#include <QTextEdit>
#include <cstdio>
#include <string>

#include "bench/Messung.h"
#include "model/Projektdaten.h"
#include "ui/Anwendung.h"
#include "ui/Inhalt.h"
#include "ui/InhaltDokument.h"

namespace {

using namespace lw::bench;

// About groesse bytes of contents as the editor writes them: paragraphs with
// some bold and italic text, a heading now and then.
std::string Inhalt(std::size_t groesse, char zeichen) {
    std::string s;
    for (int i = 0; s.size() < groesse; ++i) {
        if (i % 40 == 0) s += "        <h2>Abschnitt " + std::to_string(i / 40) + "</h2>\r\n";
        s += "        <p>Absatz " + std::to_string(i) + " " + std::string(40, zeichen) +
             " mit <strong>fettem</strong> und <em>kursivem</em> Text, der weiter geht und " +
             "eine Zeile im Editor f&uuml;llt.</p>\r\n";
    }
    return s;
}

// Lets the window do what the change left for it: layout and painting.
void Zeichnen(QTextEdit* feld) {
    QCoreApplication::processEvents();
    feld->viewport()->repaint();
}

}  // namespace

int main(int argc, char** argv) {
    // The editor's own work, without a display server's round trips.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Anwendung app(argc, argv);
    AnwendungEinrichten(app);
    const int wiederholungen = Wiederholungen(argc, argv, 21);

    lw::Projektdaten daten;
    daten.ButtonBreite.Setzen(1, 170);
    Tfrm_Inhalt fenster(daten);
    fenster.show();
    auto* feld = fenster.findChild<QTextEdit*>(QStringLiteral("te_Inhalt"));
    const QStringList seiten{QStringLiteral("Seite1.html"), QStringLiteral("Seite2.html")};
    const Tfrm_Inhalt::Seite a{1, seiten[0], Inhalt(1 << 20, 'a')};
    const Tfrm_Inhalt::Seite b{2, seiten[1], Inhalt(1 << 20, 'b')};
    std::printf("Zwei Seiten von je %.1f MiB, %d Wiederholungen\n",
                static_cast<double>(a.markup.size()) / (1 << 20), wiederholungen);

    // Each page opened once, as the user did before switching.
    fenster.SeiteZeigen(a, seiten);
    fenster.SeiteZeigen(b, seiten);
    Zeichnen(feld);

    std::vector<double> wechsel;
    std::vector<double> neuGelesen;
    for (int i = 0; i < wiederholungen; ++i) {
        const Tfrm_Inhalt::Seite& ziel = i % 2 == 0 ? a : b;
        wechsel.push_back(Dauer([&] {
                              fenster.SeiteZeigen(ziel, seiten);
                              Zeichnen(feld);
                          }) *
                          1000);
        // The same page read from its markup into a new document and shown.
        lw::ui::InhaltDokument dokument([](const QString&) { return QString(); });
        neuGelesen.push_back(Dauer([&] {
                                 lw::ui::InhaltLaden(dokument, ziel.markup);
                                 feld->setDocument(&dokument);
                                 Zeichnen(feld);
                             }) *
                             1000);
        fenster.SeiteZeigen(ziel, seiten);
    }
    std::printf("Seite jedes Mal neu gelesen (zum Vergleich): %.1f ms\n", Median(neuGelesen));

    // Key presses in the middle of page a.
    fenster.SeiteZeigen(a, seiten);
    QTextCursor cursor = feld->textCursor();
    cursor.setPosition(feld->document()->characterCount() / 2);
    feld->setTextCursor(cursor);
    feld->ensureCursorVisible();
    Zeichnen(feld);
    std::vector<double> tasten;
    for (int i = 0; i < 5 * wiederholungen; ++i) {
        tasten.push_back(Dauer([&] {
                             QKeyEvent druck(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier,
                                             QStringLiteral("x"));
                             QApplication::sendEvent(feld, &druck);
                             QKeyEvent los(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier,
                                           QStringLiteral("x"));
                             QApplication::sendEvent(feld, &los);
                             Zeichnen(feld);
                         }) *
                         1000);
    }

    bool gut = Grenze("Wechsel zwischen zwei Seiten von 1 MiB", Median(wechsel), 100, "ms");
    gut = Grenze("Tastendruck in einer Seite von 1 MiB", Median(tasten), 16, "ms") && gut;
    // The window must not ask about the typed text when it goes.
    fenster.Vergessen();
    return gut ? 0 : 1;
}
