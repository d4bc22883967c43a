// Draws the pictures that the windows carry: the start window's picture, the
// help window's illustration and the two door glyphs of the save button.
// Everything is drawn here; no picture comes from elsewhere.
// Usage: lw_bilder <target folder>   (needs a Qt platform, offscreen will do)
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFontDatabase>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleFactory>
#include <QTabWidget>
#include <cstdio>
#include <memory>

namespace {

bool Speichern(const QImage& bild, const QString& pfad, const char* format, int qualitaet = -1) {
    if (bild.save(pfad, format, qualitaet)) return true;
    std::fprintf(stderr, "Bild %s kann nicht geschrieben werden.\n", qPrintable(pfad));
    return false;
}

// A small site as the program builds it: banner, a navigation bar of buttons
// on the left, lines of text beside it.
QImage StartBild() {
    QImage bild(79, 98, QImage::Format_RGB888);
    QPainter maler(&bild);
    maler.setRenderHint(QPainter::Antialiasing);
    QLinearGradient himmel(0, 0, 0, 98);
    himmel.setColorAt(0, QColor(0x2a, 0x5d, 0x9f));
    himmel.setColorAt(1, QColor(0x9c, 0xc3, 0xe8));
    maler.fillRect(bild.rect(), himmel);

    const QRectF seite(9.5, 8.5, 60, 80);
    maler.setPen(QPen(QColor(0x30, 0x30, 0x30), 1));
    maler.setBrush(Qt::white);
    maler.drawRect(seite);

    QLinearGradient banner(0, 10, 0, 22);
    banner.setColorAt(0, QColor(0xf2, 0x9b, 0x30));
    banner.setColorAt(1, QColor(0xc8, 0x5a, 0x10));
    maler.setPen(Qt::NoPen);
    maler.fillRect(QRectF(11, 10, 57, 12), banner);
    maler.setPen(Qt::white);
    QFont schrift = maler.font();
    schrift.setPixelSize(9);
    schrift.setBold(true);
    maler.setFont(schrift);
    maler.drawText(QRectF(11, 10, 57, 12), Qt::AlignCenter, QStringLiteral("Homepage"));

    for (int i = 0; i < 5; ++i) {
        const QRectF knopf(13, 27 + i * 11, 17, 8);
        QLinearGradient glanz(knopf.topLeft(), knopf.bottomLeft());
        glanz.setColorAt(0, i == 0 ? QColor(0xff, 0xd0, 0x60) : QColor(0x8a, 0xb8, 0xea));
        glanz.setColorAt(1, i == 0 ? QColor(0xd0, 0x80, 0x10) : QColor(0x2f, 0x66, 0xb0));
        maler.setBrush(glanz);
        maler.setPen(QPen(QColor(0x20, 0x40, 0x70), 0.8));
        maler.drawRoundedRect(knopf, 2, 2);
    }
    maler.setPen(QPen(QColor(0xa0, 0xa0, 0xa0), 1));
    for (int i = 0; i < 9; ++i) {
        const int y = 29 + i * 6;
        const int ende = (i % 3 == 2) ? 52 : 64;
        maler.drawLine(35, y, ende, y);
    }
    return bild;
}

// An open door with light falling through; the greyed form for a disabled button.
QImage TuerBild(bool grau) {
    QImage bild(18, 18, QImage::Format_ARGB32);
    bild.fill(Qt::transparent);
    QPainter maler(&bild);
    maler.setRenderHint(QPainter::Antialiasing);
    const QColor rahmen = grau ? QColor(0x80, 0x80, 0x80) : QColor(0x5a, 0x36, 0x1c);
    const QColor licht = grau ? QColor(0xe0, 0xe0, 0xe0) : QColor(0xff, 0xe8, 0x80);
    const QColor blatt = grau ? QColor(0xb0, 0xb0, 0xb0) : QColor(0xa8, 0x5c, 0x28);
    const QColor griff = grau ? QColor(0x70, 0x70, 0x70) : QColor(0xf0, 0xc0, 0x20);

    maler.setPen(QPen(rahmen, 1.2));
    maler.setBrush(licht);
    maler.drawRect(QRectF(5.5, 1.5, 10, 15));

    QPainterPath tuerblatt;
    tuerblatt.moveTo(5.5, 1.5);
    tuerblatt.lineTo(1.5, 3.5);
    tuerblatt.lineTo(1.5, 17.0);
    tuerblatt.lineTo(5.5, 16.5);
    tuerblatt.closeSubpath();
    maler.setBrush(blatt);
    maler.drawPath(tuerblatt);

    maler.setPen(Qt::NoPen);
    maler.setBrush(griff);
    maler.drawEllipse(QPointF(2.8, 10.0), 0.9, 0.9);
    return bild;
}

// The settings page with the background colour button's tooltip under the
// mouse pointer, as the help window explains it.
QImage HilfeBild() {
    // A widget does not own a style set on it; this one outlives the widgets.
    const std::unique_ptr<QStyle> stil(QStyleFactory::create(QStringLiteral("Fusion")));
    QTabWidget seiten;
    seiten.setStyle(stil.get());
    seiten.resize(505, 383);
    auto* body = new QWidget;
    seiten.addTab(body, QStringLiteral("Dateiweite Einstellungen"));
    seiten.addTab(new QWidget, QStringLiteral("Links"));
    seiten.addTab(new QWidget, QStringLiteral("Code"));

    auto* farbe = new QPushButton(QStringLiteral("Hintergrundfarbe"), body);
    farbe->setGeometry(16, 24, 113, 25);
    (new QPushButton(QStringLiteral("Schrift"), body))->setGeometry(160, 24, 75, 25);
    (new QCheckBox(QStringLiteral("Menü fixieren?"), body))->setGeometry(280, 28, 97, 17);
    auto* hintergrund = new QGroupBox(QStringLiteral("Hintergrundbild"), body);
    hintergrund->setGeometry(8, 72, 481, 89);
    auto* pfad = new QLineEdit(QStringLiteral("Hintergrundbild wählen"), hintergrund);
    pfad->setGeometry(24, 26, 121, 21);
    (new QPushButton(QStringLiteral("Laden..."), hintergrund))->setGeometry(152, 24, 57, 25);
    auto* kachel = new QRadioButton(QStringLiteral("Kacheleffekt"), hintergrund);
    kachel->setGeometry(248, 28, 89, 17);
    kachel->setChecked(true);
    auto* banner = new QGroupBox(QStringLiteral("Banner"), body);
    banner->setGeometry(8, 184, 481, 105);
    auto* bannerPfad = new QLineEdit(QStringLiteral("Banner wählen"), banner);
    bannerPfad->setGeometry(24, 26, 121, 21);
    (new QPushButton(QStringLiteral("Laden..."), banner))->setGeometry(152, 24, 57, 25);
    farbe->setAttribute(Qt::WA_UnderMouse);  // drawn hovered, as under the pointer
    // Laid out like a window on screen, without appearing anywhere.
    seiten.setAttribute(Qt::WA_DontShowOnScreen);
    seiten.show();
    QApplication::processEvents();

    QImage ganz(seiten.size(), QImage::Format_RGB32);
    ganz.fill(seiten.palette().color(QPalette::Window));
    seiten.render(&ganz);
    QImage bild = ganz.copy(0, 0, 319, 230);

    QPainter maler(&bild);
    maler.setRenderHint(QPainter::Antialiasing);
    const QPoint zeiger = body->mapTo(&seiten, QPoint(70, 38));

    const QString hinweis = QStringLiteral(
        "Auswahl einer Hintergrundfarbe für die\nHomepage. Weiß ist voreingestellt.\nEine andere "
        "Eingabe ist nur dann sinnvoll,\nwenn kein Hintergrundbild eingesetzt wird\noder wenn "
        "dieses nicht das ganze Browser-\nfenster füllt.");
    maler.setFont(QApplication::font());
    const QRect textRaum =
        maler.fontMetrics().boundingRect(QRect(0, 0, 400, 200), Qt::AlignLeft, hinweis);
    const QRect kasten(zeiger.x() + 2, zeiger.y() + 21, textRaum.width() + 8,
                       textRaum.height() + 6);
    maler.setPen(QColor(0x76, 0x76, 0x76));
    maler.setBrush(QColor(0xff, 0xff, 0xe1));
    maler.drawRect(kasten.adjusted(0, 0, -1, -1));
    maler.setPen(Qt::black);
    maler.drawText(kasten.adjusted(4, 3, -4, -3), Qt::AlignLeft, hinweis);

    // The arrow pointer, tip at zeiger.
    QPainterPath pfeil;
    const QPointF s(zeiger.x() + 0.5, zeiger.y() + 0.5);
    pfeil.moveTo(s);
    pfeil.lineTo(s + QPointF(0, 16));
    pfeil.lineTo(s + QPointF(4, 12));
    pfeil.lineTo(s + QPointF(7, 18));
    pfeil.lineTo(s + QPointF(9.5, 17));
    pfeil.lineTo(s + QPointF(6.5, 11));
    pfeil.lineTo(s + QPointF(11.5, 11));
    pfeil.closeSubpath();
    maler.setPen(QPen(Qt::black, 1));
    maler.setBrush(Qt::white);
    maler.drawPath(pfeil);
    return bild;
}

void SchriftEinrichten() {
    // The windows use Tahoma 8 points; Debian ships it with fonts-wine.
    if (!QFontDatabase::hasFamily(QStringLiteral("Tahoma")))
        QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"));
    QFont schrift(QStringLiteral("Tahoma"));
    schrift.setPointSize(8);
    QApplication::setFont(schrift);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Aufruf: lw_bilder <Zielordner>\n");
        return 2;
    }
    SchriftEinrichten();
    const QDir ziel(QString::fromLocal8Bit(argv[1]));
    if (!ziel.exists() && !QDir().mkpath(ziel.path())) {
        std::fprintf(stderr, "Ordner %s kann nicht angelegt werden.\n", argv[1]);
        return 1;
    }
    bool gut = Speichern(StartBild(), ziel.filePath(QStringLiteral("start.png")), "PNG");
    gut = Speichern(HilfeBild(), ziel.filePath(QStringLiteral("hilfe.jpg")), "JPG", 92) && gut;
    gut = Speichern(TuerBild(false), ziel.filePath(QStringLiteral("tuer.png")), "PNG") && gut;
    gut = Speichern(TuerBild(true), ziel.filePath(QStringLiteral("tuer_grau.png")), "PNG") && gut;
    return gut ? 0 : 1;
}
