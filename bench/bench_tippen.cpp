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
#include <ctime>
#include <fstream>
#include <vector>

#include "app/Programmfenster.h"
#include "bench/Messung.h"
#include "model/Projektdaten.h"
#include "ui/Anwendung.h"

namespace {

using namespace lw::bench;

constexpr int kZeilen = 100;

// The load average of the last minute, to read the clock's figures by.
double Last() {
    double last = 0;
    std::ifstream("/proc/loadavg") >> last;
    return last;
}

double ProzessorZeit() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

struct Zeit {
    double wand;
    double prozessor;  // of the window's thread: what the key cost, without waiting for a core
};

// Press and release, then everything the key set off, painting included.
Zeit Taste(QWidget* feld, int taste, const QString& text) {
    const double vorher = ProzessorZeit();
    const double wand = Dauer([&] {
        QKeyEvent druck(QEvent::KeyPress, taste, Qt::NoModifier, text);
        QApplication::sendEvent(feld, &druck);
        QKeyEvent los(QEvent::KeyRelease, taste, Qt::NoModifier, text);
        QApplication::sendEvent(feld, &los);
        QApplication::processEvents();
    });
    return {wand, ProzessorZeit() - vorher};
}

double Anteil(std::vector<double> werte, int prozent) {
    std::sort(werte.begin(), werte.end());
    return werte[werte.size() * prozent / 100] * 1000;
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
    std::vector<double> wand, prozessor;
    const QString woerter = QStringLiteral("Unsere Vereinsgeschichte ");
    for (int i = 0; i < tasten; ++i) {
        const bool loeschen = (i / 40) % 2 == 1;
        const Zeit z = loeschen ? Taste(feld, Qt::Key_Backspace, QString())
                                : Taste(feld, Qt::Key_A, woerter.mid(i % woerter.size(), 1));
        wand.push_back(z.wand);
        prozessor.push_back(z.prozessor);
    }
    std::printf("%d Tasten in Ed_Alt50 von %d Zeilen, Last %.1f\n", tasten, kZeilen, Last());
    std::printf("  Uhrzeit: Median %.2f ms, 95 %% %.2f ms, 99 %% %.2f ms\n", Median(wand) * 1000,
                Anteil(wand, 95), Anteil(wand, 99));
    std::printf("  Rechenzeit des Fensters: Median %.2f ms, 95 %% %.2f ms, 99 %% %.2f ms\n",
                Median(prozessor) * 1000, Anteil(prozessor, 95), Anteil(prozessor, 99));
    // On a shared machine the clock's tail is other programs' turn on the
    // cores; the window's own time per key is what the goal is about.
    return Grenze("Taste in einer Linkzeile bei 100 Zeilen (Rechenzeit, 99 %)",
                  Anteil(prozessor, 99), 16, "ms")
               ? 0
               : 1;
}
