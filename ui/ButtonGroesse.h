#pragma once

#include <QDialog>

#include "model/Projektdaten.h"

class QLineEdit;

// Asks for the size of the first button when no graphic gave one
// ("Fehlende Buttongröße"). It has no close box and is left with OK only.
class Tfrm_ButtonGroesse final : public QDialog {
public:
    explicit Tfrm_ButtonGroesse(lw::Projektdaten& daten);

    // Without a close box there is nothing to cancel: Escape and the window
    // manager's close request leave the window open.
    void reject() override {}

private:
    void BitBtn1Click();

    lw::Projektdaten& daten_;
    QLineEdit* Edit8;
    QLineEdit* Edit9;
};
