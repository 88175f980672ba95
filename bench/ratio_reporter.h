// Console output plus, at the end, the time of each of our benchmarks as a
// ratio of its pixman counterpart: "Ours/X" against "Pixman/X".
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    void PrintRatios() const;

private:
    std::map<std::string, double> nanoseconds_;
};
