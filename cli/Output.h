// Writing the tool's two output forms: text lines for people, JSON for programs. The library's
// texts are in the ANSI code page; JSON is UTF-8, and the text form is converted to UTF-8 too
// when the locale named in the environment reads UTF-8.
#pragma once

#include <nlohmann/json.hpp>

#include <stdio.h>
#include <string>

// JSON objects keep their members in the order written.
using Json = nlohmann::ordered_json;

// The text, in the ANSI code page, as UTF-8.
std::string utf8FromAnsi(const char* text);

// Text records on standard output, gathered and written in large pieces.
class TextOutput {
public:
    TextOutput() = default;
    TextOutput(const TextOutput&) = delete;
    TextOutput& operator=(const TextOutput&) = delete;
    ~TextOutput() { write(); }

    // A text field: a line break becomes \n, a tab \t, a backslash \\ and other control
    // characters \xNN, so that one record stays one line; "-" for an empty field when dashIfEmpty
    // is set.
    TextOutput& field(const char* text, bool dashIfEmpty = false);
    // The same for a field that mostly repeats the one given here before (a file name in every
    // record): its written form is kept and reused while the text stays the same.
    TextOutput& repeatedField(const char* text, bool dashIfEmpty = false);
    // Text that needs no escape or conversion, as it is.
    TextOutput& raw(const char* text);
    // One such character, a field separator say.
    TextOutput& raw(char c) {
        m_buffer += c;
        return *this;
    }
    // A line number as a person reads it: a stored line counted from 0 is shown from 1, one
    // counted from 1 as it is; "-" when nothing was recorded (-1).
    TextOutput& line(int line, bool countedFromZero);
    // Ends the record with a line feed.
    void endLine();

private:
    void write();

    std::string m_buffer;
    std::string m_repeatedText;  // the text last given to repeatedField
    std::string m_repeatedField; // and its written form
};

// Writes the document on standard output, then a line feed.
void writeJson(const Json& document);

// Flushes standard output; false after a message naming the command when any of it was lost.
bool finishOutput(const char* command);
