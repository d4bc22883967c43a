// The publish window reached from the code tab through "Danach veröffentlichen".
#include <QCheckBox>
#include <QComboBox>
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

    // "Danach veröffentlichen" after the save takes the site to a loopback SFTP
    // server with the offered start page, keeps all but the password, then ends.
    void speichernUndVeroeffentlichen() {
        TempOrdner ordner;
        lw::test::SftpServer sftp;
        const std::string server = sftp.ordner() + "/htdocs";
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 2);
        QSignalSpy ende(h.form2, &TForm2::programmEndet);
        h.bisZumCode();
        auto* box = h.finde<QCheckBox>("cbx_Veroeffentlichen");
        QVERIFY(box->isHidden());
        dialoge.naechsterOrdner(Q(ordner.pfad()));
        h.finde<QPushButton>("Button1")->click();
        QVERIFY(box->isVisible());
        box->click();

        dialoge.naechsteDatei(Q(sftp.schluessel()));
        dialoge.naechsteAntwort(true);  // the unknown host key
        ModalAntwort fuellen([&](QWidget* w) {
            const auto feld = [w](const char* name) { return w->findChild<QLineEdit*>(name); };
            auto* protokoll = w->findChild<QComboBox*>("cb_Protokoll");
            // FTP brings its port and the warning; SFTP takes them back.
            protokoll->setCurrentIndex(2);
            QCOMPARE(feld("ed_Port")->text(), QStringLiteral("21"));
            QVERIFY(w->findChild<QLabel*>("lbl_Warnung")->isVisible());
            protokoll->setCurrentIndex(0);
            QCOMPARE(feld("ed_Port")->text(), QStringLiteral("22"));
            QVERIFY(!w->findChild<QLabel*>("lbl_Warnung")->isVisible());
            QVERIFY(w->findChild<QCheckBox*>("cbx_Startseite")->isVisible());
            feld("ed_Server")->setText(QStringLiteral("127.0.0.1"));
            feld("ed_Port")->setText(QString::number(sftp.port()));
            feld("ed_Benutzer")->setText(qEnvironmentVariable("USER", QStringLiteral("root")));
            feld("ed_Passwort")->setText(QStringLiteral("nie notiert"));
            w->findChild<QPushButton*>("btn_Schluessel")->click();
            feld("ed_Ordner")->setText(Q(server));
            w->findChild<QPushButton*>("btn_Veroeffentlichen")->click();
        });
        h.finde<QPushButton>("BitBtn10")->click();
        QVERIFY(fuellen.erledigt());

        const std::string neu = ordner / "Neu";
        QVERIFY(Lesen(neu + "/index.html").find("url=Seite1.html") != std::string::npos);
        QVERIFY(lw::test::Inhalt(server) == lw::test::Inhalt(neu));
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
