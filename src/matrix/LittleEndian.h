#pragma once
// Little-endian encoding of the binary matrix data (float files, CDM data sections): values are
// packed into and unpacked from byte buffers explicitly, never by writing whole structs, so the
// files are byte-exact on any host.
#include <bit>
#include <cstdint>

namespace kiv {

inline uint16_t LoadU16LE(const unsigned char* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t LoadU32LE(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline uint64_t LoadU64LE(const unsigned char* p)
{
    return static_cast<uint64_t>(LoadU32LE(p)) | (static_cast<uint64_t>(LoadU32LE(p + 4)) << 32);
}

inline float LoadFloatLE(const unsigned char* p) { return std::bit_cast<float>(LoadU32LE(p)); }
inline double LoadDoubleLE(const unsigned char* p) { return std::bit_cast<double>(LoadU64LE(p)); }

inline void StoreU16LE(unsigned char* p, uint16_t value)
{
    p[0] = static_cast<unsigned char>(value);
    p[1] = static_cast<unsigned char>(value >> 8);
}

inline void StoreU32LE(unsigned char* p, uint32_t value)
{
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(value >> (8 * i));
}

inline void StoreU64LE(unsigned char* p, uint64_t value)
{
    for (int i = 0; i < 8; ++i) p[i] = static_cast<unsigned char>(value >> (8 * i));
}

inline void StoreFloatLE(unsigned char* p, float value) { StoreU32LE(p, std::bit_cast<uint32_t>(value)); }
inline void StoreDoubleLE(unsigned char* p, double value) { StoreU64LE(p, std::bit_cast<uint64_t>(value)); }

}  // namespace kiv
