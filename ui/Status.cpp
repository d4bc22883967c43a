#include "ui/Status.h"

#include <QLabel>
#include <QProgressBar>
#include <algorithm>

#include "ui/Formbau.h"

namespace {
// The designed outer size is 347 x 101; a small tool caption and a sizeable
// border take about 26 and 8 pixels of it.
constexpr int kBreite = 339;
constexpr int kHoehe = 75;
// The bar fits below the status text inside the designed size, just high
// enough for its text "Seite N von M".
constexpr int kBalkenOben = 56;
constexpr int kBalkenHoehe = 16;
}  // namespace

Tfrm_Status::Tfrm_Status() : QWidget(nullptr, Qt::Tool) {
    setObjectName(QStringLiteral("frm_Status"));
    setWindowTitle(QStringLiteral("Status"));
    resize(kBreite, kHoehe);

    lw::ui::Beschriftung(this, "Label1", 16, 16,
                         QStringLiteral("Folgende Aktion wird momentan ausgeführt:"));
    lbl_Staus = lw::ui::Beschriftung(this, "lbl_Staus", 16, 40, QStringLiteral("Bitte warten..."));

    pb_Fortschritt = new QProgressBar(this);
    pb_Fortschritt->setObjectName(QStringLiteral("pb_Fortschritt"));
    pb_Fortschritt->setGeometry(16, kBalkenOben, kBreite - 32, kBalkenHoehe);
    pb_Fortschritt->setFormat(QStringLiteral("Seite %v von %m"));
    pb_Fortschritt->setAlignment(Qt::AlignCenter);
    FortschrittZuruecksetzen();

    lw::ui::AufBildschirmZentrieren(*this);
}

void Tfrm_Status::StatusSetzen(const QString& text) {
    lbl_Staus->setText(text);
    lbl_Staus->adjustSize();
    if (isVisible()) repaint();
}

void Tfrm_Status::FortschrittZuruecksetzen() {
    // No number of pages yet, so no text either.
    pb_Fortschritt->setTextVisible(false);
    pb_Fortschritt->setRange(0, 1);
    pb_Fortschritt->setValue(0);
}

void Tfrm_Status::FortschrittSetzen(int fertig, int gesamt) {
    // An empty menu still gives a bar, not Qt's busy indicator of a 0..0 range.
    pb_Fortschritt->setRange(0, std::max(gesamt, 1));
    pb_Fortschritt->setValue(std::clamp(fertig, 0, std::max(gesamt, 1)));
    pb_Fortschritt->setTextVisible(gesamt > 0);
    if (isVisible()) pb_Fortschritt->repaint();
}
