#include <bwcore/win32/mbstring.h>

#include <bwcore/win32/strings.h>

unsigned char* _mbsnbcpy(unsigned char* dest, const unsigned char* src, size_t count) {
    if (dest == nullptr || src == nullptr)
        return dest;
    unsigned char* out = dest;
    while (count > 0 && *src != 0) {
        if (IsDBCSLeadByte(*src) && src[1] != 0) {
            if (count == 1) {
                // The character does not fit whole.
                *out++ = 0;
                --count;
                break;
            }
            *out++ = *src++;
            --count;
        }
        *out++ = *src++;
        --count;
    }
    while (count > 0) {
        *out++ = 0;
        --count;
    }
    return dest;
}
