#pragma once

#include <memory>

#include "app/About.h"
#include "model/Projektdaten.h"
#include "ui/Abbruch.h"
#include "ui/ButtonGroesse.h"
#include "ui/Fenster.h"
#include "ui/Hilfe.h"
#include "ui/LinkZahl.h"
#include "ui/MainForm.h"
#include "ui/Status.h"

// The seven windows of the program, created once in the order of its start
// and living until it ends. They reach each other through fenster.
struct Programmfenster final {
    Programmfenster(lw::Projektdaten& daten, TForm1::Aufbau aufbau);

    Fenster fenster;
    std::unique_ptr<TForm2> form2;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm3> form3;
    std::unique_ptr<Tfrm_Status> status;
    std::unique_ptr<Tfrm_ButtonGroesse> buttonGroesse;
    std::unique_ptr<TForm4> form4;
    std::unique_ptr<Tfrm_LinkAnzahl> linkAnzahl;
};
