#include "ui/Tooltipp.h"

#include <QByteArray>
#include <QString>
#include <QWidget>
#include <string>

#include "import/Konfiguration.h"
#include "ui/TextUmwandlung.h"

namespace lw::ui {
namespace {

void Hinweis(QWidget& form1, const QString& name, const QString& text) {
    QWidget* w = form1.findChild<QWidget*>(name);
    Q_ASSERT_X(w, "Hinweis", qPrintable(name));
    if (w) w->setToolTip(text);
}

const QString kOhneSpeichern = QStringLiteral("Beenden ohne zu speichern");

}  // namespace

void TooltippsEntwurf(QWidget& form1) {
    Hinweis(form1, QStringLiteral("BitBtn3"), QStringLiteral("Wechsel zur Seite \"Links\""));
    Hinweis(form1, QStringLiteral("BitBtn4"), kOhneSpeichern);
    Hinweis(form1, QStringLiteral("BitBtn6"), kOhneSpeichern);
    Hinweis(form1, QStringLiteral("BitBtn9"), kOhneSpeichern);
    Hinweis(form1, QStringLiteral("Memo1"),
            QStringLiteral("Quelltext markieren, kopieren und mit Strg+V in der "
                           "Quelltextansicht des Editors einfügen."));
}

void TooltippsImport(QWidget& form1) {
    Hinweis(form1, QStringLiteral("GroupBox4"),
            QStringLiteral("Die Importfunktion führt nur bei Homepages\n"
                           "mit Netzhof-Design zu sinnvollen Ergebnissen"));
    // The domain as users write it, without its leading dot.
    std::string domain = lw::konfiguration::HomepageDomain;
    if (!domain.empty() && domain.front() == '.') domain.erase(0, 1);
    Hinweis(form1, QStringLiteral("Ed_User"),
            QStringLiteral("Eingabe des Benutzernamens\n(ohne http://www. und ") +
                alsQString(domain) + QStringLiteral(")"));
}

void TooltippsBody(QWidget& form1) {
    const QString pfadHinweis = QStringLiteral(
        "Feld kann nicht editiert werden.\nBitte nebenstehenden Lade-Button benutzen");
    Hinweis(form1, QStringLiteral("Edit1"),
            QStringLiteral("Pfad des Hintergrundbildes.\n") + pfadHinweis);
    Hinweis(form1, QStringLiteral("btn_HintergrundLaden"),
            QStringLiteral("Auswählen eines Hintergrundbildes\nvon der Festplatte."));
    Hinweis(form1, QStringLiteral("Edit2"), QStringLiteral("Pfad des Banners.\n") + pfadHinweis);
    Hinweis(form1, QStringLiteral("Button8"),
            QStringLiteral("Auswählen eines Banners\nvon der Festplatte."));
    Hinweis(
        form1, QStringLiteral("rbtn_HintergrundKachel"),
        QStringLiteral("Das Hintergrundbild wird wie Kacheln\nüber das gesamte Browserfenster\n"
                       "gelegt. So kann man mit sehr kleinen\nBildern schöne Effekte erzielen."));
    Hinweis(form1, QStringLiteral("rbtn_HintergrundEinzel"),
            QStringLiteral("Das Hintergrund wird in der Mitte des\nBrowserfensters angeordnet\n"
                           "(Sinnvoll bei Fotos)"));
    Hinweis(form1, QStringLiteral("chckbx_HintergrundFix"),
            QStringLiteral("Mit dieser Option bleibt das\nHintergrundbild beim Scrollen im\n"
                           "Browserfenster stehen."));
    Hinweis(form1, QStringLiteral("btn_HintergrundFarbe"),
            QStringLiteral("Auswahl einer Hintergrundfarbe für die\nHomepage. Weiß ist "
                           "voreingestellt.\nEine andere Eingabe ist nur dann sinnvoll,\nwenn "
                           "kein Hintergrundbild eingesetzt wird\noder wenn dieses nicht das "
                           "ganze Browser-\nfenster füllt."));
    Hinweis(form1, QStringLiteral("btn_BodyFont"),
            QStringLiteral("Auswahl der Schrift für die Homepage.\nVoreingestellt ist Arial "
                           "schwarz mit 14px.\nVorsicht: Exotische Schriftarten können evtl. "
                           "nicht\nrichtig angezeigt werden. Ist die gewählte\nSchrift in einem "
                           "Browser nicht verfügbar, wird\nsans-serif angezeigt."));
    Hinweis(form1, QStringLiteral("Edit5"),
            QStringLiteral("Dieser Text wird nur angezeigt, wenn\ndie Bannergrafik aus "
                           "irgendwelchen Gründen\nnicht geladen werden kann."));
    Hinweis(form1, QStringLiteral("Edit6"),
            QStringLiteral("Dieser Text wird dann angezeigt, wenn man\nmit der Maus über den "
                           "Banner stehen bleibt."));
    Hinweis(form1, QStringLiteral("CheckBox1"),
            QStringLiteral("Bei Aktivierung werden alle Buttons mit der geladenen\nGrafik am "
                           "ersten Link ausgeführt. Weitere Grafiken\nmüssen nicht geladen "
                           "werden."));
    Hinweis(form1, QStringLiteral("BitBtn1"), QStringLiteral("Wechsel zur Seite \"Inhalte\""));
    Hinweis(form1, QStringLiteral("cbx_MenueFixieren"),
            QStringLiteral("Beim Scrollen der fertigen Seite bleibt\ndas Menü immer sichtbar.\n"
                           "Nachteil: Ist das Menü größer als das geöffnete\nBrowserfenster, so "
                           "sind die zu tief liegenden Links\nunerreichbar."));
}

void TooltippsLinks(QWidget& form1) {
    Hinweis(form1, QStringLiteral("btn_LinkBackground"),
            QStringLiteral("Hintergrundfarbe der Schaltfläche.\nEine Eingabe ist nur sinnvoll,\n"
                           "wenn keine Buttongrafik verwendet wird."));
    Hinweis(form1, QStringLiteral("btn_LinkSchrift"),
            QStringLiteral("Schriftstil auf dem Button.\n(nur erforderlich, wenn keine Grafik "
                           "verwendet\nwird oder wenn die Grafik unbeschriftet ist)."));
}

void TooltippsZeile(QWidget& form1, int zeile, bool importiert) {
    const QString nr = QString::number(zeile);
    Hinweis(form1, QStringLiteral("Ed_Link") + nr,
            importiert ? QStringLiteral("Relative Linkangabe aus den importierten Seiten.\n"
                                        "(Editieren nicht möglich)")
                       : QStringLiteral("Dateiname der Seite.\nBitte einen gültigen Dateinamen "
                                        "verwenden."));
    Hinweis(form1, QStringLiteral("btn_Grafik") + nr,
            QStringLiteral("Buttongrafik auf der Festplatte auswählen"));
    Hinweis(form1, QStringLiteral("Ed_Alt") + nr,
            QStringLiteral("Dieser Text wird auf den Button\ngeschrieben (wichtig bei "
                           "unbeschriebenen\nButtongrafiken.)"));
    Hinweis(form1, QStringLiteral("Ed_Tooltipp") + nr,
            QStringLiteral("Dieser Text wird dann angezeigt, wenn man\nmit der Maus über dem "
                           "Link stehen bleibt."));
}

}  // namespace lw::ui
