#include "ui/Inhalt.h"

#include <QBoxLayout>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextList>
#include <QTextTable>
#include <QToolButton>
#include <QUrl>
#include <algorithm>
#include <cmath>

#include "codegen/Code.h"
#include "common/Dateien.h"
#include "common/Text.h"
#include "pictures/Bild.h"
#include "pictures/Verkleinern.h"
#include "ui/Anwendung.h"
#include "ui/Auswahl.h"
#include "ui/Dialoge.h"
#include "ui/Formbau.h"
#include "ui/InhaltBild.h"
#include "ui/InhaltDokument.h"
#include "ui/InhaltLink.h"
#include "ui/TextUmwandlung.h"

using namespace lw::ui;

namespace {

// te_Inhalt: a QTextEdit whose paste goes through the contents' one road and
// whose Tab nests a list.
class InhaltFeld final : public QTextEdit {
public:
    std::function<void(const QMimeData*, bool)> einfuegen;
    std::function<bool(int)> einruecken;

    using QTextEdit::QTextEdit;

protected:
    bool canInsertFromMimeData(const QMimeData* quelle) const override {
        return quelle->hasHtml() || quelle->hasText() || quelle->hasImage() || quelle->hasUrls();
    }
    void insertFromMimeData(const QMimeData* quelle) override { einfuegen(quelle, false); }

    void keyPressEvent(QKeyEvent* e) override {
        const auto mods = e->modifiers() & ~Qt::KeypadModifier;
        if (e->key() == Qt::Key_V && mods == (Qt::ControlModifier | Qt::ShiftModifier)) {
            if (!isReadOnly()) einfuegen(QGuiApplication::clipboard()->mimeData(), true);
            return;
        }
        if (!isReadOnly() && (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab) &&
            (mods & ~Qt::ShiftModifier) == Qt::NoModifier &&
            einruecken(e->key() == Qt::Key_Backtab ? -1 : 1))
            return;
        QTextEdit::keyPressEvent(e);
    }
};

// The heading sizes Qt gives h1 to h3 when it reads a page, so that a heading
// looks the same when it was just made and when the page is opened again.
int Groessenstufe(int ueberschrift) {
    return ueberschrift > 0 ? 4 - ueberschrift : 0;
}

QToolButton* Werkzeug(QWidget* eltern, const char* name, const QString& text,
                      const QString& hinweis, bool schalter = false) {
    auto* k = new QToolButton(eltern);
    k->setObjectName(QString::fromLatin1(name));
    k->setText(text);
    k->setToolTip(hinweis);
    k->setCheckable(schalter);
    k->setAutoRaise(true);
    k->setFocusPolicy(Qt::NoFocus);
    k->setCursor(Qt::PointingHandCursor);
    return k;
}

QColor Farbe(const std::string& hex, QColor sonst) {
    const QColor farbe(QStringLiteral("#") + alsQString(hex));
    return hex.size() == 6 && farbe.isValid() ? farbe : sonst;
}

}  // namespace

Tfrm_Inhalt::Tfrm_Inhalt(lw::Projektdaten& daten, QWidget* eltern)
    : QDialog(eltern), daten_(daten) {
    setObjectName(QStringLiteral("frm_Inhalt"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);
    resize(900, 650);

    auto* aussen = new QVBoxLayout(this);
    leiste_ = new QWidget(this);
    leiste_->setObjectName(QStringLiteral("pnl_Format"));
    FormatLeisteBauen(leiste_);
    aussen->addWidget(leiste_);

    pnl_NichtDarstellbar = new QFrame(this);
    pnl_NichtDarstellbar->setObjectName(QStringLiteral("pnl_NichtDarstellbar"));
    pnl_NichtDarstellbar->setFrameShape(QFrame::StyledPanel);
    auto* hinweis = new QHBoxLayout(pnl_NichtDarstellbar);
    auto* text = new QLabel(QStringLiteral("Diese Seite enthält HTML, das der Editor nicht "
                                           "darstellen kann. Sie bleibt unverändert."),
                            pnl_NichtDarstellbar);
    text->setObjectName(QStringLiteral("lbl_NichtDarstellbar"));
    text->setWordWrap(true);
    hinweis->addWidget(text, 1);
    auto* umwandeln = new QPushButton(QStringLiteral("In bearbeitbaren Text umwandeln"),
                                      pnl_NichtDarstellbar);
    umwandeln->setObjectName(QStringLiteral("btn_Umwandeln"));
    umwandeln->setAutoDefault(false);
    connect(umwandeln, &QPushButton::clicked, this, &Tfrm_Inhalt::btn_UmwandelnClick);
    hinweis->addWidget(umwandeln);
    pnl_NichtDarstellbar->hide();
    aussen->addWidget(pnl_NichtDarstellbar);

    auto* feld = new InhaltFeld(this);
    feld->setObjectName(QStringLiteral("te_Inhalt"));
    feld->einfuegen = [this](const QMimeData* quelle, bool klartext) {
        Einfuegen(quelle, klartext);
    };
    feld->einruecken = [this](int schritt) { return Einruecken(schritt); };
    te_Inhalt = feld;
    aussen->addWidget(te_Inhalt, 1);
    connect(te_Inhalt, &QTextEdit::currentCharFormatChanged, this, &Tfrm_Inhalt::FormatZeigen);
    connect(te_Inhalt, &QTextEdit::cursorPositionChanged, this, &Tfrm_Inhalt::FormatZeigen);
    connect(te_Inhalt, &QTextEdit::undoAvailable, btn_Rueckgaengig, &QWidget::setEnabled);
    connect(te_Inhalt, &QTextEdit::redoAvailable, btn_Wiederholen, &QWidget::setEnabled);

    auto* fuss = new QHBoxLayout;
    fuss->addStretch(1);
    auto* ok = SymbolKnopf(this, "btn_InhaltOK", 0, 0, 89, 25, QStyle::SP_DialogOkButton,
                           QStringLiteral("OK"));
    ok->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    fuss->addWidget(ok);
    auto* abbrechen = SymbolKnopf(this, "btn_InhaltAbbrechen", 0, 0, 89, 25,
                                  QStyle::SP_DialogCancelButton, QStringLiteral("Abbrechen"));
    abbrechen->setAutoDefault(false);
    connect(abbrechen, &QPushButton::clicked, this, &Tfrm_Inhalt::reject);
    fuss->addWidget(abbrechen);
    aussen->addLayout(fuss);
}

Tfrm_Inhalt::~Tfrm_Inhalt() {
    // The field must not point at a document that goes first.
    te_Inhalt->setDocument(nullptr);
}

void Tfrm_Inhalt::FormatLeisteBauen(QWidget* leiste) {
    auto* reihe = new QHBoxLayout(leiste);
    reihe->setContentsMargins(0, 0, 0, 0);
    cb_Absatz = new QComboBox(leiste);
    cb_Absatz->setObjectName(QStringLiteral("cb_Absatz"));
    cb_Absatz->addItems({QStringLiteral("Absatz"), QStringLiteral("Überschrift 1"),
                         QStringLiteral("Überschrift 2"), QStringLiteral("Überschrift 3")});
    cb_Absatz->setFocusPolicy(Qt::NoFocus);
    connect(cb_Absatz, &QComboBox::activated, this, &Tfrm_Inhalt::cb_AbsatzChange);
    reihe->addWidget(cb_Absatz);

    // A button of the bar that does `aktion` when clicked, and a row of them.
    const auto knopf = [&](const char* name, const QString& text, const QString& tipp,
                           auto aktion, bool schalter = false) {
        QToolButton* k = Werkzeug(leiste, name, text, tipp, schalter);
        connect(k, &QToolButton::clicked, this, aktion);
        return k;
    };
    const auto gruppe = [&](std::initializer_list<QToolButton*> knoepfe) {
        reihe->addSpacing(8);
        for (QToolButton* k : knoepfe) reihe->addWidget(k);
    };
    // Each shows its letter in the format it sets.
    const auto zeichenKnopf = [&](const char* name, const QString& text, const QString& tipp,
                                  void (QFont::*zeigen)(bool), int eigenschaft) {
        QToolButton* k = knopf(
            name, text, tipp, [this, eigenschaft](bool an) { ZeichenSetzen(eigenschaft, an); },
            true);
        QFont f = k->font();
        (f.*zeigen)(true);
        k->setFont(f);
        return k;
    };
    btn_Fett = zeichenKnopf("btn_Fett", QStringLiteral("F"), QStringLiteral("Fett (Strg+B)"),
                            &QFont::setBold, QTextFormat::FontWeight);
    btn_Kursiv = zeichenKnopf("btn_Kursiv", QStringLiteral("K"), QStringLiteral("Kursiv (Strg+I)"),
                              &QFont::setItalic, QTextFormat::FontItalic);
    btn_Unterstrichen = zeichenKnopf("btn_Unterstrichen", QStringLiteral("U"),
                                     QStringLiteral("Unterstrichen (Strg+U)"), &QFont::setUnderline,
                                     QTextFormat::TextUnderlineStyle);
    gruppe({btn_Fett, btn_Kursiv, btn_Unterstrichen});

    btn_Aufzaehlung = knopf(
        "btn_Aufzaehlung", QStringLiteral("• Liste"),
        QStringLiteral("Aufzählung (Tab rückt ein, Umschalt+Tab aus)"),
        [this] { ListeUmschalten(QTextListFormat::ListDisc); }, true);
    btn_Nummerierung = knopf(
        "btn_Nummerierung", QStringLiteral("1. Liste"),
        QStringLiteral("Nummerierung (Tab rückt ein, Umschalt+Tab aus)"),
        [this] { ListeUmschalten(QTextListFormat::ListDecimal); }, true);
    gruppe({btn_Aufzaehlung, btn_Nummerierung});

    gruppe({knopf("btn_Link", QStringLiteral("Link …"), QStringLiteral("Link einfügen (Strg+K)"),
                  &Tfrm_Inhalt::btn_LinkClick),
            knopf("btn_Bild", QStringLiteral("Bild …"),
                  QStringLiteral("Bild von der Festplatte einfügen"), &Tfrm_Inhalt::btn_BildClick),
            knopf("btn_Tabelle", QStringLiteral("Tabelle …"), QStringLiteral("Tabelle einfügen"),
                  &Tfrm_Inhalt::btn_TabelleClick),
            knopf("btn_Linie", QStringLiteral("Linie"),
                  QStringLiteral("Waagerechte Linie einfügen"), &Tfrm_Inhalt::btn_LinieClick)});

    btn_Rueckgaengig = knopf("btn_Rueckgaengig", QStringLiteral("Rückgängig"),
                             QStringLiteral("Rückgängig (Strg+Z)"), [this] { te_Inhalt->undo(); });
    btn_Wiederholen = knopf("btn_Wiederholen", QStringLiteral("Wiederholen"),
                            QStringLiteral("Wiederholen (Strg+Y)"), [this] { te_Inhalt->redo(); });
    gruppe({btn_Rueckgaengig, btn_Wiederholen});
    reihe->addStretch(1);

    // Keys act at once: a button's own shortcut clicks it only after a
    // moment, and the letters typed meanwhile would miss the format.
    const auto taste = [this](QKeyCombination kombination, auto aktion) {
        auto* kurz = new QShortcut(QKeySequence(kombination), this);
        connect(kurz, &QShortcut::activated, this, [this, aktion] {
            if (leiste_->isEnabled()) aktion();
        });
    };
    taste(Qt::CTRL | Qt::Key_B, [this] { btn_Fett->click(); });
    taste(Qt::CTRL | Qt::Key_I, [this] { btn_Kursiv->click(); });
    taste(Qt::CTRL | Qt::Key_U, [this] { btn_Unterstrichen->click(); });
    taste(Qt::CTRL | Qt::Key_K, [this] { btn_LinkClick(); });
    taste(Qt::CTRL | Qt::Key_Z, [this] { te_Inhalt->undo(); });
    taste(Qt::CTRL | Qt::Key_Y, [this] { te_Inhalt->redo(); });
}

std::unique_ptr<InhaltDokument> Tfrm_Inhalt::NeuesDokument() {
    auto dokument = std::make_unique<InhaltDokument>(
        [this](const QString& adresse) { return BildDatei(adresse); });
    // The site's font, as the browser will show the page.
    QFont schrift(alsQString(daten_.BodySchriftName));
    schrift.setPixelSize(std::max(1, daten_.BodySchriftGroesse));
    schrift.setBold(daten_.BodySchriftStil.find("bold") != std::string::npos);
    schrift.setItalic(daten_.BodySchriftStil.find("italic") != std::string::npos);
    dokument->setDefaultFont(schrift);
    return dokument;
}

void Tfrm_Inhalt::SeiteZeigen(const Seite& seite, const QStringList& seiten) {
    seite_ = seite.nummer;
    seiten_ = seiten;
    setWindowTitle(QStringLiteral("Inhalt: ") + seite.datei);

    Eintrag& eintrag = dokumente_[seite.nummer];
    // A document still standing for the page's markup is shown as it is.
    if (!eintrag.dokument || eintrag.quelle != seite.markup) {
        eintrag.quelle = seite.markup;
        eintrag.nurLesen = !seite.markup.empty() && !lw::InhaltImSatz(seite.markup);
        auto dokument = NeuesDokument();
        InhaltLaden(*dokument, seite.markup);
        if (aktuell_ == &eintrag) te_Inhalt->setDocument(nullptr);
        eintrag.dokument = std::move(dokument);
    }
    Anzeigen(eintrag);
}

void Tfrm_Inhalt::Anzeigen(Eintrag& eintrag) {
    aktuell_ = &eintrag;
    te_Inhalt->setDocument(eintrag.dokument.get());
    te_Inhalt->setReadOnly(eintrag.nurLesen);
    leiste_->setEnabled(!eintrag.nurLesen);
    pnl_NichtDarstellbar->setVisible(eintrag.nurLesen);

    QPalette farben = te_Inhalt->palette();
    farben.setColor(QPalette::Base, Farbe(daten_.BodyHintergrundFarbe, Qt::white));
    farben.setColor(QPalette::Text, Farbe(daten_.BodySchriftFarbe, Qt::black));
    te_Inhalt->setPalette(farben);
    btn_Rueckgaengig->setEnabled(eintrag.dokument->isUndoAvailable());
    btn_Wiederholen->setEnabled(eintrag.dokument->isRedoAvailable());
    FormatZeigen();
    te_Inhalt->setFocus();
}

std::optional<std::string> Tfrm_Inhalt::Bearbeiten(const Seite& seite, const QStringList& seiten) {
    SeiteZeigen(seite, seiten);
    if (exec() != QDialog::Accepted || !aktuell_->dokument->isModified()) return std::nullopt;
    std::string markup;
    if (!Handlung(this, [&] { markup = InhaltSchreiben(*aktuell_->dokument); })) return std::nullopt;
    aktuell_->quelle = markup;
    aktuell_->dokument->setModified(false);
    return markup;
}

void Tfrm_Inhalt::reject() {
    if (aktuell_ && aktuell_->dokument->isModified()) {
        if (!dialoge().Frage(this, QStringLiteral("Sollen die Änderungen an dieser Seite "
                                                  "verworfen werden?")))
            return;
        // The page's next opening reads what was kept, not what was dropped.
        te_Inhalt->setDocument(nullptr);
        dokumente_.erase(seite_);
        aktuell_ = nullptr;
    }
    QDialog::reject();
}

void Tfrm_Inhalt::Vergessen() {
    te_Inhalt->setDocument(nullptr);
    dokumente_.clear();
    aktuell_ = nullptr;
}

int Tfrm_Inhalt::SpaltenBreite() const {
    // A browser window 1024 pixels wide, less the menu's column (the button
    // and the contents' left margin), the padding and a scroll bar.
    const int knopf = std::clamp(daten_.ButtonBreite[1], 0, 600);
    return std::max(200, 1024 - (knopf + 30) - 2 * 5 - 20);
}

QString Tfrm_Inhalt::BildDatei(const QString& adresse) const {
    const std::string a = alsCp1252(adresse);
    if (a.rfind("img/", 0) == 0) {
        const std::string gross = lw::Grossbuchstaben(a.substr(4));
        for (const std::string& bild : daten_.InhaltBilder)
            if (lw::Grossbuchstaben(lw::BildAdresse(lw::DateiName(bild))) == gross)
                return alsQString(bild);
    }
    // A picture the site already has: in its img/ or, for an imported page,
    // where the import put it.
    if (daten_.Zielordner.empty() || a.find(':') != std::string::npos || a.rfind('/', 0) == 0 ||
        !lw::SchlichterPfad(lw::BildAdresseLesen(a)))
        return {};
    for (const char* ordner : {"/Neu/", "/Alt/"}) {
        const std::string datei = daten_.Zielordner + ordner + lw::BildAdresseLesen(a);
        if (lw::DateiExistiert(datei)) return alsQString(datei);
    }
    return {};
}

void Tfrm_Inhalt::FormatZeigen() {
    const QTextCursor cursor = te_Inhalt->textCursor();
    const QTextCharFormat zeichen = te_Inhalt->currentCharFormat();
    btn_Fett->setChecked(zeichen.fontWeight() >= QFont::Bold &&
                         cursor.blockFormat().headingLevel() == 0);
    btn_Kursiv->setChecked(zeichen.fontItalic());
    btn_Unterstrichen->setChecked(zeichen.fontUnderline() && !zeichen.isAnchor());
    const QTextList* liste = cursor.currentList();
    const auto stil = liste ? liste->format().style() : QTextListFormat::ListStyleUndefined;
    btn_Aufzaehlung->setChecked(liste && stil >= QTextListFormat::ListSquare &&
                                stil <= QTextListFormat::ListDisc);
    btn_Nummerierung->setChecked(liste && stil <= QTextListFormat::ListDecimal &&
                                 stil != QTextListFormat::ListStyleUndefined);
    cb_Absatz->setCurrentIndex(std::clamp(cursor.blockFormat().headingLevel(), 0, 3));
}

void Tfrm_Inhalt::ZeichenSetzen(int eigenschaft, bool an) {
    QTextCharFormat format;
    switch (eigenschaft) {
        case QTextFormat::FontWeight:
            format.setFontWeight(an ? QFont::Bold : QFont::Normal);
            break;
        case QTextFormat::FontItalic:
            format.setFontItalic(an);
            break;
        default:
            format.setFontUnderline(an);
            break;
    }
    te_Inhalt->mergeCurrentCharFormat(format);
    te_Inhalt->setFocus();
}

void Tfrm_Inhalt::cb_AbsatzChange(int stufe) {
    QTextCursor cursor = te_Inhalt->textCursor();
    cursor.beginEditBlock();
    const int ende = cursor.selectionEnd();
    QTextCursor block(te_Inhalt->document()->findBlock(cursor.selectionStart()));
    while (true) {
        // A heading is no list item.
        if (QTextList* liste = block.currentList(); liste && stufe > 0) {
            liste->remove(block.block());
            QTextBlockFormat ohne = block.blockFormat();
            ohne.setIndent(0);
            block.setBlockFormat(ohne);
        }
        QTextBlockFormat absatz;
        absatz.setHeadingLevel(stufe);
        block.mergeBlockFormat(absatz);
        QTextCharFormat zeichen;
        zeichen.setProperty(QTextFormat::FontSizeAdjustment, Groessenstufe(stufe));
        zeichen.setFontWeight(stufe > 0 ? QFont::Bold : QFont::Normal);
        block.mergeBlockCharFormat(zeichen);
        QTextCursor text = block;
        text.movePosition(QTextCursor::StartOfBlock);
        text.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        text.mergeCharFormat(zeichen);
        if (block.block().position() + block.block().length() > ende ||
            !block.movePosition(QTextCursor::NextBlock))
            break;
    }
    cursor.endEditBlock();
    te_Inhalt->setFocus();
}

void Tfrm_Inhalt::ListeUmschalten(int stil) {
    QTextCursor cursor = te_Inhalt->textCursor();
    cursor.beginEditBlock();
    QTextList* liste = cursor.currentList();
    if (liste && liste->format().style() == stil) {
        // Pressed again: the items become paragraphs.
        const QTextBlock erster = te_Inhalt->document()->findBlock(cursor.selectionStart());
        const QTextBlock letzter = te_Inhalt->document()->findBlock(cursor.selectionEnd());
        for (QTextBlock b = erster; b.isValid(); b = b.next()) {
            if (QTextList* l = b.textList()) l->remove(b);
            QTextCursor c(b);
            QTextBlockFormat f = c.blockFormat();
            f.setIndent(0);
            c.setBlockFormat(f);
            if (b == letzter) break;
        }
    } else if (liste) {
        QTextListFormat f = liste->format();
        f.setStyle(static_cast<QTextListFormat::Style>(stil));
        liste->setFormat(f);
    } else {
        QTextBlockFormat absatz;
        absatz.setHeadingLevel(0);
        cursor.mergeBlockFormat(absatz);
        QTextListFormat f;
        f.setStyle(static_cast<QTextListFormat::Style>(stil));
        f.setIndent(1);
        cursor.createList(f);
    }
    cursor.endEditBlock();
    te_Inhalt->setFocus();
    FormatZeigen();
}

bool Tfrm_Inhalt::Einruecken(int schritt) {
    QTextCursor cursor = te_Inhalt->textCursor();
    if (QTextTable* tabelle = cursor.currentTable(); tabelle && !cursor.currentList()) {
        // From cell to cell, as in a word processor; past the last a row is added.
        const QTextTableCell zelle = tabelle->cellAt(cursor);
        int nummer = zelle.row() * tabelle->columns() + zelle.column() + schritt;
        if (nummer < 0) return true;
        if (nummer >= tabelle->rows() * tabelle->columns()) tabelle->appendRows(1);
        const QTextTableCell ziel =
            tabelle->cellAt(nummer / tabelle->columns(), nummer % tabelle->columns());
        te_Inhalt->setTextCursor(ziel.firstCursorPosition());
        return true;
    }
    QTextList* liste = cursor.currentList();
    if (!liste) return false;
    const QTextBlock block = cursor.block();
    const int stufe = liste->format().indent() + schritt;
    cursor.beginEditBlock();
    if (stufe < 1) {
        // Out of the outermost level: a paragraph again.
        liste->remove(block);
        QTextBlockFormat f = cursor.blockFormat();
        f.setIndent(0);
        cursor.setBlockFormat(f);
    } else {
        // Joins the list of that level just above it, so that the items stay
        // one list; else a list of its own is begun.
        QTextList* ziel = nullptr;
        for (QTextBlock b = block.previous(); b.isValid(); b = b.previous()) {
            QTextList* l = b.textList();
            if (!l) break;
            if (l->format().indent() == stufe) {
                ziel = l;
                break;
            }
            if (l->format().indent() < stufe) break;
        }
        if (ziel) {
            ziel->add(block);
        } else {
            QTextListFormat f = liste->format();
            f.setIndent(stufe);
            cursor.createList(f);
        }
    }
    cursor.endEditBlock();
    FormatZeigen();
    return true;
}

void Tfrm_Inhalt::btn_LinkClick() {
    QTextCursor cursor = te_Inhalt->textCursor();
    QString text = cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char(' '));
    text.replace(QChar::LineSeparator, QLatin1Char(' '));
    Tfrm_Link fenster(seiten_, text.trimmed(), this);
    if (fenster.exec() != QDialog::Accepted || !fenster.Ergebnis()) return;
    const Tfrm_Link::Link link = *fenster.Ergebnis();
    QTextCharFormat format = cursor.charFormat();
    const QTextCharFormat vorher = format;
    format.setAnchor(true);
    format.setAnchorHref(link.adresse);
    format.setFontUnderline(true);
    format.setForeground(te_Inhalt->palette().color(QPalette::Link));
    cursor.beginEditBlock();
    cursor.insertText(link.text, format);
    cursor.endEditBlock();
    // What is typed after the link is no longer part of it.
    QTextCharFormat danach = vorher;
    danach.setAnchor(false);
    danach.setAnchorHref(QString());
    danach.clearForeground();
    danach.setFontUnderline(false);
    cursor.setCharFormat(danach);
    te_Inhalt->setTextCursor(cursor);
    te_Inhalt->setFocus();
}

QString Tfrm_Inhalt::FreierBildname(const QString& endung) const {
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("Bild%1.%2").arg(n).arg(endung);
        const std::string adresse = lw::Grossbuchstaben(lw::BildAdresse(alsCp1252(name)));
        bool frei = !BildDatei(QStringLiteral("img/") + name).size();
        for (const std::string& bild : daten_.InhaltBilder)
            frei = frei && lw::Grossbuchstaben(lw::BildAdresse(lw::DateiName(bild))) != adresse;
        if (frei) return name;
    }
}

std::optional<lw::InhaltsBild> Tfrm_Inhalt::BildUebernehmen(const QString& pfad,
                                                             const lw::Bild* gelesen,
                                                             const QString& beschreibung) {
    lw::Bild bild;
    if (!gelesen) {
        if (!Handlung(this, [&] { bild = lw::BildLaden(alsCp1252(pfad)); })) return std::nullopt;
        gelesen = &bild;
    }
    std::string datei = alsCp1252(pfad);
    // A picture that loads slowly on a phone: a copy of twice the column's
    // width stays sharp on dense screens. The copy keeps the original's name.
    std::string hinweis;
    if (Handlung(this, [&] { hinweis = lw::HandyHinweis(datei, *gelesen); }) &&
        !hinweis.empty() &&
        dialoge().MeldungMitKnopf(this, alsQString(hinweis),
                                  QStringLiteral("Verkleinerte Kopie verwenden"))) {
        const std::string ordner =
            alsCp1252(zwischenablage_.path()) + "/Kopie" + std::to_string(++kopien_);
        Handlung(this, [&] {
            const std::string kopie = lw::VerkleinerteKopie(datei, ordner, 2 * SpaltenBreite());
            bild = lw::BildLaden(kopie);
            gelesen = &bild;
            datei = kopie;
        });
    }
    const std::string adresse = lw::InhaltsBildAdresse(datei);
    // Two pictures of one name would be one file in img/: refused at once,
    // as the save would refuse it.
    const std::string gross = lw::Grossbuchstaben(adresse.substr(4));
    for (const std::string& frueher : daten_.InhaltBilder)
        if (frueher != datei && lw::Grossbuchstaben(lw::BildAdresse(lw::DateiName(frueher))) == gross) {
            dialoge().Meldung(this, QStringLiteral("Die Bilder \"%1\" und \"%2\" haben denselben "
                                                   "Namen. Bitte benennen Sie eines davon um.")
                                        .arg(alsQString(frueher), alsQString(datei)));
            return std::nullopt;
        }

    const QImage anzeige = AlsQImage(*gelesen);
    Tfrm_Bild frage(anzeige, QFileInfo(pfad).fileName(), this);
    frage.findChild<QLineEdit*>(QStringLiteral("ed_BildBeschreibung"))->setText(beschreibung);
    if (frage.exec() != QDialog::Accepted || frage.Beschreibung().isEmpty()) return std::nullopt;

    lw::InhaltsBild ergebnis;
    ergebnis.src = alsQString(adresse).toStdString();
    ergebnis.alt = frage.Beschreibung().toStdString();
    ergebnis.breite = gelesen->breite;
    ergebnis.hoehe = gelesen->hoehe;
    const int spalte = SpaltenBreite();
    if (ergebnis.breite > spalte) {
        ergebnis.hoehe = std::max(
            1, static_cast<int>(std::lround(double(ergebnis.hoehe) * spalte / ergebnis.breite)));
        ergebnis.breite = spalte;
    }
    if (std::find(daten_.InhaltBilder.begin(), daten_.InhaltBilder.end(), datei) ==
        daten_.InhaltBilder.end())
        daten_.InhaltBilder.push_back(datei);
    aktuell_->dokument->BildHinterlegen(alsQString(adresse), anzeige);
    return ergebnis;
}

void Tfrm_Inhalt::btn_BildClick() {
    const auto gewaehlt = BildWaehlen(this, QStringLiteral("Bild laden..."), QString());
    if (!gewaehlt) return;
    const auto bild = BildUebernehmen(gewaehlt->pfad, &gewaehlt->bild, QString());
    if (!bild) return;
    QTextImageFormat format;
    format.setName(QString::fromStdString(bild->src));
    format.setWidth(bild->breite);
    format.setHeight(bild->hoehe);
    format.setProperty(QTextFormat::ImageAltText, QString::fromStdString(bild->alt));
    te_Inhalt->textCursor().insertImage(format);
    te_Inhalt->setFocus();
}

void Tfrm_Inhalt::btn_TabelleClick() {
    Tfrm_Tabelle frage(this);
    if (frage.exec() != QDialog::Accepted) return;
    QTextTableFormat format;
    format.setBorder(1);
    format.setCellPadding(4);
    format.setCellSpacing(0);
    format.setBorderCollapse(true);
    QTextCursor cursor = te_Inhalt->textCursor();
    cursor.insertTable(frage.Zeilen(), frage.Spalten(), format);
    // Typing goes on in the first cell.
    te_Inhalt->setTextCursor(cursor);
    te_Inhalt->setFocus();
}

void Tfrm_Inhalt::btn_LinieClick() {
    QTextCursor cursor = te_Inhalt->textCursor();
    cursor.beginEditBlock();
    if (!cursor.block().text().isEmpty() || cursor.currentList()) cursor.insertBlock();
    if (QTextList* liste = cursor.currentList()) liste->remove(cursor.block());
    QTextBlockFormat linie;
    linie.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth,
                      QTextLength(QTextLength::PercentageLength, 100));
    cursor.setBlockFormat(linie);
    cursor.insertBlock(QTextBlockFormat());
    cursor.endEditBlock();
    te_Inhalt->setTextCursor(cursor);
    te_Inhalt->setFocus();
}

void Tfrm_Inhalt::btn_UmwandelnClick() {
    if (!aktuell_ || !aktuell_->nurLesen) return;
    if (!dialoge().Frage(this, QStringLiteral("Formatierungen, die der Editor nicht kennt, gehen "
                                              "dabei verloren. Der Text bleibt.")))
        return;
    lw::BereinigterInhalt bereinigt;
    lw::InhaltsOptionen optionen;
    optionen.kodierung = lw::Kodierung::Seitenbytes;
    if (!Handlung(this, [&] { bereinigt = lw::InhaltBereinigen(aktuell_->quelle, optionen); }))
        return;
    auto dokument = NeuesDokument();
    InhaltLaden(*dokument, bereinigt.markup);
    // Converted is changed: OK keeps it, Abbrechen asks.
    dokument->setModified(true);
    te_Inhalt->setDocument(nullptr);
    aktuell_->dokument = std::move(dokument);
    aktuell_->nurLesen = false;
    Anzeigen(*aktuell_);
}

std::optional<lw::InhaltsBild> Tfrm_Inhalt::BildAusEinfuegung(const lw::InhaltsBild& gefunden,
                                                               QStringList& ausDemNetz) {
    const QString src = QString::fromStdString(gefunden.src).trimmed();
    const QString klein = src.toLower();
    const QString beschreibung = QString::fromStdString(gefunden.alt);
    if (klein.startsWith(QLatin1String("http:")) || klein.startsWith(QLatin1String("https:")) ||
        klein.startsWith(QLatin1String("//"))) {
        if (!ausDemNetz.contains(src)) ausDemNetz << src;
        return std::nullopt;
    }
    // Copied within the editor: the picture is the page's already.
    if (klein.startsWith(QLatin1String("img/")) && !BildDatei(src).isEmpty()) return gefunden;
    if (klein.startsWith(QLatin1String("file:")))
        return BildUebernehmen(QUrl(src).toLocalFile(), nullptr, beschreibung);
    static const QRegularExpression dataBild(
        QStringLiteral("^data:image/(png|jpeg|jpg|gif)(;[^,;]*)*;base64,"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch treffer = dataBild.match(src);
    if (!treffer.hasMatch() || !zwischenablage_.isValid()) return std::nullopt;
    const QByteArray bytes = QByteArray::fromBase64(src.mid(treffer.capturedLength()).toLatin1());
    QString endung = treffer.captured(1).toLower();
    if (endung == QLatin1String("jpeg")) endung = QStringLiteral("jpg");
    // Kept beside the program until the save copies it into img/.
    const QString pfad = zwischenablage_.filePath(FreierBildname(endung));
    QFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly) || datei.write(bytes) != bytes.size()) return std::nullopt;
    datei.close();
    return BildUebernehmen(pfad, nullptr, beschreibung);
}

void Tfrm_Inhalt::Einfuegen(const QMimeData* quelle, bool klartext) {
    if (!quelle || !aktuell_ || aktuell_->nurLesen) return;
    std::string markup;
    QStringList ausDemNetz;
    if (!klartext && quelle->hasHtml()) {
        lw::InhaltsOptionen optionen;
        optionen.kodierung = lw::Kodierung::Utf8;
        optionen.bild = [&](const lw::InhaltsBild& b) { return BildAusEinfuegung(b, ausDemNetz); };
        lw::BereinigterInhalt bereinigt;
        if (!Handlung(this, [&] { bereinigt = lw::InhaltBereinigen(quelle->html().toStdString(),
                                                                   optionen); }))
            return;
        markup = std::move(bereinigt.markup);
        for (const std::string& web : bereinigt.webBilder)
            if (!ausDemNetz.contains(QString::fromStdString(web)))
                ausDemNetz << QString::fromStdString(web);
    } else if (!klartext && quelle->hasUrls() && !quelle->hasText()) {
        // Picture files dropped from the file manager.
        for (const QUrl& url : quelle->urls()) {
            if (!url.isLocalFile()) continue;
            lw::InhaltsBild b;
            b.src = url.toString(QUrl::FullyEncoded).toStdString();
            if (const auto bild = BildAusEinfuegung(b, ausDemNetz)) {
                QTextImageFormat format;
                format.setName(QString::fromStdString(bild->src));
                format.setWidth(bild->breite);
                format.setHeight(bild->hoehe);
                format.setProperty(QTextFormat::ImageAltText, QString::fromStdString(bild->alt));
                te_Inhalt->textCursor().insertImage(format);
            }
        }
        return;
    } else if (quelle->hasText()) {
        markup = lw::KlartextAlsInhalt(quelle->text().toStdString());
    }
    if (!markup.empty()) te_Inhalt->textCursor().insertHtml(alsQString(markup));
    te_Inhalt->ensureCursorVisible();
    if (!ausDemNetz.isEmpty())
        dialoge().Meldung(this, QStringLiteral("Bilder aus dem Internet wurden nicht übernommen: ") +
                                    ausDemNetz.join(QStringLiteral(", ")));
}
