#include "app/About.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "app/Browser.h"
#include "output/HomepageEinlesen.h"
#include "ui/Anwendung.h"
#include "ui/Dialoge.h"
#include "ui/Formbau.h"
#include "ui/LinkZahl.h"
#include "ui/MainForm.h"
#include "ui/TextUmwandlung.h"
#include "ui/TooltippStart.h"
#include "ui/Veroeffentlichen.h"
#include "ui/VerweisLabel.h"

namespace {

constexpr double kDeckkraft = 230 / 255.0;

QPushButton* ModusKnopf(QWidget* eltern, const char* name, int oben, const QString& text) {
    auto* knopf = new QPushButton(text, eltern);
    knopf->setObjectName(QString::fromLatin1(name));
    knopf->setGeometry(33, oben, 281, 25);
    knopf->setCursor(Qt::PointingHandCursor);
    return knopf;
}

}  // namespace

TForm2::TForm2(lw::Projektdaten& daten, Fenster& fenster)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), daten_(daten), fenster_(fenster) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Leistenwerk"));
    setFixedSize(347, 355);
    setWindowOpacity(kDeckkraft);

    auto* Label3 =
        lw::ui::Beschriftung(this, "Label3", 65, 16, QStringLiteral("Leistenwerk v. 0.8.0.2"));
    QFont titelSchrift = Label3->font();  // the application's Tahoma
    titelSchrift.setPointSize(12);
    titelSchrift.setBold(true);
    Label3->setFont(titelSchrift);
    Label3->adjustSize();

    auto* Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(1);
    Panel1->setGeometry(133, 48, 81, 100);
    auto* Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(1, 1, 79, 98);
    Image1->setPixmap(QPixmap(QStringLiteral(":/bilder/start.png")));

    lw::ui::Beschriftung(this, "lbl_Copyright", 104, 168,
                         QStringLiteral("Copyright © 2026 Leistenwerk"));

    auto* lbl_Homepage = new VerweisLabel(QString::fromLatin1(AuthorHomepage), this);
    lbl_Homepage->setObjectName(QStringLiteral("lbl_Homepage"));
    lbl_Homepage->move(124, 192);
    lbl_Homepage->adjustSize();
    connect(lbl_Homepage, &VerweisLabel::geklickt, this, &TForm2::lbl_HomepageClick);

    // Created in tab order: the new site first, the hidden provider site second.
    auto* btn_NeuHP = ModusKnopf(this, "btn_NeuHP", 256,
                                 QStringLiteral("Neue Homepage erstellen (providerunabhängig)"));
    auto* btn_NeuNZ = ModusKnopf(this, "btn_NeuNZ", 288, QStringLiteral("Neue Netzhof Homepage"));
    btn_NeuNZ->hide();
    auto* btn_BestandNZ = ModusKnopf(this, "btn_BestandNZ", 224,
                                     QStringLiteral("Änderung einer bestehenden Netzhof Homepage"));
    // In the place of the hidden button, after the two visible ones.
    auto* btn_BearbeitenHP = ModusKnopf(this, "btn_BearbeitenHP", 288,
                                        QStringLiteral("Gespeicherte Homepage bearbeiten"));
    auto* btn_VeroeffentlichenHP =
        ModusKnopf(this, "btn_VeroeffentlichenHP", 320,
                   QStringLiteral("Gespeicherte Homepage veröffentlichen"));
    setTabOrder(btn_NeuHP, btn_NeuNZ);
    setTabOrder(btn_NeuNZ, btn_BestandNZ);
    setTabOrder(btn_BestandNZ, btn_BearbeitenHP);
    setTabOrder(btn_BearbeitenHP, btn_VeroeffentlichenHP);
    connect(btn_NeuHP, &QPushButton::clicked, this, &TForm2::btn_NeuHPClick);
    connect(btn_NeuNZ, &QPushButton::clicked, this, &TForm2::btn_NeuNZClick);
    connect(btn_BestandNZ, &QPushButton::clicked, this, &TForm2::btn_BestandNZClick);
    connect(btn_BearbeitenHP, &QPushButton::clicked, this, &TForm2::btn_BearbeitenHPClick);
    connect(btn_VeroeffentlichenHP, &QPushButton::clicked, this,
            &TForm2::btn_VeroeffentlichenHPClick);

    TooltippsStart(*this);
    lw::ui::AufBildschirmZentrieren(*this);
}

void TForm2::HauptfensterZeigen(const std::string& modus) {
    hide();
    if (fenster_.Form1) fenster_.Form1->ModusZeigen(modus);
}

void TForm2::closeEvent(QCloseEvent* ereignis) {
    ereignis->accept();
    emit programmEndet();
    // exit, not quit: quit would ask the main window to close, and it would warn again.
    QCoreApplication::exit(0);
}

void TForm2::btn_NeuHPClick() {
    // Closed by its close box, the page-count window leaves the choice open
    // instead of making a site without pages.
    if (fenster_.frm_LinkAnzahl && fenster_.frm_LinkAnzahl->exec() != QDialog::Accepted) return;
    daten_.Modus = lw::kModusHPNeu;
    HauptfensterZeigen(daten_.Modus);
}

void TForm2::btn_NeuNZClick() {
    daten_.Modus = lw::kModusNZNeu;
    HauptfensterZeigen(daten_.Modus);
}

void TForm2::btn_BestandNZClick() {
    daten_.Modus = lw::kModusNZAlt;
    HauptfensterZeigen(daten_.Modus);
}

void TForm2::btn_BearbeitenHPClick() {
    const QString ordner = lw::ui::dialoge().OrdnerWaehlen(
        this, QStringLiteral("Bitte wählen Sie den Ordner Ihrer Homepage aus."), QDir::homePath());
    if (ordner.isEmpty()) return;
    // Read whole before anything changes: a site that cannot be read leaves
    // the start window as it was.
    std::optional<lw::GeleseneHomepage> homepage;
    if (!Handlung(this, [&] { homepage = lw::HomepageEinlesen(alsCp1252(ordner)); })) return;
    if (const std::string fehlend = lw::FehlendeSeitenMeldung(*homepage); !fehlend.empty())
        lw::ui::dialoge().Meldung(this, alsQString(fehlend));

    daten_.Modus = homepage->daten.Modus;
    if (daten_.Modus == lw::kModusHPNeu && fenster_.frm_LinkAnzahl) {
        // Closed without OK, the window leaves the count as it was.
        daten_.Seitenzahl = homepage->daten.Seitenzahl;
        fenster_.frm_LinkAnzahl->Vorgeben(daten_.Seitenzahl);
        fenster_.frm_LinkAnzahl->exec();
        lw::SeitenzahlAendern(*homepage, daten_.Seitenzahl);
    }
    hide();
    if (fenster_.Form1) fenster_.Form1->HomepageZeigen(std::move(*homepage));
}

void TForm2::btn_VeroeffentlichenHPClick() {
    const QString ordner = lw::ui::dialoge().OrdnerWaehlen(
        this, QStringLiteral("Bitte wählen Sie den Ordner Ihrer Homepage aus."), QDir::homePath());
    if (ordner.isEmpty()) return;
    std::string zielordner;
    if (!Handlung(this, [&] { zielordner = lw::ZielordnerFinden(alsCp1252(ordner)); })) return;
    // Straight to the publish window, without the wizard; the program ends with it.
    hide();
    Tfrm_Veroeffentlichen veroeffentlichen(zielordner, lw::ErsteSeite(zielordner), this);
    veroeffentlichen.exec();
    close();
}

void TForm2::lbl_HomepageClick() {
    BrowserOeffnen(QString::fromLatin1(AuthorHomepage));
}
