// The options of every command, parsed with CLI11: each command takes --help, and a usage error
// is told in the tool's own words on standard error.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

// Parses argv (argv[0] is the command's name) with a parser named "bwcore NAME". -1 when the
// command is to run; otherwise the exit code: kExitOk after the help was printed on standard
// output, kExitUsage after a message.
int parseCommandLine(CLI::App& app, int argc, char** argv);

// Whether the text is a hexadecimal number of 1 to maxDigits digits, with or without "0x".
bool isHexNumber(const char* text, size_t maxDigits);
// Accepts a hexadecimal number of 1 to maxDigits digits, with or without "0x".
CLI::Validator hexDigits(size_t maxDigits, const std::string& what);
