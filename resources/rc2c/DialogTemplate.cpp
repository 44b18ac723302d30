#include "DialogTemplate.h"

namespace rc2c {

namespace {

void appendWord(std::vector<uint8_t>& Out, uint32_t V) {
    Out.push_back(static_cast<uint8_t>(V & 0xFF));
    Out.push_back(static_cast<uint8_t>((V >> 8) & 0xFF));
}

void appendDword(std::vector<uint8_t>& Out, uint32_t V) {
    appendWord(Out, V & 0xFFFF);
    appendWord(Out, V >> 16);
}

void appendString(std::vector<uint8_t>& Out, const std::string& S) {
    for (char C : S)
        appendWord(Out, static_cast<unsigned char>(C));
    appendWord(Out, 0);
}

void appendNameOrOrdinal(std::vector<uint8_t>& Out, const NameOrOrdinal& N) {
    if (N.IsOrdinal) {
        appendWord(Out, 0xFFFF);
        appendWord(Out, N.Ordinal);
    } else {
        appendString(Out, N.Name);
    }
}

void alignToDword(std::vector<uint8_t>& Out) {
    while (Out.size() % 4 != 0)
        Out.push_back(0);
}

void appendControl(std::vector<uint8_t>& Out, const DialogControl& C, bool Extended) {
    alignToDword(Out);
    if (Extended) {
        appendDword(Out, C.HelpId);
        appendDword(Out, C.ExStyle);
        appendDword(Out, C.Style);
    } else {
        appendDword(Out, C.Style);
        appendDword(Out, C.ExStyle);
    }
    for (uint32_t V : {C.X, C.Y, C.Width, C.Height})
        appendWord(Out, V);
    if (Extended)
        appendDword(Out, C.Id);
    else
        appendWord(Out, C.Id);
    appendNameOrOrdinal(Out, C.Class);
    appendNameOrOrdinal(Out, C.Text);
    appendWord(Out, 0); // no creation data
}

} // namespace

std::vector<uint8_t> templateBytes(const DialogTemplate& D) {
    std::vector<uint8_t> Out;
    if (D.Extended) {
        appendWord(Out, 1);      // version
        appendWord(Out, 0xFFFF); // signature of the extended form
        appendDword(Out, D.HelpId);
        appendDword(Out, D.ExStyle);
        appendDword(Out, D.Style);
    } else {
        appendDword(Out, D.Style);
        appendDword(Out, D.ExStyle);
    }
    appendWord(Out, static_cast<uint32_t>(D.Controls.size()));
    for (uint32_t V : {D.X, D.Y, D.Width, D.Height})
        appendWord(Out, V);
    appendNameOrOrdinal(Out, D.Menu);
    appendNameOrOrdinal(Out, D.Class);
    appendString(Out, D.Caption);
    if (D.HasFont) {
        appendWord(Out, D.PointSize);
        if (D.Extended) {
            appendWord(Out, D.Weight);
            Out.push_back(D.Italic);
            Out.push_back(D.Charset);
        }
        appendString(Out, D.FontName);
    }
    for (const DialogControl& C : D.Controls)
        appendControl(Out, C, D.Extended);
    return Out;
}

} // namespace rc2c
