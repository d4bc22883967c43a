#pragma once

#include <QDialog>
#include <optional>

#include "ui/Dialoge.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;

namespace lw::ui {

// The font chooser: family, size in points, bold, italic, underline,
// strike-out and a text colour. QFontDialog offers no colour, hence our own.
// The size is always whole points from 1 up, whatever the preset held.
class SchriftDialog final : public QDialog {
public:
    SchriftDialog(QWidget* eltern, const SchriftWahl& vorgabe);

    // The settings shown at this moment.
    SchriftWahl Wahl() const;

private:
    void BeispielZeigen();
    void FarbeWaehlbarMachen(const QColor& farbe);

    QComboBox* familie_;
    QSpinBox* groesse_;
    QCheckBox* fett_;
    QCheckBox* kursiv_;
    QCheckBox* unterstrichen_;
    QCheckBox* durchgestrichen_;
    QComboBox* farbe_;
    QLabel* beispiel_;
};

// Runs the chooser modally; nullopt when cancelled.
std::optional<SchriftWahl> SchriftDialogAusfuehren(QWidget* eltern, const SchriftWahl& vorgabe);

}  // namespace lw::ui
