// The input of a data-file fuzz target as a file: written once per run to a path of this process.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <string>

// Replaces the process's file of that kind with the bytes and returns its path.
std::string WriteFuzzFile(const char* kind, const uint8_t* data, size_t size);
