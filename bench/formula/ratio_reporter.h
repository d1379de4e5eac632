#pragma once
// A console reporter that also prints, after the table, the ratio of each measured benchmark to
// its yardstick in the same run: "BM_X/name" against "BM_Y/name" (a "/real_time" suffix aside),
// and for each measured family the geometric mean of its ratios. With
// repetitions, each side's fastest repetition counts: on a shared machine the slower ones
// measure the neighbours.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

class TRatioReporter : public benchmark::ConsoleReporter {
public:
    TRatioReporter(std::vector<std::string> measured, std::string yardstick)
        : Measured(std::move(measured)), Yardstick(std::move(yardstick)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            // Single runs, or the "min" statistic of repetitions (see `Fastest`).
            const bool single = run.run_type == Run::RT_Iteration && run.iterations > 0;
            const bool fastest = run.run_type == Run::RT_Aggregate && run.aggregate_name == "min";
            if ((single || fastest) && !run.error_occurred) {
                std::string name = run.run_name.str();
                const std::string suffix = "/real_time";
                if (name.size() > suffix.size() &&
                    name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
                    name.resize(name.size() - suffix.size());
                }
                const double time = run.GetAdjustedRealTime();
                const auto known = Seconds.find(name);
                if (known == Seconds.end() || time < known->second) {
                    Seconds[name] = time;
                }
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const std::string& measured : Measured) {
            double logSum = 0;
            int pairs = 0;
            for (const auto& [name, time] : Seconds) {
                if (name.rfind(measured + "/", 0) != 0) {
                    continue;
                }
                const auto other = Seconds.find(Yardstick + name.substr(measured.size()));
                if (other == Seconds.end() || other->second <= 0) {
                    continue;
                }
                const double ratio = time / other->second;
                std::printf("%-36s %9.3f x %s\n", name.c_str(), ratio, Yardstick.c_str());
                logSum += std::log(ratio);
                ++pairs;
            }
            if (pairs > 0) {
                std::printf("%s: geometric mean of %d ratios: %.3f\n", measured.c_str(), pairs,
                            std::exp(logSum / pairs));
            }
        }
    }

    /// The statistic that keeps the fastest repetition: ->ComputeStatistics("min", Fastest).
    static double Fastest(const std::vector<double>& values) {
        double least = values.empty() ? 0 : values.front();
        for (const double v : values) {
            least = v < least ? v : least;
        }
        return least;
    }

private:
    std::vector<std::string> Measured;
    std::string Yardstick;
    std::map<std::string, double> Seconds; // real time, in the runs' own unit
};
