#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "codegen/Inhalt.h"
#include "model/Projektdaten.h"

class QComboBox;
class QFrame;
class QLabel;
class QMimeData;
class QTextEdit;
class QToolButton;
namespace lw {
struct Bild;
namespace ui {
class InhaltDokument;
}
}  // namespace lw

// frm_Inhalt: the editor of one page's text. It keeps the document of every
// page it opened, so that going back to a page neither reads its markup again
// nor loses the undo history of the changes that were kept.
class Tfrm_Inhalt final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Inhalt)

public:
    // Reads the page's look and the chosen pictures from daten and adds the
    // pictures put on a page to daten.InhaltBilder.
    explicit Tfrm_Inhalt(lw::Projektdaten& daten, QWidget* eltern = nullptr);
    ~Tfrm_Inhalt() override;

    struct Seite {
        int nummer = 0;      // the row on tab_Links
        QString datei;       // its file name
        std::string markup;  // its contents block now, as a saved page has it; empty: none
    };

    // Puts the page into the window; seiten are the site's file names, the
    // targets of a link to a page.
    void SeiteZeigen(const Seite& seite, const QStringList& seiten);

    // SeiteZeigen, then the window until OK or Abbrechen: the new contents
    // block when the user kept a change, else nothing.
    std::optional<std::string> Bearbeiten(const Seite& seite, const QStringList& seiten);

    // The pages' documents belong to a site that is no longer open.
    void Vergessen();

    // The width of the page's contents column in a browser window of
    // common size; wider pictures are scaled down to it.
    int SpaltenBreite() const;

protected:
    void reject() override;

private:
    struct Eintrag {
        std::unique_ptr<lw::ui::InhaltDokument> dokument;
        std::string quelle;  // the markup the document stands for
        bool nurLesen = false;
    };

    void FormatLeisteBauen(QWidget* leiste);
    void Anzeigen(Eintrag& eintrag);
    std::unique_ptr<lw::ui::InhaltDokument> NeuesDokument();
    QString BildDatei(const QString& adresse) const;

    void FormatZeigen();
    void cb_AbsatzChange(int stufe);
    void ZeichenSetzen(int eigenschaft, bool an);
    void ListeUmschalten(int stil);
    bool Einruecken(int schritt);
    void btn_LinkClick();
    void btn_BildClick();
    void btn_TabelleClick();
    void btn_LinieClick();
    void btn_UmwandelnClick();

    // Paste and drop; klartext: as plain text whatever the clipboard offers.
    void Einfuegen(const QMimeData* quelle, bool klartext);
    // A picture of a paste: copied like an inserted one, or nothing.
    std::optional<lw::InhaltsBild> BildAusEinfuegung(const lw::InhaltsBild& gefunden,
                                                     QStringList& ausDemNetz);
    // A picture file put on the page: read, described, registered. Nothing
    // when it cannot be read or the user cancels.
    std::optional<lw::InhaltsBild> BildUebernehmen(const QString& pfad, const lw::Bild* gelesen,
                                                   const QString& beschreibung);
    QString FreierBildname(const QString& endung) const;

    lw::Projektdaten& daten_;
    std::map<int, Eintrag> dokumente_;
    Eintrag* aktuell_ = nullptr;
    int seite_ = 0;
    QStringList seiten_;
    // Pictures of a paste that exist only in memory wait here for the save.
    QTemporaryDir zwischenablage_;
    int kopien_ = 0;  // smaller copies of big pictures in zwischenablage_

    QComboBox* cb_Absatz = nullptr;
    QToolButton* btn_Fett = nullptr;
    QToolButton* btn_Kursiv = nullptr;
    QToolButton* btn_Unterstrichen = nullptr;
    QToolButton* btn_Aufzaehlung = nullptr;
    QToolButton* btn_Nummerierung = nullptr;
    QToolButton* btn_Rueckgaengig = nullptr;
    QToolButton* btn_Wiederholen = nullptr;
    QWidget* leiste_ = nullptr;
    QFrame* pnl_NichtDarstellbar = nullptr;
    QTextEdit* te_Inhalt = nullptr;
};
