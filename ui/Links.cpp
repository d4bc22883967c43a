// The page "Links": one row per page, made the first time the page is shown,
// the settings of all buttons and the preview of the first button.
#include "ui/MainForm.h"

#include <QByteArray>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <algorithm>

#include "common/Dateien.h"
#include "common/Fehler.h"
#include "common/Text.h"
#include "pictures/Bild.h"
#include "ui/Auswahl.h"
#include "ui/Dialoge.h"
#include "ui/Formbau.h"
#include "ui/TextUmwandlung.h"
#include "ui/Tooltipp.h"

using namespace lw::ui;

namespace {

// The centre of pnl_Vorschau (265 x 81), halves rounded down.
constexpr int kVorschauMitteX = 132;
constexpr int kVorschauMitteY = 40;

QByteArray Zeilenname(const char* stamm, int zeile) {
    return QByteArray(stamm) + QByteArray::number(zeile);
}

void Zentrieren(QWidget* w) {
    w->move(kVorschauMitteX - w->width() / 2, kVorschauMitteY - w->height() / 2);
}

}  // namespace

void TForm1::LinksSeiteFuellen(QWidget* seite) {

    auto* scrollBox = new QScrollArea(seite);
    scrollBox->setObjectName(QStringLiteral("ScrollBox1"));
    scrollBox->setGeometry(0, 0, 497, 313);
    scrollBox->setFrameShape(QFrame::NoFrame);
    scrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollBox->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scrollBox->setWidgetResizable(false);
    // Tab goes from field to field; the area scrolls to the one with the focus.
    scrollBox->setFocusPolicy(Qt::NoFocus);
    scrollInhalt_ = new QWidget;
    scrollInhalt_->resize(478, 245);

    auto* knoepfe =
        Gruppe(scrollInhalt_, "gb_Buttons", 0, 0, 478, 97, QStringLiteral("Schaltflächen"));
    auto* hintergrund =
        Knopf(knoepfe, "btn_LinkBackground", 8, 24, 97, 25, QStringLiteral("Hintergrundfarbe"));
    connect(hintergrund, &QPushButton::clicked, this, &TForm1::btn_LinkBackgroundClick);
    auto* schrift = Knopf(knoepfe, "btn_LinkSchrift", 8, 56, 97, 25, QStringLiteral("Schriftstil"));
    connect(schrift, &QPushButton::clicked, this, &TForm1::btn_LinkSchriftClick);
    Beschriftung(knoepfe, "Label19", 120, 38, QStringLiteral("eine Grafik für"));
    Beschriftung(knoepfe, "Label20", 120, 54, QStringLiteral("alle Buttons"));
    // The two labels are its caption.
    CheckBox1 = Kontrollkaestchen(knoepfe, "CheckBox1", 184, 52, 17, 17, QString());

    pnl_Vorschau = new QFrame(knoepfe);
    pnl_Vorschau->setObjectName(QStringLiteral("pnl_Vorschau"));
    pnl_Vorschau->setFrameShape(QFrame::NoFrame);
    pnl_Vorschau->setGeometry(208, 10, 265, 81);
    img_ButtonVorschau = new QLabel(pnl_Vorschau);
    img_ButtonVorschau->setObjectName(QStringLiteral("img_ButtonVorschau"));
    img_ButtonVorschau->setGeometry(112, 24, 137, 33);
    lbl_ButtonSchriftVorschau = new QLabel(pnl_Vorschau);
    lbl_ButtonSchriftVorschau->setObjectName(QStringLiteral("lbl_ButtonSchriftVorschau"));
    lbl_ButtonSchriftVorschau->setTextFormat(Qt::PlainText);
    lbl_ButtonSchriftVorschau->move(48, 16);

    connect(CheckBox1, &QCheckBox::toggled, this, [this] { ButtonVorschauZeigen(vorschauZeile_); });

    gb_Links = Gruppe(scrollInhalt_, "gb_Links", 0, 100, 119, 145, QStringLiteral("Link-Verweis"));
    gb_Grafiken =
        Gruppe(scrollInhalt_, "gb_Grafiken", 127, 100, 97, 145, QStringLiteral("Button-Grafik"));
    gb_AlternativText =
        Gruppe(scrollInhalt_, "gb_AlternativText", 232, 100, 119, 145, QStringLiteral("Link-Text"));
    gb_Tooltipps =
        Gruppe(scrollInhalt_, "gb_Tooltipps", 359, 100, 119, 145, QStringLiteral("Tooltipps"));
    scrollBox->setWidget(scrollInhalt_);

    BitBtn1 = Knopf(seite, "BitBtn1", 312, 320, 75, 25, QStringLiteral("Weiter >>"));
    connect(BitBtn1, &QPushButton::clicked, this, &TForm1::NaechsteSeiteZeigen);
    auto* abbruch = AbbrechenKnopf(seite, "BitBtn6", 400, 320, 89);
    connect(abbruch, &QPushButton::clicked, this, &TForm1::WarnungZeigen);

    // Below the scrolling rows, beside the page's buttons, so that it is seen
    // whichever row is in view.
    lbl_KontrastButtons = new QLabel(seite);
    lbl_KontrastButtons->setObjectName(QStringLiteral("lbl_KontrastButtons"));
    lbl_KontrastButtons->setGeometry(8, 316, 296, 30);
    lbl_KontrastButtons->setWordWrap(true);
}

void TForm1::ZeilenAufbauen() {
    // Once made, the rows stay for the rest of the run, whatever resets the flag.
    if (!Ed_Links.empty()) {
        daten_.LinksAufgebaut = true;
        return;
    }
    const int n = daten_.SeitenInGebrauch();
    const bool importiert = daten_.Modus == lw::kModusNZAlt;

    Ed_Links.assign(n + 1, nullptr);
    btn_Grafiken.assign(n + 1, nullptr);
    Ed_Alts.assign(n + 1, nullptr);
    Ed_Tooltipps.assign(n + 1, nullptr);

    const int hoehe = 32 * n + 26;
    for (QGroupBox* gruppe : {gb_Links, gb_Grafiken, gb_AlternativText, gb_Tooltipps})
        gruppe->resize(gruppe->width(), hoehe);
    scrollInhalt_->resize(scrollInhalt_->width(), gb_Links->y() + hoehe);

    for (int i = 1; i <= n; ++i) {
        const int oben = 32 * i - 6;
        // An opened site's rows show what was read.
        const lw::LinkTexte* gelesen =
            static_cast<std::size_t>(i) <= geleseneLinks_.size() ? &geleseneLinks_[i - 1] : nullptr;
        const QString seite = importiert ? alsQString(daten_.ImportSeiten[i])
                              : gelesen  ? alsQString(gelesen->seite)
                                         : QStringLiteral("Seite%1.html").arg(i);
        Ed_Links[i] = Feld(gb_Links, Zeilenname("Ed_Link", i).constData(), 13, oben, 93, 21, seite);
        Ed_Links[i]->setReadOnly(importiert);
        btn_Grafiken[i] = Knopf(gb_Grafiken, Zeilenname("btn_Grafik", i).constData(), 16, oben, 60,
                                21, QStringLiteral("Laden..."));
        Ed_Alts[i] = Feld(gb_AlternativText, Zeilenname("Ed_Alt", i).constData(), 13, oben, 93, 21,
                          gelesen ? alsQString(gelesen->text) : QStringLiteral("Seite %1").arg(i));
        Ed_Tooltipps[i] =
            Feld(gb_Tooltipps, Zeilenname("Ed_Tooltipp", i).constData(), 13, oben, 93, 21,
                 gelesen ? alsQString(gelesen->tooltipp) : QStringLiteral("Zur Seite %1").arg(i));
        TooltippsZeile(*this, i, importiert);
        for (QWidget* w :
             {static_cast<QWidget*>(Ed_Links[i]), static_cast<QWidget*>(btn_Grafiken[i]),
              static_cast<QWidget*>(Ed_Alts[i]), static_cast<QWidget*>(Ed_Tooltipps[i])})
            w->show();

        // Attached after the initial texts, so that building raises no change.
        connect(btn_Grafiken[i], &QPushButton::clicked, this, [this, i] { btn_GrafikClick(i); });
        connect(Ed_Alts[i], &QLineEdit::textChanged, this, [this, i] {
            TextBreitePruefen(i);
            ButtonVorschauZeigen(i);
        });
        connect(Ed_Tooltipps[i], &QLineEdit::textChanged, this,
                [this, i] { ButtonVorschauZeigen(i); });
    }

    // Tab runs through the design's groups, a column at a time, between the
    // shared button settings and the page's foot.
    QWidget* vorher = CheckBox1;
    const auto danach = [&vorher](QWidget* w) {
        setTabOrder(vorher, w);
        vorher = w;
    };
    for (int i = 1; i <= n; ++i) danach(Ed_Links[i]);
    for (int i = 1; i <= n; ++i) danach(btn_Grafiken[i]);
    for (int i = 1; i <= n; ++i) danach(Ed_Alts[i]);
    for (int i = 1; i <= n; ++i) danach(Ed_Tooltipps[i]);
    setTabOrder(vorher, BitBtn1);

    ButtonVorschauZeigen();
    AlleTextBreitenPruefen();
    daten_.LinksAufgebaut = true;
}

void TForm1::btn_GrafikClick(int n) {
    ButtonGrafikLaden(n);
    ButtonVorschauZeigen(n);
}

void TForm1::ButtonGrafikLaden(int n) {
    auto gewaehlt = BildWaehlen(this, QStringLiteral("Button laden..."),
                                alsQString(lw::ProgrammOrdner() + "/Buttons"));
    if (!gewaehlt) return;
    FuerHandyPruefen(gewaehlt->pfad, gewaehlt->bild);
    const std::string pfad = alsCp1252(gewaehlt->pfad);
    daten_.ButtonGrafik.Setzen(n, pfad);
    daten_.ButtonHoehe.Setzen(n, gewaehlt->bild.hoehe);
    daten_.ButtonBreite.Setzen(n, gewaehlt->bild.breite);
    grafikBilder_[pfad] = QPixmap::fromImage(AlsQImage(gewaehlt->bild));
    // Button 1's graphic gives every button its width.
    if (n == 1) AlleTextBreitenPruefen();
}

void TForm1::ButtonVorschauZeigen(int zeile) {
    // Without rows there is no row to show; the preview stays empty.
    if (zeile < 1 || zeile > Zeilen()) return;
    vorschauZeile_ = zeile;
    const QString tipp = Ed_Tooltipps[zeile]->text();
    lbl_ButtonSchriftVorschau->setText(Ed_Alts[zeile]->text());
    lbl_ButtonSchriftVorschau->setToolTip(tipp);
    const std::string& grafik = daten_.ButtonGrafik[CheckBox1->isChecked() ? 1 : zeile];
    if (!grafik.empty()) {
        auto bild = grafikBilder_.find(grafik);
        if (bild == grafikBilder_.end()) {
            // An opened site's graphic, decoded once; one that cannot be
            // shown leaves the preview without it.
            QPixmap geladen;
            try {
                geladen = QPixmap::fromImage(AlsQImage(lw::BildLaden(grafik)));
            } catch (const lw::Fehler&) {
            }
            bild = grafikBilder_.emplace(grafik, geladen).first;
        }
        // Typing in the row keeps its picture: nothing to repaint.
        if (img_ButtonVorschau->pixmap().cacheKey() != bild->second.cacheKey()) {
            img_ButtonVorschau->setPixmap(bild->second);
            img_ButtonVorschau->resize(bild->second.size());
        }
    } else if (!img_ButtonVorschau->pixmap().isNull()) {
        img_ButtonVorschau->clear();
    }
    img_ButtonVorschau->setToolTip(tipp);

    lbl_ButtonSchriftVorschau->adjustSize();
    Zentrieren(img_ButtonVorschau);
    Zentrieren(lbl_ButtonSchriftVorschau);
    lbl_ButtonSchriftVorschau->raise();
}

void TForm1::btn_LinkBackgroundClick() {
    // The preview does not show this colour.
    if (const auto farbe =
            FarbeAlsHexWaehlen(this, AlsQColor(daten_.ButtonHintergrundFarbe, Qt::black)))
        daten_.ButtonHintergrundFarbe = *farbe;
    KontrastZeigen();
}

void TForm1::btn_LinkSchriftClick() {
    // Confirmed or not, the preview shows the font in effect afterwards.
    const SchriftWahl schrift =
        SchriftWaehlenUndSpeichern(this, {daten_.ButtonSchriftName, daten_.ButtonSchriftGroesse,
                                          daten_.ButtonSchriftFarbe, daten_.ButtonSchriftStil});
    ButtonSchriftZeigen(schrift);
    ButtonVorschauZeigen(vorschauZeile_);
    AlleTextBreitenPruefen();
    KontrastZeigen();
}

void TForm1::ButtonSchriftZeigen(const SchriftWahl& schrift) {
    lbl_ButtonSchriftVorschau->setFont(AlsQFont(schrift));
    QPalette farben = lbl_ButtonSchriftVorschau->palette();
    farben.setColor(QPalette::WindowText, schrift.farbe);
    lbl_ButtonSchriftVorschau->setPalette(farben);
}

void TForm1::AlleTextBreitenPruefen() {
    knopfSchrift_.reset();
    for (int i = 1; i <= Zeilen(); ++i) TextBreitePruefen(i);
}

void TForm1::TextBreitePruefen(int zeile) {
    QLineEdit* feld = Ed_Alts[zeile];
    if (!knopfSchrift_) {
        // As the stylesheet has it: the size in pixels, bold and italic by
        // the style's declarations.
        QFont schrift(alsQString(daten_.ButtonSchriftName));
        schrift.setPixelSize(std::max(daten_.ButtonSchriftGroesse, 1));
        schrift.setBold(daten_.ButtonSchriftStil.find("bold") != std::string::npos);
        schrift.setItalic(daten_.ButtonSchriftStil.find("italic") != std::string::npos);
        knopfSchrift_.emplace(schrift);
    }
    // Every button is as wide as the first; unknown before it has a size.
    const int breite = daten_.ButtonBreite[1];
    const bool zuLang = breite > 0 && knopfSchrift_->horizontalAdvance(feld->text()) > breite;
    if (zuLang == feld->property("zuLang").toBool()) return;
    feld->setProperty("zuLang", zuLang);
    QPalette farben = feld->parentWidget()->palette();
    if (zuLang) farben.setColor(QPalette::Base, QColor(0xff, 0xd8, 0xd8));
    feld->setPalette(farben);
    // The row's own hint follows the warning, which is said first.
    const QString hinweis = QStringLiteral("Der Text ist zu lang für den Button");
    QString tipp = feld->toolTip();
    if (tipp.startsWith(hinweis)) tipp.remove(0, hinweis.size() + 2);
    feld->setToolTip(zuLang ? hinweis + QStringLiteral("\n\n") + tipp : tipp);
}

bool TForm1::SeitennamenPruefen() {
    if (daten_.Modus != lw::kModusHPNeu) return true;
    // The row may lie below the visible part of the page.
    const auto zeileZeigen = [this](int zeile) {
        if (auto* rollen = findChild<QScrollArea*>(QStringLiteral("ScrollBox1")))
            rollen->ensureWidgetVisible(Ed_Links[zeile]);
        Ed_Links[zeile]->setFocus();
        Ed_Links[zeile]->selectAll();
    };
    const auto ablehnen = [&](int zeile, const QString& meldung) {
        dialoge().Meldung(this, meldung);
        zeileZeigen(zeile);
        return false;
    };
    // What no answer can make right comes first, so that no question is
    // asked for a page that is refused anyway.
    for (int i = 1; i <= Zeilen(); ++i) {
        const QString name = Ed_Links[i]->text();
        if (name.trimmed().isEmpty())
            return ablehnen(
                i, QStringLiteral("Bitte geben Sie für Link %1 einen Seitennamen ein.").arg(i));
        if (!lw::SchlichterDateiname(alsCp1252(name)))
            return ablehnen(i,
                            FehlerText(alsQString(lw::SeitennameUngueltigText(alsCp1252(name)))));
        // Windows and many web hosts do not tell capitals from small letters.
        for (int frueher = 1; frueher < i; ++frueher)
            if (Ed_Links[frueher]->text().compare(name, Qt::CaseInsensitive) == 0)
                return ablehnen(i, QStringLiteral("Link %1 und Link %2 haben denselben "
                                                  "Seitennamen „%3“.")
                                       .arg(frueher)
                                       .arg(i)
                                       .arg(name));
    }
    for (int i = 1; i <= Zeilen(); ++i) {
        const QString name = Ed_Links[i]->text();
        if (name.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive) ||
            name.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive) ||
            ohneHtmlBestaetigt_.contains(name))
            continue;
        if (!dialoge().Frage(this, QStringLiteral("Der Seitenname „%1“ endet nicht auf .html. "
                                                  "Web-Server zeigen die Seite dann als Text. "
                                                  "Trotzdem verwenden?")
                                       .arg(name))) {
            zeileZeigen(i);
            return false;
        }
        // Once is enough: leaving the page again does not ask again.
        ohneHtmlBestaetigt_ << name;
    }
    return true;
}

void TForm1::tab_LinksExit() {
    // Imported names cannot be edited and stay as the import found them.
    if (daten_.Modus != lw::kModusHPNeu) return;
    for (int i = 1; i <= Zeilen(); ++i)
        daten_.ImportSeiten.Setzen(i, alsCp1252(Ed_Links[i]->text()));
}
