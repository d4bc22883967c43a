#pragma once

#include <QDialog>

#include "model/Projektdaten.h"
#include "ui/Fenster.h"

class QPushButton;

// The warning before the program ends without saving ("Warnung"). Ja ends the
// program by closing the start window, Nein returns to the main window; its own
// close box is neither answer.
class TForm3 final : public QDialog {
public:
    TForm3(lw::Projektdaten& daten, Fenster& fenster);

    // Modal; if the warning is already open (shown without being modal), it
    // is only brought to the front.
    void ZeigenModal();
    // Stays on top while the main window remains usable.
    void ZeigenNichtModal();

protected:
    void keyPressEvent(QKeyEvent* ereignis) override;

private:
    void BitBtn1Click();
    void BitBtn2Click();

    lw::Projektdaten& daten_;
    Fenster& fenster_;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
};
