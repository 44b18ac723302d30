// What the list storage functions must make of a text, worked out byte by byte (code page 1252,
// where every byte is a character), for the list fuzz targets to compare with.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

struct ExpectedLines {
    std::vector<std::string> lines;
    // The longest line with its break, in bytes.
    size_t longest = 0;
};

// The lines of `text` split at CR or LF, a second CR or LF joining the first; a line is kept up
// to its first zero byte, as a copied string would be. `whole`: the last line is the text after
// the last break, left out when it starts with the byte 26 (a file); otherwise only lines that a
// break completes count, except one whose single break byte is the text's last (a buffer).
ExpectedLines SplitLines(const uint8_t* text, size_t size, bool whole);

// The items of a string list from its head, its current node left where it was.
std::vector<std::string> ListItems(void* list);

// Whether the process's ANSI code page has no double-byte characters, so that the lines worked
// out here are the ones to expect; in other code pages only the sanitizers' checks apply.
bool SingleByteCodePage();

// Aborts with the message when the property does not hold.
void Check(bool holds, const char* what);
