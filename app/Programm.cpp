#include "app/Programm.h"

#include <QApplication>
#include <QEvent>
#include <QWindow>
#include <memory>
#include <utility>

#include "app/Programmfenster.h"
#include "model/Projektdaten.h"

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
    // The main window's pages hold most of the program's controls; nobody
    // sees them before a mode was chosen, and making them then keeps the start short.
    Programmfenster alle(daten, TForm1::Aufbau::beimZeigen);

    alle.form2->show();
    if (wennSichtbar) new ErstesBild(alle.form2->windowHandle(), wennSichtbar);
    return app.exec();
}
