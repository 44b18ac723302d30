// A progress line on standard error, rewritten in place while a long command runs; only when
// stderr is a terminal, so that logs and pipes get no carriage returns.
#pragma once

#include <chrono>

class Progress {
public:
    explicit Progress(bool wanted);
    ~Progress() { clear(); }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // Shows the text, printf-style; calls that come faster than a terminal can be read are
    // skipped unless force is set.
    void show(bool force, const char* format, ...);
    // Removes the line, before a message or at the end.
    void clear();

private:
    bool m_enabled;
    bool m_shown = false;
    std::chrono::steady_clock::time_point m_last;
};
