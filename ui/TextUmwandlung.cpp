#include "ui/TextUmwandlung.h"

#include "common/Zeichensatz.h"

QString alsQString(const std::string& cp1252) {
    return QString::fromStdString(lw::utf8AusCp1252(cp1252));
}

std::string alsCp1252(const QString& text) {
    // toStdString() writes a lone surrogate as U+FFFD, which the core turns into '?'.
    return lw::cp1252AusUtf8(text.toStdString());
}
