// libFuzzer target: CPathInfo's wildcard match (reached through Duplicate, which keeps a file
// exactly when its name matches) against a model of the rules written over string positions, in
// the ANSI code page of the run (BWCORE_ACP=932 on Linux for the double-byte stepping).
//
// Input: the name, a zero byte, the pattern. Names are cut to 259 bytes, as Win32 names fit in
// MAX_PATH. Each '?' lets the match try the rest of the pattern twice (without and with the
// name's next character), so patterns with more than 12 of them are skipped to keep runs short.
#include <bwcore/bwcore.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {

const size_t npos = std::string::npos;

size_t Next(const std::string& s, size_t i) {
    return static_cast<size_t>(CharNextA(s.c_str() + i) - s.c_str());
}

std::string Upper(const std::string& s, size_t i) {
    std::string c = s.substr(i, Next(s, i) - i);
    CharUpperA(&c[0]);
    return c;
}

// The first dot from i on, or its last, stepping by characters.
size_t Dot(const std::string& s, size_t i, bool last) {
    size_t found = npos;
    for (; i < s.size(); i = Next(s, i)) {
        if (s[i] == '.') {
            found = i;
            if (!last)
                break;
        }
    }
    return found;
}

bool Model(const std::string& name, size_t n, const std::string& pattern, size_t p) {
    for (;;) {
        if (p == npos)
            return false;
        const bool nameEnd = n == name.size();
        if (p == pattern.size())
            return nameEnd;
        const char c = pattern[p];
        if (c == '*') {
            p = Dot(pattern, p, false);
            n = Dot(name, n, true);
            if (p == npos || n == npos)
                return p == npos ? n == npos : pattern.find_first_not_of("?*", p + 1) == npos;
        } else if (c == '?') {
            if (Model(name, n, pattern, ++p))
                return true;
            if (!nameEnd && name[n] != '.')
                n = Next(name, n);
        } else if (!nameEnd && Upper(name, n) == Upper(pattern, p)) {
            n = Next(name, n);
            p = Next(pattern, p);
        } else if (nameEnd && c == '.') {
            ++p;
        } else {
            return false;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t zero = input.find('\0');
    if (zero == npos)
        return 0;
    const std::string name = input.substr(0, std::min<size_t>(zero, MAX_PATH - 1));
    std::string pattern = input.substr(zero + 1);
    pattern.resize(strlen(pattern.c_str()));
    if (std::count(pattern.begin(), pattern.end(), '?') > 12)
        return 0;

    CPathInfo info;
    const size_t recordSize = sizeof(CPathInfo::pathfileinfo) + name.size() + 1;
    auto* record = static_cast<CPathInfo::pathfileinfo*>(calloc(1, recordSize));
    record->nSize = static_cast<int32_t>(recordSize);
    record->pszName = reinterpret_cast<char*>(record + 1);
    memcpy(record->pszName, name.c_str(), name.size() + 1);
    info.m_arrFiles.Add(record);
    std::unique_ptr<CPathInfo> copy(info.Duplicate(pattern.c_str()));
    const bool matched = copy->m_arrFiles.GetSize() == 1;
    if (matched != Model(name, 0, pattern, 0)) {
        fprintf(stderr, "CompWildcard(\"%s\", \"%s\") gave %d against the model\n", name.c_str(),
                pattern.c_str(), matched);
        abort();
    }
    return 0;
}
