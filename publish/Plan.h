#pragma once

#include <string>

#include "publish/Dateiliste.h"
#include "publish/Verbindung.h"
#include "publish/Veroeffentlichen.h"

// The plan of a publish: from Neu's list, the server's list and what the
// server's folders hold, what goes up (pictures and stylesheets before the
// pages that name them), what is deleted (after the uploads), and the list
// written last, naming only what is online.
namespace lw::veroeffentlichung {

VeroeffentlichenBericht Abgleichen(Sitzung& sitzung, const std::string& lokal,
                                   const Liste& dateien);

}  // namespace lw::veroeffentlichung
