#include "ui/Status.h"

#include <QLabel>

#include "ui/Formbau.h"

namespace {
// The designed outer size is 347 x 101; a small tool caption and a sizeable
// border take about 26 and 8 pixels of it.
constexpr int kBreite = 339;
constexpr int kHoehe = 75;
}  // namespace

Tfrm_Status::Tfrm_Status() : QWidget(nullptr, Qt::Tool) {
    setObjectName(QStringLiteral("frm_Status"));
    setWindowTitle(QStringLiteral("Status"));
    resize(kBreite, kHoehe);

    lw::ui::Beschriftung(this, "Label1", 16, 16,
                         QStringLiteral("Folgende Aktion wird momentan ausgeführt:"));
    lbl_Staus = lw::ui::Beschriftung(this, "lbl_Staus", 16, 40, QStringLiteral("Bitte warten..."));

    lw::ui::AufBildschirmZentrieren(*this);
}

void Tfrm_Status::StatusSetzen(const QString& text) {
    lbl_Staus->setText(text);
    lbl_Staus->adjustSize();
    if (isVisible()) repaint();
}
