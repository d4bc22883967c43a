// A new site from the start window to the saved folder: settings, links,
// code, "Testen" and "Speichern + Schließen", and what a cancelled folder
// choice or a failing step leaves behind. Saving ends the program (the
// application is told to exit, after which modal windows no longer wait), so
// the tests that save come last.
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include "app/Browser.h"
#include "codegen/Code.h"
#include "common/Zeichensatz.h"
#include "output/DateiErzeugung.h"
#include "tests/support/TempOrdner.h"
#include "tests/ui/HauptfensterTest.h"
#include "tests/ui/SkriptDialoge.h"
#include "ui/Anwendung.h"
#include "ui/TextUmwandlung.h"

using lw::test::Hauptfenster;
using lw::test::Lesen;
using lw::test::ModalAntwort;
using lw::test::SkriptDialoge;
using lw::test::TempOrdner;

namespace {

const QString kOrdnerTitel = QStringLiteral("Verzeichnis für neue Dateien auswählen");

// What the desktop was asked to open, instead of starting a browser.
QStringList geoeffnet;

QPushButton* Knopf(const Hauptfenster& h, const char* name) {
    auto* knopf = h.finde<QPushButton>(name);
    if (!knopf) qFatal("Kein Knopf %s", name);
    return knopf;
}

QString Q(const std::string& pfad) {
    return QString::fromStdString(pfad);
}

// The memos show the CR LF line ends as plain line breaks.
QString AlsAnzeige(const std::string& bytes) {
    return alsQString(bytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// A save told the application to end, after which no modal window waits; a
// round of the application's own loop, ended at once, lets them wait again.
void ModaleFensterWiederZulassen() {
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

QTabWidget* Seiten(const Hauptfenster& h) {
    return h.finde<QTabWidget>("PageControl1");
}

QString MemoText(const Hauptfenster& h, const char* memo) {
    return h.finde<QPlainTextEdit>(memo)->toPlainText();
}

QStringList Inhalt(const std::string& ordner) {
    return QDir(Q(ordner)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

bool Existiert(const std::string& pfad) {
    return QFileInfo::exists(Q(pfad));
}

}  // namespace

class NeueSeiteTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        AnwendungEinrichten(*qobject_cast<QApplication*>(qApp));
        browserOeffnerSetzen([](const QString& adresse) { geoeffnet << adresse; });
    }
    void cleanupTestCase() { browserOeffnerSetzen({}); }
    void init() { geoeffnet.clear(); }

    // A cancelled folder choice stops the preview: nothing is written, the
    // folder of the last preview stays and the save button keeps its state.
    // Every press asks again; the last folder chosen is the one in use.
    void vorschauFragtJedesMalNachDemOrdner() {
        TempOrdner ordner;
        const std::string erster = ordner / "erster";
        const std::string zweiter = ordner / "zweiter";
        QVERIFY(QDir().mkpath(Q(erster)) && QDir().mkpath(Q(zweiter)));
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 2);
        h.bisZumCode();
        QVERIFY(!h.form1->LetzterCode().seite.empty());

        dialoge.naechsterOrdner(QString());
        Knopf(h, "Button1")->click();
        QVERIFY(Knopf(h, "BitBtn10")->isHidden());
        QVERIFY(h.daten.Zielordner.empty());
        QVERIFY(geoeffnet.isEmpty());

        dialoge.naechsterOrdner(Q(erster));
        Knopf(h, "Button1")->click();
        QVERIFY(Knopf(h, "BitBtn10")->isVisible());
        QCOMPARE(h.daten.Zielordner, erster);
        QCOMPARE(Inhalt(erster), (QStringList{"Test.css", "Test.html", "TestIE.css"}));
        QCOMPARE(geoeffnet, QStringList{Q(erster + "/Test.html")});

        lw::test::Schreiben(erster + "/Test.html", "vorher");
        dialoge.naechsterOrdner(QString());
        Knopf(h, "Button1")->click();
        QVERIFY(Knopf(h, "BitBtn10")->isVisible());
        QCOMPARE(h.daten.Zielordner, erster);
        QCOMPARE(Lesen(erster + "/Test.html"), std::string("vorher"));
        QCOMPARE(geoeffnet.size(), 1);

        dialoge.naechsterOrdner(Q(zweiter));
        Knopf(h, "Button1")->click();
        QCOMPARE(h.daten.Zielordner, zweiter);
        QCOMPARE(Inhalt(zweiter).size(), 3);
        QCOMPARE(geoeffnet.last(), Q(zweiter + "/Test.html"));

        const auto gefragt = dialoge.von(SkriptDialoge::Art::Ordner);
        QCOMPARE(gefragt.size(), size_t(4));
        // Every time at the user's home, whatever was chosen before.
        for (const auto& aufruf : gefragt) {
            QCOMPARE(aufruf.titel, kOrdnerTitel);
            QCOMPARE(aufruf.ersterOrdner, QDir::homePath());
        }
        QVERIFY(dialoge.von(SkriptDialoge::Art::Fehler).empty());
    }

    // A banner that is gone by the time of the preview: the error box, no
    // browser, and saving is still not offered.
    void vorschauMitFehlendemBild() {
        TempOrdner ordner;
        const std::string banner = ordner / "banner.jpg";
        QVERIFY(lw::test::JpegSchreiben(Q(banner), 200, 40));
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 1);
        h.zeigen();
        dialoge.naechsteDatei(Q(banner));
        Knopf(h, "Button8")->click();
        QCOMPARE(h.daten.BannerDatei, banner);
        h.bisZumCode();
        QVERIFY(QFile::remove(Q(banner)));

        dialoge.naechsterOrdner(Q(ordner.pfad()));
        Knopf(h, "Button1")->click();
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Fehler), QStringList{"Datei nicht gefunden"});
        QVERIFY(geoeffnet.isEmpty());
        QVERIFY(Knopf(h, "BitBtn10")->isHidden());
        QVERIFY(!Existiert(ordner / "Test.html"));
    }

    // Two pictures of one name would meet in one file of img/: the plain
    // message names both, and nothing is written or opened.
    void vorschauMitGleichnamigenBildern() {
        TempOrdner ordner;
        QVERIFY(QDir().mkpath(Q(ordner / "a")) && QDir().mkpath(Q(ordner / "b")));
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 1);
        h.bisZumCode();
        h.daten.BannerDatei = ordner / "a/logo.gif";
        h.daten.HintergrundBild = ordner / "b/logo.gif";

        dialoge.naechsterOrdner(Q(ordner.pfad()));
        Knopf(h, "Button1")->click();
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Meldung),
                 QStringList{QStringLiteral("Die Bilder \"%1\" und \"%2\" haben denselben Namen. "
                                            "Bitte benennen Sie eines davon um.")
                                 .arg(Q(ordner / "a/logo.gif"), Q(ordner / "b/logo.gif"))});
        QVERIFY(dialoge.von(SkriptDialoge::Art::Fehler).empty());
        QVERIFY(geoeffnet.isEmpty());
        QVERIFY(!Existiert(ordner / "Test.html"));
    }

    // The road of one typical run, three pages, as the user clicks it.
    void typischerDurchlauf() {
        TempOrdner ordner;
        const std::string banner = ordner / "banner.jpg";
        const std::string hintergrund = ordner / "stein.jpg";
        const std::string knopf = ordner / "knopf.gif";
        const std::string ziel = ordner / "Meine Seite";
        QVERIFY(lw::test::JpegSchreiben(Q(banner), 400, 60, Qt::darkGreen));
        QVERIFY(lw::test::JpegSchreiben(Q(hintergrund), 32, 32, Qt::lightGray));
        QVERIFY(lw::test::GifSchreiben(Q(knopf), 120, 30));
        QVERIFY(QDir().mkpath(Q(ziel)));

        SkriptDialoge dialoge;
        Hauptfenster h;
        QSignalSpy ende(h.form2, &TForm2::programmEndet);
        h.form2->show();

        // Start window and page count: 5 offered, two steps down.
        ModalAntwort anzahl([](QWidget* w) {
            QCOMPARE(w->objectName(), QStringLiteral("frm_LinkAnzahl"));
            auto* ab = w->findChild<QToolButton*>(QStringLiteral("ab"));
            ab->click();
            ab->click();
            w->findChild<QPushButton*>(QStringLiteral("bbtn_OKLinkZahl"))->click();
        });
        QTest::mouseClick(h.form2->findChild<QPushButton*>(QStringLiteral("btn_NeuHP")),
                          Qt::LeftButton);
        QVERIFY(anzahl.erledigt());
        QCOMPARE(h.daten.Modus, std::string("HPNeu"));
        QCOMPARE(h.daten.Seitenzahl, 3);
        QVERIFY(!h.form2->isVisible());
        QVERIFY(h.form1->isVisible());
        auto* seiten = h.finde<QTabWidget>("PageControl1");
        QCOMPARE(seiten->currentIndex(), int(TForm1::kBodySeite));

        // Settings.
        dialoge.naechsteFarbe(QColor(0x33, 0x66, 0x99));
        Knopf(h, "btn_HintergrundFarbe")->click();
        lw::ui::SchriftWahl schrift;
        schrift.familie = QStringLiteral("Verdana");
        schrift.punkte = 12;
        schrift.fett = true;
        dialoge.naechsteSchrift(schrift);
        Knopf(h, "btn_BodyFont")->click();
        dialoge.naechsteDatei(Q(hintergrund));
        Knopf(h, "btn_HintergrundLaden")->click();
        dialoge.naechsteDatei(Q(banner));
        Knopf(h, "Button8")->click();
        h.finde<QLineEdit>("Edit5")->setText(QStringLiteral("Vereinsbanner"));
        h.finde<QCheckBox>("cbx_MenueFixieren")->click();

        // Links: the button graphic of link 1 sets the size of every button.
        Knopf(h, "BitBtn3")->click();
        QCOMPARE(seiten->currentIndex(), int(TForm1::kLinksSeite));
        for (int i = 1; i <= 3; ++i)
            QCOMPARE(h.finde<QLineEdit>(qPrintable(QStringLiteral("Ed_Link%1").arg(i)))->text(),
                     QStringLiteral("Seite%1.html").arg(i));
        QVERIFY(!h.finde("Ed_Link4"));
        dialoge.naechsteDatei(Q(knopf));
        Knopf(h, "btn_Grafik1")->click();
        QCOMPARE(h.daten.ButtonBreite[1], 120);
        h.finde<QLineEdit>("Ed_Link3")->setText(QStringLiteral("kontakt.html"));
        h.finde<QLineEdit>("Ed_Alt2")->setText(QStringLiteral("Über uns"));
        h.finde<QLineEdit>("Ed_Tooltipp3")->setText(QStringLiteral("Schreiben Sie uns"));

        // Code.
        Knopf(h, "BitBtn1")->click();
        QCOMPARE(seiten->currentIndex(), int(TForm1::kInhalteSeite));
        Knopf(h, "btn_WeiterInhalte")->click();
        QCOMPARE(seiten->currentIndex(), int(TForm1::kCodeSeite));
        const lw::ErzeugterCode code = h.form1->LetzterCode();
        QVERIFY(!code.ieCss.empty());
        QVERIFY(code.seite.find("kontakt.html") != std::string::npos);
        QVERIFY(code.seite.find(lw::W("Über uns")) != std::string::npos);
        QVERIFY(code.css.find("336699") != std::string::npos);
        QVERIFY(code.css.find("Verdana") != std::string::npos);
        QCOMPARE(MemoText(h, "Memo1"), AlsAnzeige(code.seite));
        QVERIFY(Knopf(h, "BitBtn10")->isHidden());

        // Testen.
        dialoge.naechsterOrdner(Q(ziel));
        Knopf(h, "Button1")->click();
        QCOMPARE(dialoge.von(SkriptDialoge::Art::Ordner).back().titel, kOrdnerTitel);
        QCOMPARE(Inhalt(ziel), (QStringList{"Test.css", "Test.html", "TestIE.css"}));
        QVERIFY(Lesen(ziel + "/Test.html").find("file://" + banner) != std::string::npos);
        QVERIFY(Lesen(ziel + "/Test.css").find("file://" + hintergrund) != std::string::npos);
        QCOMPARE(geoeffnet, QStringList{Q(ziel + "/Test.html")});
        QVERIFY(Knopf(h, "BitBtn10")->isVisible());

        // Speichern + Schließen, and a look at the saved folder.
        dialoge.naechsterZweiterKnopf(true);
        Knopf(h, "BitBtn10")->click();
        const std::string neu = ziel + "/Neu";
        QCOMPARE(geoeffnet, (QStringList{Q(ziel + "/Test.html"), Q(neu)}));
        QCOMPARE(Inhalt(neu),
                 (QStringList{"Seite1.html", "Seite2.html", "css", "img", "kontakt.html"}));
        // A new homepage starts with the phone layout, and each page marks
        // its own entry of the menu; Memo1 shows page 1.
        QVERIFY(code.seite.find("<meta name=\"viewport\"") != std::string::npos);
        int nummer = 0;
        for (const char* seite : {"Seite1.html", "Seite2.html", "kontakt.html"}) {
            const std::string text = Lesen(neu + "/" + seite);
            QVERIFY2(text == lw::SeiteAusCode(h.daten, code, ++nummer), seite);
        }
        QVERIFY(Lesen(neu + "/Seite1.html") == code.seite);
        QCOMPARE(AlsAnzeige(code.seite), MemoText(h, "Memo1"));
        QCOMPARE(Inhalt(neu + "/css"), (QStringList{"formate.css", "ie.css"}));
        QVERIFY(Lesen(neu + "/css/formate.css") == code.css);
        QCOMPARE(AlsAnzeige(Lesen(neu + "/css/formate.css")), MemoText(h, "Memo2"));
        QVERIFY(Lesen(neu + "/css/ie.css") == code.ieCss);
        QCOMPARE(AlsAnzeige(Lesen(neu + "/css/ie.css")), MemoText(h, "Memo3"));
        QCOMPARE(Inhalt(neu + "/img"), (QStringList{"banner.jpg", "knopf.gif", "stein.jpg"}));
        for (const std::string& bild : {banner, hintergrund, knopf})
            QVERIFY(Lesen(neu + "/img/" + QFileInfo(Q(bild)).fileName().toStdString()) ==
                    Lesen(bild));

        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Meldung).last(),
                 QStringLiteral("Die erforderlichen Dateien wurden unter ") + Q(ziel) +
                     QStringLiteral("/Neu gespeichert.\nDas Programm wird jetzt beendet."));
        QCOMPARE(dialoge.von(SkriptDialoge::Art::Meldung).back().titel,
                 QStringLiteral("Ordner öffnen"));
        QVERIFY(dialoge.von(SkriptDialoge::Art::Fehler).empty());
        QCOMPARE(ende.count(), 1);
        // Ended by saving, not through the warning.
        QVERIFY(!h.daten.BeendenBestaetigt);
        QVERIFY(!h.form3->isVisible());
        QVERIFY(dialoge.alleAntwortenVerbraucht());
    }

    // A second run saving into the folder of an earlier one: a message that
    // says what to do, the earlier site untouched, and the program stays open
    // on the code page for another try.
    void zweitesSpeichernInDenselbenOrdner() {
        TempOrdner ordner;
        std::string erstesMal;
        {
            SkriptDialoge dialoge;
            Hauptfenster h(lw::kModusHPNeu, 2);
            h.bisZumCode();
            dialoge.naechsterOrdner(Q(ordner.pfad()));
            Knopf(h, "Button1")->click();
            Knopf(h, "BitBtn10")->click();
            QVERIFY(dialoge.von(SkriptDialoge::Art::Fehler).empty());
            erstesMal = h.form1->LetzterCode().seite;
        }
        // Without the fixed menu there is no ie.css.
        QCOMPARE(Inhalt(ordner / "Neu/css"), QStringList{"formate.css"});

        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 2);
        QSignalSpy ende(h.form2, &TForm2::programmEndet);
        h.zeigenMitGroesse();
        h.finde<QCheckBox>("cbx_MenueFixieren")->click();
        auto* seiten = h.finde<QTabWidget>("PageControl1");
        seiten->setCurrentIndex(TForm1::kLinksSeite);
        h.finde<QLineEdit>("Ed_Alt1")->setText(QStringLiteral("Anders"));
        seiten->setCurrentIndex(TForm1::kCodeSeite);
        QVERIFY(h.form1->LetzterCode().seite != erstesMal);
        dialoge.naechsterOrdner(Q(ordner.pfad()));
        Knopf(h, "Button1")->click();
        Knopf(h, "BitBtn10")->click();

        QVERIFY(dialoge.texte(SkriptDialoge::Art::Fehler).isEmpty());
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Meldung),
                 QStringList{QStringLiteral("Im Ordner „") + Q(ordner.pfad()) +
                             QStringLiteral("“ gibt es schon einen Ordner „Neu“. Bitte benennen "
                                            "Sie ihn um, oder wählen Sie mit „Testen“ einen "
                                            "anderen Ordner.")});
        QVERIFY(Lesen(ordner / "Neu/Seite1.html") == erstesMal);
        QCOMPARE(Inhalt(ordner / "Neu/css"), QStringList{"formate.css"});
        QCOMPARE(ende.count(), 0);
        QVERIFY(h.form1->isVisible());
        QCOMPARE(seiten->currentIndex(), int(TForm1::kCodeSeite));
        QVERIFY(Knopf(h, "BitBtn10")->isVisible());
    }

    // A saved imported site opened through the start window: "Testen" writes
    // beside Neu, saving writes in place with the edited contents kept.
    void gespeicherteHomepageBearbeiten() {
        TempOrdner ordner;
        lw::Projektdaten d;
        d.Modus = lw::kModusNZAlt;
        d.Zielordner = ordner.pfad();
        d.ImportAnzahl = 2;
        d.ButtonHoehe.Setzen(1, 30);
        d.ButtonBreite.Setzen(1, 120);
        lw::CodeEingaben e;
        e.menueFixiert = true;
        QVERIFY(QDir().mkpath(Q(ordner / "Alt")));
        for (const std::string name : {"index.html", "kontakt.html"}) {
            d.ImportSeiten.Setzen(d.ImportSeiten.Zeilen() + 1, name);
            e.links.push_back({name, lw::W("Über & ") + name, "Zur Seite"});
            lw::test::Schreiben(ordner / ("Alt/" + name), "<p>" + name + "</p>");
        }
        lw::DateienErzeugen(d, lw::CodeErzeugen(d, e), true);
        const std::string neu = ordner / "Neu";
        std::string bearbeitet = Lesen(neu + "/_kontakt.html");
        bearbeitet.replace(bearbeitet.find("<p>kontakt.html</p>"), 19, "<p>T\xC3\xBCr</p>");
        lw::test::Schreiben(neu + "/_kontakt.html", bearbeitet);

        SkriptDialoge dialoge;
        Hauptfenster h;
        QSignalSpy ende(h.form2, &TForm2::programmEndet);
        h.form2->show();
        dialoge.naechsterOrdner(Q(neu));
        QTest::mouseClick(h.form2->findChild<QPushButton*>(QStringLiteral("btn_BearbeitenHP")),
                          Qt::LeftButton);
        QVERIFY(h.finde<QCheckBox>("cbx_MenueFixieren")->isChecked());
        Knopf(h, "BitBtn3")->click();
        QCOMPARE(h.finde<QLineEdit>("Ed_Alt2")->text(), QStringLiteral("Über & kontakt.html"));
        h.finde<QLineEdit>("Ed_Alt1")->setText(QStringLiteral("Start"));
        Knopf(h, "BitBtn1")->click();
        Knopf(h, "btn_WeiterInhalte")->click();
        Knopf(h, "Button1")->click();  // asks for no folder
        QCOMPARE(dialoge.von(SkriptDialoge::Art::Ordner).size(), size_t(1));
        QCOMPARE(geoeffnet, QStringList{Q(ordner / "Test.html")});

        Knopf(h, "BitBtn10")->click();
        QVERIFY(dialoge.von(SkriptDialoge::Art::Fehler).empty());
        const std::string kontakt = Lesen(neu + "/_kontakt.html");
        QVERIFY(kontakt.find("<p>T&uuml;r</p>") != std::string::npos);
        QVERIFY(kontakt.find(">Start</a>") != std::string::npos);
        const QStringList sicherungen = Inhalt(ordner.pfad()).filter(QStringLiteral("Sicherung "));
        QCOMPARE(sicherungen.size(), 1);
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Meldung).last(),
                 QStringLiteral("Die Homepage wurde unter %1/Neu gespeichert.\nDie bisherigen "
                                "Dateien liegen unter %1/%2.\nDas Programm wird jetzt beendet.")
                     .arg(Q(ordner.pfad()), sicherungen[0]));
        QCOMPARE(ende.count(), 1);
        QVERIFY(dialoge.alleAntwortenVerbraucht());
    }

    // A page's own text and title through the windows: written, saved, opened
    // again, read into the editor, written and saved again to the same bytes.
    void eigenerInhaltHinUndZurueck() {
        TempOrdner ordner;
        const std::string foto = ordner / "foto.jpg";
        QVERIFY(lw::test::JpegSchreiben(Q(foto), 60, 30, Qt::darkBlue));
        SkriptDialoge dialoge;
        std::string seite1, seite2;
        ModaleFensterWiederZulassen();
        {
            Hauptfenster h(lw::kModusHPNeu, 2);
            h.zeigenMitGroesse();
            Seiten(h)->setCurrentIndex(TForm1::kInhalteSeite);
            h.finde<QLineEdit>("ed_Titel")->setText(QStringLiteral("Über uns"));
            ModalAntwort editor([&](QWidget* w) {
                // Its keys answer only in the active window.
                w->activateWindow();
                if (!QTest::qWaitForWindowActive(w)) qWarning("Editor nicht aktiv");
                auto* text = w->findChild<QTextEdit*>(QStringLiteral("te_Inhalt"));
                QTest::keyClicks(text, QStringLiteral("Willkommen "));
                QTest::keyClick(text, Qt::Key_B, Qt::ControlModifier);
                QTest::keyClicks(text, QStringLiteral("im Verein"));
                QTest::keyClick(text, Qt::Key_B, Qt::ControlModifier);
                QTest::keyClick(text, Qt::Key_Return);
                ModalAntwort link([](QWidget* l) {
                    l->findChild<QLineEdit*>(QStringLiteral("ed_LinkText"))->setText("Weiter");
                    l->findChild<QPushButton*>(QStringLiteral("btn_LinkOK"))->click();
                });
                QTest::keyClick(text, Qt::Key_K, Qt::ControlModifier);
                QVERIFY(link.erledigt());
                dialoge.naechsteDatei(Q(foto));
                ModalAntwort bild([](QWidget* b) {
                    b->findChild<QLineEdit*>(QStringLiteral("ed_BildBeschreibung"))
                        ->setText(QStringLiteral("Vereinsheim"));
                    b->findChild<QPushButton*>(QStringLiteral("btn_BildOK"))->click();
                });
                w->findChild<QToolButton*>(QStringLiteral("btn_Bild"))->click();
                QVERIFY(bild.erledigt());
                w->findChild<QPushButton*>(QStringLiteral("btn_InhaltOK"))->click();
            });
            Knopf(h, "btn_InhaltBearbeiten")->click();
            QVERIFY(editor.erledigt());
            QVERIFY(h.daten.Seiteninhalte[1].text);

            Knopf(h, "btn_WeiterInhalte")->click();
            dialoge.naechsterOrdner(Q(ordner.pfad()));
            Knopf(h, "Button1")->click();
            const std::string test = Lesen(ordner / "Test.html");
            QVERIFY(test.find("<title>&Uuml;ber uns</title>") != std::string::npos);
            QVERIFY(test.find("Willkommen <strong>im Verein</strong>") != std::string::npos);
            Knopf(h, "BitBtn10")->click();
            QCOMPARE(dialoge.texte(SkriptDialoge::Art::Fehler).join("|"), QString());
            seite1 = Lesen(ordner / "Neu/Seite1.html");
            seite2 = Lesen(ordner / "Neu/Seite2.html");
            QVERIFY(seite1.find("<a href=\"Seite1.html\">Weiter</a>") != std::string::npos);
            QVERIFY(seite1.find("<img src=\"img/foto.jpg\" alt=\"Vereinsheim\" width=\"60\" "
                                "height=\"30\" />") != std::string::npos);
            QCOMPARE(Lesen(ordner / "Neu/img/foto.jpg"), Lesen(foto));
        }
        ModaleFensterWiederZulassen();

        Hauptfenster h;
        h.form2->show();
        dialoge.naechsterOrdner(Q(ordner / "Neu"));
        ModalAntwort anzahl([](QWidget* w) {
            w->findChild<QPushButton*>(QStringLiteral("bbtn_OKLinkZahl"))->click();
        });
        QTest::mouseClick(h.form2->findChild<QPushButton*>(QStringLiteral("btn_BearbeitenHP")),
                          Qt::LeftButton);
        QVERIFY(anzahl.erledigt());
        Seiten(h)->setCurrentIndex(TForm1::kInhalteSeite);
        QCOMPARE(h.finde<QLineEdit>("ed_Titel")->text(), QStringLiteral("Über uns"));
        bool bearbeitbar = false;
        QString gezeigt;
        ModalAntwort editor([&](QWidget* w) {
            auto* text = w->findChild<QTextEdit*>(QStringLiteral("te_Inhalt"));
            bearbeitbar = !text->isReadOnly();
            gezeigt = text->toPlainText();
            // A change and its reversal: the text is written anew.
            QTest::keyClick(text, Qt::Key_X);
            QTest::keyClick(text, Qt::Key_Backspace);
            w->findChild<QPushButton*>(QStringLiteral("btn_InhaltOK"))->click();
        });
        Knopf(h, "btn_InhaltBearbeiten")->click();
        QVERIFY(editor.erledigt());
        QVERIFY2(bearbeitbar, seite1.c_str());
        QVERIFY2(gezeigt.startsWith(QStringLiteral("Willkommen im Verein")), qPrintable(gezeigt));
        QVERIFY(h.daten.Seiteninhalte[1].text);
        Knopf(h, "btn_WeiterInhalte")->click();
        Knopf(h, "Button1")->click();
        Knopf(h, "BitBtn10")->click();
        QVERIFY(dialoge.von(SkriptDialoge::Art::Fehler).empty());
        QCOMPARE(Lesen(ordner / "Neu/Seite1.html"), seite1);
        QCOMPARE(Lesen(ordner / "Neu/Seite2.html"), seite2);
        // Nothing changed, so nothing was backed up.
        QVERIFY(Inhalt(ordner.pfad()).filter(QStringLiteral("Sicherung ")).isEmpty());
        QVERIFY(dialoge.alleAntwortenVerbraucht());
    }
};

QTEST_MAIN(NeueSeiteTest)
#include "test_neue_seite.moc"
