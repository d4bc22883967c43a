#pragma once

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>

// Puts a top-level window in the middle of the primary screen, where the start
// window stands; the small windows are centred over that place.
inline void AufBildschirmZentrieren(QWidget& fenster) {
    const QScreen* bildschirm = QGuiApplication::primaryScreen();
    if (!bildschirm) return;
    const QRect frei = bildschirm->availableGeometry();
    fenster.move(frei.center() - QPoint(fenster.width() / 2, fenster.height() / 2));
}

// A label at its designed place (left, top within the parent), sized to its text.
inline QLabel* TextLabel(QWidget* eltern, const char* name, int links, int oben,
                         const QString& text) {
    auto* label = new QLabel(text, eltern);
    label->setObjectName(QString::fromLatin1(name));
    label->move(links, oben);
    label->adjustSize();
    return label;
}
