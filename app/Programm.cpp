#include "app/Programm.h"

#include <QApplication>
#include <QEvent>
#include <QWindow>
#include <memory>
#include <utility>

#include "app/About.h"
#include "model/Projektdaten.h"
#include "ui/Abbruch.h"
#include "ui/ButtonGroesse.h"
#include "ui/Fenster.h"
#include "ui/Hilfe.h"
#include "ui/LinkZahl.h"
#include "ui/MainForm.h"
#include "ui/Status.h"

namespace {

// Calls its function once, after the window's first expose has been handled,
// that is, after the first picture of the window was drawn and handed over.
class ErstesBild final : public QObject {
public:
    ErstesBild(QWindow* fenster, std::function<void()> melden)
        : QObject(fenster), melden_(std::move(melden)) {
        fenster->installEventFilter(this);
    }

    bool eventFilter(QObject* objekt, QEvent* ereignis) override {
        if (!gemeldet_ && ereignis->type() == QEvent::Expose &&
            static_cast<QWindow*>(objekt)->isExposed()) {
            gemeldet_ = true;
            QMetaObject::invokeMethod(this, melden_, Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void()> melden_;
    bool gemeldet_ = false;
};

}  // namespace

int LeistenwerkAusfuehren(QApplication& app, const std::function<void()>& wennSichtbar) {
    QApplication::setApplicationName(QStringLiteral("Leistenwerk"));
    // The program ends when the start window closes, and only then.
    QApplication::setQuitOnLastWindowClosed(false);

    lw::Projektdaten daten;
    Fenster fenster;
    // Created once, in this order; they reach each other through fenster.
    auto form2 = std::make_unique<TForm2>(daten, fenster);
    fenster.Form2 = form2.get();
    // Its pages hold most of the program's controls; nobody sees them before
    // a mode was chosen, and making them then keeps the start short.
    auto form1 = std::make_unique<TForm1>(daten, fenster, TForm1::Aufbau::beimZeigen);
    fenster.Form1 = form1.get();
    auto form3 = std::make_unique<TForm3>(daten, fenster);
    fenster.Form3 = form3.get();
    auto status = std::make_unique<Tfrm_Status>();
    fenster.frm_Status = status.get();
    auto buttonGroesse = std::make_unique<Tfrm_ButtonGroesse>(daten);
    fenster.frm_ButtonGroesse = buttonGroesse.get();
    auto form4 = std::make_unique<TForm4>();
    fenster.Form4 = form4.get();
    auto linkAnzahl = std::make_unique<Tfrm_LinkAnzahl>(daten);
    fenster.frm_LinkAnzahl = linkAnzahl.get();

    form2->show();
    if (wennSichtbar) new ErstesBild(form2->windowHandle(), wennSichtbar);
    return app.exec();
}
