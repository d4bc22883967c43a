#pragma once

#include <cstddef>
#include <vector>

namespace lw {

// A per-link table indexed from 1. It grows with the number of pages instead of
// stopping at a fixed size, and reading a row that was never written gives the
// empty value, so no caller can read past the rows that exist.
template <class T>
class LinkTabelle final {
public:
    const T& operator[](int zeile) const {
        static const T leer{};
        return zeile >= 1 && static_cast<std::size_t>(zeile) <= werte_.size() ? werte_[zeile - 1]
                                                                              : leer;
    }
    // Rows below 1 do not exist and are ignored.
    void Setzen(int zeile, T wert) {
        if (zeile < 1) return;
        if (static_cast<std::size_t>(zeile) > werte_.size()) werte_.resize(zeile);
        werte_[zeile - 1] = std::move(wert);
    }
    int Zeilen() const { return static_cast<int>(werte_.size()); }
    void Leeren() { werte_.clear(); }

private:
    std::vector<T> werte_;
};

}  // namespace lw
