#include "ui/Dialoge.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

#include "ui/SchriftDialog.h"

namespace lw::ui {
namespace {

const QString kProgrammTitel = QStringLiteral("Leistenwerk");

QWidget* ElternOderAktiv(QWidget* eltern) {
    return eltern ? eltern : QApplication::activeWindow();
}

// Window managers draw the caption larger and bold, beside the window's symbol
// and its close box; a box sized to a short text alone shows "Le... rk".
int TitelBreite(const QWidget& fenster, const QString& titel) {
    QFont schrift = fenster.font();
    schrift.setBold(true);
    schrift.setPointSizeF(schrift.pointSizeF() * 1.5);
    return QFontMetrics(schrift).horizontalAdvance(titel) + 120;
}

void Einrichten(QMessageBox& box) {
    // Messages quote paths and page text; never read them as markup.
    box.setTextFormat(Qt::PlainText);
    // QMessageBox sizes itself from its layout, so the least width goes there.
    if (auto* raster = qobject_cast<QGridLayout*>(box.layout()))
        raster->addItem(new QSpacerItem(TitelBreite(box, box.windowTitle()), 0,
                                        QSizePolicy::Minimum, QSizePolicy::Fixed),
                        raster->rowCount(), 0, 1, raster->columnCount());
}

void Meldungsfenster(QWidget* eltern, QMessageBox::Icon symbol, const QString& titel,
                     const QString& text) {
    QMessageBox box(symbol, titel, text, QMessageBox::Ok, ElternOderAktiv(eltern));
    Einrichten(box);
    box.exec();
}

// Qt's own file chooser writes dates and sizes in the system's locale, which
// outside a German desktop gives English month names; the program is German
// throughout. (A chooser of the desktop follows the desktop.)
class DeutscheDateiangaben final : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        const auto* modell = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !modell) return QIdentityProxyModel::data(index, role);
        const QModelIndex quelle = mapToSource(index);
        const QLocale deutsch;
        if (index.column() == kGroesse && !modell->isDir(quelle))
            return deutsch.formattedDataSize(modell->size(quelle));
        if (index.column() == kGeaendert && modell->lastModified(quelle).isValid())
            return deutsch.toString(modell->lastModified(quelle),
                                    QStringLiteral("d. MMM yyyy HH:mm"));
        return QIdentityProxyModel::data(index, role);
    }

private:
    static constexpr int kGroesse = 1;
    static constexpr int kGeaendert = 3;
};

void DeutschAnzeigen(QFileDialog& auswahl) {
    auswahl.setProxyModel(new DeutscheDateiangaben(&auswahl));
}

class EchteDialoge final : public Dialoge {
public:
    QString DateiOeffnen(QWidget* eltern, const QString& titel, const QString& ersterOrdner,
                         const QString& filter) override {
        // A missing first folder leaves the choice to the platform.
        const QString ordner =
            !ersterOrdner.isEmpty() && QDir(ersterOrdner).exists() ? ersterOrdner : QString();
        QFileDialog auswahl(ElternOderAktiv(eltern), titel, ordner, filter);
        auswahl.setFileMode(QFileDialog::ExistingFile);
        DeutschAnzeigen(auswahl);
        if (auswahl.exec() != QDialog::Accepted) return QString();
        return auswahl.selectedFiles().value(0);
    }

    QString OrdnerWaehlen(QWidget* eltern, const QString& titel,
                          const QString& ersterOrdner) override {
        // Given a folder, Qt opens in it without selecting anything; left empty
        // it would open in the folder used last, say the program's Buttons.
        QFileDialog auswahl(ElternOderAktiv(eltern), titel, ersterOrdner);
        auswahl.setFileMode(QFileDialog::Directory);
        auswahl.setOption(QFileDialog::ShowDirsOnly);
        DeutschAnzeigen(auswahl);
        if (auswahl.exec() != QDialog::Accepted) return QString();
        return auswahl.selectedFiles().value(0);
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

    bool Frage(QWidget* eltern, const QString& text) override {
        QMessageBox box(QMessageBox::NoIcon, kProgrammTitel, text,
                        QMessageBox::Yes | QMessageBox::No, ElternOderAktiv(eltern));
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        Einrichten(box);
        return box.exec() == QMessageBox::Yes;
    }

    bool MeldungMitKnopf(QWidget* eltern, const QString& text, const QString& knopf) override {
        QMessageBox box(QMessageBox::NoIcon, kProgrammTitel, text, QMessageBox::Ok,
                        ElternOderAktiv(eltern));
        QPushButton* zweiter = box.addButton(knopf, QMessageBox::ActionRole);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        Einrichten(box);
        box.exec();
        return box.clickedButton() == zweiter;
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
