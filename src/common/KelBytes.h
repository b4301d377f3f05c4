#pragma once

#include <cstdint>

// Little-endian fields of the files the system reads; p must hold the field's bytes.
inline uint16_t ReadLE16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline int32_t ReadLE32(const uint8_t* p)
{
    return static_cast<int32_t>(uint32_t {p[0]} | (uint32_t {p[1]} << 8) | (uint32_t {p[2]} << 16)
        | (uint32_t {p[3]} << 24));
}
