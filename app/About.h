#pragma once

#include <QWidget>
#include <string>

#include "model/Projektdaten.h"
#include "ui/Fenster.h"

// The author's home page, shown and opened by the start window.
inline constexpr const char* AuthorHomepage = "http://leistenwerk.de";

// The start window: chooses the working mode. It stays the application's main
// window while hidden; closing it ends the program.
class TForm2 final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm2)

public:
    TForm2(lw::Projektdaten& daten, Fenster& fenster);

    // Hides the start window and shows the main window with the pages of the mode.
    void HauptfensterZeigen(const std::string& modus);

signals:
    // Emitted when the start window closes, just before the program ends.
    void programmEndet();

protected:
    void closeEvent(QCloseEvent* ereignis) override;

private:
    void btn_NeuHPClick();
    void btn_NeuNZClick();
    void btn_BestandNZClick();
    void btn_BearbeitenHPClick();
    void btn_VeroeffentlichenHPClick();
    void lbl_HomepageClick();

    lw::Projektdaten& daten_;
    Fenster& fenster_;
};
