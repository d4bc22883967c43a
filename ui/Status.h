#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

// Shows what the import is doing ("Status"), with a bar of the pages done
// ("Seite N von M") under the text; it has no buttons.
class Tfrm_Status final : public QWidget {
public:
    Tfrm_Status();

    // Shows the text at once: the import calls it between downloads, while
    // the event loop is not running.
    void StatusSetzen(const QString& text);

    // No page done yet, the number of pages not yet known.
    void FortschrittZuruecksetzen();
    // fertig pages of gesamt done; shown at once, as StatusSetzen.
    void FortschrittSetzen(int fertig, int gesamt);

private:
    QLabel* lbl_Staus;
    QProgressBar* pb_Fortschritt;
};
