#include "ui/TooltippStart.h"

#include <QWidget>

namespace {
void Hinweis(QWidget& fenster, const char* name, const QString& text) {
    if (auto* w = fenster.findChild<QWidget*>(QString::fromLatin1(name))) w->setToolTip(text);
}
}  // namespace

void TooltippsStart(QWidget& form2) {
    Hinweis(form2, "btn_BestandNZ",
            QStringLiteral("Nur für bestehende Seiten mit \neinem ausgewählten Netzhof Design"));
    Hinweis(form2, "btn_NeuNZ",
            QStringLiteral(
                "Nur für neue Seiten, die mit dem \nNetzhof Editor bearbeitet werden sollen"));
    Hinweis(form2, "btn_NeuHP",
            QStringLiteral("Für beliebige Homepages \n(nicht geeignet für den Netzhof Editor)"));
    Hinweis(form2, "btn_BearbeitenHP",
            QStringLiteral("Für Homepages, die mit Leistenwerk \ngespeichert wurden"));
    Hinweis(form2, "btn_VeroeffentlichenHP",
            QStringLiteral("Stellt eine mit Leistenwerk gespeicherte \nHomepage ins Netz"));
    Hinweis(form2, "lbl_Homepage", QStringLiteral("Zur Homepage des Autors"));
}
