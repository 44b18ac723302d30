// bwcore scramble | unscramble --key KEY [--scheme byte|data] [-o FILE] [FILE|-]: scrambles a
// file or standard input, or restores what scramble wrote, with the library's data scrambling.
//
// byte (the default): KEY is a byte, 0 to 255. The whole input is one stream through one handle,
// read and processed in pieces, so the result is that of a single call over all of it; the
// handle's position is 32-bit, so the input may hold at most 4294967295 bytes.
// data: KEY is a 32-bit number. The data scheme scrambles blocks of at most 65000 bytes, so the
// input is cut into consecutive blocks of 65000 bytes (the last one shorter) and each block is
// scrambled on its own with the same key.
// KEY is decimal, or hexadecimal after 0x. Output goes to FILE with -o, else to standard output;
// the length never changes.
#include "Command.h"

#include <bwcore/bwcore.h>
#include <bwcore/compat/BinaryStdio.h>

#include <errno.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <vector>

namespace {

enum class Scheme { Byte, Data };

struct Options {
    Scheme scheme = Scheme::Byte;
    const char* key = nullptr;
    const char* input = nullptr;  // null or "-": standard input
    const char* output = nullptr; // null: standard output
};

const char kUsage[] = "--key KEY [--scheme byte|data] [-o FILE] [FILE|-]";

// Processes one piece of the input in place.
class Scrambler {
public:
    Scrambler(Scheme scheme, uint32_t key, bool restore)
        : scheme_(scheme), key_(key), restore_(restore),
          handle_(scheme == Scheme::Byte ? EncryptCreateEx() : nullptr) {}
    ~Scrambler() { EncryptDestroy(handle_); }
    Scrambler(const Scrambler&) = delete;
    Scrambler& operator=(const Scrambler&) = delete;

    bool ready() const { return scheme_ == Scheme::Data || handle_ != nullptr; }
    // The largest piece process() takes: one data block, or any size for the byte stream.
    static size_t pieceSize() { return ENCRYPT_DATA_MAX; }
    // False when the byte stream would pass the handle's 32-bit position.
    bool fits(size_t length) const {
        return scheme_ == Scheme::Data || uint64_t{handle_->nPos} + length <= UINT32_MAX;
    }

    void process(uint8_t* data, uint32_t length) {
        const uint8_t keyByte = static_cast<uint8_t>(key_);
        if (scheme_ == Scheme::Byte && restore_)
            EncryptByteDecodeEx(handle_, data, length, keyByte);
        else if (scheme_ == Scheme::Byte)
            EncryptByteEncodeEx(handle_, data, length, keyByte);
        else if (restore_)
            EncryptDecodeData(data, length, key_);
        else
            EncryptEncodeData(data, length, key_);
    }

private:
    Scheme scheme_;
    uint32_t key_;
    bool restore_;
    HENCRYPT handle_;
};

// Decimal or 0x-hexadecimal, at most `limit`, nothing else.
bool parseKey(const char* text, uint32_t limit, uint32_t& key) {
    if (text[0] < '0' || text[0] > '9')
        return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long long value = strtoull(text, &end, 0);
    if (errno != 0 || end == text || *end != '\0' || value > limit)
        return false;
    key = static_cast<uint32_t>(value);
    return true;
}

// Fills `options`; false with a message for a usage error.
bool parseArguments(int argc, char** argv, Options& options) {
    const char* command = argv[0];
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (strcmp(arg, "--key") == 0 && hasValue) {
            options.key = argv[++i];
        } else if (strcmp(arg, "--scheme") == 0 && hasValue) {
            const char* name = argv[++i];
            if (strcmp(name, "byte") == 0) {
                options.scheme = Scheme::Byte;
            } else if (strcmp(name, "data") == 0) {
                options.scheme = Scheme::Data;
            } else {
                fprintf(stderr, "bwcore %s: unknown scheme '%s' (byte or data)\n", command, name);
                return false;
            }
        } else if (strcmp(arg, "-o") == 0 && hasValue) {
            options.output = argv[++i];
        } else if (strcmp(arg, "--key") == 0 || strcmp(arg, "--scheme") == 0 ||
                   strcmp(arg, "-o") == 0) {
            fprintf(stderr, "bwcore %s: %s needs a value\n", command, arg);
            return false;
        } else if (arg[0] == '-' && arg[1] != '\0') {
            fprintf(stderr, "bwcore %s: unknown option '%s'\n", command, arg);
            return false;
        } else if (options.input != nullptr) {
            fprintf(stderr, "bwcore %s: only one input file\n", command);
            return false;
        } else {
            options.input = arg;
        }
    }
    if (options.key == nullptr) {
        fprintf(stderr, "bwcore %s: --key is required\n", command);
        return false;
    }
    return true;
}

// Reads, processes and writes piece by piece; false with a message on an error.
bool run(const char* command, FILE* in, const char* inName, FILE* out, const char* outName,
         Scrambler& scrambler) {
    std::vector<uint8_t> buffer(Scrambler::pieceSize());
    for (;;) {
        const size_t length = fread(buffer.data(), 1, buffer.size(), in);
        if (ferror(in)) {
            fprintf(stderr, "bwcore %s: cannot read %s: %s\n", command, inName, strerror(errno));
            return false;
        }
        if (length == 0)
            return true;
        if (!scrambler.fits(length)) {
            fprintf(stderr, "bwcore %s: %s is longer than the byte scheme's 4294967295 bytes\n",
                    command, inName);
            return false;
        }
        scrambler.process(buffer.data(), static_cast<uint32_t>(length));
        if (fwrite(buffer.data(), 1, length, out) != length) {
            fprintf(stderr, "bwcore %s: cannot write %s: %s\n", command, outName, strerror(errno));
            return false;
        }
        if (length < buffer.size())
            return true; // the end of the input
    }
}

int scrambleCommand(int argc, char** argv, bool restore) {
    const char* command = argv[0];
    if (argc == 2 && (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0)) {
        printf("usage: bwcore %s %s\n", command, kUsage);
        return kExitOk;
    }
    Options options;
    if (!parseArguments(argc, argv, options)) {
        fprintf(stderr, "usage: bwcore %s %s\n", command, kUsage);
        return kExitUsage;
    }
    uint32_t key = 0;
    const uint32_t limit = options.scheme == Scheme::Byte ? 255u : UINT32_MAX;
    if (!parseKey(options.key, limit, key)) {
        fprintf(stderr, "bwcore %s: key '%s' is not a number from 0 to %u\n", command, options.key,
                limit);
        return kExitUsage;
    }
    const bool fromStdin = options.input == nullptr || strcmp(options.input, "-") == 0;
    const char* inName = fromStdin ? "standard input" : options.input;
    const char* outName = options.output != nullptr ? options.output : "standard output";
    if (!fromStdin && options.output != nullptr && strcmp(options.input, options.output) == 0) {
        fprintf(stderr, "bwcore %s: the output would overwrite the input %s\n", command, inName);
        return kExitUsage;
    }

    FILE* in = fromStdin ? stdin : fopen(options.input, "rb");
    if (in == nullptr || (fromStdin && !BwSetBinaryMode(stdin))) {
        fprintf(stderr, "bwcore %s: cannot open %s: %s\n", command, inName, strerror(errno));
        return kExitFailure;
    }
    FILE* out = options.output != nullptr ? fopen(options.output, "wb") : stdout;
    if (out == nullptr || (options.output == nullptr && !BwSetBinaryMode(stdout))) {
        fprintf(stderr, "bwcore %s: cannot open %s: %s\n", command, outName, strerror(errno));
        if (!fromStdin)
            fclose(in);
        return kExitFailure;
    }

    Scrambler scrambler(options.scheme, key, restore);
    bool ok = scrambler.ready();
    if (!ok)
        fprintf(stderr, "bwcore %s: out of memory\n", command);
    ok = ok && run(command, in, inName, out, outName, scrambler);
    if (!fromStdin)
        fclose(in);
    const bool closed = options.output != nullptr ? fclose(out) == 0 : fflush(out) == 0;
    if (ok && !closed) {
        fprintf(stderr, "bwcore %s: cannot write %s: %s\n", command, outName, strerror(errno));
        ok = false;
    }
    // A partial output file is of no use to anyone.
    if (!ok && options.output != nullptr)
        remove(options.output);
    return ok ? kExitOk : kExitFailure;
}

} // namespace

int runScramble(int argc, char** argv) {
    return scrambleCommand(argc, argv, false);
}

int runUnscramble(int argc, char** argv) {
    return scrambleCommand(argc, argv, true);
}
