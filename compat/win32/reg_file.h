// The reader of registry export files, which fills the classes root from one. Internal to
// compat/win32.
//
// The file: UTF-16LE after a byte-order mark FF FE; else 8-bit text, taken as UTF-8 after a
// UTF-8 byte-order mark or when the whole file is valid UTF-8, and otherwise in the ANSI code
// page. Lines end with CR LF, LF or CR. The first line is "REGEDIT4" or "Windows Registry Editor
// Version 5.00" (trailing blanks allowed); a file that starts otherwise gives nothing. Then, each
// line after its leading blanks:
// - blank, or ";" and a comment: passed over;
// - "[path]": the key at that path (made when missing) takes the values that follow; the path
//   starts with HKEY_CLASSES_ROOT (or HKCR), HKEY_LOCAL_MACHINE\SOFTWARE\Classes or
//   HKEY_CURRENT_USER\Software\Classes (or HKLM, HKCU), all meaning the classes root; a key under
//   any other root passes the values that follow over. "[-path]" removes that key with everything
//   below it (the root itself is never removed) and passes the values that follow over.
// - name=data, the name "@" for the default value or a quoted name, the data one of:
//   "text" (REG_SZ), dword:1 to 8 hex digits (REG_DWORD), hex:bytes (REG_BINARY),
//   hex(t):bytes (type t in hex, e.g. hex(2) REG_EXPAND_SZ, hex(7) REG_MULTI_SZ), or - (the
//   value is removed). Bytes are hex pairs separated by commas; a line whose last character is a
//   backslash goes on in the next line. In quoted names and text, \\ stands for a backslash, \"
//   for a quote and \n for a line feed; a backslash before anything else is kept as it is.
//   The bytes of text types (hex(1), hex(2), hex(7)) are UTF-16LE in version 5 files and 8-bit
//   text in the ANSI code page in REGEDIT4 files, as each version's editor writes them.
//   Blanks may stand around "=" and between bytes; a ";" comment may follow the data.
// Any other line, and a value line that does not fit these forms (an unterminated quote, a
// digit that is not hex, text after the data), is passed over; a key line without its closing
// "]" also passes the values that follow over, so that they never land in the key before it.
#pragma once

#include "registry_tree.h"

#include <string>

namespace bwcompat {

// Reads the export file's bytes into the classes root. Throws std::bad_alloc when memory runs
// out, with the root partly filled.
void ReadRegFile(const std::string& bytes, RegistryKey& classesRoot);

} // namespace bwcompat
