#pragma once

#include <QApplication>

// German stock captions ("Abbrechen", "Ja", "Nein") and the windows' font,
// Tahoma 8 points. The tests, which bring their own QApplication, call it too.
void AnwendungEinrichten(QApplication& app);

// The application object of the program. notify() is the one place where a
// failure that a handler did not catch is shown, in the standard error box; the
// user action ends there and the program carries on.
class Anwendung final : public QApplication {
public:
    Anwendung(int& argc, char** argv);

    bool notify(QObject* empfaenger, QEvent* ereignis) override;
};
