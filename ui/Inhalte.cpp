// The page "Inhalte": every page's title, description and text.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "output/DateiErzeugung.h"
#include "ui/Anwendung.h"
#include "ui/Formbau.h"
#include "ui/Inhalt.h"
#include "ui/MainForm.h"
#include "ui/TextUmwandlung.h"

using namespace lw::ui;

namespace {

// Search engines show about this many characters of a description.
constexpr int kBeschreibungGrenze = 160;

}  // namespace

void TForm1::InhalteSeiteFuellen(QWidget* seite) {
    Beschriftung(seite, "lbl_Seiten", 8, 8, QStringLiteral("Seiten"));
    lb_Seiten = new QListWidget(seite);
    lb_Seiten->setObjectName(QStringLiteral("lb_Seiten"));
    lb_Seiten->setGeometry(8, 24, 217, 289);
    connect(lb_Seiten, &QListWidget::currentRowChanged, this, &TForm1::lb_SeitenClick);
    connect(lb_Seiten, &QListWidget::itemDoubleClicked, this, &TForm1::btn_InhaltBearbeitenClick);

    Beschriftung(seite, "lbl_Titel", 240, 8,
                 QStringLiteral("Titel der Seite (Browser-Reiter, Suchmaschinen)"));
    ed_Titel = Feld(seite, "ed_Titel", 240, 24, 249, 21, QString());
    connect(ed_Titel, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (inhalteFuellen_ || lb_Seiten->currentRow() < 0) return;
        const int i = lb_Seiten->currentRow() + 1;
        lw::SeitenInhalt inhalt = daten_.Seiteninhalte[i];
        inhalt.titel = alsCp1252(text);
        daten_.Seiteninhalte.Setzen(i, std::move(inhalt));
    });

    Beschriftung(seite, "lbl_Beschreibung", 240, 56,
                 QStringLiteral("Kurzbeschreibung für Suchmaschinen"));
    ed_Beschreibung = new QPlainTextEdit(seite);
    ed_Beschreibung->setObjectName(QStringLiteral("ed_Beschreibung"));
    ed_Beschreibung->setGeometry(240, 72, 249, 81);
    ed_Beschreibung->setTabChangesFocus(true);
    lbl_BeschreibungZaehler = Beschriftung(seite, "lbl_BeschreibungZaehler", 240, 158, QString());
    connect(ed_Beschreibung, &QPlainTextEdit::textChanged, this, [this] {
        // One line in the page's head: line ends are blanks there.
        const QString text =
            ed_Beschreibung->toPlainText().replace(QLatin1Char('\n'), QLatin1Char(' '));
        BeschreibungZaehlen(text.size());
        if (inhalteFuellen_ || lb_Seiten->currentRow() < 0) return;
        const int i = lb_Seiten->currentRow() + 1;
        lw::SeitenInhalt inhalt = daten_.Seiteninhalte[i];
        inhalt.beschreibung = alsCp1252(text);
        daten_.Seiteninhalte.Setzen(i, std::move(inhalt));
    });
    BeschreibungZaehlen(0);

    btn_InhaltBearbeiten = Knopf(seite, "btn_InhaltBearbeiten", 240, 184, 121, 25,
                                 QStringLiteral("Text bearbeiten …"));
    connect(btn_InhaltBearbeiten, &QPushButton::clicked, this,
            &TForm1::btn_InhaltBearbeitenClick);

    auto* weiter = Knopf(seite, "btn_WeiterInhalte", 312, 320, 75, 25, QStringLiteral("Weiter >>"));
    connect(weiter, &QPushButton::clicked, this, &TForm1::NaechsteSeiteZeigen);
    auto* abbruch = AbbrechenKnopf(seite, "btn_AbbruchInhalte", 400, 320, 89);
    connect(abbruch, &QPushButton::clicked, this, &TForm1::WarnungZeigen);
    lb_SeitenClick(-1);
}

void TForm1::BeschreibungZaehlen(int zeichen) {
    lbl_BeschreibungZaehler->setText(
        QStringLiteral("%1 von %2 Zeichen").arg(zeichen).arg(kBeschreibungGrenze));
    lbl_BeschreibungZaehler->adjustSize();
    // Longer descriptions are cut off in the search results.
    QPalette farben = lbl_BeschreibungZaehler->palette();
    farben.setColor(QPalette::WindowText, zeichen > kBeschreibungGrenze
                                              ? QColor(Qt::red)
                                              : palette().color(QPalette::WindowText));
    lbl_BeschreibungZaehler->setPalette(farben);
}

void TForm1::SeitenListeFuellen() {
    // The pages are the rows of the links page, which are made on the first
    // visit of either page.
    if (Ed_Links.empty()) {
        ZeilenAufbauen();
        // Their names count as if the links page had been left.
        tab_LinksExit();
    }
    const int n = Zeilen();
    const int gewaehlt = lb_Seiten->currentRow();
    while (lb_Seiten->count() > n) delete lb_Seiten->takeItem(lb_Seiten->count() - 1);
    for (int i = 1; i <= n; ++i) {
        const QString text = Ed_Alts[i]->text() + QStringLiteral(" – ") + Ed_Links[i]->text();
        if (i > lb_Seiten->count())
            lb_Seiten->addItem(text);
        else if (lb_Seiten->item(i - 1)->text() != text)
            lb_Seiten->item(i - 1)->setText(text);
    }
    lb_Seiten->setCurrentRow(gewaehlt >= 0 && gewaehlt < n ? gewaehlt : (n > 0 ? 0 : -1));
}

void TForm1::lb_SeitenClick(int zeile) {
    const bool seite = zeile >= 0;
    inhalteFuellen_ = true;
    const lw::SeitenInhalt& inhalt = daten_.Seiteninhalte[zeile + 1];
    ed_Titel->setText(seite ? alsQString(inhalt.titel) : QString());
    ed_Beschreibung->setPlainText(seite ? alsQString(inhalt.beschreibung) : QString());
    inhalteFuellen_ = false;
    for (QWidget* w : {static_cast<QWidget*>(ed_Titel), static_cast<QWidget*>(ed_Beschreibung),
                       static_cast<QWidget*>(btn_InhaltBearbeiten)})
        w->setEnabled(seite);
}

int TForm1::GewaehlteSeite() const {
    return lb_Seiten && lb_Seiten->currentRow() >= 0 ? lb_Seiten->currentRow() + 1 : 1;
}

void TForm1::btn_InhaltBearbeitenClick() {
    const int i = lb_Seiten->currentRow() + 1;
    if (i < 1 || i > Zeilen()) return;
    if (!frm_Inhalt_) frm_Inhalt_ = std::make_unique<Tfrm_Inhalt>(daten_, this);
    QStringList seiten;
    for (int z = 1; z <= Zeilen(); ++z) seiten << Ed_Links[z]->text();
    std::string markup;
    // An opened site's file changed since it was read is refused, as at the save.
    if (!Handlung(this, [&] { markup = SeitenMarkup(i); })) return;
    const std::optional<std::string> neu =
        frm_Inhalt_->Bearbeiten({i, Ed_Links[i]->text(), markup}, seiten);
    if (!neu) return;
    lw::SeitenInhalt inhalt = daten_.Seiteninhalte[i];
    inhalt.text = *neu;
    daten_.Seiteninhalte.Setzen(i, std::move(inhalt));
}

std::string TForm1::SeitenMarkup(int seite) const {
    return lw::InhaltsblockLesen(daten_, vorOrt_ ? &*vorOrt_ : nullptr, seite);
}
