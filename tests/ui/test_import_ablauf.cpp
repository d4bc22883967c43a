// Taking over a provider homepage through the windows: "Weiter >>" on the
// import page against a provider served by the loopback server (through
// http_proxy, so the provider's real host names never leave the machine),
// the messages that stop it, a failing folder, and the imported pages merged
// when saving. Ending the program makes the application exit, after which
// modal windows no longer wait, so those tests come last.
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <cstdlib>

#include "app/Browser.h"
#include "output/DateiErzeugung.h"
#include "tests/support/HttpServer.h"
#include "tests/support/TempOrdner.h"
#include "tests/ui/HauptfensterTest.h"
#include "tests/ui/SkriptDialoge.h"
#include "ui/Anwendung.h"
#include "ui/TextUmwandlung.h"

using lw::test::Antwort;
using lw::test::Hauptfenster;
using lw::test::HttpServer;
using lw::test::Lesen;
using lw::test::ModalAntwort;
using lw::test::ProxyUmgebung;
using lw::test::SkriptDialoge;
using lw::test::TempOrdner;

namespace {

const std::string kAnbieter = "http://www.anna.netzhof-download.de/";
const QString kStartseite = QStringLiteral("http://www.anna.netzhof-download.de/index.html");
const QString kEmpfehlung = QStringLiteral(
    "Es wird dringend empfohlen, im folgenden Dialog einen neuen Ordner anzulegen und diesen "
    "auszuwählen.\nBei Nichtbeachtung könnte eine zufällig namensgleiche Datei überschrieben "
    "werden.");
const QString kOrdnerTitel = QStringLiteral("Verzeichnis für neue Dateien auswählen");

// The provider's page format "Neutral 5", written out as its pages carry it:
// the contents start 134 characters after the contents cell marker (and a
// '>'), the counter script follows 10 characters after them.
const std::string kGenerator =
    "<meta name=\"generator\" content=\"NETZHOF, http://www.netzhof.de/\">";
const std::string kDesign = "<td background=\"data/tdef/tp008/pa0.png\">";

std::string Genau(std::string s, std::size_t n) {
    s.resize(n, ' ');
    return s;
}

// menue stands in the frame before the contents cell, as on the start page.
std::string AnbieterSeite(const std::string& kopf, const std::string& inhalt,
                          const std::string& menue = "") {
    return "<html><head>" + kopf + "</head><body><table><tr><td>" + menue +
           "</td></tr></table></td><td background=\"data/tdef/" +
           Genau("tp008/pa1.png\" width=\"600\" valign=\"top\"", 86) + ">" + inhalt +
           Genau("<br><br>", 10) +
           "<script language=\"JavaScript\" src=\"data/jsdef/count.js\"></script>\n"
           "</td></tr></table></body></html>";
}

std::string MenueLink(const std::string& ziel) {
    return "<tr><td><a href=\"" + ziel +
           "\"><img src=\"data/pics/m.png\" border=\"0\"></a></td></tr>\n";
}

const std::string kStartInhalt =
    "<h1>Willkommen bei Anna</h1>\r\n<p>Sch\xF6n, dass Sie da sind.</p>";
const std::string kHobbyInhalt = "<p>Meine T\xC3\xBCr ist immer offen.</p>";

// Start page with three menu links; the contact page is the provider's form.
std::string Startseite(bool generator = true, bool design = true) {
    const std::string menue = "<table>" + MenueLink("index.html") + MenueLink("hobby.html") +
                              MenueLink("kontakt.html") + "</table>";
    return AnbieterSeite((generator ? kGenerator : "") + "<title>Anna</title>", kStartInhalt,
                         (design ? kDesign : "") + menue);
}

void ProviderEinrichten(HttpServer& server) {
    server.Setzen(kAnbieter + "index.html", Antwort::Seite(Startseite()));
    server.Setzen(kAnbieter + "hobby.html", Antwort::Seite(AnbieterSeite("", kHobbyInhalt)));
    server.Setzen(kAnbieter + "kontakt.html",
                  Antwort::Seite(AnbieterSeite("", "<h1>Kontaktformular</h1><form>")));
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QList<int> SichtbareSeiten(const Hauptfenster& h) {
    auto* seiten = h.finde<QTabWidget>("PageControl1");
    QList<int> sichtbar;
    for (int i = 0; i < seiten->count(); ++i)
        if (seiten->isTabVisible(i)) sichtbar << i;
    return sichtbar;
}

QPushButton* Weiter(const Hauptfenster& h) {
    return h.finde<QPushButton>("btn_WeiterImport");
}

// The main window in mode "NZAlt" with a user name typed in.
void ImportSeiteZeigen(Hauptfenster& h, const QString& benutzer) {
    h.zeigen();
    h.finde<QLineEdit>("Ed_User")->setText(benutzer);
}

// Anna's import into ordner, started as the user starts it: "Weiter" and the
// folder chosen in the chooser that follows.
void ImportStarten(Hauptfenster& h, SkriptDialoge& dialoge, const TempOrdner& ordner) {
    ImportSeiteZeigen(h, QStringLiteral("anna"));
    dialoge.naechsterOrdner(Q(ordner.pfad()));
    Weiter(h)->click();
}

// What the user sees while the import runs: a zero-delay timer runs whenever
// the download lets the windows process their events.
struct Moment {
    bool hauptfensterAktiv;
    bool statusSichtbar;
    QString status;
};

class Beobachter final : public QObject {
public:
    explicit Beobachter(Hauptfenster& h) : h_(h) {
        label_ = h.status->findChild<QLabel*>(QStringLiteral("lbl_Staus"));
        label_->installEventFilter(this);
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            momente.push_back({h_.form1->isEnabled(), h_.status->isVisible(), label_->text()});
        });
        timer_.start();
    }
    std::vector<Moment> momente;
    // The texts of the status window as they were painted, each once.
    QStringList gemalt;

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override {
        if (objekt == label_ && ereignis->type() == QEvent::Paint &&
            (gemalt.isEmpty() || gemalt.last() != label_->text()))
            gemalt << label_->text();
        return false;
    }

private:
    Hauptfenster& h_;
    QLabel* label_;
    QTimer timer_;
};

QString KeineSeite() {
    return QStringLiteral(
               "Es wurde keine Seite gefunden.\nBitte überprüfen Sie Ihre Internetverbindung\n"
               "und Ihre Startseite ") +
           kStartseite;
}

QString UngueltigeSeite() {
    return QStringLiteral(
               "Es wurde keine gültige Netzhof-Seite gefunden.\nBitte überprüfen Sie "
               "Ihre Startseite ") +
           kStartseite +
           QStringLiteral(
               "\nEs können nur Seiten mit dem Netzhof-Design \"Neutral 5\"\n"
               "bearbeitet werden. Bitte ändern Sie Ihre Seite entsprechend ab.");
}

}  // namespace

class ImportAblaufTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        AnwendungEinrichten(*qobject_cast<QApplication*>(qApp));
        browserOeffnerSetzen([](const QString&) {});
    }
    void cleanupTestCase() { browserOeffnerSetzen({}); }

    void keinBenutzername_data() {
        QTest::addColumn<QString>("benutzer");
        QTest::newRow("Vorgabe") << QStringLiteral("Benutzername");
        QTest::newRow("leer") << QString();
    }
    void keinBenutzername() {
        QFETCH(QString, benutzer);
        HttpServer server;
        ProxyUmgebung umleitung(server);
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusNZAlt, 0);
        ImportSeiteZeigen(h, benutzer);
        Weiter(h)->click();
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Information),
                 QStringList{"Bitte geben Sie einen Benutzernamen ein."});
        QCOMPARE(dialoge.aufrufe.size(), size_t(1));
        QVERIFY(server.Anfragen().empty());
        QVERIFY(Weiter(h)->isEnabled());
    }

    // No answer from the network: the message names the address and the
    // import page stays. The start page is checked before the folder is asked
    // for, so a wrong name costs no folder.
    void keinServer() {
        ProxyUmgebung ohneProxy;
        ::setenv("http_proxy",
                 ("http://127.0.0.1:" + std::to_string(lw::test::FreierPort())).c_str(), 1);
        ::setenv("no_proxy", "", 1);
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusNZAlt, 0);
        ImportSeiteZeigen(h, QStringLiteral("anna"));
        Weiter(h)->click();
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Meldung), QStringList{KeineSeite()});
        QVERIFY(dialoge.von(SkriptDialoge::Art::Ordner).empty());
        QCOMPARE(h.daten.Zielordner, std::string());
        QCOMPARE(SichtbareSeiten(h), QList<int>{TForm1::kImportSeite});
        QVERIFY(!h.status->isVisible());
        QVERIFY(Weiter(h)->isEnabled());
    }

    void keineAnbieterSeite_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("generator");
        QTest::addColumn<bool>("design");
        QTest::newRow("ohne Generator") << 200 << false << true;
        QTest::newRow("anderes Design") << 200 << true << false;
        QTest::newRow("Serverfehler") << 404 << true << true;
    }
    void keineAnbieterSeite() {
        QFETCH(int, status);
        QFETCH(bool, generator);
        QFETCH(bool, design);
        HttpServer server;
        server.Setzen(kAnbieter + "index.html",
                      Antwort::MitStatus(status, Startseite(generator, design)));
        ProxyUmgebung umleitung(server);
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusNZAlt, 0);
        ImportSeiteZeigen(h, QStringLiteral("anna"));
        Weiter(h)->click();
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Meldung), QStringList{UngueltigeSeite()});
        QVERIFY(dialoge.von(SkriptDialoge::Art::Ordner).empty());
        QCOMPARE(server.Anfragen().size(), size_t(1));
        QCOMPARE(SichtbareSeiten(h), QList<int>{TForm1::kImportSeite});
    }

    // A second click while the start page loads (the download lets the
    // windows react) starts no second import.
    void zweiterKlickWaehrendDesLadens() {
        TempOrdner ordner;
        HttpServer server;
        ProviderEinrichten(server);
        ProxyUmgebung umleitung(server);
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusNZAlt, 0);
        ImportSeiteZeigen(h, QStringLiteral("anna"));
        dialoge.naechsterOrdner(Q(ordner.pfad()));
        // Spare: without the guard the second import would ask again.
        dialoge.naechsterOrdner(Q(ordner.pfad()));
        int geklickt = 0;
        QTimer zweiter;
        zweiter.setInterval(0);
        QObject::connect(&zweiter, &QTimer::timeout, [&] {
            if (geklickt > 0 || server.Anfragen().size() != 1) return;
            ++geklickt;
            QTest::mouseClick(Weiter(h), Qt::LeftButton);
        });
        zweiter.start();
        Weiter(h)->click();
        zweiter.stop();

        QCOMPARE(geklickt, 1);
        // The start page, then the three pages of its menu, once.
        QCOMPARE(server.Anfragen().size(), size_t(4));
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Meldung), QStringList{kEmpfehlung});
        QCOMPARE(dialoge.von(SkriptDialoge::Art::Ordner).size(), size_t(1));
        QCOMPARE(h.daten.ImportAnzahl, 3);
        QCOMPARE(SichtbareSeiten(h), (QList<int>{1, 2, 3, 4}));
        QVERIFY(Weiter(h)->isEnabled());
    }

    // A folder that already holds Alt from an earlier import: the error box,
    // before any page is loaded; the windows are usable again, and another
    // folder leads on.
    void zweiterImportInDenselbenOrdner() {
        TempOrdner ordner;
        const std::string frisch = ordner / "frisch";
        QVERIFY(QDir().mkpath(Q(frisch)));
        HttpServer server;
        ProviderEinrichten(server);
        ProxyUmgebung umleitung(server);
        {
            SkriptDialoge dialoge;
            Hauptfenster erstes(lw::kModusNZAlt, 0);
            ImportSeiteZeigen(erstes, QStringLiteral("anna"));
            dialoge.naechsterOrdner(Q(ordner.pfad()));
            Weiter(erstes)->click();
            QCOMPARE(SichtbareSeiten(erstes), (QList<int>{1, 2, 3, 4}));
        }
        const std::size_t vorher = server.Anfragen().size();

        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusNZAlt, 0);
        ImportStarten(h, dialoge, ordner);
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Fehler), QStringList{"E/A-Fehler 183"});
        QCOMPARE(server.Anfragen().size(), vorher + 1);
        QVERIFY(!h.status->isVisible());
        QVERIFY(h.form1->isEnabled());
        QVERIFY(Weiter(h)->isEnabled());
        QCOMPARE(SichtbareSeiten(h), QList<int>{TForm1::kImportSeite});

        dialoge.naechsterOrdner(Q(frisch));
        Weiter(h)->click();
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Fehler).size(), 1);
        QCOMPARE(h.daten.Zielordner, frisch);
        QCOMPARE(h.daten.ImportAnzahl, 3);
        QVERIFY(QFileInfo::exists(Q(frisch + "/Alt/hobby.html")));
        QCOMPARE(SichtbareSeiten(h), (QList<int>{1, 2, 3, 4}));
    }

    // A run stopped by a page name that Windows cannot hold leaves no page
    // behind for the next try, after the user has mended the start page.
    void neuerVersuchBeginntOhneAlteSeiten() {
        TempOrdner erster;
        TempOrdner zweiter;
        HttpServer server;
        ProviderEinrichten(server);
        const std::string menue =
            "<table>" + MenueLink("hobby.html") + MenueLink("frage?.html") + "</table>";
        server.Setzen(kAnbieter + "index.html",
                      Antwort::Seite(AnbieterSeite(kGenerator, kStartInhalt, kDesign + menue)));
        ProxyUmgebung umleitung(server);
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusNZAlt, 0);
        ImportSeiteZeigen(h, QStringLiteral("anna"));
        dialoge.naechsterOrdner(Q(erster.pfad()));
        Weiter(h)->click();
        QCOMPARE(
            dialoge.texte(SkriptDialoge::Art::Fehler),
            QStringList{QStringLiteral(
                "Der Seitenname \"frage?.html\" ist kein gültiger Dateiname (E/A-Fehler 123)")});
        QVERIFY(!h.status->isVisible());
        QVERIFY(h.form1->isEnabled());
        QCOMPARE(SichtbareSeiten(h), QList<int>{TForm1::kImportSeite});

        server.Setzen(kAnbieter + "index.html",
                      Antwort::Seite(AnbieterSeite(kGenerator, kStartInhalt, kDesign)));
        dialoge.naechsterOrdner(Q(zweiter.pfad()));
        Weiter(h)->click();
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Fehler).size(), 1);
        QCOMPARE(SichtbareSeiten(h), (QList<int>{1, 2, 3, 4}));
        QCOMPARE(h.daten.ImportAnzahl, 0);
        h.finde<QTabWidget>("PageControl1")->setCurrentIndex(TForm1::kLinksSeite);
        QVERIFY(!h.finde("Ed_Link1"));
    }

    // "Ja" in the warning while the start page loads: the program ends at
    // once, though the provider stays silent, and the import goes no
    // further. The warning waits beside the download rather than holding it.
    void beendenWaehrendDesLadens() {
        TempOrdner ordner;
        HttpServer server;
        ProviderEinrichten(server);
        server.Setzen(kAnbieter + "index.html", Antwort::Stumm());
        ProxyUmgebung umleitung(server);
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusNZAlt, 0);
        QSignalSpy ende(h.form2, &TForm2::programmEndet);
        ImportSeiteZeigen(h, QStringLiteral("anna"));
        dialoge.naechsterOrdner(Q(ordner.pfad()));
        bool gewarnt = false;
        bool modal = true;
        QTimer abbruch;
        abbruch.setInterval(0);
        QObject::connect(&abbruch, &QTimer::timeout, [&] {
            if (gewarnt) return;
            gewarnt = true;
            h.finde<QPushButton>("btn_AbbruchImport")->click();
            modal = h.form3->isModal() || QApplication::activeModalWidget();
            if (h.form3->isVisible())
                h.form3->findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
        });
        abbruch.start();
        QElapsedTimer uhr;
        uhr.start();
        Weiter(h)->click();

        // Far below the minute a silent server is waited for.
        QVERIFY(uhr.elapsed() < 30'000);
        QVERIFY(gewarnt);
        QVERIFY(!modal);
        QCOMPARE(ende.count(), 1);
        // Whether the request left before the stop depends on the timing.
        QVERIFY(server.Anfragen().size() <= 1);
        QVERIFY(!QFileInfo::exists(Q(ordner / "Alt")));
        QVERIFY(!h.status->isVisible());
        QVERIFY(!h.form1->isVisible());
        QCOMPARE(SichtbareSeiten(h), QList<int>{TForm1::kImportSeite});
    }

    // A page the provider does not deliver is named in a message after the
    // import, which still leads on to the wizard's pages.
    void fehlgeschlageneSeiteGemeldet() {
        TempOrdner ordner;
        HttpServer server;
        ProviderEinrichten(server);
        server.Setzen(kAnbieter + "hobby.html", Antwort::MitStatus(404, "nicht hier"));
        ProxyUmgebung umleitung(server);
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusNZAlt, 0);
        ImportStarten(h, dialoge, ordner);

        const QStringList texte = dialoge.texte(SkriptDialoge::Art::Meldung);
        QCOMPARE(texte.size(), 2);
        QCOMPARE(texte.at(0), kEmpfehlung);
        QVERIFY2(texte.at(1).contains(QStringLiteral("hobby.html: Status 404")),
                 qPrintable(texte.at(1)));
        QVERIFY(!texte.at(1).contains(QStringLiteral("index.html")));
        QVERIFY(dialoge.von(SkriptDialoge::Art::Fehler).empty());
        QVERIFY(!h.status->isVisible());
        QVERIFY(h.form1->isEnabled());
        QCOMPARE(SichtbareSeiten(h), (QList<int>{1, 2, 3, 4}));
        QCOMPARE(h.finde<QTabWidget>("PageControl1")->currentIndex(), int(TForm1::kBodySeite));
    }

    // A close request while the pages load (the main window is disabled, the
    // window manager still asks) shows the warning beside the import. "Nein"
    // lets it go on; "Ja" ends the program and no further page is requested.
    // "Ja" makes the application exit, so it is the last row.
    void schliessenWaehrendDerSeiten_data() {
        QTest::addColumn<bool>("ja");
        QTest::newRow("Nein") << false;
        QTest::newRow("Ja") << true;
    }
    void schliessenWaehrendDerSeiten() {
        QFETCH(bool, ja);
        TempOrdner ordner;
        HttpServer server;
        // A large page, so that its download takes many chunks and the
        // windows get their turn while it runs.
        const std::string gross = "<p>" + std::string(std::size_t{4} << 20, 'x') + "</p>";
        const std::string menue = "<table>" + MenueLink("index.html") + MenueLink("hobby.html") +
                                  MenueLink("kontakt.html") + MenueLink("reise.html") + "</table>";
        server.Setzen(kAnbieter + "index.html",
                      Antwort::Seite(AnbieterSeite(kGenerator, kStartInhalt, kDesign + menue)));
        server.Setzen(kAnbieter + "hobby.html", Antwort::Seite(AnbieterSeite("", gross)));
        server.Setzen(kAnbieter + "kontakt.html", Antwort::Seite(AnbieterSeite("", "<p>K</p>")));
        server.Setzen(kAnbieter + "reise.html", Antwort::Seite(AnbieterSeite("", "<p>R</p>")));
        ProxyUmgebung umleitung(server);
        SkriptDialoge dialoge;
        Hauptfenster h(lw::kModusNZAlt, 0);
        QSignalSpy ende(h.form2, &TForm2::programmEndet);
        ImportSeiteZeigen(h, QStringLiteral("anna"));
        dialoge.naechsterOrdner(Q(ordner.pfad()));
        auto* status = h.status->findChild<QLabel*>(QStringLiteral("lbl_Staus"));
        bool geschlossen = false;
        bool warnungBeiseite = false;
        QTimer schliessen;
        schliessen.setInterval(0);
        QObject::connect(&schliessen, &QTimer::timeout, [&] {
            if (geschlossen || status->text() != QStringLiteral("Laden von hobby.html")) return;
            geschlossen = true;
            QVERIFY(!h.form1->isEnabled());
            QVERIFY(!h.form1->close());
            warnungBeiseite = h.form3->isVisible() && !QApplication::activeModalWidget();
            h.form3
                ->findChild<QPushButton*>(ja ? QStringLiteral("BitBtn1")
                                             : QStringLiteral("BitBtn2"))
                ->click();
        });
        schliessen.start();
        Weiter(h)->click();
        schliessen.stop();

        QVERIFY(geschlossen);
        QVERIFY(warnungBeiseite);
        QVERIFY(!h.form3->isVisible());
        QVERIFY(!h.status->isVisible());
        QVERIFY(QFileInfo::exists(Q(ordner / "Alt/index.html")));
        if (ja) {
            QCOMPARE(ende.count(), 1);
            // The page in flight was dropped, not written in part or whole;
            // its request may not even have reached the server.
            QVERIFY(server.AnzahlAnfragen(kAnbieter + "hobby.html") <= 1);
            QVERIFY(!QFileInfo::exists(Q(ordner / "Alt/hobby.html")));
            QCOMPARE(h.daten.ImportAnzahl, 1);
            QCOMPARE(server.AnzahlAnfragen(kAnbieter + "kontakt.html"), std::size_t(0));
            QCOMPARE(server.AnzahlAnfragen(kAnbieter + "reise.html"), std::size_t(0));
            QVERIFY(!QFileInfo::exists(Q(ordner / "Alt/kontakt.html")));
            QVERIFY(!h.form1->isVisible());
            QCOMPARE(SichtbareSeiten(h), QList<int>{TForm1::kImportSeite});
        } else {
            QCOMPARE(ende.count(), 0);
            QCOMPARE(server.AnzahlAnfragen(kAnbieter + "hobby.html"), std::size_t(1));
            QCOMPARE(server.AnzahlAnfragen(kAnbieter + "reise.html"), std::size_t(1));
            QVERIFY(Lesen(ordner / "Alt/hobby.html").size() > (std::size_t{4} << 20));
            QVERIFY(Lesen(ordner / "Alt/reise.html") == "<p>R</p>");
            QVERIFY(h.form1->isVisible());
            QVERIFY(h.form1->isEnabled());
            QCOMPARE(SichtbareSeiten(h), (QList<int>{1, 2, 3, 4}));
        }
    }

    // The whole road of mode "NZAlt", from the start window to the merged
    // pages in the saved folder.
    void importBisZumSpeichern() {
        TempOrdner ordner;
        const std::string knopf = ordner / "knopf.jpg";
        QVERIFY(lw::test::JpegSchreiben(Q(knopf), 100, 24));
        const std::string ziel = ordner / "Neue Seite";
        QVERIFY(QDir().mkpath(Q(ziel)));
        HttpServer server;
        ProviderEinrichten(server);
        ProxyUmgebung umleitung(server);
        SkriptDialoge dialoge;
        Hauptfenster h;
        QSignalSpy ende(h.form2, &TForm2::programmEndet);
        h.form2->show();
        QTest::mouseClick(h.form2->findChild<QPushButton*>(QStringLiteral("btn_BestandNZ")),
                          Qt::LeftButton);
        QCOMPARE(h.daten.Modus, std::string("NZAlt"));
        QCOMPARE(SichtbareSeiten(h), QList<int>{TForm1::kImportSeite});

        h.finde<QLineEdit>("Ed_User")->setText(QStringLiteral("anna"));
        // A cancelled folder chooser comes after the start page was checked
        // and leads back to the import page, where "Weiter" starts again.
        dialoge.naechsterOrdner(QString());
        QTest::mouseClick(Weiter(h), Qt::LeftButton);
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Meldung), QStringList{kEmpfehlung});
        QCOMPARE(dialoge.von(SkriptDialoge::Art::Ordner).size(), size_t(1));
        QCOMPARE(server.Anfragen().size(), size_t(1));
        QCOMPARE(SichtbareSeiten(h), QList<int>{TForm1::kImportSeite});
        QCOMPARE(h.daten.Zielordner, std::string());
        QVERIFY(Weiter(h)->isEnabled());

        dialoge.naechsterOrdner(Q(ziel));
        Beobachter beobachter(h);
        auto* balken = h.status->findChild<QProgressBar*>(QStringLiteral("pb_Fortschritt"));
        QList<int> schritte;
        QObject::connect(balken, &QProgressBar::valueChanged, [&](int v) { schritte << v; });
        QTest::mouseClick(Weiter(h), Qt::LeftButton);

        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Meldung),
                 (QStringList{kEmpfehlung, kEmpfehlung}));
        const auto gefragt = dialoge.von(SkriptDialoge::Art::Ordner);
        QCOMPARE(gefragt.size(), size_t(2));
        for (const auto& aufruf : gefragt) {
            QCOMPARE(aufruf.titel, kOrdnerTitel);
            QCOMPARE(aufruf.ersterOrdner, QDir::homePath());
        }
        QCOMPARE(h.daten.Zielordner, ziel);

        // While the start page loaded the window was usable; while the pages
        // loaded it was disabled under the status window.
        QVERIFY(!beobachter.momente.empty());
        QVERIFY(beobachter.momente.front().hauptfensterAktiv);
        QVERIFY(!beobachter.momente.front().statusSichtbar);
        QStringList gesehen;
        for (const Moment& m : beobachter.momente) {
            if (m.hauptfensterAktiv) continue;
            QVERIFY(m.statusSichtbar);
            if (gesehen.isEmpty() || gesehen.last() != m.status) gesehen << m.status;
        }
        const QStringList texte{"Erstellen der neuen Verzeichnisse ", "Laden von index.html",
                                "Laden von hobby.html", "Laden von kontakt.html"};
        QCOMPARE(gesehen, texte);
        QCOMPARE(beobachter.gemalt, texte);
        // The bar counts the pages done up to all of them.
        QCOMPARE(schritte, (QList<int>{1, 2, 3}));
        QCOMPARE(balken->maximum(), 3);
        QCOMPARE(balken->text(), QStringLiteral("Seite 3 von 3"));
        QVERIFY(!h.status->isVisible());
        QVERIFY(h.form1->isEnabled());
        QCOMPARE(SichtbareSeiten(h), (QList<int>{1, 2, 3, 4}));
        QCOMPARE(h.finde<QTabWidget>("PageControl1")->currentIndex(), int(TForm1::kBodySeite));

        // One connection served the start page and every page after it; the
        // attempt whose folder chooser was cancelled had one of its own.
        QCOMPARE(server.Anfragen().size(), size_t(1 + 4));
        QCOMPARE(server.AnzahlVerbindungen(), size_t(1 + 1));

        // The contents files in Alt.
        QCOMPARE(h.daten.ImportAnzahl, 3);
        const std::string alt = ziel + "/Alt/";
        QVERIFY(Lesen(alt + "index.html") == kStartInhalt);
        QVERIFY(Lesen(alt + "hobby.html") == kHobbyInhalt);
        QVERIFY(Lesen(alt + "kontakt.html").find("<iframe src=\"kontakt.html\"") !=
                std::string::npos);

        // The links page shows the imported names, not to be edited.
        h.finde<QCheckBox>("cbx_MenueFixieren")->click();
        h.finde<QPushButton>("BitBtn3")->click();
        const char* namen[] = {"index.html", "hobby.html", "kontakt.html"};
        for (int i = 1; i <= 3; ++i) {
            auto* feld = h.finde<QLineEdit>(qPrintable(QStringLiteral("Ed_Link%1").arg(i)));
            QCOMPARE(feld->text(), QString::fromLatin1(namen[i - 1]));
            QVERIFY(feld->isReadOnly());
        }
        QVERIFY(!h.finde("Ed_Link4"));
        dialoge.naechsteDatei(Q(knopf));
        h.finde<QPushButton>("btn_Grafik1")->click();
        h.finde<QPushButton>("BitBtn1")->click();
        h.finde<QPushButton>("btn_WeiterInhalte")->click();
        const lw::ErzeugterCode code = h.form1->LetzterCode();
        QVERIFY(code.seite.find("_hobby.html") != std::string::npos);

        // The preview asks for no folder: the import chose it.
        h.finde<QPushButton>("Button1")->click();
        QCOMPARE(dialoge.von(SkriptDialoge::Art::Ordner).size(), size_t(2));
        QVERIFY(QFileInfo::exists(Q(ziel + "/Test.html")));
        h.finde<QPushButton>("BitBtn10")->click();

        const std::string neu = ziel + "/Neu/";
        QCOMPARE(QDir(Q(neu)).entryList(QDir::Files, QDir::Name),
                 (QStringList{"_hobby.html", "_index.html", "_kontakt.html"}));
        // An import starts with the phone layout.
        QVERIFY(code.seite.find("<meta name=\"viewport\"") != std::string::npos);
        for (int i = 1; i <= 3; ++i) {
            const char* name = namen[i - 1];
            const std::string seite = Lesen(neu + "_" + name);
            // Each page marks its own entry of the menu.
            QVERIFY2(seite == lw::SeiteZusammenfuehren(lw::SeiteAusCode(h.daten, code, i, false),
                                                       Lesen(alt + name), name),
                     name);
        }
        const std::string hobby = Lesen(neu + "_hobby.html");
        QVERIFY(hobby.find("Meine T&uuml;r ist immer offen.") != std::string::npos);
        QVERIFY(hobby.find("content=\"_hobby\"") != std::string::npos);
        QVERIFY(hobby.find("Lorem ipsum") == std::string::npos);
        QVERIFY(Lesen(neu + "_index.html").find("Sch\xF6n") != std::string::npos);
        QVERIFY(Lesen(neu + "css/formate.css") == code.css);
        QVERIFY(Lesen(neu + "css/ie.css") == code.ieCss);
        QVERIFY(Lesen(neu + "img/knopf.jpg") == Lesen(knopf));

        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Meldung).last(),
                 QStringLiteral("Die erforderlichen Dateien wurden unter ") + Q(ziel) +
                     QStringLiteral("/Neu gespeichert.\nDas Programm wird jetzt beendet."));
        QVERIFY(dialoge.von(SkriptDialoge::Art::Fehler).empty());
        QCOMPARE(ende.count(), 1);
        QVERIFY(dialoge.alleAntwortenVerbraucht());
    }
};

QTEST_MAIN(ImportAblaufTest)
#include "test_import_ablauf.moc"
