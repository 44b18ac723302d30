#include <bwcore/runtime/Encrypt.h>

#include <bwcore/runtime/MemHeap.h>

#include <stdlib.h>
#include <string.h>

// The data scheme reads its words with memcpy in the host's order.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "the data scheme needs a little-endian host");

namespace {

// The byte scheme adds the position modulo this period.
const uint32_t kBytePeriod = 71;
// Bytes are processed in runs of a whole number of periods, so that every run starts at the same
// phase and reads its position terms from one table: kByteTerms.v[phase + i] = (phase + i) % 71.
const uint32_t kByteRun = kBytePeriod * 64;

struct ByteTerms {
    uint8_t v[kByteRun + kBytePeriod];
};

constexpr ByteTerms makeByteTerms() {
    ByteTerms t{};
    for (uint32_t i = 0; i < kByteRun + kBytePeriod; ++i)
        t.v[i] = static_cast<uint8_t>(i % kBytePeriod);
    return t;
}

constexpr ByteTerms kByteTerms = makeByteTerms();

// The data scheme adds (7 * (i + 1)) mod 191 to word i; a run of a whole number of periods
// (and of SIMD widths) starts again at term 0.
const uint32_t kWordPeriod = 191;
const uint32_t kWordRun = kWordPeriod * 16;

struct WordTerms {
    uint32_t v[kWordRun];
};

constexpr WordTerms makeWordTerms() {
    WordTerms t{};
    for (uint32_t i = 0; i < kWordRun; ++i)
        t.v[i] = (7 * (i + 1)) % kWordPeriod;
    return t;
}

constexpr WordTerms kWordTerms = makeWordTerms();

inline uint8_t encodeByte(uint8_t b, uint8_t term, uint8_t key) {
    const uint8_t sum = static_cast<uint8_t>(b + term);
    return static_cast<uint8_t>(((sum << 2) | (sum >> 6)) ^ key);
}

inline uint8_t decodeByte(uint8_t b, uint8_t term, uint8_t key) {
    const uint8_t x = static_cast<uint8_t>(b ^ key);
    return static_cast<uint8_t>(((x >> 2) | (x << 6)) - term);
}

inline uint32_t loadWord(const uint8_t* p) {
    uint32_t w;
    memcpy(&w, p, 4);
    return w;
}

inline void storeWord(uint8_t* p, uint32_t w) {
    memcpy(p, &w, 4);
}

// The loops below are plain enough for the compiler to vectorise. They are compiled for the
// baseline processor and again for AVX2 and AVX-512 (the kernels further down), and the widest
// one the processor supports is used, so that scrambling runs near the speed of a memory copy.

// The byte scheme over `length` bytes whose first one is at a position with term `phase`.
__attribute__((always_inline)) inline void scrambleBytes(uint8_t* data, uint32_t length,
                                                         uint32_t phase, uint8_t key, bool encode) {
    const uint8_t* terms = kByteTerms.v + phase;
    for (uint32_t done = 0; done < length; done += kByteRun) {
        const uint32_t count = length - done < kByteRun ? length - done : kByteRun;
        uint8_t* run = data + done;
        if (encode) {
            for (uint32_t i = 0; i < count; ++i)
                run[i] = encodeByte(run[i], terms[i], key);
        } else {
            for (uint32_t i = 0; i < count; ++i)
                run[i] = decodeByte(run[i], terms[i], key);
        }
    }
}

// The data scheme's words: word i gets delta + (7 * (i + 1)) mod 191 added or subtracted.
__attribute__((always_inline)) inline void scrambleWords(uint8_t* bytes, uint32_t words,
                                                         uint32_t delta, bool encode) {
    for (uint32_t done = 0; done < words; done += kWordRun) {
        const uint32_t count = words - done < kWordRun ? words - done : kWordRun;
        uint8_t* run = bytes + 4 * done;
        if (encode) {
            for (uint32_t i = 0; i < count; ++i)
                storeWord(run + 4 * i, loadWord(run + 4 * i) + delta + kWordTerms.v[i]);
        } else {
            for (uint32_t i = 0; i < count; ++i)
                storeWord(run + 4 * i, loadWord(run + 4 * i) - delta - kWordTerms.v[i]);
        }
    }
}

using BytesKernel = void (*)(uint8_t*, uint32_t, uint32_t, uint8_t, bool);
using WordsKernel = void (*)(uint8_t*, uint32_t, uint32_t, bool);

void bytesBaseline(uint8_t* data, uint32_t length, uint32_t phase, uint8_t key, bool encode) {
    scrambleBytes(data, length, phase, key, encode);
}

__attribute__((target("avx2"))) void bytesAvx2(uint8_t* data, uint32_t length, uint32_t phase,
                                               uint8_t key, bool encode) {
    scrambleBytes(data, length, phase, key, encode);
}

__attribute__((target("avx512bw"))) void bytesAvx512(uint8_t* data, uint32_t length, uint32_t phase,
                                                     uint8_t key, bool encode) {
    scrambleBytes(data, length, phase, key, encode);
}

void wordsBaseline(uint8_t* bytes, uint32_t words, uint32_t delta, bool encode) {
    scrambleWords(bytes, words, delta, encode);
}

__attribute__((target("avx2"))) void wordsAvx2(uint8_t* bytes, uint32_t words, uint32_t delta,
                                               bool encode) {
    scrambleWords(bytes, words, delta, encode);
}

__attribute__((target("avx512bw"))) void wordsAvx512(uint8_t* bytes, uint32_t words, uint32_t delta,
                                                     bool encode) {
    scrambleWords(bytes, words, delta, encode);
}

struct Kernels {
    BytesKernel bytes;
    WordsKernel words;
};

Kernels chooseKernels() {
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512bw"))
        return {bytesAvx512, wordsAvx512};
    if (__builtin_cpu_supports("avx2"))
        return {bytesAvx2, wordsAvx2};
    return {bytesBaseline, wordsBaseline};
}

const Kernels& kernels() {
    static const Kernels chosen = chooseKernels();
    return chosen;
}

// The byte scheme over `first`, whose byte 0 is at the handle's current position.
int32_t processBytes(HENCRYPT handle, uint8_t* first, uint32_t length, uint8_t key, bool encode) {
    kernels().bytes(first, length, handle->nPos % kBytePeriod, key, encode);
    handle->nPos += length;
    return 0;
}

// A call is skipped when it has nothing to do or would run the position past 32 bits. Only a call
// that is not skipped needs its buffer: a null one gives the failure value then.
bool skipsCall(const ENCRYPTREC* handle, uint32_t length) {
    return length == 0 || static_cast<uint64_t>(handle->nPos) + length > UINT32_MAX;
}

int32_t processStream(HENCRYPT handle, void* stream, uint32_t length, uint8_t key, bool encode) {
    if (handle == nullptr)
        return -1;
    if (skipsCall(handle, length))
        return 0;
    if (stream == nullptr)
        return -1;
    return processBytes(handle, static_cast<uint8_t*>(stream) + handle->nPos, length, key, encode);
}

int32_t processBuffer(HENCRYPT handle, void* buffer, uint32_t length, uint8_t key, bool encode) {
    if (handle == nullptr)
        return -1;
    if (skipsCall(handle, length))
        return 0;
    if (buffer == nullptr)
        return -1;
    return processBytes(handle, static_cast<uint8_t*>(buffer), length, key, encode);
}

void processData(void* data, uint32_t length, uint32_t key, bool encode) {
    if (data == nullptr)
        return;
    uint8_t* bytes = static_cast<uint8_t*>(data);
    const uint32_t n = length < ENCRYPT_DATA_MAX ? length : ENCRYPT_DATA_MAX;
    kernels().words(bytes, n / 4, key + ENCRYPT_WORD_SALT, encode);
    // The bytes after the last whole word take the key's bytes from the end backwards.
    for (uint32_t j = 0; j < n % 4; ++j) {
        const uint8_t k = static_cast<uint8_t>(key >> (8 * j));
        uint8_t& b = bytes[n - 1 - j];
        b = static_cast<uint8_t>(encode ? b + k : b - k);
    }
}

} // namespace

HENCRYPT EncryptCreate(int32_t heapId) {
    if (heapId == 0)
        return nullptr;
    HENCRYPT handle = static_cast<HENCRYPT>(MemHeapAlloc(heapId, sizeof(ENCRYPTREC)));
    if (handle == nullptr)
        return nullptr;
    handle->nHeap = heapId;
    handle->nPos = 0;
    return handle;
}

HENCRYPT EncryptCreateEx(void) {
    HENCRYPT handle = static_cast<HENCRYPT>(malloc(sizeof(ENCRYPTREC)));
    if (handle == nullptr)
        return nullptr;
    handle->nHeap = 0;
    handle->nPos = 0;
    return handle;
}

void EncryptDestroy(HENCRYPT handle) {
    if (handle == nullptr)
        return;
    if (handle->nHeap != 0)
        MemHeapFree(handle->nHeap, handle);
    else
        free(handle);
}

int32_t EncryptByteEncode(HENCRYPT handle, void* stream, uint32_t length, uint8_t key) {
    return processStream(handle, stream, length, key, true);
}

int32_t EncryptByteDecode(HENCRYPT handle, void* stream, uint32_t length, uint8_t key) {
    return processStream(handle, stream, length, key, false);
}

int32_t EncryptByteEncodeEx(HENCRYPT handle, void* buffer, uint32_t length, uint8_t key) {
    return processBuffer(handle, buffer, length, key, true);
}

int32_t EncryptByteDecodeEx(HENCRYPT handle, void* buffer, uint32_t length, uint8_t key) {
    return processBuffer(handle, buffer, length, key, false);
}

int32_t EncryptEncodeData(void* data, uint32_t length, uint32_t key) {
    processData(data, length, key, true);
    return 0;
}

int32_t EncryptDecodeData(void* data, uint32_t length, uint32_t key) {
    processData(data, length, key, false);
    return 0;
}
