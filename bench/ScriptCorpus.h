// ScriptCorpus: a large installation script for measuring the script analysis, generated the same
// way on every run.
//
// The corpus is a sequence of modules, each with a block-comment header, directives, section
// markers, properties, methods, prototypes and exported prototypes, and event handlers with their
// category and event comments, tagged regions, strings of both quote kinds with escapes, and
// block comments inside their bodies. Names carry the module's number, so every declaration is
// indexed under a name of its own.
#pragma once

#include <stddef.h>
#include <string>

// Writes modules to the file until it holds at least minBytes; returns the size written, or 0
// when the file cannot be written.
size_t writeScriptCorpus(const std::string& path, size_t minBytes);
