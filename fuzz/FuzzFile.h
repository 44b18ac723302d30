// The input of a data-file fuzz target as a file: written once per run to a path of this process.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <string>

// Replaces the process's file of that kind with the bytes and returns its path.
std::string WriteFuzzFile(const char* kind, const uint8_t* data, size_t size);

// The number of lines that begin with "[", the section headers of a language or platform file.
size_t CountHeaders(const uint8_t* data, size_t size);
// Input below this size has no line longer than a read chunk, so its lines are the file's.
constexpr size_t kShortDataFile = 8000;
