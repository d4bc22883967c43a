#include "ui/Anwendung.h"

#include <QFontDatabase>
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

}  // namespace

void AnwendungEinrichten(QApplication& app) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto* uebersetzung = new QTranslator(&app);
    if (uebersetzung->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(uebersetzung);
    else
        delete uebersetzung;

    QFont schrift(SchriftFamilie());
    schrift.setPointSize(kSchriftPunkte);
    QApplication::setFont(schrift);
}

Anwendung::Anwendung(int& argc, char** argv) : QApplication(argc, argv) {
    AnwendungEinrichten(*this);
}

void FehlerMelden(QWidget* eltern, const lw::Fehler& fehler) {
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
