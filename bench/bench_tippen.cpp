// Typing in a link row of a site with 100 pages: each key's way from the key
// press through the check of the text's width and the preview to the painted
// window, one key at a time. Runs on the display it is given (Xvfb in
// scripts/benchmarks.sh). No reference: the goal is a frame, 16 ms.

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/Programmfenster.h"
#include "bench/Messung.h"
#include "model/Projektdaten.h"
#include "ui/Anwendung.h"

namespace {

using namespace lw::bench;

constexpr int kZeilen = 100;

// Press and release, then everything the key set off, painting included.
double Taste(QWidget* feld, int taste, const QString& text) {
    return Dauer([&] {
        QKeyEvent druck(QEvent::KeyPress, taste, Qt::NoModifier, text);
        QApplication::sendEvent(feld, &druck);
        QKeyEvent los(QEvent::KeyRelease, taste, Qt::NoModifier, text);
        QApplication::sendEvent(feld, &los);
        QApplication::processEvents();
    });
}

}  // namespace

int main(int argc, char** argv) {
    Anwendung app(argc, argv);
    const int tasten = Wiederholungen(argc, argv, 400);
    lw::Projektdaten daten;
    daten.Modus = lw::kModusHPNeu;
    daten.Seitenzahl = kZeilen;
    // With a width every key is measured against it.
    daten.ButtonBreite.Setzen(1, 120);
    daten.ButtonHoehe.Setzen(1, 30);
    Programmfenster fenster(daten, TForm1::Aufbau::sofort);
    fenster.form1->ModusZeigen(daten.Modus);
    fenster.form1->findChild<QTabWidget*>(QStringLiteral("PageControl1"))
        ->setCurrentIndex(TForm1::kLinksSeite);
    auto* feld = fenster.form1->findChild<QLineEdit*>(QStringLiteral("Ed_Alt50"));
    feld->setFocus();
    QApplication::processEvents();

    // Typing and deleting in turns, so that the text crosses the button's
    // width back and forth and the mark comes and goes.
    std::vector<double> zeiten;
    const QString woerter = QStringLiteral("Unsere Vereinsgeschichte ");
    for (int i = 0; i < tasten; ++i) {
        const bool loeschen = (i / 40) % 2 == 1;
        zeiten.push_back(loeschen ? Taste(feld, Qt::Key_Backspace, QString())
                                  : Taste(feld, Qt::Key_A, woerter.mid(i % woerter.size(), 1)));
    }
    std::sort(zeiten.begin(), zeiten.end());
    const double p95 = zeiten[zeiten.size() * 95 / 100] * 1000;
    std::printf("%d Tasten in Ed_Alt50 von %d Zeilen: Median %.2f ms, 95 %% %.2f ms, höchstens "
                "%.2f ms\n",
                tasten, kZeilen, Median(zeiten) * 1000, p95, zeiten.back() * 1000);
    return Grenze("Taste in einer Linkzeile bei 100 Zeilen (95 %)", p95, 16, "ms") ? 0 : 1;
}
