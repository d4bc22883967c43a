#include "ui/LinkZahl.h"

#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

#include "ui/Dialoge.h"
#include "ui/Formbau.h"

AufAbRegler::AufAbRegler(QWidget* eltern, QLineEdit* feld, int minimum, int maximum, int position)
    : QWidget(eltern), feld_(feld), minimum_(minimum), maximum_(maximum), position_(position) {
    auf_ = new QToolButton(this);
    auf_->setObjectName(QStringLiteral("auf"));
    auf_->setArrowType(Qt::UpArrow);
    ab_ = new QToolButton(this);
    ab_->setObjectName(QStringLiteral("ab"));
    ab_->setArrowType(Qt::DownArrow);
    for (QToolButton* knopf : {auf_, ab_}) {
        knopf->setAutoRepeat(true);
        knopf->setFocusPolicy(Qt::NoFocus);
    }
    connect(auf_, &QToolButton::clicked, this, [this] { Schritt(1); });
    connect(ab_, &QToolButton::clicked, this, [this] { Schritt(-1); });
    // A typed number is where the arrows go on from.
    connect(feld_, &QLineEdit::textEdited, this, [this](const QString& text) {
        bool zahl = false;
        const int wert = text.toInt(&zahl);
        if (zahl && wert >= minimum_ && wert <= maximum_) position_ = wert;
    });
    feld_->installEventFilter(this);
    feld_->setText(QString::number(position_));
}

void AufAbRegler::Schritt(int richtung) {
    position_ = std::clamp(position_ + richtung, minimum_, maximum_);
    feld_->setText(QString::number(position_));
}

void AufAbRegler::Setzen(int position) {
    maximum_ = std::max(maximum_, position);
    position_ = std::clamp(position, minimum_, maximum_);
    feld_->setText(QString::number(position_));
}

bool AufAbRegler::eventFilter(QObject* objekt, QEvent* ereignis) {
    if (objekt == feld_ && ereignis->type() == QEvent::KeyPress) {
        const int taste = static_cast<QKeyEvent*>(ereignis)->key();
        if (taste == Qt::Key_Up || taste == Qt::Key_Down) {
            Schritt(taste == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(objekt, ereignis);
}

void AufAbRegler::resizeEvent(QResizeEvent*) {
    const int oben = height() / 2;
    auf_->setGeometry(0, 0, width(), oben);
    ab_->setGeometry(0, oben, width(), height() - oben);
}

Tfrm_LinkAnzahl::Tfrm_LinkAnzahl(lw::Projektdaten& daten)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      daten_(daten) {
    setObjectName(QStringLiteral("frm_LinkAnzahl"));
    setWindowTitle(QStringLiteral("Anzahl der Seiten"));
    setFixedSize(235, 168);

    auto* Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(16, 16, 201, 57);
    Memo1->setPlainText(
        QStringLiteral("Legen Sie jetzt bitte die Anzahl der \n"
                       "Seiten fest, die Sie erstellen \n"
                       "möchten. Die Anzahl der Seiten \n"
                       "bestimmt auch die Anzahl der Links."));
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->document()->setDocumentMargin(0);
    Memo1->viewport()->setAutoFillBackground(false);
    Memo1->viewport()->setCursor(Qt::ArrowCursor);

    ed_LinkZahl = lw::ui::Feld(this, "ed_LinkZahl", 80, 88, 57, 21, QString());
    // A number may be typed as well; a site has at least one page.
    ed_LinkZahl->setValidator(new QIntValidator(1, 100, ed_LinkZahl));

    ud_Links = new AufAbRegler(this, ed_LinkZahl, 1, 100, 5);
    ud_Links->setObjectName(QStringLiteral("ud_Links"));
    ud_Links->setGeometry(137, 88, 16, 21);

    auto* bbtn_OKLinkZahl = lw::ui::SymbolKnopf(this, "bbtn_OKLinkZahl", 79, 128, 75, 25,
                                                QStyle::SP_DialogOkButton, QStringLiteral("OK"));
    bbtn_OKLinkZahl->setDefault(true);
    connect(bbtn_OKLinkZahl, &QPushButton::clicked, this, &Tfrm_LinkAnzahl::bbtn_OKLinkZahlClick);

    ed_LinkZahl->setFocus();
    lw::ui::AufBildschirmZentrieren(*this);
}

void Tfrm_LinkAnzahl::Vorgeben(int anzahl) {
    ud_Links->Setzen(anzahl);
}

void Tfrm_LinkAnzahl::bbtn_OKLinkZahlClick() {
    // The validator lets an empty field or a 0 stand while typing.
    if (!ed_LinkZahl->hasAcceptableInput()) {
        lw::ui::dialoge().Meldung(this,
                                  QStringLiteral("Bitte geben Sie eine Zahl von 1 bis 100 ein."));
        ed_LinkZahl->setFocus();
        ed_LinkZahl->selectAll();
        return;
    }
    daten_.Seitenzahl = ed_LinkZahl->text().toInt();
    accept();
}
