#include "publish/Veroeffentlichen.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string_view>
#include <system_error>
#include <utility>

#include "codegen/Code.h"
#include "common/Curl.h"
#include "common/Dateien.h"
#include "common/Fehler.h"
#include "common/Text.h"
#include "common/Zeichensatz.h"
#include "publish/Krypto.h"

namespace lw {
namespace {

using Uhr = std::chrono::steady_clock;

// The windows get their turn at least this often, with room to spare for the
// 100 ms they are promised.
constexpr auto kTakt = std::chrono::milliseconds(50);
// Large enough for libssh2 to keep several writes in flight.
constexpr long kPuffer = 512L * 1024;
constexpr std::size_t kListeHoechstens = std::size_t{64} * 1024 * 1024;

// One file of Neu or of the server's list. Paths are relative, '/' between
// their parts, in this platform's file-name bytes: the names as they go up.
struct Eintrag {
    std::uint64_t groesse = 0;
    std::string sha;  // hexadecimal
    bool operator==(const Eintrag&) const = default;
};
using Liste = std::map<std::string, Eintrag>;

std::string Ordner(const std::string& pfad) {
    const auto s = pfad.rfind('/');
    return s == std::string::npos ? std::string() : pfad.substr(0, s);
}

std::string Name(const std::string& pfad) {
    const auto s = pfad.rfind('/');
    return s == std::string::npos ? pfad : pfad.substr(s + 1);
}

std::string Darin(const std::string& ordner, const std::string& name) {
    return ordner.empty() ? name : ordner + "/" + name;
}

// The hidden name a file has on the server until it is whole.
std::string TempName(const std::string& pfad) {
    return Darin(Ordner(pfad), "." + Name(pfad) + ".lw-neu");
}

bool IstSeite(const std::string& pfad) {
    const std::string name = Name(pfad);
    const auto punkt = name.rfind('.');
    if (punkt == std::string::npos) return false;
    const std::string endung = name.substr(punkt + 1);
    return GleichOhneFallAscii(endung, "html") || GleichOhneFallAscii(endung, "htm");
}

// For messages, which are Windows-1252 like every text of the core.
std::string Anzeige(const std::string& pfad) {
    return cp1252AusUtf8(pfad);
}

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

std::string ListeText(const Liste& liste) {
    std::string text;
    for (const auto& [pfad, e] : liste)
        text += e.sha + " " + std::to_string(e.groesse) + " " + pfad + "\n";
    return text;
}

// Lines that do not fit the form are skipped: their files count as unknown
// and go up again.
Liste ListeLesen(std::string_view text) {
    Liste liste;
    while (!text.empty()) {
        const auto ende = text.find('\n');
        const std::string_view zeile = text.substr(0, ende);
        text = ende == std::string_view::npos ? std::string_view() : text.substr(ende + 1);
        const auto a = zeile.find(' ');
        if (a != 64) continue;
        const auto b = zeile.find(' ', a + 1);
        if (b == std::string_view::npos || b == a + 1 || b + 1 >= zeile.size()) continue;
        Eintrag e;
        e.sha = std::string(zeile.substr(0, a));
        try {
            e.groesse = std::stoull(std::string(zeile.substr(a + 1, b - a - 1)));
        } catch (const std::exception&) {
            continue;
        }
        const std::string pfad(zeile.substr(b + 1));
        if (SchlichterPfad(pfad)) liste[pfad] = e;
    }
    return liste;
}

// The user's "Abbrechen": ends the publish where it stands.
struct Abgebrochen {};

// Every file below Neu but the hidden ones, each read once for its hash; the
// windows get their turn in between as during the upload.
Liste Sammeln(const std::string& lokal, const VeroeffentlichenBegleitung& begleitung) {
    auto zuletzt = Uhr::now();
    namespace fs = std::filesystem;
    Liste liste;
    std::error_code fehler;
    fs::recursive_directory_iterator it(lokal, fehler), ende;
    if (fehler) EAFehlerWerfen(kPfadNichtGefunden);
    std::string puffer(std::size_t{256} * 1024, '\0');
    for (; it != ende; it.increment(fehler)) {
        if (fehler) throw Fehler(W("Der Ordner kann nicht gelesen werden: ") + fehler.message());
        const std::string name = it->path().filename().string();
        if (name.starts_with('.')) {
            if (it->is_directory()) it.disable_recursion_pending();
            continue;
        }
        if (!it->is_regular_file()) continue;
        const std::string pfad = it->path().lexically_relative(lokal).generic_string();
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> datei(std::fopen(it->path().c_str(), "rb"),
                                                              &std::fclose);
        if (!datei) EAFehlerWerfen(EACodeAusErrno(errno, Anzeige(pfad)));
        Sha256 sha;
        Eintrag e;
        while (const std::size_t n = std::fread(puffer.data(), 1, puffer.size(), datei.get())) {
            sha.Dazu(puffer.data(), n);
            e.groesse += n;
            if (Uhr::now() - zuletzt < kTakt) continue;
            zuletzt = Uhr::now();
            if (begleitung.zwischenschritt) begleitung.zwischenschritt({0, 0, pfad});
            if (begleitung.abbrechen && begleitung.abbrechen()) throw Abgebrochen{};
        }
        if (std::ferror(datei.get())) EAFehlerWerfen(EACodeAusErrno(EIO, Anzeige(pfad)));
        e.sha = Hex(sha.Ende());
        liste[pfad] = e;
    }
    return liste;
}

// Bytes that go up: a file from the disk or a text in memory.
struct Quelle {
    std::FILE* datei = nullptr;
    std::string_view text;
    std::size_t gelesen = 0;
};

std::size_t QuelleLesen(char* ziel, std::size_t groesse, std::size_t anzahl, void* q) {
    auto& quelle = *static_cast<Quelle*>(q);
    const std::size_t n = groesse * anzahl;
    if (quelle.datei) {
        const std::size_t gelesen = std::fread(ziel, 1, n, quelle.datei);
        if (gelesen < n && std::ferror(quelle.datei)) return CURL_READFUNC_ABORT;
        return gelesen;
    }
    const std::size_t m = std::min(n, quelle.text.size() - quelle.gelesen);
    std::copy_n(quelle.text.data() + quelle.gelesen, m, ziel);
    quelle.gelesen += m;
    return m;
}

std::size_t Empfangen(char* daten, std::size_t groesse, std::size_t anzahl, void* ziel) {
    auto& text = *static_cast<std::string*>(ziel);
    const std::size_t n = groesse * anzahl;
    if (text.size() + n > kListeHoechstens) return 0;
    text.append(daten, n);
    return n;
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
    // The file's bytes; none when it does not exist.
    std::optional<std::string> Holen(const std::string& pfad);
    // Under the hidden name, then renamed into place; `ersetzt` when a file
    // of that name is online.
    void Hochladen(const std::string& pfad, Quelle& quelle, std::uint64_t groesse, bool ersetzt);
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
    void Befehle(const std::string& ordner, const std::vector<std::string>& befehle);

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

const Curl& CurlOderFehler() {
    const Curl* c = CurlLaden();
    if (!c) throw Fehler("Die Bibliothek libcurl kann nicht geladen werden");
    return *c;
}

Sitzung::Sitzung(const Zugang& zugang, Vertrauen& vertrauen, const VeroeffentlichenBegleitung& b,
                 const VeroeffentlichenGrenzen& grenzen)
    : zugang_(zugang),
      vertrauen_(vertrauen),
      begleitung_(b),
      grenzen_(grenzen),
      curl_(CurlOderFehler()) {
    multi_ = curl_.multi_init();
    h_ = curl_.easy_init();
    if (!multi_ || !h_) throw std::bad_alloc();

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
    if (!vertrauen.zertifikate.contains(Schluessel()))
        gepinnt_.clear();
    else
        gepinnt_ = vertrauen.zertifikate.at(Schluessel()).pin;
}

Sitzung::~Sitzung() {
    if (h_) curl_.easy_cleanup(h_);
    if (multi_) curl_.multi_cleanup(multi_);
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

int Sitzung::HostSchluesselPruefen(void* s, int, const char* key, std::size_t laenge) {
    auto& sitzung = *static_cast<Sitzung*>(s);
    try {
        sitzung.gesehenerSchluessel_ = SshFingerabdruck(std::string_view(key, laenge));
    } catch (...) {
        return CURLKHMATCH_MISMATCH;
    }
    const auto& bekannt = sitzung.vertrauen_.hostSchluessel;
    const auto it = bekannt.find(sitzung.Schluessel());
    return it != bekannt.end() && it->second == sitzung.gesehenerSchluessel_ ? CURLKHMATCH_OK
                                                                             : CURLKHMATCH_MISMATCH;
}

int Sitzung::Fortschritt(void* s, curl_off_t, curl_off_t, curl_off_t, curl_off_t hoch) {
    static_cast<Sitzung*>(s)->aktuell_ = static_cast<std::uint64_t>(hoch);
    return 0;
}

// The settings every request starts from.
void Sitzung::Zuruecksetzen() {
    const Curl& c = curl_;
    CURL* h = h_;
    const std::string benutzer = utf8AusCp1252(zugang_.benutzer);
    const std::string passwort = utf8AusCp1252(zugang_.passwort);
    c.easy_setopt(h, CURLOPT_USERNAME, benutzer.c_str());
    c.easy_setopt(h, CURLOPT_PASSWORD, passwort.c_str());
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
    c.easy_setopt(h, CURLOPT_XFERINFODATA, this);
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
        long arten = CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD;
        if (!zugang_.schluessel.empty()) {
            arten |= CURLSSH_AUTH_PUBLICKEY;
            const std::string privat = LokalerPfad(zugang_.schluessel);
            c.easy_setopt(h, CURLOPT_SSH_PRIVATE_KEYFILE, privat.c_str());
            const std::string oeffentlich = privat + ".pub";
            if (std::filesystem::is_regular_file(oeffentlich))
                c.easy_setopt(h, CURLOPT_SSH_PUBLIC_KEYFILE, oeffentlich.c_str());
            c.easy_setopt(h, CURLOPT_KEYPASSWD, passwort.c_str());
        }
        c.easy_setopt(h, CURLOPT_SSH_AUTH_TYPES, arten);
        c.easy_setopt(h, CURLOPT_SSH_HOSTKEYFUNCTION, &Sitzung::HostSchluesselPruefen);
        c.easy_setopt(h, CURLOPT_SSH_HOSTKEYDATA, this);
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
        // A certificate the user trusted is held by its key alone: the system's
        // store could not vouch for it in the first place.
        const bool pin = !gepinnt_.empty();
        c.easy_setopt(h, CURLOPT_SSL_VERIFYPEER, pin ? 0L : 1L);
        c.easy_setopt(h, CURLOPT_SSL_VERIFYHOST, pin ? 0L : 2L);
        c.easy_setopt(h, CURLOPT_PINNEDPUBLICKEY, pin ? gepinnt_.c_str() : nullptr);
    } else {
        c.easy_setopt(h, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_NONE));
    }
}

void Sitzung::Bedienen() {
    const auto jetzt = Uhr::now();
    if (jetzt - zuletztBedient_ < kTakt) return;
    zuletztBedient_ = jetzt;
    if (begleitung_.zwischenschritt) {
        VeroeffentlichenStand s = stand;
        s.gesendet += aktuell_;
        begleitung_.zwischenschritt(s);
    }
    if (!aufraeumen_ && begleitung_.abbrechen && begleitung_.abbrechen()) abgebrochen_ = true;
}

// libcurl's own loop would sleep up to a second while the data connection
// waits for the next round; this one only waits while libcurl has nothing due.
CURLcode Sitzung::Einmal() {
    aktuell_ = 0;
    if (curl_.multi_add_handle(multi_, h_) != CURLM_OK) return CURLE_FAILED_INIT;
    struct Abmelden {
        Sitzung& s;
        ~Abmelden() { s.curl_.multi_remove_handle(s.multi_, s.h_); }
    } abmelden{*this};
    for (;;) {
        int laufend = 0;
        if (curl_.multi_perform(multi_, &laufend) != CURLM_OK) return CURLE_FAILED_INIT;
        int weitere = 0;
        while (const CURLMsg* n = curl_.multi_info_read(multi_, &weitere))
            if (n->msg == CURLMSG_DONE && n->easy_handle == h_) return n->data.result;
        Bedienen();
        if (abgebrochen_) return CURLE_ABORTED_BY_CALLBACK;
        if (laufend == 0) return CURLE_FAILED_INIT;
        long frist = -1;
        curl_.multi_timeout(multi_, &frist);
        if (frist == 0) continue;
        const long kTaktMs = std::chrono::milliseconds(kTakt).count();
        curl_.multi_poll(multi_, nullptr, 0,
                         static_cast<int>(frist < 0 ? kTaktMs : std::min(frist, kTaktMs)), nullptr);
    }
}

bool Abgerissen(CURLcode e, long antwort) {
    switch (e) {
        case CURLE_SEND_ERROR:
        case CURLE_RECV_ERROR:
        case CURLE_PARTIAL_FILE:
        case CURLE_GOT_NOTHING:
        case CURLE_OPERATION_TIMEDOUT:
        case CURLE_SSH:
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

CURLcode Sitzung::Lauf(const std::string& url, Art art, const std::function<void()>& vorbereiten) {
    int versuche = 0;
    for (;;) {
        Zuruecksetzen();
        curl_.easy_setopt(h_, CURLOPT_URL, url.c_str());
        if (art == Art::Liste) curl_.easy_setopt(h_, CURLOPT_DIRLISTONLY, 1L);
        if (art == Art::Befehle) curl_.easy_setopt(h_, CURLOPT_NOBODY, 1L);
        if (art == Art::Hochladen) {
            curl_.easy_setopt(h_, CURLOPT_UPLOAD, 1L);
            // Folders are made on the way up only: reading touches nothing.
            curl_.easy_setopt(h_, CURLOPT_FTP_CREATE_MISSING_DIRS,
                              static_cast<long>(CURLFTP_CREATE_DIR_RETRY));
        }
        vorbereiten();
        gesehenerSchluessel_.clear();
        const CURLcode e = Einmal();
        curl_.easy_setopt(h_, CURLOPT_FRESH_CONNECT, 0L);
        if (e == CURLE_OK) {
            verbunden_ = true;
            gebrochen_ = false;
            return e;
        }
        if (abgebrochen_) {
            abgebrochen_ = false;
            throw Abgebrochen{};
        }
        if (VertrauenKlaeren(e)) continue;
        long antwort = 0;
        curl_.easy_getinfo(h_, CURLINFO_RESPONSE_CODE, &antwort);
        if (Abgerissen(e, antwort)) {
            gebrochen_ = true;
            if (verbunden_ && !aufraeumen_ && versuche < grenzen_.wiederholungen) {
                ++versuche;
                curl_.easy_setopt(h_, CURLOPT_FRESH_CONNECT, 1L);
                continue;
            }
        }
        return e;
    }
}

// True when the user trusted the server just now, so that the request goes
// again; a refused or changed key ends the publish.
bool Sitzung::VertrauenKlaeren(CURLcode e) {
    const std::string wer = "\"" + zugang_.server + "\"";
    const std::string hinweis =
        W("\n\nWenn der Anbieter ihn erneuert hat, löschen Sie den Eintrag für ") + wer +
        W(" in der Datei Veroeffentlichen.ini neben dem Ordner Neu.");
    auto fragen = [&](const std::string& frage) {
        if (begleitung_.fragen && begleitung_.fragen(frage)) return;
        throw Hinweis(
            W("Der Server wurde nicht bestätigt; es wurde nichts weiter veröffentlicht."));
    };
    if (zugang_.protokoll == Protokoll::SFTP) {
        if (e != CURLE_PEER_FAILED_VERIFICATION || gesehenerSchluessel_.empty()) return false;
        const auto it = vertrauen_.hostSchluessel.find(Schluessel());
        if (it != vertrauen_.hostSchluessel.end())
            throw Fehler(W("Der Schlüssel des Servers ") + wer +
                         W(" hat sich geändert. Das kann ein Angriff sein; es wird nichts "
                           "veröffentlicht.\n\nBisher: ") +
                         it->second + W("\nJetzt: ") + gesehenerSchluessel_ + hinweis);
        const std::string neu = gesehenerSchluessel_;
        fragen(W("Der Server ") + wer +
               W(" ist noch unbekannt. Sein Schlüssel hat den "
                 "Fingerabdruck\n\n") +
               neu + W("\n\nIst das Ihr Server? Mit \"Ja\" wird er sich gemerkt."));
        vertrauen_.hostSchluessel[Schluessel()] = neu;
        return true;
    }
    if (zugang_.protokoll != Protokoll::FTPS) return false;
    if (e != CURLE_PEER_FAILED_VERIFICATION && e != CURLE_SSL_PINNEDPUBKEYNOTMATCH) return false;
    // The certificate as the server shows it. When the store refused it, a
    // second handshake with a pin that cannot match fetches it; that one ends
    // before the user name is sent.
    auto zertifikat = [&]() -> std::string {
        curl_certinfo* info = nullptr;
        curl_.easy_getinfo(h_, CURLINFO_CERTINFO, &info);
        if (!info || info->num_of_certs < 1) return {};
        for (curl_slist* z = info->certinfo[0]; z; z = z->next)
            if (std::string_view(z->data).starts_with("Cert:")) return DerAusPem(z->data + 5);
        return {};
    };
    std::string der;
    if (e == CURLE_SSL_PINNEDPUBKEYNOTMATCH && !gepinnt_.empty()) {
        der = zertifikat();
        const auto& alt = vertrauen_.zertifikate.at(Schluessel());
        throw Fehler(W("Das Zertifikat des Servers ") + wer +
                     W(" hat sich geändert. Das kann ein Angriff sein; es wird nichts "
                       "veröffentlicht.\n\nBisher: ") +
                     alt.fingerabdruck + W("\nJetzt: ") +
                     (der.empty() ? std::string("?") : ZertifikatFingerabdruck(der)) + hinweis);
    }
    if (e != CURLE_PEER_FAILED_VERIFICATION) return false;
    gepinnt_ = "sha256//AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA=";
    Zuruecksetzen();
    gepinnt_.clear();
    curl_.easy_setopt(h_, CURLOPT_CONNECT_ONLY, 1L);
    const CURLcode probe = Einmal();
    curl_.easy_setopt(h_, CURLOPT_CONNECT_ONLY, 0L);
    if (abgebrochen_) {
        abgebrochen_ = false;
        throw Abgebrochen{};
    }
    if (probe == CURLE_SSL_PINNEDPUBKEYNOTMATCH) der = zertifikat();
    const std::string pin = der.empty() ? std::string() : PinDesSchluessels(der);
    if (pin.empty())
        throw Fehler(W("Das Zertifikat des Servers ") + wer + W(" kann nicht geprüft werden"));
    const std::string fingerabdruck = ZertifikatFingerabdruck(der);
    fragen(W("Das Zertifikat des Servers ") + wer +
           W(" kann nicht mit den Zertifikaten dieses Systems bestätigt werden. Sein "
             "SHA-256-Fingerabdruck:\n\n") +
           fingerabdruck + W("\n\nIst das Ihr Server? Mit \"Ja\" wird das Zertifikat gemerkt."));
    vertrauen_.zertifikate[Schluessel()] = {fingerabdruck, pin};
    gepinnt_ = pin;
    return true;
}

void Sitzung::Werfen(CURLcode e, const std::string& pfad) {
    long antwort = 0;
    curl_.easy_getinfo(h_, CURLINFO_RESPONSE_CODE, &antwort);
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
    if (Abgerissen(e, antwort) || (e == CURLE_COULDNT_CONNECT))
        throw Fehler(W("Die Verbindung zum Server ist abgebrochen") + datei + ": " +
                     curl_.easy_strerror(e) +
                     W(". Was schon oben ist, bleibt; das nächste Veröffentlichen "
                       "setzt dort fort"));
    throw Fehler(W("Veröffentlichen fehlgeschlagen") + datei + ": " + curl_.easy_strerror(e) +
                 (antwort ? " (" + std::to_string(antwort) + ")" : std::string()));
}

std::set<std::string> Sitzung::Auflisten(const std::string& ordner) {
    std::string text;
    const CURLcode e = Lauf(Url(ordner.empty() ? ordner : ordner + "/"), Art::Liste, [&] {
        text.clear();
        curl_.easy_setopt(h_, CURLOPT_WRITEFUNCTION, &Empfangen);
        curl_.easy_setopt(h_, CURLOPT_WRITEDATA, &text);
    });
    std::set<std::string> namen;
    if (e != CURLE_OK) {
        // A folder that does not exist yet: nothing in it.
        if (e == CURLE_REMOTE_FILE_NOT_FOUND || e == CURLE_REMOTE_ACCESS_DENIED ||
            e == CURLE_FTP_COULDNT_RETR_FILE)
            return namen;
        Werfen(e, ordner);
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

std::optional<std::string> Sitzung::Holen(const std::string& pfad) {
    std::string text;
    const CURLcode e = Lauf(Url(pfad), Art::Holen, [&] {
        text.clear();
        curl_.easy_setopt(h_, CURLOPT_WRITEFUNCTION, &Empfangen);
        curl_.easy_setopt(h_, CURLOPT_WRITEDATA, &text);
    });
    // A folder that does not exist yet (FTP cannot change into it) has no list.
    if (e == CURLE_REMOTE_FILE_NOT_FOUND || e == CURLE_REMOTE_ACCESS_DENIED) return std::nullopt;
    if (e != CURLE_OK) Werfen(e, pfad);
    return text;
}

void Sitzung::Befehle(const std::string& ordner, const std::vector<std::string>& befehle) {
    Befehlsliste liste(curl_);
    for (const auto& b : befehle) liste.Dazu(b);
    std::string weg;
    const CURLcode e = Lauf(Url(ordner.empty() ? ordner : ordner + "/"), Art::Befehle, [&] {
        // FTP sends the commands before it changes into the folder, and the
        // ones after the request once it is there.
        curl_.easy_setopt(h_,
                          zugang_.protokoll == Protokoll::SFTP ? CURLOPT_QUOTE : CURLOPT_POSTQUOTE,
                          liste.liste);
        curl_.easy_setopt(h_, CURLOPT_WRITEFUNCTION, &Empfangen);
        curl_.easy_setopt(h_, CURLOPT_WRITEDATA, &weg);
    });
    if (e != CURLE_OK) Werfen(e, ordner);
}

void Sitzung::Hochladen(const std::string& pfad, Quelle& quelle, std::uint64_t groesse,
                        bool ersetzt) {
    const std::string temp = TempName(pfad);
    const bool sftp = zugang_.protokoll == Protokoll::SFTP;
    Befehlsliste danach(curl_);
    if (sftp) {
        // OpenSSH's server renames onto no existing file: the old one goes just before.
        if (ersetzt) danach.Dazu("*rm " + SftpPfad(pfad));
        danach.Dazu("rename " + SftpPfad(temp) + " " + SftpPfad(pfad));
    } else {
        danach.Dazu("RNFR " + Name(temp));
        danach.Dazu("RNTO " + Name(pfad));
    }
    stand.datei = pfad;
    const CURLcode e = Lauf(Url(temp), Art::Hochladen, [&] {
        if (quelle.datei) std::rewind(quelle.datei);
        quelle.gelesen = 0;
        curl_.easy_setopt(h_, CURLOPT_READFUNCTION, &QuelleLesen);
        curl_.easy_setopt(h_, CURLOPT_READDATA, &quelle);
        curl_.easy_setopt(h_, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(groesse));
        curl_.easy_setopt(h_, CURLOPT_POSTQUOTE, danach.liste);
    });
    if (e == CURLE_QUOTE_ERROR && !sftp && ersetzt) {
        // A server that renames onto no existing file: the old one goes just before.
        Befehle(Ordner(pfad), {"DELE " + Name(pfad), "RNFR " + Name(temp), "RNTO " + Name(pfad)});
    } else if (e != CURLE_OK) {
        Werfen(e, pfad);
    }
    stand.gesendet += groesse;
}

void Sitzung::Loeschen(const std::string& pfad) {
    if (zugang_.protokoll == Protokoll::SFTP)
        Befehle(Ordner(pfad), {"*rm " + SftpPfad(pfad)});
    else
        Befehle(Ordner(pfad), {"*DELE " + Name(pfad)});
}

}  // namespace

int StandardPort(Protokoll protokoll) {
    return protokoll == Protokoll::SFTP ? 22 : 21;
}

namespace {
VeroeffentlichenBericht Abgleichen(Sitzung& sitzung, const std::string& lokal,
                                   const Liste& dateien);
}  // namespace

VeroeffentlichenBericht Veroeffentlichen(const std::string& neu, const Zugang& zugang,
                                         Vertrauen& vertrauen,
                                         const VeroeffentlichenBegleitung& begleitung,
                                         const VeroeffentlichenGrenzen& grenzen) {
    const std::string lokal = LokalerPfad(neu);
    try {
        const Liste dateien = Sammeln(lokal, begleitung);
        Sitzung sitzung(zugang, vertrauen, begleitung, grenzen);
        return Abgleichen(sitzung, lokal, dateien);
    } catch (const Abgebrochen&) {
        // Stopped before anything went up.
        VeroeffentlichenBericht bericht;
        bericht.abgebrochen = true;
        return bericht;
    }
}

namespace {

VeroeffentlichenBericht Abgleichen(Sitzung& sitzung, const std::string& lokal,
                                   const Liste& dateien) {
    const std::optional<std::string> alterText = sitzung.Holen(kDateiliste);
    const std::optional<Liste> alte =
        alterText ? std::optional<Liste>(ListeLesen(*alterText)) : std::nullopt;

    // What is on the server, in every folder that the site has or had.
    std::set<std::string> ordner{""};
    for (const auto& [pfad, e] : dateien) ordner.insert(Ordner(pfad));
    if (alte)
        for (const auto& [pfad, e] : *alte) ordner.insert(Ordner(pfad));
    std::set<std::string> vorhanden;
    for (const std::string& o : ordner)
        for (const std::string& name : sitzung.Auflisten(o)) vorhanden.insert(Darin(o, name));

    // What the list may name: the files online as the last publish left them.
    Liste online;
    if (alte)
        for (const auto& [pfad, e] : *alte)
            if (vorhanden.contains(pfad)) online[pfad] = e;

    // Pictures and stylesheets before the pages that name them.
    std::vector<std::string> hoch;
    for (const bool seiten : {false, true})
        for (const auto& [pfad, e] : dateien) {
            if (IstSeite(pfad) != seiten) continue;
            const auto alt = online.find(pfad);
            if (alt == online.end() || alt->second != e) hoch.push_back(pfad);
        }
    std::vector<std::string> weg;
    if (alte)
        for (const auto& [pfad, e] : *alte)
            if (!dateien.contains(pfad)) weg.push_back(pfad);
    for (const auto& pfad : hoch) sitzung.stand.gesamt += dateien.at(pfad).groesse;

    VeroeffentlichenBericht bericht;
    auto listeSchreiben = [&] {
        const std::string text = ListeText(online);
        if (alterText && *alterText == text) return;
        Quelle quelle;
        quelle.text = text;
        sitzung.Hochladen(kDateiliste, quelle, text.size(), alterText.has_value());
        bericht.hochgeladen.push_back(kDateiliste);
    };
    std::string unterwegs;
    // The hidden file of a transfer that did not finish.
    auto aufraeumen = [&] {
        sitzung.Aufraeumen();
        if (!unterwegs.empty()) sitzung.Loeschen(TempName(unterwegs));
        listeSchreiben();
    };
    try {
        for (const auto& pfad : hoch) {
            unterwegs = pfad;
            std::unique_ptr<std::FILE, int (*)(std::FILE*)> datei(
                std::fopen((lokal + "/" + pfad).c_str(), "rb"), &std::fclose);
            if (!datei) EAFehlerWerfen(EACodeAusErrno(errno, Anzeige(pfad)));
            Quelle quelle;
            quelle.datei = datei.get();
            sitzung.Hochladen(pfad, quelle, dateien.at(pfad).groesse, vorhanden.contains(pfad));
            unterwegs.clear();
            online[pfad] = dateien.at(pfad);
            bericht.hochgeladen.push_back(pfad);
        }
        for (const auto& pfad : weg) {
            if (vorhanden.contains(pfad)) {
                sitzung.Loeschen(pfad);
                bericht.geloescht.push_back(pfad);
            }
            online.erase(pfad);
        }
        listeSchreiben();
    } catch (const Abgebrochen&) {
        aufraeumen();
        bericht.abgebrochen = true;
    } catch (const Fehler&) {
        // The list names what is online, as far as the connection still
        // lets it be written; a list not written names old versions at worst,
        // which the next publish replaces.
        if (!sitzung.Gebrochen()) {
            try {
                aufraeumen();
            } catch (const Fehler&) {
            } catch (const Abgebrochen&) {
            }
        }
        throw;
    }
    return bericht;
}

}  // namespace

std::string EinstellungenPfad(const std::string& zielordner) {
    return zielordner + "/Veroeffentlichen.ini";
}

namespace {

constexpr std::pair<Protokoll, const char*> kProtokolle[] = {
    {Protokoll::SFTP, "SFTP"}, {Protokoll::FTPS, "FTPS"}, {Protokoll::FTP, "FTP"}};

}  // namespace

VeroeffentlichenEinstellungen EinstellungenLesen(const std::string& pfad) {
    VeroeffentlichenEinstellungen e;
    if (!DateiExistiert(pfad)) return e;
    const std::string text = DateiLesenGanz(pfad);
    std::string_view rest = text;
    std::string abschnitt;
    while (!rest.empty()) {
        const auto ende = rest.find('\n');
        std::string_view zeile = rest.substr(0, ende);
        rest = ende == std::string_view::npos ? std::string_view() : rest.substr(ende + 1);
        if (zeile.ends_with('\r')) zeile.remove_suffix(1);
        if (zeile.starts_with('[') && zeile.ends_with(']')) {
            abschnitt = std::string(zeile.substr(1, zeile.size() - 2));
            continue;
        }
        const auto gleich = zeile.find('=');
        if (gleich == std::string_view::npos) continue;
        const std::string name(zeile.substr(0, gleich));
        const std::string wert(zeile.substr(gleich + 1));
        Zugang& z = e.zugang;
        if (abschnitt == "Veroeffentlichen") {
            if (name == "Protokoll") {
                for (const auto& [p, n] : kProtokolle)
                    if (wert == n) z.protokoll = p;
            } else if (name == "Server") {
                z.server = wert;
            } else if (name == "Port") {
                try {
                    z.port = std::stoi(wert);
                } catch (const std::exception&) {
                }
            } else if (name == "Benutzer") {
                z.benutzer = wert;
            } else if (name == "Schluessel") {
                z.schluessel = wert;
            } else if (name == "Ordner") {
                z.ordner = wert;
            }
        } else if (abschnitt == "Hostschluessel") {
            e.vertrauen.hostSchluessel[name] = wert;
        } else if (abschnitt == "Zertifikate") {
            const auto leer = wert.find(' ');
            if (leer != std::string::npos)
                e.vertrauen.zertifikate[name] = {wert.substr(0, leer), wert.substr(leer + 1)};
        }
    }
    return e;
}

void EinstellungenSchreiben(const std::string& pfad, const VeroeffentlichenEinstellungen& e) {
    // One line each: a line break typed into a field must not start another.
    auto zeile = [](std::string_view name, std::string wert) {
        std::erase_if(wert, [](char c) { return c == '\r' || c == '\n'; });
        return std::string(name) + "=" + wert + "\r\n";
    };
    const Zugang& z = e.zugang;
    std::string text = "[Veroeffentlichen]\r\n";
    for (const auto& [p, n] : kProtokolle)
        if (p == z.protokoll) text += zeile("Protokoll", n);
    text += zeile("Server", z.server) + zeile("Port", std::to_string(z.port)) +
            zeile("Benutzer", z.benutzer) + zeile("Schluessel", z.schluessel) +
            zeile("Ordner", z.ordner);
    text += "\r\n[Hostschluessel]\r\n";
    for (const auto& [wer, schluessel] : e.vertrauen.hostSchluessel) text += zeile(wer, schluessel);
    text += "\r\n[Zertifikate]\r\n";
    for (const auto& [wer, zert] : e.vertrauen.zertifikate)
        text += zeile(wer, zert.fingerabdruck + " " + zert.pin);
    TextSchreiben(pfad, text);
}

bool StartseiteFehlt(const std::string& neu) {
    return !DateiExistiert(neu + "/index.html");
}

void StartseiteAnlegen(const std::string& neu, const std::string& ersteSeite) {
    const std::string ziel = AttributWert(ersteSeite);
    const std::string text = std::string(kSeitenAnfang) +
                             "    <meta http-equiv=\"refresh\" content=\"0; url=" + ziel +
                             "\" />\r\n"
                             "    <title>Meine Homepage</title>\r\n"
                             "  </head>\r\n"
                             "  <body>\r\n"
                             "    <p><a href=\"" +
                             ziel + "\">" + W("Weiter zur Startseite") +
                             "</a></p>\r\n"
                             "  </body>\r\n"
                             "</html>\r\n";
    TextSchreiben(neu + "/index.html", text);
}

}  // namespace lw
