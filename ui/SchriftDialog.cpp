#include "ui/SchriftDialog.h"

#include "codegen/Schriftstil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QVBoxLayout>
#include <algorithm>

#include "codegen/Schriftstil.h"

namespace lw::ui {
namespace {

struct BenannteFarbe {
    const char* name;
    QRgb wert;
};

// The sixteen colours the classic font chooser offers.
constexpr BenannteFarbe kFarben[] = {
    {"Schwarz", 0x000000},  {"Kastanienbraun", 0x800000}, {"Grün", 0x008000},
    {"Olivgrün", 0x808000}, {"Marineblau", 0x000080},     {"Violett", 0x800080},
    {"Blaugrün", 0x008080}, {"Grau", 0x808080},           {"Silber", 0xC0C0C0},
    {"Rot", 0xFF0000},      {"Hellgrün", 0x00FF00},       {"Gelb", 0xFFFF00},
    {"Blau", 0x0000FF},     {"Fuchsia", 0xFF00FF},        {"Aquamarin", 0x00FFFF},
    {"Weiß", 0xFFFFFF}};

constexpr int kGroesseMin = 1;
constexpr int kGroesseMax = 400;

QIcon Farbfeld(const QColor& farbe) {
    QPixmap bild(24, 12);
    bild.fill(farbe);
    QPainter maler(&bild);
    maler.setPen(Qt::darkGray);
    maler.drawRect(0, 0, bild.width() - 1, bild.height() - 1);
    return QIcon(bild);
}

}  // namespace

SchriftDialog::SchriftDialog(QWidget* eltern, const SchriftWahl& vorgabe) : QDialog(eltern) {
    setObjectName(QStringLiteral("SchriftDialog"));
    setWindowTitle(QStringLiteral("Schriftart"));

    // First the families every visitor has, offered even where they are not
    // installed, because the page is shown on the visitor's machine; then
    // those of this machine, which a visitor may lack.
    QStringList web;
    for (const char* name : lw::kWebSchriften) web << QString::fromLatin1(name);
    QStringList familien = QFontDatabase::families();
    familien << vorgabe.familie;
    familien.removeAll(QString());
    familien.sort(Qt::CaseInsensitive);
    familien.removeDuplicates();
    for (const QString& name : web) familien.removeAll(name);

    familie_ = new QComboBox(this);
    familie_->setObjectName(QStringLiteral("cb_Familie"));
    familie_->setEditable(true);
    familie_->setInsertPolicy(QComboBox::NoInsert);
    familie_->addItems(web);
    familie_->insertSeparator(familie_->count());
    familie_->addItem(QStringLiteral("Nur auf diesem Rechner sicher vorhanden"));
    // A heading, not a font: it cannot be chosen.
    if (auto* modell = qobject_cast<QStandardItemModel*>(familie_->model()))
        modell->item(familie_->count() - 1)->setFlags(Qt::NoItemFlags);
    familie_->addItems(familien);
    familie_->setCurrentText(vorgabe.familie);
    familie_->setMinimumContentsLength(20);

    groesse_ = new QSpinBox(this);
    groesse_->setObjectName(QStringLiteral("sb_Groesse"));
    groesse_->setRange(kGroesseMin, kGroesseMax);
    groesse_->setValue(std::clamp(vorgabe.punkte, kGroesseMin, kGroesseMax));

    fett_ = new QCheckBox(QStringLiteral("&Fett"), this);
    fett_->setObjectName(QStringLiteral("chckbx_Fett"));
    fett_->setChecked(vorgabe.fett);
    kursiv_ = new QCheckBox(QStringLiteral("&Kursiv"), this);
    kursiv_->setObjectName(QStringLiteral("chckbx_Kursiv"));
    kursiv_->setChecked(vorgabe.kursiv);
    unterstrichen_ = new QCheckBox(QStringLiteral("&Unterstrichen"), this);
    unterstrichen_->setObjectName(QStringLiteral("chckbx_Unterstrichen"));
    unterstrichen_->setChecked(vorgabe.unterstrichen);
    durchgestrichen_ = new QCheckBox(QStringLiteral("&Durchgestrichen"), this);
    durchgestrichen_->setObjectName(QStringLiteral("chckbx_Durchgestrichen"));
    durchgestrichen_->setChecked(vorgabe.durchgestrichen);

    farbe_ = new QComboBox(this);
    farbe_->setObjectName(QStringLiteral("cb_Farbe"));
    for (const auto& f : kFarben)
        farbe_->addItem(Farbfeld(QColor(f.wert)), QString::fromUtf8(f.name), QColor(f.wert));
    FarbeWaehlbarMachen(vorgabe.farbe.isValid() ? vorgabe.farbe : QColor(Qt::black));

    beispiel_ = new QLabel(QStringLiteral("AaBbYyZz"), this);
    beispiel_->setObjectName(QStringLiteral("lbl_Beispiel"));
    beispiel_->setAlignment(Qt::AlignCenter);
    beispiel_->setMinimumSize(220, 70);
    beispiel_->setAutoFillBackground(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Schrift&art:"), familie_);
    form->addRow(QStringLiteral("&Größe (Pixel):"), groesse_);
    form->addRow(QStringLiteral("&Farbe:"), farbe_);

    auto* stil = new QGroupBox(QStringLiteral("Schriftschnitt und Effekte"), this);
    auto* stilRaster = new QHBoxLayout(stil);
    stilRaster->addWidget(fett_);
    stilRaster->addWidget(kursiv_);
    stilRaster->addWidget(unterstrichen_);
    stilRaster->addWidget(durchgestrichen_);

    auto* beispielRahmen = new QGroupBox(QStringLiteral("Beispiel"), this);
    auto* beispielRaster = new QVBoxLayout(beispielRahmen);
    beispielRaster->addWidget(beispiel_);

    auto* knoepfe = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(knoepfe, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(knoepfe, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // A family must be named; an empty field cannot become a font.
    connect(familie_, &QComboBox::currentTextChanged, this, [this, knoepfe](const QString& t) {
        knoepfe->button(QDialogButtonBox::Ok)->setEnabled(!t.trimmed().isEmpty());
        BeispielZeigen();
    });

    auto* raster = new QVBoxLayout(this);
    raster->addLayout(form);
    raster->addWidget(stil);
    raster->addWidget(beispielRahmen);
    raster->addWidget(knoepfe);

    // Tab follows the screen: the three fields from the top, then the styles;
    // the button box orders its own buttons.
    setTabOrder(familie_, groesse_);
    setTabOrder(groesse_, farbe_);
    setTabOrder(farbe_, fett_);
    setTabOrder(fett_, kursiv_);
    setTabOrder(kursiv_, unterstrichen_);
    setTabOrder(unterstrichen_, durchgestrichen_);
    setTabOrder(durchgestrichen_, knoepfe);

    connect(groesse_, &QSpinBox::valueChanged, this, &SchriftDialog::BeispielZeigen);
    for (QCheckBox* kasten : {fett_, kursiv_, unterstrichen_, durchgestrichen_})
        connect(kasten, &QCheckBox::toggled, this, &SchriftDialog::BeispielZeigen);
    connect(farbe_, &QComboBox::currentIndexChanged, this, &SchriftDialog::BeispielZeigen);
    BeispielZeigen();
}

void SchriftDialog::FarbeWaehlbarMachen(const QColor& farbe) {
    const QColor deckend = QColor(farbe.rgb());
    int index = farbe_->findData(deckend);
    if (index < 0) {
        farbe_->addItem(Farbfeld(deckend), QStringLiteral("Benutzerdefiniert"), deckend);
        index = farbe_->count() - 1;
    }
    farbe_->setCurrentIndex(index);
}

SchriftWahl SchriftDialog::Wahl() const {
    SchriftWahl w;
    w.familie = familie_->currentText().trimmed();
    w.punkte = groesse_->value();  // the field's range keeps it a positive point size
    w.fett = fett_->isChecked();
    w.kursiv = kursiv_->isChecked();
    w.unterstrichen = unterstrichen_->isChecked();
    w.durchgestrichen = durchgestrichen_->isChecked();
    w.farbe = farbe_->currentData().value<QColor>();
    return w;
}

void SchriftDialog::BeispielZeigen() {
    const SchriftWahl w = Wahl();
    QFont f(w.familie);
    f.setPointSize(w.punkte);
    f.setBold(w.fett);
    f.setItalic(w.kursiv);
    f.setUnderline(w.unterstrichen);
    f.setStrikeOut(w.durchgestrichen);
    beispiel_->setFont(f);
    QPalette p = beispiel_->palette();
    p.setColor(QPalette::WindowText, w.farbe);
    // White text on a white field would be invisible.
    p.setColor(QPalette::Window,
               w.farbe.lightness() > 200 ? QColor(Qt::darkGray) : QColor(Qt::white));
    beispiel_->setPalette(p);
}

std::optional<SchriftWahl> SchriftDialogAusfuehren(QWidget* eltern, const SchriftWahl& vorgabe) {
    SchriftDialog dialog(eltern, vorgabe);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Wahl();
}

}  // namespace lw::ui
