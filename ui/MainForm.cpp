#include "ui/MainForm.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QShowEvent>
#include <QTabWidget>
#include <QTemporaryDir>
#include <utility>

#include "app/About.h"
#include "app/Browser.h"
#include "common/Dateien.h"
#include "common/Fehler.h"
#include "import/Konfiguration.h"
#include "output/DateiErzeugung.h"
#include "output/HomepageEinlesen.h"
#include "output/Vorschau.h"
#include "pictures/Bild.h"
#include "ui/Abbruch.h"
#include "ui/Anwendung.h"
#include "ui/Auswahl.h"
#include "ui/ButtonGroesse.h"
#include "ui/Dialoge.h"
#include "ui/Fenster.h"
#include "ui/Formbau.h"
#include "ui/Hilfe.h"
#include "ui/ImportAblauf.h"
#include "ui/Inhalt.h"
#include "ui/TextUmwandlung.h"
#include "ui/Tooltipp.h"
#include "ui/Veroeffentlichen.h"

using namespace lw::ui;

namespace {

// A read-only text view whose text can still be selected and copied.
QPlainTextEdit* Memo(QWidget* eltern, const char* name, int links, int oben, int breite,
                     int hoehe) {
    auto* m = new QPlainTextEdit(eltern);
    m->setObjectName(QString::fromLatin1(name));
    m->setReadOnly(true);
    m->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m->setGeometry(links, oben, breite, hoehe);
    return m;
}

// The open door of the save button, normal and greyed; without the pictures
// the button simply has no symbol.
QIcon TuerSymbol() {
    QIcon symbol;
    const QPixmap normal(QStringLiteral(":/bilder/tuer.png"));
    if (normal.isNull()) return symbol;
    symbol.addPixmap(normal, QIcon::Normal);
    const QPixmap grau(QStringLiteral(":/bilder/tuer_grau.png"));
    if (!grau.isNull()) symbol.addPixmap(grau, QIcon::Disabled);
    return symbol;
}

}  // namespace

TForm1::TForm1(lw::Projektdaten& daten, Fenster& fenster, Aufbau aufbau)
    : QMainWindow(nullptr), daten_(daten), fenster_(fenster) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Leistenwerk"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    QAction* About1 = menuBar()->addAction(QStringLiteral("Hilfe"));
    About1->setObjectName(QStringLiteral("About1"));
    connect(About1, &QAction::triggered, this, &TForm1::About1Click);

    // The client area is fixed; the page control reaches a little beyond it,
    // as designed, so that its right and bottom frame lie outside.
    auto* flaeche = new QWidget(this);
    flaeche->setFixedSize(505, 383);
    setCentralWidget(flaeche);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    PageControl1 = new QTabWidget(flaeche);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(0, 0, 513, 385);
    PageControl1->setCursor(Qt::PointingHandCursor);
    for (const auto& [name, titel] :
         {std::pair{"tab_Import", "Import"}, std::pair{"tab_Body", "Dateiweite Einstellungen"},
          std::pair{"tab_Links", "Links"}, std::pair{"tab_Inhalte", "Inhalte"},
          std::pair{"tab_code", "Code"}}) {
        auto* seite = new QWidget;
        seite->setObjectName(QString::fromLatin1(name));
        // The hand belongs to the page headers, not to everything on the pages.
        seite->setCursor(Qt::ArrowCursor);
        PageControl1->addTab(seite, QString::fromUtf8(titel));
    }
    PageControl1->setCurrentIndex(kImportSeite);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm1::PageControl1Change);

    if (aufbau == Aufbau::sofort) SeitenAufbauen();
}

TForm1::~TForm1() = default;

void TForm1::SeitenAufbauen() {
    if (seitenAufgebaut_) return;
    seitenAufgebaut_ = true;
    ImportSeiteFuellen(PageControl1->widget(kImportSeite));
    BodySeiteFuellen(PageControl1->widget(kBodySeite));
    LinksSeiteFuellen(PageControl1->widget(kLinksSeite));
    InhalteSeiteFuellen(PageControl1->widget(kInhalteSeite));
    CodeSeiteFuellen(PageControl1->widget(kCodeSeite));
    TooltippsZuweisen();
}

void TForm1::setVisible(bool visible) {
    // Before Qt shows the children, so that they are shown with the window.
    if (visible) SeitenAufbauen();
    QMainWindow::setVisible(visible);
}

void TForm1::TooltippsZuweisen() {
    TooltippsEntwurf(*this);
    TooltippsImport(*this);
    TooltippsBody(*this);
    TooltippsLinks(*this);
}

void TForm1::ImportSeiteFuellen(QWidget* seite) {
    auto* gruppe = Gruppe(seite, "GroupBox4", 16, 24, 457, 153,
                          QStringLiteral("Adresse der bestehenden Homepage"));
    Beschriftung(gruppe, "Label1", 24, 28, QStringLiteral("http://www."));
    Ed_User = Feld(gruppe, "Ed_User", 88, 24, 121, 21, QStringLiteral("Benutzername"));
    Beschriftung(gruppe, "Label2", 216, 28, alsQString(lw::konfiguration::HomepageDomain));
    Beschriftung(
        gruppe, "Label3", 16, 72,
        QStringLiteral("Bitte geben Sie in das obige Feld Ihren Netzhof-Benutzernamen ein."));
    Beschriftung(gruppe, "Label4", 16, 96,
                 QStringLiteral("Der Import funktioniert nur für die Seiten, die auf der "
                                "Menüleiste der Startseite "));
    Beschriftung(gruppe, "Label5", 16, 120,
                 QStringLiteral("verlinkt sind. Passwortgeschützte Seiten können nicht "
                                "importiert werden."));

    Beschriftung(seite, "Label12", 32, 192,
                 QStringLiteral("Bei Anklicken des \"Weiter\"-Buttons versucht das Programm die "
                                "bestehende Homepage"));
    Beschriftung(seite, "Label13", 32, 216,
                 QStringLiteral("aus dem Internet zu laden. Dies kann einige Zeit in Anspruch "
                                "nehmen."));
    Beschriftung(seite, "Label18", 32, 240,
                 QStringLiteral("Sobald der Vorgang abgeschlossen ist, wird der nächste Tab "
                                "geöffnet."));

    btn_WeiterImport =
        Knopf(seite, "btn_WeiterImport", 312, 320, 75, 25, QStringLiteral("Weiter >>"));
    connect(btn_WeiterImport, &QPushButton::clicked, this, &TForm1::btn_WeiterImportClick);
    auto* abbruch = AbbrechenKnopf(seite, "btn_AbbruchImport", 400, 320, 89);
    connect(abbruch, &QPushButton::clicked, this, &TForm1::WarnungZeigen);
}

void TForm1::CodeSeiteFuellen(QWidget* seite) {
    Beschriftung(seite, "Label7", 8, 8, QStringLiteral("XHTML-Quellcode"));
    Memo1 = Memo(seite, "Memo1", 8, 24, 481, 105);
    Beschriftung(seite, "Label6", 8, 136, QStringLiteral("CSS-Stylesheet"));
    Memo2 = Memo(seite, "Memo2", 8, 152, 481, 89);
    Beschriftung(seite, "Label8", 8, 248, QStringLiteral("Workaround Internet Explorer"));
    Memo3 = Memo(seite, "Memo3", 8, 264, 481, 41);

    // Shown once the preview has run; saving needs a chosen folder.
    BitBtn10 = Knopf(seite, "BitBtn10", 160, 320, 139, 25, QStringLiteral("Speichern + Schließen"));
    BitBtn10->setIcon(TuerSymbol());
    BitBtn10->setIconSize(QSize(18, 18));
    BitBtn10->hide();
    connect(BitBtn10, &QPushButton::clicked, this, &TForm1::BitBtn10Click);
    // Shown with BitBtn10: the saved site goes online right after the save.
    cbx_Veroeffentlichen = Kontrollkaestchen(seite, "cbx_Veroeffentlichen", 8, 324, 145, 17,
                                             QStringLiteral("Danach veröffentlichen"));
    cbx_Veroeffentlichen->hide();
    Button1 = Knopf(seite, "Button1", 312, 320, 75, 25, QStringLiteral("Testen"));
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    auto* abbruch = AbbruchKnopf(seite, "BitBtn9", 400, 320, 89);
    connect(abbruch, &QPushButton::clicked, this, &TForm1::BitBtn9Click);
}

void TForm1::btn_WeiterImportClick() {
    if (importLaeuft_) return;
    importLaeuft_ = true;
    btn_WeiterImport->setEnabled(false);
    const auto danach = qScopeGuard([this] {
        btn_WeiterImport->setEnabled(true);
        importLaeuft_ = false;
    });
    Handlung(this, [this] {
        if (ImportDurchfuehren(daten_, alsCp1252(Ed_User->text()), *this, *fenster_.frm_Status))
            AssistentenSeitenZeigen();
    });
}

// Before the first generation there is nothing to show or save: the code
// page was entered before the links, and its memos are empty.
bool TForm1::CodeVorhanden() {
    if (!code_.seite.empty()) return true;
    dialoge().Meldung(this, QStringLiteral("Bitte bearbeiten Sie zuerst die Links."));
    return false;
}

void TForm1::Button1Click() {
    if (!CodeVorhanden()) return;
    // An opened site has its folder: the test files go beside its Neu.
    if (daten_.Modus == lw::kModusHPNeu && !vorOrt_) {
        const QString ordner = dialoge().OrdnerWaehlen(
            this, QStringLiteral("Verzeichnis für neue Dateien auswählen"), QDir::homePath());
        // Without a folder the test files, and later the site, would land at
        // the top of the file system: a cancelled choice stops the preview.
        if (ordner.isEmpty()) return;
        daten_.Zielordner = alsCp1252(ordner);
    }
    const bool geschrieben = Handlung(this, [this] {
        const std::string testseite =
            lw::VorschauSchreiben(daten_, code_, cbx_MenueFixieren->isChecked(),
                                  CheckBox1->isChecked(), lw::StandardBrowser(), GewaehlteSeite(),
                                  vorOrt_ ? &*vorOrt_ : nullptr);
        BrowserOeffnen(alsQString(testseite));
    });
    if (geschrieben) {
        BitBtn10->show();
        cbx_Veroeffentlichen->show();
    }
}

void TForm1::BitBtn10Click() {
    if (!CodeVorhanden()) return;
    // Left by an earlier save into the same folder; the bare "E/A-Fehler 183"
    // would not tell the user what to do. An opened site is saved into its Neu.
    if (!vorOrt_ && lw::OrdnerExistiert(daten_.Zielordner + "/Neu")) {
        dialoge().Meldung(this, QStringLiteral("Im Ordner „%1“ gibt es schon einen Ordner „Neu“. "
                                               "Bitte benennen Sie ihn um, oder wählen Sie mit "
                                               "„Testen“ einen anderen Ordner.")
                                    .arg(alsQString(daten_.Zielordner)));
        return;
    }
    lw::VorOrt* vorOrt = vorOrt_ ? &*vorOrt_ : nullptr;
    if (!Handlung(this, [this, vorOrt] {
            lw::DateienErzeugen(daten_, code_, cbx_MenueFixieren->isChecked(), vorOrt);
        }))
        return;
    if (dialoge().MeldungMitKnopf(this, alsQString(lw::SpeicherMeldung(daten_, vorOrt)),
                                  QStringLiteral("Ordner öffnen")))
        BrowserOeffnen(alsQString(daten_.Zielordner + "/Neu"));
    if (cbx_Veroeffentlichen->isChecked()) {
        // The start page offered where Neu has none leads to the menu's first button.
        const int n = daten_.Modus == lw::kModusNZAlt ? daten_.ImportAnzahl : daten_.Seitenzahl;
        std::string erste = n >= 1 ? daten_.ImportSeiten[1] : std::string();
        if (!erste.empty() && daten_.Modus == lw::kModusNZAlt) erste = "_" + erste;
        Tfrm_Veroeffentlichen veroeffentlichen(daten_.Zielordner, erste, this);
        veroeffentlichen.exec();
    }
    // The start window is the application's main window: closing it ends
    // the program without the warning that guards this window.
    fenster_.Form2->close();
}

void TForm1::ModusZeigen(const std::string& modus) {
    if (modus == lw::kModusNZAlt)
        SeitenSichtbarSetzen(true, false, kImportSeite);
    else
        SeitenSichtbarSetzen(false, true, kBodySeite);
    Vorholen();
}

void TForm1::Vorholen() {
    if (!isVisible()) {
        layout()->activate();
        AufBildschirmZentrieren(*this);
    }
    show();
    raise();
    activateWindow();
}

void TForm1::AssistentenSeitenZeigen() {
    SeitenSichtbarSetzen(false, true, kBodySeite);
}

void TForm1::HomepageZeigen(lw::GeleseneHomepage homepage) {
    SeitenSichtbarSetzen(false, true, kBodySeite);
    Vorholen();

    // After the defaults that showing assigns.
    daten_ = std::move(homepage.daten);
    const lw::CodeEingaben& e = homepage.eingaben;
    geleseneLinks_ = e.links;
    vorOrt_ = lw::VorOrt{std::move(homepage.inhalte), {}};
    if (frm_Inhalt_) frm_Inhalt_->Vergessen();

    cbx_MenueFixieren->setChecked(e.menueFixiert);
    CheckBox1->setChecked(e.eineGrafikFuerAlle);
    if (!daten_.HintergrundBild.empty()) Edit1->setText(alsQString(daten_.HintergrundBild));
    findChild<QRadioButton*>(daten_.HintergrundKachel ? QStringLiteral("rbtn_HintergrundKachel")
                                                      : QStringLiteral("rbtn_HintergrundEinzel"))
        ->setChecked(true);
    findChild<QCheckBox*>(QStringLiteral("chckbx_HintergrundFix"))
        ->setChecked(daten_.HintergrundFixiert);
    if (!daten_.BannerDatei.empty()) Edit2->setText(alsQString(daten_.BannerDatei));
    Edit5->setText(alsQString(e.bannerAlt));
    Edit6->setText(alsQString(e.bannerTooltipp));

    // The button preview as the choosers would have left it.
    const std::string& stil = daten_.ButtonSchriftStil;
    const auto hat = [&stil](const char* wort) { return stil.find(wort) != std::string::npos; };
    ButtonSchriftZeigen({alsQString(daten_.ButtonSchriftName), daten_.ButtonSchriftGroesse,
                         hat("bold"), hat("italic"), hat("underline"), hat("line-through"),
                         QColor(QStringLiteral("#") + alsQString(daten_.ButtonSchriftFarbe))});
    cbx_Handy->setChecked(daten_.HandyAnsicht);
    KontrastZeigen();
}

void TForm1::SeitenSichtbarSetzen(bool import, bool assistent, int aktiv) {
    seitenwechselStill_ = true;
    PageControl1->setTabVisible(kImportSeite, import);
    PageControl1->setTabVisible(kBodySeite, assistent);
    PageControl1->setTabVisible(kLinksSeite, assistent);
    PageControl1->setTabVisible(kInhalteSeite, assistent);
    PageControl1->setTabVisible(kCodeSeite, assistent);
    PageControl1->setCurrentIndex(aktiv);
    seitenwechselStill_ = false;
    vorherigeSeite_ = PageControl1->currentIndex();
}

void TForm1::showEvent(QShowEvent* event) {
    // Restoring a minimised window is no new showing: the rows that exist
    // must not be forgotten.
    if (!event->spontaneous()) {
        daten_.StandardwerteSetzen();
        cbx_Handy->setChecked(daten_.HandyAnsicht);
        KontrastZeigen();
    }
    QMainWindow::showEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!daten_.BeendenBestaetigt) WarnungZeigen();
    if (daten_.BeendenBestaetigt)
        event->accept();
    else
        event->ignore();
}

void TForm1::changeEvent(QEvent* event) {
    // The program is ending; the window follows as soon as it is active again.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && daten_.BeendenBestaetigt)
        QMetaObject::invokeMethod(
            this, [this] { close(); }, Qt::QueuedConnection);
    QMainWindow::changeEvent(event);
}

void TForm1::PageControl1Change(int index) {
    if (seitenwechselStill_) return;
    if (vorherigeSeite_ == kLinksSeite && index != kLinksSeite) {
        // The names are checked with the links page in front, so that a
        // refusal leaves the user at the row; they must be copied before the
        // code page generates.
        SeiteStillSetzen(kLinksSeite);
        if (!SeitennamenPruefen()) return;
        tab_LinksExit();
        SeiteStillSetzen(index);
    }
    vorherigeSeite_ = index;

    if (index == kLinksSeite && !daten_.LinksAufgebaut)
        ZeilenAufbauen();
    else if (index == kInhalteSeite)
        SeitenListeFuellen();
    else if (index == kCodeSeite)
        CodeSeiteBetreten();
}

void TForm1::SeiteStillSetzen(int index) {
    seitenwechselStill_ = true;
    PageControl1->setCurrentIndex(index);
    seitenwechselStill_ = false;
}

void TForm1::NaechsteSeiteZeigen() {
    for (int i = PageControl1->currentIndex() + 1; i < PageControl1->count(); ++i) {
        if (PageControl1->isTabVisible(i)) {
            PageControl1->setCurrentIndex(i);
            return;
        }
    }
}

void TForm1::CodeSeiteBetreten() {
    if (!daten_.LinksAufgebaut) {
        dialoge().Meldung(this, QStringLiteral("Bitte bearbeiten Sie zuerst die Links."));
        return;
    }
    if (daten_.ButtonHoehe[1] == 0 || daten_.ButtonBreite[1] == 0)
        fenster_.frm_ButtonGroesse->exec();

    code_ = lw::CodeErzeugen(daten_, CodeEingabenLesen());
    Memo1->setPlainText(alsQString(code_.seite));
    Memo2->setPlainText(alsQString(code_.css));
    Memo3->setPlainText(alsQString(code_.ieCss));
}

lw::CodeEingaben TForm1::CodeEingabenLesen() const {
    lw::CodeEingaben eingaben;
    // The controls' first values count even before the window was shown.
    const_cast<TForm1*>(this)->SeitenAufbauen();
    eingaben.menueFixiert = cbx_MenueFixieren->isChecked();
    eingaben.eineGrafikFuerAlle = CheckBox1->isChecked();
    for (int i = 1; i <= Zeilen(); ++i)
        eingaben.links.push_back({alsCp1252(Ed_Links[i]->text()), alsCp1252(Ed_Alts[i]->text()),
                                  alsCp1252(Ed_Tooltipps[i]->text())});
    eingaben.bannerAlt = alsCp1252(Edit5->text());
    eingaben.bannerTooltipp = alsCp1252(Edit6->text());
    return eingaben;
}

void TForm1::WarnungZeigen() {
    // A modal warning opened while pages load would hold the download inside
    // its call-back until answered, long enough for the server or the stall
    // limit to drop the page; so it waits beside the import, which asks
    // before every request whether the user has confirmed leaving.
    if (importLaeuft_)
        fenster_.Form3->ZeigenNichtModal();
    else
        fenster_.Form3->ZeigenModal();
}

void TForm1::BitBtn9Click() {
    fenster_.Form3->ZeigenNichtModal();
}

void TForm1::About1Click() {
    fenster_.Form4->exec();
}
