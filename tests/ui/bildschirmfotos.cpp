// Saves a picture of every window, to check the layout by eye: nothing cut off,
// nothing out of place. Not a test; scripts/screenshots.sh runs it.
// Usage: lw_bildschirmfotos <folder>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <cstdio>
#include <memory>

#include "app/About.h"
#include "model/Projektdaten.h"
#include "tests/ui/SkriptDialoge.h"
#include "ui/Abbruch.h"
#include "ui/Anwendung.h"
#include "ui/ButtonGroesse.h"
#include "ui/Fenster.h"
#include "ui/Hilfe.h"
#include "ui/Inhalt.h"
#include "ui/InhaltBild.h"
#include "ui/InhaltLink.h"
#include "ui/LinkZahl.h"
#include "ui/MainForm.h"
#include "ui/SchriftDialog.h"
#include "ui/Status.h"
#include "ui/TextUmwandlung.h"
#include "ui/Veroeffentlichen.h"

namespace {

bool gut = true;

void Foto(QWidget& fenster, const QDir& ziel, const QString& name) {
    if (!fenster.isVisible()) fenster.show();
    if (!QTest::qWaitForWindowExposed(&fenster))
        std::fprintf(stderr, "%s wurde nicht gezeigt.\n", qPrintable(name));
    QTest::qWait(50);
    const QString pfad = ziel.filePath(name + QStringLiteral(".png"));
    if (!fenster.grab().save(pfad)) {
        std::fprintf(stderr, "%s kann nicht gespeichert werden.\n", qPrintable(pfad));
        gut = false;
    }
}

void SeiteZeigen(TForm1& form1, const char* seite) {
    auto* seiten = form1.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    seiten->setCurrentWidget(seiten->findChild<QWidget*>(QString::fromLatin1(seite)));
}

}  // namespace

int main(int argc, char** argv) {
    Anwendung app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Leistenwerk"));
    if (argc != 2) {
        std::fprintf(stderr, "Aufruf: lw_bildschirmfotos <Ordner>\n");
        return 2;
    }
    const QDir ziel(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(ziel.path())) return 1;
    // Messages are recorded, not shown: a modal box would stop the run.
    lw::test::SkriptDialoge dialoge;

    lw::Projektdaten daten;
    Fenster fenster;
    TForm2 form2(daten, fenster);
    fenster.Form2 = &form2;
    TForm1 form1(daten, fenster);
    fenster.Form1 = &form1;
    TForm3 form3(daten, fenster);
    fenster.Form3 = &form3;
    Tfrm_Status status;
    fenster.frm_Status = &status;
    Tfrm_ButtonGroesse buttonGroesse(daten);
    fenster.frm_ButtonGroesse = &buttonGroesse;
    TForm4 form4;
    fenster.Form4 = &form4;
    Tfrm_LinkAnzahl linkAnzahl(daten);
    fenster.frm_LinkAnzahl = &linkAnzahl;

    Foto(form2, ziel, QStringLiteral("Form2"));
    // The status window as the import shows it, halfway through.
    status.StatusSetzen(QStringLiteral("Laden von hobby.html"));
    status.FortschrittSetzen(2, 4);
    for (QWidget* w :
         std::initializer_list<QWidget*>{&form3, &form4, &status, &linkAnzahl, &buttonGroesse}) {
        Foto(*w, ziel, w->objectName());
        w->hide();
    }
    // The publish window for a site without index.html, so that the offer shows.
    Tfrm_Veroeffentlichen veroeffentlichen(alsCp1252(QDir::tempPath() + "/leistenwerk-ohne-neu"),
                                           "Seite1.html");
    // With a key, so that its passphrase shows, and a message above the buttons.
    veroeffentlichen.findChild<QLineEdit*>(QStringLiteral("ed_Schluessel"))
        ->setText(QStringLiteral("/home/ich/.ssh/id_ed25519"));
    veroeffentlichen.findChild<QPushButton*>(QStringLiteral("btn_Veroeffentlichen"))->click();
    Foto(veroeffentlichen, ziel, veroeffentlichen.objectName());
    veroeffentlichen.hide();
    lw::ui::SchriftDialog schrift(nullptr, lw::ui::SchriftWahl());
    Foto(schrift, ziel, QStringLiteral("SchriftDialog"));
    schrift.hide();

    // A new site with six pages: one row more than the links page shows at once.
    daten.Modus = lw::kModusHPNeu;
    daten.Seitenzahl = 6;
    daten.ButtonBreite.Setzen(1, 170);
    daten.ButtonHoehe.Setzen(1, 50);
    form2.HauptfensterZeigen(daten.Modus);
    Foto(form1, ziel, QStringLiteral("Form1_tab_Body"));
    SeiteZeigen(form1, "tab_Links");
    Foto(form1, ziel, QStringLiteral("Form1_tab_Links"));
    SeiteZeigen(form1, "tab_Inhalte");
    Foto(form1, ziel, QStringLiteral("Form1_tab_Inhalte"));
    SeiteZeigen(form1, "tab_code");
    Foto(form1, ziel, QStringLiteral("Form1_tab_code"));

    // The contents editor with a page as a user writes it.
    Tfrm_Inhalt inhalt(daten, &form1);
    inhalt.SeiteZeigen({2, QStringLiteral("Seite2.html"),
                        "        <h1>&Uuml;ber uns</h1>\r\n"
                        "        <p>Wir sind ein <strong>kleiner Verein</strong> mit "
                        "<em>gro&szlig;en</em> Pl&auml;nen.</p>\r\n"
                        "        <ul>\r\n          <li>Training dienstags</li>\r\n"
                        "          <li>Feiern <a href=\"Seite3.html\">im Sommer</a></li>\r\n"
                        "        </ul>\r\n"},
                       {QStringLiteral("Seite1.html"), QStringLiteral("Seite2.html")});
    Foto(inhalt, ziel, QStringLiteral("frm_Inhalt"));
    inhalt.SeiteZeigen({3, QStringLiteral("Seite3.html"),
                        "        <div class=\"alt\"><font color=\"red\">Alt</font></div>\r\n"},
                       {QStringLiteral("Seite1.html")});
    Foto(inhalt, ziel, QStringLiteral("frm_Inhalt_nur_lesen"));
    inhalt.hide();
    Tfrm_Link link({QStringLiteral("Seite1.html"), QStringLiteral("Seite2.html")},
                   QStringLiteral("im Sommer"), &form1);
    Foto(link, ziel, link.objectName());
    link.hide();
    Tfrm_Bild bild(QImage(), QStringLiteral("foto.jpg"), &form1);
    Foto(bild, ziel, bild.objectName());
    bild.hide();
    Tfrm_Tabelle tabelle(&form1);
    Foto(tabelle, ziel, tabelle.objectName());
    tabelle.hide();
    // Last of the new site, the warnings: buttons of weak contrast, a link
    // text too long for them, a page background too dark for its text.
    SeiteZeigen(form1, "tab_Links");
    dialoge.naechsteFarbe(QColor(0x44, 0x44, 0x44));
    form1.findChild<QPushButton*>(QStringLiteral("btn_LinkBackground"))->click();
    form1.findChild<QLineEdit*>(QStringLiteral("Ed_Alt2"))
        ->setText(QStringLiteral("Unsere lange Vereinsgeschichte"));
    Foto(form1, ziel, QStringLiteral("Form1_tab_Links_Warnungen"));
    dialoge.naechsteFarbe(QColor(0x33, 0x33, 0x33));
    SeiteZeigen(form1, "tab_Body");
    form1.findChild<QPushButton*>(QStringLiteral("btn_HintergrundFarbe"))->click();
    Foto(form1, ziel, QStringLiteral("Form1_tab_Body_Warnungen"));
    form1.ModusZeigen(lw::kModusNZAlt);
    Foto(form1, ziel, QStringLiteral("Form1_tab_Import"));

    // The colour chooser above was asked on purpose; any message was not.
    int meldungen = 0;
    for (const auto& aufruf : dialoge.aufrufe) {
        if (aufruf.art == lw::test::SkriptDialoge::Art::Farbe) continue;
        ++meldungen;
        std::fprintf(stderr, "Meldung während der Aufnahmen: %s\n", qPrintable(aufruf.text));
    }
    return gut && meldungen == 0 ? 0 : 1;
}
