#include "ui/Formbau.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace lw::ui {
namespace {

template <class T>
T* Anlegen(QWidget* eltern, const char* name) {
    auto* w = new T(eltern);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// Room the caption (and symbol) of a button needs; the style's own size hint
// would widen every button to its minimum of 80 pixels.
int KnopfBreite(const QPushButton* k) {
    int w = k->fontMetrics().horizontalAdvance(k->text()) + 12;
    if (!k->icon().isNull()) w += k->iconSize().width() + 4;
    return w;
}

template <class T>
void Platzieren(T* w, int links, int oben, int breite, int hoehe) {
    w->setGeometry(links, oben, std::max(breite, w->sizeHint().width()), hoehe);
}

}  // namespace

void AufBildschirmZentrieren(QWidget& fenster) {
    const QScreen* bildschirm = QGuiApplication::primaryScreen();
    if (!bildschirm) return;
    const QRect frei = bildschirm->availableGeometry();
    fenster.move(frei.center() - QPoint(fenster.width() / 2, fenster.height() / 2));
}

QLabel* Beschriftung(QWidget* eltern, const char* name, int links, int oben, const QString& text) {
    auto* l = Anlegen<QLabel>(eltern, name);
    l->setText(text);
    l->setTextFormat(Qt::PlainText);
    l->move(links, oben);
    l->adjustSize();
    return l;
}

QPushButton* Knopf(QWidget* eltern, const char* name, int links, int oben, int breite, int hoehe,
                   const QString& text) {
    auto* k = Anlegen<QPushButton>(eltern, name);
    k->setText(text);
    k->setCursor(Qt::PointingHandCursor);
    k->setAutoDefault(false);
    k->setGeometry(links, oben, std::max(breite, KnopfBreite(k)), hoehe);
    return k;
}

QPushButton* SymbolKnopf(QWidget* eltern, const char* name, int links, int oben, int breite,
                         int hoehe, QStyle::StandardPixmap symbol, const QString& text) {
    auto* k = Anlegen<QPushButton>(eltern, name);
    k->setIcon(k->style()->standardIcon(symbol, nullptr, k));
    k->setText(text);
    k->setGeometry(links, oben, breite, hoehe);
    return k;
}

QPushButton* AbbrechenKnopf(QWidget* eltern, const char* name, int links, int oben, int breite) {
    auto* k = Knopf(eltern, name, links, oben, breite, 25, QStringLiteral("Abbrechen"));
    k->setIcon(k->style()->standardIcon(QStyle::SP_DialogCancelButton, nullptr, k));
    k->setShortcut(QKeySequence(Qt::Key_Escape));
    k->resize(std::max(breite, KnopfBreite(k)), 25);
    return k;
}

QPushButton* AbbruchKnopf(QWidget* eltern, const char* name, int links, int oben, int breite) {
    auto* k = Knopf(eltern, name, links, oben, breite, 25, QStringLiteral("Abbrechen"));
    QIcon symbol = k->style()->standardIcon(QStyle::SP_DialogAbortButton, nullptr, k);
    // Not every style draws an abort symbol; the cancel symbol says the same.
    if (symbol.isNull())
        symbol = k->style()->standardIcon(QStyle::SP_DialogCancelButton, nullptr, k);
    k->setIcon(symbol);
    k->resize(std::max(breite, KnopfBreite(k)), 25);
    return k;
}

QLineEdit* Feld(QWidget* eltern, const char* name, int links, int oben, int breite, int hoehe,
                const QString& text) {
    auto* e = Anlegen<QLineEdit>(eltern, name);
    e->setText(text);
    e->setCursorPosition(0);
    e->setGeometry(links, oben, breite, hoehe);
    return e;
}

QGroupBox* Gruppe(QWidget* eltern, const char* name, int links, int oben, int breite, int hoehe,
                  const QString& titel) {
    auto* g = Anlegen<QGroupBox>(eltern, name);
    g->setTitle(titel);
    g->setGeometry(links, oben, breite, hoehe);
    return g;
}

QCheckBox* Kontrollkaestchen(QWidget* eltern, const char* name, int links, int oben, int breite,
                             int hoehe, const QString& text) {
    auto* c = Anlegen<QCheckBox>(eltern, name);
    c->setText(text);
    Platzieren(c, links, oben, breite, hoehe);
    return c;
}

QRadioButton* Optionsfeld(QWidget* eltern, const char* name, int links, int oben, int breite,
                          int hoehe, const QString& text) {
    auto* r = Anlegen<QRadioButton>(eltern, name);
    r->setText(text);
    Platzieren(r, links, oben, breite, hoehe);
    return r;
}

}  // namespace lw::ui
