// The publish window: reached from the code tab through "Danach veröffentlichen"
// and from the start window; it stays whatever a publish ends in.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "app/Browser.h"
#include "tests/support/Dateiserver.h"
#include "tests/support/HttpServer.h"
#include "tests/support/TempOrdner.h"
#include "tests/ui/HauptfensterTest.h"
#include "tests/ui/SkriptDialoge.h"
#include "ui/Anwendung.h"
#include "ui/Veroeffentlichen.h"

using lw::test::Hauptfenster;
using lw::test::Lesen;
using lw::test::ModalAntwort;
using lw::test::SkriptDialoge;
using lw::test::TempOrdner;

namespace {

QString Q(const std::string& pfad) {
    return QString::fromStdString(pfad);
}

// The program's end stops every event loop that follows; a short run of the
// application's own loop clears that, so the next road can open its windows.
void NachDemEnde() {
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
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

    // Whatever a publish ends in (here: a refusal of the window's own, a
    // refused port, a loop of links where the key's public half should be,
    // "Abbrechen" while the files are read), the window stays with the outcome
    // above its buttons, everything typed kept and every field usable again.
    void bleibtOffen_data() {
        QTest::addColumn<int>("protokoll");
        QTest::addColumn<QString>("adresse");
        QTest::addColumn<QString>("meldung");  // its start; any text where empty
        QTest::newRow("Adresse") << 2 << "/usr/bin/xterm"
                                 << "Bitte geben Sie die Adresse";
        QTest::newRow("abgewiesen") << 2 << "www.beispiel.de"
                                    << "Der Server";
        QTest::newRow("Schleife") << 0 << ""
                                  << "";
        QTest::newRow("Abbrechen") << 0 << ""
                                   << "Das Veröffentlichen wurde abgebrochen.";
    }
    void bleibtOffen() {
        QFETCH(int, protokoll);
        QFETCH(QString, adresse);
        QFETCH(QString, meldung);
        TempOrdner ordner;
        std::filesystem::create_directories(ordner / "Neu");
        lw::test::Schreiben(ordner / "Neu/gross.bin", "");
        if (meldung.endsWith("abgebrochen."))
            std::filesystem::resize_file(ordner / "Neu/gross.bin", std::uintmax_t{512} << 20);
        SkriptDialoge dialoge;
        Tfrm_Veroeffentlichen w(ordner.pfad(), "");
        w.show();
        const auto feld = [&w](const char* name) { return w.findChild<QLineEdit*>(name); };
        w.findChild<QComboBox*>("cb_Protokoll")->setCurrentIndex(protokoll);
        QVERIFY(!feld("ed_Passphrase")->isVisible());
        if (meldung.isEmpty()) {
            lw::test::Schreiben(ordner / "schluessel", "");
            std::filesystem::create_symlink(ordner / "schluessel.pub", ordner / "schluessel.pub");
            dialoge.naechsteDatei(Q(ordner / "schluessel"));
            w.findChild<QPushButton*>("btn_Schluessel")->click();
            QVERIFY(feld("ed_Passphrase")->isVisible());
            feld("ed_Passphrase")->setText(QStringLiteral("Schloss"));
        }
        feld("ed_Server")->setText(QStringLiteral("127.0.0.1"));
        feld("ed_Port")->setText(QString::number(lw::test::FreierPort()));
        feld("ed_Passwort")->setText(QStringLiteral("geheim"));
        feld("ed_Adresse")->setText(adresse);
        auto* abbrechen = w.findChild<QPushButton*>("btn_AbbrechenVeroeffentlichen");
        if (meldung.endsWith("abgebrochen.")) QTimer::singleShot(0, abbrechen, &QPushButton::click);
        w.findChild<QPushButton*>("btn_Veroeffentlichen")->click();

        const QString text = w.findChild<QLabel*>("lbl_Meldung")->text();
        QVERIFY2(text.startsWith(meldung) && !text.isEmpty(), qPrintable(text));
        QVERIFY(w.isVisible());
        for (QWidget* f : w.findChildren<QWidget*>())
            QVERIFY2(f->isEnabled(), qPrintable(f->objectName()));
        QCOMPARE(feld("ed_Passwort")->text(), QStringLiteral("geheim"));
        if (meldung.isEmpty()) QCOMPARE(feld("ed_Passphrase")->text(), QStringLiteral("Schloss"));
        abbrechen->click();
        QVERIFY(!w.isVisible());
    }

    // "Gespeicherte Homepage veröffentlichen": a folder without Neu is refused,
    // Neu opens the publish window alone; closing it ends the program.
    void vomStartfenster() {
        TempOrdner ordner;
        std::filesystem::create_directories(ordner / "Neu");
        SkriptDialoge dialoge;
        Hauptfenster start;
        start.form2->show();
        QSignalSpy ende(start.form2, &TForm2::programmEndet);
        auto* knopf = start.form2->findChild<QPushButton*>("btn_VeroeffentlichenHP");
        dialoge.naechsterOrdner(QString());
        dialoge.naechsterOrdner(Q(ordner / "Neu/x"));
        knopf->click();
        knopf->click();
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Meldung),
                 QStringList{QStringLiteral("Im Ordner „%1“ wurde keine mit Leistenwerk "
                                            "gespeicherte Homepage gefunden.")
                                 .arg(Q(ordner / "Neu/x"))});
        QVERIFY(start.form2->isVisible());
        ModalAntwort fenster([&](QWidget* w) {
            QCOMPARE(w->objectName(), QStringLiteral("frm_Veroeffentlichen"));
            QVERIFY(!start.form2->isVisible() && !start.form1->isVisible());
            w->close();
        });
        dialoge.naechsterOrdner(Q(ordner / "Neu"));
        knopf->click();
        QVERIFY(fenster.erledigt());
        QCOMPARE(ende.count(), 1);
        NachDemEnde();
    }

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
        dialoge.naechsteAntwort(true);         // the unknown host key
        dialoge.naechsterZweiterKnopf(false);  // the save's "Ordner öffnen"
        dialoge.naechsterZweiterKnopf(true);   // "Homepage ansehen"
        QStringList geoeffnet;
        browserOeffnerSetzen([&](const QString& a) { geoeffnet << a; });
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
            feld("ed_Adresse")->setText(QStringLiteral("https://www.beispiel.de"));
            w->findChild<QPushButton*>("btn_Veroeffentlichen")->click();
            w->findChild<QPushButton*>("btn_AbbrechenVeroeffentlichen")->click();
        });
        h.finde<QPushButton>("BitBtn10")->click();
        QVERIFY(fuellen.erledigt());

        const std::string neu = ordner / "Neu";
        QVERIFY(Lesen(neu + "/index.html").find("url=Seite1.html") != std::string::npos);
        QVERIFY(lw::test::Inhalt(server) == lw::test::Inhalt(neu));
        const auto meldung = dialoge.von(SkriptDialoge::Art::Meldung).back();
        QVERIFY(meldung.text.startsWith(QStringLiteral("Veröffentlicht: ")) &&
                meldung.text.endsWith(QStringLiteral("\nIhre Homepage: https://www.beispiel.de")));
        QCOMPARE(meldung.titel, QStringLiteral("Homepage ansehen"));
        QCOMPARE(geoeffnet, QStringList{QStringLiteral("https://www.beispiel.de")});
        QVERIFY(dialoge.von(SkriptDialoge::Art::Fehler).empty());
        const std::string ini = Lesen(ordner / "Veroeffentlichen.ini");
        QVERIFY(ini.find("nie notiert") == std::string::npos);
        QVERIFY(ini.find("SHA256:") != std::string::npos);
        QVERIFY(ini.find(server) != std::string::npos);
        QCOMPARE(ende.count(), 1);
        QVERIFY(dialoge.alleAntwortenVerbraucht());
        browserOeffnerSetzen([](const QString&) {});
    }
};

QTEST_MAIN(VeroeffentlichenFensterTest)
#include "test_veroeffentlichen_fenster.moc"
