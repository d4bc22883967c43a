// The small windows: warning, help, status, page count and button size.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "app/About.h"
#include "app/Browser.h"
#include "model/Projektdaten.h"
#include "tests/ui/Kind.h"
#include "tests/ui/SkriptDialoge.h"
#include "ui/Abbruch.h"
#include "ui/Anwendung.h"
#include "ui/ButtonGroesse.h"
#include "ui/Fenster.h"
#include "ui/Hilfe.h"
#include "ui/LinkZahl.h"
#include "ui/Status.h"

using lw::test::Kind;
using lw::test::ModalAntwort;
using lw::test::SkriptDialoge;

namespace {

// A key goes to the window's focus widget and travels up from there, as typed.
void Taste(QWidget* w, Qt::Key taste) {
    QWidget* ziel = w->window()->focusWidget();
    QTest::keyClick(ziel && w->isAncestorOf(ziel) ? ziel : w, taste);
}

}  // namespace

class KleinfensterTest : public QObject {
    Q_OBJECT

private:
    lw::Projektdaten daten_;
    Fenster fenster_;
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<TForm3> form3_;

private slots:
    void initTestCase() { AnwendungEinrichten(*qApp); }

    void init() {
        daten_ = lw::Projektdaten();
        fenster_ = Fenster();
        form2_ = std::make_unique<TForm2>(daten_, fenster_);
        fenster_.Form2 = form2_.get();
        form3_ = std::make_unique<TForm3>(daten_, fenster_);
        fenster_.Form3 = form3_.get();
    }

    void cleanup() {
        form3_.reset();
        form2_.reset();
    }

    void warnungAufbau() {
        TForm3& f = *form3_;
        QCOMPARE(f.windowTitle(), QStringLiteral("Warnung"));
        QCOMPARE(f.size(), QSize(309, 94));
        QCOMPARE(f.minimumSize(), f.maximumSize());
        QVERIFY(f.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(f.windowFlags() & Qt::WindowMaximizeButtonHint));
        auto* ja = Kind<QPushButton>(&f, "BitBtn1");
        auto* nein = Kind<QPushButton>(&f, "BitBtn2");
        QCOMPARE(ja->text(), QStringLiteral("&Ja"));
        QCOMPARE(nein->text(), QStringLiteral("&Nein"));
        QVERIFY(ja->isDefault());
        QVERIFY(!ja->icon().isNull());
        QVERIFY(!nein->icon().isNull());
        QCOMPARE(ja->toolTip(), QStringLiteral("Schließen und Löschen"));
        QCOMPARE(nein->toolTip(), QStringLiteral("Zurück zum Programm"));
        QCOMPARE(ja->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(Kind<QLabel>(&f, "Label1")->text(),
                 QStringLiteral("Die bereits eingegebenen Werte werden jetzt gelöscht."));
    }

    // Nein clears the confirmation and ends the modal state; the program goes on.
    void warnungNeinModal() {
        daten_.BeendenBestaetigt = true;
        QSignalSpy ende(form2_.get(), &TForm2::programmEndet);
        ModalAntwort antwort([](QWidget* w) { Kind<QPushButton>(w, "BitBtn2")->click(); });
        form3_->ZeigenModal();
        QVERIFY(antwort.erledigt());
        QVERIFY(!daten_.BeendenBestaetigt);
        QVERIFY(!form3_->isVisible());
        QCOMPARE(ende.count(), 0);
    }

    void warnungEscapeIstNein() {
        daten_.BeendenBestaetigt = true;
        ModalAntwort antwort([](QWidget* w) { Taste(w, Qt::Key_Escape); });
        form3_->ZeigenModal();
        QVERIFY(antwort.erledigt());
        QVERIFY(!daten_.BeendenBestaetigt);
        QVERIFY(!form3_->isVisible());
    }

    // The close box is neither answer: the flag keeps whatever it held.
    void warnungSchliessfeldIstKeineAntwort() {
        daten_.BeendenBestaetigt = true;
        ModalAntwort antwort([](QWidget* w) { w->close(); });
        form3_->ZeigenModal();
        QVERIFY(antwort.erledigt());
        QVERIFY(daten_.BeendenBestaetigt);
        QVERIFY(!form3_->isVisible());
    }

    // Opened without being modal, a second modal request only brings it forward.
    void warnungZweiteAnforderungWaehrendNichtModal() {
        form3_->ZeigenNichtModal();
        QVERIFY(form3_->isVisible());
        QVERIFY(!form3_->isModal());
        QVERIFY(QApplication::activeModalWidget() == nullptr);

        ModalAntwort unerwartet([](QWidget* w) { Kind<QPushButton>(w, "BitBtn2")->click(); });
        form3_->ZeigenModal();
        QVERIFY(!unerwartet.erledigt());
        QVERIFY(form3_->isVisible());
        QVERIFY(!daten_.BeendenBestaetigt);

        Kind<QPushButton>(form3_.get(), "BitBtn2")->click();
        QVERIFY(!form3_->isVisible());
    }

    void hilfeFenster() {
        TForm4 f;
        QCOMPARE(f.objectName(), QStringLiteral("Form4"));
        QCOMPARE(f.windowTitle(), QStringLiteral("Hilfe"));
        QCOMPARE(f.size(), QSize(378, 365));
        QCOMPARE(f.palette().color(QPalette::Window), f.palette().color(QPalette::Light));
        auto* bild = Kind<QLabel>(&f, "Image1");
        QCOMPARE(bild->pixmap().size(), QSize(319, 230));
        // The two lines read as one sentence around the links.
        QCOMPARE(Kind<QLabel>(&f, "Label4")->text() + QLatin1Char(' ') +
                     Kind<QLabel>(&f, "Label6")->text() + QLatin1Char(' ') +
                     Kind<QLabel>(&f, "Label5")->text() + Kind<QLabel>(&f, "Label7")->text() +
                     QLatin1Char(' ') + Kind<QLabel>(&f, "Label8")->text(),
                 QStringLiteral("Bei Anregungen, Fragen oder Problemen können Sie sich über das "
                                "Forum auf der Projektseite auch direkt an mich wenden."));
        // The links keep their designed place but never run into the text before them.
        const auto rechts = [&](const char* name) {
            return Kind<QLabel>(&f, name)->geometry().right();
        };
        const auto links = [&](const char* name) { return Kind<QLabel>(&f, name)->x(); };
        QVERIFY(links("Label6") >= std::max(336, rechts("Label4") + 2));
        QVERIFY(links("Label7") >= std::max(54, rechts("Label5") + 1));
        QVERIFY(links("Label8") >= std::max(115, rechts("Label7") + 2));
        QCOMPARE(Kind<QLabel>(&f, "Label7")->y(), 336);
        for (const char* name : {"Label1", "Label2", "Label3", "Label4", "Label6", "Label8"})
            QVERIFY2(rechts(name) < f.width(), name);
    }

    // Each link's hint names the address that its click opens.
    void hilfeVerweise() {
        QStringList geoeffnet;
        browserOeffnerSetzen([&](const QString& a) { geoeffnet << a; });
        TForm4 f;
        auto* forum = Kind<QLabel>(&f, "Label6");
        auto* projekt = Kind<QLabel>(&f, "Label7");
        QTest::mouseClick(forum, Qt::LeftButton);
        QTest::mouseClick(projekt, Qt::LeftButton);
        QTest::mouseClick(projekt, Qt::RightButton);
        browserOeffnerSetzen({});

        const QString seite = QString::fromLatin1(ProjectPage);
        QCOMPARE(geoeffnet, QStringList({seite + QStringLiteral("/forum.html"), seite}));
        QCOMPARE(forum->toolTip(), QStringLiteral("Öffnen von ") + geoeffnet.at(0));
        QCOMPARE(projekt->toolTip(), QStringLiteral("Öffnen von ") + geoeffnet.at(1));
        QCOMPARE(forum->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(forum->font().underline());
        QCOMPARE(forum->palette().color(QPalette::WindowText), QColor(Qt::blue));
    }

    void statusFenster() {
        Tfrm_Status f;
        QCOMPARE(f.windowTitle(), QStringLiteral("Status"));
        QCOMPARE(f.windowType(), Qt::Tool);
        auto* status = Kind<QLabel>(&f, "lbl_Staus");
        QCOMPARE(status->text(), QStringLiteral("Bitte warten..."));
        QCOMPARE(Kind<QLabel>(&f, "Label1")->text(),
                 QStringLiteral("Folgende Aktion wird momentan ausgeführt:"));
        f.show();
        const QString lang = QStringLiteral("Lade Seite \"ueber_mich_und_meine_familie.html\"");
        f.StatusSetzen(lang);
        QCOMPARE(status->text(), lang);
        QVERIFY(status->width() >= status->fontMetrics().horizontalAdvance(lang));

        // The bar lies under the text, inside the designed size.
        auto* balken = Kind<QProgressBar>(&f, "pb_Fortschritt");
        QCOMPARE(f.size(), QSize(339, 75));
        QVERIFY(balken->y() > status->geometry().bottom());
        QVERIFY(balken->geometry().bottom() < f.height());
        QCOMPARE(balken->value(), 0);
        // Its text comes with the number of pages.
        QVERIFY(!balken->isTextVisible());
        f.FortschrittSetzen(2, 5);
        QCOMPARE(balken->value(), 2);
        QCOMPARE(balken->maximum(), 5);
        QVERIFY(balken->isTextVisible());
        QCOMPARE(balken->text(), QStringLiteral("Seite 2 von 5"));
        f.FortschrittSetzen(0, 0);
        QVERIFY(!balken->isTextVisible());
        f.FortschrittZuruecksetzen();
        QCOMPARE(balken->value(), 0);
        QVERIFY(!balken->isTextVisible());
    }

    // Escape closes the page-count window as its close box does, storing
    // nothing; the help window stays.
    void seitenzahlUndHilfeOhneEscape() {
        Tfrm_LinkAnzahl linkAnzahl(daten_);
        TForm4 hilfe;
        for (QDialog* f : std::initializer_list<QDialog*>{&linkAnzahl, &hilfe}) {
            f->show();
            Taste(f, Qt::Key_Escape);
            QVERIFY2(f->isVisible() == (f == &hilfe), qPrintable(f->objectName()));
            f->close();
            QVERIFY2(!f->isVisible(), qPrintable(f->objectName()));
        }
        QCOMPARE(daten_.Seitenzahl, 0);
    }

    void seitenzahlPfeileHaltenAnDenGrenzen() {
        Tfrm_LinkAnzahl f(daten_);
        QCOMPARE(f.windowTitle(), QStringLiteral("Anzahl der Seiten"));
        QCOMPARE(f.size(), QSize(235, 168));
        auto* feld = Kind<QLineEdit>(&f, "ed_LinkZahl");
        auto* regler = Kind<QWidget>(&f, "ud_Links");
        auto* auf = Kind<QToolButton>(regler, "auf");
        auto* ab = Kind<QToolButton>(regler, "ab");
        QCOMPARE(feld->text(), QStringLiteral("5"));
        f.show();

        for (int i = 0; i < 120; ++i) QTest::mouseClick(auf, Qt::LeftButton);
        QCOMPARE(feld->text(), QStringLiteral("100"));
        QTest::mouseClick(ab, Qt::LeftButton);
        QCOMPARE(feld->text(), QStringLiteral("99"));
        // A site has at least one page.
        for (int i = 0; i < 120; ++i) QTest::mouseClick(ab, Qt::LeftButton);
        QCOMPARE(feld->text(), QStringLiteral("1"));
        QTest::mouseClick(auf, Qt::LeftButton);
        QCOMPARE(feld->text(), QStringLiteral("2"));

        // The arrow keys step too, and go on from a typed number; only
        // numbers up to 100 can be typed.
        Taste(feld, Qt::Key_Up);
        Taste(feld, Qt::Key_Down);
        Taste(feld, Qt::Key_Up);
        QCOMPARE(feld->text(), QStringLiteral("3"));
        feld->selectAll();
        QTest::keyClicks(feld, QStringLiteral("4x2"));
        QCOMPARE(feld->text(), QStringLiteral("42"));
        Taste(feld, Qt::Key_Up);
        QCOMPARE(feld->text(), QStringLiteral("43"));
        QTest::keyClicks(feld, QStringLiteral("x"));
        QCOMPARE(feld->text(), QStringLiteral("43"));
        QCOMPARE(daten_.Seitenzahl, 0);
    }

    // A typed number is stored; an empty field or a 0 gets a message.
    void seitenzahlGetippt() {
        lw::test::SkriptDialoge dialoge;
        Tfrm_LinkAnzahl f(daten_);
        auto* feld = Kind<QLineEdit>(&f, "ed_LinkZahl");
        f.show();
        feld->selectAll();
        QTest::keyClicks(feld, QStringLiteral("0"));
        QTest::mouseClick(Kind<QPushButton>(&f, "bbtn_OKLinkZahl"), Qt::LeftButton);
        QVERIFY(f.isVisible());
        QCOMPARE(dialoge.texte(lw::test::SkriptDialoge::Art::Meldung),
                 QStringList{QStringLiteral("Bitte geben Sie eine Zahl von 1 bis 100 ein.")});
        feld->selectAll();
        QTest::keyClicks(feld, QStringLiteral("12"));
        QTest::mouseClick(Kind<QPushButton>(&f, "bbtn_OKLinkZahl"), Qt::LeftButton);
        QVERIFY(!f.isVisible());
        QCOMPARE(daten_.Seitenzahl, 12);
    }

    void seitenzahlOkSpeichert() {
        Tfrm_LinkAnzahl f(daten_);
        ModalAntwort antwort([](QWidget* w) {
            QTest::mouseClick(Kind<QToolButton>(w, "auf"), Qt::LeftButton);
            QTest::mouseClick(Kind<QPushButton>(w, "bbtn_OKLinkZahl"), Qt::LeftButton);
        });
        QCOMPARE(f.exec(), int(QDialog::Accepted));
        QVERIFY(antwort.erledigt());
        QCOMPARE(daten_.Seitenzahl, 6);
    }

    void seitenzahlEnterIstOk() {
        Tfrm_LinkAnzahl f(daten_);
        ModalAntwort antwort([](QWidget* w) { Taste(w, Qt::Key_Return); });
        f.exec();
        QVERIFY(antwort.erledigt());
        QCOMPARE(daten_.Seitenzahl, 5);
    }

    void seitenzahlSchliessfeldSpeichertNichts() {
        Tfrm_LinkAnzahl f(daten_);
        ModalAntwort antwort([](QWidget* w) {
            QTest::mouseClick(Kind<QToolButton>(w, "auf"), Qt::LeftButton);
            w->close();
        });
        QCOMPARE(f.exec(), int(QDialog::Rejected));
        QVERIFY(antwort.erledigt());
        QCOMPARE(daten_.Seitenzahl, 0);
    }

    void buttongroesseAufbau() {
        Tfrm_ButtonGroesse f(daten_);
        QCOMPARE(f.windowTitle(), QStringLiteral("Fehlende Buttongröße"));
        QCOMPARE(f.size(), QSize(305, 208));
        QVERIFY(!(f.windowFlags() & Qt::WindowCloseButtonHint));
        auto* hoehe = Kind<QLineEdit>(&f, "Edit8");
        auto* breite = Kind<QLineEdit>(&f, "Edit9");
        QCOMPARE(hoehe->text(), QStringLiteral("50"));
        QCOMPARE(breite->text(), QStringLiteral("170"));
        QCOMPARE(hoehe->toolTip(), QStringLiteral("Höhe des Links (Es wird ein rechteckiges Feld "
                                                  "mit der eingegebenen Höhe erzeugt)"));
        QCOMPARE(breite->toolTip(), QStringLiteral("Breite des Links (Es wird ein rechteckiges "
                                                   "Feld mit der eingegebenen Breite erzeugt)"));
    }

    void buttongroesseStandardwerte() {
        SkriptDialoge dialoge;
        Tfrm_ButtonGroesse f(daten_);
        ModalAntwort antwort([](QWidget* w) { Taste(w, Qt::Key_Return); });
        QCOMPARE(f.exec(), int(QDialog::Accepted));
        QVERIFY(antwort.erledigt());
        QCOMPARE(daten_.ButtonBreite[1], 170);
        QCOMPARE(daten_.ButtonHoehe[1], 50);
        QVERIFY(dialoge.aufrufe.empty());
    }

    void buttongroesseEingaben_data() {
        const QString keineZahl = QStringLiteral("Bitte geben Sie eine ganze Zahl ein");
        const QString zuKlein = QStringLiteral("Bitte geben Sie eine ganze Zahl größer als 0 ein");
        QTest::addColumn<QString>("breite");
        QTest::addColumn<QString>("hoehe");
        QTest::addColumn<bool>("geschlossen");
        QTest::addColumn<int>("gespeicherteBreite");
        QTest::addColumn<int>("gespeicherteHoehe");
        QTest::addColumn<QString>("meldung");
        // A wrong height leaves the width stored, as the width is read first.
        QTest::newRow("buchstaben-hoehe") << "170"
                                          << "abc" << false << 170 << 0 << keineZahl;
        QTest::newRow("buchstaben-breite") << "x1"
                                           << "50" << false << 0 << 0 << keineZahl;
        QTest::newRow("leer") << "120"
                              << "" << false << 120 << 0 << keineZahl;
        QTest::newRow("komma") << "12,5"
                               << "30" << false << 0 << 0 << keineZahl;
        QTest::newRow("ueberlauf") << "99999999999"
                                   << "30" << false << 0 << 0 << keineZahl;
        QTest::newRow("leerzeichen-und-vorzeichen") << " 88 "
                                                    << "+20" << true << 88 << 20 << QString();
        // A button of no size could not be clicked.
        QTest::newRow("breite-null") << "0"
                                     << "20" << false << 0 << 0 << zuKlein;
        QTest::newRow("hoehe-negativ") << "170"
                                       << "-5" << false << 170 << 0 << zuKlein;
        QTest::newRow("eins-und-eins") << "1"
                                       << "1" << true << 1 << 1 << QString();
    }

    void buttongroesseEingaben() {
        QFETCH(QString, breite);
        QFETCH(QString, hoehe);
        QFETCH(bool, geschlossen);
        QFETCH(int, gespeicherteBreite);
        QFETCH(int, gespeicherteHoehe);
        QFETCH(QString, meldung);
        SkriptDialoge dialoge;
        Tfrm_ButtonGroesse f(daten_);
        f.show();
        Kind<QLineEdit>(&f, "Edit9")->setText(breite);
        Kind<QLineEdit>(&f, "Edit8")->setText(hoehe);
        QTest::mouseClick(Kind<QPushButton>(&f, "BitBtn1"), Qt::LeftButton);
        QCOMPARE(f.isVisible(), !geschlossen);
        QCOMPARE(daten_.ButtonBreite[1], gespeicherteBreite);
        QCOMPARE(daten_.ButtonHoehe[1], gespeicherteHoehe);
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Meldung),
                 meldung.isEmpty() ? QStringList() : QStringList{meldung});
    }

    // After a correction the same window closes with OK.
    void buttongroesseKorrektur() {
        SkriptDialoge dialoge;
        Tfrm_ButtonGroesse f(daten_);
        ModalAntwort antwort([](QWidget* w) {
            auto* hoehe = Kind<QLineEdit>(w, "Edit8");
            hoehe->setText(QStringLiteral("abc"));
            auto* ok = Kind<QPushButton>(w, "BitBtn1");
            QTest::mouseClick(ok, Qt::LeftButton);
            if (!w->isVisible()) return;
            hoehe->setText(QStringLiteral("40"));
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        QCOMPARE(f.exec(), int(QDialog::Accepted));
        QVERIFY(antwort.erledigt());
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Meldung).size(), 1);
        QCOMPARE(daten_.ButtonHoehe[1], 40);
    }

    // Without a close box, Escape and a close request leave the window open.
    void buttongroesseNurMitOk() {
        Tfrm_ButtonGroesse f(daten_);
        f.show();
        Taste(&f, Qt::Key_Escape);
        QVERIFY(f.isVisible());
        f.close();
        QVERIFY(f.isVisible());
        QCOMPARE(daten_.ButtonBreite[1], 0);
    }

    // With this platform's Tahoma every caption fits its control and its window.
    void nichtsAbgeschnitten() {
        Tfrm_Status status;
        Tfrm_LinkAnzahl linkAnzahl(daten_);
        Tfrm_ButtonGroesse buttonGroesse(daten_);
        TForm4 hilfe;
        for (QWidget* fenster : std::initializer_list<QWidget*>{
                 form2_.get(), form3_.get(), &hilfe, &status, &linkAnzahl, &buttonGroesse}) {
            for (auto* label : fenster->findChildren<QLabel*>()) {
                if (label->text().isEmpty()) continue;
                const QString wo = fenster->objectName() + QLatin1Char('.') + label->objectName();
                QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()),
                         qPrintable(wo));
                QVERIFY2(label->geometry().right() < label->parentWidget()->width(),
                         qPrintable(wo));
            }
            for (auto* knopf : fenster->findChildren<QPushButton*>()) {
                const QString text = QString(knopf->text()).remove(QLatin1Char('&'));
                const int noetig = knopf->fontMetrics().horizontalAdvance(text) +
                                   (knopf->icon().isNull() ? 0 : knopf->iconSize().width() + 4);
                QVERIFY2(noetig + 8 <= knopf->width(), qPrintable(knopf->objectName()));
            }
        }
    }

    // Kept last: Ja closes the start window, and after that every event loop
    // of this process returns at once.
    void warnungJaBeendetDasProgramm() {
        QSignalSpy ende(form2_.get(), &TForm2::programmEndet);
        ModalAntwort antwort([](QWidget* w) { Taste(w, Qt::Key_Return); });
        form3_->ZeigenModal();
        QVERIFY(antwort.erledigt());
        QVERIFY(daten_.BeendenBestaetigt);
        QCOMPARE(ende.count(), 1);
        QVERIFY(!form3_->isVisible());
    }
};

QTEST_MAIN(KleinfensterTest)
#include "test_kleinfenster.moc"
