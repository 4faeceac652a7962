#pragma once

#include <QString>
#include <functional>

// Each figure is measured by one function and printed as "name: value unit".
struct BenchFigure {
    QString name;
    QString unit;
    std::function<double()> measure;
};

int RegisterBenchFigure(BenchFigure figure);

// Milliseconds of one call of `work`.
double ElapsedMs(const std::function<void()> &work);
// Median milliseconds over `runs` calls of `work`.
double MedianMs(int runs, const std::function<void()> &work);

#define PELLOR3_BENCH_FIGURE(function, name, unit)                                                 \
    static double function();                                                                      \
    [[maybe_unused]] static const int function##Registered =                                       \
        RegisterBenchFigure({QStringLiteral(name), QStringLiteral(unit), function});               \
    static double function()
