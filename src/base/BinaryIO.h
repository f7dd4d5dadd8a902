#pragma once
// Little-endian binary I/O, the one place where bytes of binary files become numbers and back.
// Records are assembled in and decoded from byte buffers value by value (never whole structs),
// so that the layout on disk does not depend on the compiler's padding or the host's byte order.
//
// CByteWriter appends to a buffer; CByteReader reads from a bounded span and never reads past its
// end (a short read yields zeros and marks the reader failed, so a decoder checks once at the
// end); CBinaryFile is a buffered file with its own position, cheap to "seek" to where it already
// is, so that in-order reading of a large file costs no system call per record.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

// Raw little-endian loads and stores on unaligned byte pointers.
inline uint16_t LoadU16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t LoadU32(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline uint64_t LoadU64(const unsigned char* p)
{
    return static_cast<uint64_t>(LoadU32(p)) | (static_cast<uint64_t>(LoadU32(p + 4)) << 32);
}
inline int32_t LoadI32(const unsigned char* p) { return static_cast<int32_t>(LoadU32(p)); }
inline void StoreU16(unsigned char* p, uint16_t v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}
inline void StoreU32(unsigned char* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}
inline void StoreI32(unsigned char* p, int32_t v) { StoreU32(p, static_cast<uint32_t>(v)); }

// Conversions of reals to the integer fields of binary records: truncation toward zero,
// saturated at the limits of the field, NaN giving 0 (a plain cast would be undefined there).
// Inline: a record of a spectrum converts hundreds of values.
template <typename T>
T TruncSaturated(double value)
{
    if (std::isnan(value)) return 0;
    // The limits as doubles: the upper one is rounded up to a power of two for 64-bit types,
    // hence >= rather than >.
    constexpr double lo = static_cast<double>(std::numeric_limits<T>::min());
    constexpr double hi = static_cast<double>(std::numeric_limits<T>::max());
    if (value <= lo) return std::numeric_limits<T>::min();
    if (value >= hi) return std::numeric_limits<T>::max();
    return static_cast<T>(value);
}
inline int64_t TruncToInt64(double value) { return TruncSaturated<int64_t>(value); }
inline int32_t TruncToInt32(double value) { return TruncSaturated<int32_t>(value); }
inline uint32_t TruncToUInt32(double value) { return TruncSaturated<uint32_t>(value); }
inline uint16_t TruncToUInt16(double value) { return TruncSaturated<uint16_t>(value); }
inline uint8_t TruncToUInt8(double value) { return TruncSaturated<uint8_t>(value); }
inline int16_t TruncToInt16(double value) { return TruncSaturated<int16_t>(value); }
inline int8_t TruncToInt8(double value) { return TruncSaturated<int8_t>(value); }

// Appends little-endian values to a byte buffer (the caller owns the buffer and may reuse it).
class CByteWriter {
public:
    explicit CByteWriter(std::string& buffer) : buffer_(buffer) {}

    void U8(uint8_t v) { buffer_.push_back(static_cast<char>(v)); }
    void I8(int8_t v) { U8(static_cast<uint8_t>(v)); }
    void U16(uint16_t v);
    void I16(int16_t v) { U16(static_cast<uint16_t>(v)); }
    void U32(uint32_t v);
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void U64(uint64_t v);
    void I64(int64_t v) { U64(static_cast<uint64_t>(v)); }
    void F32(float v);
    void F64(double v);
    void Char(char c) { buffer_.push_back(c); }
    void Bytes(const void* data, size_t count) { buffer_.append(static_cast<const char*>(data), count); }
    void Zeros(size_t count) { buffer_.append(count, '\0'); }
    // One length byte followed by the bytes; text beyond 255 bytes is not written (callers apply
    // their format's own cut rule first).
    void String(std::string_view text);

    size_t Size() const { return buffer_.size(); }

private:
    std::string& buffer_;
};

// Reads little-endian values from a span of bytes. Reading past the end yields 0 (or an empty
// string), moves to the end and marks the reader failed; it never touches bytes outside the span.
class CByteReader {
public:
    CByteReader(const void* data, size_t size) : data_(static_cast<const unsigned char*>(data)), size_(size) {}
    explicit CByteReader(std::string_view bytes) : CByteReader(bytes.data(), bytes.size()) {}

    size_t Position() const { return position_; }
    size_t Size() const { return size_; }
    size_t Remaining() const { return size_ - position_; }
    bool Failed() const { return failed_; }
    // True when count more bytes are present (so that a decoder can check a count read from the
    // data before it allocates for it).
    bool Has(uint64_t count) const { return count <= Remaining(); }
    void Skip(uint64_t count);
    // Moves to an absolute position within the span (failing beyond its end).
    void Seek(size_t position);

    uint8_t U8()
    {
        const unsigned char* p = Fetch(1);
        return p ? p[0] : 0;
    }
    int8_t I8() { return static_cast<int8_t>(U8()); }
    uint16_t U16()
    {
        const unsigned char* p = Fetch(2);
        return p ? LoadU16(p) : 0;
    }
    int16_t I16() { return static_cast<int16_t>(U16()); }
    uint32_t U32()
    {
        const unsigned char* p = Fetch(4);
        return p ? LoadU32(p) : 0;
    }
    int32_t I32() { return static_cast<int32_t>(U32()); }
    uint64_t U64()
    {
        const unsigned char* p = Fetch(8);
        return p ? LoadU64(p) : 0;
    }
    int64_t I64() { return static_cast<int64_t>(U64()); }
    float F32()
    {
        const uint32_t bits = U32();
        float v;
        std::memcpy(&v, &bits, 4);
        return v;
    }
    double F64()
    {
        const uint64_t bits = U64();
        double v;
        std::memcpy(&v, &bits, 8);
        return v;
    }
    char Char() { return static_cast<char>(U8()); }
    // A length byte and that many bytes.
    std::string String();
    void String(std::string& out);
    // Pointer to the next count bytes and moves past them; nullptr (and failed) when they are not
    // all present.
    const unsigned char* Take(uint64_t count);

private:
    const unsigned char* Fetch(size_t count)
    {
        if (count > size_ - position_) return Fail();
        const unsigned char* p = data_ + position_;
        position_ += count;
        return p;
    }
    const unsigned char* Fail();

    const unsigned char* data_;
    size_t size_;
    size_t position_ = 0;
    bool failed_ = false;
};

// A binary file read through a large buffer of its own. The position is kept here: seeking to a
// position inside the buffer costs nothing, so reading records in file order needs no system
// call per record even when every record is "sought" first. Opened "r+b", it also writes small
// patches in place (WriteAt) and keeps the buffer in step with them.
class CBinaryFile {
public:
    CBinaryFile() = default;
    ~CBinaryFile() { Close(); }
    CBinaryFile(const CBinaryFile&) = delete;
    CBinaryFile& operator=(const CBinaryFile&) = delete;

    // mode "rb" or "r+b". Returns false when the file cannot be opened.
    bool Open(const std::string& path, const char* mode = "rb");
    void Close();
    bool IsOpen() const { return file_ != nullptr; }

    // Size of the file when it was opened (patches never change it).
    int64_t Size() const { return size_; }
    int64_t Tell() const { return position_; }
    int64_t Remaining() const { return size_ - position_; }
    bool AtEnd() const { return position_ >= size_; }
    // Any position from 0 to the size; false (position unchanged) otherwise.
    bool Seek(int64_t position);
    // Reads count bytes; false when fewer are left (then nothing is read and the position stays).
    bool Read(void* destination, size_t count);
    // Reads count bytes into buffer (resized; its capacity is reused from call to call).
    bool Read(std::string& buffer, size_t count);
    // The next count bytes without copying them when the file buffer can hold them (else they
    // are read into scratch); valid until the next call. nullptr when fewer bytes are left.
    const unsigned char* View(size_t count, std::string& scratch);
    // Writes count bytes at an absolute position (files opened "r+b" only); the read position is
    // unchanged.
    bool WriteAt(int64_t position, const void* data, size_t count);

private:
    bool Fill(int64_t position);

    std::FILE* file_ = nullptr;
    int64_t size_ = 0;
    int64_t position_ = 0;
    std::vector<unsigned char> buffer_;
    int64_t bufferStart_ = 0;  // file offset of buffer_[0]
    size_t bufferLength_ = 0;  // valid bytes in buffer_
    int64_t streamPosition_ = -1;  // where the C stream stands, -1 when unknown (after a write)
};

}  // namespace kiv
