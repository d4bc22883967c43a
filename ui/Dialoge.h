#pragma once

#include <QColor>
#include <QString>
#include <optional>

class QWidget;

namespace lw::ui {

// What a font chooser delivers: family, size in points, the four style flags
// and the text colour.
struct SchriftWahl {
    QString familie = QStringLiteral("Arial");
    int punkte = 14;
    bool fett = false;
    bool kursiv = false;
    bool unterstrichen = false;
    bool durchgestrichen = false;
    QColor farbe = Qt::black;
};

// Every chooser and message box of the program goes through this seam, so
// that tests can script the user's answers and check what each chooser was
// opened with. Choosers are made fresh for each use with fixed settings.
class Dialoge {
public:
    virtual ~Dialoge() = default;

    // Open-file chooser; the chosen full path, or empty when cancelled.
    virtual QString DateiOeffnen(QWidget* eltern, const QString& titel, const QString& ersterOrdner,
                                 const QString& filter) = 0;
    // Folder chooser, opened in ersterOrdner with nothing selected; the chosen
    // folder, or empty when cancelled.
    virtual QString OrdnerWaehlen(QWidget* eltern, const QString& titel,
                                  const QString& ersterOrdner) = 0;
    virtual std::optional<QColor> FarbeWaehlen(QWidget* eltern, const QColor& vorgabe) = 0;
    virtual std::optional<SchriftWahl> SchriftWaehlen(QWidget* eltern,
                                                      const SchriftWahl& vorgabe) = 0;

    // The plain message box: no symbol, caption "Leistenwerk", OK.
    virtual void Meldung(QWidget* eltern, const QString& text) = 0;
    // The plain message box with the buttons "Ja" and "Nein" instead of OK;
    // true for "Ja". "Nein" is the default and the answer to Escape.
    virtual bool Frage(QWidget* eltern, const QString& text) = 0;
    // The plain message box with a second button of that caption beside OK;
    // true when the second button was pressed.
    virtual bool MeldungMitKnopf(QWidget* eltern, const QString& text, const QString& knopf) = 0;
    // The information box: caption "Informationen", information symbol, OK.
    virtual void Information(QWidget* eltern, const QString& text) = 0;
    // The standard error box: error symbol, caption "Leistenwerk", the text
    // with a full stop added when it does not end in one.
    virtual void FehlerZeigen(QWidget* eltern, const QString& text) = 0;
};

// The text the standard error box shows: a full stop is added unless the text
// already ends in one (an empty text stays empty).
QString FehlerText(const QString& text);

// The dialogs in use: the real ones unless a test installed its own.
Dialoge& dialoge();
// Installs d (not owned); nullptr restores the real dialogs.
void dialogeSetzen(Dialoge* d);

}  // namespace lw::ui
