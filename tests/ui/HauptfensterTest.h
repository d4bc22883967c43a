#pragma once

// What the main window's tests share: the windows the main window talks to,
// an answer for the modal windows it opens, and small picture files.

#include <QApplication>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QPointer>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "app/Programmfenster.h"
#include "model/Projektdaten.h"

namespace lw::test {

// The seven windows of the program, created in the program's order.
struct Hauptfenster {
    lw::Projektdaten daten;
    std::unique_ptr<Programmfenster> alle;
    TForm2* form2 = nullptr;
    TForm1* form1 = nullptr;
    TForm3* form3 = nullptr;
    Tfrm_Status* status = nullptr;

    // As the program starts: no mode yet, the start window decides.
    Hauptfenster() { erzeugen(); }

    // Mode and page count as the start window and frm_LinkAnzahl leave them.
    Hauptfenster(const std::string& modus, int seiten) {
        daten.Modus = modus;
        if (modus == lw::kModusNZAlt) {
            daten.ImportAnzahl = seiten;
            for (int i = 1; i <= seiten; ++i)
                daten.ImportSeiten.Setzen(i, "_alt" + std::to_string(i) + ".htm");
        } else {
            daten.Seitenzahl = seiten;
        }
        erzeugen();
    }

    // The main window as the start window shows it.
    void zeigen() { form1->ModusZeigen(daten.Modus); }

    // Shown with the button size known, so that "Code" asks for none.
    void zeigenMitGroesse() {
        daten.ButtonHoehe.Setzen(1, 30);
        daten.ButtonBreite.Setzen(1, 120);
        zeigen();
    }

    // So, and opened on "Code" through "Links": the code is made.
    void bisZumCode() {
        zeigenMitGroesse();
        finde<QTabWidget>("PageControl1")->setCurrentIndex(TForm1::kLinksSeite);
        finde<QTabWidget>("PageControl1")->setCurrentIndex(TForm1::kCodeSeite);
    }

    template <class T = QWidget>
    T* finde(const char* name) const {
        return form1->findChild<T*>(QString::fromLatin1(name));
    }

private:
    void erzeugen() {
        // Built at once, so that the tests find every control before showing.
        alle = std::make_unique<Programmfenster>(daten, TForm1::Aufbau::sofort);
        form2 = alle->form2.get();
        form1 = alle->form1.get();
        form3 = alle->form3.get();
        status = alle->status.get();
    }
};

// Answers every modal window that opens while it lives (SkriptDialoge's
// ModalAntwort answers only the first): the handler gets the window and must
// close it. Counts how many came.
class ModalZaehler final {
public:
    explicit ModalZaehler(std::function<void(QWidget*)> antwort) : antwort_(std::move(antwort)) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible() || modal == bearbeitet_) return;
            // Guard against answering the same showing twice while it closes.
            bearbeitet_ = modal;
            ++anzahl_;
            fenster_.push_back(modal->objectName());
            antwort_(modal);
            bearbeitet_ = nullptr;
        });
        timer_.start();
    }
    int anzahl() const { return anzahl_; }
    const QStringList& fenster() const { return fenster_; }

private:
    std::function<void(QWidget*)> antwort_;
    QTimer timer_;
    QPointer<QWidget> bearbeitet_;
    int anzahl_ = 0;
    QStringList fenster_;
};

// A JPEG of the given size, written by Qt.
inline bool JpegSchreiben(const QString& pfad, int breite, int hoehe, QColor farbe = Qt::red) {
    QImage bild(breite, hoehe, QImage::Format_RGB32);
    bild.fill(farbe);
    return bild.save(pfad, "JPG");
}

// A PNG of the given size written by Qt: the left half fully transparent,
// the right half blue at half opacity.
inline bool PngSchreiben(const QString& pfad, int breite, int hoehe) {
    QImage bild(breite, hoehe, QImage::Format_ARGB32);
    bild.fill(Qt::transparent);
    for (int y = 0; y < hoehe; ++y)
        for (int x = breite / 2; x < breite; ++x) bild.setPixel(x, y, qRgba(0, 0, 255, 128));
    return bild.save(pfad, "PNG");
}

// A GIF89a of the given size with two colours, colour 0 transparent: the left
// half transparent, the right half blue. Qt cannot write GIF, so it is made
// here; every two pixels are preceded by a clear code so that the codes stay
// three bits wide for any decoder.
inline bool GifSchreiben(const QString& pfad, int breite, int hoehe) {
    QByteArray gif("GIF89a");
    auto wort = [&gif](int v) {
        gif.append(char(v & 0xff));
        gif.append(char((v >> 8) & 0xff));
    };
    wort(breite);
    wort(hoehe);
    gif.append(char(0x80 | 0x01));  // global colour table of 4 entries
    gif.append(char(0));
    gif.append(char(0));
    const unsigned char farben[12] = {0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0};
    gif.append(reinterpret_cast<const char*>(farben), 12);
    // Graphic control extension: colour 0 is transparent.
    const unsigned char gce[8] = {0x21, 0xF9, 4, 0x01, 0, 0, 0, 0};
    gif.append(reinterpret_cast<const char*>(gce), 8);
    gif.append(',');
    wort(0);
    wort(0);
    wort(breite);
    wort(hoehe);
    gif.append(char(0));
    gif.append(char(2));  // minimum code size

    QByteArray daten;
    unsigned puffer = 0;
    int bits = 0;
    auto code = [&](unsigned c) {
        puffer |= c << bits;
        bits += 3;
        while (bits >= 8) {
            daten.append(char(puffer & 0xff));
            puffer >>= 8;
            bits -= 8;
        }
    };
    const unsigned kClear = 4, kEnde = 5;
    int n = 0;
    for (int y = 0; y < hoehe; ++y)
        for (int x = 0; x < breite; ++x) {
            if (n++ % 2 == 0) code(kClear);
            code(x < breite / 2 ? 0u : 1u);
        }
    code(kEnde);
    if (bits > 0) daten.append(char(puffer & 0xff));
    for (int i = 0; i < daten.size(); i += 255) {
        const QByteArray block = daten.mid(i, 255);
        gif.append(char(block.size()));
        gif.append(block);
    }
    gif.append(char(0));
    gif.append(';');

    QFile datei(pfad);
    return datei.open(QIODevice::WriteOnly) && datei.write(gif) == gif.size();
}

}  // namespace lw::test
