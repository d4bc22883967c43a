// The main window: its pages per mode, the foot buttons, the two guards of
// the code page and the generated texts.
#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "codegen/Code.h"
#include "common/Zeichensatz.h"
#include "tests/support/TempOrdner.h"
#include "tests/ui/HauptfensterTest.h"
#include "tests/ui/SkriptDialoge.h"
#include "ui/Anwendung.h"
#include "ui/TextUmwandlung.h"

using lw::test::Hauptfenster;
using lw::test::ModalAntwort;
using lw::test::ModalZaehler;
using lw::test::SkriptDialoge;

namespace {

QTabWidget* Seiten(const Hauptfenster& h) {
    return h.finde<QTabWidget>("PageControl1");
}

// A click on the page header, as the user changes pages.
void KopfKlicken(const Hauptfenster& h, int seite) {
    QTabBar* leiste = Seiten(h)->tabBar();
    QTest::mouseClick(leiste, Qt::LeftButton, {}, leiste->tabRect(seite).center());
}

QList<int> SichtbareSeiten(const Hauptfenster& h) {
    QList<int> sichtbar;
    for (int i = 0; i < Seiten(h)->count(); ++i)
        if (Seiten(h)->isTabVisible(i)) sichtbar << i;
    return sichtbar;
}

// Answers frm_ButtonGroesse with the two sizes and its OK button.
std::function<void(QWidget*)> GroesseEingeben(const QString& hoehe, const QString& breite) {
    return [hoehe, breite](QWidget* fenster) {
        fenster->findChild<QLineEdit*>(QStringLiteral("Edit8"))->setText(hoehe);
        fenster->findChild<QLineEdit*>(QStringLiteral("Edit9"))->setText(breite);
        fenster->findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
        if (fenster->isVisible()) {
            QTest::qFail("Fehlende Buttongröße blieb offen", __FILE__, __LINE__);
            static_cast<QDialog*>(fenster)->done(QDialog::Rejected);
        }
    };
}

// The memo shows the CR LF line ends as plain line breaks.
QString AlsAnzeige(const std::string& text) {
    return alsQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

class HauptfensterTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { AnwendungEinrichten(*qobject_cast<QApplication*>(qApp)); }

    void fensterUndSeitenfolge() {
        Hauptfenster h(lw::kModusHPNeu, 2);
        TForm1* form = h.form1;
        QCOMPARE(form->objectName(), QStringLiteral("Form1"));
        QCOMPARE(form->windowTitle(), QStringLiteral("Leistenwerk"));
        QVERIFY(form->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(form->windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
        h.zeigen();
        QCOMPARE(form->centralWidget()->size(), QSize(505, 383));
        QCOMPARE(form->minimumSize(), form->maximumSize());

        QTabWidget* seiten = Seiten(h);
        QCOMPARE(seiten->geometry(), QRect(0, 0, 513, 385));
        QCOMPARE(seiten->cursor().shape(), Qt::PointingHandCursor);
        const QStringList namen{"tab_Import", "tab_Body", "tab_Links", "tab_Inhalte", "tab_code"};
        const QStringList titel{"Import", "Dateiweite Einstellungen", "Links", "Inhalte", "Code"};
        QCOMPARE(seiten->count(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(seiten->widget(i)->objectName(), namen[i]);
            QCOMPARE(seiten->tabText(i), titel[i]);
        }

        auto* hilfe = form->findChild<QAction*>(QStringLiteral("About1"));
        QVERIFY(hilfe);
        QCOMPARE(hilfe->text(), QStringLiteral("Hilfe"));
    }

    void seitenJeModus_data() {
        QTest::addColumn<QString>("modus");
        QTest::addColumn<QList<int>>("sichtbar");
        QTest::addColumn<int>("offen");
        QTest::newRow("HPNeu") << "HPNeu" << QList<int>{1, 2, 3, 4} << 1;
        QTest::newRow("NZNeu") << "NZNeu" << QList<int>{1, 2, 3, 4} << 1;
        QTest::newRow("NZAlt") << "NZAlt" << QList<int>{0} << 0;
    }
    void seitenJeModus() {
        QFETCH(QString, modus);
        QFETCH(QList<int>, sichtbar);
        QFETCH(int, offen);
        SkriptDialoge dialoge;
        Hauptfenster h(modus.toStdString(), 3);
        // Showing assigns the defaults, whatever was there before.
        h.daten.BodyHintergrundFarbe = "123456";
        h.daten.LinksAufgebaut = true;
        h.zeigen();
        QVERIFY(h.form1->isVisible());
        QCOMPARE(SichtbareSeiten(h), sichtbar);
        QCOMPARE(Seiten(h)->currentIndex(), offen);
        QCOMPARE(h.daten.BodyHintergrundFarbe, std::string("ffffff"));
        QVERIFY(!h.daten.LinksAufgebaut);
        // Opening the first page is no page change: nothing was asked.
        QVERIFY(dialoge.aufrufe.empty());
    }

    void nachImportDieAssistentenSeiten() {
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusNZAlt, 2);
        h.zeigen();
        h.form1->AssistentenSeitenZeigen();
        QCOMPARE(SichtbareSeiten(h), (QList<int>{1, 2, 3, 4}));
        QCOMPARE(Seiten(h)->currentIndex(), int(TForm1::kBodySeite));
        QVERIFY(!h.daten.LinksAufgebaut);
    }

    void fussKnoepfe_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("ort");
        QTest::addColumn<int>("breite");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hinweis");
        QTest::addColumn<bool>("symbol");
        const QString beenden = QStringLiteral("Beenden ohne zu speichern");
        QTest::newRow("btn_WeiterImport")
            << "btn_WeiterImport" << QPoint(312, 320) << 75 << "Weiter >>" << QString() << false;
        QTest::newRow("btn_AbbruchImport")
            << "btn_AbbruchImport" << QPoint(400, 320) << 89 << "Abbrechen" << QString() << true;
        QTest::newRow("BitBtn3") << "BitBtn3" << QPoint(312, 320) << 75 << "Weiter >>"
                                 << "Wechsel zur Seite \"Links\"" << false;
        QTest::newRow("BitBtn4") << "BitBtn4" << QPoint(400, 320) << 89 << "Abbrechen" << beenden
                                 << true;
        QTest::newRow("BitBtn1") << "BitBtn1" << QPoint(312, 320) << 75 << "Weiter >>"
                                 << "Wechsel zur Seite \"Inhalte\"" << false;
        QTest::newRow("BitBtn6") << "BitBtn6" << QPoint(400, 320) << 89 << "Abbrechen" << beenden
                                 << true;
        QTest::newRow("btn_WeiterInhalte")
            << "btn_WeiterInhalte" << QPoint(312, 320) << 75 << "Weiter >>" << QString() << false;
        QTest::newRow("btn_AbbruchInhalte") << "btn_AbbruchInhalte" << QPoint(400, 320) << 89
                                            << "Abbrechen" << QString() << true;
        QTest::newRow("BitBtn10") << "BitBtn10" << QPoint(160, 320) << 139
                                  << QStringLiteral("Speichern + Schließen") << QString() << false;
        QTest::newRow("Button1") << "Button1" << QPoint(312, 320) << 75 << "Testen" << QString()
                                 << false;
        QTest::newRow("BitBtn9") << "BitBtn9" << QPoint(400, 320) << 89 << "Abbrechen" << beenden
                                 << true;
    }
    void fussKnoepfe() {
        QFETCH(QString, name);
        QFETCH(QPoint, ort);
        QFETCH(int, breite);
        QFETCH(QString, text);
        QFETCH(QString, hinweis);
        QFETCH(bool, symbol);
        Hauptfenster h(lw::kModusHPNeu, 1);
        auto* knopf = h.finde<QPushButton>(name.toLatin1().constData());
        QVERIFY(knopf);
        QCOMPARE(knopf->pos(), ort);
        QCOMPARE(knopf->height(), 25);
        // Wider only where this platform's font needs room for the caption.
        QVERIFY(knopf->width() >= breite);
        QVERIFY(knopf->width() <= breite + 20);
        QCOMPARE(knopf->text(), text);
        QCOMPARE(knopf->toolTip(), hinweis);
        QCOMPARE(knopf->cursor().shape(), Qt::PointingHandCursor);
        if (symbol) QVERIFY(!knopf->icon().isNull());
    }

    void naechsteKnoepfeFuehrenZurFolgeseite() {
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 2);
        h.zeigenMitGroesse();
        h.finde<QPushButton>("BitBtn3")->click();
        QCOMPARE(Seiten(h)->currentIndex(), int(TForm1::kLinksSeite));
        QVERIFY(h.daten.LinksAufgebaut);
        h.finde<QPushButton>("BitBtn1")->click();
        QCOMPARE(Seiten(h)->currentIndex(), int(TForm1::kInhalteSeite));
        h.finde<QPushButton>("btn_WeiterInhalte")->click();
        QCOMPARE(Seiten(h)->currentIndex(), int(TForm1::kCodeSeite));
        QVERIFY(!h.finde<QPlainTextEdit>("Memo1")->toPlainText().isEmpty());
        QVERIFY(dialoge.aufrufe.empty());
    }

    // A click on "Code" right after the window opened: the message, no size
    // question, empty texts; after a visit to "Links" the texts come.
    void codeVorLinksMeldetUndBleibtLeer() {
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 2);
        h.zeigen();
        ModalZaehler fenster(GroesseEingeben("50", "170"));
        KopfKlicken(h, TForm1::kCodeSeite);
        QCOMPARE(Seiten(h)->currentIndex(), int(TForm1::kCodeSeite));
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Meldung),
                 QStringList{"Bitte bearbeiten Sie zuerst die Links."});
        QCOMPARE(fenster.anzahl(), 0);
        for (const char* memo : {"Memo1", "Memo2", "Memo3"})
            QVERIFY(h.finde<QPlainTextEdit>(memo)->toPlainText().isEmpty());
        QVERIFY(h.form1->LetzterCode().seite.empty());
        // Without generated code "Testen" must not write empty test files
        // nor offer to save empty pages.
        h.finde<QPushButton>("Button1")->click();
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Meldung).size(), 2);
        QVERIFY(dialoge.von(SkriptDialoge::Art::Ordner).empty());
        QVERIFY(h.finde<QPushButton>("BitBtn10")->isHidden());

        KopfKlicken(h, TForm1::kLinksSeite);
        KopfKlicken(h, TForm1::kCodeSeite);
        QCOMPARE(fenster.anzahl(), 1);
        QCOMPARE(h.daten.ButtonHoehe[1], 50);
        QCOMPARE(h.daten.ButtonBreite[1], 170);
        QVERIFY(h.finde<QPlainTextEdit>("Memo1")->toPlainText().contains("Seite2.html"));
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Meldung).size(), 2);
    }

    void zeilenNurEinmalGebaut() {
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 3);
        h.zeigenMitGroesse();
        KopfKlicken(h, TForm1::kLinksSeite);
        h.finde<QLineEdit>("Ed_Alt2")->setText(QStringLiteral("Kontakt"));
        for (int seite :
             {TForm1::kCodeSeite, TForm1::kLinksSeite, TForm1::kBodySeite, TForm1::kLinksSeite})
            KopfKlicken(h, seite);
        QCOMPARE(h.form1->findChildren<QLineEdit*>(QStringLiteral("Ed_Link1")).size(), 1);
        QCOMPARE(h.form1->findChildren<QPushButton*>(QStringLiteral("btn_Grafik3")).size(), 1);
        QVERIFY(!h.finde("Ed_Link4"));
        QCOMPARE(h.finde<QLineEdit>("Ed_Alt2")->text(), QStringLiteral("Kontakt"));
    }

    // Without a button size the question comes on entering "Code", and not
    // again once it was answered; a loaded graphic makes it unnecessary.
    void groessenfensterBisBeideGesetzt() {
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 2);
        h.zeigen();
        KopfKlicken(h, TForm1::kLinksSeite);
        {
            ModalZaehler fenster(GroesseEingeben("40", "170"));
            KopfKlicken(h, TForm1::kCodeSeite);
            QCOMPARE(fenster.anzahl(), 1);
            QCOMPARE(h.daten.ButtonHoehe[1], 40);
        }
        {
            KopfKlicken(h, TForm1::kLinksSeite);
            ModalZaehler fenster(GroesseEingeben("1", "1"));
            KopfKlicken(h, TForm1::kCodeSeite);
            QTest::qWait(30);
            QCOMPARE(fenster.anzahl(), 0);
        }
    }

    void grafikFuerLink1ErsetztGroessenfrage() {
        lw::test::TempOrdner ordner;
        const QString bild = QString::fromStdString(ordner / "knopf.jpg");
        QVERIFY(lw::test::JpegSchreiben(bild, 120, 30));
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 2);
        h.zeigen();
        KopfKlicken(h, TForm1::kLinksSeite);
        dialoge.naechsteDatei(bild);
        h.finde<QPushButton>("btn_Grafik1")->click();
        ModalZaehler fenster(GroesseEingeben("50", "170"));
        KopfKlicken(h, TForm1::kCodeSeite);
        QTest::qWait(30);
        QCOMPARE(fenster.anzahl(), 0);
        QVERIFY(!h.form1->LetzterCode().css.empty());
    }

    // The page names are copied when "Links" is left, before "Code" asks
    // for the size and generates.
    void linksVerlassenVorDerErzeugung() {
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 2);
        h.zeigen();
        KopfKlicken(h, TForm1::kLinksSeite);
        h.finde<QLineEdit>("Ed_Link2")->setText(QStringLiteral("kontakt.html"));
        std::string waehrendDerFrage;
        ModalZaehler fenster([&](QWidget* w) {
            waehrendDerFrage = h.daten.ImportSeiten[2];
            GroesseEingeben("50", "170")(w);
        });
        h.finde<QPushButton>("BitBtn1")->click();
        h.finde<QPushButton>("btn_WeiterInhalte")->click();
        QCOMPARE(fenster.anzahl(), 1);
        QCOMPARE(waehrendDerFrage, std::string("kontakt.html"));
    }

    void memosZeigenDieErzeugtenTexte() {
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 3);
        h.zeigenMitGroesse();
        h.finde<QCheckBox>("cbx_MenueFixieren")->click();
        h.finde<QLineEdit>("Edit5")->setText(QStringLiteral("Grüße"));
        h.finde<QLineEdit>("Edit6")->setText(QStringLiteral("Zum Banner"));
        KopfKlicken(h, TForm1::kLinksSeite);
        h.finde<QCheckBox>("CheckBox1")->click();
        h.finde<QLineEdit>("Ed_Link1")->setText(QStringLiteral("index.html"));
        h.finde<QLineEdit>("Ed_Alt2")->setText(QStringLiteral("Über uns"));
        h.finde<QLineEdit>("Ed_Tooltipp3")->setText(QStringLiteral("Kontakt & mehr"));
        KopfKlicken(h, TForm1::kCodeSeite);

        lw::CodeEingaben eingaben;
        eingaben.menueFixiert = true;
        eingaben.eineGrafikFuerAlle = true;
        eingaben.links = {{"index.html", "Seite 1", "Zur Seite 1"},
                          {"Seite2.html", lw::W("Über uns"), "Zur Seite 2"},
                          {"Seite3.html", "Seite 3", "Kontakt & mehr"}};
        eingaben.bannerAlt = lw::W("Grüße");
        eingaben.bannerTooltipp = "Zum Banner";
        const lw::ErzeugterCode erwartet = lw::CodeErzeugen(h.daten, eingaben);
        QVERIFY(!erwartet.ieCss.empty());

        const lw::ErzeugterCode& gezeigt = h.form1->LetzterCode();
        QCOMPARE(gezeigt.seite, erwartet.seite);
        QCOMPARE(gezeigt.css, erwartet.css);
        QCOMPARE(gezeigt.ieCss, erwartet.ieCss);
        QCOMPARE(h.finde<QPlainTextEdit>("Memo1")->toPlainText(), AlsAnzeige(erwartet.seite));
        QCOMPARE(h.finde<QPlainTextEdit>("Memo2")->toPlainText(), AlsAnzeige(erwartet.css));
        QCOMPARE(h.finde<QPlainTextEdit>("Memo3")->toPlainText(), AlsAnzeige(erwartet.ieCss));
        QVERIFY(
            h.finde<QPlainTextEdit>("Memo1")->toPlainText().contains(QStringLiteral("Über uns")));

        // Every entry generates anew.
        KopfKlicken(h, TForm1::kLinksSeite);
        h.finde<QLineEdit>("Ed_Alt1")->setText(QStringLiteral("Startseite"));
        KopfKlicken(h, TForm1::kCodeSeite);
        QVERIFY(
            h.finde<QPlainTextEdit>("Memo1")->toPlainText().contains(QStringLiteral("Startseite")));
    }

    void codeseiteNurZumLesen() {
        Hauptfenster h(lw::kModusHPNeu, 1);
        for (const char* name : {"Memo1", "Memo2", "Memo3"}) {
            auto* memo = h.finde<QPlainTextEdit>(name);
            QVERIFY(memo->isReadOnly());
            QVERIFY(memo->textInteractionFlags() & Qt::TextSelectableByMouse);
            QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        }
        QCOMPARE(h.finde<QPlainTextEdit>("Memo1")->geometry(), QRect(8, 24, 481, 105));
        QCOMPARE(h.finde<QPlainTextEdit>("Memo3")->geometry(), QRect(8, 264, 481, 41));
        // Saving is offered only after the preview.
        h.zeigen();
        QVERIFY(h.finde<QPushButton>("BitBtn10")->isHidden());
        QVERIFY(!h.finde<QPushButton>("Button1")->isHidden());
    }

    void escapeDruecktDenAbbrechenKnopfDerSeite() {
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 1);
        h.zeigenMitGroesse();
        QVERIFY(QTest::qWaitForWindowActive(h.form1));
        {
            ModalAntwort nein([](QWidget* w) {
                QCOMPARE(w->objectName(), QStringLiteral("Form3"));
                w->findChild<QPushButton*>(QStringLiteral("BitBtn2"))->click();
            });
            QTest::keyClick(h.form1, Qt::Key_Escape);
            // A shortcut presses its button visibly, a moment later.
            QTRY_VERIFY(nein.erledigt());
        }
        QVERIFY(h.form1->isVisible());
        // BitBtn9 has no key of its own.
        KopfKlicken(h, TForm1::kLinksSeite);
        KopfKlicken(h, TForm1::kCodeSeite);
        ModalZaehler warnung([](QWidget* w) { w->close(); });
        QTest::keyClick(h.form1, Qt::Key_Escape);
        QTest::qWait(300);
        QCOMPARE(warnung.anzahl(), 0);
    }

    void hilfeOeffnetDasHilfefenster() {
        Hauptfenster h(lw::kModusHPNeu, 1);
        h.zeigen();
        QString gekommen;
        ModalAntwort schliessen([&](QWidget* w) {
            gekommen = w->objectName();
            w->close();
        });
        h.form1->findChild<QAction*>(QStringLiteral("About1"))->trigger();
        QVERIFY(schliessen.erledigt());
        QCOMPARE(gekommen, QStringLiteral("Form4"));
    }

    // "Inhalte" lists the links page's rows as they are named, and keeps a
    // title and a description per page.
    void inhalteSeite() {
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 3);
        h.zeigenMitGroesse();
        // Before the links page was ever shown: its rows are made for the list.
        KopfKlicken(h, TForm1::kInhalteSeite);
        auto* liste = h.finde<QListWidget>("lb_Seiten");
        QCOMPARE(liste->count(), 3);
        QCOMPARE(liste->item(1)->text(), QStringLiteral("Seite 2 – Seite2.html"));
        QCOMPARE(liste->currentRow(), 0);

        KopfKlicken(h, TForm1::kLinksSeite);
        h.finde<QLineEdit>("Ed_Alt2")->setText(QStringLiteral("Über mich"));
        h.finde<QLineEdit>("Ed_Link2")->setText(QStringLiteral("ueber.html"));
        KopfKlicken(h, TForm1::kInhalteSeite);
        QCOMPARE(liste->item(1)->text(), QStringLiteral("Über mich – ueber.html"));

        liste->setCurrentRow(1);
        h.finde<QLineEdit>("ed_Titel")->setText(QStringLiteral("Wer wir sind – Grüße"));
        auto* beschreibung = h.finde<QPlainTextEdit>("ed_Beschreibung");
        auto* zaehler = h.finde<QLabel>("lbl_BeschreibungZaehler");
        const QColor normal = zaehler->palette().color(QPalette::WindowText);
        beschreibung->setPlainText(QString(160, QLatin1Char('x')));
        QCOMPARE(zaehler->text(), QStringLiteral("160 von 160 Zeichen"));
        QCOMPARE(zaehler->palette().color(QPalette::WindowText), normal);
        beschreibung->setPlainText(QStringLiteral("Zwei\nZeilen ") + QString(150, QLatin1Char('y')));
        QCOMPARE(zaehler->palette().color(QPalette::WindowText), QColor(Qt::red));
        QCOMPARE(h.daten.Seiteninhalte[2].titel, lw::W("Wer wir sind – Grüße"));
        QCOMPARE(h.daten.Seiteninhalte[2].beschreibung,
                 "Zwei Zeilen " + std::string(150, 'y'));
        QVERIFY(!h.daten.Seiteninhalte[2].text);

        // Another page shows its own (empty) values and changes nothing of page 2.
        liste->setCurrentRow(0);
        QVERIFY(h.finde<QLineEdit>("ed_Titel")->text().isEmpty());
        QVERIFY(beschreibung->toPlainText().isEmpty());
        QCOMPARE(h.daten.Seiteninhalte[1].titel, std::string());
        liste->setCurrentRow(1);
        QCOMPARE(h.finde<QLineEdit>("ed_Titel")->text(), QStringLiteral("Wer wir sind – Grüße"));
        QVERIFY(dialoge.aufrufe.empty());
    }

    // The hints that are put together or quote; all are assigned at creation.
    void hinweise() {
        Hauptfenster h(lw::kModusNZAlt, 1);
        QCOMPARE(h.finde("Ed_User")->toolTip(),
                 QStringLiteral("Eingabe des Benutzernamens\n(ohne http://www. und netzhof.de)"));
        QCOMPARE(h.finde("Edit2")->toolTip(),
                 QStringLiteral("Pfad des Banners.\nFeld kann nicht editiert werden.\n"
                                "Bitte nebenstehenden Lade-Button benutzen"));
        const QString farbe = h.finde("btn_HintergrundFarbe")->toolTip();
        QCOMPARE(farbe.count(QLatin1Char('\n')), 5);
        QVERIFY(farbe.endsWith(QStringLiteral("Browser-\nfenster füllt.")));
        for (const char* name :
             {"GroupBox4", "Edit1", "btn_HintergrundLaden", "Button8", "rbtn_HintergrundKachel",
              "rbtn_HintergrundEinzel", "chckbx_HintergrundFix", "btn_BodyFont", "Edit5", "Edit6",
              "CheckBox1", "cbx_MenueFixieren", "btn_LinkBackground", "btn_LinkSchrift", "Memo1"})
            QVERIFY2(!h.finde(name)->toolTip().isEmpty(), name);
    }
};

QTEST_MAIN(HauptfensterTest)
#include "test_hauptfenster.moc"
