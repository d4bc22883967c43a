// Writes a small site the way "Speichern + Schließen" does, with pictures of
// its own, so that the browser test can look at real saved files. The
// pictures' names hold blanks, quotes, brackets and '&', which the page and
// the stylesheet must carry as addresses.
// Usage: lw_beispielseite <folder> <menu fixed 0|1> <banner 0|1> <graphics 0|1>
#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <string>

#include "codegen/Code.h"
#include "common/Fehler.h"
#include "output/DateiErzeugung.h"

namespace {

bool BildSchreiben(const QString& pfad, int breite, int hoehe, const QColor& farbe) {
    QImage bild(breite, hoehe, QImage::Format_RGB32);
    bild.fill(farbe);
    QPainter maler(&bild);
    maler.setPen(Qt::white);
    maler.drawRect(2, 2, breite - 5, hoehe - 5);
    maler.end();
    return bild.save(pfad, "JPG");
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "Aufruf: lw_beispielseite <Ordner> <fixiert> <banner> <grafik>\n");
        return 2;
    }
    const std::string ordner = argv[1];
    const bool fixiert = std::string(argv[2]) == "1";
    const bool banner = std::string(argv[3]) == "1";
    const bool grafik = std::string(argv[4]) == "1";

    lw::Projektdaten daten;
    daten.Modus = lw::kModusHPNeu;
    daten.Seitenzahl = 4;
    daten.Zielordner = ordner;
    daten.ButtonBreite.Setzen(1, 170);
    daten.ButtonHoehe.Setzen(1, 50);
    lw::CodeEingaben eingaben;
    eingaben.menueFixiert = fixiert;
    eingaben.eineGrafikFuerAlle = grafik;
    for (int i = 1; i <= daten.Seitenzahl; ++i) {
        const std::string nr = std::to_string(i);
        eingaben.links.push_back({"Seite" + nr + ".html", "Seite " + nr, "Zur Seite " + nr});
        daten.ImportSeiten.Setzen(i, "Seite" + nr + ".html");
    }
    if (banner) {
        daten.BannerDatei = ordner + "/Tom & Jerry (neu).jpg";
        daten.BannerBreite = 468;
        daten.BannerHoehe = 60;
        if (!BildSchreiben(QString::fromStdString(daten.BannerDatei), 468, 60, QColor(40, 90, 160)))
            return 3;
    }
    if (grafik) {
        daten.ButtonGrafik.Setzen(1, ordner + "/Knopf \"rund\" (1).jpg");
        daten.HintergrundBild = ordner + "/Stein it's hell.jpg";
        if (!BildSchreiben(QString::fromStdString(daten.ButtonGrafik[1]), 170, 50,
                           QColor(200, 120, 40)) ||
            !BildSchreiben(QString::fromStdString(daten.HintergrundBild), 64, 64,
                           QColor(230, 230, 200)))
            return 3;
    }
    try {
        const lw::ErzeugterCode code = lw::CodeErzeugen(daten, eingaben);
        lw::DateienErzeugen(daten, code, fixiert);
    } catch (const lw::Fehler& f) {
        std::fprintf(stderr, "%s\n", f.what());
        return 1;
    }
    std::printf("%s/Neu/Seite1.html\n", ordner.c_str());
    return 0;
}
