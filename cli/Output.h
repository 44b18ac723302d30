// Writing the tool's two output forms: text lines for people, JSON for programs.
#pragma once

#include <stdio.h>

// Writes the bytes as a JSON string literal, quotes included. Bytes of 0x80 and above are
// passed through unchanged (the text is in the ANSI code page; a reader of the JSON must be
// told which: the commands write it into the "codepage" member where it matters).
void writeJsonString(FILE* out, const char* text, int length);
// Writes the bytes on one line: a line break becomes \n, a tab \t, a backslash \\ and other
// control characters \xNN, so that one record stays one line.
void writeEscapedText(FILE* out, const char* text, int length);
