#include "ui/ButtonGroesse.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <optional>

#include "ui/Dialoge.h"
#include "ui/Formbau.h"

namespace {

std::optional<int> GanzeZahl(const QString& text) {
    bool ok = false;
    const int zahl = text.trimmed().toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return zahl;
}

}  // namespace

Tfrm_ButtonGroesse::Tfrm_ButtonGroesse(lw::Projektdaten& daten)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), daten_(daten) {
    setObjectName(QStringLiteral("frm_ButtonGroesse"));
    setWindowTitle(QStringLiteral("Fehlende Buttongröße"));
    setFixedSize(305, 208);

    lw::ui::Beschriftung(this, "Label1", 24, 8,
                         QStringLiteral("Es wurden keine Buttonabmessungen erkannt."));
    lw::ui::Beschriftung(this, "Label2", 24, 32,
                         QStringLiteral("Um die Links anklickbar zu machen müssen Sie einen"));
    lw::ui::Beschriftung(this, "Label3", 24, 56,
                         QStringLiteral("rechteckigen Bereich definieren."));

    auto* GroupBox3 =
        lw::ui::Gruppe(this, "GroupBox3", 26, 88, 249, 57, QStringLiteral("Größe des Buttons"));

    lw::ui::Beschriftung(GroupBox3, "Label14", 5, 28, QStringLiteral("Höhe"));
    Edit8 = lw::ui::Feld(GroupBox3, "Edit8", 40, 24, 41, 21, QStringLiteral("50"));
    Edit8->setToolTip(QStringLiteral(
        "Höhe des Links (Es wird ein rechteckiges Feld mit der eingegebenen Höhe erzeugt)"));
    lw::ui::Beschriftung(GroupBox3, "Label17", 91, 28, QStringLiteral("Pixel"));

    lw::ui::Beschriftung(GroupBox3, "Label16", 133, 28, QStringLiteral("Breite"));
    Edit9 = lw::ui::Feld(GroupBox3, "Edit9", 168, 24, 41, 21, QStringLiteral("170"));
    Edit9->setToolTip(QStringLiteral(
        "Breite des Links (Es wird ein rechteckiges Feld mit der eingegebenen Breite erzeugt)"));
    lw::ui::Beschriftung(GroupBox3, "Label15", 219, 28, QStringLiteral("Pixel"));

    auto* BitBtn1 = lw::ui::SymbolKnopf(this, "BitBtn1", 208, 168, 75, 25,
                                        QStyle::SP_DialogOkButton, QStringLiteral("OK"));
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &Tfrm_ButtonGroesse::BitBtn1Click);

    lw::ui::AufBildschirmZentrieren(*this);
}

void Tfrm_ButtonGroesse::BitBtn1Click() {
    // Width first: a width already stored stays stored when the height is wrong.
    for (auto [feld, tabelle] :
         {std::pair{Edit9, &daten_.ButtonBreite}, std::pair{Edit8, &daten_.ButtonHoehe}}) {
        const std::optional<int> zahl = GanzeZahl(feld->text());
        // A size of 0 or less gives a button nobody can click.
        const QString fehler =
            !zahl        ? QStringLiteral("Bitte geben Sie eine ganze Zahl ein")
            : *zahl <= 0 ? QStringLiteral("Bitte geben Sie eine ganze Zahl größer als 0 ein")
                         : QString();
        if (!fehler.isEmpty()) {
            lw::ui::dialoge().Meldung(this, fehler);
            feld->setFocus();
            feld->selectAll();
            return;
        }
        tabelle->Setzen(1, *zahl);
    }
    accept();
}
