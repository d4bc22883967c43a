#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <variant>
#include <vector>

#include "common/Dateien.h"

namespace lw {

// A buffer that one side holds at a time: it changes hands by being moved,
// so the side that gave it away cannot touch it while it is written.
class Puffer final {
public:
    explicit Puffer(std::size_t groesse)
        : daten_(std::make_unique_for_overwrite<char[]>(groesse)), groesse_(groesse) {}

    char* Daten() { return daten_.get(); }
    std::size_t Groesse() const { return groesse_; }
    std::string_view Inhalt() const { return {daten_.get(), laenge}; }

    std::size_t laenge = 0;  // the bytes in use, from the start

private:
    std::unique_ptr<char[]> daten_;
    std::size_t groesse_;
};

// Files written on a thread of their own, so that the next piece of a file is
// made while the last one goes to the disk: saving many pages takes about as
// long as converting them, not as converting and writing one after the other.
// Each file is written whole or not at all as NeueDatei writes it. The first
// failure ends the writing: the file under way is removed, everything after
// it is dropped, and the failure is thrown on the caller's side by the next
// call.
class SchreibFaden final {
public:
    // anzahl buffers of groesse bytes each to trade filled ones for.
    SchreibFaden(std::size_t groesse, std::size_t anzahl);
    SchreibFaden(const SchreibFaden&) = delete;
    SchreibFaden& operator=(const SchreibFaden&) = delete;
    // Drops the file under way, if any; failures are not reported from here.
    ~SchreibFaden();

    // Begins a file. It is made here, so that the thread only writes and one
    // that cannot be made gives "Datei "<pfad>" kann nicht erstellt werden.
    // <Grund>" at once.
    void Oeffnen(const std::string& pfad);
    // Hands a filled buffer on to the file begun last and gives an empty one
    // of the same size back, waiting while all others are being written.
    Puffer Tauschen(Puffer voll);
    // Gives the file its name once all of it is written.
    void Schliessen();
    // Waits until everything handed on is written, ends the thread and
    // throws the first failure.
    void Ende();
    // Runs schritte, which hand files on, then Ende. A failure on the thread
    // came before one of schritte and is the one thrown.
    template <class F>
    void Alle(F&& schritte) {
        try {
            schritte();
        } catch (...) {
            Ende();
            throw;
        }
        Ende();
    }

private:
    struct Schluss {};
    using Auftrag = std::variant<std::unique_ptr<NeueDatei>, Puffer, Schluss>;

    void Einreihen(Auftrag auftrag);
    void Laufen();

    std::mutex mutex_;
    std::condition_variable geaendert_;
    std::deque<Auftrag> auftraege_;
    std::vector<Puffer> frei_;
    bool ende_ = false;
    std::exception_ptr fehler_;
    std::thread faden_;
};

}  // namespace lw
