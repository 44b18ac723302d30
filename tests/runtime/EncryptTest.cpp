// Data scrambling: both schemes against a small reimplementation written here from their
// definitions, handle positions, the 32-bit position limit and where handles come from.

#include <bwcore/runtime/Encrypt.h>
#include <bwcore/runtime/MemHeap.h>

#include <gtest/gtest.h>

#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// The byte scheme for one byte at stream position p.
uint8_t ReferenceEncodeByte(uint8_t b, uint64_t p, uint8_t key) {
    const unsigned sum = (b + static_cast<unsigned>(p % 71)) & 0xFF;
    return static_cast<uint8_t>((((sum << 2) | (sum >> 6)) & 0xFF) ^ key);
}

uint8_t ReferenceDecodeByte(uint8_t b, uint64_t p, uint8_t key) {
    const unsigned x = b ^ key;
    return static_cast<uint8_t>((((x >> 2) | (x << 6)) - static_cast<unsigned>(p % 71)) & 0xFF);
}

// The data scheme over a copy, words assembled byte by byte in little-endian order.
Bytes ReferenceData(Bytes data, uint32_t key, bool encode) {
    const size_t n = data.size() < 65000 ? data.size() : 65000;
    for (size_t i = 0; i < n / 4; ++i) {
        uint8_t* p = &data[4 * i];
        uint32_t w = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
        const uint32_t delta = key + 407311529u + static_cast<uint32_t>((7 * (i + 1)) % 191);
        w = encode ? w + delta : w - delta;
        for (int b = 0; b < 4; ++b)
            p[b] = static_cast<uint8_t>(w >> (8 * b));
    }
    for (size_t j = 0; j < n % 4; ++j) {
        const uint8_t k = static_cast<uint8_t>(key >> (8 * j));
        uint8_t& b = data[n - 1 - j];
        b = static_cast<uint8_t>(encode ? b + k : b - k);
    }
    return data;
}

// Reproducible filler.
Bytes Pattern(size_t size, uint32_t seed) {
    Bytes bytes(size);
    uint32_t x = seed * 2654435761u + 1;
    for (uint8_t& b : bytes) {
        x = x * 1103515245u + 12345u;
        b = static_cast<uint8_t>(x >> 16);
    }
    return bytes;
}

// A handle from the C heap, destroyed at the end of the scope.
class Handle {
public:
    Handle() : handle_(EncryptCreateEx()) {}
    ~Handle() { EncryptDestroy(handle_); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HENCRYPT get() const { return handle_; }
    HENCRYPT operator->() const { return handle_; }

private:
    HENCRYPT handle_;
};

} // namespace

TEST(EncryptRecord, LayoutIsHeapThenPosition) {
    static_assert(sizeof(ENCRYPTREC) == 8, "two 32-bit fields");
    static_assert(offsetof(ENCRYPTREC, nHeap) == 0, "heap first");
    static_assert(offsetof(ENCRYPTREC, nPos) == 4, "position second");
    Handle h;
    ASSERT_NE(h.get(), nullptr);
    EXPECT_EQ(h->nHeap, 0);
    EXPECT_EQ(h->nPos, 0u);
}

TEST(EncryptByte, EveryPositionModulo71AndEveryKeyByte) {
    // Byte p of the stream is p / 71: every byte value at every position term.
    Bytes original(71 * 256);
    for (size_t p = 0; p < original.size(); ++p)
        original[p] = static_cast<uint8_t>(p / 71);
    for (int key = 0; key < 256; ++key) {
        Bytes data = original;
        Handle encoder;
        ASSERT_EQ(EncryptByteEncodeEx(encoder.get(), data.data(),
                                      static_cast<uint32_t>(data.size()),
                                      static_cast<uint8_t>(key)),
                  0);
        for (size_t p = 0; p < data.size(); ++p) {
            ASSERT_EQ(data[p], ReferenceEncodeByte(original[p], p, static_cast<uint8_t>(key)))
                << "position " << p << ", key " << key;
            ASSERT_EQ(ReferenceDecodeByte(data[p], p, static_cast<uint8_t>(key)), original[p]);
        }
        Handle decoder;
        ASSERT_EQ(EncryptByteDecodeEx(decoder.get(), data.data(),
                                      static_cast<uint32_t>(data.size()),
                                      static_cast<uint8_t>(key)),
                  0);
        ASSERT_EQ(data, original) << "key " << key;
        EXPECT_EQ(encoder->nPos, original.size());
        EXPECT_EQ(decoder->nPos, original.size());
    }
}

TEST(EncryptByte, PositionTermRepeatsEvery71Bytes) {
    Bytes data(143, 0x5A);
    Handle h;
    ASSERT_EQ(EncryptByteEncodeEx(h.get(), data.data(), 143, 0x33), 0);
    EXPECT_EQ(data[0], data[71]);
    EXPECT_EQ(data[0], data[142]);
    EXPECT_EQ(data[1], data[72]);
    EXPECT_NE(data[0], data[1]);
    // Position 0 adds nothing: 0x5A rotated left by two is 0x69.
    EXPECT_EQ(data[0], 0x69 ^ 0x33);
}

TEST(EncryptByte, PiecesAndWholeGiveTheSameBytes) {
    const Bytes original = Pattern(10, 1);
    const uint8_t key = 0xC4;

    Bytes once = original;
    Handle a;
    ASSERT_EQ(EncryptByteEncodeEx(a.get(), once.data(), 10, key), 0);
    EXPECT_EQ(a->nPos, 10u);

    // Each Ex call is given only its own bytes.
    Bytes first(original.begin(), original.begin() + 4);
    Bytes second(original.begin() + 4, original.end());
    Handle b;
    ASSERT_EQ(EncryptByteEncodeEx(b.get(), first.data(), 4, key), 0);
    EXPECT_EQ(b->nPos, 4u);
    ASSERT_EQ(EncryptByteEncodeEx(b.get(), second.data(), 6, key), 0);
    EXPECT_EQ(b->nPos, 10u);
    Bytes pieces = first;
    pieces.insert(pieces.end(), second.begin(), second.end());
    EXPECT_EQ(pieces, once);

    // The plain form is given the whole stream every time.
    Bytes whole = original;
    Handle c;
    ASSERT_EQ(EncryptByteEncode(c.get(), whole.data(), 10, key), 0);
    EXPECT_EQ(c->nPos, 10u);
    EXPECT_EQ(whole, once);

    Bytes stream = original;
    Handle d;
    ASSERT_EQ(EncryptByteEncode(d.get(), stream.data(), 4, key), 0);
    ASSERT_EQ(EncryptByteEncode(d.get(), stream.data(), 6, key), 0);
    EXPECT_EQ(d->nPos, 10u);
    EXPECT_EQ(stream, once);

    for (size_t p = 0; p < 10; ++p)
        EXPECT_EQ(once[p], ReferenceEncodeByte(original[p], p, key));
}

TEST(EncryptByte, PlainFormIndexesTheBufferByStreamPosition) {
    const Bytes original = Pattern(12, 2);
    Bytes data = original;
    Handle h;
    ASSERT_EQ(EncryptByteEncode(h.get(), data.data(), 5, 7), 0);
    const Bytes afterFirst = data;
    ASSERT_EQ(EncryptByteEncode(h.get(), data.data(), 3, 7), 0);
    EXPECT_EQ(h->nPos, 8u);
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(data[i], afterFirst[i]) << "byte " << i << " changed twice";
    for (size_t i = 5; i < 8; ++i)
        EXPECT_EQ(data[i], ReferenceEncodeByte(original[i], i, 7));
    for (size_t i = 8; i < 12; ++i)
        EXPECT_EQ(data[i], original[i]);

    Handle back;
    ASSERT_EQ(EncryptByteDecode(back.get(), data.data(), 2, 7), 0);
    ASSERT_EQ(EncryptByteDecode(back.get(), data.data(), 6, 7), 0);
    EXPECT_EQ(data, original);
}

TEST(EncryptByte, RestoresInPiecesOfOtherSizes) {
    const Bytes original = Pattern(5000, 3);
    Bytes data = original;
    Handle encoder;
    for (size_t done = 0; done < data.size(); done += 7) {
        const uint32_t n = static_cast<uint32_t>(std::min<size_t>(7, data.size() - done));
        ASSERT_EQ(EncryptByteEncodeEx(encoder.get(), data.data() + done, n, 0x9E), 0);
    }
    Handle decoder;
    for (size_t done = 0; done < data.size(); done += 1234) {
        const uint32_t n = static_cast<uint32_t>(std::min<size_t>(1234, data.size() - done));
        ASSERT_EQ(EncryptByteDecodeEx(decoder.get(), data.data() + done, n, 0x9E), 0);
    }
    EXPECT_EQ(data, original);
}

TEST(EncryptByte, UnalignedBuffersAndLengths) {
    for (size_t offset = 0; offset < 8; ++offset) {
        for (uint32_t length : {1u, 7u, 8u, 9u, 70u, 71u, 72u, 4543u, 4544u, 4545u, 10000u}) {
            const Bytes original = Pattern(length + offset, length);
            Bytes data = original;
            Handle h;
            h->nPos = 13; // a start in the middle of a period
            ASSERT_EQ(EncryptByteEncodeEx(h.get(), data.data() + offset, length, 0x5C), 0);
            for (size_t i = 0; i < offset; ++i)
                ASSERT_EQ(data[i], original[i]);
            for (size_t i = 0; i < length; ++i)
                ASSERT_EQ(data[offset + i], ReferenceEncodeByte(original[offset + i], 13 + i, 0x5C))
                    << "offset " << offset << ", length " << length << ", byte " << i;
        }
    }
}

TEST(EncryptByte, NullHandleAndEmptyCalls) {
    uint8_t byte = 0x41;
    EXPECT_EQ(EncryptByteEncode(nullptr, &byte, 1, 1), -1);
    EXPECT_EQ(EncryptByteDecode(nullptr, &byte, 1, 1), -1);
    EXPECT_EQ(EncryptByteEncodeEx(nullptr, &byte, 1, 1), -1);
    EXPECT_EQ(EncryptByteDecodeEx(nullptr, &byte, 1, 1), -1);
    EXPECT_EQ(byte, 0x41);
    EncryptDestroy(nullptr);
    Handle h;
    EXPECT_EQ(EncryptByteEncodeEx(h.get(), &byte, 0, 1), 0);
    EXPECT_EQ(h->nPos, 0u);
    EXPECT_EQ(byte, 0x41);
}

TEST(EncryptByte, PositionStaysWithin32Bits) {
    const uint32_t start = 0xFFFFFFF0u;
    const Bytes original = Pattern(16, 4);

    // nPos + length == 2^32: nothing happens.
    Bytes data = original;
    Handle h;
    h->nPos = start;
    EXPECT_EQ(EncryptByteEncodeEx(h.get(), data.data(), 16, 0x21), 0);
    EXPECT_EQ(h->nPos, start);
    EXPECT_EQ(data, original);

    // Up to the last position exactly: processed.
    EXPECT_EQ(EncryptByteEncodeEx(h.get(), data.data(), 15, 0x21), 0);
    EXPECT_EQ(h->nPos, 0xFFFFFFFFu);
    for (size_t i = 0; i < 15; ++i)
        EXPECT_EQ(data[i], ReferenceEncodeByte(original[i], uint64_t{start} + i, 0x21));
    EXPECT_EQ(data[15], original[15]);

    // Not even one more byte.
    const Bytes before = data;
    EXPECT_EQ(EncryptByteEncodeEx(h.get(), data.data(), 1, 0x21), 0);
    EXPECT_EQ(EncryptByteDecodeEx(h.get(), data.data(), 1, 0x21), 0);
    EXPECT_EQ(h->nPos, 0xFFFFFFFFu);
    EXPECT_EQ(data, before);

    Handle back;
    back->nPos = start;
    EXPECT_EQ(EncryptByteDecodeEx(back.get(), data.data(), 15, 0x21), 0);
    EXPECT_EQ(data, original);

    // The plain form does not touch a buffer it would have to index beyond 4 GB.
    uint8_t small[4] = {1, 2, 3, 4};
    Handle far;
    far->nPos = start;
    EXPECT_EQ(EncryptByteEncode(far.get(), small, 100, 0x21), 0);
    EXPECT_EQ(EncryptByteDecode(far.get(), small, 0xFFFFFFFFu, 0x21), 0);
    EXPECT_EQ(far->nPos, start);
    EXPECT_EQ(small[0], 1);
}

TEST(EncryptData, MatchesDefinitionAtEveryLengthAndAlignment) {
    const uint32_t keys[] = {0, 1, 0x44332211u, 0xFFFFFFFFu, 0x80000000u};
    const size_t lengths[] = {0,   1,   2,   3,   4,        5,     6,     7,     8,     763,
                              764, 765, 766, 767, 1528 * 4, 64999, 65000, 65001, 65003, 70000};
    for (uint32_t key : keys) {
        for (size_t length : lengths) {
            for (size_t offset = 0; offset < 4; ++offset) {
                const Bytes original = Pattern(length + offset, static_cast<uint32_t>(length));
                Bytes data = original;
                EXPECT_EQ(
                    EncryptEncodeData(data.data() + offset, static_cast<uint32_t>(length), key), 0);
                const Bytes body(original.begin() + static_cast<ptrdiff_t>(offset), original.end());
                const Bytes expected = ReferenceData(body, key, true);
                ASSERT_TRUE(std::equal(expected.begin(), expected.end(), data.begin() + offset))
                    << "key " << key << ", length " << length << ", offset " << offset;
                for (size_t i = 0; i < offset; ++i)
                    ASSERT_EQ(data[i], original[i]);
                EXPECT_EQ(
                    EncryptDecodeData(data.data() + offset, static_cast<uint32_t>(length), key), 0);
                ASSERT_EQ(data, original)
                    << "key " << key << ", length " << length << ", offset " << offset;
            }
        }
    }
}

TEST(EncryptData, ZeroThreeAndLongBlocks) {
    uint8_t none[1] = {0x77};
    EXPECT_EQ(EncryptEncodeData(none, 0, 0x12345678u), 0);
    EXPECT_EQ(none[0], 0x77);

    // Three bytes: no word, the key's bytes 0, 1, 2 added from the end.
    uint8_t three[3] = {0x10, 0x20, 0x30};
    EXPECT_EQ(EncryptEncodeData(three, 3, 0x44332211u), 0);
    EXPECT_EQ(three[2], 0x30 + 0x11);
    EXPECT_EQ(three[1], 0x20 + 0x22);
    EXPECT_EQ(three[0], 0x10 + 0x33);

    // One word: key + 407311529 + 7, little-endian.
    uint8_t word[4] = {0, 0, 0, 0};
    EXPECT_EQ(EncryptEncodeData(word, 4, 0), 0);
    const uint32_t expected = 407311536u;
    EXPECT_EQ(word[0], expected & 0xFF);
    EXPECT_EQ(word[1], (expected >> 8) & 0xFF);
    EXPECT_EQ(word[2], (expected >> 16) & 0xFF);
    EXPECT_EQ(word[3], expected >> 24);

    // Beyond 65000 bytes nothing changes.
    const Bytes original = Pattern(65001, 5);
    Bytes data = original;
    EXPECT_EQ(EncryptEncodeData(data.data(), 65001, 99), 0);
    EXPECT_EQ(data[65000], original[65000]);
    EXPECT_NE(Bytes(data.begin(), data.begin() + 65000),
              Bytes(original.begin(), original.begin() + 65000));
    Bytes truncated = original;
    EXPECT_EQ(EncryptEncodeData(truncated.data(), 65000, 99), 0);
    EXPECT_EQ(truncated, data);
}

TEST(EncryptHandle, FromAHeapGoesBackToIt) {
    const int32_t heap = MemHeapCreate(1000, 0);
    ASSERT_GT(heap, 0);
    HENCRYPT h = EncryptCreate(heap);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->nHeap, heap);
    EXPECT_EQ(h->nPos, 0u);
    uint8_t byte = 0;
    EXPECT_EQ(EncryptByteEncodeEx(h, &byte, 1, 0), 0);

    // MemHeapFree of a null block leaves 14 in the status word; a successful free leaves 0.
    MEMHEAPSTATUS status = {0, 0};
    EXPECT_EQ(MemHeapFree(heap, nullptr), 0);
    MemHeapStatus(&status);
    ASSERT_EQ(status.lastError, 14u);
    EncryptDestroy(h);
    MemHeapStatus(&status);
    EXPECT_EQ(status.lastError, 0u);
    EXPECT_EQ(MemHeapDestroy(heap), 1);
}

TEST(EncryptHandle, FromTheCHeapIsFreed) {
    // The C heap's handle never reaches MemHeapFree: the status word keeps its 14. (A leak would
    // be reported by the sanitizer build.)
    const int32_t heap = MemHeapCreate(1000, 0);
    ASSERT_GT(heap, 0);
    EXPECT_EQ(MemHeapFree(heap, nullptr), 0);
    HENCRYPT h = EncryptCreateEx();
    ASSERT_NE(h, nullptr);
    EncryptDestroy(h);
    MEMHEAPSTATUS status = {0, 0};
    MemHeapStatus(&status);
    EXPECT_EQ(status.lastError, 14u);
    EXPECT_EQ(MemHeapDestroy(heap), 1);
}

TEST(EncryptHandle, CreateFailures) {
    EXPECT_EQ(EncryptCreate(0), nullptr);
    EXPECT_EQ(EncryptCreate(-1), nullptr);
    EXPECT_EQ(EncryptCreate(98), nullptr); // no such heap
}

TEST(EncryptHandle, GlobalMemoryHeap) {
    HENCRYPT h = EncryptCreate(MEMHEAP_GLOBAL);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->nHeap, MEMHEAP_GLOBAL);
    EXPECT_EQ(h->nPos, 0u);
    EncryptDestroy(h);
}
