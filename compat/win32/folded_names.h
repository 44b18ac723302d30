// The case-insensitive lookup of one name in one Linux directory, for the path mapping. Internal
// to compat/win32.
#pragma once

#include <string>

namespace bwcompat {

// Replaces `name` by the first entry of `directory` (in the order the directory lists them)
// that equals it but for case in the ANSI code page's case mapping; false when there is none or
// the directory cannot be read. Thread-safe. May throw std::bad_alloc.
//
// Looking names up one by one would read a directory once per name, and a walk through a tree
// by upper-case paths would read every large directory once per entry. So the names of the
// directories read last are kept, folded to upper case, and used again while the directory's
// device, inode, modification and status-change times are those it had when it was read. The
// kernel stamps those times at a coarse tick, so a directory changed within the last second
// could change again without moving them: such a directory is read, but not kept.
bool FindNameIgnoringCase(const std::string& directory, std::string& name);

} // namespace bwcompat
