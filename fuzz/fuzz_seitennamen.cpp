// The import's page naming from the start page's menu down to the saved site.
// The input's lines up to the first empty line are the targets of the menu
// links; the rest is what the provider answers for every address the import
// asks for (pages and pictures alike). The real import writes into Alt of a
// fresh folder, the real site writer into Neu beside it; whatever the names,
// no file, folder or link may appear anywhere else, and no link at all. A
// refusal (lw::Fehler) is an allowed outcome of either step.
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "codegen/Code.h"
#include "common/Fehler.h"
#include "import/Import.h"
#include "model/Projektdaten.h"
#include "output/DateiErzeugung.h"

namespace {

namespace fs = std::filesystem;

// Enough links for names to meet each other, few enough to keep a run short.
constexpr int kHoechstLinks = 24;

void Pruefen(bool bedingung) {
    if (!bedingung) __builtin_trap();
}

std::string Startseite(std::string_view ziele) {
    std::string seite = "<html><body><table>\n";
    int links = 0;
    for (std::size_t p = 0; p <= ziele.size() && links < kHoechstLinks; ++links) {
        const std::size_t ende = std::min(ziele.find('\n', p), ziele.size());
        seite += "<tr><td><a href=\"";
        seite += ziele.substr(p, ende - p);
        seite += "\"><img src=\"data/pics/m.png\" border=\"0\"></a></td></tr>\n";
        p = ende + 1;
    }
    return seite + "</table></body></html>";
}

// Every entry below the sandbox lies in Ziel, Ziel/Alt or Ziel/Neu, and none
// is a symbolic or a second hard link.
void NurInAltUndNeu(const fs::path& sandkasten) {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(sandkasten, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const fs::path relativ = it->path().lexically_relative(sandkasten);
        auto teil = relativ.begin();
        Pruefen(teil != relativ.end() && *teil == "Ziel");
        if (++teil != relativ.end()) Pruefen(*teil == "Alt" || *teil == "Neu");
        struct stat st {};
        Pruefen(::lstat(it->path().c_str(), &st) == 0);
        Pruefen(S_ISDIR(st.st_mode) || (S_ISREG(st.st_mode) && st.st_nlink == 1));
    }
    Pruefen(!ec);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Nothing may leave this machine: should a download still go to the
    // network, it meets a closed port on the loopback instead.
    ::setenv("http_proxy", "http://127.0.0.1:9", 1);
    ::unsetenv("no_proxy");
    ::unsetenv("NO_PROXY");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    const std::string_view eingabe(reinterpret_cast<const char*>(daten), groesse);
    const std::size_t trenner = eingabe.find("\n\n");
    const std::string_view ziele = eingabe.substr(0, trenner);
    const std::string antwort(trenner == std::string_view::npos ? std::string_view()
                                                                : eingabe.substr(trenner + 2));

    const char* tmp = ::getenv("TMPDIR");
    std::string muster = std::string(tmp && *tmp ? tmp : "/tmp") + "/lw-fuzz-XXXXXX";
    Pruefen(::mkdtemp(muster.data()) != nullptr);
    const fs::path sandkasten = muster;
    fs::create_directory(sandkasten / "Ziel");

    lw::Projektdaten projekt;
    projekt.Modus = lw::kModusNZAlt;
    projekt.Zielordner = (sandkasten / "Ziel").string();
    lw::ImportRueckmeldung rueckmeldung;
    rueckmeldung.laden = [&](const std::string&, std::size_t hoechstGroesse) {
        return antwort.substr(0, hoechstGroesse);
    };
    try {
        lw::AltOrdnerErzeugen(projekt.Zielordner);
        lw::SeitenImportieren(projekt, Startseite(ziele), "anna", rueckmeldung);
    } catch (const lw::Fehler&) {
    }
    NurInAltUndNeu(sandkasten);

    lw::CodeEingaben eingaben;
    for (int i = 1; i <= projekt.ImportAnzahl; ++i)
        eingaben.links.push_back({projekt.ImportSeiten[i], projekt.ImportSeiten[i], ""});
    try {
        lw::DateienErzeugen(projekt, lw::CodeErzeugen(projekt, eingaben), false);
    } catch (const lw::Fehler&) {
    }
    NurInAltUndNeu(sandkasten);

    std::error_code ec;
    fs::remove_all(sandkasten, ec);
    Pruefen(!ec);
    return 0;
}
