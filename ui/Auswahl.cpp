#include "ui/Auswahl.h"

#include <QFrame>
#include <QPushButton>

#include "codegen/Schriftstil.h"
#include "ui/Anwendung.h"
#include "ui/TextUmwandlung.h"

namespace lw::ui {

std::uint32_t Farbwert(const QColor& farbe) {
    const QColor rgb = farbe.toRgb();
    return (static_cast<std::uint32_t>(rgb.blue()) << 16) |
           (static_cast<std::uint32_t>(rgb.green()) << 8) | static_cast<std::uint32_t>(rgb.red());
}

std::optional<std::string> FarbeAlsHexWaehlen(QWidget* eltern, const QColor& vorgabe) {
    const std::optional<QColor> farbe = dialoge().FarbeWaehlen(eltern, vorgabe);
    if (!farbe) return std::nullopt;
    return lw::FarbeAlsHex(Farbwert(*farbe));
}

SchriftWahl SchriftWaehlenUndSpeichern(QWidget* eltern, const SchriftFelder& felder) {
    const SchriftWahl vorgabe;
    felder.name = alsCp1252(vorgabe.familie);
    felder.groesse = vorgabe.punkte;
    const std::optional<SchriftWahl> wahl = dialoge().SchriftWaehlen(eltern, vorgabe);
    if (!wahl) return vorgabe;
    felder.name = alsCp1252(wahl->familie);
    felder.groesse = wahl->punkte;
    felder.farbe = lw::FarbeAlsHex(Farbwert(wahl->farbe));
    felder.stil =
        lw::SchriftstilAlsCss(wahl->fett, wahl->kursiv, wahl->unterstrichen, wahl->durchgestrichen);
    return *wahl;
}

QFont AlsQFont(const SchriftWahl& schrift) {
    QFont font(schrift.familie, schrift.punkte);
    font.setBold(schrift.fett);
    font.setItalic(schrift.kursiv);
    font.setUnderline(schrift.unterstrichen);
    font.setStrikeOut(schrift.durchgestrichen);
    return font;
}

QColor AlsQColor(const std::string& hex, const QColor& sonst) {
    const QColor farbe(QStringLiteral("#") + alsQString(hex));
    return hex.size() == 6 && farbe.isValid() ? farbe : sonst;
}

void FarbfeldZeigen(QPushButton* knopf, const std::string& hex) {
    auto* feld = knopf->findChild<QFrame*>(QStringLiteral("Farbfeld"));
    if (!feld) {
        feld = new QFrame(knopf);
        feld->setObjectName(QStringLiteral("Farbfeld"));
        feld->setFrameShape(QFrame::Box);
        feld->setAutoFillBackground(true);
        feld->setAttribute(Qt::WA_TransparentForMouseEvents);
        feld->setGeometry(4, knopf->height() - 7, knopf->width() - 8, 4);
    }
    const QColor farbe = AlsQColor(hex, QColor());
    feld->setVisible(farbe.isValid());
    QPalette farben = feld->palette();
    farben.setColor(QPalette::Window, farbe);
    farben.setColor(QPalette::WindowText, Qt::darkGray);
    feld->setPalette(farben);
}

std::optional<GewaehltesBild> BildWaehlen(QWidget* eltern, const QString& titel,
                                          const QString& ersterOrdner) {
    GewaehltesBild gewaehlt;
    gewaehlt.pfad = dialoge().DateiOeffnen(eltern, titel, ersterOrdner, kGrafikFilter);
    if (gewaehlt.pfad.isEmpty()) return std::nullopt;
    if (!Handlung(eltern, [&] { gewaehlt.bild = lw::BildLaden(alsCp1252(gewaehlt.pfad)); }))
        return std::nullopt;
    return gewaehlt;
}

QImage AlsQImage(const lw::Bild& bild) {
    if (bild.breite <= 0 || bild.hoehe <= 0 ||
        bild.rgba.size() < static_cast<std::size_t>(bild.breite) * bild.hoehe * 4)
        return {};
    // copy(): the QImage must own its pixels once the Bild is gone.
    return QImage(bild.rgba.data(), bild.breite, bild.hoehe, bild.breite * 4,
                  QImage::Format_RGBA8888)
        .copy();
}

}  // namespace lw::ui
