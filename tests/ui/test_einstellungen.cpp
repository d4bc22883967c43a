// The page "Dateiweite Einstellungen": the page colour and font choosers,
// background picture, banner and the picture options.
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <filesystem>

#include "common/Dateien.h"
#include "common/Text.h"
#include "common/Zeichensatz.h"
#include "pictures/Bild.h"
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
        // Every opening starts at the colour the field holds.
        const auto aufrufe = dialoge.von(SkriptDialoge::Art::Farbe);
        QCOMPARE(aufrufe.size(), size_t(3));
        QCOMPARE(aufrufe[0].vorgabeFarbe, QColor(Qt::white));
        QCOMPARE(aufrufe[1].vorgabeFarbe, QColor(Qt::white));
        QCOMPARE(aufrufe[2].vorgabeFarbe, QColor(Qt::blue));
        // The button shows it in a bar at its foot.
        auto* feld = knopf->findChild<QWidget*>(QStringLiteral("Farbfeld"));
        QVERIFY(feld && feld->isVisible());
        QCOMPARE(feld->palette().color(QPalette::Window), QColor(Qt::black));
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

    // The background picture is decoded, so that one too big for phones gets
    // its hint; a file that is no picture is refused (see the warnings).
    void hintergrundbild() {
        lw::test::TempOrdner ordner;
        const QString pfad = QString::fromStdString(ordner / "Kacheln für alle.gif");
        QVERIFY(lw::test::GifSchreiben(pfad, 8, 8));
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
        // The phone layout shows the project data's value and writes it.
        auto* handy = h.finde<QCheckBox>("cbx_Handy");
        QCOMPARE(handy->isChecked(), h.daten.HandyAnsicht);
        handy->click();
        QCOMPARE(h.daten.HandyAnsicht, handy->isChecked());
        handy->click();
        QCOMPARE(h.daten.HandyAnsicht, handy->isChecked());
    }

    // The warnings before the save: contrast on both pages, a link text too
    // wide for its button, a picture too big for phones and one that is none.
    void warnungen_data() {
        QTest::addColumn<QString>("aktion");
        QTest::addColumn<QString>("wert");
        QTest::addColumn<QString>("ziel");  // the control that warns, or the data field
        QTest::addColumn<QString>("erwartet");
        QTest::addColumn<bool>("warnt");
        const QString schwer =
            QStringLiteral(" – für viele Besucher schwer lesbar (empfohlen: mindestens 4,5 : 1)");
        const QString langsam = QStringLiteral(" MB groß und lädt auf dem Handy langsam.");
        QTest::newRow("Seite schwach") << "seitenfarbe"
                                       << "#777777"
                                       << "lbl_KontrastSeite"
                                       << "Kontrast 4,6 : 1" << false;
        QTest::newRow("Seite dunkel") << "seitenfarbe"
                                      << "#333333"
                                      << "lbl_KontrastSeite"
                                      << "Kontrast 1,6 : 1" + schwer << true;
        // Without a colour of their own the buttons stand on the page's.
        QTest::newRow("Buttons auf der Seite") << "seitenfarbe"
                                               << "#333333"
                                               << "lbl_KontrastButtons"
                                               << "Kontrast 1,6 : 1" + schwer << true;
        QTest::newRow("Buttons gelb") << "knopffarbe"
                                      << "#ffff00"
                                      << "lbl_KontrastButtons"
                                      << "Kontrast 19,5 : 1" << false;
        QTest::newRow("Text zu lang") << "linktext"
                                      << "Ein sehr langer Text für den Button"
                                      << "Ed_Alt2"
                                      << "Der Text ist zu lang für den Button" << true;
        QTest::newRow("Banner 4,8 MB") << "Button8"
                                       << "100x50+5033165"
                                       << "BannerDatei"
                                       << "Dieses Bild ist 4,8" + langsam << true;
        QTest::newRow("Banner breit") << "Button8"
                                      << "2000x100"
                                      << "BannerDatei"
                                      << "Dieses Bild ist 0,1" + langsam << true;
        QTest::newRow("Buttongrafik breit, abgelehnt") << "btn_Grafik2"
                                                       << "2400x50"
                                                       << "ButtonGrafik"
                                                       << "Dieses Bild ist 0,1" + langsam << false;
        QTest::newRow("Hintergrund kein Bild") << "btn_HintergrundLaden"
                                               << "kaputt"
                                               << "HintergrundBild"
                                               << "" << false;
    }
    void warnungen() {
        QFETCH(QString, aktion);
        QFETCH(QString, wert);
        QFETCH(QString, ziel);
        QFETCH(QString, erwartet);
        QFETCH(bool, warnt);
        lw::test::TempOrdner ordner;
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 2);
        h.zeigenMitGroesse();
        h.finde<QTabWidget>("PageControl1")->setCurrentIndex(TForm1::kLinksSeite);

        if (aktion == "seitenfarbe" || aktion == "knopffarbe") {
            dialoge.naechsteFarbe(QColor(wert));
            h.finde<QPushButton>(aktion == "seitenfarbe" ? "btn_HintergrundFarbe"
                                                         : "btn_LinkBackground")
                ->click();
            auto* label = h.finde<QLabel>(ziel.toLatin1().constData());
            QCOMPARE(label->text(), erwartet);
            QCOMPARE(label->palette().color(QPalette::WindowText) == QColor(0xb0, 0, 0), warnt);
            return;
        }
        if (aktion == "linktext") {
            // Every button is 120 px wide here; Arial 14 px as the stylesheet has it.
            auto* feld = h.finde<QLineEdit>("Ed_Alt2");
            feld->setText(wert);
            QCOMPARE(feld->toolTip().startsWith(QStringLiteral("Der Text ist zu lang")), warnt);
            QCOMPARE(feld->property("zuLang").toBool(), warnt);
            feld->setText(QStringLiteral("Seite 2"));
            QVERIFY(!feld->toolTip().startsWith(QStringLiteral("Der Text ist zu lang")));
            QVERIFY(feld->toolTip().startsWith(QStringLiteral("Dieser Text wird")));
            return;
        }

        const std::string datei = ordner / (wert == "kaputt" ? "bild.jpg" : "bild.png");
        const QString pfad = QString::fromStdString(datei);
        if (wert == "kaputt") {
            lw::test::Schreiben(datei, "kein Bild");
        } else {
            const QStringList teile = wert.split(QRegularExpression(QStringLiteral("[x+]")));
            QImage bild(teile[0].toInt(), teile[1].toInt(), QImage::Format_RGB32);
            bild.fill(Qt::darkGreen);
            QVERIFY(bild.save(pfad, "PNG"));
            // A PNG decoder stops at its end chunk; the padding only makes it big.
            if (teile.size() > 2) std::filesystem::resize_file(datei, teile[2].toLongLong());
        }
        const std::string vorher = lw::test::Lesen(datei);
        dialoge.naechsteDatei(pfad);
        if (!erwartet.isEmpty()) dialoge.naechsterZweiterKnopf(warnt);
        h.finde<QTabWidget>("PageControl1")
            ->setCurrentIndex(aktion == "btn_Grafik2" ? TForm1::kLinksSeite : TForm1::kBodySeite);
        h.finde<QPushButton>(aktion.toLatin1().constData())->click();

        const auto angebote = dialoge.von(SkriptDialoge::Art::Meldung);
        QCOMPARE(angebote.size(), size_t(erwartet.isEmpty() ? 0 : 1));
        if (!erwartet.isEmpty()) {
            QCOMPARE(angebote[0].text, erwartet);
            QCOMPARE(angebote[0].titel, QStringLiteral("Verkleinerte Kopie verwenden"));
        }
        const std::string gewaehlt = ziel == "BannerDatei"    ? h.daten.BannerDatei
                                     : ziel == "ButtonGrafik" ? h.daten.ButtonGrafik[2]
                                                              : h.daten.HintergrundBild;
        const QStringList fehler = dialoge.texte(SkriptDialoge::Art::Fehler);
        QCOMPARE(fehler.size(), wert == "kaputt" ? 1 : 0);
        if (wert == "kaputt") {
            // Refused with the file's message, as a banner is; never offered a copy.
            QVERIFY(fehler[0].contains(pfad));
            QVERIFY(gewaehlt.empty());
        } else if (warnt) {
            // The copy in place of the original, which stays as it was.
            QVERIFY(gewaehlt != datei);
            QCOMPARE(lw::DateiName(gewaehlt), std::string("bild.jpg"));
            const lw::Bild kopie = lw::BildLaden(gewaehlt);
            QCOMPARE(h.daten.BannerBreite, kopie.breite);
            QVERIFY(kopie.breite <= 1600);
        } else {
            QCOMPARE(gewaehlt, datei);
        }
        QCOMPARE(lw::test::Lesen(datei), vorher);
    }
};

QTEST_MAIN(EinstellungenTest)
#include "test_einstellungen.moc"
