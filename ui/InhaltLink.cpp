#include "ui/InhaltLink.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

#include "ui/Dialoge.h"
#include "ui/Formbau.h"

using namespace lw::ui;

Tfrm_Link::Tfrm_Link(const QStringList& seiten, const QString& text, QWidget* eltern)
    : QDialog(eltern) {
    setObjectName(QStringLiteral("frm_Link"));
    setWindowTitle(QStringLiteral("Link einfügen"));
    setFixedSize(377, 177);

    rb_LinkSeite = Optionsfeld(this, "rb_LinkSeite", 16, 16, 121, 17,
                               QStringLiteral("Seite dieser Homepage"));
    cb_LinkSeite = new QComboBox(this);
    cb_LinkSeite->setObjectName(QStringLiteral("cb_LinkSeite"));
    cb_LinkSeite->setGeometry(160, 12, 201, 23);
    cb_LinkSeite->addItems(seiten);
    rb_LinkAdresse = Optionsfeld(this, "rb_LinkAdresse", 16, 52, 121, 17,
                                 QStringLiteral("Adresse im Internet"));
    ed_LinkAdresse = Feld(this, "ed_LinkAdresse", 160, 48, 201, 23, QString());
    ed_LinkAdresse->setPlaceholderText(QStringLiteral("https://www.beispiel.de"));
    Beschriftung(this, "lbl_LinkText", 16, 92, QStringLiteral("Text des Links"));
    ed_LinkText = Feld(this, "ed_LinkText", 160, 88, 201, 23, text);

    // A site without pages can only link elsewhere.
    const bool seite = !seiten.isEmpty();
    rb_LinkSeite->setEnabled(seite);
    (seite ? rb_LinkSeite : rb_LinkAdresse)->setChecked(true);
    cb_LinkSeite->setEnabled(seite);
    ed_LinkAdresse->setEnabled(!seite);
    connect(rb_LinkAdresse, &QRadioButton::toggled, this, [this](bool an) {
        ed_LinkAdresse->setEnabled(an);
        cb_LinkSeite->setEnabled(!an);
        if (an) ed_LinkAdresse->setFocus();
    });
    // Typing an address means that one.
    connect(ed_LinkAdresse, &QLineEdit::textEdited, this,
            [this] { rb_LinkAdresse->setChecked(true); });

    auto* ok = SymbolKnopf(this, "btn_LinkOK", 184, 136, 81, 25, QStyle::SP_DialogOkButton,
                           QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &Tfrm_Link::btn_LinkOKClick);
    auto* abbrechen = SymbolKnopf(this, "btn_LinkAbbrechen", 280, 136, 81, 25,
                                  QStyle::SP_DialogCancelButton, QStringLiteral("Abbrechen"));
    connect(abbrechen, &QPushButton::clicked, this, &QDialog::reject);
    (text.isEmpty() ? static_cast<QWidget*>(ed_LinkText) : static_cast<QWidget*>(cb_LinkSeite))
        ->setFocus();
}

std::optional<QString> Tfrm_Link::AdressePruefen(const QString& eingabe, QString* meldung) {
    QString adresse = eingabe.trimmed();
    if (adresse.isEmpty()) {
        *meldung = QStringLiteral("Bitte geben Sie die Adresse ein, zu der der Link führt.");
        return std::nullopt;
    }
    // Browsers drop blanks and control characters inside a scheme, so that
    // "java script:" still runs; the scheme is judged without them.
    QString schema = adresse;
    schema.remove(QRegularExpression(QStringLiteral("[\\x00-\\x20\\x7f]")));
    schema = schema.toLower();
    for (const char* gefaehrlich : {"javascript:", "vbscript:", "data:", "file:"}) {
        if (schema.startsWith(QLatin1String(gefaehrlich))) {
            *meldung = QStringLiteral("Links mit „%1“ werden nicht übernommen: Sie würden beim "
                                      "Besucher ein Programm oder eine Datei öffnen statt einer "
                                      "Seite.")
                           .arg(QLatin1String(gefaehrlich));
            return std::nullopt;
        }
    }
    if (schema.startsWith(QLatin1String("http://")) || schema.startsWith(QLatin1String("https://")) ||
        schema.startsWith(QLatin1String("mailto:")))
        return adresse;
    static const QRegularExpression mitSchema(QStringLiteral("^[a-z][a-z0-9+.-]*:(//|[^0-9])"));
    if (mitSchema.match(schema).hasMatch()) {
        *meldung = QStringLiteral("Diese Adresse wird nicht übernommen. Erlaubt sind Adressen mit "
                                  "http://, https:// oder mailto:.");
        return std::nullopt;
    }
    // "www.beispiel.de" or "beispiel.de:8080/seite" as people type them.
    return QStringLiteral("https://") + adresse;
}

void Tfrm_Link::btn_LinkOKClick() {
    Link link;
    if (rb_LinkSeite->isChecked()) {
        link.adresse = cb_LinkSeite->currentText();
    } else {
        QString meldung;
        const std::optional<QString> adresse = AdressePruefen(ed_LinkAdresse->text(), &meldung);
        if (!adresse) {
            dialoge().Meldung(this, meldung);
            ed_LinkAdresse->setFocus();
            ed_LinkAdresse->selectAll();
            return;
        }
        link.adresse = *adresse;
    }
    link.text = ed_LinkText->text().trimmed().isEmpty() ? link.adresse : ed_LinkText->text();
    ergebnis_ = link;
    accept();
}
