#pragma once

#include <QDialog>

// Address of the project page; its forum lives below it.
inline constexpr const char* ProjectPage = "http://projekt.leistenwerk.de";

// The help window ("Hilfe"): how to reach the tooltips, and where to ask.
class TForm4 final : public QDialog {
public:
    TForm4();

protected:
    // As designed, only the close box closes it.
    void keyPressEvent(QKeyEvent* ereignis) override;

private:
    void Label6Click();
    void Label7Click();
};
