#pragma once

#include <string>

#include "model/Projektdaten.h"

class QWidget;
class Tfrm_Status;

// The import of an existing provider homepage behind "Weiter >>" of the
// import page: the user name, the start page and its checks, the folder for
// the new files (Zielordner), then every page of its menu into the folder Alt
// while the status window tells which one is loading and the main window is
// disabled.
//
// True when the pages were imported; pages and pictures that did not come
// along have been listed in a message, and the caller shows the wizard's pages.
// False when a message ended it (no name, no start page, no provider page),
// the folder chooser was cancelled, or the user confirmed leaving the program
// meanwhile: then no further page is requested.
// A failure of the file system throws lw::Fehler, with the status window
// hidden and the main window enabled again, so that the user can choose
// another folder and try again.
bool ImportDurchfuehren(lw::Projektdaten& daten, const std::string& benutzer, QWidget& hauptfenster,
                        Tfrm_Status& status);
