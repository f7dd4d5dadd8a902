#include "search/DescriptorSet.h"

#include <algorithm>
#include <bit>
#include <filesystem>

#include "base/Format.h"
#include "base/Numbers.h"
#include "base/Paths.h"
#include "base/Reporter.h"

namespace kiv {

namespace {

constexpr const char* kReadError = "Error opening Descriptor file!";
constexpr size_t kHeaderLineLength = 256;
constexpr size_t kLabelLength = 5;  // "Objs:" / "Bits:" before the number on lines 2 and 3

int32_t NumberAfterLabel(const std::string& line)
{
    return line.size() > kLabelLength ? ParseInt(std::string_view(line).substr(kLabelLength)) : 0;
}

}  // namespace

void DescriptorSet::SetBitCount(int32_t bits)
{
    CloseDescriptors();
    bitFile.clear();
    bitCount = bits;
    byteCount = bits > 0 ? static_cast<int32_t>((static_cast<int64_t>(bits) + 7) / 8) : 0;
    // The one-object buffer is sized when an object is read and its bytes are known to exist, so
    // that a damaged header cannot make us allocate for bits that are not there.
    buffer_.clear();
    data_.clear();
    data_.shrink_to_fit();
    objectCount = 0;
}

int DescriptorSet::OpenDescriptors(const std::string& headerPath, CPrompter& prompter)
{
    std::string path = headerPath;
    if (path.empty()) {
        auto chosen = prompter.ChooseFileToOpen(
            {"", "*.txt", "Descriptor Text Files (*.txt)|*.txt|All Files (*.*)|*.*||"});
        if (chosen) path = *chosen;
    }
    CTextReader header;
    if (path.empty() || !header.Open(path)) return 0;
    std::string title, objects, bits;
    header.ReadLine(title, kHeaderLineLength);
    header.ReadLine(objects, kHeaderLineLength);
    header.ReadLine(bits, kHeaderLineLength);
    header.Close();

    SetBitCount(NumberAfterLabel(bits));
    objectCount = std::max(NumberAfterLabel(objects), 0);
    bitFile = WithoutLast(path, 3) + "bit";
    OpenBitFile(prompter);
    return 1;
}

void DescriptorSet::OpenBitFile(CPrompter& prompter)
{
    if (bitFile.empty()) {
        auto chosen = prompter.ChooseFileToOpen({"", "*.bit", "Descriptor Files (*.bit)|*.bit|All Files (*.*)|*.*||"});
        if (chosen) bitFile = *chosen;
    }
    if (bitFile.empty()) {
        ReportRunTimeError("Open Descriptor without filename");
        return;
    }
    file_.reset(std::fopen(bitFile.c_str(), "rb"));
    open_ = file_ ? 1 : 0;
}

void DescriptorSet::CloseDescriptors()
{
    file_.reset();
    open_ = 0;
}

int64_t DescriptorSet::BitFileSize() const
{
    std::error_code error;
    auto size = std::filesystem::file_size(bitFile, error);
    return error ? 0 : static_cast<int64_t>(size);
}

void DescriptorSet::UnpackObject(const unsigned char* stream, int64_t streamStart, int64_t streamBytes, int64_t i,
                                 unsigned char* out) const
{
    const int64_t firstBit = (i - 1) * bitCount;
    const int64_t first = firstBit / 8;
    const int shift = static_cast<int>(firstBit % 8);
    // The byte after an object may lie past the end of the file: it reads as 0.
    auto byteAt = [&](int64_t position) -> unsigned {
        position -= streamStart;
        return position >= 0 && position < streamBytes ? stream[position] : 0u;
    };
    for (int64_t j = 0; j < byteCount; ++j) {
        unsigned previous = byteAt(first + j);
        out[j] = static_cast<unsigned char>(shift > 0 ? (byteAt(first + j + 1) << (8 - shift)) | (previous >> shift)
                                                      : previous);
    }
    if (int rest = bitCount % 8) out[byteCount - 1] &= static_cast<unsigned char>((1u << rest) - 1);
}

int DescriptorSet::ReadObjects(int32_t start)
{
    if (byteCount <= 0 || !IsOpen() || (start == 0 && objectCount <= 0) || start < 0) {
        ReportRunTimeError(kReadError);
        return 0;
    }
    const int64_t fileBytes = BitFileSize();
    const int64_t firstObject = start > 0 ? start : 1;
    int64_t objects = start > 0 ? 1 : objectCount;
    const int64_t firstByte = (firstObject - 1) * bitCount / 8;
    const int64_t wantedBytes = ((firstObject - 1 + objects) * bitCount + 7) / 8 - firstByte;
    if (firstByte + wantedBytes > fileBytes) {
        // The header promises more than the file holds: keep the whole objects that are there.
        int64_t present = bitCount > 0 ? fileBytes * 8 / bitCount : 0;
        ReportRunTimeError(Format("Descriptor file %s holds %lld complete objects, %lld expected",
                                  bitFile.c_str(), static_cast<long long>(std::max<int64_t>(present - firstObject + 1, 0)),
                                  static_cast<long long>(start > 0 ? 1 : objectCount)));
        if (start > 0 || present < 1) return 0;
        objectCount = static_cast<int32_t>(present);
        objects = present;
    }
    const int64_t streamBytes = std::min(((firstObject - 1 + objects) * bitCount + 7) / 8 + 1, fileBytes) - firstByte;
    std::vector<unsigned char> stream(static_cast<size_t>(streamBytes));
    if (std::fseek(file_.get(), static_cast<long>(firstByte), SEEK_SET) != 0 ||
        std::fread(stream.data(), 1, stream.size(), file_.get()) != stream.size()) {
        ReportRunTimeError(kReadError);
        return 0;
    }
    if (start > 0) {
        buffer_.assign(static_cast<size_t>(byteCount), 0);
        UnpackObject(stream.data(), firstByte, streamBytes, firstObject, buffer_.data());
        return 1;
    }
    data_.assign(static_cast<size_t>(objects) * static_cast<size_t>(byteCount), 0);
    for (int64_t i = 1; i <= objects; ++i) {
        UnpackObject(stream.data(), firstByte, streamBytes, i, data_.data() + (i - 1) * byteCount);
    }
    return 1;
}

int32_t DescriptorSet::ObjectsAvailable() const
{
    if (byteCount <= 0) return 0;
    if (IsLoaded()) return std::min<int32_t>(objectCount, static_cast<int32_t>(data_.size() / byteCount));
    if (!IsOpen()) return 0;
    return static_cast<int32_t>(std::clamp<int64_t>(BitFileSize() * 8 / bitCount, 0, objectCount));
}

const unsigned char* DescriptorSet::LoadedObject(int32_t k) const
{
    if (k < 1 || data_.empty()) return nullptr;
    int64_t loaded = static_cast<int64_t>(data_.size()) / byteCount;
    k = static_cast<int32_t>(std::min<int64_t>(k, std::min<int64_t>(objectCount, loaded)));
    return data_.data() + static_cast<size_t>(k - 1) * byteCount;
}

CMatrix DescriptorSet::VectorOf(const unsigned char* object) const
{
    if (!object) return CMatrix();
    CMatrix vector(1, bitCount);
    for (int32_t c = 0; c < bitCount; ++c) {
        if (object[c / 8] & (1u << (c % 8))) vector.Set(1, c + 1, 1.0);
    }
    return vector;
}

CMatrix DescriptorSet::ObjectVector() const { return VectorOf(buffer_.empty() ? nullptr : buffer_.data()); }

CMatrix DescriptorSet::ObjectVector(int32_t k) const { return VectorOf(LoadedObject(k)); }

std::string DescriptorSet::BitString(int32_t k) const
{
    const unsigned char* object = LoadedObject(k);
    if (!object) return {};
    std::string text(static_cast<size_t>(bitCount), '0');
    for (int32_t c = 0; c < bitCount; ++c) {
        if (object[c / 8] & (1u << (c % 8))) text[static_cast<size_t>(c)] = '1';
    }
    return text;
}

double DescriptorSet::Tanimoto(int32_t i, int32_t k) const
{
    if (i < 1 || k < 1 || i > objectCount || k > objectCount) return 0.0;
    const unsigned char* a = LoadedObject(i);
    const unsigned char* b = LoadedObject(k);
    if (!a || !b) return 0.0;
    int both = 0, either = 0;
    for (int32_t j = 0; j < byteCount; ++j) {
        both += std::popcount(static_cast<unsigned>(a[j] & b[j]));
        either += std::popcount(static_cast<unsigned>(a[j] | b[j]));
    }
    return either > 0 ? static_cast<double>(both) / either : 0.0;
}

}  // namespace kiv
