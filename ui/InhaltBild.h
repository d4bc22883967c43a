#pragma once

#include <QDialog>
#include <QImage>
#include <QString>

class QLineEdit;
class QPushButton;
class QSpinBox;

// frm_Bild: the description (alt) of a picture put on a page; it cannot be
// left empty.
class Tfrm_Bild final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Bild)

public:
    // datei: the picture's file name, shown in the caption.
    Tfrm_Bild(const QImage& bild, const QString& datei, QWidget* eltern = nullptr);

    QString Beschreibung() const;

private:
    QLineEdit* ed_BildBeschreibung = nullptr;
    QPushButton* btn_BildOK = nullptr;
};

// frm_Tabelle: rows and columns of a new table.
class Tfrm_Tabelle final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Tabelle)

public:
    explicit Tfrm_Tabelle(QWidget* eltern = nullptr);

    int Zeilen() const;
    int Spalten() const;

private:
    QSpinBox* ud_Zeilen = nullptr;
    QSpinBox* ud_Spalten = nullptr;
};
