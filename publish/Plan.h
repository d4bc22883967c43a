#pragma once

#include <string>

#include "publish/Dateiliste.h"
#include "publish/Verbindung.h"
#include "publish/Veroeffentlichen.h"

// The plan of a publish: from Neu's list, the server's list and what the
// server's folders hold, what goes up (pictures and stylesheets before the
// pages that name them), what is deleted (after the uploads), and the list
// kept as a journal: a file's entry is marked before it is replaced or
// deleted, written with its new hash once it is in place, and the list goes
// up again every few seconds, so that after a cut the next publish sends only
// what the list does not vouch for.
namespace lw::veroeffentlichung {

VeroeffentlichenBericht Abgleichen(Sitzung& sitzung, const std::string& lokal, Liste dateien,
                                   const VeroeffentlichenBegleitung& begleitung,
                                   const VeroeffentlichenGrenzen& grenzen);

}  // namespace lw::veroeffentlichung
