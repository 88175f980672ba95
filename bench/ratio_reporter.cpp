#include "ratio_reporter.h"

#include <cstdio>

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.run_type == Run::RT_Iteration) {
            nanoseconds_[run.benchmark_name()] = run.GetAdjustedCPUTime();
        }
    }
}

void RatioReporter::PrintRatios() const {
    std::printf("\nCPU time, ours / pixman OVER of the same size (below 1: ours is faster)\n");
    for (const auto& [name, ours] : nanoseconds_) {
        if (name.rfind("Ours/", 0) != 0) {
            continue;
        }
        std::string pixmanName = "Pixman/" + name.substr(5);
        auto pixman = nanoseconds_.find(pixmanName);
        if (pixman != nanoseconds_.end() && pixman->second > 0) {
            std::printf("  %-28s %6.2f\n", name.substr(5).c_str(), ours / pixman->second);
        }
    }
}
