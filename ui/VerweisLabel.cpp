#include "ui/VerweisLabel.h"

#include <QMouseEvent>

VerweisLabel::VerweisLabel(const QString& text, QWidget* eltern) : QLabel(text, eltern) {
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, Qt::blue);
    setPalette(p);
    setCursor(Qt::PointingHandCursor);
}

void VerweisLabel::mouseReleaseEvent(QMouseEvent* ereignis) {
    // Releasing outside the label is how a user changes his mind.
    if (ereignis->button() == Qt::LeftButton && rect().contains(ereignis->position().toPoint()))
        emit geklickt();
    QLabel::mouseReleaseEvent(ereignis);
}
