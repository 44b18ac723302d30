// Reading dialog templates, both the DLGTEMPLATE form and the extended one (their layouts are
// described in user.h).
#pragma once

#include <bwcore/win32/user.h>

#include <stdint.h>

#include <string>
#include <vector>

namespace bwcompat {

// A menu, class or title field: nothing, an ordinal, or a string (in the ANSI code page).
struct template_name {
    bool present = false;
    bool ordinal = false;
    WORD id = 0;
    std::string text;
};

struct dialog_item {
    DWORD helpId = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    std::string className; // an ordinal class as the name of its system class
    template_name title;
    const void* creationData = nullptr; // its WORD size and the bytes, or null when there are none
};

struct dialog_template {
    bool extended = false;
    DWORD helpId = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    template_name menu;
    template_name className;
    std::string title;
    WORD pointSize = 0; // with DS_SETFONT
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charset = 0;
    std::string face;
    std::vector<dialog_item> items;
};

// Reads the template at data, whose size is `size` bytes (SIZE_MAX when the caller does not know
// it, as for DialogBoxIndirectParamA). False when the template runs past its size or an item's
// class ordinal names no class.
bool ReadDialogTemplate(const void* data, size_t size, dialog_template& out);

} // namespace bwcompat
