#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "import/LadeURL.h"
#include "tests/support/HttpServer.h"

// A program of its own: whether the HTTP library is in memory depends on what
// ran before in the same process.
namespace lw {
namespace {

bool BibliothekGeladen(const std::string& name) {
    std::ifstream karte("/proc/self/maps");
    std::string zeile;
    while (std::getline(karte, zeile))
        if (zeile.find("/" + name) != std::string::npos) return true;
    return false;
}

// The program starts without libcurl and its libraries; the first download
// loads it and works through it.
TEST(LadeURL, LoadsTheHttpLibraryWithTheFirstDownload) {
    EXPECT_FALSE(BibliothekGeladen("libcurl.so"));
    test::ProxyUmgebung ohneProxy;
    test::HttpServer server;
    server.Setzen("/seite.html", test::Antwort::Seite("Hallo"));

    EXPECT_EQ(LadeURL(server.basis() + "/seite.html"), "Hallo");
    EXPECT_TRUE(BibliothekGeladen("libcurl.so"));
    EXPECT_EQ(LadeURL(server.basis() + "/fehlt.html"), "Status:404");
}

}  // namespace
}  // namespace lw
