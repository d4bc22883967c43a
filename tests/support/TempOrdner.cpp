#include "tests/support/TempOrdner.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace lw::test {

TempOrdner::TempOrdner() {
    const char* basis = std::getenv("TMPDIR");
    std::string muster = std::string(basis && *basis ? basis : "/tmp") + "/lw-test-XXXXXX";
    if (!::mkdtemp(muster.data())) throw std::runtime_error("mkdtemp failed");
    pfad_ = muster;
}

TempOrdner::~TempOrdner() {
    std::error_code ec;
    // Tests may leave read-only folders behind; make them writable first.
    for (auto it = std::filesystem::recursive_directory_iterator(pfad_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(pfad_, ec);
}

std::string Lesen(const std::string& pfad) {
    std::ifstream f(pfad, std::ios::binary);
    if (!f) throw std::runtime_error("cannot read " + pfad);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

void Schreiben(const std::string& pfad, const std::string& bytes) {
    std::ofstream f(pfad, std::ios::binary | std::ios::trunc);
    f << bytes;
    if (!f.flush()) throw std::runtime_error("cannot write " + pfad);
}

}  // namespace lw::test
