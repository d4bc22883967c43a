#include <memory>

#include "app/About.h"
#include "model/Projektdaten.h"
#include "ui/Abbruch.h"
#include "ui/Anwendung.h"
#include "ui/ButtonGroesse.h"
#include "ui/Fenster.h"
#include "ui/Hilfe.h"
#include "ui/LinkZahl.h"
#include "ui/MainForm.h"
#include "ui/Status.h"

int main(int argc, char** argv) {
    Anwendung app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Leistenwerk"));
    // The program ends when the start window closes, and only then.
    QApplication::setQuitOnLastWindowClosed(false);

    lw::Projektdaten daten;
    Fenster fenster;
    // Created once, in this order; they reach each other through fenster.
    auto form2 = std::make_unique<TForm2>(daten, fenster);
    fenster.Form2 = form2.get();
    auto form1 = std::make_unique<TForm1>(daten, fenster);
    fenster.Form1 = form1.get();
    auto form3 = std::make_unique<TForm3>(daten, fenster);
    fenster.Form3 = form3.get();
    auto status = std::make_unique<Tfrm_Status>();
    fenster.frm_Status = status.get();
    auto buttonGroesse = std::make_unique<Tfrm_ButtonGroesse>(daten);
    fenster.frm_ButtonGroesse = buttonGroesse.get();
    auto form4 = std::make_unique<TForm4>();
    fenster.Form4 = form4.get();
    auto linkAnzahl = std::make_unique<Tfrm_LinkAnzahl>(daten);
    fenster.frm_LinkAnzahl = linkAnzahl.get();

    form2->show();
    return QApplication::exec();
}
