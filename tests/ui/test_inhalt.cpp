// The contents editor: what each operation in the window writes, that the
// written text reads back into the editor to the same bytes, and its refusals.
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <QUrl>
#include <functional>

#include "codegen/Inhalt.h"
#include "model/Projektdaten.h"
#include "pictures/Verkleinern.h"
#include "tests/support/TempOrdner.h"
#include "tests/ui/HauptfensterTest.h"
#include "tests/ui/Kind.h"
#include "tests/ui/SkriptDialoge.h"
#include "ui/Anwendung.h"
#include "ui/Inhalt.h"
#include "ui/InhaltDokument.h"
#include "ui/TextUmwandlung.h"

using lw::test::Kind;
using lw::test::ModalAntwort;
using lw::test::SkriptDialoge;

namespace {

struct Editor {
    Tfrm_Inhalt& fenster;
    QTextEdit* text;
    SkriptDialoge& dialoge;
    const lw::test::TempOrdner& ordner;

    // Typed a character at a time, umlauts too.
    void tippen(const QString& t) const {
        for (const QChar c : t)
            QTest::sendKeyEvent(QTest::Click, text, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    void taste(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) const {
        QTest::keyClick(text, k, m);
    }
    void knopf(const char* name) const { Kind<QToolButton>(&fenster, name)->click(); }
    void absatz(int stufe) const {
        auto* cb = Kind<QComboBox>(&fenster, "cb_Absatz");
        cb->setCurrentIndex(stufe);
        emit cb->activated(stufe);
    }
    // The small window that the action opens, answered by antwort.
    void modal(const std::function<void()>& aktion,
               const std::function<void(QWidget*)>& antwort) const {
        ModalAntwort warten(antwort);
        aktion();
        QVERIFY(warten.erledigt());
    }
    void link(bool seite, const QString& ziel, const QString& linktext) const {
        modal([this] { taste(Qt::Key_K, Qt::ControlModifier); },
              [=](QWidget* w) {
                  if (seite)
                      Kind<QComboBox>(w, "cb_LinkSeite")->setCurrentText(ziel);
                  else {
                      Kind<QRadioButton>(w, "rb_LinkAdresse")->setChecked(true);
                      Kind<QLineEdit>(w, "ed_LinkAdresse")->setText(ziel);
                  }
                  if (!linktext.isNull()) Kind<QLineEdit>(w, "ed_LinkText")->setText(linktext);
                  Kind<QPushButton>(w, "btn_LinkOK")->click();
              });
    }
    void bild(const QString& datei, const QString& beschreibung) const {
        dialoge.naechsteDatei(alsQString(ordner / alsCp1252(datei)));
        modal([this] { knopf("btn_Bild"); },
              [=](QWidget* w) {
                  Kind<QLineEdit>(w, "ed_BildBeschreibung")->setText(beschreibung);
                  Kind<QPushButton>(w, "btn_BildOK")->click();
              });
    }
};

using Schritte = std::function<void(const Editor&)>;

// The block's lines as the contents block holds them.
std::string Zeilen(std::initializer_list<const char*> zeilen) {
    std::string s;
    for (const char* z : zeilen) s += std::string(z) + "\r\n";
    return s;
}

}  // namespace

Q_DECLARE_METATYPE(Schritte)

class InhaltTest : public QObject {
    Q_OBJECT

    lw::test::TempOrdner ordner_;
    lw::Projektdaten daten_;

    std::unique_ptr<Tfrm_Inhalt> Oeffnen(const std::string& markup = {}) {
        auto fenster = std::make_unique<Tfrm_Inhalt>(daten_);
        fenster->SeiteZeigen({1, QStringLiteral("Seite1.html"), markup},
                             {QStringLiteral("Seite1.html"), QStringLiteral("Seite2.html")});
        fenster->show();
        // Shortcuts answer only in the active window.
        fenster->activateWindow();
        if (!QTest::qWaitForWindowActive(fenster.get())) qWarning("Editor nicht aktiv");
        return fenster;
    }

private slots:
    void initTestCase() {
        AnwendungEinrichten(*qApp);
        QVERIFY(lw::test::JpegSchreiben(alsQString(ordner_ / "rot.jpg"), 40, 20));
        QVERIFY(lw::test::JpegSchreiben(alsQString(ordner_ / "breit.jpg"), 1800, 900));
        QVERIFY(lw::test::JpegSchreiben(alsQString(ordner_ / "riesig.jpg"), 2000, 1000));
        lw::test::Schreiben(ordner_ / "kaputt.jpg", "kein Bild");
    }
    void init() {
        daten_ = lw::Projektdaten();
        daten_.ButtonBreite.Setzen(1, 170);
    }

    void operationen_data() {
        QTest::addColumn<Schritte>("schritte");
        QTest::addColumn<std::string>("markup");
        QTest::newRow("tippen") << Schritte([](const Editor& e) { e.tippen("Hallo Welt"); })
                                << Zeilen({"        <p>Hallo Welt</p>"});
        QTest::newRow("Absätze und Zeilenumbruch")
            << Schritte([](const Editor& e) {
                   e.tippen("Eins");
                   e.taste(Qt::Key_Return);
                   e.tippen("Zwei");
                   e.taste(Qt::Key_Return, Qt::ShiftModifier);
                   e.tippen("Drei");
               })
            << Zeilen({"        <p>Eins</p>", "        <p>Zwei<br />Drei</p>"});
        QTest::newRow("fett mit Strg+B")
            << Schritte([](const Editor& e) {
                   e.tippen("a ");
                   e.taste(Qt::Key_B, Qt::ControlModifier);
                   e.tippen("b");
                   e.taste(Qt::Key_B, Qt::ControlModifier);
                   e.tippen(" c");
               })
            << Zeilen({"        <p>a <strong>b</strong> c</p>"});
        QTest::newRow("kursiv und unterstrichen über die Knöpfe")
            << Schritte([](const Editor& e) {
                   e.knopf("btn_Kursiv");
                   e.tippen("k");
                   e.knopf("btn_Kursiv");
                   e.knopf("btn_Unterstrichen");
                   e.tippen("u");
               })
            << Zeilen({"        <p><em>k</em><u>u</u></p>"});
        QTest::newRow("Überschriften")
            << Schritte([](const Editor& e) {
                   e.absatz(1);
                   e.tippen("Eins");
                   e.taste(Qt::Key_Return);
                   e.absatz(2);
                   e.tippen("Zwei");
                   e.taste(Qt::Key_Return);
                   e.absatz(3);
                   e.tippen("Drei");
                   e.taste(Qt::Key_Return);
                   e.absatz(0);
                   e.tippen("Text");
               })
            << Zeilen({"        <h1>Eins</h1>", "        <h2>Zwei</h2>", "        <h3>Drei</h3>",
                       "        <p>Text</p>"});
        QTest::newRow("Aufzählung mit Tab eingerückt")
            << Schritte([](const Editor& e) {
                   e.knopf("btn_Aufzaehlung");
                   e.tippen("a");
                   e.taste(Qt::Key_Return);
                   e.taste(Qt::Key_Tab);
                   e.tippen("b");
                   e.taste(Qt::Key_Return);
                   e.taste(Qt::Key_Backtab);
                   e.tippen("c");
               })
            << Zeilen({"        <ul>", "          <li>a", "            <ul>",
                       "              <li>b</li>", "            </ul>", "          </li>",
                       "          <li>c</li>", "        </ul>"});
        QTest::newRow("Nummerierung, Umschalt+Tab beendet sie")
            << Schritte([](const Editor& e) {
                   e.knopf("btn_Nummerierung");
                   e.tippen("eins");
                   e.taste(Qt::Key_Return);
                   e.taste(Qt::Key_Backtab);
                   e.tippen("danach");
               })
            << Zeilen({"        <ol>", "          <li>eins</li>", "        </ol>",
                       "        <p>danach</p>"});
        QTest::newRow("Link auf eine Seite")
            << Schritte([](const Editor& e) {
                   e.tippen("Siehe ");
                   e.link(true, "Seite2.html", "Seite zwei");
                   e.tippen(" hier");
               })
            << Zeilen({"        <p>Siehe <a href=\"Seite2.html\">Seite zwei</a> hier</p>"});
        QTest::newRow("Link ohne Schema, markierter Text")
            << Schritte([](const Editor& e) {
                   e.tippen("Beispiel");
                   e.taste(Qt::Key_Home, Qt::ShiftModifier);
                   e.link(false, "www.beispiel.de/a?b=1&c=2", QString());
               })
            << Zeilen({"        <p><a href=\"https://www.beispiel.de/a?b=1&amp;c=2\">Beispiel</a></p>"});
        QTest::newRow("Bild")
            << Schritte([](const Editor& e) {
                   e.tippen("Vor ");
                   e.bild("rot.jpg", QStringLiteral("Rotes Rechteck"));
               })
            << Zeilen({"        <p>Vor <img src=\"img/rot.jpg\" alt=\"Rotes Rechteck\" width=\"40\" "
                       "height=\"20\" /></p>"});
        QTest::newRow("breites Bild auf die Spalte verkleinert")
            << Schritte([](const Editor& e) { e.bild("breit.jpg", "Breit"); })
            << Zeilen({"        <p><img src=\"img/breit.jpg\" alt=\"Breit\" width=\"794\" "
                       "height=\"397\" /></p>"});
        QTest::newRow("zu breites Bild als verkleinerte Kopie")
            << Schritte([](const Editor& e) {
                   e.dialoge.naechsterZweiterKnopf(true);
                   e.bild("riesig.jpg", "Riesig");
                   QCOMPARE(e.dialoge.texte(SkriptDialoge::Art::Meldung).size(), 1);
                   e.dialoge.aufrufe.clear();
               })
            << Zeilen({"        <p><img src=\"img/riesig.jpg\" alt=\"Riesig\" width=\"794\" "
                       "height=\"397\" /></p>"});
        QTest::newRow("Tabelle")
            << Schritte([](const Editor& e) {
                   e.modal([&e] { e.knopf("btn_Tabelle"); },
                           [](QWidget* w) {
                               Kind<QSpinBox>(w, "ud_Zeilen")->setValue(1);
                               Kind<QSpinBox>(w, "ud_Spalten")->setValue(2);
                               Kind<QPushButton>(w, "btn_TabelleOK")->click();
                           });
                   e.tippen("A");
                   e.taste(Qt::Key_Tab);
                   e.tippen("B");
               })
            << Zeilen({"        <table border=\"1\" cellpadding=\"4\">", "          <tr>",
                       "            <td>A</td>", "            <td>B</td>", "          </tr>",
                       "        </table>"});
        QTest::newRow("Linie")
            << Schritte([](const Editor& e) {
                   e.tippen("oben");
                   e.knopf("btn_Linie");
                   e.tippen("unten");
               })
            << Zeilen({"        <p>oben</p>", "        <hr />", "        <p>unten</p>"});
        QTest::newRow("Rückgängig mit Strg+Z")
            << Schritte([](const Editor& e) {
                   e.tippen("bleibt");
                   e.knopf("btn_Linie");
                   e.taste(Qt::Key_Z, Qt::ControlModifier);
               })
            << Zeilen({"        <p>bleibt</p>"});
        QTest::newRow("Wiederholen mit Strg+Y")
            << Schritte([](const Editor& e) {
                   e.tippen("bleibt");
                   e.knopf("btn_Linie");
                   e.knopf("btn_Rueckgaengig");
                   e.taste(Qt::Key_Y, Qt::ControlModifier);
               })
            << Zeilen({"        <p>bleibt</p>", "        <hr />"});
    }
    void operationen() {
        QFETCH(Schritte, schritte);
        QFETCH(std::string, markup);
        SkriptDialoge dialoge;
        auto fenster = Oeffnen();
        auto* text = Kind<QTextEdit>(fenster.get(), "te_Inhalt");
        schritte(Editor{*fenster, text, dialoge, ordner_});
        QVERIFY(dialoge.alleAntwortenVerbraucht());
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Meldung), QStringList());
        const std::string geschrieben = lw::ui::InhaltSchreiben(*text->document());
        QCOMPARE(QString::fromStdString(geschrieben), QString::fromStdString(markup));
        QVERIFY(lw::InhaltImSatz(geschrieben));
        // A picture too big for a phone goes to the save only as its copy.
        for (const std::string& bild : daten_.InhaltBilder) QVERIFY(lw::HandyHinweis(bild).empty());
        // Read into a fresh editor and written again: the same bytes.
        auto wieder = Oeffnen(geschrieben);
        auto* wiederText = Kind<QTextEdit>(wieder.get(), "te_Inhalt");
        QVERIFY(!wiederText->isReadOnly());
        QCOMPARE(QString::fromStdString(lw::ui::InhaltSchreiben(*wiederText->document())),
                 QString::fromStdString(markup));
    }

    // A paste from a browser: its own pictures are copied like inserted ones
    // (the one from memory waits outside the user's folders), those from the
    // web are named and left out.
    void einfuegenMitBildern() {
        SkriptDialoge dialoge;
        auto fenster = Oeffnen();
        auto* text = Kind<QTextEdit>(fenster.get(), "te_Inhalt");
        QByteArray png;
        {
            QBuffer puffer(&png);
            puffer.open(QIODevice::WriteOnly);
            QImage(3, 2, QImage::Format_RGB32).save(&puffer, "PNG");
        }
        const QString datei = QUrl::fromLocalFile(alsQString(ordner_ / "rot.jpg")).toString();
        auto* quelle = new QMimeData;
        quelle->setHtml(QStringLiteral("<p style=\"color:red\">Text <img src=\"data:image/png;base64,") +
                       QString::fromLatin1(png.toBase64()) +
                       QStringLiteral("\" alt=\"Punkt\"> <img src=\"https://example.org/a.png\"> "
                                      "<img src=\"") +
                       datei + QStringLiteral("\"></p>"));
        lw::test::ModalZaehler beschreiben([](QWidget* w) {
            auto* feld = Kind<QLineEdit>(w, "ed_BildBeschreibung");
            if (feld->text().isEmpty()) feld->setText(QStringLiteral("Rot"));
            Kind<QPushButton>(w, "btn_BildOK")->click();
        });
        const QStringList vorher = QDir(alsQString(ordner_.pfad())).entryList();
        QGuiApplication::clipboard()->setMimeData(quelle);
        QTest::keyClick(text, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(beschreiben.anzahl(), 2);
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Meldung),
                 QStringList{QStringLiteral("Bilder aus dem Internet wurden nicht übernommen: "
                                            "https://example.org/a.png")});
        QCOMPARE(lw::ui::InhaltSchreiben(*text->document()),
                 Zeilen({"        <p>Text <img src=\"img/Bild1.png\" alt=\"Punkt\" width=\"3\" "
                         "height=\"2\" /> <img src=\"img/rot.jpg\" alt=\"Rot\" width=\"40\" "
                         "height=\"20\" /></p>"}));
        QCOMPARE(daten_.InhaltBilder.size(), std::size_t(2));
        QCOMPARE(daten_.InhaltBilder[1], ordner_ / "rot.jpg");
        QVERIFY(lw::test::Lesen(daten_.InhaltBilder[0]) == png.toStdString());
        QCOMPARE(QDir(alsQString(ordner_.pfad())).entryList(), vorher);
    }

    // Plain text: paragraphs at blank lines, breaks at single line ends; with
    // Ctrl+Shift+V also when the clipboard offers HTML.
    void einfuegenAlsText() {
        SkriptDialoge dialoge;
        auto fenster = Oeffnen();
        auto* text = Kind<QTextEdit>(fenster.get(), "te_Inhalt");
        auto* quelle = new QMimeData;
        quelle->setHtml(QStringLiteral("<h1>Gro&szlig;</h1>"));
        quelle->setText(QStringLiteral("Eins\nzwei\n\nDrei"));
        QGuiApplication::clipboard()->setMimeData(quelle);
        QTest::keyClick(text, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QString::fromStdString(lw::ui::InhaltSchreiben(*text->document())),
                 QString::fromStdString(
                     Zeilen({"        <p>Eins<br />zwei</p>", "        <p>Drei</p>"})));
    }

    void linkVerweigert_data() {
        QTest::addColumn<QString>("adresse");
        QTest::newRow("javascript:") << "javascript:alert(1)";
        QTest::newRow("mit Leerzeichen und Großbuchstaben") << " JavaScript :alert(1)";
        QTest::newRow("data:") << "data:text/html,<b>x</b>";
        QTest::newRow("anderes Schema") << "ftp://example.org";
    }
    void linkVerweigert() {
        QFETCH(QString, adresse);
        SkriptDialoge dialoge;
        auto fenster = Oeffnen();
        auto* text = Kind<QTextEdit>(fenster.get(), "te_Inhalt");
        ModalAntwort antwort([&](QWidget* w) {
            Kind<QRadioButton>(w, "rb_LinkAdresse")->setChecked(true);
            Kind<QLineEdit>(w, "ed_LinkAdresse")->setText(adresse);
            Kind<QLineEdit>(w, "ed_LinkText")->setText(QStringLiteral("Klick"));
            Kind<QPushButton>(w, "btn_LinkOK")->click();
            // Refused: the window stays for a correction.
            QVERIFY(w->isVisible());
            static_cast<QDialog*>(w)->reject();
        });
        QTest::keyClick(text, Qt::Key_K, Qt::ControlModifier);
        QVERIFY(antwort.erledigt());
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Meldung).size(), 1);
        QVERIFY(text->document()->isEmpty());
    }

    // A picture that cannot be read gets the choosers' message naming it.
    void unlesbaresBild() {
        SkriptDialoge dialoge;
        auto fenster = Oeffnen();
        auto* text = Kind<QTextEdit>(fenster.get(), "te_Inhalt");
        dialoge.naechsteDatei(alsQString(ordner_ / "kaputt.jpg"));
        Kind<QToolButton>(fenster.get(), "btn_Bild")->click();
        const QStringList fehler = dialoge.texte(SkriptDialoge::Art::Fehler);
        QCOMPARE(fehler.size(), 1);
        QVERIFY2(fehler[0].contains(alsQString(ordner_ / "kaputt.jpg")), qPrintable(fehler[0]));
        QVERIFY(text->document()->isEmpty());
        QVERIFY(daten_.InhaltBilder.empty());
    }

    // Abbrechen and Escape drop the changes, asking first; OK keeps them.
    void abbrechenUndOk() {
        SkriptDialoge dialoge;
        Tfrm_Inhalt fenster(daten_);
        const Tfrm_Inhalt::Seite seite{1, QStringLiteral("Seite1.html"),
                                       Zeilen({"        <p>Alt</p>"})};
        const auto bearbeiten = [&](const std::function<void(QWidget*)>& schritte) {
            ModalAntwort antwort(schritte);
            const auto ergebnis = fenster.Bearbeiten(seite, {});
            if (!antwort.erledigt()) QTest::qFail("Editor nicht gezeigt", __FILE__, __LINE__);
            return ergebnis;
        };
        QVERIFY(!bearbeiten([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }));
        QVERIFY(dialoge.texte(SkriptDialoge::Art::Frage).isEmpty());

        dialoge.naechsteAntwort(false);
        dialoge.naechsteAntwort(true);
        QVERIFY(!bearbeiten([](QWidget* w) {
            QTest::keyClicks(Kind<QTextEdit>(w, "te_Inhalt"), "Neu ");
            QTest::keyClick(w, Qt::Key_Escape);
            QVERIFY(w->isVisible());
            Kind<QPushButton>(w, "btn_InhaltAbbrechen")->click();
        }));
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Frage).size(), 2);
        QCOMPARE(fenster.windowTitle(), QStringLiteral("Inhalt: Seite1.html"));

        const auto neu = bearbeiten([](QWidget* w) {
            auto* text = Kind<QTextEdit>(w, "te_Inhalt");
            // The dropped change is gone.
            const QString vorher = text->toPlainText().trimmed();
            text->moveCursor(QTextCursor::End);
            QTest::keyClicks(text, "er Text");
            Kind<QPushButton>(w, "btn_InhaltOK")->click();
            QCOMPARE(vorher, QStringLiteral("Alt"));
        });
        QCOMPARE(neu, std::optional<std::string>(Zeilen({"        <p>Alter Text</p>"})));
    }

    // Markup the editor cannot show, or could not write back as it is, stays
    // read-only and unchanged until the user asks for the conversion.
    void nichtDarstellbar_data() {
        QTest::addColumn<std::string>("fremd");
        QTest::newRow("fremde Elemente") << std::string("        <div class=\"x\"><font color=\"red\">"
                                                        "Rot</font><p>Absatz</p></div>\r\n");
        QTest::newRow("Kopfzelle") << Zeilen({"        <p>Rot</p>", "        <table border=\"1\" cellpadding=\"4\">",
                                              "          <tr>", "            <th>Absatz</th>",
                                              "          </tr>", "        </table>"});
        QTest::newRow("Link mit Titel")
            << Zeilen({"        <p><a href=\"a.html\" title=\"Tipp\">Rot</a></p>",
                       "        <p>Absatz</p>"});
    }
    void nichtDarstellbar() {
        QFETCH(std::string, fremd);
        SkriptDialoge dialoge;
        QVERIFY(!lw::InhaltImSatz(fremd));
        Tfrm_Inhalt fenster(daten_);
        std::optional<std::string> ergebnis;
        ModalAntwort ohne([](QWidget* w) {
            QVERIFY(Kind<QTextEdit>(w, "te_Inhalt")->isReadOnly());
            QVERIFY(Kind<QWidget>(w, "pnl_NichtDarstellbar")->isVisible());
            Kind<QPushButton>(w, "btn_InhaltOK")->click();
        });
        ergebnis = fenster.Bearbeiten({1, QStringLiteral("a.html"), fremd}, {});
        QVERIFY(ohne.erledigt());
        QVERIFY(!ergebnis);

        dialoge.naechsteAntwort(true);
        ModalAntwort umwandeln([](QWidget* w) {
            Kind<QPushButton>(w, "btn_Umwandeln")->click();
            QVERIFY(!Kind<QTextEdit>(w, "te_Inhalt")->isReadOnly());
            QVERIFY(!Kind<QWidget>(w, "pnl_NichtDarstellbar")->isVisible());
            Kind<QPushButton>(w, "btn_InhaltOK")->click();
        });
        ergebnis = fenster.Bearbeiten({1, QStringLiteral("a.html"), fremd}, {});
        QVERIFY(umwandeln.erledigt());
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Frage),
                 QStringList{QStringLiteral("Formatierungen, die der Editor nicht kennt, gehen "
                                            "dabei verloren. Der Text bleibt.")});
        QVERIFY(ergebnis);
        QVERIFY(lw::InhaltImSatz(*ergebnis));
        QVERIFY(ergebnis->find("Rot") != std::string::npos);
        QVERIFY(ergebnis->find("Absatz") != std::string::npos);
    }
};

QTEST_MAIN(InhaltTest)
#include "test_inhalt.moc"
