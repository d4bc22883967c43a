#pragma once

class QWidget;
class TForm1;
class TForm2;
class TForm3;
class TForm4;
class Tfrm_Status;
class Tfrm_ButtonGroesse;
class Tfrm_LinkAnzahl;

// The seven windows, created once at start in this order and living until the
// program ends. Windows reach each other through this table.
struct Fenster {
    TForm2* Form2 = nullptr;
    TForm1* Form1 = nullptr;
    TForm3* Form3 = nullptr;
    Tfrm_Status* frm_Status = nullptr;
    Tfrm_ButtonGroesse* frm_ButtonGroesse = nullptr;
    TForm4* Form4 = nullptr;
    Tfrm_LinkAnzahl* frm_LinkAnzahl = nullptr;
};
