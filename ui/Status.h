#pragma once

#include <QWidget>

class QLabel;

// Shows what the import is doing ("Status"); it has no buttons.
class Tfrm_Status final : public QWidget {
public:
    Tfrm_Status();

    // Shows the text at once: the import calls it between downloads, while
    // the event loop is not running.
    void StatusSetzen(const QString& text);

private:
    QLabel* lbl_Staus;
};
