#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>

#include "pictures/Bild.h"
#include "ui/Dialoge.h"

class QPushButton;
class QWidget;

// Steps the choosers of the settings and links pages share.
namespace lw::ui {

// The colour as the platform value 0x00BBGGRR that FarbeAlsHex expects.
std::uint32_t Farbwert(const QColor& farbe);

// Runs a colour chooser preset with vorgabe: the chosen colour as six hex
// digits, or nothing when cancelled.
std::optional<std::string> FarbeAlsHexWaehlen(QWidget* eltern, const QColor& vorgabe);

// The fields one font chooser writes.
struct SchriftFelder {
    std::string& name;
    int& groesse;
    std::string& farbe;
    std::string& stil;
};

// Runs a font chooser from its fixed preset ("Arial", 14, regular, black).
// Name and size fall back to the preset at once; confirming stores all four
// fields, cancelling keeps colour and style. Gives the font in effect.
SchriftWahl SchriftWaehlenUndSpeichern(QWidget* eltern, const SchriftFelder& felder);

QFont AlsQFont(const SchriftWahl& schrift);

// A colour of the project data (six hex digits); sonst when it has none.
QColor AlsQColor(const std::string& hex, const QColor& sonst);

// A bar of the colour along the foot of a colour button, so that the button
// shows what it chose without a wider caption; none for an empty colour.
void FarbfeldZeigen(QPushButton* knopf, const std::string& hex);

// The choices of every picture chooser: all kinds, then each alone. Qt
// separates the patterns of a choice by blanks.
inline const QString kGrafikFilter = QStringLiteral(
    "Grafiken (*.jpg *.jpeg *.gif *.png);;JPEG (*.jpg *.jpeg);;GIF (*.gif);;PNG (*.png)");

struct GewaehltesBild {
    QString pfad;
    lw::Bild bild;
};

// Runs a picture chooser and decodes the chosen file. Nothing when cancelled
// or when the file is no readable picture (then its error has been shown):
// decoding comes first, so a bad file leaves every field as it was.
std::optional<GewaehltesBild> BildWaehlen(QWidget* eltern, const QString& titel,
                                          const QString& ersterOrdner);

// The decoded pixels with their transparency.
QImage AlsQImage(const lw::Bild& bild);

}  // namespace lw::ui
