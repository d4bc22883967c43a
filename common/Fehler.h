#pragma once

#include <stdexcept>
#include <string>

// Failures of the file system and the runtime travel as Fehler up to the one
// place in the program that shows the standard error box. what() holds the
// German text in Windows-1252, without the closing full stop the box adds.
namespace lw {

class Fehler : public std::runtime_error {
public:
    explicit Fehler(const std::string& text) : std::runtime_error(text) {}
};

// An expected condition with the program's own message, which the windows may
// show in the plain message box; a caller that knows only Fehler stops the same.
class Hinweis final : public Fehler {
public:
    using Fehler::Fehler;
};

// The runtime's input/output texts by error code: 2, 3, 4, 5, 100, 101, 106
// have their own words, every other code reads "E/A-Fehler <code>".
std::string EAText(int code);
[[noreturn]] void EAFehlerWerfen(int code);
// text for a message: control characters (a NUL above all, which would cut
// the message) shown as '?'.
std::string Lesbar(std::string text);
// A page name that is no plain file name, named in the message.
std::string SeitennameUngueltigText(const std::string& name);
[[noreturn]] void SeitennameUngueltigWerfen(const std::string& name);

// Codes of the input/output errors that this platform's errno values stand for.
inline constexpr int kDateiNichtGefunden = 2;
inline constexpr int kPfadNichtGefunden = 3;
inline constexpr int kZuVieleDateien = 4;
inline constexpr int kZugriffVerweigert = 5;
inline constexpr int kSpeicherVoll = 101;
inline constexpr int kUngueltigerName = 123;
inline constexpr int kNameZuLang = 206;
inline constexpr int kExistiertBereits = 183;

}  // namespace lw
