#include "ui/Hilfe.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <algorithm>

#include "app/Browser.h"
#include "ui/Formbau.h"
#include "ui/VerweisLabel.h"

namespace {

QString ForumAdresse() {
    return QString::fromLatin1(ProjectPage) + QStringLiteral("/forum.html");
}

// Keeps the designed left edge unless the text before it is wider on this
// platform than it was designed for; then the word follows it after a blank.
void Anschliessen(const QLabel* davor, QWidget* wort, int links) {
    const int luecke =
        davor->text().endsWith(QLatin1Char(' ')) ? 0 : davor->fontMetrics().horizontalAdvance(' ');
    wort->move(std::max(links, davor->geometry().right() + 1 + luecke), wort->y());
}

}  // namespace

TForm4::TForm4()
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Hilfe"));
    setFixedSize(378, 365);
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::Light));
    setPalette(p);
    setAutoFillBackground(true);

    lw::ui::Beschriftung(
        this, "Label1", 16, 16,
        QStringLiteral("Ein großer Teil der Schaltflächen und Editierfelder wurde mit "
                       "Tooltipps"));
    lw::ui::Beschriftung(
        this, "Label2", 16, 32,
        QStringLiteral("ausgestattet. Wenn Sie mit dem Cursor über einem solchen Element"));
    lw::ui::Beschriftung(
        this, "Label3", 16, 48,
        QStringLiteral("stehen bleiben, wird die zugehörige Hilfe eingeblendet (siehe "
                       "Abb.)."));

    auto* Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(16, 72, 319, 230);
    Image1->setPixmap(QPixmap(QStringLiteral(":/bilder/hilfe.jpg")));

    auto* Label4 = lw::ui::Beschriftung(
        this, "Label4", 16, 320,
        QStringLiteral("Bei Anregungen, Fragen oder Problemen können Sie sich über das"));
    auto* Label5 = lw::ui::Beschriftung(this, "Label5", 16, 336, QStringLiteral("auf der "));
    auto* Label8 = lw::ui::Beschriftung(this, "Label8", 115, 336,
                                        QStringLiteral("auch direkt an mich wenden."));

    auto* Label6 = new VerweisLabel(QStringLiteral("Forum"), this);
    Label6->setObjectName(QStringLiteral("Label6"));
    Label6->move(336, 320);
    Label6->adjustSize();
    Anschliessen(Label4, Label6, 336);
    Label6->setToolTip(QStringLiteral("Öffnen von ") + ForumAdresse());
    connect(Label6, &VerweisLabel::geklickt, this, &TForm4::Label6Click);

    auto* Label7 = new VerweisLabel(QStringLiteral("Projektseite"), this);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->move(54, 336);
    Label7->adjustSize();
    Anschliessen(Label5, Label7, 54);
    Label7->setToolTip(QStringLiteral("Öffnen von ") + QString::fromLatin1(ProjectPage));
    connect(Label7, &VerweisLabel::geklickt, this, &TForm4::Label7Click);
    Anschliessen(Label7, Label8, 115);

    lw::ui::AufBildschirmZentrieren(*this);
}

void TForm4::keyPressEvent(QKeyEvent* ereignis) {
    if (ereignis->matches(QKeySequence::Cancel)) return;
    QDialog::keyPressEvent(ereignis);
}

void TForm4::Label6Click() {
    BrowserOeffnen(ForumAdresse());
}

void TForm4::Label7Click() {
    BrowserOeffnen(QString::fromLatin1(ProjectPage));
}
