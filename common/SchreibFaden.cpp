#include "common/SchreibFaden.h"

#include <utility>

namespace lw {

SchreibFaden::SchreibFaden(std::size_t groesse, std::size_t anzahl) {
    for (std::size_t i = 0; i < anzahl; ++i) frei_.emplace_back(groesse);
    faden_ = std::thread([this] { Laufen(); });
}

SchreibFaden::~SchreibFaden() {
    if (!faden_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        ende_ = true;
    }
    geaendert_.notify_all();
    faden_.join();
}

void SchreibFaden::Einreihen(Auftrag auftrag) {
    {
        std::lock_guard lock(mutex_);
        if (fehler_) std::rethrow_exception(fehler_);
        auftraege_.push_back(std::move(auftrag));
    }
    geaendert_.notify_all();
}

void SchreibFaden::Oeffnen(const std::string& pfad) {
    Einreihen(std::make_unique<NeueDatei>(pfad));
}

Puffer SchreibFaden::Tauschen(Puffer voll) {
    Einreihen(std::move(voll));
    std::unique_lock lock(mutex_);
    geaendert_.wait(lock, [this] { return !frei_.empty() || fehler_; });
    if (fehler_) std::rethrow_exception(fehler_);
    Puffer leer = std::move(frei_.back());
    frei_.pop_back();
    return leer;
}

void SchreibFaden::Schliessen() {
    Einreihen(Schluss{});
}

void SchreibFaden::Ende() {
    {
        std::lock_guard lock(mutex_);
        ende_ = true;
    }
    geaendert_.notify_all();
    faden_.join();
    if (fehler_) std::rethrow_exception(fehler_);
}

void SchreibFaden::Laufen() {
    std::unique_ptr<NeueDatei> datei;
    std::unique_lock lock(mutex_);
    for (;;) {
        geaendert_.wait(lock, [this] { return !auftraege_.empty() || ende_; });
        if (auftraege_.empty()) return;  // ended: a file not closed is dropped with datei
        Auftrag auftrag = std::move(auftraege_.front());
        auftraege_.pop_front();
        std::exception_ptr fehler;
        if (!fehler_) {
            lock.unlock();
            try {
                if (auto* neu = std::get_if<std::unique_ptr<NeueDatei>>(&auftrag))
                    datei = std::move(*neu);
                else if (const auto* puffer = std::get_if<Puffer>(&auftrag))
                    datei->Schreiben(puffer->Inhalt());
                else
                    std::exchange(datei, nullptr)->Abschliessen();
            } catch (...) {
                fehler = std::current_exception();
                datei.reset();
            }
            lock.lock();
        }
        // After a failure everything is dropped; a buffer is free again.
        if (auto* puffer = std::get_if<Puffer>(&auftrag)) {
            puffer->laenge = 0;
            frei_.push_back(std::move(*puffer));
        }
        if (fehler) fehler_ = fehler;
        geaendert_.notify_all();
    }
}

}  // namespace lw
