#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// File-system steps of the program. Paths are Windows-1252 text like every
// other text of the core; they are turned into this platform's UTF-8 file names
// here and nowhere else. Every failure throws lw::Fehler with the runtime's
// German text (see Fehler.h for the codes).
namespace lw {

// This platform's file name for a Windows-1252 path; a character reference
// to a character Windows-1252 cannot hold is that character
// (utf8MitReferenzen).
std::string LokalerPfad(std::string_view pfad);

// Creates one folder. An existing folder (or file) of that name gives
// "E/A-Fehler 183", a missing parent "Ungültiger Dateiname".
void OrdnerErzeugen(const std::string& pfad);

// Creates the folders of the relative path pfad ('/' between its parts) below
// basis that do not exist yet: all but its last part, the file itself.
void OrdnerAufDemWegErzeugen(const std::string& basis, std::string_view pfad);

// Creates or replaces the file with the bytes unchanged; open, write and close
// are each checked (a full disk often shows only at close). The bytes go into
// a hidden file beside it that takes its name only when complete, so a failure
// leaves the old file or none, never a part.
void TextSchreiben(const std::string& pfad, std::string_view text);
// The same a megabyte at a time, asking weiter between the pieces, so that the
// windows can be served while a large file is written: false from it abandons
// the file (the old one or none stays) and gives false.
bool TextSchreiben(const std::string& pfad, std::string_view text,
                   const std::function<bool()>& weiter);

// A file written a piece at a time, whole or not at all as TextSchreiben: the
// pieces go into a hidden file beside it that takes its name on Abschliessen.
// Until then, and after any failure, the old file or none is where the user
// looks; an unfinished hidden file is removed.
class NeueDatei final {
public:
    // A file that cannot be created gives
    // "Datei "<ziel>" kann nicht erstellt werden. <Grund>". The file gets
    // the permissions modus (less the umask), whatever the old one had.
    explicit NeueDatei(std::string ziel, unsigned modus = 0666);
    NeueDatei(const NeueDatei&) = delete;
    NeueDatei& operator=(const NeueDatei&) = delete;
    ~NeueDatei();

    void Schreiben(std::string_view daten);
    void Abschliessen();

private:
    // TextSchreiben reports a failed open with the runtime's code instead.
    friend bool TextSchreiben(const std::string& pfad, std::string_view text,
                              const std::function<bool()>& weiter);
    // The same a megabyte at a time, asking weiter between the pieces, so that the
    // windows can be served while a large file is written: false from it abandons
    // the file (the old one or none stays) and gives false.
    bool TextSchreiben(const std::string& pfad, std::string_view text,
                       const std::function<bool()>& weiter);
    NeueDatei() = default;
    // The errno of a failed open, or 0.
    int Oeffnen();

    std::string pfad_;   // as the messages name it
    std::string lokal_;  // this platform's name of the destination
    std::string temp_;   // the hidden file while it is written
    unsigned modus_ = 0666;
    int fd_ = -1;
};

// A file read a piece at a time; a missing file gives "Datei nicht gefunden".
class DateiLeser final {
public:
    explicit DateiLeser(const std::string& pfad);
    DateiLeser(const DateiLeser&) = delete;
    DateiLeser& operator=(const DateiLeser&) = delete;
    ~DateiLeser();

    // Up to n bytes into ziel, fewer only at the end of the file; 0 there.
    std::size_t Lesen(char* ziel, std::size_t n);
    // The bytes that are left, appended to aus.
    void Rest(std::string& aus);
    // Reading goes on from this byte of the file.
    void Springen(long long position);
    // Size in bytes and time of the last change in nanoseconds, as now.
    long long Groesse() const;
    long long Geaendert() const;

private:
    std::string pfad_;
    int fd_;
};

// Reads a whole file; a missing file gives "Datei nicht gefunden".
std::string DateiLesenGanz(const std::string& pfad);

// Byte copy with the two messages of the copy routine:
// "Datei <quelle> kann nicht geöffnet werden. <Grund>" and
// "Datei "<ziel>" kann nicht erstellt werden. <Grund>".
void DateiKopieren(const std::string& quelle, const std::string& ziel);

// Keeps the bytes of quelle under the new name ziel before quelle is replaced:
// a second name for the same file where the file system allows it, else a
// byte copy (with DateiKopieren's messages). Only for a file that is then
// replaced by a new one of its name (TextSchreiben, NeueDatei), never written
// in place, so that ziel keeps the old bytes.
void DateiSichern(const std::string& quelle, const std::string& ziel);

// Creates or replaces ziel with the bytes, whole or not at all as TextSchreiben;
// a file that cannot be created gives
// "Datei "<ziel>" kann nicht erstellt werden. <Grund>".
void DateiErstellen(const std::string& ziel, std::string_view inhalt);

// True for an existing regular file; a folder of that name does not count.
bool DateiExistiert(const std::string& pfad);
bool OrdnerExistiert(const std::string& pfad);

// What a path names, without following a symbolic link.
enum class Eintragsart { fehlt, datei, ordner, verknuepfung, anderes };
Eintragsart EintragsartLesen(const std::string& pfad);

struct OrdnerEintrag {
    std::string name;  // Windows-1252, as every path of the core
    Eintragsart art;
    long long geaendert;  // time of the last change, nanoseconds
};
// The entries of a folder without "." and "..", symbolic links not followed.
std::vector<OrdnerEintrag> OrdnerLesen(const std::string& ordner);

// The folder that holds the program file, without trailing '/'.
std::string ProgrammOrdner();

// The runtime error code for an errno value of a failed step on pfad.
int EACodeAusErrno(int err, const std::string& pfad);
// The system's reason in German, as the copy messages quote it.
std::string SystemGrund(int err, const std::string& pfad);

}  // namespace lw
