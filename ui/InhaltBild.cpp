#include "ui/InhaltBild.h"

#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>

#include "ui/Formbau.h"

using namespace lw::ui;

Tfrm_Bild::Tfrm_Bild(const QImage& bild, const QString& datei, QWidget* eltern)
    : QDialog(eltern) {
    setObjectName(QStringLiteral("frm_Bild"));
    setWindowTitle(QStringLiteral("Bild: ") + datei);
    setFixedSize(457, 209);

    auto* vorschau = new QLabel(this);
    vorschau->setObjectName(QStringLiteral("img_BildVorschau"));
    vorschau->setGeometry(16, 16, 96, 96);
    vorschau->setAlignment(Qt::AlignCenter);
    if (!bild.isNull())
        vorschau->setPixmap(QPixmap::fromImage(
            bild.scaled(96, 96, Qt::KeepAspectRatio, Qt::SmoothTransformation)));

    auto* text = new QLabel(this);
    text->setObjectName(QStringLiteral("lbl_BildBeschreibung"));
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    text->setGeometry(128, 16, 313, 64);
    text->setText(QStringLiteral("Beschreiben Sie das Bild in wenigen Worten – für Besucher, die "
                                 "es nicht sehen können, und für Suchmaschinen."));
    ed_BildBeschreibung = Feld(this, "ed_BildBeschreibung", 128, 88, 313, 23, QString());

    btn_BildOK = SymbolKnopf(this, "btn_BildOK", 264, 168, 81, 25, QStyle::SP_DialogOkButton,
                             QStringLiteral("OK"));
    btn_BildOK->setDefault(true);
    // The description is required: without it the button stays dim.
    btn_BildOK->setEnabled(false);
    connect(ed_BildBeschreibung, &QLineEdit::textChanged, this,
            [this](const QString& t) { btn_BildOK->setEnabled(!t.trimmed().isEmpty()); });
    connect(btn_BildOK, &QPushButton::clicked, this, &QDialog::accept);
    auto* abbrechen = SymbolKnopf(this, "btn_BildAbbrechen", 360, 168, 81, 25,
                                  QStyle::SP_DialogCancelButton, QStringLiteral("Abbrechen"));
    connect(abbrechen, &QPushButton::clicked, this, &QDialog::reject);
    ed_BildBeschreibung->setFocus();
}

QString Tfrm_Bild::Beschreibung() const {
    return ed_BildBeschreibung->text().trimmed();
}

Tfrm_Tabelle::Tfrm_Tabelle(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("frm_Tabelle"));
    setWindowTitle(QStringLiteral("Tabelle einfügen"));
    setFixedSize(233, 145);
    const auto zahl = [this](const char* name, int oben, int wert) {
        auto* feld = new QSpinBox(this);
        feld->setObjectName(QString::fromLatin1(name));
        feld->setRange(1, 100);
        feld->setValue(wert);
        feld->setGeometry(128, oben, 81, 23);
        return feld;
    };
    Beschriftung(this, "lbl_Zeilen", 24, 20, QStringLiteral("Zeilen"));
    ud_Zeilen = zahl("ud_Zeilen", 16, 3);
    Beschriftung(this, "lbl_Spalten", 24, 56, QStringLiteral("Spalten"));
    ud_Spalten = zahl("ud_Spalten", 52, 2);
    auto* ok = SymbolKnopf(this, "btn_TabelleOK", 24, 104, 89, 25, QStyle::SP_DialogOkButton,
                           QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* abbrechen = SymbolKnopf(this, "btn_TabelleAbbrechen", 120, 104, 89, 25,
                                  QStyle::SP_DialogCancelButton, QStringLiteral("Abbrechen"));
    connect(abbrechen, &QPushButton::clicked, this, &QDialog::reject);
}

int Tfrm_Tabelle::Zeilen() const {
    return ud_Zeilen->value();
}

int Tfrm_Tabelle::Spalten() const {
    return ud_Spalten->value();
}
