// Data scrambling: byte-exact output of both schemes, handle positions and their 32-bit limit,
// the run and block boundaries, and where handles come from.

#include <bwcore/runtime/Encrypt.h>
#include <bwcore/runtime/MemHeap.h>

#include <gtest/gtest.h>

#include <stddef.h>
#include <stdint.h>

#include <memory>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Pattern(size_t size) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(i * 37 + i / 256 + 11);
    return bytes;
}

// A handle from the C heap at a given position, destroyed at the end of the scope.
using Handle = std::unique_ptr<ENCRYPTREC, void (*)(HENCRYPT)>;

Handle NewHandle(uint32_t position = 0) {
    Handle handle(EncryptCreateEx(), EncryptDestroy);
    handle->nPos = position;
    return handle;
}

using ByteFunction = int32_t (*)(HENCRYPT, void*, uint32_t, uint8_t);

} // namespace

TEST(EncryptByte, ByteExactAcrossThePositionPeriod) {
    // Positions 69 to 80: the position term runs 69, 70, 0, 1, ...
    uint8_t data[] = "scramble me!";
    const Handle h = NewHandle(69);
    ASSERT_EQ(EncryptByteEncodeEx(h.get(), data, 12, 0x5A), 0);
    EXPECT_EQ(Bytes(data, data + 12),
              (Bytes{0xb8, 0xfc, 0x93, 0xd3, 0xe7, 0xcf, 0x9b, 0xf3, 0xc2, 0x8b, 0xef, 0xf2}));
    EXPECT_EQ(h->nPos, 81u);
    const Handle back = NewHandle(69);
    ASSERT_EQ(EncryptByteDecodeEx(back.get(), data, 12, 0x5A), 0);
    EXPECT_STREQ(reinterpret_cast<char*>(data), "scramble me!");
}

TEST(EncryptByte, PiecesAndWholeGiveTheSameBytes) {
    const Bytes original = Pattern(10);
    Bytes once = original;
    const Handle a = NewHandle();
    ASSERT_EQ(EncryptByteEncodeEx(a.get(), once.data(), 10, 0xC4), 0);
    // Each Ex call is given only its own bytes, the plain form the whole stream every time.
    Bytes pieces = original;
    const Handle b = NewHandle();
    ASSERT_EQ(EncryptByteEncodeEx(b.get(), pieces.data(), 4, 0xC4), 0);
    ASSERT_EQ(EncryptByteEncodeEx(b.get(), pieces.data() + 4, 6, 0xC4), 0);
    Bytes stream = original;
    const Handle c = NewHandle();
    ASSERT_EQ(EncryptByteEncode(c.get(), stream.data(), 4, 0xC4), 0);
    ASSERT_EQ(EncryptByteEncode(c.get(), stream.data(), 6, 0xC4), 0);
    EXPECT_EQ(pieces, once);
    EXPECT_EQ(stream, once);
    EXPECT_EQ(a->nPos + b->nPos + c->nPos, 30u);
    const Handle back = NewHandle();
    ASSERT_EQ(EncryptByteDecode(back.get(), stream.data(), 10, 0xC4), 0);
    EXPECT_EQ(stream, original);
}

TEST(EncryptByte, OneCallGivesTheBytesOfOneByteCalls) {
    // Long calls run in blocks of 4544 bytes (64 periods of 71); starting mid-period and with an
    // unaligned buffer, each block must pick the terms up where the previous one left them.
    for (uint32_t length : {4543u, 4544u, 4545u, 10000u}) {
        Bytes whole = Pattern(length + 1);
        Bytes single = whole;
        const Handle one = NewHandle(13);
        ASSERT_EQ(EncryptByteEncodeEx(one.get(), whole.data() + 1, length, 0x5C), 0);
        const Handle many = NewHandle(13);
        for (uint32_t i = 0; i < length; ++i)
            ASSERT_EQ(EncryptByteEncodeEx(many.get(), single.data() + 1 + i, 1, 0x5C), 0);
        EXPECT_EQ(whole, single) << length;
        EXPECT_EQ(one->nPos, 13 + length);
        const Handle back = NewHandle(13);
        ASSERT_EQ(EncryptByteDecodeEx(back.get(), whole.data() + 1, length, 0x5C), 0);
        EXPECT_EQ(whole, Pattern(length + 1)) << length;
    }
}

TEST(EncryptByte, NullArgumentsAndEmptyCalls) {
    const ByteFunction functions[] = {EncryptByteEncode, EncryptByteDecode, EncryptByteEncodeEx,
                                      EncryptByteDecodeEx};
    for (ByteFunction f : functions) {
        uint8_t byte = 0x41;
        const Handle h = NewHandle(5);
        EXPECT_EQ(f(nullptr, &byte, 1, 1), -1);
        EXPECT_EQ(f(h.get(), nullptr, 1, 1), -1);
        EXPECT_EQ(h->nPos, 5u);
        EXPECT_EQ(f(h.get(), nullptr, 0, 1), 0); // skipped, so the buffer is not needed
        EXPECT_EQ(h->nPos, 5u);
        EXPECT_EQ(byte, 0x41);
    }
    EncryptDestroy(nullptr);
}

TEST(EncryptByte, PositionStaysWithin32Bits) {
    const Bytes original = Pattern(16);
    Bytes data = original;
    const Handle h = NewHandle(0xFFFFFFF0u);
    // nPos + length == 2^32: nothing happens; up to the last position exactly: processed.
    EXPECT_EQ(EncryptByteEncodeEx(h.get(), data.data(), 16, 0x21), 0);
    EXPECT_EQ(h->nPos, 0xFFFFFFF0u);
    EXPECT_EQ(data, original);
    EXPECT_EQ(EncryptByteEncodeEx(h.get(), data.data(), 15, 0x21), 0);
    EXPECT_EQ(h->nPos, 0xFFFFFFFFu);
    EXPECT_EQ(data[15], original[15]);
    EXPECT_EQ(EncryptByteDecodeEx(h.get(), data.data(), 1, 0x21), 0);
    EXPECT_EQ(h->nPos, 0xFFFFFFFFu);
    EXPECT_NE(data[14], original[14]);
    // The plain form does not touch a buffer it would have to index beyond 4 GB.
    const Handle far = NewHandle(0xFFFFFFF0u);
    EXPECT_EQ(EncryptByteEncode(far.get(), data.data(), 100, 0x21), 0);
    EXPECT_EQ(far->nPos, 0xFFFFFFF0u);
}

TEST(EncryptData, ByteExactWordsAndTail) {
    // Two words, then three bytes that take the key's bytes 0, 1 and 2 from the end.
    uint8_t data[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    EXPECT_EQ(EncryptEncodeData(data, 11, 0x44332211u), 0);
    EXPECT_EQ(Bytes(data, data + 11),
              (Bytes{0xc2, 0x38, 0x7d, 0x60, 0xcd, 0x3c, 0x81, 0x64, 0x3c, 0x2c, 0x1c}));
    uint8_t three[] = {0x10, 0x20, 0x30, 0x77};
    EXPECT_EQ(EncryptEncodeData(three, 3, 0x44332211u), 0);
    EXPECT_EQ(Bytes(three, three + 4), (Bytes{0x43, 0x42, 0x41, 0x77}));
    EXPECT_EQ(EncryptEncodeData(three, 0, 0x44332211u), 0);
    EXPECT_EQ(EncryptEncodeData(nullptr, 8, 1), 0);
    EXPECT_EQ(Bytes(three, three + 4), (Bytes{0x43, 0x42, 0x41, 0x77}));
}

TEST(EncryptData, WordTermsRepeatEvery191WordsUpToTheBlockLimit) {
    // With key + salt == 0, zero words become their terms 7 * (i + 1) mod 191, over runs of 3056
    // words, up to the 16250 words of 65000 bytes; the bytes after those stay as they are.
    const uint32_t key = 0u - ENCRYPT_WORD_SALT;
    std::vector<uint32_t> words(16260, 0);
    EXPECT_EQ(EncryptEncodeData(words.data(), 65003, key), 0);
    EXPECT_EQ(words[0], 7u);
    EXPECT_EQ(words[26], 189u);
    EXPECT_EQ(words[27], 5u);
    EXPECT_EQ(words[190], 0u);
    for (size_t i = 191; i < 16250; ++i)
        ASSERT_EQ(words[i], words[i - 191]) << "word " << i;
    for (size_t i = 16250; i < words.size(); ++i)
        ASSERT_EQ(words[i], 0u) << "word " << i;
    EXPECT_EQ(EncryptDecodeData(words.data(), 4 * 16260, key), 0);
    EXPECT_EQ(words, std::vector<uint32_t>(16260, 0));
}

TEST(EncryptData, UnalignedBlocksGiveTheBytesOfAlignedOnes) {
    const Bytes original = Pattern(12225); // a run of 3056 words, one more word and a byte
    Bytes aligned = original;
    EXPECT_EQ(EncryptEncodeData(aligned.data(), 12225, 0x80000001u), 0);
    for (size_t offset = 1; offset < 4; ++offset) {
        Bytes data(offset, 0);
        data.insert(data.end(), original.begin(), original.end());
        EXPECT_EQ(EncryptEncodeData(data.data() + offset, 12225, 0x80000001u), 0);
        EXPECT_EQ(Bytes(data.begin() + offset, data.end()), aligned) << offset;
    }
}

TEST(EncryptHandle, ComesFromItsHeapAndGoesBackToIt) {
    static_assert(sizeof(ENCRYPTREC) == 8 && offsetof(ENCRYPTREC, nPos) == 4, "heap, position");
    EXPECT_EQ(EncryptCreate(0), nullptr);
    EXPECT_EQ(EncryptCreate(-1), nullptr);
    EXPECT_EQ(EncryptCreate(98), nullptr); // no such heap
    const int32_t heap = MemHeapCreate(1000, 0);
    ASSERT_GT(heap, 0);
    for (int32_t id : {heap, MEMHEAP_GLOBAL, 0}) {
        HENCRYPT h = id == 0 ? EncryptCreateEx() : EncryptCreate(id);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(h->nHeap, id);
        EXPECT_EQ(h->nPos, 0u);
        // MemHeapFree of a null block leaves 14 in the status word, a successful free 0; the C
        // heap's handle never reaches MemHeapFree.
        EXPECT_EQ(MemHeapFree(heap, nullptr), 0);
        EncryptDestroy(h);
        MEMHEAPSTATUS status = {0, 0};
        MemHeapStatus(&status);
        EXPECT_EQ(status.lastError, id == 0 ? 14u : 0u) << id;
    }
    EXPECT_EQ(MemHeapDestroy(heap), 1);
}
