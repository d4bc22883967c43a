// The page "Dateiweite Einstellungen": the page colour and font choosers,
// background picture, banner and the picture options.
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "common/Dateien.h"
#include "common/Zeichensatz.h"
#include "tests/support/TempOrdner.h"
#include "tests/ui/HauptfensterTest.h"
#include "tests/ui/SkriptDialoge.h"
#include "ui/Anwendung.h"
#include "ui/TextUmwandlung.h"

using lw::test::Hauptfenster;
using lw::test::SkriptDialoge;

namespace {

const QString kFilter = QStringLiteral(
    "Grafiken (*.jpg *.jpeg *.gif *.png);;JPEG (*.jpg *.jpeg);;GIF (*.gif);;PNG (*.png)");
const std::string kOhneStil =
    "        font-weight: normal;\n        font-style: normal;\n        text-decoration: none;";

lw::ui::SchriftWahl Schrift(const QString& familie, int punkte, bool fett, bool kursiv,
                            QColor farbe) {
    lw::ui::SchriftWahl s;
    s.familie = familie;
    s.punkte = punkte;
    s.fett = fett;
    s.kursiv = kursiv;
    s.farbe = farbe;
    return s;
}

}  // namespace

class EinstellungenTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { AnwendungEinrichten(*qobject_cast<QApplication*>(qApp)); }

    void anfangszustand() {
        Hauptfenster h(lw::kModusHPNeu, 1);
        h.zeigen();
        QCOMPARE(h.finde<QLineEdit>("Edit1")->text(), QStringLiteral("Hintergrundbild wählen"));
        QCOMPARE(h.finde<QLineEdit>("Edit2")->text(), QStringLiteral("Banner wählen"));
        QVERIFY(h.finde<QLineEdit>("Edit1")->isReadOnly());
        QVERIFY(h.finde<QLineEdit>("Edit2")->isReadOnly());
        QVERIFY(!h.finde<QLineEdit>("Edit5")->isReadOnly());
        QVERIFY(h.finde<QRadioButton>("rbtn_HintergrundKachel")->isChecked());
        QVERIFY(!h.finde<QCheckBox>("chckbx_HintergrundFix")->isChecked());
        QVERIFY(!h.finde<QCheckBox>("cbx_MenueFixieren")->isChecked());
        QCOMPARE(h.daten.HintergrundBild, std::string());
        QCOMPARE(h.daten.BannerDatei, std::string());
        QVERIFY(!h.form1->CodeEingabenLesen().menueFixiert);
    }

    void hintergrundfarbe() {
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 1);
        h.zeigen();
        auto* knopf = h.finde<QPushButton>("btn_HintergrundFarbe");
        dialoge.naechsteFarbe(std::nullopt);
        knopf->click();
        QCOMPARE(h.daten.BodyHintergrundFarbe, std::string("ffffff"));
        dialoge.naechsteFarbe(QColor(0, 0, 255));
        knopf->click();
        QCOMPARE(h.daten.BodyHintergrundFarbe, std::string("0000ff"));
        dialoge.naechsteFarbe(QColor(Qt::black));
        knopf->click();
        QCOMPARE(h.daten.BodyHintergrundFarbe, std::string("000000"));
        // Every opening starts at white, not at the last choice.
        const auto aufrufe = dialoge.von(SkriptDialoge::Art::Farbe);
        QCOMPARE(aufrufe.size(), size_t(3));
        for (const auto& aufruf : aufrufe) QCOMPARE(aufruf.vorgabeFarbe, QColor(Qt::white));
    }

    void seitenschrift() {
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 1);
        h.zeigen();
        auto* knopf = h.finde<QPushButton>("btn_BodyFont");

        dialoge.naechsteSchrift(Schrift("Georgia", 18, true, false, QColor(0x99, 0x66, 0x33)));
        knopf->click();
        QCOMPARE(h.daten.BodySchriftName, std::string("Georgia"));
        QCOMPARE(h.daten.BodySchriftGroesse, 18);
        QCOMPARE(h.daten.BodySchriftFarbe, std::string("996633"));
        QCOMPARE(h.daten.BodySchriftStil,
                 std::string("        font-weight: bold;\n        font-style: normal;\n"
                             "        text-decoration: none;"));

        // Cancelling: name and size fall back to the preset, colour and style stay.
        dialoge.naechsteSchrift(std::nullopt);
        knopf->click();
        QCOMPARE(h.daten.BodySchriftName, std::string("Arial"));
        QCOMPARE(h.daten.BodySchriftGroesse, 14);
        QCOMPARE(h.daten.BodySchriftFarbe, std::string("996633"));
        QVERIFY(h.daten.BodySchriftStil.find("bold") != std::string::npos);

        // A regular font confirmed afterwards gives the plain entry again.
        dialoge.naechsteSchrift(Schrift("Arial", 12, false, false, QColor(Qt::black)));
        knopf->click();
        QCOMPARE(h.daten.BodySchriftStil, kOhneStil);
        QCOMPARE(h.daten.BodySchriftGroesse, 12);
        QCOMPARE(h.daten.BodySchriftFarbe, std::string("000000"));

        for (const auto& aufruf : dialoge.von(SkriptDialoge::Art::Schrift)) {
            QCOMPARE(aufruf.vorgabeSchrift.familie, QStringLiteral("Arial"));
            QCOMPARE(aufruf.vorgabeSchrift.punkte, 14);
            QVERIFY(!aufruf.vorgabeSchrift.fett && !aufruf.vorgabeSchrift.unterstrichen);
            QCOMPARE(aufruf.vorgabeSchrift.farbe, QColor(Qt::black));
        }
    }

    // The background picture is not opened: a missing file is taken as it is.
    void hintergrundbild() {
        lw::test::TempOrdner ordner;
        const QString pfad = QString::fromStdString(ordner / "Kacheln für alle.gif");
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 1);
        h.zeigen();
        auto* laden = h.finde<QPushButton>("btn_HintergrundLaden");
        dialoge.naechsteDatei(pfad);
        dialoge.naechsteDatei(QString());
        laden->click();
        laden->click();
        QCOMPARE(h.daten.HintergrundBild, alsCp1252(pfad));
        QCOMPARE(h.daten.HintergrundBild, ordner / lw::W("Kacheln für alle.gif"));
        QCOMPARE(h.finde<QLineEdit>("Edit1")->text(), pfad);

        const auto aufruf = dialoge.von(SkriptDialoge::Art::Datei).at(0);
        QCOMPARE(aufruf.titel, QStringLiteral("Hintergrundbild laden..."));
        QCOMPARE(aufruf.filter, kFilter);
        QCOMPARE(aufruf.ersterOrdner, alsQString(lw::ProgrammOrdner() + "/Texturen"));
        QVERIFY(dialoge.texte(SkriptDialoge::Art::Fehler).isEmpty());
    }

    void banner() {
        lw::test::TempOrdner ordner;
        QVERIFY(QDir().mkpath(QString::fromStdString(ordner / "Bilder für später")));
        const QString gut = QString::fromStdString(ordner / "Bilder für später/banner.gif");
        const QString kaputt = QString::fromStdString(ordner / "leer.jpg");
        QVERIFY(lw::test::GifSchreiben(gut, 300, 60));
        lw::test::Schreiben(ordner / "leer.jpg", "");
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 1);
        h.zeigen();
        auto* laden = h.finde<QPushButton>("Button8");
        dialoge.naechsteDatei(gut);
        laden->click();
        QCOMPARE(h.daten.BannerDatei, ordner / lw::W("Bilder für später/banner.gif"));
        QCOMPARE(h.daten.BannerBreite, 300);
        QCOMPARE(h.daten.BannerHoehe, 60);
        QCOMPARE(h.finde<QLineEdit>("Edit2")->text(), gut);

        // Neither a cancelled chooser nor a file that is no picture changes anything.
        dialoge.naechsteDatei(QString());
        dialoge.naechsteDatei(kaputt);
        laden->click();
        laden->click();
        QCOMPARE(h.daten.BannerDatei, alsCp1252(gut));
        QCOMPARE(h.daten.BannerBreite, 300);
        QCOMPARE(h.daten.BannerHoehe, 60);
        QCOMPARE(h.finde<QLineEdit>("Edit2")->text(), gut);
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Fehler).size(), 1);

        const auto aufruf = dialoge.von(SkriptDialoge::Art::Datei).at(0);
        QCOMPARE(aufruf.titel, QStringLiteral("Banner laden..."));
        QCOMPARE(aufruf.filter, kFilter);
        QVERIFY(aufruf.ersterOrdner.isEmpty());
    }

    void bildoptionen() {
        Hauptfenster h(lw::kModusHPNeu, 1);
        h.zeigen();
        auto* kachel = h.finde<QRadioButton>("rbtn_HintergrundKachel");
        auto* einzel = h.finde<QRadioButton>("rbtn_HintergrundEinzel");
        auto* fix = h.finde<QCheckBox>("chckbx_HintergrundFix");
        einzel->click();
        QVERIFY(!h.daten.HintergrundKachel);
        QVERIFY(!kachel->isChecked());
        einzel->click();
        QVERIFY(!h.daten.HintergrundKachel);
        kachel->click();
        QVERIFY(h.daten.HintergrundKachel);
        fix->click();
        QVERIFY(h.daten.HintergrundFixiert);
        fix->click();
        QVERIFY(!h.daten.HintergrundFixiert);
        h.finde<QCheckBox>("cbx_MenueFixieren")->click();
        QVERIFY(h.form1->CodeEingabenLesen().menueFixiert);
    }
};

QTEST_MAIN(EinstellungenTest)
#include "test_einstellungen.moc"
