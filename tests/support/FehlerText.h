#pragma once

#include <string>

#include "common/Fehler.h"

namespace lw::test {

// The text of the lw::Fehler that schritt throws, or "(kein Fehler)".
template <class F>
std::string FehlerText(F&& schritt) {
    try {
        schritt();
    } catch (const Fehler& f) {
        return f.what();
    }
    return "(kein Fehler)";
}

}  // namespace lw::test
