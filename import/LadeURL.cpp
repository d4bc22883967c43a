#include "import/LadeURL.h"

#include "common/Curl.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <memory>
#include <utility>

namespace lw {
namespace {

constexpr const char* kBenutzerAgent = "InetURL:/1.0";

// The longest wait inside libcurl between two calls of the Zwischenschritt,
// so that the windows keep repainting while a server is slow or silent.
constexpr int kWarteHoechstensMs = 100;

// Content-Length is the server's claim, not a promise: room beyond this is
// only made as the bytes really arrive.
constexpr std::size_t kVorabHoechstens = std::size_t{16} * 1024 * 1024;

// The bodies of these answers are the page; every other code is reported.
bool KoerperLesen(long status) {
    return status == 200 || status == 302;
}

// What the write call-back of the running request works with.
struct Empfang {
    const Curl* curl = nullptr;
    CURL* handle = nullptr;
    std::string* ziel = nullptr;
    std::size_t hoechstGroesse = 0;
    bool reserviert = false;
    // Header and body bytes of the request, redirections included.
    std::size_t empfangen = 0;
    std::exception_ptr fehler;
};

std::size_t KopfEmpfangen(char*, std::size_t groesse, std::size_t anzahl, void* ziel) {
    static_cast<Empfang*>(ziel)->empfangen += groesse * anzahl;
    return groesse * anzahl;
}

// Returning fewer bytes than offered ends the transfer; what arrived stays.
std::size_t KoerperEmpfangen(char* daten, std::size_t groesse, std::size_t anzahl, void* ziel) {
    auto& empfang = *static_cast<Empfang*>(ziel);
    const std::size_t n = groesse * anzahl;
    empfang.empfangen += n;
    long status = 0;
    empfang.curl->easy_getinfo(empfang.handle, CURLINFO_RESPONSE_CODE, &status);
    if (!KoerperLesen(status)) return 0;
    // Nothing may leave this function by exception: it is called from C.
    try {
        std::string& koerper = *empfang.ziel;
        if (!empfang.reserviert) {
            empfang.reserviert = true;
            curl_off_t laenge = -1;
            empfang.curl->easy_getinfo(empfang.handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &laenge);
            if (laenge > 0)
                koerper.reserve(std::min(
                    {static_cast<std::size_t>(laenge), empfang.hoechstGroesse, kVorabHoechstens}));
        }
        const std::size_t platz = empfang.hoechstGroesse - koerper.size();
        koerper.append(daten, std::min(n, platz));
        if (n > platz) return 0;
    } catch (...) {
        empfang.fehler = std::current_exception();
        return 0;
    }
    return n;
}

// Page names such as "Neue Seite.html" or umlauts reach the address as they
// stand in the menu. libcurl refuses a blank and would send bytes beyond
// ASCII raw; browsers send both percent-encoded.
std::string AdresseKodiert(const std::string& url) {
    std::string adresse;
    for (const char c : AdresseMitSchema(url)) {
        const auto b = static_cast<unsigned char>(c);
        if (b == ' ' || b >= 0x80) {
            constexpr char kHex[] = "0123456789ABCDEF";
            adresse += {'%', kHex[b >> 4], kHex[b & 0xF]};
        } else {
            adresse += c;
        }
    }
    return adresse;
}

}  // namespace

std::string AdresseMitSchema(const std::string& url) {
    std::string klein = url;
    for (char& c : klein)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return klein.find("http://") == std::string::npos ? "http://" + url : url;
}

struct LadeSitzung::Zustand {
    Zwischenschritt zwischenschritt;
    LadeGrenzen grenzen;
    Abbruchfrage abbrechen;
    // Made with the first request, so that a session alone loads no library.
    const Curl* curl = nullptr;
    CURLM* multi = nullptr;
    CURL* handle = nullptr;
    curl_slist* kopfzeilen = nullptr;
    Empfang empfang;
    bool laeuft = false;
    bool vollstaendig = false;

    ~Zustand() {
        if (!curl) return;
        // The connections live in the multi handle's cache: they close here.
        if (handle) curl->easy_cleanup(handle);
        if (multi) curl->multi_cleanup(multi);
        if (kopfzeilen) curl->slist_free_all(kopfzeilen);
    }

    bool Bereit();
    bool Uebertragen(const std::string& url, std::size_t hoechstGroesse, std::string& ziel,
                     bool& ganz);
};

// The options that stay the same for every request of the session.
bool LadeSitzung::Zustand::Bereit() {
    if (handle) return true;
    if (!curl && !(curl = CurlLaden())) return false;
    if (!multi && !(multi = curl->multi_init())) return false;

    // Every page fresh from the server, never from a cache on the way.
    if (!kopfzeilen) {
        curl_slist* kopf = curl->slist_append(nullptr, "Cache-Control: no-cache");
        if (!kopf) return false;
        curl_slist* mehr = curl->slist_append(kopf, "Pragma: no-cache");
        if (!mehr) {
            curl->slist_free_all(kopf);
            return false;
        }
        kopfzeilen = mehr;
    }

    CURL* h = curl->easy_init();
    if (!h) return false;
    empfang.curl = curl;
    empfang.handle = h;
    const long verbindungMs =
        std::max<long>(1, static_cast<long>(grenzen.verbindungsFrist.count()));
    const long stillstandS = std::max<long>(1, static_cast<long>(grenzen.stillstandsFrist.count()));

    // No proxy option is set: libcurl then takes the system's one from
    // http_proxy and no_proxy. No cookie file is named, so no cookies are kept.
    const CURLcode einstellungen[] = {
        curl->easy_setopt(h, CURLOPT_HTTPGET, 1L),
        curl->easy_setopt(h, CURLOPT_USERAGENT, kBenutzerAgent),
        curl->easy_setopt(h, CURLOPT_HTTPHEADER, kopfzeilen),
        curl->easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L),
        curl->easy_setopt(h, CURLOPT_MAXREDIRS, 5L),
        // A redirection must not lead to local files or other protocols.
        curl->easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https"),
        curl->easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https"),
        curl->easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, verbindungMs),
        curl->easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L),
        curl->easy_setopt(h, CURLOPT_LOW_SPEED_TIME, stillstandS),
        curl->easy_setopt(h, CURLOPT_NOSIGNAL, 1L),
        // The bytes as the server sent them.
        curl->easy_setopt(h, CURLOPT_HTTP_CONTENT_DECODING, 0L),
        curl->easy_setopt(h, CURLOPT_WRITEFUNCTION, &KoerperEmpfangen),
        curl->easy_setopt(h, CURLOPT_WRITEDATA, &empfang),
        curl->easy_setopt(h, CURLOPT_HEADERFUNCTION, &KopfEmpfangen),
        curl->easy_setopt(h, CURLOPT_HEADERDATA, &empfang),
    };
    for (const CURLcode e : einstellungen) {
        if (e != CURLE_OK) {
            curl->easy_cleanup(h);
            return false;
        }
    }
    handle = h;
    return true;
}

// False when no HTTP status came back or the Abbruchfrage stopped the
// transfer; `ziel` then holds whatever arrived.
bool LadeSitzung::Zustand::Uebertragen(const std::string& url, std::size_t hoechstGroesse,
                                       std::string& ziel, bool& ganz) {
    ziel.clear();
    if (!Bereit()) return false;
    const std::string adresse = AdresseKodiert(url);
    if (curl->easy_setopt(handle, CURLOPT_URL, adresse.c_str()) != CURLE_OK) return false;
    empfang.ziel = &ziel;
    empfang.hoechstGroesse = hoechstGroesse;
    empfang.reserviert = false;
    empfang.empfangen = 0;
    empfang.fehler = nullptr;

    if (curl->multi_add_handle(multi, handle) != CURLM_OK) return false;
    // However the transfer ends, also by an exception of the Zwischenschritt:
    // the handle leaves the multi handle, which closes an unfinished
    // connection instead of keeping it for the next request.
    struct Abmelden {
        Zustand& z;
        ~Abmelden() {
            z.curl->multi_remove_handle(z.multi, z.handle);
            z.empfang.ziel = nullptr;
        }
    } abmelden{*this};

    // libcurl's own speed check averages over several seconds, so a server
    // that falls silent after its first bytes would be waited for that much
    // longer than the bound; silence is timed here from the last byte.
    using Uhr = std::chrono::steady_clock;
    auto zuletztEmpfangen = Uhr::now();
    std::size_t bisher = 0;

    // A failed transfer is judged by what it left: no status means no page,
    // a body that broke off keeps what arrived. The windows get their turn
    // at least once per request, however fast it is.
    // Only libcurl's verdict tells a body that ended at its Content-Length
    // from one whose connection closed early.
    bool fertig = false;
    CURLcode ausgang = CURLE_OK;
    bool abgebrochen = false;
    for (;;) {
        int laufend = 0;
        if (curl->multi_perform(multi, &laufend) != CURLM_OK || empfang.fehler) break;
        int weitere = 0;
        while (const CURLMsg* nachricht = curl->multi_info_read(multi, &weitere)) {
            if (nachricht->msg == CURLMSG_DONE && nachricht->easy_handle == handle) {
                fertig = true;
                ausgang = nachricht->data.result;
            }
        }
        if (empfang.empfangen != bisher) {
            bisher = empfang.empfangen;
            zuletztEmpfangen = Uhr::now();
        } else if (bisher > 0 && Uhr::now() - zuletztEmpfangen >= grenzen.stillstandsFrist) {
            break;
        }
        if (zwischenschritt) zwischenschritt();
        // Asked after the windows had their turn, where the user answers.
        if (abbrechen && abbrechen()) {
            abgebrochen = true;
            break;
        }
        if (laufend == 0) break;
        if (curl->multi_poll(multi, nullptr, 0, kWarteHoechstensMs, nullptr) != CURLM_OK) break;
    }
    if (empfang.fehler) std::rethrow_exception(empfang.fehler);
    if (abgebrochen) return false;
    long status = 0;
    curl->easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    if (status == 0) return false;
    // The body of another status is not read, so its end is not waited for.
    ganz = fertig && (ausgang == CURLE_OK || !KoerperLesen(status));
    if (!KoerperLesen(status)) ziel = "Status:" + std::to_string(status);
    return true;
}

LadeSitzung::LadeSitzung(Zwischenschritt zwischenschritt, LadeGrenzen grenzen,
                         Abbruchfrage abbrechen)
    : zustand_(std::make_unique<Zustand>()) {
    zustand_->zwischenschritt = std::move(zwischenschritt);
    zustand_->grenzen = grenzen;
    zustand_->abbrechen = std::move(abbrechen);
}

LadeSitzung::~LadeSitzung() = default;

std::string LadeSitzung::Laden(const std::string& url) {
    return Laden(url, zustand_->grenzen.hoechstGroesse);
}

// A fresh text reserved from Content-Length costs no more than copying out of
// a kept buffer; callers that keep their own buffer use the overloads below.
std::string LadeSitzung::Laden(const std::string& url, std::size_t hoechstGroesse) {
    std::string seite;
    Laden(url, hoechstGroesse, seite);
    return seite;
}

void LadeSitzung::Laden(const std::string& url, std::string& ziel) {
    Laden(url, zustand_->grenzen.hoechstGroesse, ziel);
}

void LadeSitzung::Laden(const std::string& url, std::size_t hoechstGroesse, std::string& ziel) {
    Zustand& z = *zustand_;
    z.vollstaendig = false;
    // The Zwischenschritt lets the windows run, and they may start a download
    // of their own: that one gets a session of its own.
    if (z.laeuft) {
        LadeSitzung eigene(z.zwischenschritt, z.grenzen, z.abbrechen);
        eigene.Laden(url, hoechstGroesse, ziel);
        z.vollstaendig = eigene.LetzteVollstaendig();
        return;
    }
    z.laeuft = true;
    struct Ende {
        bool& laeuft;
        ~Ende() { laeuft = false; }
    } ende{z.laeuft};
    bool vollstaendig = false;
    if (!z.Uebertragen(url, hoechstGroesse, ziel, vollstaendig)) ziel.clear();
    // Set here, after any download the windows started in between.
    z.vollstaendig = vollstaendig;
}

bool LadeSitzung::LetzteVollstaendig() const {
    return zustand_->vollstaendig;
}

std::string LadeURL(const std::string& url, const Zwischenschritt& zwischenschritt) {
    return LadeURL(url, zwischenschritt, LadeGrenzen{});
}

std::string LadeURL(const std::string& url, const Zwischenschritt& zwischenschritt,
                    const LadeGrenzen& grenzen) {
    LadeSitzung sitzung(zwischenschritt, grenzen);
    std::string seite;
    sitzung.Laden(url, seite);
    return seite;
}

}  // namespace lw
