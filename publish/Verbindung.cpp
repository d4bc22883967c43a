#include "publish/Verbindung.h"

#include <algorithm>
#include <filesystem>
#include <memory>
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

}  // namespace

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

namespace {

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

}  // namespace

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

bool Sitzung::Holen(const std::string& pfad, ListenLeser& leser) {
    const CURLcode e = Lauf(Url(pfad), Art::Holen, [&] {
        leser.Anfang();
        curl_.easy_setopt(h_, CURLOPT_WRITEFUNCTION, &ListeEmpfangen);
        curl_.easy_setopt(h_, CURLOPT_WRITEDATA, &leser);
    });
    // A folder that does not exist yet (FTP cannot change into it) has no list.
    if (e == CURLE_REMOTE_FILE_NOT_FOUND || e == CURLE_REMOTE_ACCESS_DENIED) return false;
    // The reader gave up a list too large; it knows.
    if (e != CURLE_OK && e != CURLE_WRITE_ERROR) Werfen(e, pfad);
    return true;
}

void Sitzung::Befehle(const std::string& ordner, const std::vector<std::string>& befehle,
                      const std::string& fuer) {
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
    if (e != CURLE_OK) Werfen(e, fuer.empty() ? ordner : fuer);
}

bool Sitzung::Hochladen(const std::string& pfad, Quelle& quelle, std::uint64_t groesse,
                        bool ersetzt) {
    const std::string temp = TempName(pfad);
    const std::string alt = AltName(pfad);
    const std::string ordner = Ordner(pfad);
    const bool sftp = zugang_.protokoll == Protokoll::SFTP;
    Befehlsliste danach(curl_);
    if (sftp) {
        // OpenSSH renames onto no existing file, and libcurl offers no
        // posix-rename: the old file steps aside until the new one has its
        // place. Each step may go again after a broken connection.
        if (ersetzt) danach.Dazu("*rename " + SftpPfad(pfad) + " " + SftpPfad(alt));
        danach.Dazu("rename " + SftpPfad(temp) + " " + SftpPfad(pfad));
        if (ersetzt) danach.Dazu("*rm " + SftpPfad(alt));
    } else {
        // Over FTP, most servers rename onto the old file in one step.
        danach.Dazu("RNFR " + Name(temp));
        danach.Dazu("RNTO " + Name(pfad));
    }
    stand.datei = pfad;
    const CURLcode e = Lauf(Url(temp), Art::Hochladen, [&] {
        quelle.Zurueck();
        curl_.easy_setopt(h_, CURLOPT_READFUNCTION, &Quelle::Lesen);
        curl_.easy_setopt(h_, CURLOPT_READDATA, &quelle);
        curl_.easy_setopt(h_, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(groesse));
        curl_.easy_setopt(h_, CURLOPT_POSTQUOTE, danach.liste);
    });
    if (e == CURLE_ABORTED_BY_CALLBACK && quelle.Geaendert()) return false;
    if (e == CURLE_QUOTE_ERROR && ersetzt) {
        try {
            if (sftp) Werfen(e, pfad);
            // An FTP server that renames onto no existing file: the old one
            // steps aside as over SFTP, one left from a cut gone first.
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
    } else if (e != CURLE_OK) {
        Werfen(e, pfad);
    }
    stand.gesendet += groesse;
    return true;
}

void Sitzung::Loeschen(const std::string& pfad) {
    if (zugang_.protokoll == Protokoll::SFTP)
        Befehle(Ordner(pfad), {"*rm " + SftpPfad(pfad)});
    else
        Befehle(Ordner(pfad), {"*DELE " + Name(pfad)});
}

}  // namespace lw::veroeffentlichung
