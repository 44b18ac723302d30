// RcError: a fault in the compiler's input, reported as "file:line: message" so that editors and
// build logs point at the offending line.
#pragma once

#include <stdexcept>
#include <string>

namespace rc2c {

// A place in an input file; line 0 names the file as a whole.
struct SourceLocation {
    std::string File;
    int Line = 0;
};

class RcError : public std::runtime_error {
public:
    RcError(const SourceLocation& Where, const std::string& Message)
        : std::runtime_error(format(Where, Message)) {}

private:
    static std::string format(const SourceLocation& Where, const std::string& Message) {
        if (Where.Line == 0)
            return Where.File + ": " + Message;
        return Where.File + ":" + std::to_string(Where.Line) + ": " + Message;
    }
};

} // namespace rc2c
