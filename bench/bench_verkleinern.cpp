// The smaller copy of a 24-megapixel photograph (6000 x 4000) for phones,
// 1600 px wide at JPEG quality 85, against ImageMagick's
// "convert -resize 1600x -quality 85" of the same file. Both sides run as a
// child process that reads the file and writes its copy, alternating.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/Messung.h"
#include "pictures/Bild.h"
#include "pictures/Verkleinern.h"
#include "tests/support/Bildmuster.h"
#include "tests/support/TempOrdner.h"

namespace {

using namespace lw;
using namespace lw::bench;

constexpr int kBreite = 6000;
constexpr int kHoehe = 4000;

// Something like a photograph: soft gradients with fine grain, which keeps
// the file at the size a camera's picture has.
std::string Foto() {
    test::JpegMuster m;
    m.breite = kBreite;
    m.hoehe = kHoehe;
    m.pixel.resize(static_cast<std::size_t>(kBreite) * kHoehe * 3);
    std::uint32_t zufall = 12345;
    std::size_t i = 0;
    for (int y = 0; y < kHoehe; ++y)
        for (int x = 0; x < kBreite; ++x) {
            zufall = zufall * 1664525u + 1013904223u;
            const int korn = static_cast<int>(zufall >> 28) - 8;
            for (int c = 0; c < 3; ++c) {
                const int wert = (x * (c + 1) / 47 + y * (3 - c) / 31) % 256 + korn;
                m.pixel[i++] = static_cast<std::uint8_t>(wert < 0 ? 0 : wert > 255 ? 255 : wert);
            }
        }
    return test::JpegKodieren(m);
}

void GroessePruefen(const std::string& pfad) {
    const Bild b = BildLaden(pfad);
    if (b.breite != 1600 || b.hoehe != 1067)
        throw std::runtime_error(pfad + ": " + std::to_string(b.breite) + " x " +
                                 std::to_string(b.hoehe));
}

int Laufen(const char* selbst, int wiederholungen) {
    test::TempOrdner arbeit;
    const std::string foto = arbeit / "foto.jpg";
    test::Schreiben(foto, Foto());
    const std::string eigen = arbeit / "eigen";
    const std::string magick = arbeit / "magick.jpg";

    const Paar paar = Abwechselnd(
        wiederholungen, [] {},
        [&] {
            const double d = Dauer([&] {
                AusfuehrenErfolgreich({selbst, "--kopie", foto, eigen});
            });
            GroessePruefen(eigen + "/foto.jpg");
            return d * 1000;
        },
        [&] {
            const double d = Dauer([&] {
                AusfuehrenErfolgreich(
                    {"convert", foto, "-resize", "1600x", "-quality", "85", magick});
            });
            GroessePruefen(magick);
            return d * 1000;
        });

    std::printf("Foto %d x %d, %.1f MiB; Kopie 1600 x 1067, Qualität 85; %d Durchgänge je Seite\n",
                kBreite, kHoehe, static_cast<double>(test::Lesen(foto).size()) / (1 << 20),
                wiederholungen);
    return Urteil("Verkleinerte Kopie gegen convert -resize", paar, 1.5, "ms") ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        // The side measured: one copy, as the windows make it.
        if (argc == 4 && std::strcmp(argv[1], "--kopie") == 0) {
            VerkleinerteKopie(argv[2], argv[3]);
            return 0;
        }
        return Laufen(argv[0], Wiederholungen(argc, argv, 9));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_verkleinern: %s\n", e.what());
        return 2;
    }
}
