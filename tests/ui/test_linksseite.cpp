// The links page: rows made at run time, page names, button graphics, the
// preview of the first button and the two button choosers.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
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

void LinksOeffnen(const Hauptfenster& h) {
    h.finde<QTabWidget>("PageControl1")->setCurrentIndex(TForm1::kLinksSeite);
}

QLineEdit* Feld(const Hauptfenster& h, const char* stamm, int zeile) {
    return h.finde<QLineEdit>((QByteArray(stamm) + QByteArray::number(zeile)).constData());
}

QLabel* Vorschaubild(const Hauptfenster& h) {
    return h.finde<QLabel>("img_ButtonVorschau");
}
QLabel* Vorschautext(const Hauptfenster& h) {
    return h.finde<QLabel>("lbl_ButtonSchriftVorschau");
}

// Centred in pnl_Vorschau (265 x 81) as the design computes it.
QPoint Mittig(const QWidget* w) {
    return QPoint(132 - w->width() / 2, 40 - w->height() / 2);
}

}  // namespace

class LinksseiteTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { AnwendungEinrichten(*qobject_cast<QApplication*>(qApp)); }

    void zeilenImModusHPNeu_data() {
        QTest::addColumn<int>("zeilen");
        QTest::addColumn<int>("hoehe");
        QTest::addColumn<bool>("rollt");
        QTest::newRow("eine Zeile") << 1 << 58 << false;
        QTest::newRow("fuenf Zeilen") << 5 << 186 << false;
        QTest::newRow("sechs Zeilen") << 6 << 218 << true;
        QTest::newRow("zwoelf Zeilen") << 12 << 410 << true;
    }
    void zeilenImModusHPNeu() {
        QFETCH(int, zeilen);
        QFETCH(int, hoehe);
        QFETCH(bool, rollt);
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, zeilen);
        h.zeigen();
        QCOMPARE(h.finde<QGroupBox>("gb_Links")->height(), 145);
        QVERIFY(!h.finde("Ed_Link1"));
        LinksOeffnen(h);

        for (const char* gruppe : {"gb_Links", "gb_Grafiken", "gb_AlternativText", "gb_Tooltipps"})
            QCOMPARE(h.finde<QGroupBox>(gruppe)->height(), hoehe);
        for (int i = 1; i <= zeilen; ++i) {
            const int oben = 32 * i - 6;
            QLineEdit* seite = Feld(h, "Ed_Link", i);
            QCOMPARE(seite->text(), QStringLiteral("Seite%1.html").arg(i));
            QCOMPARE(seite->geometry(), QRect(13, oben, 93, 21));
            QVERIFY(!seite->isReadOnly());
            QCOMPARE(
                seite->toolTip(),
                QStringLiteral("Dateiname der Seite.\nBitte einen gültigen Dateinamen verwenden."));
            auto* laden =
                h.finde<QPushButton>(QByteArray("btn_Grafik" + QByteArray::number(i)).constData());
            QCOMPARE(laden->text(), QStringLiteral("Laden..."));
            QCOMPARE(laden->geometry(), QRect(16, oben, 60, 21));
            QCOMPARE(laden->cursor().shape(), Qt::PointingHandCursor);
            QCOMPARE(Feld(h, "Ed_Alt", i)->text(), QStringLiteral("Seite %1").arg(i));
            QCOMPARE(Feld(h, "Ed_Tooltipp", i)->text(), QStringLiteral("Zur Seite %1").arg(i));
            QCOMPARE(Feld(h, "Ed_Tooltipp", i)->geometry(), QRect(13, oben, 93, 21));
            QVERIFY(Feld(h, "Ed_Alt", i)->isVisible());
        }
        QVERIFY(!Feld(h, "Ed_Link", zeilen + 1));

        auto* box = h.finde<QScrollArea>("ScrollBox1");
        QCOMPARE(box->geometry(), QRect(0, 0, 497, 313));
        QCOMPARE(box->verticalScrollBar()->maximum() > 0, rollt);
        // The preview shows row 1 right after building.
        QCOMPARE(Vorschautext(h)->text(), QStringLiteral("Seite 1"));
        QCOMPARE(Vorschaubild(h)->toolTip(), QStringLiteral("Zur Seite 1"));
        QVERIFY(dialoge.aufrufe.empty());
    }

    // Imported names are shown and cannot be edited; leaving the page keeps
    // the names the import found.
    void zeilenImModusNZAlt() {
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusNZAlt, 3);
        h.daten.ImportSeiten.Setzen(2, lw::W("_über.htm"));
        h.daten.ImportSeiten.Setzen(3, "kontakt");
        h.zeigen();
        h.form1->AssistentenSeitenZeigen();
        LinksOeffnen(h);
        QCOMPARE(Feld(h, "Ed_Link", 1)->text(), QStringLiteral("_alt1.htm"));
        QCOMPARE(Feld(h, "Ed_Link", 2)->text(), QStringLiteral("_über.htm"));
        QVERIFY(Feld(h, "Ed_Link", 3)->isReadOnly());
        QCOMPARE(Feld(h, "Ed_Link", 3)->toolTip(),
                 QStringLiteral("Relative Linkangabe aus den importierten Seiten.\n"
                                "(Editieren nicht möglich)"));
        QCOMPARE(Feld(h, "Ed_Alt", 3)->text(), QStringLiteral("Seite 3"));

        Feld(h, "Ed_Link", 1)->setText(QStringLiteral("anders.htm"));
        h.finde<QTabWidget>("PageControl1")->setCurrentIndex(TForm1::kBodySeite);
        QCOMPARE(h.daten.ImportSeiten[1], std::string("_alt1.htm"));
        QCOMPARE(h.daten.ImportSeiten[2], lw::W("_über.htm"));
        // Imported names are not checked: no question for a name without ".html".
        QCOMPARE(h.daten.ImportSeiten[3], std::string("kontakt"));
        QVERIFY(dialoge.aufrufe.empty());
        QCOMPARE(h.finde<QTabWidget>("PageControl1")->currentIndex(), int(TForm1::kBodySeite));
    }

    void umbenennenUndVerlassen() {
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 3);
        h.zeigen();
        LinksOeffnen(h);
        QLineEdit* zeile2 = Feld(h, "Ed_Link", 2);
        zeile2->selectAll();
        zeile2->insert(QStringLiteral("über-uns.html"));
        QCOMPARE(h.daten.ImportSeiten[2], std::string());
        h.finde<QTabWidget>("PageControl1")->setCurrentIndex(TForm1::kBodySeite);
        QCOMPARE(h.daten.ImportSeiten[1], std::string("Seite1.html"));
        QCOMPARE(h.daten.ImportSeiten[2], lw::W("über-uns.html"));
        QCOMPARE(h.daten.ImportSeiten[3], std::string("Seite3.html"));
    }

    // Leaving the page checks the names typed there: a refusal keeps the page
    // open with the focus on the row; questions come once nothing is refused.
    void seitennamenBeimVerlassen_data() {
        QTest::addColumn<QStringList>("namen");
        QTest::addColumn<bool>("weiter");  // "Weiter >>", else a click on the page header
        QTest::addColumn<bool>("ja");      // the answer to a question
        QTest::addColumn<QString>("meldung");
        QTest::addColumn<QString>("frage");  // the name asked about
        QTest::addColumn<int>("fokus");      // the row refused; 0 when the page was left
        const auto zeile = [](const char* name, const QStringList& namen, bool weiter, bool ja,
                              const QString& meldung, const QString& frage, int fokus) {
            QTest::newRow(name) << namen << weiter << ja << meldung << frage << fokus;
        };
        const QString leer = "Bitte geben Sie für Link %1 einen Seitennamen ein.";
        zeile("leer", {"Seite1.html", "", "Seite3.html"}, true, false, leer.arg(2), {}, 2);
        zeile("nur Leerzeichen", {"  ", "b.html", "c.html"}, false, false, leer.arg(1), {}, 1);
        zeile("kein Dateiname", {"a.html", "b.html", "neu/c.html"}, true, false,
              "Der Seitenname \"neu/c.html\" ist kein gültiger Dateiname (E/A-Fehler 123).", {}, 3);
        zeile("doppelt, andere Schreibung", {"Start.html", "b.html", "start.HTML"}, false, false,
              "Link 1 und Link 3 haben denselben Seitennamen „start.HTML“.", {}, 3);
        zeile("leer vor der Frage", {"Über uns", "", "c.html"}, true, true, leer.arg(2), {}, 2);
        zeile("ohne Endung, nein", {"a.html", "Über uns", "c.html"}, true, false, {}, "Über uns",
              2);
        zeile("ohne Endung, ja", {"a.html", "Über uns", "c.html"}, false, true, {}, "Über uns", 0);
        zeile("htm in jeder Schreibung", {"a.htm", "B.HTML", "c.Html"}, true, false, {}, {}, 0);
    }
    void seitennamenBeimVerlassen() {
        QFETCH(QStringList, namen);
        QFETCH(bool, weiter);
        QFETCH(bool, ja);
        QFETCH(QString, meldung);
        QFETCH(QString, frage);
        QFETCH(int, fokus);
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 3);
        h.zeigenMitGroesse();
        LinksOeffnen(h);
        for (int i = 1; i <= 3; ++i) Feld(h, "Ed_Link", i)->setText(namen.at(i - 1));
        if (!frage.isEmpty()) dialoge.naechsteAntwort(ja);
        auto* seiten = h.finde<QTabWidget>("PageControl1");
        if (weiter)
            h.finde<QPushButton>("BitBtn1")->click();
        else
            QTest::mouseClick(seiten->tabBar(), Qt::LeftButton, {},
                              seiten->tabBar()->tabRect(TForm1::kBodySeite).center());

        const auto liste = [](const QString& s) {
            return s.isEmpty() ? QStringList() : QStringList{s};
        };
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Meldung), liste(meldung));
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Frage),
                 liste(frage.isEmpty() ? frage
                                       : QStringLiteral("Der Seitenname „%1“ endet nicht auf "
                                                        ".html. Web-Server zeigen die Seite dann "
                                                        "als Text. Trotzdem verwenden?")
                                             .arg(frage)));
        if (fokus > 0) {
            QCOMPARE(seiten->currentIndex(), int(TForm1::kLinksSeite));
            QCOMPARE(h.form1->focusWidget(), Feld(h, "Ed_Link", fokus));
            // Nothing went on: no names taken over, no code made.
            QCOMPARE(h.daten.ImportSeiten[1], std::string());
            QVERIFY(h.form1->LetzterCode().seite.empty());
        } else {
            QCOMPARE(seiten->currentIndex(),
                     int(weiter ? TForm1::kInhalteSeite : TForm1::kBodySeite));
            for (int i = 1; i <= 3; ++i)
                QCOMPARE(h.daten.ImportSeiten[i], alsCp1252(namen.at(i - 1)));
            // A name once accepted is not questioned again.
            LinksOeffnen(h);
            seiten->setCurrentIndex(TForm1::kBodySeite);
            QCOMPARE(seiten->currentIndex(), int(TForm1::kBodySeite));
        }
        QVERIFY(dialoge.alleAntwortenVerbraucht());
        QCOMPARE(dialoge.aufrufe.size(), size_t(meldung.isEmpty() && frage.isEmpty() ? 0 : 1));
    }

    // A refused row below the visible part of the page is scrolled into view.
    void abgelehnteZeileWirdGezeigt() {
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 12);
        h.zeigen();
        LinksOeffnen(h);
        QLineEdit* zeile = Feld(h, "Ed_Link", 12);
        zeile->clear();
        h.finde<QPushButton>("BitBtn1")->click();
        QCOMPARE(h.form1->focusWidget(), zeile);
        QWidget* sichtbar = h.finde<QScrollArea>("ScrollBox1")->viewport();
        QVERIFY(
            sichtbar->rect().contains(QRect(zeile->mapTo(sichtbar, QPoint(0, 0)), zeile->size())));
    }

    void vorschauFolgtNurZeile1() {
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 2);
        h.zeigen();
        LinksOeffnen(h);
        QLineEdit* text1 = Feld(h, "Ed_Alt", 1);
        text1->clear();
        QString getippt;
        for (QChar z : QStringLiteral("Start")) {
            QTest::keyClick(text1, z.toLatin1());
            getippt += z;
            QCOMPARE(Vorschautext(h)->text(), getippt);
            QCOMPARE(Vorschautext(h)->pos(), Mittig(Vorschautext(h)));
        }
        Feld(h, "Ed_Tooltipp", 1)->setText(QStringLiteral("Zur Startseite"));
        QCOMPARE(Vorschautext(h)->toolTip(), QStringLiteral("Zur Startseite"));
        QCOMPARE(Vorschaubild(h)->toolTip(), QStringLiteral("Zur Startseite"));

        // The preview shows the row being edited.
        QTest::keyClicks(Feld(h, "Ed_Alt", 2), QStringLiteral("xyz"));
        QCOMPARE(Vorschautext(h)->text(), QStringLiteral("xyzSeite 2"));
        Feld(h, "Ed_Tooltipp", 2)->setText(QStringLiteral("anders"));
        QCOMPARE(Vorschautext(h)->toolTip(), QStringLiteral("anders"));
        QCOMPARE(Vorschautext(h)->pos(), Mittig(Vorschautext(h)));
    }

    void grafikFuerZeile1InDerVorschau_data() {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<QSize>("groesse");
        QTest::addColumn<int>("alphaRechts");  // of the right half; -1 without transparency
        QTest::newRow("JPEG") << "knopf.jpg" << QSize(120, 30) << -1;
        QTest::newRow("GIF mit Transparenz") << "knopf.gif" << QSize(51, 21) << 255;
        QTest::newRow("PNG mit Alpha") << "knopf.png" << QSize(64, 20) << 128;
    }
    void grafikFuerZeile1InDerVorschau() {
        QFETCH(QString, datei);
        QFETCH(QSize, groesse);
        QFETCH(int, alphaRechts);
        lw::test::TempOrdner ordner;
        const QString pfad = QString::fromStdString(ordner / datei.toStdString());
        const int b = groesse.width(), hh = groesse.height();
        QVERIFY(datei.endsWith(".gif")   ? lw::test::GifSchreiben(pfad, b, hh)
                : datei.endsWith(".png") ? lw::test::PngSchreiben(pfad, b, hh)
                                         : lw::test::JpegSchreiben(pfad, b, hh));
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 2);
        h.zeigen();
        LinksOeffnen(h);
        dialoge.naechsteDatei(pfad);
        h.finde<QPushButton>("btn_Grafik1")->click();

        const auto aufruf = dialoge.von(SkriptDialoge::Art::Datei).at(0);
        QCOMPARE(aufruf.titel, QStringLiteral("Button laden..."));
        QCOMPARE(aufruf.filter, kFilter);
        QCOMPARE(aufruf.ersterOrdner, alsQString(lw::ProgrammOrdner() + "/Buttons"));

        QCOMPARE(h.daten.ButtonGrafik[1], alsCp1252(pfad));
        QCOMPARE(h.daten.ButtonBreite[1], groesse.width());
        QCOMPARE(h.daten.ButtonHoehe[1], groesse.height());
        QLabel* bild = Vorschaubild(h);
        QCOMPARE(bild->pixmap().size(), groesse);
        QCOMPARE(bild->size(), groesse);
        QCOMPARE(bild->pos(), Mittig(bild));
        QCOMPARE(Vorschautext(h)->pos(), Mittig(Vorschautext(h)));
        // The text lies over the picture.
        QCOMPARE(bild->parentWidget()->children().last(), Vorschautext(h));
        if (alphaRechts >= 0) {
            const QImage pixel = bild->pixmap().toImage();
            QCOMPARE(qAlpha(pixel.pixel(0, 0)), 0);
            QVERIFY(qAbs(qAlpha(pixel.pixel(groesse.width() - 1, 0)) - alphaRechts) <= 1);
        }
        QVERIFY(dialoge.texte(SkriptDialoge::Art::Fehler).isEmpty());
    }

    void grafikFuerZeile2OhneVorschau() {
        lw::test::TempOrdner ordner;
        const QString pfad = QString::fromStdString(ordner / "zwei.jpg");
        QVERIFY(lw::test::JpegSchreiben(pfad, 90, 25));
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 3);
        h.zeigen();
        LinksOeffnen(h);
        dialoge.naechsteDatei(pfad);
        h.finde<QPushButton>("btn_Grafik2")->click();
        QCOMPARE(h.daten.ButtonGrafik[2], alsCp1252(pfad));
        QCOMPARE(h.daten.ButtonBreite[2], 90);
        QCOMPARE(h.daten.ButtonHoehe[2], 25);
        QCOMPARE(h.daten.ButtonBreite[1], 0);
        QCOMPARE(h.daten.ButtonGrafik[1], std::string());
        // The preview shows row 2, which was edited, and row 1 without one.
        QCOMPARE(Vorschaubild(h)->pixmap().size(), QSize(90, 25));
        Feld(h, "Ed_Alt", 1)->setText(QStringLiteral("eins"));
        QVERIFY(Vorschaubild(h)->pixmap().isNull());
        // With one graphic for all, every row shows the first row's.
        h.finde<QCheckBox>("CheckBox1")->setChecked(true);
        Feld(h, "Ed_Alt", 2)->setText(QStringLiteral("zwei"));
        QVERIFY(Vorschaubild(h)->pixmap().isNull());
    }

    // A cancelled chooser and a file that is no picture change nothing: path,
    // sizes and preview stay those of the picture chosen before.
    void abbruchUndKaputtesBildAendernNichts() {
        lw::test::TempOrdner ordner;
        const QString gut = QString::fromStdString(ordner / "gut.jpg");
        const QString kaputt = QString::fromStdString(ordner / "kaputt.jpg");
        QVERIFY(lw::test::JpegSchreiben(gut, 100, 20));
        lw::test::Schreiben(ordner / "kaputt.jpg", "kein Bild, nur Text");
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 2);
        h.zeigen();
        LinksOeffnen(h);
        dialoge.naechsteDatei(gut);
        dialoge.naechsteDatei(QString());
        dialoge.naechsteDatei(kaputt);
        auto* laden = h.finde<QPushButton>("btn_Grafik1");
        laden->click();
        const QPoint ort = Vorschaubild(h)->pos();

        for (int versuch = 0; versuch < 2; ++versuch) {
            laden->click();
            QCOMPARE(h.daten.ButtonGrafik[1], alsCp1252(gut));
            QCOMPARE(h.daten.ButtonBreite[1], 100);
            QCOMPARE(h.daten.ButtonHoehe[1], 20);
            QCOMPARE(Vorschaubild(h)->pixmap().size(), QSize(100, 20));
            QCOMPARE(Vorschaubild(h)->pos(), ort);
        }
        const QStringList fehler = dialoge.texte(SkriptDialoge::Art::Fehler);
        QCOMPARE(fehler.size(), 1);
        QVERIFY(fehler[0].contains(kaputt));
        QVERIFY(dialoge.alleAntwortenVerbraucht());
    }

    // No pages at all: no rows, an empty preview, and nothing breaks on the
    // way to the code page.
    void ohneZeilen() {
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 0);
        h.zeigenMitGroesse();
        LinksOeffnen(h);
        QVERIFY(h.daten.LinksAufgebaut);
        QVERIFY(!h.finde("Ed_Link1"));
        QCOMPARE(h.finde<QGroupBox>("gb_Tooltipps")->height(), 26);
        QVERIFY(Vorschautext(h)->text().isEmpty());
        QVERIFY(Vorschaubild(h)->pixmap().isNull());
        dialoge.naechsteSchrift(std::nullopt);
        h.finde<QPushButton>("btn_LinkSchrift")->click();
        h.finde<QTabWidget>("PageControl1")->setCurrentIndex(TForm1::kCodeSeite);
        QVERIFY(!h.form1->LetzterCode().seite.empty());
        QVERIFY(h.form1->CodeEingabenLesen().links.empty());
    }

    // Tab runs column by column as the groups stand, from the shared button
    // settings to the page's foot; the scrolling area takes no focus and
    // shows the field that has it.
    void tabFolge_data() {
        QTest::addColumn<QString>("modus");
        QTest::addColumn<int>("zeilen");
        QTest::newRow("zwei neue Seiten") << "HPNeu" << 2;
        QTest::newRow("acht importierte Seiten") << "NZAlt" << 8;
    }
    void tabFolge() {
        QFETCH(QString, modus);
        QFETCH(int, zeilen);
        SkriptDialoge dialoge;
        Hauptfenster h(modus.toStdString(), zeilen);
        h.zeigen();
        if (modus == QStringLiteral("NZAlt")) h.form1->AssistentenSeitenZeigen();
        LinksOeffnen(h);
        h.form1->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(h.form1));
        auto* rollen = h.finde<QScrollArea>("ScrollBox1");
        QCOMPARE(rollen->focusPolicy(), Qt::NoFocus);

        QStringList erwartet{"btn_LinkSchrift", "CheckBox1"};
        for (const char* stamm : {"Ed_Link", "btn_Grafik", "Ed_Alt", "Ed_Tooltipp"})
            for (int i = 1; i <= zeilen; ++i)
                erwartet << QString::fromLatin1(stamm) + QString::number(i);
        erwartet << "BitBtn1"
                 << "BitBtn6";
        h.finde("btn_LinkBackground")->setFocus();
        QStringList folge;
        for (int i = 0; i < erwartet.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* fokus = QApplication::focusWidget();
            folge << fokus->objectName();
            if (rollen->isAncestorOf(fokus)) {
                const QRect sichtbar(fokus->mapTo(rollen->viewport(), QPoint(0, 0)), fokus->size());
                QVERIFY2(rollen->viewport()->rect().contains(sichtbar),
                         qPrintable(fokus->objectName()));
            }
        }
        QCOMPARE(folge, erwartet);
    }

    void knopfHintergrundfarbe() {
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 1);
        h.zeigen();
        LinksOeffnen(h);
        auto* knopf = h.finde<QPushButton>("btn_LinkBackground");
        dialoge.naechsteFarbe(std::nullopt);
        knopf->click();
        QCOMPARE(h.daten.ButtonHintergrundFarbe, std::string());
        dialoge.naechsteFarbe(QColor(0x99, 0x66, 0x33));
        knopf->click();
        QCOMPARE(h.daten.ButtonHintergrundFarbe, std::string("996633"));
        for (const auto& aufruf : dialoge.von(SkriptDialoge::Art::Farbe))
            QCOMPARE(aufruf.vorgabeFarbe, QColor(Qt::black));
    }

    // Confirmed or cancelled, the preview label shows the font in effect;
    // cancelling resets name and size only.
    void knopfSchrift() {
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusHPNeu, 1);
        h.zeigen();
        LinksOeffnen(h);
        auto* knopf = h.finde<QPushButton>("btn_LinkSchrift");
        lw::ui::SchriftWahl wahl;
        wahl.familie = QStringLiteral("Verdana");
        wahl.punkte = 20;
        wahl.fett = true;
        wahl.unterstrichen = true;
        wahl.durchgestrichen = true;
        wahl.farbe = QColor(0, 0, 255);
        dialoge.naechsteSchrift(wahl);
        knopf->click();
        QCOMPARE(h.daten.ButtonSchriftName, std::string("Verdana"));
        QCOMPARE(h.daten.ButtonSchriftGroesse, 20);
        QCOMPARE(h.daten.ButtonSchriftFarbe, std::string("0000ff"));
        QCOMPARE(h.daten.ButtonSchriftStil,
                 std::string("        font-weight: bold;\n        font-style: normal;\n"
                             "        text-decoration: underline;\n"
                             "        text-decoration: line-through;"));
        QLabel* label = Vorschautext(h);
        QCOMPARE(label->font().family(), QStringLiteral("Verdana"));
        QCOMPARE(label->font().pointSize(), 20);
        QVERIFY(label->font().bold() && label->font().underline() && label->font().strikeOut());
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(label->pos(), Mittig(label));

        dialoge.naechsteSchrift(std::nullopt);
        knopf->click();
        QCOMPARE(h.daten.ButtonSchriftName, std::string("Arial"));
        QCOMPARE(h.daten.ButtonSchriftGroesse, 14);
        QCOMPARE(h.daten.ButtonSchriftFarbe, std::string("0000ff"));
        QVERIFY(h.daten.ButtonSchriftStil.find("line-through") != std::string::npos);
        QCOMPARE(label->font().family(), QStringLiteral("Arial"));
        QCOMPARE(label->font().pointSize(), 14);
        QVERIFY(!label->font().bold() && !label->font().underline());
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::black));

        for (const auto& aufruf : dialoge.von(SkriptDialoge::Art::Schrift)) {
            QCOMPARE(aufruf.vorgabeSchrift.familie, QStringLiteral("Arial"));
            QCOMPARE(aufruf.vorgabeSchrift.punkte, 14);
            QVERIFY(!aufruf.vorgabeSchrift.fett && !aufruf.vorgabeSchrift.kursiv);
            QCOMPARE(aufruf.vorgabeSchrift.farbe, QColor(Qt::black));
        }
    }
};

QTEST_MAIN(LinksseiteTest)
#include "test_linksseite.moc"
