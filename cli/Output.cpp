#include "Output.h"

void writeJsonString(FILE* out, const char* text, int length) {
    fputc('"', out);
    for (int i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        switch (c) {
        case '"':
            fputs("\\\"", out);
            break;
        case '\\':
            fputs("\\\\", out);
            break;
        case '\n':
            fputs("\\n", out);
            break;
        case '\r':
            fputs("\\r", out);
            break;
        case '\t':
            fputs("\\t", out);
            break;
        default:
            if (c < 0x20)
                fprintf(out, "\\u%04x", c);
            else
                fputc(c, out);
        }
    }
    fputc('"', out);
}

void writeEscapedText(FILE* out, const char* text, int length) {
    for (int i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        switch (c) {
        case '\\':
            fputs("\\\\", out);
            break;
        case '\n':
            fputs("\\n", out);
            break;
        case '\t':
            fputs("\\t", out);
            break;
        default:
            if (c < 0x20)
                fprintf(out, "\\x%02X", c);
            else
                fputc(c, out);
        }
    }
}
