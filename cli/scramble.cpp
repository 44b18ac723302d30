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
#include "CommandLine.h"

#include <bwcore/bwcore.h>
#include <bwcore/compat/BinaryStdio.h>

#include <errno.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

enum class Scheme { Byte, Data };

struct Options {
    Scheme scheme = Scheme::Byte;
    std::string key;
    std::string input = "-"; // "-": standard input
    std::string output;      // empty: standard output
};

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

// Whether writing the output would overwrite the input: the same file under another name, a
// link to it, or the file behind standard input. Systems without inode numbers (st_ino is 0)
// leave standard input unchecked.
bool sameFile(const Options& options, FILE* in) {
    std::error_code error;
    if (options.input != "-")
        return std::filesystem::equivalent(options.input, options.output, error);
    struct stat input;
    struct stat output;
    return fstat(fileno(in), &input) == 0 && stat(options.output.c_str(), &output) == 0 &&
           input.st_ino != 0 && input.st_dev == output.st_dev && input.st_ino == output.st_ino;
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
    CLI::App app(restore ? "Restore what scramble wrote, with the same key and scheme."
                         : "Scramble a file or standard input reversibly; the length never "
                           "changes.",
                 std::string("bwcore ") + command);
    Options options;
    app.add_option("--key", options.key,
                   "the key: 0 to 255 for byte, a 32-bit number for data (decimal or 0x hex)")
        ->required();
    std::string scheme = "byte";
    app.add_option("--scheme", scheme,
                   "byte (one stream, the default) or data (blocks of 65000 bytes)")
        ->check(CLI::IsMember({"byte", "data"}));
    app.add_option("-o", options.output, "write to this file instead of standard output");
    app.add_option("FILE", options.input, "the input; - or none reads standard input");
    if (const int exitCode = parseCommandLine(app, argc, argv); exitCode >= 0)
        return exitCode;
    options.scheme = scheme == "data" ? Scheme::Data : Scheme::Byte;
    uint32_t key = 0;
    const uint32_t limit = options.scheme == Scheme::Byte ? 255u : UINT32_MAX;
    if (!parseKey(options.key.c_str(), limit, key)) {
        fprintf(stderr, "bwcore %s: key '%s' is not a number from 0 to %u\n", command,
                options.key.c_str(), limit);
        return kExitUsage;
    }
    const bool fromStdin = options.input == "-";
    const bool toStdout = options.output.empty();
    const char* inName = fromStdin ? "standard input" : options.input.c_str();
    const char* outName = toStdout ? "standard output" : options.output.c_str();

    FILE* in = fromStdin ? stdin : fopen(inName, "rb");
    if (in == nullptr || (fromStdin && !BwSetBinaryMode(stdin))) {
        fprintf(stderr, "bwcore %s: cannot open %s: %s\n", command, inName, strerror(errno));
        return kExitFailure;
    }
    if (!toStdout && sameFile(options, in)) {
        fprintf(stderr, "bwcore %s: the output %s is the input file; write to another file\n",
                command, outName);
        if (!fromStdin)
            fclose(in);
        return kExitUsage;
    }
    FILE* out = toStdout ? stdout : fopen(outName, "wb");
    if (out == nullptr || (toStdout && !BwSetBinaryMode(stdout))) {
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
    const bool closed = toStdout ? fflush(out) == 0 && !ferror(out) : fclose(out) == 0;
    if (ok && !closed) {
        fprintf(stderr, "bwcore %s: cannot write %s: %s\n", command, outName, strerror(errno));
        ok = false;
    }
    // A partial output file is of no use to anyone.
    if (!ok && !toStdout)
        remove(outName);
    return ok ? kExitOk : kExitFailure;
}

} // namespace

int runScramble(int argc, char** argv) {
    return scrambleCommand(argc, argv, false);
}

int runUnscramble(int argc, char** argv) {
    return scrambleCommand(argc, argv, true);
}
