#pragma once

#include <QApplication>

#include "common/Fehler.h"

// German stock captions ("Abbrechen", "Ja", "Nein") and the windows' font,
// Tahoma 8 points. The tests, which bring their own QApplication, call it too.
void AnwendungEinrichten(QApplication& app);

// Shows a failure in the standard error box, a refusal (lw::Hinweis) in the
// plain message box.
void FehlerMelden(QWidget* eltern, const lw::Fehler& fehler);

// Runs the steps of one user action. A failure ends the action and is shown in
// the standard error box; false tells the handler to stop. Handlers use this
// instead of letting an lw::Fehler travel through Qt's signal delivery.
template <class Schritte>
bool Handlung(QWidget* eltern, Schritte&& schritte) {
    try {
        schritte();
        return true;
    } catch (const lw::Fehler& fehler) {
        FehlerMelden(eltern, fehler);
        return false;
    }
}

// The application object of the program. notify() is the one place where a
// failure that a handler did not catch is shown, in the standard error box; the
// user action ends there and the program carries on.
class Anwendung final : public QApplication {
public:
    Anwendung(int& argc, char** argv);

    bool notify(QObject* empfaenger, QEvent* ereignis) override;
};
