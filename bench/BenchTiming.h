#pragma once

// Timing shared by the benchmark programs: the spread of single runs of an
// operation a user waits for, or the mean of many quick calls.
#include <QElapsedTimer>
#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace BenchTiming {

struct Spread
{
    std::vector<double> milliseconds;

    void print(const QString &what) const
    {
        std::vector<double> sorted = milliseconds;
        std::sort(sorted.begin(), sorted.end());
        const std::size_t middle = sorted.size() / 2;
        const double median = sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
        // Padded as characters, not bytes: the Turkish letters take two.
        std::printf("%s median %9.3f ms   min %9.3f ms   max %9.3f ms   (%zu runs)\n",
                    qPrintable(what.leftJustified(56)), median, sorted.front(), sorted.back(), sorted.size());
    }
};

// Times each run on its own; the run is told its number.
inline Spread timeRuns(int runs, const std::function<void(int)> &run)
{
    Spread spread;
    for (int round = 0; round < runs; ++round) {
        QElapsedTimer timer;
        timer.start();
        run(round);
        spread.milliseconds.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return spread;
}

inline void printSpread(const QString &what, int runs, const std::function<void(int)> &run)
{
    timeRuns(runs, run).print(what);
}

enum class Unit { Nanoseconds, Microseconds };

// For calls too quick to time one by one: the mean over many rounds.
inline void printMeanPerCall(const char *name, int rounds, const std::function<void(int)> &work, Unit unit)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i)
        work(i);
    const std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
    const double perCall = spent.count() / rounds;
    if (unit == Unit::Nanoseconds)
        std::printf("%-44s %10.0f ns per call\n", name, perCall);
    else
        std::printf("%-44s %10.2f us per call\n", name, perCall / 1000);
}

} // namespace BenchTiming
