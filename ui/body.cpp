// The page "Dateiweite Einstellungen": page colours and font, background
// picture and banner.
#include "ui/MainForm.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "codegen/Schriftstil.h"
#include "common/Dateien.h"
#include "common/Fehler.h"
#include "common/Zeichensatz.h"
#include "pictures/Bild.h"
#include "pictures/Verkleinern.h"
#include "ui/Anwendung.h"
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
    // Below the designed controls, which keep their places.
    lbl_KontrastSeite = new QLabel(seite);
    lbl_KontrastSeite->setObjectName(QStringLiteral("lbl_KontrastSeite"));
    lbl_KontrastSeite->setGeometry(16, 52, 473, 17);

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

    cbx_Handy = Kontrollkaestchen(seite, "cbx_Handy", 16, 296, 281, 17,
                                  QStringLiteral("Für Smartphones und Tablets anpassen"));
    connect(cbx_Handy, &QCheckBox::toggled, this, [this](bool an) { daten_.HandyAnsicht = an; });

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
    if (const auto farbe =
            FarbeAlsHexWaehlen(this, AlsQColor(daten_.BodyHintergrundFarbe, Qt::white)))
        daten_.BodyHintergrundFarbe = *farbe;
    KontrastZeigen();
}

void TForm1::btn_BodyFontClick() {
    SchriftWaehlenUndSpeichern(this, {daten_.BodySchriftName, daten_.BodySchriftGroesse,
                                      daten_.BodySchriftFarbe, daten_.BodySchriftStil});
    KontrastZeigen();
}

void TForm1::HintergrundbildLaden() {
    // Decoded only to know its size for phones; a file that is no picture is
    // refused with its message, as a banner is.
    auto gewaehlt = BildWaehlen(this, QStringLiteral("Hintergrundbild laden..."),
                                alsQString(lw::ProgrammOrdner() + "/Texturen"));
    if (!gewaehlt) return;
    FuerHandyPruefen(gewaehlt->pfad, gewaehlt->bild);
    daten_.HintergrundBild = alsCp1252(gewaehlt->pfad);
    Edit1->setText(gewaehlt->pfad);
}

void TForm1::Edit1Change(const QString& text) {
    if (!text.isEmpty()) daten_.HintergrundBild = alsCp1252(text);
}

void TForm1::BannerLaden() {
    auto gewaehlt = BildWaehlen(this, QStringLiteral("Banner laden..."), QString());
    if (!gewaehlt) return;
    FuerHandyPruefen(gewaehlt->pfad, gewaehlt->bild);
    daten_.BannerDatei = alsCp1252(gewaehlt->pfad);
    Edit2->setText(gewaehlt->pfad);
    daten_.BannerHoehe = gewaehlt->bild.hoehe;
    daten_.BannerBreite = gewaehlt->bild.breite;
}

void TForm1::KontrastZeigen() {
    const auto zeigen = [](QLabel* label, const std::string& schrift, const std::string& grund,
                           const char* schriftFeld, const char* grundFeld) {
        label->clear();
        const double verhaeltnis =
            lw::KontrastVerhaeltnis(schrift, grund, lw::W(schriftFeld), lw::W(grundFeld));
        label->setText(alsQString(lw::KontrastText(verhaeltnis)));
        QPalette farben = label->parentWidget()->palette();
        if (verhaeltnis < lw::kKontrastMindestens)
            farben.setColor(QPalette::WindowText, QColor(0xb0, 0x00, 0x00));
        label->setPalette(farben);
    };
    FarbfeldZeigen(findChild<QPushButton*>(QStringLiteral("btn_HintergrundFarbe")),
                   daten_.BodyHintergrundFarbe);
    FarbfeldZeigen(findChild<QPushButton*>(QStringLiteral("btn_LinkBackground")),
                   daten_.ButtonHintergrundFarbe);
    // Warns only: the choice stays whatever the ratio.
    Handlung(this, [&] {
        zeigen(lbl_KontrastSeite, daten_.BodySchriftFarbe, daten_.BodyHintergrundFarbe,
               "Die Schriftfarbe der Seite", "Die Hintergrundfarbe der Seite");
        // Without a colour of their own the buttons stand on the page's background.
        if (daten_.ButtonHintergrundFarbe.empty())
            zeigen(lbl_KontrastButtons, daten_.ButtonSchriftFarbe, daten_.BodyHintergrundFarbe,
                   "Die Schriftfarbe der Buttons", "Die Hintergrundfarbe der Seite");
        else
            zeigen(lbl_KontrastButtons, daten_.ButtonSchriftFarbe, daten_.ButtonHintergrundFarbe,
                   "Die Schriftfarbe der Buttons", "Die Hintergrundfarbe der Buttons");
    });
}

void TForm1::FuerHandyPruefen(QString& pfad, lw::Bild& bild) {
    std::string hinweis;
    if (!Handlung(this, [&] { hinweis = lw::HandyHinweis(alsCp1252(pfad), bild); }) ||
        hinweis.empty())
        return;
    if (!dialoge().MeldungMitKnopf(this, alsQString(hinweis),
                                   QStringLiteral("Verkleinerte Kopie verwenden")))
        return;
    if (!kopien_) kopien_ = std::make_unique<QTemporaryDir>();
    // A folder per copy: two pictures of one name from different folders
    // keep their own copies; the save then names them as it names originals.
    const std::string ordner = alsCp1252(kopien_->path()) + "/" + std::to_string(++kopienZahl_);
    Handlung(this, [&] {
        const std::string kopie = lw::VerkleinerteKopie(alsCp1252(pfad), ordner);
        bild = lw::BildLaden(kopie);
        pfad = alsQString(kopie);
    });
}
