#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "common/Curl.h"
#include "publish/Dateiliste.h"
#include "publish/Veroeffentlichen.h"

// The connection to the server, through libcurl: logging in, trusting the
// host key or certificate, listing, fetching, uploading under a hidden name
// and renaming, deleting; a broken connection is retried, and every failure
// becomes a German message. Files go up over several connections at once,
// each request on its connection's own thread; everything else, the caller's
// callbacks included, happens on the calling thread.
namespace lw::veroeffentlichung {

// libcurl's error as a German sentence, without a final full stop.
std::string CurlText(CURLcode e);

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

    struct Sendung {
        std::string pfad;  // relative to lokal and to the folder on the server
        Eintrag* eintrag = nullptr;  // what the file is to be; `geaendert` renews it
        bool ersetzt = false;
    };
    // Each file as Hochladen does it, up to grenzen.verbindungen at once (fewer
    // when the server refuses more). `fertig` runs on this thread once a file
    // is in place, and may use the session itself. A file that changed since
    // its hash was taken goes up again after `geaendert`, which takes the hash
    // anew or throws. On a failure or Abbrechen the files under way are given
    // up and their hidden files removed; then it throws.
    void AlleHochladen(const std::string& lokal, const std::vector<Sendung>& sendungen,
                       const std::function<void(const Sendung&)>& fertig,
                       const std::function<void(const Sendung&)>& geaendert);
    // Removes the file; a file that is gone already is no failure.
    void Loeschen(const std::string& pfad);

    // After Abbrechen or a failure: the steps that tidy up are not stopped
    // again and not retried.
    void Aufraeumen() { aufraeumen_ = true; }
    bool Gebrochen() const { return gebrochen_; }

    VeroeffentlichenStand stand;

private:
    // One easy handle and its connection, one request at a time. libcurl
    // 7.88 waits for an SFTP file's close and for FTP's 226 blocking, so
    // connections sharing one thread would take turns: each has its own.
    // The calling thread sets a request up, hands it over and takes its
    // result; the handle's other fields are the caller's while no request
    // is under way.
    struct Leitung {
        Sitzung* sitzung = nullptr;
        CURL* h = nullptr;
        CURLM* multi = nullptr;  // its connection's cache
        std::atomic<std::uint64_t> aktuell = 0;  // bytes of its upload under way
        std::atomic<bool> aufgeben = false;      // stops the request under way
        // The server's last answer when the request ended: libcurl's own may
        // be overwritten by a connection it closes through this handle later.
        long antwort = 0;
        std::string gesehenerSchluessel;
        std::thread faden;
        bool auftrag = false;                 // under auftragMx_
        std::optional<CURLcode> ergebnis;     // under auftragMx_
    };
    enum class Art { Liste, Holen, Hochladen, Befehle };
    CURLcode Lauf(const std::string& url, Art art, const std::function<void()>& vorbereiten);
    void Vorbereiten(Leitung& l, const std::string& url, Art art);
    CURLcode Einmal(Leitung& l);
    CURLcode Ausfuehren(Leitung& l, long& antwort);
    void Anstossen(Leitung& l);
    void Arbeiten(Leitung& l);
    // Waits at most one beat for a request to end (`nur`'s, or any), then
    // Bedienen.
    void Warten(const Leitung* nur = nullptr);
    std::optional<CURLcode> Abholen(Leitung& l);
    void Bedienen();
    bool VertrauenKlaeren(Leitung& l, CURLcode e);
    void ZertifikatMerken(Leitung& l);
    void Zuruecksetzen(Leitung& l);
    bool Wiederholen(Leitung& l, CURLcode e, int versuche);
    [[noreturn]] void Werfen(Leitung& l, CURLcode e, const std::string& pfad);
    std::string Url(const std::string& pfad) const;
    // The path in an SFTP command, quoted for libcurl.
    std::string SftpPfad(const std::string& pfad) const;
    std::string Schluessel() const { return zugang_.server + ":" + std::to_string(zugang_.port); }
    // A failure names the file `fuer`, or else the folder.
    void Befehle(const std::string& ordner, const std::vector<std::string>& befehle,
                 const std::string& fuer = {});
    std::vector<std::string> Danach(const std::string& pfad, bool ersetzt, bool vorCwd) const;
    // The whole path on an FTP server.
    std::string FtpPfad(const std::string& pfad) const;
    // After the rename of an upload was refused: where the server renames
    // onto no existing file, the old one steps aside, one left from a cut
    // gone first, and comes back when the new one cannot take its place.
    void Ersetzen(Leitung& l, const std::string& pfad, CURLcode e);
    Leitung& NeueLeitung();

    static int HostSchluesselPruefen(void* l, int, const char* key, std::size_t laenge);
    static int Fortschritt(void* l, curl_off_t, curl_off_t, curl_off_t, curl_off_t hoch);
    static std::size_t Antwortzeile(char* zeile, std::size_t, std::size_t laenge, void* sitzung);

    const Zugang& zugang_;
    Vertrauen& vertrauen_;
    const VeroeffentlichenBegleitung& begleitung_;
    VeroeffentlichenGrenzen grenzen_;
    const Curl& curl_;
    std::vector<std::unique_ptr<Leitung>> leitungen_;
    // Where single requests go: the first connection, or during AlleHochladen
    // the one whose file just ended, so that no connection is added for them.
    Leitung* einzeln_ = nullptr;
    std::mutex auftragMx_;
    std::condition_variable auftragCv_;  // to the connections' threads
    std::condition_variable endeCv_;     // to the calling thread
    bool schluss_ = false;               // under auftragMx_
    // Host keys are checked on the connections' threads while the calling
    // thread may add one.
    std::mutex vertrauenMx_;
    std::string basis_;   // scheme, host and port
    std::string wurzel_;  // the folder on the server in the URL's path
    std::string einstieg_;  // FTP: the folder the login starts in
    Uhr::time_point zuletztBedient_{};
    std::string gepinnt_;
    int erlaubt_ = 1;  // connections at once
    bool zertifikatGemerkt_ = false;
    bool verbunden_ = false;
    bool aufraeumen_ = false;
    bool gebrochen_ = false;
    bool abgebrochen_ = false;
};

}  // namespace lw::veroeffentlichung
