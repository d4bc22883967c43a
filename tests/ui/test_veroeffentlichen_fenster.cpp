// The publish window reached from the code tab: "Danach veröffentlichen",
// the window's fields, and the saved site on a loopback SFTP server.
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include "app/Browser.h"
#include "tests/support/Dateiserver.h"
#include "tests/support/TempOrdner.h"
#include "tests/ui/HauptfensterTest.h"
#include "tests/ui/SkriptDialoge.h"
#include "ui/Anwendung.h"

using lw::test::Hauptfenster;
using lw::test::Lesen;
using lw::test::ModalAntwort;
using lw::test::SkriptDialoge;
using lw::test::TempOrdner;

namespace {

QPushButton* Knopf(const Hauptfenster& h, const char* name) {
    auto* knopf = h.finde<QPushButton>(name);
    if (!knopf) qFatal("Kein Knopf %s", name);
    return knopf;
}

QString Q(const std::string& pfad) {
    return QString::fromStdString(pfad);
}

}  // namespace

class VeroeffentlichenFensterTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        AnwendungEinrichten(*qobject_cast<QApplication*>(qApp));
        browserOeffnerSetzen([](const QString&) {});
    }
    void cleanupTestCase() { browserOeffnerSetzen({}); }

    // "Danach veröffentlichen": after the save's message the publish window
    // takes the site to a loopback SFTP server, with the start page it
    // offers, keeps everything but the password beside Neu, and the program
    // ends as after any save.
    void speichernUndVeroeffentlichen() {
        TempOrdner ordner;
        lw::test::SftpServer sftp;
        const std::string server = sftp.ordner() + "/htdocs";
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 2);
        QSignalSpy ende(h.form2, &TForm2::programmEndet);
        h.daten.ButtonHoehe.Setzen(1, 30);
        h.daten.ButtonBreite.Setzen(1, 120);
        h.zeigen();
        auto* seiten = h.finde<QTabWidget>("PageControl1");
        seiten->setCurrentIndex(TForm1::kLinksSeite);
        seiten->setCurrentIndex(TForm1::kCodeSeite);
        auto* box = h.finde<QCheckBox>("cbx_Veroeffentlichen");
        QVERIFY(box->isHidden());
        dialoge.naechsterOrdner(Q(ordner.pfad()));
        Knopf(h, "Button1")->click();
        QVERIFY(box->isVisible());
        QCOMPARE(box->text(), QStringLiteral("Danach veröffentlichen"));
        QCOMPARE(box->pos(), QPoint(8, 324));
        QVERIFY(!box->isChecked());
        box->click();

        dialoge.naechsteDatei(Q(sftp.schluessel()));
        // The unknown host key is asked about once.
        dialoge.naechsteAntwort(true);
        bool sichtbar = false;
        ModalAntwort fuellen([&](QWidget* w) {
            QCOMPARE(w->objectName(), QStringLiteral("frm_Veroeffentlichen"));
            QCOMPARE(w->windowTitle(), QStringLiteral("Veröffentlichen"));
            auto* protokoll = w->findChild<QComboBox*>("cb_Protokoll");
            auto* port = w->findChild<QLineEdit*>("ed_Port");
            auto* warnung = w->findChild<QLabel*>("lbl_Warnung");
            QCOMPARE(port->text(), QStringLiteral("22"));
            protokoll->setCurrentIndex(2);
            QCOMPARE(port->text(), QStringLiteral("21"));
            QVERIFY(warnung->isVisible());
            protokoll->setCurrentIndex(0);
            QVERIFY(!warnung->isVisible());
            sichtbar = w->findChild<QCheckBox*>("cbx_Startseite")->isVisible();
            w->findChild<QLineEdit*>("ed_Server")->setText(QStringLiteral("127.0.0.1"));
            port->setText(QString::number(sftp.port()));
            w->findChild<QLineEdit*>("ed_Benutzer")
                ->setText(qEnvironmentVariable("USER", QStringLiteral("root")));
            auto* passwort = w->findChild<QLineEdit*>("ed_Passwort");
            QCOMPARE(passwort->echoMode(), QLineEdit::Password);
            passwort->setText(QStringLiteral("nie notiert"));
            w->findChild<QPushButton*>("btn_Schluessel")->click();
            w->findChild<QLineEdit*>("ed_Ordner")->setText(Q(server));
            w->findChild<QPushButton*>("btn_Veroeffentlichen")->click();
        });
        Knopf(h, "BitBtn10")->click();
        QVERIFY(fuellen.erledigt());
        QVERIFY(sichtbar);

        const std::string neu = ordner / "Neu";
        QVERIFY(QFileInfo::exists(Q(neu + "/index.html")));
        QVERIFY(Lesen(neu + "/index.html").find("url=Seite1.html") != std::string::npos);
        QVERIFY(lw::test::Inhalt(server) == lw::test::Inhalt(neu));
        QCOMPARE(dialoge.von(SkriptDialoge::Art::Frage).size(), size_t(1));
        QVERIFY(dialoge.texte(SkriptDialoge::Art::Meldung)
                    .last()
                    .startsWith(QStringLiteral("Veröffentlicht: ")));
        QVERIFY(dialoge.von(SkriptDialoge::Art::Fehler).empty());
        const std::string ini = Lesen(ordner / "Veroeffentlichen.ini");
        QVERIFY(ini.find("nie notiert") == std::string::npos);
        QVERIFY(ini.find("SHA256:") != std::string::npos);
        QVERIFY(ini.find(server) != std::string::npos);
        QCOMPARE(ende.count(), 1);
        QVERIFY(dialoge.alleAntwortenVerbraucht());
    }
};

QTEST_MAIN(VeroeffentlichenFensterTest)
#include "test_veroeffentlichen_fenster.moc"
