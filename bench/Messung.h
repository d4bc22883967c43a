#pragma once

#include <sys/resource.h>

#include <functional>
#include <string>
#include <vector>

// What the benchmark programs share: the clock, medians, other programs run
// as child processes, and the one-line verdicts.
namespace lw::bench {

// Seconds on the monotonic clock, comparable between processes.
double Jetzt();

// Seconds that schritt took.
double Dauer(const std::function<void()>& schritt);

double Median(std::vector<double> werte);

// User and system time in seconds.
double Rechenzeit(const rusage& verbrauch);
// The processor time this process has used so far, all its threads.
double Rechenzeit();

struct Kind {
    int status = 0;  // as waitpid reports it
    rusage verbrauch{};
    std::string ausgabe;  // what the child wrote to its standard output
};

// Runs a program (searched in PATH) and waits for it. The output is collected
// only when sammeln is set, else it goes to /dev/null like the error output.
Kind Ausfuehren(const std::vector<std::string>& argumente, bool sammeln = false);

// Ausfuehren that throws when the program does not end normally with 0.
Kind AusfuehrenErfolgreich(const std::vector<std::string>& argumente, bool sammeln = false);

struct Paar {
    std::vector<double> eigen;
    std::vector<double> vergleich;
};

// Runs both sides in turns, wiederholungen times each; the side that goes
// first changes every round so that neither profits from the other's warm-up.
// vorbereiten runs untimed before each single run.
Paar Abwechselnd(int wiederholungen, const std::function<void()>& vorbereiten,
                 const std::function<double()>& eigen, const std::function<double()>& vergleich);

// "<name>: <eigen> ms gegen <vergleich> ms, Verhältnis x (Ziel höchstens g): erreicht".
// A ratio up to ziel * (1 + toleranz) counts as reached within the noise and
// says so. Returns whether the goal was reached.
bool Urteil(const std::string& name, double eigen, double vergleich, double ziel,
            const std::string& einheit, double toleranz = 0);

// The median of the pairs' ratios, eigen over vergleich: with pairs measured
// back to back, the machine's drift between pairs cancels out.
double MedianVerhaeltnis(const Paar& paar);

// The same verdict with MedianVerhaeltnis as the ratio.
bool Urteil(const std::string& name, const Paar& paar, double ziel, const std::string& einheit);

// "<name>: <wert> ms (Ziel höchstens <ziel> ms): erreicht", for a measure
// without a reference. Returns whether the goal was reached.
bool Grenze(const std::string& name, double wert, double ziel, const std::string& einheit);

// Repetitions from the first argument, the default without one.
int Wiederholungen(int argc, char** argv, int vorgabe);

}  // namespace lw::bench
