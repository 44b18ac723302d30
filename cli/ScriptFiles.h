// What the script and events commands share: their arguments, reading the script files one at a
// time with a progress line, and the text form of line numbers.
#pragma once

#include <bwcore/bwcore.h>

#include <functional>
#include <stdio.h>
#include <vector>

struct ScriptArguments {
    bool json = false;
    std::vector<const char*> files;
};

// Parses "[--json] FILE..."; on a usage error prints it to stderr and returns false.
bool parseScriptArguments(const char* command, int argc, char** argv, ScriptArguments& args);

// Opens each file as a code stream named by its path and hands it to parse. A file that cannot
// be read is reported on stderr, naming it, and skipped. With many files and stderr on a terminal
// a progress line counts them. Returns whether every file was read.
bool forEachScript(const char* command, const std::vector<const char*>& files,
                   const std::function<void(CCodeFileStream&)>& parse);

// A line number as a person reads it: a stored line counted from 0 is shown from 1, one counted
// from 1 as it is; "-" when nothing was recorded (-1).
void writeTextLine(FILE* out, int line, bool countedFromZero);
// A text field of a tab-separated record: escaped to stay on its line, "-" when empty.
void writeTextField(FILE* out, const CString& text);
