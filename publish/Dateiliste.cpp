#include "publish/Dateiliste.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "common/Dateien.h"
#include "common/Fehler.h"
#include "common/Text.h"
#include "common/Zeichensatz.h"
#include "publish/Krypto.h"

namespace lw::veroeffentlichung {

std::string Ordner(const std::string& pfad) {
    const auto s = pfad.rfind('/');
    return s == std::string::npos ? std::string() : pfad.substr(0, s);
}

std::string Name(const std::string& pfad) {
    const auto s = pfad.rfind('/');
    return s == std::string::npos ? pfad : pfad.substr(s + 1);
}

std::string Darin(const std::string& ordner, const std::string& name) {
    return ordner.empty() ? name : ordner + "/" + name;
}

std::string TempName(const std::string& pfad) {
    return Darin(Ordner(pfad), "." + Name(pfad) + ".lw-neu");
}

bool IstSeite(const std::string& pfad) {
    const std::string name = Name(pfad);
    const auto punkt = name.rfind('.');
    if (punkt == std::string::npos) return false;
    const std::string endung = name.substr(punkt + 1);
    return GleichOhneFallAscii(endung, "html") || GleichOhneFallAscii(endung, "htm");
}

std::string Anzeige(const std::string& pfad) {
    return cp1252AusUtf8(pfad);
}

std::string ListeText(const Liste& liste) {
    std::string text;
    for (const auto& [pfad, e] : liste)
        text += e.sha + " " + std::to_string(e.groesse) + " " + pfad + "\n";
    return text;
}

Liste ListeLesen(std::string_view text) {
    Liste liste;
    while (!text.empty()) {
        const auto ende = text.find('\n');
        const std::string_view zeile = text.substr(0, ende);
        text = ende == std::string_view::npos ? std::string_view() : text.substr(ende + 1);
        const auto a = zeile.find(' ');
        if (a != 64) continue;
        const auto b = zeile.find(' ', a + 1);
        if (b == std::string_view::npos || b == a + 1 || b + 1 >= zeile.size()) continue;
        Eintrag e;
        e.sha = std::string(zeile.substr(0, a));
        try {
            e.groesse = std::stoull(std::string(zeile.substr(a + 1, b - a - 1)));
        } catch (const std::exception&) {
            continue;
        }
        const std::string pfad(zeile.substr(b + 1));
        if (SchlichterPfad(pfad)) liste[pfad] = e;
    }
    return liste;
}

Liste Sammeln(const std::string& lokal, const VeroeffentlichenBegleitung& begleitung) {
    auto zuletzt = Uhr::now();
    namespace fs = std::filesystem;
    Liste liste;
    std::error_code fehler;
    fs::recursive_directory_iterator it(lokal, fehler), ende;
    if (fehler) EAFehlerWerfen(kPfadNichtGefunden);
    std::string puffer(std::size_t{256} * 1024, '\0');
    for (; it != ende; it.increment(fehler)) {
        if (fehler) throw Fehler(W("Der Ordner kann nicht gelesen werden: ") + fehler.message());
        const std::string name = it->path().filename().string();
        if (name.starts_with('.')) {
            if (it->is_directory()) it.disable_recursion_pending();
            continue;
        }
        if (!it->is_regular_file()) continue;
        const std::string pfad = it->path().lexically_relative(lokal).generic_string();
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> datei(std::fopen(it->path().c_str(), "rb"),
                                                              &std::fclose);
        if (!datei) EAFehlerWerfen(EACodeAusErrno(errno, Anzeige(pfad)));
        Sha256 sha;
        Eintrag e;
        while (const std::size_t n = std::fread(puffer.data(), 1, puffer.size(), datei.get())) {
            sha.Dazu(puffer.data(), n);
            e.groesse += n;
            if (Uhr::now() - zuletzt < kTakt) continue;
            zuletzt = Uhr::now();
            if (begleitung.zwischenschritt) begleitung.zwischenschritt({0, 0, pfad});
            if (begleitung.abbrechen && begleitung.abbrechen()) throw Abgebrochen{};
        }
        if (std::ferror(datei.get())) EAFehlerWerfen(EACodeAusErrno(EIO, Anzeige(pfad)));
        e.sha = Hex(sha.Ende());
        liste[pfad] = e;
    }
    return liste;
}

}  // namespace lw::veroeffentlichung
