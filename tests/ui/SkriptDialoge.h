#pragma once

// Test double for the dialog seam: scripts the user's answers to every chooser
// and records how each chooser and message box was opened. Header-only.
//
//   SkriptDialoge dialoge;              // installed until it goes out of scope
//   dialoge.naechsteDatei("/tmp/a.jpg");
//   ... trigger the action ...
//   QCOMPARE(dialoge.aufrufe.at(0).titel, "Button laden...");

#include <QApplication>
#include <QColor>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "ui/Dialoge.h"

namespace lw::test {

class SkriptDialoge final : public lw::ui::Dialoge {
public:
    enum class Art { Datei, Ordner, Farbe, Schrift, Meldung, Frage, Information, Fehler };

    struct Aufruf {
        Art art;
        QString titel;                       // file and folder choosers; a message's second button
        QString filter;                      // file chooser
        QString ersterOrdner;                // file and folder choosers
        QColor vorgabeFarbe;                 // colour chooser
        lw::ui::SchriftWahl vorgabeSchrift;  // font chooser
        QString text;                        // message boxes, as handed to the seam
    };

    // Every call in order.
    std::vector<Aufruf> aufrufe;
    // Choosers called without a queued answer; each is also a test failure.
    QStringList unbeantwortet;

    SkriptDialoge() { lw::ui::dialogeSetzen(this); }
    ~SkriptDialoge() override { lw::ui::dialogeSetzen(nullptr); }
    SkriptDialoge(const SkriptDialoge&) = delete;
    SkriptDialoge& operator=(const SkriptDialoge&) = delete;

    // Queued answers, used in order; an empty path or nullopt means cancelled.
    void naechsteDatei(const QString& pfad) { dateien_.push_back(pfad); }
    void naechsterOrdner(const QString& pfad) { ordner_.push_back(pfad); }
    void naechsteFarbe(std::optional<QColor> farbe) { farben_.push_back(farbe); }
    // Answers to the questions, true for "Ja".
    void naechsteAntwort(bool ja) { antworten_.push_back(ja); }
    // A message with a second button is confirmed with OK unless the second
    // button was queued for it.
    void naechsterZweiterKnopf(bool zweiter) { zweiteKnoepfe_.push_back(zweiter); }
    void naechsteSchrift(std::optional<lw::ui::SchriftWahl> s) {
        schriftBestaetigt_.push_back(s.has_value());
        if (s) schriften_.push_back(*s);
    }

    // True when every queued answer was asked for.
    bool alleAntwortenVerbraucht() const {
        return dateien_.empty() && ordner_.empty() && farben_.empty() &&
               schriftBestaetigt_.empty() && antworten_.empty() && zweiteKnoepfe_.empty();
    }

    // The calls of one kind, and the texts of the message boxes of one kind.
    std::vector<Aufruf> von(Art art) const {
        std::vector<Aufruf> aus;
        for (const Aufruf& a : aufrufe)
            if (a.art == art) aus.push_back(a);
        return aus;
    }
    QStringList texte(Art art) const {
        QStringList aus;
        for (const Aufruf& a : von(art)) aus << a.text;
        return aus;
    }

    QString DateiOeffnen(QWidget*, const QString& titel, const QString& ersterOrdner,
                         const QString& filter) override {
        Aufruf a{Art::Datei, titel, filter, ersterOrdner, {}, {}, {}};
        aufrufe.push_back(a);
        return Antwort(dateien_, QStringLiteral("Dateiauswahl \"%1\"").arg(titel), QString());
    }
    QString OrdnerWaehlen(QWidget*, const QString& titel, const QString& ersterOrdner) override {
        aufrufe.push_back(Aufruf{Art::Ordner, titel, {}, ersterOrdner, {}, {}, {}});
        return Antwort(ordner_, QStringLiteral("Ordnerauswahl \"%1\"").arg(titel), QString());
    }
    std::optional<QColor> FarbeWaehlen(QWidget*, const QColor& vorgabe) override {
        aufrufe.push_back(Aufruf{Art::Farbe, {}, {}, {}, vorgabe, {}, {}});
        return Antwort(farben_, QStringLiteral("Farbauswahl"), std::optional<QColor>());
    }
    std::optional<lw::ui::SchriftWahl> SchriftWaehlen(QWidget*,
                                                      const lw::ui::SchriftWahl& vorgabe) override {
        aufrufe.push_back(Aufruf{Art::Schrift, {}, {}, {}, {}, vorgabe, {}});
        // Unpacked by hand: copying the optional through Antwort() makes g++ 12
        // warn about an uninitialised QString that cannot occur.
        if (!Antwort(schriftBestaetigt_, QStringLiteral("Schriftauswahl"), false))
            return std::nullopt;
        const lw::ui::SchriftWahl wahl = schriften_.front();
        schriften_.pop_front();
        return wahl;
    }
    void Meldung(QWidget*, const QString& text) override {
        aufrufe.push_back(Aufruf{Art::Meldung, {}, {}, {}, {}, {}, text});
    }
    bool Frage(QWidget*, const QString& text) override {
        aufrufe.push_back(Aufruf{Art::Frage, {}, {}, {}, {}, {}, text});
        return Antwort(antworten_, QStringLiteral("Frage \"%1\"").arg(text), false);
    }
    bool MeldungMitKnopf(QWidget*, const QString& text, const QString& knopf) override {
        aufrufe.push_back(Aufruf{Art::Meldung, knopf, {}, {}, {}, {}, text});
        if (zweiteKnoepfe_.empty()) return false;
        const bool zweiter = zweiteKnoepfe_.front();
        zweiteKnoepfe_.pop_front();
        return zweiter;
    }
    void Information(QWidget*, const QString& text) override {
        aufrufe.push_back(Aufruf{Art::Information, {}, {}, {}, {}, {}, text});
    }
    void FehlerZeigen(QWidget*, const QString& text) override {
        aufrufe.push_back(Aufruf{Art::Fehler, {}, {}, {}, {}, {}, text});
    }

private:
    template <class T>
    T Antwort(std::deque<T>& vorrat, const QString& was, T abgebrochen) {
        if (vorrat.empty()) {
            const QString meldung = was + QStringLiteral(" ohne vorbereitete Antwort geöffnet");
            unbeantwortet << meldung;
            QTest::qFail(qPrintable(meldung), __FILE__, __LINE__);
            // A road that asks again after every cancel (the import's folder
            // choice) would otherwise loop until the test's time-out.
            if (unbeantwortet.size() > 20) qFatal("%s (mehr als 20 Mal)", qPrintable(meldung));
            return abgebrochen;
        }
        T antwort(std::move(vorrat.front()));
        vorrat.pop_front();
        return antwort;
    }

    std::deque<QString> dateien_;
    std::deque<QString> ordner_;
    std::deque<std::optional<QColor>> farben_;
    std::deque<bool> antworten_;
    std::deque<bool> zweiteKnoepfe_;
    std::deque<bool> schriftBestaetigt_;         // one per queued answer
    std::deque<lw::ui::SchriftWahl> schriften_;  // the confirmed ones only
};

// Acts on the next modal window as soon as it is open, for windows that the
// code under test shows with exec(). Create it before the action that opens
// the window; erledigt() tells whether the window came. A modal window that
// was already open when it was created is not the one it waits for.
class ModalAntwort final {
public:
    explicit ModalAntwort(std::function<void(QWidget*)> aktion)
        : aktion_(std::move(aktion)), vorher_(QApplication::activeModalWidget()) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal == vorher_ || erledigt_) return;
            timer_.stop();
            erledigt_ = true;
            aktion_(modal);
        });
        timer_.start();
    }
    ModalAntwort(const ModalAntwort&) = delete;
    ModalAntwort& operator=(const ModalAntwort&) = delete;

    bool erledigt() const { return erledigt_; }

private:
    std::function<void(QWidget*)> aktion_;
    QPointer<QWidget> vorher_;
    QTimer timer_;
    bool erledigt_ = false;
};

}  // namespace lw::test
