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

bool isIdentifier(const std::string& S) {
    if (S.empty() || !(std::isalpha(static_cast<unsigned char>(S[0])) || S[0] == '_'))
        return false;
    for (char C : S)
        if (!(std::isalnum(static_cast<unsigned char>(C)) || C == '_'))
            return false;
    return true;
}

std::string directoryOf(const std::string& Path) {
    size_t Slash = Path.find_last_of('/');
    return Slash == std::string::npos ? std::string() : Path.substr(0, Slash + 1);
}

// The names of the platform's resource header that the scripts use: languages, and the window,
// dialog and control styles of the dialog templates.
struct PlatformName {
    const char* Name;
    uint32_t Value;
};

const PlatformName PlatformNames[] = {
    {"LANG_NEUTRAL", 0x00},
    {"LANG_ENGLISH", 0x09},
    {"LANG_GERMAN", 0x07},
    {"SUBLANG_NEUTRAL", 0x00},
    {"SUBLANG_DEFAULT", 0x01},
    {"SUBLANG_ENGLISH_US", 0x01},
    {"SUBLANG_GERMAN", 0x01},

    {"WS_OVERLAPPED", 0x00000000},
    {"WS_POPUP", 0x80000000},
    {"WS_CHILD", 0x40000000},
    {"WS_MINIMIZE", 0x20000000},
    {"WS_VISIBLE", 0x10000000},
    {"WS_DISABLED", 0x08000000},
    {"WS_CLIPSIBLINGS", 0x04000000},
    {"WS_CLIPCHILDREN", 0x02000000},
    {"WS_MAXIMIZE", 0x01000000},
    {"WS_CAPTION", 0x00C00000},
    {"WS_BORDER", 0x00800000},
    {"WS_DLGFRAME", 0x00400000},
    {"WS_VSCROLL", 0x00200000},
    {"WS_HSCROLL", 0x00100000},
    {"WS_SYSMENU", 0x00080000},
    {"WS_THICKFRAME", 0x00040000},
    {"WS_GROUP", 0x00020000},
    {"WS_TABSTOP", 0x00010000},
    {"WS_MINIMIZEBOX", 0x00020000},
    {"WS_MAXIMIZEBOX", 0x00010000},

    {"WS_EX_DLGMODALFRAME", 0x00000001},
    {"WS_EX_NOPARENTNOTIFY", 0x00000004},
    {"WS_EX_TOPMOST", 0x00000008},
    {"WS_EX_TRANSPARENT", 0x00000020},
    {"WS_EX_TOOLWINDOW", 0x00000080},
    {"WS_EX_WINDOWEDGE", 0x00000100},
    {"WS_EX_CLIENTEDGE", 0x00000200},
    {"WS_EX_CONTEXTHELP", 0x00000400},
    {"WS_EX_STATICEDGE", 0x00020000},
    {"WS_EX_APPWINDOW", 0x00040000},

    {"DS_ABSALIGN", 0x0001},
    {"DS_SYSMODAL", 0x0002},
    {"DS_3DLOOK", 0x0004},
    {"DS_FIXEDSYS", 0x0008},
    {"DS_NOFAILCREATE", 0x0010},
    {"DS_LOCALEDIT", 0x0020},
    {"DS_SETFONT", 0x0040},
    {"DS_MODALFRAME", 0x0080},
    {"DS_NOIDLEMSG", 0x0100},
    {"DS_SETFOREGROUND", 0x0200},
    {"DS_CONTROL", 0x0400},
    {"DS_CENTER", 0x0800},
    {"DS_CENTERMOUSE", 0x1000},
    {"DS_CONTEXTHELP", 0x2000},

    {"SS_LEFT", 0x0000},
    {"SS_CENTER", 0x0001},
    {"SS_RIGHT", 0x0002},
    {"SS_ICON", 0x0003},
    {"SS_SIMPLE", 0x000B},
    {"SS_LEFTNOWORDWRAP", 0x000C},
    {"SS_NOPREFIX", 0x0080},
    {"SS_NOTIFY", 0x0100},
    {"SS_CENTERIMAGE", 0x0200},
    {"SS_REALSIZEIMAGE", 0x0800},
    {"SS_SUNKEN", 0x1000},
    {"SS_ENDELLIPSIS", 0x4000},

    {"BS_PUSHBUTTON", 0x0000},
    {"BS_DEFPUSHBUTTON", 0x0001},
    {"BS_CHECKBOX", 0x0002},
    {"BS_AUTOCHECKBOX", 0x0003},
    {"BS_RADIOBUTTON", 0x0004},
    {"BS_3STATE", 0x0005},
    {"BS_AUTO3STATE", 0x0006},
    {"BS_GROUPBOX", 0x0007},
    {"BS_AUTORADIOBUTTON", 0x0009},
    {"BS_LEFTTEXT", 0x0020},
    {"BS_ICON", 0x0040},
    {"BS_BITMAP", 0x0080},
    {"BS_MULTILINE", 0x2000},
    {"BS_FLAT", 0x8000},

    {"ES_LEFT", 0x0000},
    {"ES_CENTER", 0x0001},
    {"ES_RIGHT", 0x0002},
    {"ES_MULTILINE", 0x0004},
    {"ES_UPPERCASE", 0x0008},
    {"ES_LOWERCASE", 0x0010},
    {"ES_PASSWORD", 0x0020},
    {"ES_AUTOVSCROLL", 0x0040},
    {"ES_AUTOHSCROLL", 0x0080},
    {"ES_NOHIDESEL", 0x0100},
    {"ES_READONLY", 0x0800},
    {"ES_WANTRETURN", 0x1000},
    {"ES_NUMBER", 0x2000},

    {"LBS_NOTIFY", 0x0001},
    {"LBS_SORT", 0x0002},
    {"LBS_NOREDRAW", 0x0004},
    {"LBS_MULTIPLESEL", 0x0008},
    {"LBS_HASSTRINGS", 0x0040},
    {"LBS_USETABSTOPS", 0x0080},
    {"LBS_NOINTEGRALHEIGHT", 0x0100},
    {"LBS_MULTICOLUMN", 0x0200},
    {"LBS_WANTKEYBOARDINPUT", 0x0400},
    {"LBS_EXTENDEDSEL", 0x0800},
    {"LBS_DISABLENOSCROLL", 0x1000},
    {"LBS_NOSEL", 0x4000},
};

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
            for (const PlatformName& N : PlatformNames)
                define(N.Name, N.Value, Where);
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
    // The scripts include headers that C++ code includes too; their defines repeat harmlessly.
    if (T.Text == "pragma" && Rest == "once")
        return;
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
    if (Type.Text == "DIALOG" || Type.Text == "DIALOGEX") {
        dialog(Lex, Name, First, Type.Text == "DIALOGEX");
        return;
    }
    if (Type.Text != "ICON" && Type.Text != "BITMAP")
        throw RcError(Lex.at(Type.Line),
                      "unsupported resource type '" + Type.Text +
                          "' (supported: BITMAP, DIALOG, DIALOGEX, ICON, STRINGTABLE, LANGUAGE)");
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
        Out.add(ResourceTypeBitmap, Language, Name, readBitmapFile(Path, Where), Where);
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
