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
// program's build folder (BWCORE_BENCH_DIR) at every run; `script_bench --write-corpus PATH`
// writes it to PATH and does nothing else.
#include "ScriptCorpus.h"

#include <bwcore/bwcore.h>

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <stdio.h>
#include <string>
#include <vector>

extern char** environ;

namespace {

const size_t kCorpusBytes = 20u << 20;

std::string g_corpusPath;
size_t g_corpusSize = 0;

void runBaseline(benchmark::State& state, const std::vector<std::string>& command) {
    for (auto _ : state) {
        const double seconds = RunQuietly(command);
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

} // namespace

int main(int argc, char** argv) {
    // script_bench --write-corpus PATH: only writes the corpus, for the whole-process benchmark.
    if (argc == 3 && std::string(argv[1]) == "--write-corpus")
        return writeScriptCorpus(argv[2], kCorpusBytes) != 0 ? 0 : 1;
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
    RunQuietly({"wc", "-l", g_corpusPath});

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    printf("\nratios of processor time per pass over the same file:\n");
    reporter.PrintRatio("BM_TokenizerFetch", "BM_WcLines/manual_time", 8.0);
    reporter.PrintRatio("BM_ScriptBrowserParseFile", "BM_CtagsPascal/manual_time", 1.0 / 3.0);
    return 0;
}
