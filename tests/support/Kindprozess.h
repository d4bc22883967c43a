#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

// Steps that need other rights or another disk than the test process has run
// in a forked child; the child reports back through a pipe.
namespace lw::test {

// The step's answer: its own result, or the text of the lw::Fehler it threw.
using Schritt = std::function<std::string()>;

// Runs schritt as a user without special rights: a root process drops to
// uid/gid 65534 first (root would ignore missing write permission), any other
// user runs it as it is. Folders the step needs must be open to that user.
std::string AlsGewoehnlicherNutzer(const Schritt& schritt);

// Runs schritt with a fresh tmpfs of the given size mounted on ordner, in a
// mount namespace of its own so nothing outside the child sees it. Empty when
// this system does not permit the mount.
std::optional<std::string> MitKleinemDatentraeger(const std::string& ordner, std::size_t bytes,
                                                  const Schritt& schritt);

}  // namespace lw::test
