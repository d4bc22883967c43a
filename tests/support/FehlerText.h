#pragma once

#include <string>

#include "common/Fehler.h"

namespace lw::test {

// The text of the lw::Fehler (or the kind E of it) that schritt throws, or
// "(kein Fehler)".
template <class E = Fehler, class F>
std::string FehlerText(F&& schritt) {
    try {
        schritt();
    } catch (const E& f) {
        return f.what();
    }
    return "(kein Fehler)";
}

}  // namespace lw::test
