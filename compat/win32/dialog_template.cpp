// Dialog templates are read field by field with the template's own alignment rules: strings and
// ordinals on WORD boundaries, each item on a DWORD boundary, both counted from address zero as
// the system's reader counts them, so that a template built anywhere in memory reads alike.
#include "dialog_template.h"

#include "unicode_text.h"

#include <string.h>

namespace {

using bwcompat::template_name;

class template_reader {
public:
    template_reader(const void* data, size_t size)
        : m_base(static_cast<const BYTE*>(data)), m_size(size) {}

    bool ok() const { return m_ok; }
    const BYTE* here() const { return m_base + m_at; }

    WORD word() { return read<WORD>(); }
    DWORD dword() { return read<DWORD>(); }
    short signed16() { return static_cast<short>(read<WORD>()); }
    BYTE byte() { return read<BYTE>(); }

    void skip(size_t count) {
        if (m_size - m_at < count) {
            m_ok = false;
            return;
        }
        m_at += count;
    }

    void align(size_t boundary) {
        const uintptr_t address = reinterpret_cast<uintptr_t>(here());
        skip((boundary - address % boundary) % boundary);
    }

    std::string string() {
        std::u16string units;
        for (WORD unit = word(); m_ok && unit != 0; unit = word())
            units.push_back(static_cast<char16_t>(unit));
        return bwcompat::AnsiFromUtf16(units);
    }

    // 0x0000: nothing; 0xFFFF: an ordinal follows; anything else starts a string.
    template_name name() {
        template_name result;
        const WORD first = word();
        if (!m_ok || first == 0x0000)
            return result;
        result.present = true;
        if (first == 0xFFFF) {
            result.ordinal = true;
            result.id = word();
            return result;
        }
        m_at -= sizeof(WORD);
        result.text = string();
        return result;
    }

private:
    template <typename T>
    T read() {
        T value = 0;
        if (m_size - m_at < sizeof value) {
            m_ok = false;
            return value;
        }
        memcpy(&value, here(), sizeof value);
        m_at += sizeof value;
        return value;
    }

    const BYTE* m_base;
    size_t m_size;
    size_t m_at = 0;
    bool m_ok = true;
};

const char* ordinal_class(WORD ordinal) {
    switch (ordinal) {
    case 0x0080:
        return "Button";
    case 0x0081:
        return "Edit";
    case 0x0082:
        return "Static";
    case 0x0083:
        return "ListBox";
    case 0x0084:
        return "ScrollBar";
    case 0x0085:
        return "ComboBox";
    default:
        return nullptr;
    }
}

bool read_item(template_reader& in, bool extended, bwcompat::dialog_item& item) {
    in.align(4);
    if (extended) {
        item.helpId = in.dword();
        item.exStyle = in.dword();
        item.style = in.dword();
    } else {
        item.style = in.dword();
        item.exStyle = in.dword();
    }
    item.x = in.signed16();
    item.y = in.signed16();
    item.cx = in.signed16();
    item.cy = in.signed16();
    item.id = extended ? in.dword() : in.word();
    const template_name cls = in.name();
    if (cls.ordinal) {
        const char* name = ordinal_class(cls.id);
        if (name == nullptr)
            return false;
        item.className = name;
    } else {
        item.className = cls.text;
    }
    item.title = in.name();
    // The creation data: a WORD count of the bytes that follow it.
    const BYTE* data = in.here();
    const WORD count = in.word();
    in.skip(count);
    item.creationData = count != 0 ? data : nullptr;
    return in.ok();
}

} // namespace

namespace bwcompat {

bool ReadDialogTemplate(const void* data, size_t size, dialog_template& out) {
    if (data == nullptr)
        return false;
    template_reader in(data, size);
    out = dialog_template();
    // The extended form starts with the version 1 and the signature 0xFFFF.
    const DWORD first = in.dword();
    out.extended = in.ok() && first == 0xFFFF0001u;
    if (out.extended) {
        out.helpId = in.dword();
        out.exStyle = in.dword();
        out.style = in.dword();
    } else {
        out.style = first;
        out.exStyle = in.dword();
    }
    const WORD count = in.word();
    out.x = in.signed16();
    out.y = in.signed16();
    out.cx = in.signed16();
    out.cy = in.signed16();
    out.menu = in.name();
    out.className = in.name();
    out.title = in.string();
    if (out.style & DS_SETFONT) {
        out.pointSize = in.word();
        if (out.extended) {
            out.weight = in.word();
            out.italic = in.byte();
            out.charset = in.byte();
        }
        out.face = in.string();
    }
    if (!in.ok())
        return false;
    out.items.resize(count);
    for (dialog_item& item : out.items)
        if (!read_item(in, out.extended, item))
            return false;
    return true;
}

} // namespace bwcompat
