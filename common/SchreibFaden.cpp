#include "common/SchreibFaden.h"

#include <optional>
#include <string_view>
#include <utility>

#include "common/Dateien.h"

namespace lw {

SchreibFaden::SchreibFaden(std::size_t groesse, std::size_t anzahl) {
    for (std::size_t i = 0; i < anzahl; ++i) {
        speicher_.push_back(std::make_unique_for_overwrite<char[]>(groesse));
        frei_.push_back(speicher_.back().get());
    }
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

void SchreibFaden::FehlerWerfen() {
    if (fehler_) std::rethrow_exception(fehler_);
}

void SchreibFaden::Einreihen(Auftrag auftrag) {
    {
        std::lock_guard lock(mutex_);
        FehlerWerfen();
        auftraege_.push_back(std::move(auftrag));
    }
    geaendert_.notify_all();
}

void SchreibFaden::Oeffnen(const std::string& pfad) {
    // Made here, so that the thread only writes: making a file costs about
    // as much as writing a megabyte into it.
    Einreihen({.art = Auftrag::Art::Oeffnen, .datei = std::make_unique<NeueDatei>(pfad)});
}

char* SchreibFaden::Puffer() {
    std::unique_lock lock(mutex_);
    geaendert_.wait(lock, [this] { return !frei_.empty() || fehler_; });
    FehlerWerfen();
    ausgegeben_ = frei_.back();
    frei_.pop_back();
    return ausgegeben_;
}

void SchreibFaden::Schreiben(std::size_t laenge) {
    Einreihen({.art = Auftrag::Art::Schreiben,
               .puffer = std::exchange(ausgegeben_, nullptr),
               .laenge = laenge});
}

void SchreibFaden::Schliessen() {
    Einreihen({.art = Auftrag::Art::Schliessen});
}

void SchreibFaden::Text(const std::string& pfad, std::shared_ptr<const std::string> daten,
                        std::string_view teil) {
    Einreihen({.art = Auftrag::Art::Text, .pfad = pfad, .daten = std::move(daten), .teil = teil});
}

void SchreibFaden::Abwarten() {
    std::unique_lock lock(mutex_);
    geaendert_.wait(lock, [this] { return (auftraege_.empty() && !beschaeftigt_) || fehler_; });
    FehlerWerfen();
}

bool SchreibFaden::Abwarten(std::chrono::milliseconds hoechstens) {
    std::unique_lock lock(mutex_);
    const bool fertig = geaendert_.wait_for(lock, hoechstens, [this] {
        return (auftraege_.empty() && !beschaeftigt_) || fehler_;
    });
    FehlerWerfen();
    return fertig;
}

void SchreibFaden::Ende() {
    {
        std::lock_guard lock(mutex_);
        ende_ = true;
    }
    geaendert_.notify_all();
    faden_.join();
    FehlerWerfen();
}

void SchreibFaden::Laufen() {
    std::unique_ptr<NeueDatei> datei;
    std::unique_lock lock(mutex_);
    for (;;) {
        geaendert_.wait(lock, [this] { return !auftraege_.empty() || ende_; });
        if (auftraege_.empty()) return;  // ended: a file not closed is dropped with datei
        Auftrag auftrag = std::move(auftraege_.front());
        auftraege_.pop_front();
        if (fehler_) {
            // Dropped after the failure; the buffer is free again.
            if (auftrag.puffer) frei_.push_back(auftrag.puffer);
            continue;
        }
        beschaeftigt_ = true;
        lock.unlock();
        std::exception_ptr fehler;
        try {
            switch (auftrag.art) {
                case Auftrag::Art::Oeffnen:
                    datei = std::move(auftrag.datei);
                    break;
                case Auftrag::Art::Schreiben:
                    datei->Schreiben(std::string_view(auftrag.puffer, auftrag.laenge));
                    break;
                case Auftrag::Art::Schliessen:
                    datei->Abschliessen();
                    datei.reset();
                    break;
                case Auftrag::Art::Text:
                    TextSchreiben(auftrag.pfad, auftrag.teil);
                    break;
            }
        } catch (...) {
            fehler = std::current_exception();
            datei.reset();
        }
        // The caller may take the text back once Abwarten returns.
        auftrag.daten.reset();
        lock.lock();
        beschaeftigt_ = false;
        if (auftrag.puffer) frei_.push_back(auftrag.puffer);
        if (fehler) fehler_ = fehler;
        geaendert_.notify_all();
    }
}

}  // namespace lw
