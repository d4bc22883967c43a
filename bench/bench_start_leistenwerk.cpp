// The program as it starts, ended as soon as its start window is on the
// screen. Prints the monotonic time of that moment for bench_start.
#include <QCoreApplication>
#include <cstdio>

#include "app/Programm.h"
#include "bench/Messung.h"
#include "ui/Anwendung.h"

int main(int argc, char** argv) {
    Anwendung app(argc, argv);
    return LeistenwerkAusfuehren(app, [] {
        std::printf("%.9f\n", lw::bench::Jetzt());
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
}
