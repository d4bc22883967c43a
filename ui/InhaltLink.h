#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <optional>

class QComboBox;
class QLineEdit;
class QRadioButton;

// frm_Link: a link in a page's text, to a page of this site or to an address.
class Tfrm_Link final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Link)

public:
    struct Link {
        QString adresse;  // a page's file name, or http://, https://, mailto:
        QString text;
    };

    // seiten: the file names of the site's pages; text: the selected text.
    Tfrm_Link(const QStringList& seiten, const QString& text, QWidget* eltern = nullptr);

    // The link once confirmed with an address that is allowed.
    std::optional<Link> Ergebnis() const { return ergebnis_; }

    // The address as the page will have it: without scheme it gets https://;
    // nothing with a message when it is refused.
    static std::optional<QString> AdressePruefen(const QString& eingabe, QString* meldung);

private:
    void btn_LinkOKClick();

    QRadioButton* rb_LinkSeite = nullptr;
    QComboBox* cb_LinkSeite = nullptr;
    QRadioButton* rb_LinkAdresse = nullptr;
    QLineEdit* ed_LinkAdresse = nullptr;
    QLineEdit* ed_LinkText = nullptr;
    std::optional<Link> ergebnis_;
};
