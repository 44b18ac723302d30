// What the script and events commands share: their options, reading the script files one at a
// time with a progress line.
#pragma once

#include "CommandLine.h"

#include <bwcore/bwcore.h>

#include <functional>
#include <stdio.h>
#include <string>
#include <vector>

struct ScriptArguments {
    bool json = false;
    std::vector<std::string> files; // "-" stands for standard input
};

// Adds "[--json] FILE..." to the command's parser; returns the FILE option.
CLI::Option* addScriptOptions(CLI::App& app, ScriptArguments& args);

// Reads each file once, as a code stream named by its path, and hands it to parse. A file that
// cannot be read is reported on stderr, naming it; so is one that is neither a regular file nor
// a pipe (a device such as /dev/zero may never end), which is not read at all. With many files
// and stderr on a terminal a progress line counts them. Returns whether every file was read.
bool forEachScript(const char* command, const std::vector<std::string>& files,
                   const std::function<void(CCodeStream&)>& parse);
