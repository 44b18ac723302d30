// RcLexer: splits the text of one resource script into tokens.
//
// The accepted forms are the subset of the resource compiler's syntax that the project uses, and
// each is read exactly as the Windows build's resource compiler reads it: C and C++ comments,
// decimal and hexadecimal numbers with an optional L suffix and an optional minus sign (taken in
// 32-bit two's complement, so -1 is 0xFFFFFFFF), identifiers, commas, braces and '|', and
// double-quoted strings in which "" stands for one quote and \n, \r, \t and \\ are the only
// escapes. Anything else is reported as an error rather than guessed at.
#pragma once

#include "RcError.h"

#include <cstdint>
#include <string>

namespace rc2c {

enum class TokenKind {
    Identifier,
    Number,
    String,
    Comma,
    LeftBrace,
    RightBrace,
    Pipe,
    Directive, // '#' at the start of a line; Text is the directive's name
    EndOfFile,
};

struct Token {
    TokenKind Kind = TokenKind::EndOfFile;
    std::string Text;   // identifier, directive name, or the string's decoded bytes
    uint32_t Value = 0; // the number's value
    int Line = 0;
};

// A readable description of a token for error messages ("identifier 'FOO'", "end of file").
std::string describe(const Token& T);

// Whether T is the identifier Word (keywords are upper case, as the scripts write them).
bool isKeyword(const Token& T, const char* Word);

// S with ASCII letters in upper case, as named resources are stored.
std::string upperCase(std::string S);

// Reads a number written as in a resource script; throws RcError at Where when Text is not one.
uint32_t parseNumber(const std::string& Text, const SourceLocation& Where);

class RcLexer {
public:
    RcLexer(std::string Source, std::string Name);

    Token next();
    // The rest of the current line after a directive's name, without comments, trimmed.
    std::string restOfLine();
    const std::string& fileName() const { return FileName; }
    SourceLocation at(int AtLine) const { return {FileName, AtLine}; }

private:
    char peek(size_t Ahead = 0) const;
    void skipSpaceAndComments();
    Token lexString();
    Token lexNumber();

    std::string Text;
    std::string FileName;
    size_t Pos = 0;
    int Line = 1;
    bool AtLineStart = true;
};

} // namespace rc2c
