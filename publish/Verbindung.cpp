#include "publish/Verbindung.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <deque>
#include <exception>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <utility>

#include "common/Dateien.h"
#include "common/Fehler.h"
#include "common/Zeichensatz.h"
#include "publish/Krypto.h"

namespace lw::veroeffentlichung {
namespace {

// Large enough for libssh2 to keep several writes in flight.
constexpr long kPuffer = 512L * 1024;
// A folder's listing, as far as it is read.
constexpr std::size_t kAuflistungHoechstens = std::size_t{64} * 1024 * 1024;

std::string Prozentkodiert(std::string_view text) {
    constexpr char kHex[] = "0123456789ABCDEF";
    std::string aus;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') ||
            b == '-' || b == '.' || b == '_' || b == '~' || b == '/')
            aus += c;
        else
            aus += {'%', kHex[b >> 4], kHex[b & 0xF]};
    }
    return aus;
}

std::size_t Empfangen(char* daten, std::size_t groesse, std::size_t anzahl, void* ziel) {
    auto& text = *static_cast<std::string*>(ziel);
    const std::size_t n = groesse * anzahl;
    if (text.size() + n > kAuflistungHoechstens) return 0;
    text.append(daten, n);
    return n;
}

std::size_t ListeEmpfangen(char* daten, std::size_t groesse, std::size_t anzahl, void* leser) {
    const std::size_t n = groesse * anzahl;
    return static_cast<ListenLeser*>(leser)->Stueck({daten, n}) ? n : 0;
}

struct Befehlsliste {
    const Curl& curl;
    curl_slist* liste = nullptr;
    explicit Befehlsliste(const Curl& c) : curl(c) {}
    ~Befehlsliste() {
        if (liste) curl.slist_free_all(liste);
    }
    Befehlsliste(const Befehlsliste&) = delete;
    Befehlsliste& operator=(const Befehlsliste&) = delete;
    void Dazu(const std::string& befehl) {
        curl_slist* neu = curl.slist_append(liste, befehl.c_str());
        if (!neu) throw std::bad_alloc();
        liste = neu;
    }
};

// "SHA256:<Base64 without padding>", as OpenSSH shows a host key.
std::string SshFingerabdruck(std::string_view schluessel) {
    std::string b64 = Base64(Sha256Von(schluessel));
    while (!b64.empty() && b64.back() == '=') b64.pop_back();
    return "SHA256:" + b64;
}

// "AB:CD:...", as browsers show a certificate.
std::string ZertifikatFingerabdruck(std::string_view der) {
    std::string aus;
    for (const char c : Hex(Sha256Von(der))) {
        if (aus.size() % 3 == 2) aus += ':';
        aus += static_cast<char>(c >= 'a' ? c - 'a' + 'A' : c);
    }
    return aus;
}

const Curl& CurlOderFehler() {
    const Curl* c = CurlLaden();
    if (!c) throw Fehler("Die Bibliothek libcurl kann nicht geladen werden");
    return *c;
}

// Whether a connection that libcurl reported a failed SFTP command on is gone:
// a cut during a rename reads as a refused command, and only the socket tells.
// Asked while the handle is still in the multi handle, which knows its socket.
bool VerbindungWeg(const Curl& curl, CURL* h) {
    curl_socket_t s = CURL_SOCKET_BAD;
    if (curl.easy_getinfo(h, CURLINFO_ACTIVESOCKET, &s) != CURLE_OK || s == CURL_SOCKET_BAD)
        return true;
    pollfd p{s, POLLIN, 0};
    if (::poll(&p, 1, 0) != 1) return false;
    char c = 0;
    const ssize_t n = ::recv(s, &c, 1, MSG_PEEK | MSG_DONTWAIT);
    return n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK);
}

bool Abgerissen(CURLcode e, long antwort) {
    switch (e) {
        case CURLE_SEND_ERROR:
        case CURLE_RECV_ERROR:
        case CURLE_PARTIAL_FILE:
        case CURLE_GOT_NOTHING:
        case CURLE_OPERATION_TIMEDOUT:
        case CURLE_SSH:
        // libcurl's SSH reports a handshake or an SFTP start that broke off so.
        case CURLE_FAILED_INIT:
        case CURLE_COULDNT_CONNECT:
        case CURLE_FTP_ACCEPT_FAILED:
        case CURLE_FTP_WEIRD_SERVER_REPLY:
        case CURLE_FTP_WEIRD_PASV_REPLY:
        case CURLE_FTP_CANT_GET_HOST:
        case CURLE_SSL_CONNECT_ERROR:
            return true;
        case CURLE_UPLOAD_FAILED:
            // 421, 425, 426, 451: the server gave up on the connection.
            return antwort == 0 || antwort == 421 || antwort == 425 || antwort == 426 ||
                   antwort == 451;
        default:
            return false;
    }
}

// What libcurl can report on FTP, FTPS and SFTP, in the user's words; the
// codes of other protocols share the last sentence.
constexpr std::pair<CURLcode, const char*> kCurlTexte[] = {
    {CURLE_UNSUPPORTED_PROTOCOL, "Dieses Protokoll wird von der Netzbibliothek nicht unterstützt"},
    {CURLE_FAILED_INIT, "Die gesicherte Verbindung zum Server kam nicht zustande"},
    {CURLE_URL_MALFORMAT, "Servername oder Ordner enthalten Zeichen, die keine Adresse ergeben"},
    {CURLE_NOT_BUILT_IN, "Die Netzbibliothek kann diese Verbindungsart nicht"},
    {CURLE_COULDNT_RESOLVE_PROXY, "Der Proxy-Server ist unbekannt"},
    {CURLE_COULDNT_RESOLVE_HOST, "Der Servername ist unbekannt"},
    {CURLE_COULDNT_CONNECT, "Der Server nimmt keine Verbindung an"},
    {CURLE_WEIRD_SERVER_REPLY, "Der Server hat unverständlich geantwortet"},
    {CURLE_REMOTE_ACCESS_DENIED, "Der Server verweigert den Zugriff"},
    {CURLE_FTP_ACCEPT_FAILED, "Die Datenverbindung zum Server kam nicht zustande"},
    {CURLE_FTP_WEIRD_PASS_REPLY, "Der Server hat auf das Passwort unverständlich geantwortet"},
    {CURLE_FTP_ACCEPT_TIMEOUT, "Der Server hat die Datenverbindung nicht rechtzeitig aufgebaut"},
    {CURLE_FTP_WEIRD_PASV_REPLY, "Der Server hat keine brauchbare Datenverbindung angeboten"},
    {CURLE_FTP_WEIRD_227_FORMAT, "Der Server hat keine brauchbare Datenverbindung angeboten"},
    {CURLE_FTP_CANT_GET_HOST, "Die Datenverbindung zum Server kam nicht zustande"},
    {CURLE_FTP_COULDNT_SET_TYPE, "Der Server lehnt die Übertragung als Binärdaten ab"},
    {CURLE_PARTIAL_FILE, "Die Übertragung endete vor dem Ende der Datei"},
    {CURLE_FTP_COULDNT_RETR_FILE, "Der Server gibt die Datei nicht heraus"},
    {CURLE_QUOTE_ERROR, "Der Server hat einen Befehl (Umbenennen oder Löschen) abgelehnt"},
    {CURLE_WRITE_ERROR, "Die empfangenen Daten konnten nicht abgelegt werden"},
    {CURLE_UPLOAD_FAILED, "Der Server hat die hochgeladene Datei nicht angenommen"},
    {CURLE_READ_ERROR, "Die Datei konnte auf diesem Rechner nicht gelesen werden"},
    {CURLE_OUT_OF_MEMORY, "Der Arbeitsspeicher reicht nicht aus"},
    {CURLE_OPERATION_TIMEDOUT, "Der Server hat zu lange nicht geantwortet"},
    {CURLE_FTP_PORT_FAILED, "Die Datenverbindung zum Server kam nicht zustande"},
    {CURLE_FTP_COULDNT_USE_REST, "Der Server kann eine Übertragung nicht fortsetzen"},
    {CURLE_RANGE_ERROR, "Der Server kann eine Übertragung nicht fortsetzen"},
    {CURLE_SSL_CONNECT_ERROR, "Die verschlüsselte Verbindung (TLS) kam nicht zustande"},
    {CURLE_BAD_DOWNLOAD_RESUME, "Der Server kann eine Übertragung nicht fortsetzen"},
    {CURLE_FILE_COULDNT_READ_FILE, "Die Datei konnte auf diesem Rechner nicht gelesen werden"},
    {CURLE_FUNCTION_NOT_FOUND, "Der Netzbibliothek fehlt ein Teil"},
    {CURLE_ABORTED_BY_CALLBACK, "Die Übertragung wurde abgebrochen"},
    {CURLE_BAD_FUNCTION_ARGUMENT, "Die Netzbibliothek wurde falsch aufgerufen"},
    {CURLE_INTERFACE_FAILED, "Die Netzwerkverbindung dieses Rechners kann nicht benutzt werden"},
    {CURLE_UNKNOWN_OPTION, "Die Netzbibliothek ist zu alt für dieses Programm"},
    {CURLE_SETOPT_OPTION_SYNTAX, "Die Netzbibliothek wurde falsch aufgerufen"},
    {CURLE_GOT_NOTHING, "Der Server hat die Verbindung ohne Antwort beendet"},
    {CURLE_SSL_ENGINE_NOTFOUND, "Die Verschlüsselung dieses Rechners ist nicht vollständig"},
    {CURLE_SSL_ENGINE_SETFAILED, "Die Verschlüsselung dieses Rechners ist nicht vollständig"},
    {CURLE_SEND_ERROR, "Die Verbindung ist beim Senden abgerissen"},
    {CURLE_RECV_ERROR, "Die Verbindung ist beim Empfangen abgerissen"},
    {CURLE_SSL_CERTPROBLEM, "Das eigene Zertifikat kann nicht benutzt werden"},
    {CURLE_SSL_CIPHER, "Server und Programm haben keine gemeinsame Verschlüsselung"},
    {CURLE_PEER_FAILED_VERIFICATION, "Der Server konnte nicht bestätigt werden"},
    {CURLE_FILESIZE_EXCEEDED, "Die Datei ist größer, als der Server annimmt"},
    {CURLE_USE_SSL_FAILED, "Der Server bietet keine Verschlüsselung (TLS) an"},
    {CURLE_SEND_FAIL_REWIND, "Die Datei konnte für einen neuen Versuch nicht erneut gelesen werden"},
    {CURLE_SSL_ENGINE_INITFAILED, "Die Verschlüsselung dieses Rechners ist nicht vollständig"},
    {CURLE_LOGIN_DENIED, "Der Server hat die Anmeldung abgelehnt"},
    {CURLE_REMOTE_DISK_FULL, "Auf dem Server ist kein Platz mehr frei"},
    {CURLE_REMOTE_FILE_EXISTS, "Auf dem Server gibt es die Datei schon"},
    {CURLE_SSL_CACERT_BADFILE, "Die Zertifikate dieses Systems können nicht gelesen werden"},
    {CURLE_REMOTE_FILE_NOT_FOUND, "Die Datei oder der Ordner fehlt auf dem Server"},
    {CURLE_SSH, "Die SSH-Verbindung ist gestört"},
    {CURLE_SSL_SHUTDOWN_FAILED, "Die verschlüsselte Verbindung endete nicht ordentlich"},
    {CURLE_AGAIN, "Der Server ist gerade nicht bereit"},
    {CURLE_SSL_CRL_BADFILE, "Die Sperrliste der Zertifikate kann nicht gelesen werden"},
    {CURLE_SSL_ISSUER_ERROR, "Der Aussteller des Zertifikats wird nicht anerkannt"},
    {CURLE_FTP_PRET_FAILED, "Der Server lehnt die Vorbereitung der Übertragung ab"},
    {CURLE_FTP_BAD_FILE_LIST, "Der Server hat eine unlesbare Dateiliste geschickt"},
    {CURLE_NO_CONNECTION_AVAILABLE, "Es ist keine Verbindung zum Server frei"},
    {CURLE_SSL_PINNEDPUBKEYNOTMATCH, "Das Zertifikat des Servers ist nicht das gemerkte"},
    {CURLE_SSL_INVALIDCERTSTATUS, "Das Zertifikat des Servers ist zurückgezogen oder ungültig"},
    {CURLE_AUTH_ERROR, "Die Anmeldung am Server ist gescheitert"},
    {CURLE_SSL_CLIENTCERT, "Der Server verlangt ein eigenes Zertifikat"},
    {CURLE_UNRECOVERABLE_POLL, "Die Netzwerkverbindung dieses Rechners ist gestört"},
};

}  // namespace

std::string CurlText(CURLcode e) {
    for (const auto& [code, text] : kCurlTexte)
        if (code == e) return W(text);
    return W("Die Netzbibliothek meldet einen unerwarteten Fehler (Nummer ") +
           std::to_string(static_cast<int>(e)) + ")";
}

Sitzung::Sitzung(const Zugang& zugang, Vertrauen& vertrauen, const VeroeffentlichenBegleitung& b,
                 const VeroeffentlichenGrenzen& grenzen)
    : zugang_(zugang),
      vertrauen_(vertrauen),
      begleitung_(b),
      grenzen_(grenzen),
      curl_(CurlOderFehler()) {
    einzeln_ = &NeueLeitung();
    erlaubt_ = std::clamp(grenzen.verbindungen, 1, 8);

    std::string server = utf8AusCp1252(zugang.server);
    if (server.find(':') != std::string::npos) server = "[" + server + "]";
    const bool sftp = zugang.protokoll == Protokoll::SFTP;
    basis_ = (sftp ? "sftp://" : "ftp://") + server + ":" + std::to_string(zugang.port);
    const std::string ordner = utf8AusCp1252(zugang.ordner);
    std::string ohneEnde = ordner;
    while (ohneEnde.size() > 1 && ohneEnde.back() == '/') ohneEnde.pop_back();
    if (ohneEnde.starts_with('/')) {
        // FTP goes from the login folder unless the first part names the root.
        wurzel_ = sftp ? Prozentkodiert(ohneEnde) : "/%2F" + Prozentkodiert(ohneEnde.substr(1));
    } else {
        wurzel_ = (sftp ? "/~/" : "/") + Prozentkodiert(ohneEnde);
    }
    if (!wurzel_.ends_with('/')) wurzel_ += '/';
    // A certificate the system's store vouched for is not pinned: its
    // successor from the same authority is as good.
    const auto z = vertrauen.zertifikate.find(Schluessel());
    if (z != vertrauen.zertifikate.end() && !z->second.vomSystem) gepinnt_ = z->second.pin;
}

Sitzung::~Sitzung() {
    {
        std::lock_guard sperre(auftragMx_);
        schluss_ = true;
    }
    for (const auto& l : leitungen_) l->aufgeben = true;
    auftragCv_.notify_all();
    for (const auto& l : leitungen_) {
        if (l->faden.joinable()) l->faden.join();
        curl_.easy_cleanup(l->h);
        curl_.multi_cleanup(l->multi);
    }
}

Sitzung::Leitung& Sitzung::NeueLeitung() {
    auto l = std::make_unique<Leitung>();
    l->sitzung = this;
    l->h = curl_.easy_init();
    l->multi = curl_.multi_init();
    if (!l->h || !l->multi) {
        if (l->h) curl_.easy_cleanup(l->h);
        if (l->multi) curl_.multi_cleanup(l->multi);
        throw std::bad_alloc();
    }
    leitungen_.push_back(std::move(l));
    return *leitungen_.back();
}

std::string Sitzung::Url(const std::string& pfad) const {
    return basis_ + wurzel_ + Prozentkodiert(pfad);
}

std::string Sitzung::SftpPfad(const std::string& pfad) const {
    std::string ordner = utf8AusCp1252(zugang_.ordner);
    while (ordner.size() > 1 && ordner.ends_with('/')) ordner.pop_back();
    std::string voll = ordner.empty() ? pfad : ordner == "/" ? "/" + pfad : ordner + "/" + pfad;
    std::string aus = "\"";
    for (const char c : voll) {
        if (c == '"' || c == '\\') aus += '\\';
        aus += c;
    }
    return aus + "\"";
}

int Sitzung::HostSchluesselPruefen(void* l, int, const char* key, std::size_t laenge) {
    auto& leitung = *static_cast<Leitung*>(l);
    try {
        leitung.gesehenerSchluessel = SshFingerabdruck(std::string_view(key, laenge));
    } catch (...) {
        return CURLKHMATCH_MISMATCH;
    }
    Sitzung& s = *leitung.sitzung;
    std::lock_guard sperre(s.vertrauenMx_);
    const auto it = s.vertrauen_.hostSchluessel.find(s.Schluessel());
    return it != s.vertrauen_.hostSchluessel.end() && it->second == leitung.gesehenerSchluessel
               ? CURLKHMATCH_OK
               : CURLKHMATCH_MISMATCH;
}

int Sitzung::Fortschritt(void* l, curl_off_t, curl_off_t, curl_off_t, curl_off_t hoch) {
    auto& leitung = *static_cast<Leitung*>(l);
    leitung.aktuell = static_cast<std::uint64_t>(hoch);
    return leitung.aufgeben ? 1 : 0;
}

// The entry folder is taken from the login's answer to PWD, the first 257 of
// the session: libcurl 7.88's CURLINFO_FTP_ENTRY_PATH can point into a
// connection it has already closed.
std::size_t Sitzung::Antwortzeile(char* zeile, std::size_t, std::size_t laenge, void* sitzung) {
    auto& s = *static_cast<Sitzung*>(sitzung);
    const std::string_view z(zeile, laenge);
    if (!s.einstieg_.empty() || !z.starts_with("257 ")) return laenge;
    std::string pfad;
    for (std::size_t i = z.find('"'); i != std::string_view::npos && i + 1 < z.size();) {
        const std::size_t ende = z.find('"', i + 1);
        if (ende == std::string_view::npos) return laenge;
        pfad.append(z.substr(i + 1, ende - i - 1));
        if (ende + 1 >= z.size() || z[ende + 1] != '"') {
            s.einstieg_ = pfad;
            break;
        }
        // "" inside the quotes stands for one quote.
        pfad += '"';
        i = ende + 1;
    }
    return laenge;
}

// The settings every request starts from.
void Sitzung::Zuruecksetzen(Leitung& l) {
    const Curl& c = curl_;
    CURL* h = l.h;
    const std::string benutzer = utf8AusCp1252(zugang_.benutzer);
    // The password is the UTF-8 the user typed (see Zugang).
    c.easy_setopt(h, CURLOPT_USERNAME, benutzer.c_str());
    c.easy_setopt(h, CURLOPT_PASSWORD, zugang_.passwort.c_str());
    c.easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    c.easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS,
                  std::max<long>(1, static_cast<long>(grenzen_.verbindungsFrist.count())));
    const long still = std::max<long>(1, static_cast<long>(grenzen_.stillstandsFrist.count()));
    c.easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    c.easy_setopt(h, CURLOPT_LOW_SPEED_TIME, still);
    c.easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, still);
    c.easy_setopt(h, CURLOPT_PROTOCOLS_STR, "ftp,sftp");
    c.easy_setopt(h, CURLOPT_UPLOAD_BUFFERSIZE, kPuffer);
    c.easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    c.easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &Sitzung::Fortschritt);
    c.easy_setopt(h, CURLOPT_XFERINFODATA, &l);
    c.easy_setopt(h, CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR_NONE));
    c.easy_setopt(h, CURLOPT_UPLOAD, 0L);
    c.easy_setopt(h, CURLOPT_NOBODY, 0L);
    c.easy_setopt(h, CURLOPT_DIRLISTONLY, 0L);
    c.easy_setopt(h, CURLOPT_QUOTE, nullptr);
    c.easy_setopt(h, CURLOPT_POSTQUOTE, nullptr);
    c.easy_setopt(h, CURLOPT_WRITEFUNCTION, nullptr);
    c.easy_setopt(h, CURLOPT_WRITEDATA, nullptr);
    c.easy_setopt(h, CURLOPT_READFUNCTION, nullptr);
    c.easy_setopt(h, CURLOPT_READDATA, nullptr);
    c.easy_setopt(h, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(-1));
    if (zugang_.protokoll == Protokoll::SFTP) {
        // With a key, the password field is offered only as a password of its
        // own, and the passphrase only to the key: a passphrase must never
        // reach a server's password login.
        long arten = 0;
        if (zugang_.schluessel.empty() || !zugang_.passwort.empty())
            arten |= CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD;
        if (!zugang_.schluessel.empty()) {
            arten |= CURLSSH_AUTH_PUBLICKEY;
            const std::string privat = LokalerPfad(zugang_.schluessel);
            c.easy_setopt(h, CURLOPT_SSH_PRIVATE_KEYFILE, privat.c_str());
            const std::string oeffentlich = privat + ".pub";
            if (std::filesystem::is_regular_file(oeffentlich))
                c.easy_setopt(h, CURLOPT_SSH_PUBLIC_KEYFILE, oeffentlich.c_str());
            c.easy_setopt(h, CURLOPT_KEYPASSWD, zugang_.passphrase.c_str());
        }
        c.easy_setopt(h, CURLOPT_SSH_AUTH_TYPES, arten);
        c.easy_setopt(h, CURLOPT_SSH_HOSTKEYFUNCTION, &Sitzung::HostSchluesselPruefen);
        c.easy_setopt(h, CURLOPT_SSH_HOSTKEYDATA, &l);
    } else if (zugang_.protokoll == Protokoll::FTPS) {
        c.easy_setopt(h, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
        // Over TLS 1.3 the server may send session tickets on the data
        // connection after the handshake; libcurl 7.88 leaves them unread, so
        // closing the connection resets it and the server can lose the end of
        // the file while still answering 226. TLS 1.2 has no such messages.
        c.easy_setopt(h, CURLOPT_SSLVERSION,
                      static_cast<long>(CURL_SSLVERSION_TLSv1_2) |
                          static_cast<long>(CURL_SSLVERSION_MAX_TLSv1_2));
        c.easy_setopt(h, CURLOPT_CERTINFO, 1L);
        if (!vertrauen_.zertifikatsspeicher.empty())
            c.easy_setopt(h, CURLOPT_CAINFO, vertrauen_.zertifikatsspeicher.c_str());
        // A certificate the user trusted is held by its key alone: the system's
        // store could not vouch for it in the first place.
        const bool pin = !gepinnt_.empty();
        c.easy_setopt(h, CURLOPT_SSL_VERIFYPEER, pin ? 0L : 1L);
        c.easy_setopt(h, CURLOPT_SSL_VERIFYHOST, pin ? 0L : 2L);
        c.easy_setopt(h, CURLOPT_PINNEDPUBLICKEY, pin ? gepinnt_.c_str() : nullptr);
    } else {
        c.easy_setopt(h, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_NONE));
    }
    c.easy_setopt(h, CURLOPT_HEADERFUNCTION, nullptr);
    c.easy_setopt(h, CURLOPT_HEADERDATA, nullptr);
}

void Sitzung::Vorbereiten(Leitung& l, const std::string& url, Art art) {
    Zuruecksetzen(l);
    curl_.easy_setopt(l.h, CURLOPT_URL, url.c_str());
    if (art == Art::Liste) curl_.easy_setopt(l.h, CURLOPT_DIRLISTONLY, 1L);
    if (art == Art::Befehle) curl_.easy_setopt(l.h, CURLOPT_NOBODY, 1L);
    if (art == Art::Hochladen) {
        curl_.easy_setopt(l.h, CURLOPT_UPLOAD, 1L);
        // Folders are made on the way up only: reading touches nothing.
        curl_.easy_setopt(l.h, CURLOPT_FTP_CREATE_MISSING_DIRS,
                          static_cast<long>(CURLFTP_CREATE_DIR_RETRY));
    }
    l.gesehenerSchluessel.clear();
}

void Sitzung::Bedienen() {
    const auto jetzt = Uhr::now();
    if (jetzt - zuletztBedient_ < kTakt) return;
    zuletztBedient_ = jetzt;
    if (begleitung_.zwischenschritt) {
        VeroeffentlichenStand s = stand;
        for (const auto& l : leitungen_) s.gesendet += l->aktuell;
        begleitung_.zwischenschritt(s);
    }
    if (!aufraeumen_ && begleitung_.abbrechen && begleitung_.abbrechen()) abgebrochen_ = true;
}

void Sitzung::Anstossen(Leitung& l) {
    l.aktuell = 0;
    l.antwort = 0;
    l.aufgeben = false;
    if (!l.faden.joinable()) l.faden = std::thread(&Sitzung::Arbeiten, this, std::ref(l));
    {
        std::lock_guard sperre(auftragMx_);
        // One request at a time: a second would take the first one's result.
        if (l.auftrag) throw std::logic_error("connection busy");
        l.ergebnis.reset();
        l.auftrag = true;
    }
    auftragCv_.notify_all();
}

// The request to its end in the connection's own multi handle. libcurl's own
// loop (curl_easy_perform) would sleep up to a second while an FTP data
// connection waits for the next round; this one only waits while libcurl
// has nothing due. `antwort` is the server's answer as the request ended.
CURLcode Sitzung::Ausfuehren(Leitung& l, long& antwort) {
    if (curl_.multi_add_handle(l.multi, l.h) != CURLM_OK) return CURLE_OUT_OF_MEMORY;
    CURLcode e = CURLE_GOT_NOTHING;
    for (bool fertig = false; !fertig;) {
        int laufend = 0;
        if (curl_.multi_perform(l.multi, &laufend) != CURLM_OK) {
            e = CURLE_OUT_OF_MEMORY;
            break;
        }
        int weitere = 0;
        while (const CURLMsg* n = curl_.multi_info_read(l.multi, &weitere)) {
            if (n->msg != CURLMSG_DONE) continue;
            e = n->data.result;
            curl_.easy_getinfo(l.h, CURLINFO_RESPONSE_CODE, &antwort);
            fertig = true;
        }
        if (fertig || laufend == 0) break;
        long frist = -1;
        curl_.multi_timeout(l.multi, &frist);
        if (frist == 0) continue;
        const long kTaktMs = std::chrono::milliseconds(kTakt).count();
        curl_.multi_poll(l.multi, nullptr, 0,
                         static_cast<int>(frist < 0 ? kTaktMs : std::min(frist, kTaktMs)),
                         nullptr);
    }
    if (e == CURLE_QUOTE_ERROR && zugang_.protokoll == Protokoll::SFTP &&
        VerbindungWeg(curl_, l.h))
        e = CURLE_RECV_ERROR;
    curl_.multi_remove_handle(l.multi, l.h);
    return e;
}

void Sitzung::Arbeiten(Leitung& l) {
    std::unique_lock sperre(auftragMx_);
    for (;;) {
        auftragCv_.wait(sperre, [&] { return l.auftrag || schluss_; });
        if (schluss_) return;
        sperre.unlock();
        long antwort = 0;
        const CURLcode e = Ausfuehren(l, antwort);
        sperre.lock();
        l.antwort = antwort;
        l.auftrag = false;
        l.ergebnis = e;
        endeCv_.notify_all();
    }
}

void Sitzung::Warten(const Leitung* nur) {
    {
        std::unique_lock sperre(auftragMx_);
        endeCv_.wait_for(sperre, kTakt, [&] {
            if (nur) return nur->ergebnis.has_value();
            return std::any_of(leitungen_.begin(), leitungen_.end(),
                               [](const auto& l) { return l->ergebnis.has_value(); });
        });
    }
    Bedienen();
}

std::optional<CURLcode> Sitzung::Abholen(Leitung& l) {
    std::lock_guard sperre(auftragMx_);
    return std::exchange(l.ergebnis, std::nullopt);
}

CURLcode Sitzung::Einmal(Leitung& l) {
    Anstossen(l);
    for (;;) {
        Warten(&l);
        if (const auto e = Abholen(l)) return *e;
        if (abgebrochen_) l.aufgeben = true;
    }
}

// True when the request should go again on a new connection.
bool Sitzung::Wiederholen(Leitung& l, CURLcode e, int versuche) {
    if (!Abgerissen(e, l.antwort)) return false;
    gebrochen_ = true;
    if (aufraeumen_ || versuche >= grenzen_.wiederholungen) return false;
    // Before any connection stood, a refused port or a silent server is the
    // user's setting, not a cut; a cut in the handshake goes again.
    return verbunden_ || (e != CURLE_COULDNT_CONNECT && e != CURLE_OPERATION_TIMEDOUT);
}

CURLcode Sitzung::Lauf(const std::string& url, Art art, const std::function<void()>& vorbereiten) {
    Leitung& l = *einzeln_;
    int versuche = 0;
    for (;;) {
        Vorbereiten(l, url, art);
        if (zugang_.protokoll != Protokoll::SFTP) {
            curl_.easy_setopt(l.h, CURLOPT_HEADERFUNCTION, &Sitzung::Antwortzeile);
            curl_.easy_setopt(l.h, CURLOPT_HEADERDATA, this);
        }
        vorbereiten();
        const CURLcode e = Einmal(l);
        curl_.easy_setopt(l.h, CURLOPT_FRESH_CONNECT, 0L);
        if (e == CURLE_OK) {
            verbunden_ = true;
            gebrochen_ = false;
            ZertifikatMerken(l);
            return e;
        }
        if (abgebrochen_) {
            abgebrochen_ = false;
            throw Abgebrochen{};
        }
        if (VertrauenKlaeren(l, e)) continue;
        if (!Wiederholen(l, e, versuche)) return e;
        ++versuche;
        curl_.easy_setopt(l.h, CURLOPT_FRESH_CONNECT, 1L);
    }
}

namespace {

// The certificate as the server showed it on this handle's last handshake.
std::string Zertifikat(const Curl& curl, CURL* h) {
    curl_certinfo* info = nullptr;
    curl.easy_getinfo(h, CURLINFO_CERTINFO, &info);
    if (!info || info->num_of_certs < 1) return {};
    for (curl_slist* z = info->certinfo[0]; z; z = z->next)
        if (std::string_view(z->data).starts_with("Cert:")) return DerAusPem(z->data + 5);
    return {};
}

}  // namespace

// A certificate the system's store vouched for is remembered, so that a
// self-signed one in its place later is not taken for a first contact.
void Sitzung::ZertifikatMerken(Leitung& l) {
    if (zugang_.protokoll != Protokoll::FTPS || !gepinnt_.empty() || zertifikatGemerkt_) return;
    const std::string der = Zertifikat(curl_, l.h);
    const std::string pin = der.empty() ? std::string() : PinDesSchluessels(der);
    if (pin.empty()) return;
    vertrauen_.zertifikate[Schluessel()] = {ZertifikatFingerabdruck(der), pin, true};
    zertifikatGemerkt_ = true;
}

// True when the user trusted the server just now, so that the request goes
// again; a refused or changed key ends the publish.
bool Sitzung::VertrauenKlaeren(Leitung& l, CURLcode e) {
    const std::string wer = "\"" + zugang_.server + "\"";
    const std::string hinweis =
        W("\n\nWenn der Anbieter ihn erneuert hat, löschen Sie den Eintrag für ") + wer +
        W(" in der Datei Veroeffentlichen.ini neben dem Ordner Neu.");
    auto fragen = [&](const std::string& frage) {
        if (begleitung_.fragen && begleitung_.fragen(frage)) return;
        throw Hinweis(
            W("Der Server wurde nicht bestätigt; es wurde nichts weiter veröffentlicht."));
    };
    auto geaendert = [&](const char* was, const std::string& bisher, const std::string& jetzt) {
        throw Fehler(W(was) + wer +
                     W(" hat sich geändert. Das kann ein Angriff sein; es wird nichts "
                       "veröffentlicht.\n\nBisher: ") +
                     bisher + W("\nJetzt: ") + (jetzt.empty() ? std::string("?") : jetzt) +
                     hinweis);
    };
    if (zugang_.protokoll == Protokoll::SFTP) {
        if (e != CURLE_PEER_FAILED_VERIFICATION || l.gesehenerSchluessel.empty()) return false;
        std::optional<std::string> bisher;
        {
            std::lock_guard sperre(vertrauenMx_);
            const auto it = vertrauen_.hostSchluessel.find(Schluessel());
            if (it != vertrauen_.hostSchluessel.end()) bisher = it->second;
        }
        if (bisher) geaendert("Der Schlüssel des Servers ", *bisher, l.gesehenerSchluessel);
        const std::string neu = l.gesehenerSchluessel;
        fragen(W("Der Server ") + wer +
               W(" ist noch unbekannt. Sein Schlüssel hat den "
                 "Fingerabdruck\n\n") +
               neu + W("\n\nIst das Ihr Server? Mit \"Ja\" wird er sich gemerkt."));
        std::lock_guard sperre(vertrauenMx_);
        vertrauen_.hostSchluessel[Schluessel()] = neu;
        return true;
    }
    if (zugang_.protokoll != Protokoll::FTPS) return false;
    const auto bekannt = vertrauen_.zertifikate.find(Schluessel());
    if (e == CURLE_SSL_PINNEDPUBKEYNOTMATCH && !gepinnt_.empty()) {
        const std::string der = Zertifikat(curl_, l.h);
        geaendert("Das Zertifikat des Servers ", bekannt->second.fingerabdruck,
                  der.empty() ? std::string() : ZertifikatFingerabdruck(der));
    }
    if (e != CURLE_PEER_FAILED_VERIFICATION) return false;
    // The certificate as the server shows it. When the store refused it, a
    // second handshake with a pin that cannot match fetches it; that one ends
    // before the user name is sent.
    gepinnt_ = "sha256//AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA=";
    Zuruecksetzen(l);
    gepinnt_.clear();
    curl_.easy_setopt(l.h, CURLOPT_CONNECT_ONLY, 1L);
    const CURLcode probe = Einmal(l);
    curl_.easy_setopt(l.h, CURLOPT_CONNECT_ONLY, 0L);
    if (abgebrochen_) {
        abgebrochen_ = false;
        throw Abgebrochen{};
    }
    const std::string der =
        probe == CURLE_SSL_PINNEDPUBKEYNOTMATCH ? Zertifikat(curl_, l.h) : std::string();
    const std::string pin = der.empty() ? std::string() : PinDesSchluessels(der);
    // A server whose certificate the system vouched for before shows one it
    // cannot vouch for now.
    if (bekannt != vertrauen_.zertifikate.end())
        geaendert("Das Zertifikat des Servers ", bekannt->second.fingerabdruck,
                  der.empty() ? std::string() : ZertifikatFingerabdruck(der));
    if (pin.empty())
        throw Fehler(W("Das Zertifikat des Servers ") + wer + W(" kann nicht geprüft werden"));
    const std::string fingerabdruck = ZertifikatFingerabdruck(der);
    fragen(W("Das Zertifikat des Servers ") + wer +
           W(" kann nicht mit den Zertifikaten dieses Systems bestätigt werden. Sein "
             "SHA-256-Fingerabdruck:\n\n") +
           fingerabdruck + W("\n\nIst das Ihr Server? Mit \"Ja\" wird das Zertifikat gemerkt."));
    vertrauen_.zertifikate[Schluessel()] = {fingerabdruck, pin, false};
    gepinnt_ = pin;
    return true;
}

void Sitzung::Werfen(Leitung& l, CURLcode e, const std::string& pfad) {
    const long antwort = l.antwort;
    const std::string server = "\"" + zugang_.server + "\"";
    const std::string datei = pfad.empty() ? std::string() : " (\"" + Anzeige(pfad) + "\")";
    if (e == CURLE_COULDNT_RESOLVE_HOST)
        throw Hinweis(W("Der Server ") + server +
                      W(" ist unbekannt. Bitte prüfen Sie den Namen und die Verbindung ins "
                        "Internet."));
    if (e == CURLE_COULDNT_CONNECT && !verbunden_)
        throw Hinweis(W("Der Server ") + server + " nimmt auf Port " +
                      std::to_string(zugang_.port) +
                      W(" keine Verbindung an. Bitte prüfen Sie Protokoll und Port."));
    if (e == CURLE_LOGIN_DENIED || antwort == 530)
        throw Hinweis(
            W("Der Server hat die Anmeldung abgelehnt: Benutzername, Passwort oder "
              "Schlüssel ist falsch."));
    if (e == CURLE_REMOTE_DISK_FULL || antwort == 552 || antwort == 452)
        throw Fehler(W("Auf dem Server ist kein Platz mehr frei") + datei);
    if (e == CURLE_REMOTE_ACCESS_DENIED || antwort == 550 || antwort == 553 || antwort == 532)
        throw Fehler(W("Der Server verweigert den Zugriff: Es fehlt die Berechtigung") + datei);
    if (e == CURLE_USE_SSL_FAILED)
        throw Hinweis(
            W("Der Server bietet keine Verschlüsselung (TLS) an. Wählen Sie ein "
              "anderes Protokoll."));
    if (e == CURLE_PEER_FAILED_VERIFICATION || e == CURLE_SSL_PINNEDPUBKEYNOTMATCH)
        throw Fehler(W("Der Server ") + server + W(" konnte nicht bestätigt werden"));
    if (Abgerissen(e, antwort))
        throw Fehler(W("Die Verbindung zum Server ist abgebrochen") + datei + ": " + CurlText(e) +
                     W(". Was schon oben ist, bleibt; das nächste Veröffentlichen "
                       "setzt dort fort"));
    throw Fehler(W("Veröffentlichen fehlgeschlagen") + datei + ": " + CurlText(e) +
                 (antwort ? " (" + std::to_string(antwort) + ")" : std::string()));
}

std::set<std::string> Sitzung::Auflisten(const std::string& ordner) {
    std::string text;
    CURL* h = einzeln_->h;
    const CURLcode e = Lauf(Url(ordner.empty() ? ordner : ordner + "/"), Art::Liste, [&] {
        text.clear();
        curl_.easy_setopt(h, CURLOPT_WRITEFUNCTION, &Empfangen);
        curl_.easy_setopt(h, CURLOPT_WRITEDATA, &text);
    });
    std::set<std::string> namen;
    if (e != CURLE_OK) {
        // A folder that does not exist yet: nothing in it.
        if (e == CURLE_REMOTE_FILE_NOT_FOUND || e == CURLE_REMOTE_ACCESS_DENIED ||
            e == CURLE_FTP_COULDNT_RETR_FILE)
            return namen;
        Werfen(*einzeln_, e, ordner);
    }
    std::string_view rest = text;
    while (!rest.empty()) {
        const auto ende = rest.find('\n');
        std::string zeile(rest.substr(0, ende));
        rest = ende == std::string_view::npos ? std::string_view() : rest.substr(ende + 1);
        if (zeile.ends_with('\r')) zeile.pop_back();
        zeile = Name(zeile);
        if (!zeile.empty() && zeile != "." && zeile != "..") namen.insert(zeile);
    }
    return namen;
}

bool Sitzung::Holen(const std::string& pfad, ListenLeser& leser) {
    CURL* h = einzeln_->h;
    const CURLcode e = Lauf(Url(pfad), Art::Holen, [&] {
        leser.Anfang();
        curl_.easy_setopt(h, CURLOPT_WRITEFUNCTION, &ListeEmpfangen);
        curl_.easy_setopt(h, CURLOPT_WRITEDATA, &leser);
    });
    // A folder that does not exist yet (FTP cannot change into it) has no list.
    if (e == CURLE_REMOTE_FILE_NOT_FOUND || e == CURLE_REMOTE_ACCESS_DENIED) return false;
    // The reader gave up a list too large; it knows.
    if (e != CURLE_OK && e != CURLE_WRITE_ERROR) Werfen(*einzeln_, e, pfad);
    return true;
}

void Sitzung::Befehle(const std::string& ordner, const std::vector<std::string>& befehle,
                      const std::string& fuer) {
    Befehlsliste liste(curl_);
    for (const auto& b : befehle) liste.Dazu(b);
    std::string weg;
    CURL* h = einzeln_->h;
    const CURLcode e = Lauf(Url(ordner.empty() ? ordner : ordner + "/"), Art::Befehle, [&] {
        // FTP sends the commands before it changes into the folder, and the
        // ones after the request once it is there.
        curl_.easy_setopt(h,
                          zugang_.protokoll == Protokoll::SFTP ? CURLOPT_QUOTE : CURLOPT_POSTQUOTE,
                          liste.liste);
        curl_.easy_setopt(h, CURLOPT_WRITEFUNCTION, &Empfangen);
        curl_.easy_setopt(h, CURLOPT_WRITEDATA, &weg);
    });
    if (e != CURLE_OK) Werfen(*einzeln_, e, fuer.empty() ? ordner : fuer);
}

// The commands that put an uploaded hidden file into place. FTP sends
// `vorCwd` commands before it changes into the file's folder, so they name
// the whole path.
std::vector<std::string> Sitzung::Danach(const std::string& pfad, bool ersetzt,
                                         bool vorCwd) const {
    const std::string temp = TempName(pfad);
    if (zugang_.protokoll != Protokoll::SFTP) {
        // Over FTP, most servers rename onto the old file in one step.
        if (!vorCwd) return {"RNFR " + Name(temp), "RNTO " + Name(pfad)};
        return {"RNFR " + FtpPfad(temp), "RNTO " + FtpPfad(pfad)};
    }
    // OpenSSH renames onto no existing file, and libcurl offers no
    // posix-rename: the old file steps aside until the new one has its
    // place. Each step may go again after a broken connection.
    const std::string alt = AltName(pfad);
    std::vector<std::string> befehle;
    if (ersetzt) befehle.push_back("*rename " + SftpPfad(pfad) + " " + SftpPfad(alt));
    befehle.push_back("rename " + SftpPfad(temp) + " " + SftpPfad(pfad));
    if (ersetzt) befehle.push_back("*rm " + SftpPfad(alt));
    return befehle;
}

std::string Sitzung::FtpPfad(const std::string& pfad) const {
    std::string ordner = utf8AusCp1252(zugang_.ordner);
    while (!ordner.empty() && ordner.ends_with('/')) ordner.pop_back();
    if (!zugang_.ordner.starts_with('/')) {
        std::string einstieg = einstieg_;
        while (!einstieg.empty() && einstieg.ends_with('/')) einstieg.pop_back();
        ordner = ordner.empty() ? einstieg : einstieg + "/" + ordner;
    }
    return ordner + "/" + pfad;
}

void Sitzung::Ersetzen(Leitung& l, const std::string& pfad, CURLcode e) {
    const std::string temp = TempName(pfad);
    const std::string alt = AltName(pfad);
    const std::string ordner = Ordner(pfad);
    const bool sftp = zugang_.protokoll == Protokoll::SFTP;
    try {
        if (sftp) Werfen(l, e, pfad);
        Befehle(ordner, {"*DELE " + Name(alt)});
        Befehle(ordner,
                {"RNFR " + Name(pfad), "RNTO " + Name(alt), "RNFR " + Name(temp),
                 "RNTO " + Name(pfad)},
                pfad);
    } catch (const Fehler&) {
        // The new file did not take the old one's place: the old one goes back.
        if (!Gebrochen()) {
            if (sftp)
                Befehle(ordner, {"*rename " + SftpPfad(alt) + " " + SftpPfad(pfad)});
            else
                Befehle(ordner, {"*RNFR " + Name(alt), "*RNTO " + Name(pfad)});
        }
        throw;
    }
    Befehle(ordner, {"*DELE " + Name(alt)});
}

bool Sitzung::Hochladen(const std::string& pfad, Quelle& quelle, std::uint64_t groesse,
                        bool ersetzt) {
    stand.datei = pfad;
    CURL* h = einzeln_->h;
    std::unique_ptr<Befehlsliste> danach;
    int mal = 0;
    const CURLcode e = Lauf(Url(TempName(pfad)), Art::Hochladen, [&] {
        quelle.Zurueck();
        // Once cut, the rename may have happened: the file counts as online.
        danach = std::make_unique<Befehlsliste>(curl_);
        for (const auto& b : Danach(pfad, ersetzt || mal++ > 0, false)) danach->Dazu(b);
        curl_.easy_setopt(h, CURLOPT_READFUNCTION, &Quelle::Lesen);
        curl_.easy_setopt(h, CURLOPT_READDATA, &quelle);
        curl_.easy_setopt(h, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(groesse));
        curl_.easy_setopt(h, CURLOPT_POSTQUOTE, danach->liste);
    });
    if (e == CURLE_ABORTED_BY_CALLBACK && quelle.Geaendert()) return false;
    if (e == CURLE_QUOTE_ERROR && (ersetzt || mal > 1))
        Ersetzen(*einzeln_, pfad, e);
    else if (e != CURLE_OK)
        Werfen(*einzeln_, e, pfad);
    stand.gesendet += groesse;
    return true;
}

// Each file is two requests: the upload under the hidden name, and then the
// rename, as commands before a request that transfers nothing; between them
// the calling thread learns that the file is up.
void Sitzung::AlleHochladen(const std::string& lokal, const std::vector<Sendung>& sendungen,
                            const std::function<void(const Sendung&)>& fertig,
                            const std::function<void(const Sendung&)>& geaendert) {
    struct Auftrag {
        const Sendung* datei = nullptr;
        int versuche = 0;
        bool ersetzt = false;
    };
    struct Unterwegs {
        Leitung* l = nullptr;
        Auftrag a;
        bool umbenennen = false;  // the upload is done, the rename under way
        Datei datei;
        std::optional<Quelle> quelle;
        std::unique_ptr<Befehlsliste> befehle;
        std::string url;
        std::string weg;
    };
    std::deque<Auftrag> offen;
    for (const Sendung& d : sendungen) offen.push_back({&d, 0, d.ersetzt});
    std::vector<std::unique_ptr<Unterwegs>> unterwegs;
    // Connections that stand come first; one the server refused is not
    // offered again.
    std::vector<Leitung*> frei;
    for (auto it = leitungen_.rbegin(); it != leitungen_.rend(); ++it) frei.push_back(it->get());
    std::vector<std::string> aufgegeben;  // whose hidden file may be left
    std::exception_ptr fehler;
    // Single requests on the way (the list, a file stepping aside) go over
    // the connection whose file just ended.
    struct Einzeln {
        Leitung*& ziel;
        Leitung* vorher;
        Einzeln(Leitung*& z, Leitung& l) : ziel(z), vorher(z) { ziel = &l; }
        ~Einzeln() { ziel = vorher; }
    };

    auto starten = [&](const Auftrag& a) {
        auto u = std::make_unique<Unterwegs>();
        u->a = a;
        const std::string& pfad = a.datei->pfad;
        u->datei = Oeffnen(lokal, pfad);
        u->quelle.emplace(u->datei.get(), *a.datei->eintrag);
        u->url = Url(TempName(pfad));
        if (frei.empty()) frei.push_back(&NeueLeitung());
        u->l = frei.back();
        CURL* h = u->l->h;
        Vorbereiten(*u->l, u->url, Art::Hochladen);
        curl_.easy_setopt(h, CURLOPT_READFUNCTION, &Quelle::Lesen);
        curl_.easy_setopt(h, CURLOPT_READDATA, &*u->quelle);
        curl_.easy_setopt(h, CURLOPT_INFILESIZE_LARGE,
                          static_cast<curl_off_t>(a.datei->eintrag->groesse));
        curl_.easy_setopt(h, CURLOPT_FRESH_CONNECT, a.versuche > 0 ? 1L : 0L);
        frei.pop_back();
        stand.datei = pfad;
        unterwegs.push_back(std::move(u));
        Anstossen(*unterwegs.back()->l);
    };
    auto umbenennen = [&](Unterwegs& u) {
        u.umbenennen = true;
        u.datei.reset();
        const std::string& pfad = u.a.datei->pfad;
        u.befehle = std::make_unique<Befehlsliste>(curl_);
        for (const auto& b : Danach(pfad, u.a.ersetzt, true)) u.befehle->Dazu(b);
        const std::string ordner = Ordner(pfad);
        u.url = Url(ordner.empty() ? ordner : ordner + "/");
        CURL* h = u.l->h;
        Vorbereiten(*u.l, u.url, Art::Befehle);
        curl_.easy_setopt(h, CURLOPT_QUOTE, u.befehle->liste);
        curl_.easy_setopt(h, CURLOPT_WRITEFUNCTION, &Empfangen);
        curl_.easy_setopt(h, CURLOPT_WRITEDATA, &u.weg);
        curl_.easy_setopt(h, CURLOPT_FRESH_CONNECT, 0L);
        Anstossen(*u.l);
    };

    try {
        for (;;) {
            while (!fehler && !offen.empty() && unterwegs.size() < std::size_t(erlaubt_)) {
                starten(offen.front());
                offen.pop_front();
            }
            if (unterwegs.empty()) break;
            Warten();
            if (abgebrochen_) {
                abgebrochen_ = false;
                throw Abgebrochen{};
            }
            for (std::size_t i = 0; i < unterwegs.size();) {
                Leitung& l = *unterwegs[i]->l;
                const auto ergebnis = Abholen(l);
                if (!ergebnis) {
                    ++i;
                    continue;
                }
                CURLcode e = *ergebnis;
                l.aktuell = 0;
                Auftrag a = unterwegs[i]->a;
                if (e == CURLE_OK && !unterwegs[i]->umbenennen) {
                    stand.gesendet += a.datei->eintrag->groesse;
                    umbenennen(*unterwegs[i]);
                    ++i;
                    continue;
                }
                const bool hochgeladen = unterwegs[i]->umbenennen;
                const bool anders = !hochgeladen && unterwegs[i]->quelle->Geaendert();
                unterwegs.erase(unterwegs.begin() + static_cast<long>(i));
                if (e == CURLE_ABORTED_BY_CALLBACK && anders) {
                    frei.push_back(&l);
                    // Changed since its hash was taken: nothing took its
                    // place; it goes up again as it is now.
                    Einzeln einzeln(einzeln_, l);
                    geaendert(*a.datei);
                    offen.push_front(a);
                    continue;
                }
                if (e == CURLE_QUOTE_ERROR && hochgeladen && a.ersetzt) {
                    Einzeln einzeln(einzeln_, l);
                    Ersetzen(l, a.datei->pfad, e);
                    e = CURLE_OK;
                }
                if (e == CURLE_OK) {
                    frei.push_back(&l);
                    verbunden_ = true;
                    gebrochen_ = false;
                    ZertifikatMerken(l);
                    Einzeln einzeln(einzeln_, l);
                    fertig(*a.datei);
                    continue;
                }
                if (hochgeladen) stand.gesendet -= a.datei->eintrag->groesse;
                if (VertrauenKlaeren(l, e)) {
                    frei.push_back(&l);
                    offen.push_front(a);
                    continue;
                }
                // A connection the server refused on top of those it has (a
                // new one that never came to the transfer: "421" or "530" as
                // its greeting or to the login, or an SSH handshake it broke
                // off): fewer go on.
                long neue = 0;
                curl_off_t vorher = 0;
                curl_.easy_getinfo(l.h, CURLINFO_NUM_CONNECTS, &neue);
                curl_.easy_getinfo(l.h, CURLINFO_PRETRANSFER_TIME_T, &vorher);
                const bool abgewiesen =
                    e == CURLE_COULDNT_CONNECT ||
                    (zugang_.protokoll == Protokoll::SFTP ? e == CURLE_FAILED_INIT
                                                          : l.antwort == 421 || l.antwort == 530);
                if (verbunden_ && erlaubt_ > 1 && neue > 0 && vorher == 0 && abgewiesen &&
                    !aufraeumen_) {
                    --erlaubt_;
                    offen.push_front(a);
                    continue;
                }
                frei.push_back(&l);
                if (Wiederholen(l, e, a.versuche)) {
                    ++a.versuche;
                    a.ersetzt = true;  // the rename may have happened before the cut
                    offen.push_front(a);
                    continue;
                }
                aufgegeben.push_back(a.datei->pfad);
                if (fehler) continue;
                try {
                    Werfen(l, e, a.datei->pfad);
                } catch (...) {
                    fehler = std::current_exception();
                }
            }
        }
    } catch (...) {
        fehler = std::current_exception();
    }
    if (!fehler) return;
    // Abbrechen, or a failure on the way: the uploads under way are given
    // up; a rename under way is seen to its end, for the file may be in
    // place already, and the list is to name it.
    Aufraeumen();
    for (const auto& u : unterwegs)
        if (!u->umbenennen) u->l->aufgeben = true;
    try {
        while (!unterwegs.empty()) {
            Warten();
            std::erase_if(unterwegs, [&](const auto& u) {
                const auto e = Abholen(*u->l);
                if (!e) return false;
                u->l->aktuell = 0;
                if (*e == CURLE_OK && u->umbenennen) {
                    Einzeln einzeln(einzeln_, *u->l);
                    fertig(*u->a.datei);
                } else {
                    aufgegeben.push_back(u->a.datei->pfad);
                }
                return true;
            });
        }
    } catch (...) {
        // Their threads still read the files and write into the requests'
        // buffers: they end before these go.
        for (const auto& u : unterwegs) u->l->aufgeben = true;
        std::unique_lock sperre(auftragMx_);
        endeCv_.wait(sperre, [&] {
            return std::none_of(unterwegs.begin(), unterwegs.end(),
                                [](const auto& u) { return u->l->auftrag; });
        });
        for (const auto& u : unterwegs) u->l->ergebnis.reset();
    }
    // Over a broken connection there is nothing to tidy; the next publish
    // overwrites what is left.
    if (!gebrochen_) {
        try {
            for (const auto& pfad : aufgegeben) Loeschen(TempName(pfad));
        } catch (const Fehler&) {
        }
    }
    std::rethrow_exception(fehler);
}

void Sitzung::Loeschen(const std::string& pfad) {
    if (zugang_.protokoll == Protokoll::SFTP)
        Befehle(Ordner(pfad), {"*rm " + SftpPfad(pfad)});
    else
        Befehle(Ordner(pfad), {"*DELE " + Name(pfad)});
}

}  // namespace lw::veroeffentlichung
