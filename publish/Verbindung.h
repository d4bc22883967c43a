#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "common/Curl.h"
#include "publish/Dateiliste.h"
#include "publish/Veroeffentlichen.h"

// The connection to the server, through libcurl: logging in, trusting the
// host key or certificate, listing, fetching, uploading under a hidden name
// and renaming, deleting; a broken connection is retried, and every failure
// becomes a German message.
namespace lw::veroeffentlichung {

// One connection to the server for the whole publish: one easy handle, whose
// connection the multi handle keeps from request to request.
class Sitzung final {
public:
    Sitzung(const Zugang& zugang, Vertrauen& vertrauen, const VeroeffentlichenBegleitung& b,
            const VeroeffentlichenGrenzen& grenzen);
    ~Sitzung();
    Sitzung(const Sitzung&) = delete;
    Sitzung& operator=(const Sitzung&) = delete;

    // The names in a folder; empty when it cannot be listed (missing).
    std::set<std::string> Auflisten(const std::string& ordner);
    // The list's bytes as they arrive; false when it does not exist.
    bool Holen(const std::string& pfad, ListenLeser& leser);
    // Under the hidden name, then renamed into place; `ersetzt` when a file
    // of that name is online: it steps aside under its AltName where the
    // server cannot rename onto it, and comes back when the new one cannot
    // take its place. False when the file changed since its hash was taken:
    // then nothing took its place, and its hidden file is left.
    bool Hochladen(const std::string& pfad, Quelle& quelle, std::uint64_t groesse, bool ersetzt);
    // Removes the file; a file that is gone already is no failure.
    void Loeschen(const std::string& pfad);

    // After Abbrechen or a failure: the steps that tidy up are not stopped
    // again and not retried.
    void Aufraeumen() { aufraeumen_ = true; }
    bool Gebrochen() const { return gebrochen_; }

    VeroeffentlichenStand stand;

private:
    enum class Art { Liste, Holen, Hochladen, Befehle };
    CURLcode Lauf(const std::string& url, Art art, const std::function<void()>& vorbereiten);
    CURLcode Einmal();
    void Bedienen();
    bool VertrauenKlaeren(CURLcode e);
    void Zuruecksetzen();
    [[noreturn]] void Werfen(CURLcode e, const std::string& pfad);
    std::string Url(const std::string& pfad) const;
    // The path in an SFTP command, quoted for libcurl.
    std::string SftpPfad(const std::string& pfad) const;
    std::string Schluessel() const { return zugang_.server + ":" + std::to_string(zugang_.port); }
    // A failure names the file `fuer`, or else the folder.
    void Befehle(const std::string& ordner, const std::vector<std::string>& befehle,
                 const std::string& fuer = {});

    static int HostSchluesselPruefen(void* s, int, const char* key, std::size_t laenge);
    static int Fortschritt(void* s, curl_off_t, curl_off_t, curl_off_t, curl_off_t hoch);

    const Zugang& zugang_;
    Vertrauen& vertrauen_;
    const VeroeffentlichenBegleitung& begleitung_;
    VeroeffentlichenGrenzen grenzen_;
    const Curl& curl_;
    CURLM* multi_ = nullptr;
    CURL* h_ = nullptr;
    std::string basis_;   // scheme, host and port
    std::string wurzel_;  // the folder on the server in the URL's path
    Uhr::time_point zuletztBedient_{};
    std::uint64_t aktuell_ = 0;  // bytes of the transfer under way
    std::string gesehenerSchluessel_;
    std::string gepinnt_;
    bool verbunden_ = false;
    bool aufraeumen_ = false;
    bool gebrochen_ = false;
    bool abgebrochen_ = false;
};

}  // namespace lw::veroeffentlichung
