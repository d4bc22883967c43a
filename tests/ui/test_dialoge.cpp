// The dialog seam, the error display of the application and the text bridge.
// Runs on the program's own application object, so that errors take the same
// road as in the program.
#include <QAbstractProxyModel>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <stdexcept>

#include <sys/time.h>

#include "app/Browser.h"
#include "common/Fehler.h"
#include "common/Zeichensatz.h"
#include "tests/support/TempOrdner.h"
#include "tests/ui/SkriptDialoge.h"
#include "ui/Anwendung.h"
#include "ui/Auswahl.h"
#include "ui/Dialoge.h"
#include "ui/SchriftDialog.h"
#include "ui/TextUmwandlung.h"

using lw::test::ModalAntwort;
using lw::test::SkriptDialoge;
using lw::ui::SchriftWahl;

Q_DECLARE_METATYPE(std::string)

namespace {

QByteArray Bytes(const std::string& s) {
    return QByteArray(s.data(), qsizetype(s.size()));
}

bool Gleich(const SchriftWahl& a, const SchriftWahl& b) {
    return a.familie == b.familie && a.punkte == b.punkte && a.fett == b.fett &&
           a.kursiv == b.kursiv && a.unterstrichen == b.unterstrichen &&
           a.durchgestrichen == b.durchgestrichen && a.farbe == b.farbe;
}

// Looks at the file chooser that opens next and cancels it; any other window
// that opens instead is closed.
ModalAntwort DateiDialogAnsehen(std::function<void(QFileDialog&)> ansehen) {
    return ModalAntwort([ansehen = std::move(ansehen)](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        if (!d) {
            w->close();
            return;
        }
        ansehen(*d);
        d->reject();
    });
}

}  // namespace

class DialogeTest : public QObject {
    Q_OBJECT

private slots:
    void textNachCp1252_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("cp1252");
        QTest::newRow("ascii") << "Seite1.html" << QByteArray("Seite1.html");
        QTest::newRow("umlaute") << "äöüÄÖÜß" << QByteArray("\xE4\xF6\xFC\xC4\xD6\xDC\xDF");
        QTest::newRow("euro-und-anfuehrung") << "€ „x“ …" << QByteArray("\x80 \x84x\x93 \x85");
        QTest::newRow("ausserhalb") << "Łódź"
                                    << QByteArray(
                                           "?\xF3"
                                           "d?");
        // A character beyond 16 bits is one character and becomes one '?'.
        QTest::newRow("smiley") << QString::fromUtf8("a\xF0\x9F\x98\x80z") << QByteArray("a?z");
        QTest::newRow("einzelnes-surrogat") << QString(QChar(0xD800)) << QByteArray("?");
        QTest::newRow("leer") << "" << QByteArray();
    }

    void textNachCp1252() {
        QFETCH(QString, text);
        QFETCH(QByteArray, cp1252);
        QCOMPARE(Bytes(alsCp1252(text)), cp1252);
    }

    // Every byte survives the way to a QString and back.
    void alleBytesHinUndZurueck() {
        std::string alle;
        for (int b = 1; b < 256; ++b) alle += static_cast<char>(b);
        const QString text = alsQString(alle);
        QCOMPARE(text.size(), qsizetype(255));
        QCOMPARE(text.at(0xE4 - 1), QChar(0xE4));
        QCOMPARE(text.at(0x80 - 1), QChar(0x20AC));
        QCOMPARE(Bytes(alsCp1252(text)), Bytes(alle));
    }

    void fehlerText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("gezeigt");
        QTest::newRow("ohne-punkt") << "Datei nicht gefunden"
                                    << "Datei nicht gefunden.";
        QTest::newRow("mit-punkt") << "E/A-Fehler 183."
                                   << "E/A-Fehler 183.";
        QTest::newRow("auslassung") << "Bitte warten..."
                                    << "Bitte warten...";
        QTest::newRow("fragezeichen") << "Warum?"
                                      << "Warum?.";
        QTest::newRow("punkt-vor-leerzeichen") << "Ende. "
                                               << "Ende. .";
        QTest::newRow("leer") << ""
                              << "";
    }

    void fehlerText() {
        QFETCH(QString, text);
        QFETCH(QString, gezeigt);
        QCOMPARE(lw::ui::FehlerText(text), gezeigt);
    }

    void meldungsfenster_data() {
        QTest::addColumn<int>("art");
        QTest::addColumn<QString>("titel");
        QTest::addColumn<int>("symbol");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("gezeigt");
        QTest::newRow("meldung") << 0 << "Leistenwerk" << int(QMessageBox::NoIcon)
                                 << "Gespeichert in <Neu>"
                                 << "Gespeichert in <Neu>";
        QTest::newRow("information")
            << 1 << "Informationen" << int(QMessageBox::Information) << "5 Seiten gefunden"
            << "5 Seiten gefunden";
        QTest::newRow("fehler") << 2 << "Leistenwerk" << int(QMessageBox::Critical)
                                << "Datei nicht gefunden"
                                << "Datei nicht gefunden.";
        QTest::newRow("fehler-kurz")
            << 2 << "Leistenwerk" << int(QMessageBox::Critical) << "E/A-Fehler 5"
            << "E/A-Fehler 5.";
    }

    // The real boxes: caption, symbol, one OK button, the text not read as markup.
    void meldungsfenster() {
        QFETCH(int, art);
        QFETCH(QString, titel);
        QFETCH(int, symbol);
        QFETCH(QString, text);
        QFETCH(QString, gezeigt);
        QMessageBox* gesehen = nullptr;
        QString gesehenerTitel, gesehenerText, knopfText;
        int gesehenesSymbol = -1, knoepfe = -1, breite = 0;
        Qt::TextFormat format = Qt::AutoText;
        QFont schrift;
        ModalAntwort antwort([&](QWidget* w) {
            gesehen = qobject_cast<QMessageBox*>(w);
            if (!gesehen) {
                w->close();
                return;
            }
            gesehenerTitel = gesehen->windowTitle();
            gesehenerText = gesehen->text();
            gesehenesSymbol = gesehen->icon();
            format = gesehen->textFormat();
            breite = gesehen->width();
            schrift = gesehen->font();
            knoepfe = int(gesehen->buttons().size());
            knopfText = gesehen->button(QMessageBox::Ok) ? gesehen->button(QMessageBox::Ok)->text()
                                                         : QString();
            gesehen->accept();
        });
        auto& d = lw::ui::dialoge();
        if (art == 0) d.Meldung(nullptr, text);
        if (art == 1) d.Information(nullptr, text);
        if (art == 2) d.FehlerZeigen(nullptr, text);
        QVERIFY(antwort.erledigt());
        QVERIFY(gesehen);
        QCOMPARE(gesehenerTitel, titel);
        QCOMPARE(gesehenerText, gezeigt);
        QCOMPARE(gesehenesSymbol, symbol);
        QCOMPARE(format, Qt::PlainText);
        QCOMPARE(knoepfe, 1);
        QCOMPARE(knopfText.remove(QLatin1Char('&')), QStringLiteral("OK"));
        // However short the text, the caption fits: drawn half again as large
        // and bold, centred between the close box and the window's symbol (each
        // about 32 pixels with its margin) and as much room on the other side.
        schrift.setBold(true);
        schrift.setPointSizeF(schrift.pointSizeF() * 1.5);
        QVERIFY2(breite >= QFontMetrics(schrift).horizontalAdvance(titel) + 3 * 32,
                 qPrintable(QString::number(breite)));
    }

    // The boxes with two answers: their buttons, and what each answer, Escape
    // included, gives back.
    void zweiAntworten_data() {
        QTest::addColumn<bool>("frage");
        QTest::addColumn<QString>("druecken");
        QTest::addColumn<bool>("erwartet");
        QTest::newRow("frage-ja") << true << "Ja" << true;
        QTest::newRow("frage-nein") << true << "Nein" << false;
        QTest::newRow("frage-escape") << true << "Escape" << false;
        QTest::newRow("ordner-oeffnen") << false << "Ordner öffnen" << true;
        QTest::newRow("ok") << false << "OK" << false;
        QTest::newRow("meldung-escape") << false << "Escape" << false;
    }
    void zweiAntworten() {
        QFETCH(bool, frage);
        QFETCH(QString, druecken);
        QFETCH(bool, erwartet);
        QStringList gesehen, knoepfe;  // title, text, icon, default button; the buttons
        ModalAntwort antwort([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box) return (void)w->close();
            gesehen << box->windowTitle() << box->text() << QString::number(box->icon())
                    << (box->defaultButton() ? box->defaultButton()->text().remove('&') : "");
            for (QAbstractButton* k : box->buttons()) knoepfe << k->text().remove('&');
            if (knoepfe.contains(druecken))
                box->buttons().at(knoepfe.indexOf(druecken))->click();
            else
                QTest::keyClick(box, Qt::Key_Escape);
        });
        auto& d = lw::ui::dialoge();
        const bool ergebnis = frage ? d.Frage(nullptr, QStringLiteral("Wirklich?"))
                                    : d.MeldungMitKnopf(nullptr, QStringLiteral("Gespeichert."),
                                                        QStringLiteral("Ordner öffnen"));
        QVERIFY(antwort.erledigt());
        QCOMPARE(ergebnis, erwartet);
        const QString symbol = QString::number(QMessageBox::NoIcon);
        QCOMPARE(gesehen, frage ? QStringList({"Leistenwerk", "Wirklich?", symbol, "Nein"})
                                : QStringList({"Leistenwerk", "Gespeichert.", symbol, "OK"}));
        knoepfe.sort();
        QCOMPARE(knoepfe,
                 frage ? QStringList({"Ja", "Nein"}) : QStringList({"OK", "Ordner öffnen"}));
    }

    // The program's font and German stock captions.
    void anwendungEingerichtet() {
        QCOMPARE(QApplication::font().pointSize(), 8);
        if (QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf")))
            QCOMPARE(QApplication::font().family(), QStringLiteral("Tahoma"));
        QDialogButtonBox knoepfe(QDialogButtonBox::Cancel | QDialogButtonBox::Yes |
                                 QDialogButtonBox::No);
        auto text = [&](QDialogButtonBox::StandardButton b) {
            return knoepfe.button(b)->text().remove(QLatin1Char('&'));
        };
        QCOMPARE(text(QDialogButtonBox::Cancel), QStringLiteral("Abbrechen"));
        QCOMPARE(text(QDialogButtonBox::Yes), QStringLiteral("Ja"));
        QCOMPARE(text(QDialogButtonBox::No), QStringLiteral("Nein"));
    }

    // A failure in a click handler ends that action in the error box, and the
    // program carries on.
    void ausnahmeImKlick() {
        SkriptDialoge dialoge;
        QWidget fenster;
        auto* fehler = new QPushButton(QStringLiteral("Fehler"), &fenster);
        auto* runtime = new QPushButton(QStringLiteral("Runtime"), &fenster);
        auto* unbekannt = new QPushButton(QStringLiteral("Unbekannt"), &fenster);
        auto* gut = new QPushButton(QStringLiteral("Gut"), &fenster);
        int gutGeklickt = 0;
        int nachDemWurf = 0;
        QObject::connect(fehler, &QPushButton::clicked, [&] {
            throw lw::Fehler(
                lw::W("Datei \"/tmp/ä.txt\" kann nicht erstellt werden. "
                      "Zugriff verweigert"));
            ++nachDemWurf;
        });
        QObject::connect(runtime, &QPushButton::clicked,
                         [] { throw std::runtime_error("kaputt"); });
        QObject::connect(unbekannt, &QPushButton::clicked, [] { throw 42; });
        QObject::connect(gut, &QPushButton::clicked, [&] { ++gutGeklickt; });
        fenster.show();

        QTest::mouseClick(fehler, Qt::LeftButton);
        QTest::mouseClick(runtime, Qt::LeftButton);
        QTest::mouseClick(unbekannt, Qt::LeftButton);
        QTest::mouseClick(gut, Qt::LeftButton);

        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Fehler),
                 QStringList({QStringLiteral("Datei \"/tmp/ä.txt\" kann nicht erstellt werden. "
                                             "Zugriff verweigert"),
                              QStringLiteral("kaputt"), QStringLiteral("Unbekannter Fehler")}));
        QCOMPARE(nachDemWurf, 0);
        QCOMPARE(gutGeklickt, 1);
        QVERIFY(!fehler->isDown());
    }

    // Inside a modal window the error stops there; the window stays usable.
    void ausnahmeImModalenFenster() {
        SkriptDialoge dialoge;
        QDialog dialog;
        auto* wirft = new QPushButton(QStringLiteral("Wirft"), &dialog);
        QObject::connect(wirft, &QPushButton::clicked, [] { throw lw::Fehler("E/A-Fehler 183"); });
        bool nochOffen = false;
        ModalAntwort antwort([&](QWidget* w) {
            QTest::mouseClick(wirft, Qt::LeftButton);
            nochOffen = w->isVisible();
            static_cast<QDialog*>(w)->accept();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QVERIFY(antwort.erledigt());
        QVERIFY(nochOffen);
        QCOMPARE(dialoge.texte(SkriptDialoge::Art::Fehler),
                 QStringList{QStringLiteral("E/A-Fehler 183")});
    }

    void dateiauswahl() {
        lw::test::TempOrdner ordner;
        const QString vorhanden = QString::fromStdString(ordner.pfad());
        QString titel, verzeichnis;
        QStringList filterListe, muster;
        const ModalAntwort antwort = DateiDialogAnsehen([&](QFileDialog& d) {
            titel = d.windowTitle();
            verzeichnis = d.directory().absolutePath();
            filterListe = d.nameFilters();
            if (QAbstractProxyModel* anzeige = d.proxyModel())
                if (auto* dateien = qobject_cast<QFileSystemModel*>(anzeige->sourceModel()))
                    muster = dateien->nameFilters();
        });
        const QString gewaehlt = lw::ui::dialoge().DateiOeffnen(
            nullptr, QStringLiteral("Button laden..."), vorhanden, lw::ui::kGrafikFilter);
        QVERIFY(antwort.erledigt());
        QVERIFY(gewaehlt.isEmpty());
        QCOMPARE(titel, QStringLiteral("Button laden..."));
        QCOMPARE(QFileInfo(verzeichnis).canonicalFilePath(),
                 QFileInfo(vorhanden).canonicalFilePath());
        QCOMPARE(filterListe.size(), 4);
        // The first choice shows every kind of picture the program reads.
        QCOMPARE(muster, QStringList({"*.jpg", "*.jpeg", "*.gif", "*.png"}));
    }

    // A first folder that does not exist leaves the choice to the platform.
    void dateiauswahlOhneErstenOrdner() {
        lw::test::TempOrdner ordner;
        const QString fehlt = QString::fromStdString(ordner / "Buttons");
        QString verzeichnis;
        const ModalAntwort antwort =
            DateiDialogAnsehen([&](QFileDialog& d) { verzeichnis = d.directory().absolutePath(); });
        lw::ui::dialoge().DateiOeffnen(nullptr, QStringLiteral("Hintergrundbild laden..."), fehlt,
                                       QStringLiteral("JPEG (*.jpg)"));
        QVERIFY(antwort.erledigt());
        QVERIFY(!verzeichnis.isEmpty());
        QVERIFY(QDir(verzeichnis).exists());
        QVERIFY(verzeichnis != fehlt);
    }

    // The folder chooser opens where it is told, with nothing selected, and
    // Qt's own chooser dates its entries in German.
    void ordnerauswahl() {
        lw::test::TempOrdner ordner;
        const QString oben = QString::fromStdString(ordner.pfad());
        const QString unter = QString::fromStdString(ordner / "Maerz");
        QVERIFY(QDir().mkpath(unter));
        const QDateTime zeit(QDate(2024, 3, 5), QTime(12, 30));
        const timeval zeiten[2] = {{time_t(zeit.toSecsSinceEpoch()), 0},
                                   {time_t(zeit.toSecsSinceEpoch()), 0}};
        QCOMPARE(::utimes(unter.toLocal8Bit().constData(), zeiten), 0);
        QString titel, verzeichnis, eingabe, datum;
        bool nurOrdner = false;
        const ModalAntwort antwort = DateiDialogAnsehen([&](QFileDialog& d) {
            titel = d.windowTitle();
            verzeichnis = d.directory().absolutePath();
            nurOrdner =
                d.fileMode() == QFileDialog::Directory && d.testOption(QFileDialog::ShowDirsOnly);
            if (auto* feld = d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                eingabe = feld->text();
            QAbstractProxyModel* anzeige = d.proxyModel();
            if (anzeige) {
                auto* dateien = qobject_cast<QFileSystemModel*>(anzeige->sourceModel());
                const QModelIndex quelle = dateien->index(unter, 3);
                QTRY_VERIFY(dateien->lastModified(quelle).isValid());
                datum = anzeige->mapFromSource(quelle).data().toString();
            }
        });
        const QString gewaehlt =
            lw::ui::dialoge().OrdnerWaehlen(nullptr, QStringLiteral("Ordner..."), oben);
        QVERIFY(antwort.erledigt());
        QVERIFY(gewaehlt.isEmpty());
        QCOMPARE(titel, QStringLiteral("Ordner..."));
        QCOMPARE(QFileInfo(verzeichnis).canonicalFilePath(), QFileInfo(oben).canonicalFilePath());
        QVERIFY(nurOrdner);
        QCOMPARE(eingabe, QString());
        QCOMPARE(datum, QStringLiteral("5. März 2024 12:30"));
    }

    void farbauswahl() {
        QColor gezeigt;
        ModalAntwort abbrechen([&](QWidget* w) {
            if (auto* d = qobject_cast<QColorDialog*>(w)) gezeigt = d->currentColor();
            w->close();
        });
        QCOMPARE(lw::ui::dialoge().FarbeWaehlen(nullptr, Qt::white), std::optional<QColor>());
        QVERIFY(abbrechen.erledigt());
        QCOMPARE(gezeigt, QColor(Qt::white));

        ModalAntwort waehlen([](QWidget* w) {
            auto* d = qobject_cast<QColorDialog*>(w);
            if (!d) {
                w->close();
                return;
            }
            d->setCurrentColor(QColor(0x99, 0x66, 0x33));
            d->accept();
        });
        QCOMPARE(lw::ui::dialoge().FarbeWaehlen(nullptr, Qt::black),
                 std::optional<QColor>(QColor(0x99, 0x66, 0x33)));
        QVERIFY(waehlen.erledigt());
    }

    // The preset comes back unchanged, even a family this machine lacks.
    void schriftVorgabe() {
        SchriftWahl vorgabe;
        vorgabe.familie = QStringLiteral("Keine Solche Schrift");
        vorgabe.punkte = 23;
        vorgabe.kursiv = true;
        vorgabe.durchgestrichen = true;
        vorgabe.farbe = QColor(0x12, 0x34, 0x56);
        lw::ui::SchriftDialog dialog(nullptr, vorgabe);
        QVERIFY(Gleich(dialog.Wahl(), vorgabe));
        QVERIFY(Gleich(lw::ui::SchriftDialog(nullptr, SchriftWahl()).Wahl(), SchriftWahl()));
    }

    void schriftAuswahl() {
        lw::ui::SchriftDialog dialog(nullptr, SchriftWahl());
        // The families every visitor has come first, then a heading that
        // cannot be chosen, then this machine's.
        auto* liste = dialog.findChild<QComboBox*>(QStringLiteral("cb_Familie"));
        QCOMPARE(liste->itemText(0), QStringLiteral("Arial"));
        QCOMPARE(liste->itemText(6), QStringLiteral("Courier New"));
        QCOMPARE(liste->itemText(8), QStringLiteral("Nur auf diesem Rechner sicher vorhanden"));
        QVERIFY(!(liste->model()->flags(liste->model()->index(8, 0)) & Qt::ItemIsEnabled));
        dialog.findChild<QComboBox*>(QStringLiteral("cb_Familie"))
            ->setCurrentText(QStringLiteral("Verdana"));
        dialog.findChild<QSpinBox*>(QStringLiteral("sb_Groesse"))->setValue(20);
        dialog.findChild<QCheckBox*>(QStringLiteral("chckbx_Fett"))->setChecked(true);
        dialog.findChild<QCheckBox*>(QStringLiteral("chckbx_Unterstrichen"))->setChecked(true);
        auto* farbe = dialog.findChild<QComboBox*>(QStringLiteral("cb_Farbe"));
        farbe->setCurrentIndex(farbe->findText(QStringLiteral("Blau")));
        const SchriftWahl w = dialog.Wahl();
        QCOMPARE(w.familie, QStringLiteral("Verdana"));
        QCOMPARE(w.punkte, 20);
        QVERIFY(w.fett && w.unterstrichen && !w.kursiv && !w.durchgestrichen);
        QCOMPARE(w.farbe, QColor(Qt::blue));
    }

    // Whatever the preset holds, the answer is a positive size in points.
    void schriftGroesseImmerPositiv_data() {
        QTest::addColumn<int>("vorgabe");
        QTest::addColumn<int>("antwort");
        QTest::newRow("null") << 0 << 1;
        QTest::newRow("negativ") << -14 << 1;
        QTest::newRow("riesig") << 100000 << 400;
        QTest::newRow("normal") << 14 << 14;
    }

    void schriftGroesseImmerPositiv() {
        QFETCH(int, vorgabe);
        QFETCH(int, antwort);
        SchriftWahl s;
        s.punkte = vorgabe;
        ModalAntwort ok([](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
        const std::optional<SchriftWahl> w = lw::ui::dialoge().SchriftWaehlen(nullptr, s);
        QVERIFY(ok.erledigt());
        QVERIFY(w.has_value());
        QCOMPARE(w->punkte, antwort);
    }

    // Tab walks the font chooser from top to bottom as it is laid out.
    void schriftTabFolge() {
        lw::ui::SchriftDialog dialog(nullptr, SchriftWahl());
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.findChild<QComboBox*>(QStringLiteral("cb_Familie"))->setFocus();
        QStringList folge;
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* fokus = QApplication::focusWidget();
            folge << (fokus->objectName().isEmpty() ? fokus->metaObject()->className()
                                                    : fokus->objectName());
        }
        QCOMPARE(folge.mid(0, 6),
                 (QStringList{"sb_Groesse", "cb_Farbe", "chckbx_Fett", "chckbx_Kursiv",
                              "chckbx_Unterstrichen", "chckbx_Durchgestrichen"}));
        QCOMPARE(folge.mid(6), (QStringList{"QPushButton", "QPushButton"}));
        // The size is written into the stylesheet in pixels, and named so.
        QString groesse;
        for (QLabel* l : dialog.findChildren<QLabel*>())
            if (l->buddy() && l->buddy()->objectName() == QStringLiteral("sb_Groesse"))
                groesse = l->text();
        QCOMPARE(groesse, QStringLiteral("&Größe (Pixel):"));
    }

    void schriftAbgebrochen() {
        ModalAntwort abbrechen([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
        QVERIFY(!lw::ui::dialoge().SchriftWaehlen(nullptr, SchriftWahl()).has_value());
        QVERIFY(abbrechen.erledigt());
    }

    // The double other window tests rely on: answers in order, an empty answer
    // as cancelled, and the real dialogs back once it is gone.
    void skriptDialoge() {
        const lw::ui::Dialoge* echte = &lw::ui::dialoge();
        {
            SkriptDialoge d;
            d.naechsteDatei(QStringLiteral("/bilder/a.jpg"));
            d.naechsteDatei(QString());
            d.naechsteSchrift(std::nullopt);
            auto& s = lw::ui::dialoge();
            QCOMPARE(s.DateiOeffnen(nullptr, QStringLiteral("T"), QStringLiteral("/o"), {}),
                     QStringLiteral("/bilder/a.jpg"));
            QCOMPARE(s.DateiOeffnen(nullptr, QStringLiteral("T2"), {}, {}), QString());
            QVERIFY(!s.SchriftWaehlen(nullptr, SchriftWahl()).has_value());
            QVERIFY(d.alleAntwortenVerbraucht());
            QCOMPARE(d.aufrufe.size(), size_t(3));
            QCOMPARE(d.aufrufe.at(0).ersterOrdner, QStringLiteral("/o"));
            QVERIFY(d.unbeantwortet.isEmpty());
        }
        QVERIFY(&lw::ui::dialoge() == echte);
    }

    // A chooser without a prepared answer is a failure of the test, and is
    // answered as cancelled.
    void skriptDialogeOhneAntwort() {
        SkriptDialoge d;
        QEXPECT_FAIL("", "no answer was prepared", Continue);
        const QString pfad = lw::ui::dialoge().DateiOeffnen(nullptr, QStringLiteral("T"), {}, {});
        QVERIFY(pfad.isEmpty());
        QCOMPARE(d.unbeantwortet.size(), 1);
    }

    void browserAdresse_data() {
        QTest::addColumn<QString>("adresse");
        QTest::addColumn<QUrl>("url");
        QTest::newRow("web") << "http://www.leistenwerk.de/forum.html"
                             << QUrl(QStringLiteral("http://www.leistenwerk.de/forum.html"));
        QTest::newRow("datei-mit-umlaut-und-leerzeichen")
            << "/home/anna/Meine Seite/Test.html"
            << QUrl::fromLocalFile(QStringLiteral("/home/anna/Meine Seite/Test.html"));
    }

    void browserAdresse() {
        QFETCH(QString, adresse);
        QFETCH(QUrl, url);
        QCOMPARE(BrowserAdresse(adresse), url);
        QVERIFY(BrowserAdresse(adresse).isValid());
    }
};

int main(int argc, char** argv) {
    Anwendung app(argc, argv);
    DialogeTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_dialoge.moc"
