// RcParser: reads a resource script into a ResourceSet.
//
// Statements: LANGUAGE primary, sub; STRINGTABLE BEGIN id[,] "text" ... END (or braces, with
// adjacent strings joined); name ICON "file.ico"; name BITMAP "file.bmp"; name DIALOG and name
// DIALOGEX with their options and control statements (see DialogStatement.cpp). Memory options
// (DISCARDABLE, MOVEABLE, ...) are accepted and have no effect on the data. Directives: #include
// <winresrc.h> (which defines the LANG_ and SUBLANG_ names and the window, dialog and control
// style names that the scripts use), #include "file" (relative to the including file), #define
// NAME number, and #pragma once (ignored). Relative file names are taken from the directory of the
// script that names them. Without a LANGUAGE statement resources are US English (1033), as in the
// Windows build.
#pragma once

#include "DialogTemplate.h"
#include "RcLexer.h"
#include "ResourceSet.h"

#include <map>
#include <string>
#include <vector>

namespace rc2c {

class RcParser {
public:
    explicit RcParser(ResourceSet& Resources) : Out(Resources) {}

    // Parses the script at Path.
    void parseFile(const std::string& Path);
    // Parses Text as the content of a script named FileName (which locates relative paths).
    void parseText(const std::string& Text, const std::string& FileName);

    // Every file read so far, scripts, icons and bitmaps, for the build's dependency list.
    const std::vector<std::string>& filesRead() const { return FilesRead; }

private:
    struct Definition {
        uint32_t Value;
        SourceLocation Where;
    };

    void parseScript(RcLexer& Lex);
    Token next(RcLexer& Lex);
    void pushBack(const Token& T) { Pending.push_back(T); }
    void directive(RcLexer& Lex, const Token& T);
    void define(const std::string& Name, uint32_t Value, const SourceLocation& Where);
    void language(RcLexer& Lex);
    void stringTable(RcLexer& Lex, const Token& Keyword);
    void namedResource(RcLexer& Lex, const Token& First);
    void skipMemoryOptions(RcLexer& Lex);
    void dialog(RcLexer& Lex, const ResourceName& Name, const Token& First, bool Extended);
    void dialogControl(RcLexer& Lex, const Token& Keyword, DialogTemplate& Dialog);
    void controlPlacement(RcLexer& Lex, DialogControl& Control);
    void controlOptions(RcLexer& Lex, const DialogTemplate& Dialog, DialogControl& Control,
                        bool StyleFirst, uint32_t StyleBase);
    uint32_t styleExpression(RcLexer& Lex, uint32_t Style);
    NameOrOrdinal nameOrOrdinal(RcLexer& Lex, const Token& T, bool UpperCaseNames);
    void expectComma(RcLexer& Lex, const char* Between);
    bool optionalComma(RcLexer& Lex);
    uint32_t number(RcLexer& Lex, const Token& T, const std::string& What);
    std::string resolvePath(const RcLexer& Lex, const std::string& Name) const;
    void noteFileRead(const std::string& Path);

    ResourceSet& Out;
    std::map<std::string, Definition> Defines;
    std::vector<std::string> FilesRead;
    std::vector<Token> Pending;
    uint16_t Language = 0x0409;
    int IncludeDepth = 0;
};

} // namespace rc2c
