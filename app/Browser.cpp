#include "app/Browser.h"

#include <QDesktopServices>
#include <QDir>

namespace {
std::function<void(const QString&)>& Oeffner() {
    static std::function<void(const QString&)> oeffner;
    return oeffner;
}
}  // namespace

QUrl BrowserAdresse(const QString& adresse) {
    if (QDir::isAbsolutePath(adresse)) return QUrl::fromLocalFile(adresse);
    return QUrl::fromUserInput(adresse);
}

void BrowserOeffnen(const QString& adresse) {
    if (Oeffner()) {
        Oeffner()(adresse);
        return;
    }
    QDesktopServices::openUrl(BrowserAdresse(adresse));
}

void browserOeffnerSetzen(std::function<void(const QString&)> oeffner) {
    Oeffner() = std::move(oeffner);
}
