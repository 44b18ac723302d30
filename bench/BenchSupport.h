// What the benchmark programs share: timing a baseline program run as a child process, and a
// reporter that keeps each benchmark's time for the ratios printed after the run.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// Runs the program with its output thrown away and returns the processor time it took (user and
// system), in seconds; -1 when it could not run or failed.
double RunQuietly(const std::vector<std::string>& command);

// The console table as usual, and each benchmark's processor time per iteration kept under its
// full name (arguments and "/manual_time" included): the least disturbed of its runs, or the mean
// when only aggregates are reported. Manual time is taken to be a child's processor time.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter();

    void ReportRuns(const std::vector<Run>& runs) override;

    // Prints measured / baseline, and whether it meets the goal; a goal of 0 reports only.
    void PrintRatio(const char* measured, const char* baseline, double goal) const;

private:
    bool Seconds(const std::string& name, double& value) const;

    std::map<std::string, double> m_best;
    std::map<std::string, double> m_means;
};
