#include "app/Programmfenster.h"

Programmfenster::Programmfenster(lw::Projektdaten& daten, TForm1::Aufbau aufbau) {
    form2 = std::make_unique<TForm2>(daten, fenster);
    fenster.Form2 = form2.get();
    form1 = std::make_unique<TForm1>(daten, fenster, aufbau);
    fenster.Form1 = form1.get();
    form3 = std::make_unique<TForm3>(daten, fenster);
    fenster.Form3 = form3.get();
    status = std::make_unique<Tfrm_Status>();
    fenster.frm_Status = status.get();
    buttonGroesse = std::make_unique<Tfrm_ButtonGroesse>(daten);
    fenster.frm_ButtonGroesse = buttonGroesse.get();
    form4 = std::make_unique<TForm4>();
    fenster.Form4 = form4.get();
    linkAnzahl = std::make_unique<Tfrm_LinkAnzahl>(daten);
    fenster.frm_LinkAnzahl = linkAnzahl.get();
}
