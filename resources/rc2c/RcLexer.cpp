#include "RcLexer.h"

#include <cctype>

namespace rc2c {

namespace {

bool isIdentifierStart(char C) {
    return std::isalpha(static_cast<unsigned char>(C)) || C == '_';
}
bool isIdentifierChar(char C) {
    return std::isalnum(static_cast<unsigned char>(C)) || C == '_';
}

std::string printable(char C) {
    unsigned char U = static_cast<unsigned char>(C);
    if (U >= 0x20 && U < 0x7F)
        return std::string("'") + C + "'";
    static const char Hex[] = "0123456789ABCDEF";
    return std::string("byte 0x") + Hex[U >> 4] + Hex[U & 0xF];
}

} // namespace

std::string describe(const Token& T) {
    switch (T.Kind) {
    case TokenKind::Identifier:
        return "'" + T.Text + "'";
    case TokenKind::Number:
        return "number " + std::to_string(T.Value);
    case TokenKind::String:
        return "string \"" + T.Text + "\"";
    case TokenKind::Comma:
        return "','";
    case TokenKind::LeftBrace:
        return "'{'";
    case TokenKind::RightBrace:
        return "'}'";
    case TokenKind::Pipe:
        return "'|'";
    case TokenKind::Directive:
        return "'#" + T.Text + "'";
    case TokenKind::EndOfFile:
        break;
    }
    return "end of file";
}

bool isKeyword(const Token& T, const char* Word) {
    return T.Kind == TokenKind::Identifier && T.Text == Word;
}

std::string upperCase(std::string S) {
    for (char& C : S)
        C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
    return S;
}

uint32_t parseNumber(const std::string& Text, const SourceLocation& Where) {
    if (Text.size() > 1 && Text[0] == '-')
        return 0u - parseNumber(Text.substr(1), Where);
    std::string Digits = Text;
    if (!Digits.empty() && (Digits.back() == 'L' || Digits.back() == 'l'))
        Digits.pop_back();
    int Base = 10;
    size_t Start = 0;
    if (Digits.size() > 2 && Digits[0] == '0' && (Digits[1] == 'x' || Digits[1] == 'X')) {
        Base = 16;
        Start = 2;
    } else if (Digits.size() > 1 && Digits[0] == '0') {
        // The Windows build's compiler would read these as octal; nobody means that here.
        throw RcError(Where, "number '" + Text + "' has a leading zero (octal is not supported)");
    }
    if (Start == Digits.size())
        throw RcError(Where, "'" + Text + "' is not a number");
    uint64_t Value = 0;
    for (size_t I = Start; I < Digits.size(); ++I) {
        char C = Digits[I];
        int D;
        if (C >= '0' && C <= '9')
            D = C - '0';
        else if (Base == 16 && std::isxdigit(static_cast<unsigned char>(C)))
            D = std::tolower(static_cast<unsigned char>(C)) - 'a' + 10;
        else
            throw RcError(Where, "'" + Text + "' is not a number");
        Value = Value * static_cast<uint64_t>(Base) + static_cast<uint64_t>(D);
        if (Value > 0xFFFFFFFFu)
            throw RcError(Where, "number '" + Text + "' does not fit in 32 bits");
    }
    return static_cast<uint32_t>(Value);
}

RcLexer::RcLexer(std::string Source, std::string Name)
    : Text(std::move(Source)), FileName(std::move(Name)) {}

char RcLexer::peek(size_t Ahead) const {
    return Pos + Ahead < Text.size() ? Text[Pos + Ahead] : '\0';
}

void RcLexer::skipSpaceAndComments() {
    while (Pos < Text.size()) {
        char C = peek();
        if (C == '\n') {
            ++Line;
            ++Pos;
            AtLineStart = true;
        } else if (C == ' ' || C == '\t' || C == '\r' || C == '\f' || C == '\v') {
            ++Pos;
        } else if (C == '/' && peek(1) == '/') {
            while (Pos < Text.size() && peek() != '\n')
                ++Pos;
        } else if (C == '/' && peek(1) == '*') {
            int StartLine = Line;
            Pos += 2;
            while (Pos < Text.size() && !(peek() == '*' && peek(1) == '/')) {
                if (peek() == '\n')
                    ++Line;
                ++Pos;
            }
            if (Pos >= Text.size())
                throw RcError(at(StartLine), "unterminated comment");
            Pos += 2;
        } else {
            return;
        }
    }
}

Token RcLexer::next() {
    skipSpaceAndComments();
    Token T;
    T.Line = Line;
    if (Pos >= Text.size())
        return T;
    bool LineStart = AtLineStart;
    AtLineStart = false;
    char C = peek();
    if (C == '#') {
        if (!LineStart)
            throw RcError(at(Line), "'#' must start a line");
        ++Pos;
        while (peek() == ' ' || peek() == '\t')
            ++Pos;
        size_t Start = Pos;
        while (isIdentifierChar(peek()))
            ++Pos;
        T.Kind = TokenKind::Directive;
        T.Text = Text.substr(Start, Pos - Start);
        if (T.Text.empty())
            throw RcError(at(Line), "'#' without a directive name");
        return T;
    }
    if (C == '"')
        return lexString();
    if (std::isdigit(static_cast<unsigned char>(C)) ||
        (C == '-' && std::isdigit(static_cast<unsigned char>(peek(1)))))
        return lexNumber();
    if (isIdentifierStart(C)) {
        size_t Start = Pos;
        while (isIdentifierChar(peek()))
            ++Pos;
        T.Kind = TokenKind::Identifier;
        T.Text = Text.substr(Start, Pos - Start);
        if (peek() == '"')
            throw RcError(at(Line),
                          "prefixed strings such as " + T.Text + "\"...\" are not supported");
        return T;
    }
    ++Pos;
    switch (C) {
    case ',':
        T.Kind = TokenKind::Comma;
        return T;
    case '{':
        T.Kind = TokenKind::LeftBrace;
        return T;
    case '}':
        T.Kind = TokenKind::RightBrace;
        return T;
    case '|':
        T.Kind = TokenKind::Pipe;
        return T;
    default:
        throw RcError(at(Line), "unexpected character " + printable(C));
    }
}

Token RcLexer::lexNumber() {
    Token T;
    T.Kind = TokenKind::Number;
    T.Line = Line;
    size_t Start = Pos;
    if (peek() == '-')
        ++Pos;
    while (isIdentifierChar(peek()))
        ++Pos;
    T.Text = Text.substr(Start, Pos - Start);
    T.Value = parseNumber(T.Text, at(Line));
    return T;
}

Token RcLexer::lexString() {
    Token T;
    T.Kind = TokenKind::String;
    T.Line = Line;
    ++Pos; // opening quote
    for (;;) {
        if (Pos >= Text.size() || peek() == '\n')
            throw RcError(at(T.Line), "unterminated string");
        char C = Text[Pos++];
        if (C == '"') {
            // A doubled quote is a quote inside the string.
            if (peek() != '"')
                return T;
            ++Pos;
            T.Text += '"';
        } else if (C == '\\') {
            if (Pos >= Text.size() || peek() == '\n')
                throw RcError(at(T.Line), "unterminated string");
            char E = Text[Pos++];
            switch (E) {
            case 'n':
                T.Text += '\n';
                break;
            case 'r':
                T.Text += '\r';
                break;
            case 't':
                T.Text += '\t';
                break;
            case '\\':
                T.Text += '\\';
                break;
            case '"':
                throw RcError(at(Line), "write a quote inside a string as \"\", not \\\"");
            default:
                throw RcError(at(Line), "unsupported escape sequence: backslash before " +
                                            printable(E) +
                                            " (supported: \\n \\r \\t \\\\ and \"\")");
            }
        } else if (static_cast<unsigned char>(C) >= 0x80) {
            // The Windows build would read these bytes in some 8-bit code page; the scripts
            // keep to ASCII so that both builds agree.
            throw RcError(at(Line), "non-ASCII " + printable(C) + " in a string");
        } else if (static_cast<unsigned char>(C) < 0x20 && C != '\t') {
            throw RcError(at(Line), "control character " + printable(C) + " in a string");
        } else {
            T.Text += C;
        }
    }
}

std::string RcLexer::restOfLine() {
    std::string Rest;
    while (Pos < Text.size() && peek() != '\n') {
        if (peek() == '/' && peek(1) == '/') {
            while (Pos < Text.size() && peek() != '\n')
                ++Pos;
            break;
        }
        if (peek() == '/' && peek(1) == '*') {
            size_t End = Text.find("*/", Pos + 2);
            size_t Eol = Text.find('\n', Pos);
            if (End == std::string::npos || (Eol != std::string::npos && End > Eol))
                throw RcError(at(Line), "a comment in a directive must end on the same line");
            Pos = End + 2;
            Rest += ' ';
            continue;
        }
        Rest += Text[Pos++];
    }
    size_t First = Rest.find_first_not_of(" \t\r");
    if (First == std::string::npos)
        return std::string();
    size_t Last = Rest.find_last_not_of(" \t\r");
    return Rest.substr(First, Last - First + 1);
}

} // namespace rc2c
