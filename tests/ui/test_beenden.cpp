// Leaving the program without saving: the warning window from the close box
// and the cancel buttons. "Ja" ends the program for good (the application is
// told to exit), so the tests that answer "Ja" come last.
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include "tests/ui/HauptfensterTest.h"
#include "tests/ui/SkriptDialoge.h"
#include "ui/Anwendung.h"

using lw::test::Hauptfenster;
using lw::test::ModalAntwort;
using lw::test::SkriptDialoge;

namespace {

std::function<void(QWidget*)> Antworten(const char* knopf, QString* fenster = nullptr) {
    return [knopf, fenster](QWidget* w) {
        if (fenster) *fenster = w->objectName();
        w->findChild<QPushButton*>(QString::fromLatin1(knopf))->click();
    };
}

}  // namespace

class BeendenTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { AnwendungEinrichten(*qobject_cast<QApplication*>(qApp)); }

    void schliessfeldUndNeinBehaeltAlles() {
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 2);
        h.zeigen();
        h.finde<QLineEdit>("Edit5")->setText(QStringLiteral("bleibt"));
        QString fenster;
        ModalAntwort nein(Antworten("BitBtn2", &fenster));
        QVERIFY(!h.form1->close());
        QVERIFY(nein.erledigt());
        QCOMPARE(fenster, QStringLiteral("Form3"));
        QVERIFY(h.form1->isVisible());
        QVERIFY(!h.daten.BeendenBestaetigt);
        QCOMPARE(h.finde<QLineEdit>("Edit5")->text(), QStringLiteral("bleibt"));
    }

    // Closing the warning by its own close box is no answer: the window stays.
    void warnungOhneAntwortBehaeltFenster() {
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 1);
        h.zeigen();
        ModalAntwort schliessen([](QWidget* w) { w->close(); });
        QVERIFY(!h.form1->close());
        QVERIFY(schliessen.erledigt());
        QVERIFY(h.form1->isVisible());
    }

    void abbrechenKnoepfeFragenModal_data() {
        QTest::addColumn<QString>("modus");
        QTest::addColumn<int>("seite");
        QTest::addColumn<QString>("knopf");
        QTest::newRow("btn_AbbruchImport")
            << "NZAlt" << int(TForm1::kImportSeite) << "btn_AbbruchImport";
        QTest::newRow("BitBtn4") << "HPNeu" << int(TForm1::kBodySeite) << "BitBtn4";
        QTest::newRow("BitBtn6") << "HPNeu" << int(TForm1::kLinksSeite) << "BitBtn6";
    }
    void abbrechenKnoepfeFragenModal() {
        QFETCH(QString, modus);
        QFETCH(int, seite);
        QFETCH(QString, knopf);
        SkriptDialoge dialoge;
        Hauptfenster h(modus.toStdString(), 1);
        h.zeigen();
        h.finde<QTabWidget>("PageControl1")->setCurrentIndex(seite);
        bool modal = false;
        ModalAntwort nein([&modal](QWidget* w) {
            modal = w->isModal() && w->objectName() == QStringLiteral("Form3");
            w->findChild<QPushButton*>(QStringLiteral("BitBtn2"))->click();
        });
        h.finde<QPushButton>(knopf.toLatin1().constData())->click();
        QVERIFY(nein.erledigt());
        QVERIFY(modal);
        QVERIFY(h.form1->isVisible());
        QVERIFY(!h.daten.BeendenBestaetigt);
    }

    // BitBtn9 leaves the main window usable; a second request from the close
    // box meanwhile only brings the warning forward and closes nothing.
    void bitBtn9WarntOhneZuSperren() {
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 1);
        h.bisZumCode();
        auto* seiten = h.finde<QTabWidget>("PageControl1");
        h.finde<QPushButton>("BitBtn9")->click();
        QVERIFY(h.form3->isVisible());
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(h.form1->isEnabled());
        seiten->setCurrentIndex(TForm1::kBodySeite);
        QCOMPARE(seiten->currentIndex(), int(TForm1::kBodySeite));

        QVERIFY(!h.form1->close());
        QVERIFY(h.form3->isVisible());
        h.form3->findChild<QPushButton*>(QStringLiteral("BitBtn2"))->click();
        QVERIFY(!h.form3->isVisible());
        QVERIFY(h.form1->isVisible());
    }

    void schliessfeldUndJaBeendet() {
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 1);
        h.zeigen();
        QSignalSpy ende(h.form2, &TForm2::programmEndet);
        ModalAntwort ja(Antworten("BitBtn1"));
        QVERIFY(h.form1->close());
        QVERIFY(ja.erledigt());
        QVERIFY(h.daten.BeendenBestaetigt);
        QCOMPARE(ende.count(), 1);
        QVERIFY(!h.form1->isVisible());
    }

    // After "Ja" to the warning of BitBtn9 the main window closes itself as
    // soon as it is active again, without a second question.
    void jaNachBitBtn9SchliesstBeimAktivieren() {
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 1);
        h.bisZumCode();
        h.finde<QPushButton>("BitBtn9")->click();
        QVERIFY(h.form3->isVisible());
        h.form3->findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
        QVERIFY(h.daten.BeendenBestaetigt);
        h.form1->activateWindow();
        QTRY_VERIFY(!h.form1->isVisible());
        QVERIFY(!h.form3->isVisible());
    }
};

QTEST_MAIN(BeendenTest)
#include "test_beenden.moc"
