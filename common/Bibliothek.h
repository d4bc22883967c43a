#pragma once

#include <dlfcn.h>

// Libraries loaded at their first use, so that the program's start does not
// pay for them.
namespace lw {

// Sets funktion to the symbol name of a library from dlopen; false when the
// library has no such symbol.
template <class F>
bool Holen(void* bibliothek, const char* name, F& funktion) {
    funktion = reinterpret_cast<F>(::dlsym(bibliothek, name));
    return funktion != nullptr;
}

}  // namespace lw
