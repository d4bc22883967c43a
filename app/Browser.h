#pragma once

#include <QString>
#include <QUrl>
#include <functional>

// Opens a web address or a file with the program the desktop associates with
// it and returns at once; whether that worked is not examined.
void BrowserOeffnen(const QString& adresse);

// What BrowserOeffnen hands to the desktop: an absolute path becomes a file
// address, anything else is read as a web address.
QUrl BrowserAdresse(const QString& adresse);

// Lets tests record the addresses instead of starting a browser; an empty
// function restores the desktop.
void browserOeffnerSetzen(std::function<void(const QString&)> oeffner);
