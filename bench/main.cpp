#include "Bench.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {
std::vector<BenchFigure> &Figures() {
    static std::vector<BenchFigure> figures;
    return figures;
}
} // namespace

int RegisterBenchFigure(BenchFigure figure) {
    Figures().push_back(std::move(figure));
    return static_cast<int>(Figures().size());
}

double ElapsedMs(const std::function<void()> &work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

double MedianMs(int runs, const std::function<void()> &work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(ElapsedMs(work));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Usage: pellor3-bench [name-filter]; prints one line per figure.
int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const QString filter = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    for (const BenchFigure &figure : Figures()) {
        if (!filter.isEmpty() && !figure.name.contains(filter))
            continue;
        const double value = figure.measure();
        if (std::isnan(value))
            std::printf("%s: not measured (PELLOR3_TEST_SERVER is not set)\n",
                        qPrintable(figure.name));
        else
            std::printf("%s: %.2f %s\n", qPrintable(figure.name), value, qPrintable(figure.unit));
        std::fflush(stdout);
    }
    return 0;
}
