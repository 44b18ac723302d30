// DialogTemplate: a dialog box as a DIALOG or DIALOGEX statement describes it, and its binary
// form, the DLGTEMPLATE or DLGTEMPLATEEX that RT_DIALOG resources hold.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rc2c {

// The templates' variable-length fields: an ordinal (0xFFFF then the number) or a string of UTF-16
// units ending in 0; an empty string is the single 0 that means "none".
struct NameOrOrdinal {
    bool IsOrdinal = false;
    uint16_t Ordinal = 0;
    std::string Name;
};

struct DialogControl {
    uint32_t HelpId = 0; // DIALOGEX only
    uint32_t ExStyle = 0;
    uint32_t Style = 0;
    uint32_t X = 0, Y = 0, Width = 0, Height = 0; // written as 16-bit dialog units
    uint32_t Id = 0;                              // DIALOG keeps the low 16 bits, DIALOGEX all 32
    NameOrOrdinal Class;
    NameOrOrdinal Text;
};

struct DialogTemplate {
    bool Extended = false; // DIALOGEX
    uint32_t HelpId = 0;   // DIALOGEX only
    uint32_t Style = 0;
    uint32_t ExStyle = 0;
    uint32_t X = 0, Y = 0, Width = 0, Height = 0;
    NameOrOrdinal Menu;
    NameOrOrdinal Class;
    std::string Caption;
    bool HasFont = false; // with DS_SETFONT in Style, the font fields follow the caption
    uint16_t PointSize = 0;
    uint16_t Weight = 0; // DIALOGEX only, as are Italic and Charset
    uint8_t Italic = 0;
    uint8_t Charset = 0;
    std::string FontName;
    std::vector<DialogControl> Controls;
};

// The template's bytes: the header, then each control on a 32-bit boundary counted from the start
// of the template, with no padding after the last one.
std::vector<uint8_t> templateBytes(const DialogTemplate& Dialog);

} // namespace rc2c
