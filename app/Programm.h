#pragma once

#include <functional>

class QApplication;

// The program's run: creates the seven windows once, in their fixed order,
// shows the start window and processes events until the start window closes.
// wennSichtbar, when given, is called once, as soon as the start window's
// first picture is on the screen (for measuring the start-up).
int LeistenwerkAusfuehren(QApplication& app, const std::function<void()>& wennSichtbar = {});
