#pragma once

#include <QLabel>

// A label that reads as a web link: blue, underlined, hand cursor. A click with
// the left button emits geklickt().
class VerweisLabel final : public QLabel {
    Q_OBJECT

public:
    VerweisLabel(const QString& text, QWidget* eltern);

signals:
    void geklickt();

protected:
    void mouseReleaseEvent(QMouseEvent* ereignis) override;
};
