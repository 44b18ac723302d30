// SHA-256, to tell whether a file is the one a reference table was measured on.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>

class Sha256 {
public:
    Sha256();
    void Update(const void* data, size_t size);
    // The digest as 64 lowercase hexadecimal digits; the object is used up.
    std::string HexDigest();

private:
    void Block(const uint8_t* block);

    uint32_t m_state[8];
    uint8_t m_buffer[64];
    size_t m_buffered;
    uint64_t m_length; // in bytes
};
