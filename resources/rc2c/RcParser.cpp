#include "RcParser.h"

#include "BitmapFile.h"
#include "IconFile.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

namespace rc2c {

namespace {

// Deep enough for any sensible script, shallow enough to stop an include cycle quickly.
constexpr int MaxIncludeDepth = 16;

bool isMemoryOption(const Token& T) {
    static const char* const Options[] = {"DISCARDABLE", "MOVEABLE", "FIXED",     "PURE",
                                          "IMPURE",      "PRELOAD",  "LOADONCALL"};
    if (T.Kind != TokenKind::Identifier)
        return false;
    for (const char* O : Options)
        if (T.Text == O)
            return true;
    return false;
}

bool isKeyword(const Token& T, const char* Word) {
    return T.Kind == TokenKind::Identifier && T.Text == Word;
}

bool isIdentifier(const std::string& S) {
    if (S.empty() || !(std::isalpha(static_cast<unsigned char>(S[0])) || S[0] == '_'))
        return false;
    for (char C : S)
        if (!(std::isalnum(static_cast<unsigned char>(C)) || C == '_'))
            return false;
    return true;
}

std::string upperCase(std::string S) {
    for (char& C : S)
        C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
    return S;
}

std::string directoryOf(const std::string& Path) {
    size_t Slash = Path.find_last_of('/');
    return Slash == std::string::npos ? std::string() : Path.substr(0, Slash + 1);
}

} // namespace

void RcParser::parseFile(const std::string& Path) {
    std::ifstream In(Path, std::ios::binary);
    if (!In)
        throw RcError({Path, 0}, "cannot open the file");
    std::string Text((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    parseText(Text, Path);
}

void RcParser::parseText(const std::string& Text, const std::string& FileName) {
    noteFileRead(FileName);
    RcLexer Lex(Text, FileName);
    parseScript(Lex);
}

Token RcParser::next(RcLexer& Lex) {
    if (!Pending.empty()) {
        Token T = Pending.back();
        Pending.pop_back();
        return T;
    }
    return Lex.next();
}

void RcParser::parseScript(RcLexer& Lex) {
    for (;;) {
        Token T = next(Lex);
        switch (T.Kind) {
        case TokenKind::EndOfFile:
            return;
        case TokenKind::Directive:
            directive(Lex, T);
            break;
        case TokenKind::Identifier:
            if (T.Text == "LANGUAGE")
                language(Lex);
            else if (T.Text == "STRINGTABLE")
                stringTable(Lex, T);
            else
                namedResource(Lex, T);
            break;
        case TokenKind::Number:
            namedResource(Lex, T);
            break;
        default:
            throw RcError(Lex.at(T.Line), "expected a statement, found " + describe(T));
        }
    }
}

void RcParser::directive(RcLexer& Lex, const Token& T) {
    SourceLocation Where = Lex.at(T.Line);
    std::string Rest = Lex.restOfLine();
    if (T.Text == "include") {
        if (Rest == "<winresrc.h>") {
            // The few names of the platform's resource header that the scripts use.
            define("LANG_NEUTRAL", 0x00, Where);
            define("LANG_ENGLISH", 0x09, Where);
            define("LANG_GERMAN", 0x07, Where);
            define("SUBLANG_NEUTRAL", 0x00, Where);
            define("SUBLANG_DEFAULT", 0x01, Where);
            define("SUBLANG_ENGLISH_US", 0x01, Where);
            define("SUBLANG_GERMAN", 0x01, Where);
            return;
        }
        if (Rest.size() >= 2 && Rest.front() == '<' && Rest.back() == '>')
            throw RcError(Where, "cannot include " + Rest +
                                     " (of the system headers only "
                                     "<winresrc.h> is known)");
        if (Rest.size() < 3 || Rest.front() != '"' || Rest.back() != '"' ||
            Rest.find('"', 1) != Rest.size() - 1)
            throw RcError(Where, "expected #include \"file\" or #include <winresrc.h>");
        if (IncludeDepth == MaxIncludeDepth)
            throw RcError(Where, "includes nested more than " + std::to_string(MaxIncludeDepth) +
                                     " deep (an include cycle?)");
        std::string Path = resolvePath(Lex, Rest.substr(1, Rest.size() - 2));
        std::ifstream In(Path, std::ios::binary);
        if (!In)
            throw RcError(Where, "cannot open included file '" + Path + "'");
        std::string Text((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
        ++IncludeDepth;
        std::vector<Token> Saved;
        Saved.swap(Pending);
        parseText(Text, Path);
        Pending.swap(Saved);
        --IncludeDepth;
        return;
    }
    if (T.Text == "define") {
        size_t Space = Rest.find_first_of(" \t");
        std::string Name = Rest.substr(0, Space);
        if (!isIdentifier(Name))
            throw RcError(Where, "expected #define NAME number");
        if (Space == std::string::npos)
            throw RcError(Where, "#define " + Name + " needs a number");
        std::string Value = Rest.substr(Rest.find_first_not_of(" \t", Space));
        define(Name, parseNumber(Value, Where), Where);
        return;
    }
    throw RcError(Where, "unsupported directive '#" + T.Text + "'");
}

void RcParser::define(const std::string& Name, uint32_t Value, const SourceLocation& Where) {
    auto Inserted = Defines.emplace(Name, Definition{Value, Where});
    const Definition& Old = Inserted.first->second;
    if (!Inserted.second && Old.Value != Value)
        throw RcError(Where, Name + " redefined as " + std::to_string(Value) + " (it is " +
                                 std::to_string(Old.Value) + " from " + Old.Where.File + ":" +
                                 std::to_string(Old.Where.Line) + ")");
}

uint32_t RcParser::number(RcLexer& Lex, const Token& T, const std::string& What) {
    if (T.Kind == TokenKind::Number)
        return T.Value;
    if (T.Kind == TokenKind::Identifier) {
        auto It = Defines.find(T.Text);
        if (It != Defines.end())
            return It->second.Value;
        std::string Hint;
        if (T.Text.compare(0, 5, "LANG_") == 0 || T.Text.compare(0, 8, "SUBLANG_") == 0)
            Hint = " (#include <winresrc.h> defines the language names)";
        throw RcError(Lex.at(T.Line), "unknown identifier '" + T.Text + "'" + Hint);
    }
    throw RcError(Lex.at(T.Line), "expected " + What + ", found " + describe(T));
}

void RcParser::language(RcLexer& Lex) {
    Token PrimaryToken = next(Lex);
    uint32_t Primary = number(Lex, PrimaryToken, "a language number");
    Token Comma = next(Lex);
    if (Comma.Kind != TokenKind::Comma)
        throw RcError(Lex.at(Comma.Line),
                      "expected ',' between the language numbers, found " + describe(Comma));
    Token SubToken = next(Lex);
    uint32_t Sub = number(Lex, SubToken, "a sublanguage number");
    if (Primary > 0x3FF)
        throw RcError(Lex.at(PrimaryToken.Line),
                      "language " + std::to_string(Primary) + " is out of range (0 to 1023)");
    if (Sub > 0x3F)
        throw RcError(Lex.at(SubToken.Line),
                      "sublanguage " + std::to_string(Sub) + " is out of range (0 to 63)");
    Language = static_cast<uint16_t>((Sub << 10) | Primary);
}

void RcParser::skipMemoryOptions(RcLexer& Lex) {
    Token T = next(Lex);
    while (isMemoryOption(T))
        T = next(Lex);
    pushBack(T);
}

void RcParser::stringTable(RcLexer& Lex, const Token& Keyword) {
    skipMemoryOptions(Lex);
    Token Open = next(Lex);
    if (!isKeyword(Open, "BEGIN") && Open.Kind != TokenKind::LeftBrace)
        throw RcError(Lex.at(Open.Line),
                      "expected BEGIN after STRINGTABLE, found " + describe(Open));
    for (;;) {
        Token T = next(Lex);
        if (isKeyword(T, "END") || T.Kind == TokenKind::RightBrace)
            return;
        if (T.Kind == TokenKind::EndOfFile)
            throw RcError(Lex.at(Keyword.Line), "STRINGTABLE has no END");
        if (T.Kind == TokenKind::Directive)
            throw RcError(Lex.at(T.Line), "directives are not supported inside a STRINGTABLE");
        uint32_t Id = number(Lex, T, "a string id or END");
        if (Id > 0xFFFF)
            throw RcError(Lex.at(T.Line),
                          "string id " + std::to_string(Id) + " is out of range (0 to 65535)");
        Token S = next(Lex);
        if (S.Kind == TokenKind::Comma)
            S = next(Lex);
        if (S.Kind != TokenKind::String)
            throw RcError(Lex.at(S.Line), "expected the text of string " + std::to_string(Id) +
                                              ", found " + describe(S));
        std::string Text = S.Text;
        for (Token More = next(Lex);; More = next(Lex)) {
            if (More.Kind != TokenKind::String) {
                pushBack(More);
                break;
            }
            Text += More.Text;
        }
        Out.addString(Language, static_cast<uint16_t>(Id), Text, Lex.at(T.Line));
    }
}

void RcParser::namedResource(RcLexer& Lex, const Token& First) {
    ResourceName Name;
    if (First.Kind == TokenKind::Identifier && Defines.count(First.Text) == 0) {
        // Named resources are stored in upper case; look-ups ignore case.
        Name.Name = upperCase(First.Text);
    } else {
        uint32_t Id = number(Lex, First, "a resource name");
        if (Id > 0xFFFF)
            throw RcError(Lex.at(First.Line),
                          "resource id " + std::to_string(Id) + " is out of range (0 to 65535)");
        Name.Id = static_cast<uint16_t>(Id);
    }
    Token Type = next(Lex);
    if (Type.Kind != TokenKind::Identifier)
        throw RcError(Lex.at(Type.Line), "expected a statement, found " + describe(First) +
                                             " followed by " + describe(Type));
    if (Type.Text != "ICON" && Type.Text != "BITMAP")
        throw RcError(Lex.at(Type.Line), "unsupported resource type '" + Type.Text +
                                             "' (supported: BITMAP, ICON, STRINGTABLE, LANGUAGE)");
    const bool Icon = Type.Text == "ICON";
    skipMemoryOptions(Lex);
    Token File = next(Lex);
    if (File.Kind != TokenKind::String)
        throw RcError(Lex.at(File.Line), std::string("expected the ") + (Icon ? "icon" : "bitmap") +
                                             "'s file name in quotes, found " + describe(File));
    SourceLocation Where = Lex.at(First.Line);
    std::string Path = resolvePath(Lex, File.Text);
    noteFileRead(Path);
    if (Icon)
        Out.addIcon(Language, Name, readIconFile(Path, Where), Where);
    else
        Out.addBitmap(Language, Name, readBitmapFile(Path, Where), Where);
}

void RcParser::noteFileRead(const std::string& Path) {
    if (std::find(FilesRead.begin(), FilesRead.end(), Path) == FilesRead.end())
        FilesRead.push_back(Path);
}

std::string RcParser::resolvePath(const RcLexer& Lex, const std::string& Name) const {
    std::string Path = Name;
    for (char& C : Path)
        if (C == '\\')
            C = '/';
    if (!Path.empty() && Path[0] == '/')
        return Path;
    return directoryOf(Lex.fileName()) + Path;
}

} // namespace rc2c
