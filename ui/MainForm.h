#pragma once

#include <QFontMetricsF>
#include <QImage>
#include <QMainWindow>
#include <QPixmap>
#include <QStringList>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "codegen/Code.h"
#include "model/Projektdaten.h"
#include "output/DateiErzeugung.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTabWidget;
class QTemporaryDir;
struct Fenster;
class Tfrm_Inhalt;
namespace lw {
struct Bild;
struct GeleseneHomepage;
namespace ui {
struct SchriftWahl;
}
}  // namespace lw

// The wizard: one page control with the import, the file-wide settings, one
// row per link and the generated code. The pages are built in MainForm.cpp
// (window, import and code page, page flow), body.cpp and Links.cpp.
class TForm1 final : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm1)

public:
    // Indices of the pages; hiding a page never renumbers the others.
    static constexpr int kImportSeite = 0;
    static constexpr int kBodySeite = 1;
    static constexpr int kLinksSeite = 2;
    static constexpr int kInhalteSeite = 3;
    static constexpr int kCodeSeite = 4;

    // When the pages' contents are made: at once, or when the window is first
    // shown, which the program's start uses, since the window is hidden then.
    enum class Aufbau { sofort, beimZeigen };

    TForm1(lw::Projektdaten& daten, Fenster& fenster, Aufbau aufbau = Aufbau::sofort);
    ~TForm1() override;

    // Shows the pages of the mode, opens the first of them and brings the
    // window to the front; showing assigns the project data's defaults.
    void ModusZeigen(const std::string& modus);

    // After a successful import: the import page goes, the three wizard pages
    // come and "Dateiweite Einstellungen" is open.
    void AssistentenSeitenZeigen();

    // A saved site read back: the wizard's pages as after an import, every
    // control showing what was read; saving then writes into its folder Neu.
    void HomepageZeigen(lw::GeleseneHomepage homepage);

    // The values generation reads from the controls rather than the project data.
    lw::CodeEingaben CodeEingabenLesen() const;

    // The texts of the last generation, as the code page shows them.
    const lw::ErzeugterCode& LetzterCode() const { return code_; }

    // The page selected on "Inhalte", 1 when none is.
    int GewaehlteSeite() const;

protected:
    void setVisible(bool visible) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void SeitenAufbauen();
    void TooltippsZuweisen();
    void SeitenSichtbarSetzen(bool import, bool assistent, int aktiv);
    // Shows the window in front, centred the first time.
    void Vorholen();

    // Page flow.
    void PageControl1Change(int index);
    // Opens the page without counting it as a change.
    void SeiteStillSetzen(int index);
    void NaechsteSeiteZeigen();
    void CodeSeiteBetreten();
    void WarnungZeigen();
    void BitBtn9Click();
    void About1Click();

    // Import and code pages (MainForm.cpp).
    void ImportSeiteFuellen(QWidget* seite);
    void CodeSeiteFuellen(QWidget* seite);
    void btn_WeiterImportClick();
    bool CodeVorhanden();
    void Button1Click();
    void BitBtn10Click();

    // File-wide settings (body.cpp).
    void BodySeiteFuellen(QWidget* seite);
    void btn_HintergrundFarbeClick();
    void btn_BodyFontClick();
    void HintergrundbildLaden();
    void Edit1Change(const QString& text);
    void BannerLaden();
    // The contrast of the page's and the buttons' text on their background.
    void KontrastZeigen();
    // A picture that loads slowly on a phone gets the hint and the offer of a
    // smaller copy; gives the picture to use, the copy when it was taken.
    void FuerHandyPruefen(QString& pfad, lw::Bild& bild);

    // Links (Links.cpp).
    void LinksSeiteFuellen(QWidget* seite);
    void ZeilenAufbauen();
    void btn_GrafikClick(int n);
    void ButtonGrafikLaden(int n);
    // The preview of row zeile, the one being edited.
    void ButtonVorschauZeigen(int zeile = 1);
    // Marks a row whose link text is wider than its button in the web font.
    void TextBreitePruefen(int zeile);
    void AlleTextBreitenPruefen();
    void ButtonSchriftZeigen(const lw::ui::SchriftWahl& schrift);
    void btn_LinkBackgroundClick();
    void btn_LinkSchriftClick();
    // Checks the page names typed on the links page before it is left; on a
    // refusal the row's field has the focus. Imported names are not checked.
    bool SeitennamenPruefen();
    void tab_LinksExit();
    int Zeilen() const { return Ed_Links.empty() ? 0 : static_cast<int>(Ed_Links.size()) - 1; }

    // Contents (Inhalte.cpp).
    void InhalteSeiteFuellen(QWidget* seite);
    void SeitenListeFuellen();
    void lb_SeitenClick(int zeile);
    void BeschreibungZaehlen(int zeichen);
    void btn_InhaltBearbeitenClick();
    // The page's contents block as it stands now; empty for the placeholder.
    std::string SeitenMarkup(int seite) const;

    lw::Projektdaten& daten_;
    Fenster& fenster_;

    QTabWidget* PageControl1 = nullptr;
    bool seitenAufgebaut_ = false;
    int vorherigeSeite_ = kImportSeite;
    // Pages set from code do not count as a change by the user.
    bool seitenwechselStill_ = false;

    // tab_Import
    QLineEdit* Ed_User = nullptr;
    QPushButton* btn_WeiterImport = nullptr;
    // The download processes pending events, among them another click.
    bool importLaeuft_ = false;

    // tab_Body
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QCheckBox* cbx_MenueFixieren = nullptr;
    QCheckBox* cbx_Handy = nullptr;
    QLabel* lbl_KontrastSeite = nullptr;

    // tab_Links
    QWidget* scrollInhalt_ = nullptr;
    QGroupBox* gb_Links = nullptr;
    QGroupBox* gb_Grafiken = nullptr;
    QGroupBox* gb_AlternativText = nullptr;
    QGroupBox* gb_Tooltipps = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QFrame* pnl_Vorschau = nullptr;
    QLabel* img_ButtonVorschau = nullptr;
    QLabel* lbl_ButtonSchriftVorschau = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QLabel* lbl_KontrastButtons = nullptr;
    // Row i lives in slot i; slot 0 stays empty. Empty until the rows are built.
    std::vector<QLineEdit*> Ed_Links;
    std::vector<QPushButton*> btn_Grafiken;
    std::vector<QLineEdit*> Ed_Alts;
    std::vector<QLineEdit*> Ed_Tooltipps;
    // Page names without ".html" that the user chose to keep.
    QStringList ohneHtmlBestaetigt_;
    // The button graphics as decoded when chosen (or first shown), by path,
    // so that typing in a row does not read a file at every keystroke.
    std::map<std::string, QPixmap> grafikBilder_;
    int vorschauZeile_ = 1;
    // The button font as the browser draws it, measured once per choice.
    std::optional<QFontMetricsF> knopfSchrift_;
    // Smaller copies of big pictures, until the program ends.
    std::unique_ptr<QTemporaryDir> kopien_;
    int kopienZahl_ = 0;

    // tab_Inhalte
    QListWidget* lb_Seiten = nullptr;
    QLineEdit* ed_Titel = nullptr;
    QPlainTextEdit* ed_Beschreibung = nullptr;
    QLabel* lbl_BeschreibungZaehler = nullptr;
    QPushButton* btn_InhaltBearbeiten = nullptr;
    // Filling the fields for the selected page is no change by the user.
    bool inhalteFuellen_ = false;
    std::unique_ptr<Tfrm_Inhalt> frm_Inhalt_;

    // tab_code
    QPlainTextEdit* Memo1 = nullptr;
    QPlainTextEdit* Memo2 = nullptr;
    QPlainTextEdit* Memo3 = nullptr;
    QPushButton* BitBtn10 = nullptr;
    QCheckBox* cbx_Veroeffentlichen = nullptr;
    QPushButton* Button1 = nullptr;
    lw::ErzeugterCode code_;

    // An opened site: its rows' texts until the rows are made, and what
    // saving in place needs.
    std::vector<lw::LinkTexte> geleseneLinks_;
    std::optional<lw::VorOrt> vorOrt_;
};
