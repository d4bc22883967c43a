#include "ui/Abbruch.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "app/About.h"
#include "ui/Formbau.h"

TForm3::TForm3(lw::Projektdaten& daten, Fenster& fenster)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      daten_(daten),
      fenster_(fenster) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Warnung"));
    setFixedSize(309, 94);

    lw::ui::Beschriftung(this, "Label1", 24, 24,
                         QStringLiteral("Die bereits eingegebenen Werte werden jetzt gelöscht."));

    BitBtn1 = lw::ui::SymbolKnopf(this, "BitBtn1", 120, 56, 75, 25, QStyle::SP_DialogYesButton,
                                  QStringLiteral("&Ja"));
    BitBtn1->setToolTip(QStringLiteral("Schließen und Löschen"));
    BitBtn1->setCursor(Qt::PointingHandCursor);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm3::BitBtn1Click);

    BitBtn2 = lw::ui::SymbolKnopf(this, "BitBtn2", 216, 56, 75, 25, QStyle::SP_DialogNoButton,
                                  QStringLiteral("&Nein"));
    BitBtn2->setToolTip(QStringLiteral("Zurück zum Programm"));
    BitBtn2->setCursor(Qt::PointingHandCursor);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm3::BitBtn2Click);

    lw::ui::AufBildschirmZentrieren(*this);
}

void TForm3::ZeigenModal() {
    // A window already on screen cannot become modal; the user sees it anyway.
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    BitBtn1->setFocus();
    exec();
}

void TForm3::ZeigenNichtModal() {
    if (!isVisible()) {
        BitBtn1->setFocus();
        setModal(false);
        show();
    }
    raise();
    activateWindow();
}

void TForm3::keyPressEvent(QKeyEvent* ereignis) {
    // Escape answers Nein; QDialog would only close the window, which is no answer.
    if (ereignis->key() == Qt::Key_Escape && ereignis->modifiers() == Qt::NoModifier) {
        BitBtn2->click();
        return;
    }
    QDialog::keyPressEvent(ereignis);
}

void TForm3::BitBtn1Click() {
    daten_.BeendenBestaetigt = true;
    accept();
    if (fenster_.Form2) fenster_.Form2->close();
}

void TForm3::BitBtn2Click() {
    daten_.BeendenBestaetigt = false;
    reject();
}
