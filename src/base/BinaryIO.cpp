#include "base/BinaryIO.h"

#include <algorithm>

namespace kiv {

namespace {

constexpr size_t kFileBufferSize = 256 * 1024;

}  // namespace

// ---- CByteWriter ----

void CByteWriter::U16(uint16_t v)
{
    unsigned char bytes[2];
    StoreU16(bytes, v);
    Bytes(bytes, 2);
}

void CByteWriter::U32(uint32_t v)
{
    unsigned char bytes[4];
    StoreU32(bytes, v);
    Bytes(bytes, 4);
}

void CByteWriter::U64(uint64_t v)
{
    U32(static_cast<uint32_t>(v));
    U32(static_cast<uint32_t>(v >> 32));
}

void CByteWriter::F32(float v)
{
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    U32(bits);
}

void CByteWriter::F64(double v)
{
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    U64(bits);
}

void CByteWriter::String(std::string_view text)
{
    const size_t length = std::min<size_t>(text.size(), 255);
    U8(static_cast<uint8_t>(length));
    Bytes(text.data(), length);
}

// ---- CByteReader ----

const unsigned char* CByteReader::Fail()
{
    failed_ = true;
    position_ = size_;
    return nullptr;
}

const unsigned char* CByteReader::Take(uint64_t count)
{
    if (count > Remaining()) return Fail();
    return Fetch(static_cast<size_t>(count));
}

void CByteReader::Skip(uint64_t count) { Take(count); }

void CByteReader::Seek(size_t position)
{
    if (position > size_) {
        failed_ = true;
        position_ = size_;
    } else {
        position_ = position;
    }
}

void CByteReader::String(std::string& out)
{
    const size_t length = U8();
    const unsigned char* p = Fetch(length);
    if (p) {
        out.assign(reinterpret_cast<const char*>(p), length);
    } else {
        out.clear();
    }
}

std::string CByteReader::String()
{
    std::string out;
    String(out);
    return out;
}

// ---- CBinaryFile ----

bool CBinaryFile::Open(const std::string& path, const char* mode)
{
    Close();
    if (path.empty()) return false;
    file_ = std::fopen(path.c_str(), mode);
    if (!file_) return false;
    if (std::fseek(file_, 0, SEEK_END) != 0) {
        Close();
        return false;
    }
    const long size = std::ftell(file_);
    if (size < 0 || std::fseek(file_, 0, SEEK_SET) != 0) {
        Close();
        return false;
    }
    size_ = size;
    streamPosition_ = 0;
    position_ = 0;
    bufferStart_ = 0;
    bufferLength_ = 0;
    return true;
}

void CBinaryFile::Close()
{
    if (file_) std::fclose(file_);
    file_ = nullptr;
    size_ = 0;
    position_ = 0;
    bufferStart_ = 0;
    bufferLength_ = 0;
    streamPosition_ = -1;
}

bool CBinaryFile::Seek(int64_t position)
{
    if (!file_ || position < 0 || position > size_) return false;
    position_ = position;
    return true;
}

bool CBinaryFile::Fill(int64_t position)
{
    if (buffer_.size() < kFileBufferSize) buffer_.resize(kFileBufferSize);
    bufferLength_ = 0;
    bufferStart_ = position;
    if (streamPosition_ != position) {
        if (std::fseek(file_, static_cast<long>(position), SEEK_SET) != 0) {
            streamPosition_ = -1;
            return false;
        }
    }
    const size_t wanted = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(buffer_.size()), size_ - position));
    bufferLength_ = std::fread(buffer_.data(), 1, wanted, file_);
    streamPosition_ = position + static_cast<int64_t>(bufferLength_);
    return bufferLength_ > 0;
}

bool CBinaryFile::Read(void* destination, size_t count)
{
    if (!file_ || static_cast<uint64_t>(count) > static_cast<uint64_t>(Remaining())) return false;
    auto* out = static_cast<unsigned char*>(destination);
    int64_t position = position_;
    size_t left = count;
    while (left > 0) {
        if (position >= bufferStart_ && position < bufferStart_ + static_cast<int64_t>(bufferLength_)) {
            const size_t offset = static_cast<size_t>(position - bufferStart_);
            const size_t n = std::min(left, bufferLength_ - offset);
            std::memcpy(out, buffer_.data() + offset, n);
            out += n;
            position += static_cast<int64_t>(n);
            left -= n;
        } else if (left >= kFileBufferSize) {
            // Large pieces go straight to the caller.
            if (streamPosition_ != position && std::fseek(file_, static_cast<long>(position), SEEK_SET) != 0) {
                streamPosition_ = -1;
                return false;
            }
            const size_t got = std::fread(out, 1, left, file_);
            streamPosition_ = position + static_cast<int64_t>(got);
            if (got != left) return false;
            position += static_cast<int64_t>(left);
            left = 0;
        } else if (!Fill(position)) {
            return false;
        }
    }
    position_ = position;
    return true;
}

bool CBinaryFile::Read(std::string& buffer, size_t count)
{
    if (!file_ || static_cast<uint64_t>(count) > static_cast<uint64_t>(Remaining())) return false;
    buffer.resize(count);
    return Read(buffer.data(), count);
}

const unsigned char* CBinaryFile::View(size_t count, std::string& scratch)
{
    if (!file_ || static_cast<uint64_t>(count) > static_cast<uint64_t>(Remaining())) return nullptr;
    if (count <= kFileBufferSize) {
        const int64_t bufferEnd = bufferStart_ + static_cast<int64_t>(bufferLength_);
        const bool buffered = position_ >= bufferStart_ && position_ + static_cast<int64_t>(count) <= bufferEnd;
        if (buffered || (Fill(position_) && count <= bufferLength_)) {
            const unsigned char* p = buffer_.data() + (position_ - bufferStart_);
            position_ += static_cast<int64_t>(count);
            return p;
        }
    }
    if (!Read(scratch, count)) return nullptr;
    return reinterpret_cast<const unsigned char*>(scratch.data());
}

bool CBinaryFile::WriteAt(int64_t position, const void* data, size_t count)
{
    if (!file_ || position < 0) return false;
    streamPosition_ = -1;
    if (std::fseek(file_, static_cast<long>(position), SEEK_SET) != 0) return false;
    if (std::fwrite(data, 1, count, file_) != count) return false;
    // The C stream must be repositioned before it is read again; Fill does so since the stream
    // position is now unknown. Keep the bytes already buffered in step with the file.
    const int64_t bufferEnd = bufferStart_ + static_cast<int64_t>(bufferLength_);
    const int64_t from = std::max(position, bufferStart_);
    const int64_t to = std::min(position + static_cast<int64_t>(count), bufferEnd);
    if (from < to) {
        std::memcpy(buffer_.data() + (from - bufferStart_), static_cast<const unsigned char*>(data) + (from - position),
                    static_cast<size_t>(to - from));
    }
    return true;
}

}  // namespace kiv
