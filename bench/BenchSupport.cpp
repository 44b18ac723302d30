#include "BenchSupport.h"

#include <fcntl.h>
#include <spawn.h>
#include <stdio.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

double RunQuietly(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& arg : command)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        return -1;
    int status = 0;
    struct rusage usage = {};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Colours only for a terminal, as the library's own reporter does by default.
RatioReporter::RatioReporter()
    : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred || run.iterations == 0)
            continue;
        const bool mean = run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean";
        if (run.run_type != Run::RT_Iteration && !mean)
            continue;
        const double total = run.run_name.time_type == "manual_time" ? run.real_accumulated_time
                                                                     : run.cpu_accumulated_time;
        const double seconds = total / static_cast<double>(run.iterations);
        const std::string name = mean ? run.run_name.str() : run.benchmark_name();
        std::map<std::string, double>& kept = mean ? m_means : m_best;
        const auto found = kept.find(name);
        if (found == kept.end() || seconds < found->second)
            kept[name] = seconds;
    }
}

void RatioReporter::PrintRatio(const char* measured, const char* baseline, double goal) const {
    double m = 0;
    double b = 0;
    if (!Seconds(measured, m) || !Seconds(baseline, b))
        return;
    const double ratio = m / b;
    printf("  %-34s / %-30s %8.3f", measured, baseline, ratio);
    if (goal > 0)
        printf("   (goal <= %.3f) %s", goal, ratio <= goal ? "met" : "NOT MET");
    printf("\n");
}

bool RatioReporter::Seconds(const std::string& name, double& value) const {
    for (const auto* kept : {&m_best, &m_means}) {
        const auto found = kept->find(name);
        if (found != kept->end()) {
            value = found->second;
            return true;
        }
    }
    return false;
}
