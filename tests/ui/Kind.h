#pragma once

#include <QString>
#include <QWidget>

namespace lw::test {

// The control of that designed name inside fenster; a missing one ends the
// test at once with its name rather than a crash further on.
template <class T>
T* Kind(QWidget* fenster, const char* name) {
    T* w = fenster->findChild<T*>(QString::fromLatin1(name));
    if (!w) qFatal("Kein Element %s in %s", name, qPrintable(fenster->objectName()));
    return w;
}

}  // namespace lw::test
