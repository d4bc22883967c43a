#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "common/Dateien.h"

namespace lw {

// Files written on a thread of their own, so that the next piece of a file is
// made while the last one goes to the disk. The caller fills buffers that it
// takes from here and hands them back with their length; the thread writes
// them in the order given, each file whole or not at all as NeueDatei writes
// it. The first failure ends the writing: the file under way is removed,
// everything after it is dropped, and the failure is thrown on the caller's
// side by the next call.
class SchreibFaden final {
public:
    // anzahl buffers of groesse bytes each for Puffer().
    SchreibFaden(std::size_t groesse, std::size_t anzahl);
    SchreibFaden(const SchreibFaden&) = delete;
    SchreibFaden& operator=(const SchreibFaden&) = delete;
    // Writes what was handed on and drops the file under way, if any;
    // failures are not reported from here (see Ende).
    ~SchreibFaden();

    // Begins a file; one that cannot be created gives
    // "Datei "<pfad>" kann nicht erstellt werden. <Grund>" at once.
    void Oeffnen(const std::string& pfad);
    // A free buffer of the size given to the constructor, waiting for one if
    // all are being written.
    char* Puffer();
    // Hands on the buffer from the last Puffer() with laenge bytes to write.
    void Schreiben(std::size_t laenge);
    // Gives the file its name once all of it is written.
    void Schliessen();
    // TextSchreiben of teil, which lies in daten: the thread shares the text
    // instead of a copy, and nobody may change it.
    void Text(const std::string& pfad, std::shared_ptr<const std::string> daten,
              std::string_view teil);
    // Waits until everything handed on is written and throws the first
    // failure.
    void Abwarten();
    // The same for at most this long: false while there is still something
    // to write.
    bool Abwarten(std::chrono::milliseconds hoechstens);
    // Abwarten, and the thread ends.
    void Ende();

private:
    struct Auftrag {
        enum class Art { Oeffnen, Schreiben, Schliessen, Text } art;
        std::string pfad = {};
        char* puffer = nullptr;
        std::size_t laenge = 0;
        std::shared_ptr<const std::string> daten = {};
        std::string_view teil = {};
        std::unique_ptr<NeueDatei> datei = {};
    };

    void Einreihen(Auftrag auftrag);
    void FehlerWerfen();  // with the lock held
    void Laufen();

    std::vector<std::unique_ptr<char[]>> speicher_;
    std::mutex mutex_;
    std::condition_variable geaendert_;
    std::deque<Auftrag> auftraege_;
    std::vector<char*> frei_;
    char* ausgegeben_ = nullptr;
    bool beschaeftigt_ = false;  // an Auftrag taken from auftraege_ is being carried out
    bool ende_ = false;
    std::exception_ptr fehler_;
    std::thread faden_;
};

}  // namespace lw
