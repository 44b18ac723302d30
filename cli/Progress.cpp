#include "Progress.h"

#include <stdarg.h>
#include <stdio.h>
#include <unistd.h>

namespace {

// A terminal is redrawn at most this often; each redraw costs a write to the terminal.
const std::chrono::milliseconds kRedrawInterval(100);

// The widest line any command shows.
const int kLineWidth = 72;

} // namespace

Progress::Progress(bool wanted) : m_enabled(wanted && isatty(fileno(stderr))) {}

void Progress::show(bool force, const char* format, ...) {
    if (!m_enabled)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (!force && m_shown && now - m_last < kRedrawInterval)
        return;
    m_last = now;
    char text[kLineWidth + 1];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    fprintf(stderr, "\r%-*s", kLineWidth, text);
    fflush(stderr);
    m_shown = true;
}

void Progress::clear() {
    if (!m_shown)
        return;
    fprintf(stderr, "\r%*s\r", kLineWidth, "");
    fflush(stderr);
    m_shown = false;
}
