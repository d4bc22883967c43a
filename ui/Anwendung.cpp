#include "ui/Anwendung.h"

#include <QFontDatabase>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <exception>

#include "common/Fehler.h"
#include "ui/Dialoge.h"
#include "ui/TextUmwandlung.h"

namespace {

const QString kSchrift = QStringLiteral("Tahoma");
constexpr int kSchriftPunkte = 8;

// Debian's fonts-wine ships Tahoma outside the font configuration's folders.
// Its bold file (tahomabd.ttf) draws hardly heavier than the regular one, so it
// is left out: Qt then emboldens the regular face, which reads as bold.
const char* const kTahomaDatei = "/usr/share/wine/fonts/tahoma.ttf";

QString SchriftFamilie() {
    if (QFontDatabase::hasFamily(kSchrift)) return kSchrift;
    QFontDatabase::addApplicationFont(QString::fromLatin1(kTahomaDatei));
    if (QFontDatabase::hasFamily(kSchrift)) return kSchrift;
    // Arial's metrics (Liberation Sans) come closest, so the designed positions still fit.
    for (const QString& ersatz : {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")})
        if (QFontDatabase::hasFamily(ersatz)) return ersatz;
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

// A stock symbol that is looked up when it is first drawn or measured. The
// first lookup searches the desktop's icon theme and decodes the built-in
// pictures, which would cost the start several milliseconds for buttons of
// windows that are not shown yet.
class StockSymbol final : public QIconEngine {
public:
    StockSymbol(QStyle* stil, QStyle::StandardPixmap art) : stil_(stil), art_(art) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        echt().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return echt().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return echt().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return echt().pixmap(size, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return echt().availableSizes(mode, state);
    }
    bool isNull() override { return echt().isNull(); }
    QString iconName() override { return echt().name(); }
    QString key() const override { return QStringLiteral("StockSymbol"); }
    QIconEngine* clone() const override { return new StockSymbol(*this); }

private:
    const QIcon& echt() {
        if (!geladen_ && stil_) {
            echt_ = stil_->standardIcon(art_);
            geladen_ = true;
        }
        return echt_;
    }

    QPointer<QStyle> stil_;
    QStyle::StandardPixmap art_;
    QIcon echt_;
    bool geladen_ = false;
};

// The application's own style, which hands out the dialog buttons' stock
// symbols as StockSymbol; everything else is the platform's style unchanged.
class Stil final : public QProxyStyle {
public:
    explicit Stil(const QString& basis) : QProxyStyle(basis) {}

    QIcon standardIcon(StandardPixmap art, const QStyleOption* option,
                       const QWidget* widget) const override {
        switch (art) {
            case SP_DialogOkButton:
            case SP_DialogCancelButton:
            case SP_DialogYesButton:
            case SP_DialogNoButton:
            case SP_DialogAbortButton:
                if (!option) return QIcon(new StockSymbol(baseStyle(), art));
                break;
            default:
                break;
        }
        return QProxyStyle::standardIcon(art, option, widget);
    }
};

}  // namespace

void AnwendungEinrichten(QApplication& app) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto* uebersetzung = new QTranslator(&app);
    if (uebersetzung->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(uebersetzung);
    else
        delete uebersetzung;

    if (!dynamic_cast<Stil*>(QApplication::style()))
        QApplication::setStyle(new Stil(QApplication::style()->name()));

    QFont schrift(SchriftFamilie());
    schrift.setPointSize(kSchriftPunkte);
    QApplication::setFont(schrift);
}

Anwendung::Anwendung(int& argc, char** argv) : QApplication(argc, argv) {
    AnwendungEinrichten(*this);
}

void FehlerMelden(QWidget* eltern, const lw::Fehler& fehler) {
    // The program's own refusals are no errors: the plain message box.
    if (dynamic_cast<const lw::Hinweis*>(&fehler))
        lw::ui::dialoge().Meldung(eltern, alsQString(fehler.what()));
    else
        lw::ui::dialoge().FehlerZeigen(eltern, alsQString(fehler.what()));
}

bool Anwendung::notify(QObject* empfaenger, QEvent* ereignis) {
    try {
        return QApplication::notify(empfaenger, ereignis);
    } catch (const lw::Fehler& f) {
        FehlerMelden(nullptr, f);
    } catch (const std::exception& e) {
        // Texts of the runtime library are not Windows-1252 but UTF-8 (mostly ASCII).
        lw::ui::dialoge().FehlerZeigen(nullptr, QString::fromUtf8(e.what()));
    } catch (...) {
        lw::ui::dialoge().FehlerZeigen(nullptr, QStringLiteral("Unbekannter Fehler"));
    }
    return false;
}
