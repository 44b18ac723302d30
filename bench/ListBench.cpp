// list_bench: the numbered heaps and the lists against the C and C++ standard libraries, over the
// same data in the same run:
//  - MemHeapAlloc and MemHeapFree of mixed sizes against malloc and free (goal: at most 1.5 times
//    the time);
//  - ListReadFromFile of a 100 MB text file against std::getline into a std::list<std::string>
//    (goal: no slower), with wc -l over the same file as the floor for anything that reads every
//    line;
//  - ListInsert of a million strings against std::list<std::string>::push_back (reported).
// The ratios of processor time (the benchmark thread's; for wc -l the child's, as the kernel
// reports it) are printed after the table. The text file is written into the build folder's tmp
// folder (BWCORE_BENCH_TMP_DIR) at every run.
#include <bwcore/bwcore.h>
#include <bwcore/runtime/List.h>
#include <bwcore/runtime/ListStorage.h>
#include <bwcore/runtime/MemHeap.h>

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <list>
#include <memory>
#include <random>
#include <string>
#include <vector>

extern char** environ;

namespace {

const size_t kTextBytes = 100u << 20;
const size_t kBlocks = 4096;
const size_t kStrings = 1000000;

std::string g_textPath;

// Sizes as lists and tables ask for them: mostly short strings and records, some buffers of a
// few kilobytes. Frees come in an order of their own.
struct MixedSizes {
    std::vector<uint32_t> sizes;
    std::vector<size_t> freeOrder;
};

const MixedSizes& Mixed() {
    static const MixedSizes mixed = [] {
        MixedSizes m;
        std::mt19937 random(42);
        for (size_t i = 0; i < kBlocks; ++i) {
            const unsigned kind = random() % 100;
            if (kind < 70)
                m.sizes.push_back(8 + random() % 120);
            else if (kind < 95)
                m.sizes.push_back(128 + random() % 1920);
            else
                m.sizes.push_back(2048 + random() % 14336);
            m.freeOrder.push_back(i);
        }
        std::shuffle(m.freeOrder.begin(), m.freeOrder.end(), random);
        return m;
    }();
    return mixed;
}

void BM_MemHeapAllocFree(benchmark::State& state) {
    const MixedSizes& mixed = Mixed();
    // As the shared list heap is made, without its zero-filling (malloc does not clear either).
    const int32_t heap = MemHeapCreate(65000, MEMHEAP_EXTENSIBLE);
    std::vector<char*> blocks(kBlocks);
    for (auto _ : state) {
        for (size_t i = 0; i < kBlocks; ++i) {
            blocks[i] = static_cast<char*>(MemHeapAlloc(heap, mixed.sizes[i]));
            blocks[i][0] = 1;
        }
        for (size_t i : mixed.freeOrder)
            MemHeapFree(heap, blocks[i]);
    }
    MemHeapDestroy(heap);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBlocks));
}

void BM_MallocFree(benchmark::State& state) {
    const MixedSizes& mixed = Mixed();
    std::vector<char*> blocks(kBlocks);
    for (auto _ : state) {
        for (size_t i = 0; i < kBlocks; ++i) {
            blocks[i] = static_cast<char*>(malloc(mixed.sizes[i]));
            blocks[i][0] = 1;
        }
        for (size_t i : mixed.freeOrder)
            free(blocks[i]);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBlocks));
}

// Lines of 0 to 160 bytes, ended by CR LF.
void WriteText(const std::string& path) {
    std::mt19937 random(7);
    std::string text;
    text.reserve(kTextBytes + 200);
    while (text.size() < kTextBytes) {
        const size_t length = random() % 161;
        for (size_t i = 0; i < length; ++i)
            text += static_cast<char>('a' + random() % 26);
        text += "\r\n";
    }
    std::ofstream(path, std::ios::binary).write(text.data(), std::streamsize(text.size()));
}

void BM_WcLines(benchmark::State& state) {
    for (auto _ : state) {
        const double seconds = RunQuietly({"wc", "-l", g_textPath});
        if (seconds < 0) {
            state.SkipWithError("cannot run wc");
            return;
        }
        state.SetIterationTime(seconds);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kTextBytes));
}

// Reading only is timed, in both: the lists are destroyed with the clock stopped.
void BM_ListReadFromFile(benchmark::State& state) {
    uint32_t lines = 0;
    for (auto _ : state) {
        HLIST list = ListCreate(0);
        if (ListReadFromFile(list, g_textPath.c_str()) != 1) {
            state.SkipWithError("cannot read the text");
            return;
        }
        state.PauseTiming();
        lines = ListCount(list);
        ListDestroy(list);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kTextBytes));
    state.counters["lines"] = lines;
}

void BM_GetlineStdList(benchmark::State& state) {
    size_t lines = 0;
    for (auto _ : state) {
        std::ifstream in(g_textPath, std::ios::binary);
        auto list = std::make_unique<std::list<std::string>>();
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            list->push_back(line);
        }
        state.PauseTiming();
        lines = list->size();
        list.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kTextBytes));
    state.counters["lines"] = static_cast<double>(lines);
}

const std::vector<std::string>& Strings() {
    static const std::vector<std::string> strings = [] {
        std::vector<std::string> s;
        std::mt19937 random(11);
        for (size_t i = 0; i < kStrings; ++i)
            s.push_back(std::string(random() % 40, 'x') + std::to_string(i));
        return s;
    }();
    return strings;
}

void BM_ListInsert(benchmark::State& state) {
    const std::vector<std::string>& strings = Strings();
    for (auto _ : state) {
        HLIST list = ListCreate(0);
        for (const std::string& s : strings)
            ListInsert(list, s.c_str());
        state.PauseTiming();
        ListDestroy(list);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kStrings));
}

void BM_StdListPushBack(benchmark::State& state) {
    const std::vector<std::string>& strings = Strings();
    for (auto _ : state) {
        auto list = std::make_unique<std::list<std::string>>();
        for (const std::string& s : strings)
            list->push_back(s.c_str());
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kStrings));
}

BENCHMARK(BM_MemHeapAllocFree)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MallocFree)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WcLines)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_ListReadFromFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetlineStdList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListInsert)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdListPushBack)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    mkdir(BWCORE_BENCH_TMP_DIR, 0755);
    g_textPath = std::string(BWCORE_BENCH_TMP_DIR) + "/list_bench.txt";
    WriteText(g_textPath);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printf("\nratios of processor time:\n");
    reporter.PrintRatio("BM_MemHeapAllocFree", "BM_MallocFree", 1.5);
    reporter.PrintRatio("BM_ListReadFromFile", "BM_GetlineStdList", 1.0);
    reporter.PrintRatio("BM_ListReadFromFile", "BM_WcLines/manual_time", 0);
    reporter.PrintRatio("BM_GetlineStdList", "BM_WcLines/manual_time", 0);
    reporter.PrintRatio("BM_ListInsert", "BM_StdListPushBack", 0);
    remove(g_textPath.c_str());
    benchmark::Shutdown();
    return 0;
}
