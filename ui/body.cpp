// The page "Dateiweite Einstellungen": page colours and font, background
// picture and banner.
#include "ui/MainForm.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "common/Dateien.h"
#include "common/Fehler.h"
#include "pictures/Bild.h"
#include "ui/Auswahl.h"
#include "ui/Dialoge.h"
#include "ui/Formbau.h"
#include "ui/TextUmwandlung.h"

using namespace lw::ui;

void TForm1::BodySeiteFuellen(QWidget* seite) {

    auto* farbe =
        Knopf(seite, "btn_HintergrundFarbe", 16, 24, 113, 25, QStringLiteral("Hintergrundfarbe"));
    connect(farbe, &QPushButton::clicked, this, &TForm1::btn_HintergrundFarbeClick);
    auto* schrift = Knopf(seite, "btn_BodyFont", 160, 24, 75, 25, QStringLiteral("Schrift"));
    connect(schrift, &QPushButton::clicked, this, &TForm1::btn_BodyFontClick);
    cbx_MenueFixieren = Kontrollkaestchen(seite, "cbx_MenueFixieren", 280, 28, 97, 17,
                                          QStringLiteral("Menü fixieren?"));

    auto* hintergrund =
        Gruppe(seite, "GroupBox2", 8, 72, 481, 89, QStringLiteral("Hintergrundbild"));
    Edit1 = Feld(hintergrund, "Edit1", 24, 26, 121, 21, QStringLiteral("Hintergrundbild wählen"));
    Edit1->setReadOnly(true);
    connect(Edit1, &QLineEdit::textChanged, this, &TForm1::Edit1Change);
    auto* laden =
        Knopf(hintergrund, "btn_HintergrundLaden", 152, 24, 57, 25, QStringLiteral("Laden..."));
    connect(laden, &QPushButton::clicked, this, &TForm1::HintergrundbildLaden);
    auto* kachel = Optionsfeld(hintergrund, "rbtn_HintergrundKachel", 248, 28, 89, 17,
                               QStringLiteral("Kacheleffekt"));
    kachel->setChecked(true);
    connect(kachel, &QRadioButton::toggled, this, [this](bool an) {
        if (an) daten_.HintergrundKachel = true;
    });
    auto* einzel = Optionsfeld(hintergrund, "rbtn_HintergrundEinzel", 344, 28, 73, 17,
                               QStringLiteral("Einzelbild"));
    connect(einzel, &QRadioButton::toggled, this, [this](bool an) {
        if (an) daten_.HintergrundKachel = false;
    });
    auto* fix = Kontrollkaestchen(hintergrund, "chckbx_HintergrundFix", 352, 64, 97, 17,
                                  QStringLiteral("Bild fixieren"));
    connect(fix, &QCheckBox::toggled, this, [this](bool an) { daten_.HintergrundFixiert = an; });

    auto* banner = Gruppe(seite, "GroupBox1", 8, 184, 481, 105, QStringLiteral("Banner"));
    Edit2 = Feld(banner, "Edit2", 24, 26, 121, 21, QStringLiteral("Banner wählen"));
    Edit2->setReadOnly(true);
    auto* bannerLaden = Knopf(banner, "Button8", 152, 24, 57, 25, QStringLiteral("Laden..."));
    connect(bannerLaden, &QPushButton::clicked, this, &TForm1::BannerLaden);
    Beschriftung(banner, "Label10", 40, 72, QStringLiteral("Alternativtext"));
    Edit5 = Feld(banner, "Edit5", 120, 68, 121, 21, QString());
    Beschriftung(banner, "Label11", 256, 72, QStringLiteral("Tooltipp"));
    Edit6 = Feld(banner, "Edit6", 304, 68, 121, 21, QString());

    // The picture holder of the design, which measured pictures; the sizes
    // now come from the decoder, so it stays empty and hidden.
    auto* halter = new QLabel(seite);
    halter->setObjectName(QStringLiteral("Image1"));
    halter->setGeometry(16, 312, 25, 25);
    halter->hide();

    auto* weiter = Knopf(seite, "BitBtn3", 312, 320, 75, 25, QStringLiteral("Weiter >>"));
    connect(weiter, &QPushButton::clicked, this, &TForm1::NaechsteSeiteZeigen);
    auto* abbruch = AbbrechenKnopf(seite, "BitBtn4", 400, 320, 89);
    connect(abbruch, &QPushButton::clicked, this, &TForm1::WarnungZeigen);
}

void TForm1::btn_HintergrundFarbeClick() {
    if (const auto farbe = FarbeAlsHexWaehlen(this, Qt::white))
        daten_.BodyHintergrundFarbe = *farbe;
}

void TForm1::btn_BodyFontClick() {
    SchriftWaehlenUndSpeichern(this, {daten_.BodySchriftName, daten_.BodySchriftGroesse,
                                      daten_.BodySchriftFarbe, daten_.BodySchriftStil});
}

void TForm1::HintergrundbildLaden() {
    // The picture itself is not opened: neither its contents nor its size matter here.
    const QString pfad =
        dialoge().DateiOeffnen(this, QStringLiteral("Hintergrundbild laden..."),
                               alsQString(lw::ProgrammOrdner() + "/Texturen"), kGrafikFilter);
    if (pfad.isEmpty()) return;
    daten_.HintergrundBild = alsCp1252(pfad);
    Edit1->setText(pfad);
}

void TForm1::Edit1Change(const QString& text) {
    if (!text.isEmpty()) daten_.HintergrundBild = alsCp1252(text);
}

void TForm1::BannerLaden() {
    const auto gewaehlt = BildWaehlen(this, QStringLiteral("Banner laden..."), QString());
    if (!gewaehlt) return;
    daten_.BannerDatei = alsCp1252(gewaehlt->pfad);
    Edit2->setText(gewaehlt->pfad);
    daten_.BannerHoehe = gewaehlt->bild.hoehe;
    daten_.BannerBreite = gewaehlt->bild.breite;
}
