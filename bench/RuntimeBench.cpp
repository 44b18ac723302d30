// runtime_bench: the data scrambling and the hash links against the standard library doing the
// same amount of work, timed in the same run:
//  - EncryptEncodeData and EncryptByteEncodeEx over a buffer, against memcpy of a buffer of the
//    same size: the goals are at most 2 and 3 times the time of memcpy;
//  - HashLinkAdd and HashLinkQuery of a set of identifiers, against std::unordered_map. The hash
//    links' hash (a sum of bytes) is fixed by their interface, so these ratios are reported only.
// The ratios are printed after the table.
#include <bwcore/runtime/Encrypt.h>
#include <bwcore/runtime/HashLink.h>

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace {

// The data scheme's largest block, and a larger stream for the byte scheme.
const int64_t kBlock = ENCRYPT_DATA_MAX;
const int64_t kStream = 1 << 20;

std::vector<uint8_t> filler(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(i * 131 + 7);
    return bytes;
}

void BM_Memcpy(benchmark::State& state) {
    const size_t size = static_cast<size_t>(state.range(0));
    const std::vector<uint8_t> source = filler(size);
    std::vector<uint8_t> target(size);
    for (auto _ : state) {
        memcpy(target.data(), source.data(), size);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_EncryptEncodeData(benchmark::State& state) {
    std::vector<uint8_t> data = filler(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        EncryptEncodeData(data.data(), static_cast<uint32_t>(data.size()), 0x12345678u);
        benchmark::DoNotOptimize(data.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_EncryptByteEncodeEx(benchmark::State& state) {
    std::vector<uint8_t> data = filler(static_cast<size_t>(state.range(0)));
    HENCRYPT handle = EncryptCreateEx();
    for (auto _ : state) {
        // Rewound every time, so that the 32-bit position never runs out.
        handle->nPos = 0;
        EncryptByteEncodeEx(handle, data.data(), static_cast<uint32_t>(data.size()), 0xA5);
        benchmark::DoNotOptimize(data.data());
        benchmark::ClobberMemory();
    }
    EncryptDestroy(handle);
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_Memcpy)->Arg(kBlock)->Arg(kStream);
BENCHMARK(BM_EncryptEncodeData)->Arg(kBlock);
BENCHMARK(BM_EncryptByteEncodeEx)->Arg(kBlock)->Arg(kStream);

// Identifiers as a script index holds them: mixed case, digits, a few lengths.
std::vector<std::string> makeKeys(size_t count) {
    static const char* const kStems[] = {"Get", "Set", "Init", "Copy", "File", "Dlg", "Reg", "On"};
    static const char* const kNouns[] = {"Path", "Value", "Component", "Feature", "Dir", "Key"};
    std::vector<std::string> keys;
    for (size_t i = 0; i < count; ++i) {
        keys.push_back(std::string(kStems[i % 8]) + kNouns[(i / 8) % 6] + std::to_string(i));
    }
    return keys;
}

const size_t kKeyCount = 10000;
const uint16_t kBuckets = 4093;

void BM_HashLinkAdd(benchmark::State& state) {
    const std::vector<std::string> keys = makeKeys(kKeyCount);
    std::vector<HASHLINK*> buckets(kBuckets);
    for (auto _ : state) {
        std::fill(buckets.begin(), buckets.end(), nullptr);
        for (size_t i = 0; i < keys.size(); ++i)
            HashLinkAdd(buckets.data(), kBuckets, keys[i].c_str(), i + 1);
        HashLinkDestroy(buckets.data(), kBuckets);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(keys.size()));
}

void BM_UnorderedMapInsert(benchmark::State& state) {
    const std::vector<std::string> keys = makeKeys(kKeyCount);
    for (auto _ : state) {
        std::unordered_map<std::string, uintptr_t> map;
        map.reserve(kBuckets);
        for (size_t i = 0; i < keys.size(); ++i)
            map.emplace(keys[i], i + 1);
        benchmark::DoNotOptimize(map);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(keys.size()));
}

void BM_HashLinkQuery(benchmark::State& state) {
    const std::vector<std::string> keys = makeKeys(kKeyCount);
    std::vector<HASHLINK*> buckets(kBuckets);
    for (size_t i = 0; i < keys.size(); ++i)
        HashLinkAdd(buckets.data(), kBuckets, keys[i].c_str(), i + 1);
    for (auto _ : state) {
        uintptr_t sum = 0;
        for (const std::string& key : keys)
            sum += HashLinkQuery(buckets.data(), kBuckets, key.c_str());
        benchmark::DoNotOptimize(sum);
    }
    HashLinkDestroy(buckets.data(), kBuckets);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(keys.size()));
}

void BM_UnorderedMapFind(benchmark::State& state) {
    const std::vector<std::string> keys = makeKeys(kKeyCount);
    std::unordered_map<std::string, uintptr_t> map;
    for (size_t i = 0; i < keys.size(); ++i)
        map.emplace(keys[i], i + 1);
    for (auto _ : state) {
        uintptr_t sum = 0;
        for (const std::string& key : keys)
            sum += map.find(key)->second;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(keys.size()));
}

BENCHMARK(BM_HashLinkAdd)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UnorderedMapInsert)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HashLinkQuery)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UnorderedMapFind)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printf("\nratios of processor time:\n");
    reporter.PrintRatio("BM_EncryptEncodeData/65000", "BM_Memcpy/65000", 2.0);
    reporter.PrintRatio("BM_EncryptByteEncodeEx/65000", "BM_Memcpy/65000", 3.0);
    reporter.PrintRatio("BM_EncryptByteEncodeEx/1048576", "BM_Memcpy/1048576", 3.0);
    reporter.PrintRatio("BM_HashLinkAdd", "BM_UnorderedMapInsert", 0);
    reporter.PrintRatio("BM_HashLinkQuery", "BM_UnorderedMapFind", 0);
    benchmark::Shutdown();
    return 0;
}
