// What the program's start leaves for later: the main window's pages are made
// when it is first shown, the dialog buttons' stock symbols when first drawn.
// Neither may differ from what is made at once.
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTest>
#include <memory>

#include "model/Projektdaten.h"
#include "ui/Anwendung.h"
#include "ui/Fenster.h"
#include "ui/MainForm.h"

namespace {

// Every named control with what the user sees of it.
QStringList Steuerelemente(const QWidget& fenster) {
    QStringList liste;
    for (const QWidget* w : fenster.findChildren<QWidget*>()) {
        if (w->objectName().isEmpty()) continue;
        const QRect g = w->geometry();
        QString text;
        if (const auto* k = qobject_cast<const QPushButton*>(w))
            text = k->text() + (k->icon().isNull() ? QString() : QStringLiteral(" +Symbol"));
        liste << QStringLiteral("%1 %2,%3 %4x%5 %6 [%7]")
                     .arg(w->objectName())
                     .arg(g.x())
                     .arg(g.y())
                     .arg(g.width())
                     .arg(g.height())
                     .arg(text, w->toolTip());
    }
    liste.sort();
    return liste;
}

}  // namespace

class StartAufbauTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { AnwendungEinrichten(*qApp); }

    void hauptfensterSeitenBeimZeigen() {
        QFETCH(QString, modus);
        lw::Projektdaten datenSofort, datenSpaeter;
        datenSofort.Modus = datenSpaeter.Modus = modus.toStdString();
        datenSofort.Seitenzahl = datenSpaeter.Seitenzahl = 2;
        Fenster fensterSofort, fensterSpaeter;
        TForm1 sofort(datenSofort, fensterSofort);
        TForm1 spaeter(datenSpaeter, fensterSpaeter, TForm1::Aufbau::beimZeigen);

        // Hidden, the window already has its pages and their headers.
        auto* seiten = spaeter.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
        QVERIFY(seiten);
        QCOMPARE(seiten->count(), 5);
        QCOMPARE(seiten->tabText(TForm1::kBodySeite), QStringLiteral("Dateiweite Einstellungen"));
        QVERIFY(!spaeter.findChild<QWidget*>(QStringLiteral("btn_WeiterImport")));

        sofort.ModusZeigen(datenSofort.Modus);
        spaeter.ModusZeigen(datenSpaeter.Modus);
        QCOMPARE(Steuerelemente(spaeter), Steuerelemente(sofort));
        QVERIFY(spaeter.findChild<QWidget*>(QStringLiteral("btn_WeiterImport"))->isVisibleTo(
            seiten->widget(TForm1::kImportSeite)));
        QCOMPARE(seiten->currentIndex(),
                 sofort.findChild<QTabWidget*>(QStringLiteral("PageControl1"))->currentIndex());
    }
    void hauptfensterSeitenBeimZeigen_data() {
        QTest::addColumn<QString>("modus");
        QTest::newRow("HPNeu") << QString::fromLatin1(lw::kModusHPNeu);
        QTest::newRow("NZAlt") << QString::fromLatin1(lw::kModusNZAlt);
    }

    // Reading the controls' values does not depend on the window having been shown.
    void eingabenOhneZeigen() {
        lw::Projektdaten daten;
        Fenster fenster;
        TForm1 sofort(daten, fenster);
        TForm1 spaeter(daten, fenster, TForm1::Aufbau::beimZeigen);
        const lw::CodeEingaben a = sofort.CodeEingabenLesen();
        const lw::CodeEingaben b = spaeter.CodeEingabenLesen();
        QCOMPARE(b.menueFixiert, a.menueFixiert);
        QCOMPARE(b.eineGrafikFuerAlle, a.eineGrafikFuerAlle);
        QCOMPARE(b.bannerAlt, a.bannerAlt);
        QCOMPARE(b.bannerTooltipp, a.bannerTooltipp);
    }

    // The symbol looked up late draws as the platform style's own symbol.
    void stockSymbolWieDerStil() {
        QFETCH(int, art);
        const auto sp = static_cast<QStyle::StandardPixmap>(art);
        QStyle* stil = QApplication::style();
        QStyle* basis = stil;
        const auto* proxy = qobject_cast<const QProxyStyle*>(stil);
        if (proxy) basis = proxy->baseStyle();
        const QIcon spaet = stil->standardIcon(sp);
        const QIcon echt = basis->standardIcon(sp);
        QCOMPARE(spaet.isNull(), echt.isNull());
        QCOMPARE(spaet.availableSizes(), echt.availableSizes());
        if (echt.isNull()) return;
        QCOMPARE(spaet.pixmap(16).toImage(), echt.pixmap(16).toImage());
        // A copy made before the first drawing draws the same.
        const QIcon kopie = stil->standardIcon(sp);
        const QIcon zweite = kopie;
        QCOMPARE(zweite.pixmap(32).toImage(), echt.pixmap(32).toImage());
    }
    void stockSymbolWieDerStil_data() {
        QTest::addColumn<int>("art");
        QTest::newRow("OK") << int(QStyle::SP_DialogOkButton);
        QTest::newRow("Abbrechen") << int(QStyle::SP_DialogCancelButton);
        QTest::newRow("Ja") << int(QStyle::SP_DialogYesButton);
        QTest::newRow("Nein") << int(QStyle::SP_DialogNoButton);
        QTest::newRow("Abbruch") << int(QStyle::SP_DialogAbortButton);
    }
};

QTEST_MAIN(StartAufbauTest)
#include "test_start_aufbau.moc"
