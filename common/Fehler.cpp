#include "common/Fehler.h"

#include "common/Zeichensatz.h"

namespace lw {

std::string EAText(int code) {
    switch (code) {
        case 2: return W("Datei nicht gefunden");
        case 3: return W("Ungültiger Dateiname");
        case 4: return W("Zu viele geöffnete Dateien");
        case 5: return W("Dateizugriff verweigert");
        case 100: return W("Versuch hinter dem Dateiende zu lesen");
        case 101: return W("Zu wenig Speicherplatz");
        case 106: return W("Ungültige numerische Eingabe");
        default: return "E/A-Fehler " + std::to_string(code);
    }
}

void EAFehlerWerfen(int code) { throw Fehler(EAText(code)); }

std::string Lesbar(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return text;
}

std::string SeitennameUngueltigText(const std::string& name) {
    return "Der Seitenname \"" + Lesbar(name) + W("\" ist kein gültiger Dateiname (") +
           EAText(kUngueltigerName) + ")";
}

void SeitennameUngueltigWerfen(const std::string& name) {
    throw Fehler(SeitennameUngueltigText(name));
}

}  // namespace lw
