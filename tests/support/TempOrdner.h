#pragma once

#include <string>

namespace lw::test {

// A fresh folder below the system's temporary folder, removed with everything
// in it when the object goes out of scope.
class TempOrdner final {
public:
    TempOrdner();
    ~TempOrdner();
    TempOrdner(const TempOrdner&) = delete;
    TempOrdner& operator=(const TempOrdner&) = delete;

    const std::string& pfad() const { return pfad_; }
    std::string operator/(const std::string& name) const { return pfad_ + "/" + name; }

private:
    std::string pfad_;
};

// Whole file as bytes; throws std::runtime_error when it cannot be read.
std::string Lesen(const std::string& pfad);
void Schreiben(const std::string& pfad, const std::string& bytes);

}  // namespace lw::test
