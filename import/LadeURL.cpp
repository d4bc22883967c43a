#include "import/LadeURL.h"

#include <curl/curl.h>
#include <dlfcn.h>

#include <algorithm>
#include <exception>
#include <memory>
#include <utility>

namespace lw {
namespace {

constexpr const char* kBenutzerAgent = "InetURL:/1.0";

// libcurl brings some thirty libraries (TLS, Kerberos, LDAP, ...) whose
// loading costs every start of the program time and memory, while only the
// import of a provider homepage downloads anything. It is loaded with the
// first download; the header gives the types and constants only.
struct Curl {
    decltype(&curl_global_init) global_init = nullptr;
    decltype(&curl_easy_init) easy_init = nullptr;
    decltype(&curl_easy_setopt) easy_setopt = nullptr;
    decltype(&curl_easy_perform) easy_perform = nullptr;
    decltype(&curl_easy_getinfo) easy_getinfo = nullptr;
    decltype(&curl_easy_cleanup) easy_cleanup = nullptr;
    decltype(&curl_slist_append) slist_append = nullptr;
    decltype(&curl_slist_free_all) slist_free_all = nullptr;
};

template <class F>
bool Holen(void* bibliothek, const char* name, F& funktion) {
    funktion = reinterpret_cast<F>(::dlsym(bibliothek, name));
    return funktion != nullptr;
}

// Null when the library cannot be loaded: then no page can be fetched.
const Curl* CurlLaden() {
    static const Curl* const geladen = []() -> const Curl* {
        // The library this program was built against (libcurl4).
        void* bibliothek = ::dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
        if (!bibliothek) return nullptr;
        static Curl curl;
        if (!Holen(bibliothek, "curl_global_init", curl.global_init) ||
            !Holen(bibliothek, "curl_easy_init", curl.easy_init) ||
            !Holen(bibliothek, "curl_easy_setopt", curl.easy_setopt) ||
            !Holen(bibliothek, "curl_easy_perform", curl.easy_perform) ||
            !Holen(bibliothek, "curl_easy_getinfo", curl.easy_getinfo) ||
            !Holen(bibliothek, "curl_easy_cleanup", curl.easy_cleanup) ||
            !Holen(bibliothek, "curl_slist_append", curl.slist_append) ||
            !Holen(bibliothek, "curl_slist_free_all", curl.slist_free_all))
            return nullptr;
        curl.global_init(CURL_GLOBAL_DEFAULT);
        return &curl;
    }();
    return geladen;
}

// The bodies of these answers are the page; every other code is reported.
bool KoerperLesen(long status) {
    return status == 200 || status == 302;
}

struct Empfang {
    const Curl* curl = nullptr;
    CURL* handle = nullptr;
    std::string koerper;
    const Zwischenschritt* zwischenschritt = nullptr;
    std::size_t hoechstGroesse = 0;
    std::exception_ptr fehler;
};

// Returning fewer bytes than offered ends the transfer; what arrived stays.
std::size_t KoerperEmpfangen(char* daten, std::size_t groesse, std::size_t anzahl, void* ziel) {
    auto& empfang = *static_cast<Empfang*>(ziel);
    const std::size_t n = groesse * anzahl;
    long status = 0;
    empfang.curl->easy_getinfo(empfang.handle, CURLINFO_RESPONSE_CODE, &status);
    if (!KoerperLesen(status)) return 0;
    // Nothing may leave this function by exception: it is called from C.
    try {
        const std::size_t platz = empfang.hoechstGroesse - empfang.koerper.size();
        empfang.koerper.append(daten, std::min(n, platz));
        if (n > platz) return 0;
        if (*empfang.zwischenschritt) (*empfang.zwischenschritt)();
    } catch (...) {
        empfang.fehler = std::current_exception();
        return 0;
    }
    return n;
}

struct HandleFreigabe {
    const Curl* curl;
    void operator()(CURL* h) const { curl->easy_cleanup(h); }
};
struct ListeFreigabe {
    const Curl* curl;
    void operator()(curl_slist* l) const { curl->slist_free_all(l); }
};

}  // namespace

std::string AdresseMitSchema(const std::string& url) {
    std::string klein = url;
    for (char& c : klein)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return klein.find("http://") == std::string::npos ? "http://" + url : url;
}

namespace {

std::string Einzeln(const std::string& url, const Zwischenschritt& zwischenschritt,
                    const LadeGrenzen& grenzen);

}  // namespace

struct LadeSitzung::Zustand {
    Zwischenschritt zwischenschritt;
    LadeGrenzen grenzen;
};

LadeSitzung::LadeSitzung(Zwischenschritt zwischenschritt, LadeGrenzen grenzen)
    : zustand_(std::make_unique<Zustand>(Zustand{std::move(zwischenschritt), grenzen})) {}

LadeSitzung::~LadeSitzung() = default;

std::string LadeSitzung::Laden(const std::string& url) {
    return Einzeln(url, zustand_->zwischenschritt, zustand_->grenzen);
}

std::string LadeSitzung::Laden(const std::string& url, std::size_t hoechstGroesse) {
    LadeGrenzen grenzen = zustand_->grenzen;
    grenzen.hoechstGroesse = hoechstGroesse;
    return Einzeln(url, zustand_->zwischenschritt, grenzen);
}

std::string LadeURL(const std::string& url, const Zwischenschritt& zwischenschritt) {
    return LadeURL(url, zwischenschritt, LadeGrenzen{});
}

std::string LadeURL(const std::string& url, const Zwischenschritt& zwischenschritt,
                    const LadeGrenzen& grenzen) {
    return LadeSitzung(zwischenschritt, grenzen).Laden(url);
}

namespace {

std::string Einzeln(const std::string& url, const Zwischenschritt& zwischenschritt,
                    const LadeGrenzen& grenzen) {
    const Curl* curl = CurlLaden();
    if (!curl) return {};
    std::unique_ptr<CURL, HandleFreigabe> handle(curl->easy_init(), HandleFreigabe{curl});
    if (!handle) return {};
    CURL* h = handle.get();

    // Every page fresh from the server, never from a cache on the way.
    curl_slist* kopf = curl->slist_append(nullptr, "Cache-Control: no-cache");
    if (kopf) {
        if (curl_slist* mehr = curl->slist_append(kopf, "Pragma: no-cache"))
            kopf = mehr;
        else {
            curl->slist_free_all(kopf);
            kopf = nullptr;
        }
    }
    std::unique_ptr<curl_slist, ListeFreigabe> kopfzeilen(kopf, ListeFreigabe{curl});
    if (!kopfzeilen) return {};

    Empfang empfang;
    empfang.curl = curl;
    empfang.handle = h;
    empfang.zwischenschritt = &zwischenschritt;
    empfang.hoechstGroesse = grenzen.hoechstGroesse;

    // Page names such as "Neue Seite.html" or umlauts reach the address as
    // they stand in the menu. libcurl refuses a blank and would send bytes
    // beyond ASCII raw; browsers send both percent-encoded.
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
    const long verbindungMs =
        std::max<long>(1, static_cast<long>(grenzen.verbindungsFrist.count()));
    const long stillstandS = std::max<long>(1, static_cast<long>(grenzen.stillstandsFrist.count()));

    // No proxy option is set: libcurl then takes the system's one from
    // http_proxy and no_proxy. No cookie file is named, so no cookies are kept.
    const CURLcode einstellungen[] = {
        curl->easy_setopt(h, CURLOPT_URL, adresse.c_str()),
        curl->easy_setopt(h, CURLOPT_HTTPGET, 1L),
        curl->easy_setopt(h, CURLOPT_USERAGENT, kBenutzerAgent),
        curl->easy_setopt(h, CURLOPT_HTTPHEADER, kopfzeilen.get()),
        curl->easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L),
        curl->easy_setopt(h, CURLOPT_MAXREDIRS, 5L),
        // A redirection must not lead to local files or other protocols.
        curl->easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https"),
        curl->easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https"),
        curl->easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, verbindungMs),
        curl->easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L),
        curl->easy_setopt(h, CURLOPT_LOW_SPEED_TIME, stillstandS),
        curl->easy_setopt(h, CURLOPT_NOSIGNAL, 1L),
        curl->easy_setopt(h, CURLOPT_FRESH_CONNECT, 1L),
        curl->easy_setopt(h, CURLOPT_FORBID_REUSE, 1L),
        // The bytes as the server sent them.
        curl->easy_setopt(h, CURLOPT_HTTP_CONTENT_DECODING, 0L),
        curl->easy_setopt(h, CURLOPT_WRITEFUNCTION, &KoerperEmpfangen),
        curl->easy_setopt(h, CURLOPT_WRITEDATA, &empfang),
    };
    for (const CURLcode e : einstellungen)
        if (e != CURLE_OK) return {};

    // A failed transfer is judged by what it left: no status means no page,
    // a body that broke off keeps what arrived.
    curl->easy_perform(h);
    long status = 0;
    curl->easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    handle.reset();

    if (empfang.fehler) std::rethrow_exception(empfang.fehler);
    if (status == 0) return {};
    if (!KoerperLesen(status)) return "Status:" + std::to_string(status);
    return std::move(empfang.koerper);
}

}  // namespace
}  // namespace lw
