// script_bench: throughput of the script analysis over a generated corpus of 20 MB and more,
// against two baselines run in the same process over the same file:
//  - wc -l, which only counts line ends: the floor for anything that reads every line;
//  - Universal Ctags indexing the file as Pascal, a general-purpose indexer of similar grammar.
// The goals: tokenizing alone within 8 times the time of wc -l, and a whole ParseFile within a
// third of the time of ctags. The ratios are printed after the table.
//
// The ratios compare processor time (user and system), which other load on the machine leaves
// alone: the baselines' time is what the kernel reports for the child process (the Time column
// of their rows), ours the benchmark thread's (the CPU column). The corpus is written into this
// program's build folder (BWCORE_BENCH_DIR) at every run.
#include "ScriptCorpus.h"

#include <bwcore/bwcore.h>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <map>
#include <memory>
#include <spawn.h>
#include <stdio.h>
#include <string>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

const size_t kCorpusBytes = 20u << 20;

std::string g_corpusPath;
size_t g_corpusSize = 0;

// Runs the program with its output thrown away and returns the processor time that it took, in
// seconds; -1 when it could not run or failed.
double runQuietly(const std::vector<std::string>& command) {
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

void runBaseline(benchmark::State& state, const std::vector<std::string>& command) {
    for (auto _ : state) {
        const double seconds = runQuietly(command);
        if (seconds < 0) {
            state.SkipWithError(("cannot run " + command[0]).c_str());
            return;
        }
        state.SetIterationTime(seconds);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_corpusSize));
}

void BM_WcLines(benchmark::State& state) {
    runBaseline(state, {"wc", "-l", g_corpusPath});
}

void BM_CtagsPascal(benchmark::State& state) {
    runBaseline(state, {"ctags", "--language-force=Pascal", "-x", g_corpusPath});
}

void BM_TokenizerFetch(benchmark::State& state) {
    int64_t tokens = 0;
    for (auto _ : state) {
        CCodeFileStream stream(g_corpusPath.c_str());
        if (!stream.OpenFile()) {
            state.SkipWithError("cannot open the corpus");
            return;
        }
        CTokenizer tokenizer(&stream, true);
        while (tokenizer.Fetch() != eTokEndOfFile)
            ++tokens;
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_corpusSize));
    state.counters["tokens"] =
        benchmark::Counter(static_cast<double>(tokens) / static_cast<double>(state.iterations()));
}

// Only ParseFile is timed: building a fresh browser and stream, and destroying the index
// afterwards, happen with the clock stopped.
void BM_ScriptBrowserParseFile(benchmark::State& state) {
    int functions = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto browser = std::make_unique<CScriptBrowser>();
        auto stream = std::make_unique<CCodeFileStream>(g_corpusPath.c_str());
        if (!stream->OpenFile()) {
            state.SkipWithError("cannot open the corpus");
            return;
        }
        state.ResumeTiming();
        browser->ParseFile(stream.get());
        state.PauseTiming();
        functions = browser->GetEndLineArraySize();
        browser.reset();
        stream.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_corpusSize));
    state.counters["functions"] = functions;
}

// A child's processor time is only known after it ended: the baselines time themselves.
BENCHMARK(BM_WcLines)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_CtagsPascal)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_TokenizerFetch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScriptBrowserParseFile)->Unit(benchmark::kMillisecond);

// The console table as usual, and the processor time per iteration of each benchmark kept for
// the ratios: the least disturbed of its runs when repetitions are asked for, or the mean when
// only aggregates are reported.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    explicit RatioReporter(OutputOptions options) : ConsoleReporter(options) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations == 0)
                continue;
            const bool mean = run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean";
            if (run.run_type != Run::RT_Iteration && !mean)
                continue;
            // Manual time is the children's processor time; otherwise the thread's.
            const double total = run.run_name.time_type == "manual_time" ? run.real_accumulated_time
                                                                         : run.cpu_accumulated_time;
            const double seconds = total / static_cast<double>(run.iterations);
            const std::string name = run.run_name.function_name;
            std::map<std::string, double>& kept = mean ? m_means : m_best;
            const auto found = kept.find(name);
            if (found == kept.end() || seconds < found->second)
                kept[name] = seconds;
        }
    }

    void PrintRatio(const char* label, const char* measured, const char* baseline,
                    double target) const {
        double m = 0;
        double b = 0;
        if (!seconds(measured, m) || !seconds(baseline, b))
            return;
        const double ratio = m / b;
        printf("  %-26s %7.3f   (goal <= %.3f)  %s\n", label, ratio, target,
               ratio <= target ? "met" : "NOT MET");
    }

private:
    bool seconds(const std::string& name, double& value) const {
        for (const auto* kept : {&m_best, &m_means}) {
            const auto found = kept->find(name);
            if (found != kept->end()) {
                value = found->second;
                return true;
            }
        }
        return false;
    }

    std::map<std::string, double> m_best;
    std::map<std::string, double> m_means;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    g_corpusPath = std::string(BWCORE_BENCH_DIR) + "/script_corpus.bws";
    g_corpusSize = writeScriptCorpus(g_corpusPath, kCorpusBytes);
    if (g_corpusSize == 0) {
        fprintf(stderr, "script_bench: cannot write the corpus %s\n", g_corpusPath.c_str());
        return 1;
    }
    printf("corpus: %s, %.1f MB\n", g_corpusPath.c_str(),
           static_cast<double>(g_corpusSize) / (1 << 20));
    // Read once so that every contender finds the file in the page cache.
    runQuietly({"wc", "-l", g_corpusPath});

    // Colours only for a terminal, as the library's own reporter does by default.
    RatioReporter reporter(isatty(fileno(stdout)) ? benchmark::ConsoleReporter::OO_ColorTabular
                                                  : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    printf("\nratios of processor time per pass over the same file:\n");
    reporter.PrintRatio("Fetch / wc -l", "BM_TokenizerFetch", "BM_WcLines", 8.0);
    reporter.PrintRatio("ParseFile / ctags", "BM_ScriptBrowserParseFile", "BM_CtagsPascal",
                        1.0 / 3.0);
    return 0;
}
