#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace lw {

// Called while a download runs, after its chunks and at least every 100 ms of
// a wait, so that the windows can process their pending events.
using Zwischenschritt = std::function<void()>;

// Asked with the Zwischenschritt: true abandons the download under way at
// once, as if it had failed.
using Abbruchfrage = std::function<bool()>;

// Bounds that keep a broken or hostile server from blocking the program for
// ever or filling the memory. The defaults are what the program uses.
struct LadeGrenzen {
    // Longest wait for the connection to the server (or proxy).
    std::chrono::milliseconds verbindungsFrist{std::chrono::seconds(60)};
    // A transfer that receives nothing, or less than one byte per second,
    // for this long is given up; what arrived so far is kept.
    std::chrono::seconds stillstandsFrist{60};
    // A body that grows beyond this is cut here, as if the server had stopped.
    std::size_t hoechstGroesse = std::size_t{256} * 1024 * 1024;
};

// Downloads that belong together (one import): one libcurl handle whose
// connections are kept alive from request to request. Every request still
// goes to the server with the no-cache headers and the user agent.
class LadeSitzung final {
public:
    explicit LadeSitzung(Zwischenschritt zwischenschritt = {}, LadeGrenzen grenzen = {},
                         Abbruchfrage abbrechen = {});
    ~LadeSitzung();
    LadeSitzung(const LadeSitzung&) = delete;
    LadeSitzung& operator=(const LadeSitzung&) = delete;

    // The result of LadeURL for this address.
    std::string Laden(const std::string& url);
    // The same with another size bound for this one request.
    std::string Laden(const std::string& url, std::size_t hoechstGroesse);
    // The same into a buffer the caller keeps, whose room is used again.
    void Laden(const std::string& url, std::string& ziel);
    void Laden(const std::string& url, std::size_t hoechstGroesse, std::string& ziel);

    // Whether the last request brought its whole answer: false when the body
    // broke off, stalled or hit the size bound, when no answer came and when
    // the Abbruchfrage stopped it. A status text counts as whole.
    bool LetzteVollstaendig() const;

private:
    struct Zustand;
    std::unique_ptr<Zustand> zustand_;
};

// HTTP GET of one page. The body for status 200 and 302, "Status:" + code for
// every other status, the empty text when the host cannot be reached or the
// answer carries no HTTP status. A body that ends early keeps what arrived.
std::string LadeURL(const std::string& url, const Zwischenschritt& zwischenschritt = {});
std::string LadeURL(const std::string& url, const Zwischenschritt& zwischenschritt,
                    const LadeGrenzen& grenzen);

// The address actually requested: unchanged when it contains "http://" in any
// case anywhere, else with "http://" in front.
std::string AdresseMitSchema(const std::string& url);

}  // namespace lw
