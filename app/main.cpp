#include "app/Programm.h"
#include "ui/Anwendung.h"

int main(int argc, char** argv) {
    Anwendung app(argc, argv);
    return LeistenwerkAusfuehren(app);
}
