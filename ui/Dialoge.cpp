#include "ui/Dialoge.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

#include "ui/SchriftDialog.h"

namespace lw::ui {
namespace {

const QString kProgrammTitel = QStringLiteral("Leistenwerk");

QWidget* ElternOderAktiv(QWidget* eltern) {
    return eltern ? eltern : QApplication::activeWindow();
}

void Meldungsfenster(QWidget* eltern, QMessageBox::Icon symbol, const QString& titel,
                     const QString& text) {
    QMessageBox box(symbol, titel, text, QMessageBox::Ok, ElternOderAktiv(eltern));
    // Messages quote paths and page text; never read them as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

class EchteDialoge final : public Dialoge {
public:
    QString DateiOeffnen(QWidget* eltern, const QString& titel, const QString& ersterOrdner,
                         const QString& filter) override {
        // A missing first folder leaves the choice to the platform.
        const QString ordner =
            !ersterOrdner.isEmpty() && QDir(ersterOrdner).exists() ? ersterOrdner : QString();
        return QFileDialog::getOpenFileName(ElternOderAktiv(eltern), titel, ordner, filter);
    }

    QString OrdnerWaehlen(QWidget* eltern, const QString& titel) override {
        return QFileDialog::getExistingDirectory(ElternOderAktiv(eltern), titel, QString(),
                                                 QFileDialog::ShowDirsOnly);
    }

    std::optional<QColor> FarbeWaehlen(QWidget* eltern, const QColor& vorgabe) override {
        const QColor farbe = QColorDialog::getColor(vorgabe, ElternOderAktiv(eltern));
        if (!farbe.isValid()) return std::nullopt;
        return farbe;
    }

    std::optional<SchriftWahl> SchriftWaehlen(QWidget* eltern,
                                              const SchriftWahl& vorgabe) override {
        return SchriftDialogAusfuehren(ElternOderAktiv(eltern), vorgabe);
    }

    void Meldung(QWidget* eltern, const QString& text) override {
        Meldungsfenster(eltern, QMessageBox::NoIcon, kProgrammTitel, text);
    }

    void Information(QWidget* eltern, const QString& text) override {
        Meldungsfenster(eltern, QMessageBox::Information, QStringLiteral("Informationen"), text);
    }

    void FehlerZeigen(QWidget* eltern, const QString& text) override {
        Meldungsfenster(eltern, QMessageBox::Critical, kProgrammTitel, FehlerText(text));
    }
};

EchteDialoge& Echte() {
    static EchteDialoge echte;
    return echte;
}

Dialoge* gesetzte = nullptr;

}  // namespace

QString FehlerText(const QString& text) {
    if (text.isEmpty() || text.endsWith(QLatin1Char('.'))) return text;
    return text + QLatin1Char('.');
}

Dialoge& dialoge() {
    return gesetzte ? *gesetzte : Echte();
}

void dialogeSetzen(Dialoge* d) {
    gesetzte = d;
}

}  // namespace lw::ui
