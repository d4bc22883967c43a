// The smallest Qt Widgets program with one window of the start window's size
// that shows a line of text, so that it loads fonts as every real window does;
// ended as soon as the window is on the screen. Prints the monotonic time of
// that moment for bench_start.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QWindow>
#include <cstdio>

#include "bench/Messung.h"

namespace {

// As in the program: after the first expose has been handled.
class ErstesBild final : public QObject {
public:
    explicit ErstesBild(QWindow* fenster) : QObject(fenster) { fenster->installEventFilter(this); }

    bool eventFilter(QObject* objekt, QEvent* ereignis) override {
        if (!gemeldet_ && ereignis->type() == QEvent::Expose &&
            static_cast<QWindow*>(objekt)->isExposed()) {
            gemeldet_ = true;
            QMetaObject::invokeMethod(
                this,
                [] {
                    std::printf("%.9f\n", lw::bench::Jetzt());
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool gemeldet_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel fenster("Willkommen bei Leistenwerk");
    fenster.resize(347, 355);
    fenster.show();
    new ErstesBild(fenster.windowHandle());
    return app.exec();
}
