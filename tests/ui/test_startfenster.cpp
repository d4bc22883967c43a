// The start window: its look, its hints and the three roads into the wizard.
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>

#include "app/About.h"
#include "app/Browser.h"
#include "app/Programmfenster.h"
#include "codegen/Code.h"
#include "model/Projektdaten.h"
#include "output/DateiErzeugung.h"
#include "tests/support/TempOrdner.h"
#include "tests/ui/Kind.h"
#include "tests/ui/SkriptDialoge.h"
#include "ui/Anwendung.h"
#include "ui/MainForm.h"

using lw::test::Kind;
using lw::test::ModalAntwort;
using lw::test::SkriptDialoge;

namespace {

// All seven windows, made in the order of the program's start.
struct Programm {
    lw::Projektdaten daten;
    Programmfenster alle{daten, TForm1::Aufbau::sofort};
    TForm1* form1 = alle.form1.get();
};

QStringList SichtbareFenster() {
    QStringList namen;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) namen << w->objectName();
    namen.sort();
    return namen;
}

// The captions of the page headers that are shown.
QStringList SichtbareSeiten(TForm1& form1) {
    auto* seiten = Kind<QTabWidget>(&form1, "PageControl1");
    QStringList namen;
    for (int i = 0; i < seiten->count(); ++i)
        if (seiten->isTabVisible(i)) namen << seiten->tabText(i);
    return namen;
}

QString AktiveSeite(TForm1& form1) {
    auto* seiten = Kind<QTabWidget>(&form1, "PageControl1");
    return seiten->currentWidget()->objectName();
}

}  // namespace

class StartfensterTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Programm> p_;
    TForm2* form2() { return p_->alle.form2.get(); }

private slots:
    void initTestCase() { AnwendungEinrichten(*qApp); }

    void init() {
        p_ = std::make_unique<Programm>();
        form2()->show();
    }

    void cleanup() { p_.reset(); }

    void aufbau() {
        TForm2& f = *form2();
        QCOMPARE(f.objectName(), QStringLiteral("Form2"));
        QVERIFY(f.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(f.windowOpacity(), 230 / 255.0);
        QCOMPARE(f.size(), QSize(347, 355));
        QCOMPARE(f.minimumSize(), f.maximumSize());

        auto* titel = Kind<QLabel>(&f, "Label3");
        QCOMPARE(titel->text(), QStringLiteral("Leistenwerk v. 0.8.0.2"));
        QVERIFY(titel->font().bold());
        QCOMPARE(titel->font().pointSize(), 12);
        QCOMPARE(titel->font().family(), QApplication::font().family());

        auto* bild = Kind<QLabel>(&f, "Image1");
        QCOMPARE(bild->pixmap().size(), QSize(79, 98));

        auto* homepage = Kind<QLabel>(&f, "lbl_Homepage");
        QCOMPARE(homepage->text(), QString::fromLatin1(AuthorHomepage));
        QVERIFY(homepage->font().underline());
        QCOMPARE(homepage->palette().color(QPalette::WindowText), QColor(Qt::blue));
        QCOMPARE(homepage->cursor().shape(), Qt::PointingHandCursor);
    }

    void knoepfe_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("lage");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("sichtbar");
        QTest::newRow("btn_BestandNZ") << "btn_BestandNZ" << QRect(33, 224, 281, 25)
                                       << "Änderung einer bestehenden Netzhof Homepage" << true;
        QTest::newRow("btn_NeuHP") << "btn_NeuHP" << QRect(33, 256, 281, 25)
                                   << "Neue Homepage erstellen (providerunabhängig)" << true;
        QTest::newRow("btn_NeuNZ")
            << "btn_NeuNZ" << QRect(33, 288, 281, 25) << "Neue Netzhof Homepage" << false;
        QTest::newRow("btn_BearbeitenHP") << "btn_BearbeitenHP" << QRect(33, 288, 281, 25)
                                          << "Gespeicherte Homepage bearbeiten" << true;
        QTest::newRow("btn_VeroeffentlichenHP")
            << "btn_VeroeffentlichenHP" << QRect(33, 320, 281, 25)
            << "Gespeicherte Homepage veröffentlichen" << true;
    }

    void knoepfe() {
        QFETCH(QString, name);
        QFETCH(QRect, lage);
        QFETCH(QString, text);
        QFETCH(bool, sichtbar);
        auto* knopf = Kind<QPushButton>(form2(), qPrintable(name));
        QCOMPARE(knopf->geometry(), lage);
        QCOMPARE(knopf->text(), text);
        QCOMPARE(knopf->isVisible(), sichtbar);
        QCOMPARE(knopf->cursor().shape(), Qt::PointingHandCursor);
        // At start the start window is the only window on screen.
        QCOMPARE(SichtbareFenster(), QStringList{QStringLiteral("Form2")});
    }

    void hinweise_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("hinweis");
        QTest::newRow("btn_BestandNZ")
            << "btn_BestandNZ"
            << "Nur für bestehende Seiten mit \neinem ausgewählten Netzhof Design";
        QTest::newRow("btn_NeuNZ")
            << "btn_NeuNZ"
            << "Nur für neue Seiten, die mit dem \nNetzhof Editor bearbeitet werden sollen";
        QTest::newRow("btn_NeuHP")
            << "btn_NeuHP"
            << "Für beliebige Homepages \n(nicht geeignet für den Netzhof Editor)";
        QTest::newRow("btn_BearbeitenHP")
            << "btn_BearbeitenHP"
            << "Für Homepages, die mit Leistenwerk \ngespeichert wurden";
        QTest::newRow("btn_VeroeffentlichenHP")
            << "btn_VeroeffentlichenHP"
            << "Stellt eine mit Leistenwerk gespeicherte \nHomepage ins Netz";
        QTest::newRow("lbl_Homepage") << "lbl_Homepage"
                                      << "Zur Homepage des Autors";
    }

    void hinweise() {
        QFETCH(QString, name);
        QFETCH(QString, hinweis);
        QCOMPARE(Kind<QWidget>(form2(), qPrintable(name))->toolTip(), hinweis);
    }

    void tabReihenfolge() {
        auto* neuHP = Kind<QWidget>(form2(), "btn_NeuHP");
        auto* neuNZ = Kind<QWidget>(form2(), "btn_NeuNZ");
        auto* bestand = Kind<QWidget>(form2(), "btn_BestandNZ");
        QCOMPARE(neuHP->nextInFocusChain(), neuNZ);
        QCOMPARE(neuNZ->nextInFocusChain(), bestand);
        auto* bearbeiten = Kind<QWidget>(form2(), "btn_BearbeitenHP");
        QCOMPARE(bestand->nextInFocusChain(), bearbeiten);
        QCOMPARE(bearbeiten->nextInFocusChain(), Kind<QWidget>(form2(), "btn_VeroeffentlichenHP"));
    }

    void homepageOeffnen() {
        QStringList geoeffnet;
        browserOeffnerSetzen([&](const QString& a) { geoeffnet << a; });
        QTest::mouseClick(Kind<QLabel>(form2(), "lbl_Homepage"), Qt::LeftButton);
        browserOeffnerSetzen({});
        QCOMPARE(geoeffnet, QStringList{QString::fromLatin1(AuthorHomepage)});
        QVERIFY(form2()->isVisible());
    }

    // The page count comes first, then the wizard without the import page.
    void neueHomepage() {
        SkriptDialoge dialoge;
        ModalAntwort antwort([](QWidget* w) {
            QCOMPARE(w->objectName(), QStringLiteral("frm_LinkAnzahl"));
            auto* auf = Kind<QToolButton>(w, "auf");
            QTest::mouseClick(auf, Qt::LeftButton);
            QTest::mouseClick(auf, Qt::LeftButton);
            QTest::mouseClick(Kind<QPushButton>(w, "bbtn_OKLinkZahl"), Qt::LeftButton);
        });
        QTest::mouseClick(Kind<QPushButton>(form2(), "btn_NeuHP"), Qt::LeftButton);
        QVERIFY(antwort.erledigt());
        QCOMPARE(p_->daten.Modus, std::string("HPNeu"));
        QCOMPARE(p_->daten.Seitenzahl, 7);
        QCOMPARE(SichtbareFenster(), QStringList{QStringLiteral("Form1")});
        QCOMPARE(SichtbareSeiten(*p_->form1),
                 QStringList({QStringLiteral("Dateiweite Einstellungen"), QStringLiteral("Links"),
                              QStringLiteral("Inhalte"), QStringLiteral("Code")}));
        QCOMPARE(AktiveSeite(*p_->form1), QStringLiteral("tab_Body"));
        QVERIFY(dialoge.aufrufe.empty());
    }

    // Closing the page-count window leaves the choice open: no site without
    // pages, and the start window offers both roads again.
    void neueHomepageOhneOk() {
        ModalAntwort antwort([](QWidget* w) { w->close(); });
        QTest::mouseClick(Kind<QPushButton>(form2(), "btn_NeuHP"), Qt::LeftButton);
        QVERIFY(antwort.erledigt());
        QCOMPARE(p_->daten.Modus, std::string());
        QCOMPARE(p_->daten.Seitenzahl, 0);
        QCOMPARE(SichtbareFenster(), QStringList{QStringLiteral("Form2")});
    }

    void bestehendeHomepage() {
        ModalAntwort unerwartet([](QWidget* w) { w->close(); });
        QTest::mouseClick(Kind<QPushButton>(form2(), "btn_BestandNZ"), Qt::LeftButton);
        QVERIFY(!unerwartet.erledigt());
        QCOMPARE(p_->daten.Modus, std::string("NZAlt"));
        QCOMPARE(SichtbareFenster(), QStringList{QStringLiteral("Form1")});
        QCOMPARE(SichtbareSeiten(*p_->form1), QStringList{QStringLiteral("Import")});
        QCOMPARE(AktiveSeite(*p_->form1), QStringLiteral("tab_Import"));
    }

    // "NZNeu" can only be reached by making its hidden button visible.
    void versteckterKnopf() {
        auto* knopf = Kind<QPushButton>(form2(), "btn_NeuNZ");
        knopf->show();
        ModalAntwort unerwartet([](QWidget* w) { w->close(); });
        QTest::mouseClick(knopf, Qt::LeftButton);
        QVERIFY(!unerwartet.erledigt());
        QCOMPARE(p_->daten.Modus, std::string("NZNeu"));
        QCOMPARE(p_->daten.Seitenzahl, 0);
        QCOMPARE(AktiveSeite(*p_->form1), QStringLiteral("tab_Body"));
        QVERIFY(!SichtbareSeiten(*p_->form1).contains(QStringLiteral("Import")));
    }

    // A saved new site: a cancelled or wrong folder leaves the start window;
    // the right one asks for the page count from the site's own, and a page
    // more gets the next free name.
    void gespeicherteHomepage() {
        lw::test::TempOrdner ordner;
        lw::Projektdaten d;
        d.Modus = lw::kModusHPNeu;
        d.Zielordner = ordner.pfad();
        d.Seitenzahl = 3;
        d.ButtonHoehe.Setzen(1, 30);
        d.ButtonBreite.Setzen(1, 120);
        lw::CodeEingaben e;
        for (int i = 1; i <= 3; ++i) {
            d.ImportSeiten.Setzen(i, "Seite" + std::to_string(i) + ".html");
            e.links.push_back({d.ImportSeiten[i], "Text " + std::to_string(i), ""});
        }
        lw::DateienErzeugen(d, lw::CodeErzeugen(d, e), false);

        SkriptDialoge dialoge;
        auto* bearbeiten = Kind<QPushButton>(form2(), "btn_BearbeitenHP");
        const QString css = QString::fromStdString(ordner / "Neu/css");
        for (const QString& gewaehlt : {QString(), css}) {
            dialoge.naechsterOrdner(gewaehlt);
            QTest::mouseClick(bearbeiten, Qt::LeftButton);
        }
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Meldung),
                 QStringList{QStringLiteral("Im Ordner „%1“ wurde keine mit Leistenwerk "
                                            "gespeicherte Homepage gefunden.")
                                 .arg(css)});
        QCOMPARE(dialoge.von(SkriptDialoge::Art::Ordner).at(0).titel,
                 QStringLiteral("Bitte wählen Sie den Ordner Ihrer Homepage aus."));
        QCOMPARE(dialoge.von(SkriptDialoge::Art::Ordner).at(0).ersterOrdner, QDir::homePath());
        QCOMPARE(SichtbareFenster(), QStringList{QStringLiteral("Form2")});

        ModalAntwort anzahl([](QWidget* w) {
            QCOMPARE(Kind<QLineEdit>(w, "ed_LinkZahl")->text(), QStringLiteral("3"));
            Kind<QToolButton>(w, "auf")->click();
            Kind<QPushButton>(w, "bbtn_OKLinkZahl")->click();
        });
        dialoge.naechsterOrdner(QString::fromStdString(ordner.pfad()));
        QTest::mouseClick(bearbeiten, Qt::LeftButton);
        QVERIFY(anzahl.erledigt());
        QCOMPARE(SichtbareFenster(), QStringList{QStringLiteral("Form1")});
        QCOMPARE(SichtbareSeiten(*p_->form1),
                 (QStringList{"Dateiweite Einstellungen", "Links", "Inhalte", "Code"}));
        QCOMPARE(AktiveSeite(*p_->form1), QStringLiteral("tab_Body"));
        QCOMPARE(p_->daten.Seitenzahl, 4);
        Kind<QTabWidget>(p_->form1, "PageControl1")->setCurrentIndex(TForm1::kLinksSeite);
        QCOMPARE(Kind<QLineEdit>(p_->form1, "Ed_Alt3")->text(), QStringLiteral("Text 3"));
        QCOMPARE(Kind<QLineEdit>(p_->form1, "Ed_Link4")->text(), QStringLiteral("Seite4.html"));
    }

    // Kept last: closing the start window ends the program, so no event loop
    // of this process runs afterwards.
    void schliessenBeendetDasProgramm() {
        QSignalSpy ende(form2(), &TForm2::programmEndet);
        form2()->close();
        QCOMPARE(ende.count(), 1);
        QVERIFY(!form2()->isVisible());
        QEventLoop schleife;
        QTimer::singleShot(2000, &schleife, [&] { schleife.exit(99); });
        QVERIFY(schleife.exec() != 99);
    }
};

QTEST_MAIN(StartfensterTest)
#include "test_startfenster.moc"
