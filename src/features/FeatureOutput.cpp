#include "features/FeatureOutput.h"

#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <span>
#include <utility>

#include "base/BinaryIO.h"
#include "base/Format.h"
#include "features/FeatureDefinitionSet.h"

namespace kiv {

namespace {

constexpr const char* kTextFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";
constexpr const char* kBinaryFilter = "Binary Files (*.bin)|*.bin|All Files (*.*)|*.*||";

bool IsBinaryMode(int mode) { return mode > 0; }

// A double as the nearest float; magnitudes beyond the float range become infinities (the
// IEEE result, without relying on an out-of-range conversion).
float ToFloat(double value)
{
    if (value > FLT_MAX) return std::numeric_limits<float>::infinity();
    if (value < -FLT_MAX) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

// Appends value as printf's "%<width>.<precision>f" would print it. to_chars with a fixed
// precision converts the exact binary value and rounds it as printf does ("inf", "nan" and
// "-nan" spelled alike) and is several times faster, which matters for text files of a whole
// library.
void AppendFixed(std::string& out, int width, int precision, double value)
{
    char buffer[400];  // 309 integer digits, the point, 15 decimals and a sign at most
    const std::to_chars_result result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    if (result.ec != std::errc()) {
        out += Format("%*.*f", width, precision, value);
        return;
    }
    const size_t length = static_cast<size_t>(result.ptr - buffer);
    if (length < static_cast<size_t>(width)) out.append(static_cast<size_t>(width) - length, ' ');
    out.append(buffer, length);
}

// The per-value format of the text layouts and whether each value stands on a line of its own
// (those layouts end a row with a blank line).
struct TextLayout {
    int width;
    int precision;
    bool linePerValue;
};

TextLayout TextLayoutOf(int mode)
{
    switch (mode) {
    case kSaveText20_5Spaced: return {20, 5, true};
    case kSaveText20_5: return {20, 5, false};
    case kSaveText20_15Spaced: return {20, 15, true};
    case kSaveText20_15: return {20, 15, false};
    default: return {12, 5, false};
    }
}

// One row in the layout of a text mode, "\n" ending each line.
void FormatRow(int mode, int64_t rowNumber, std::span<const double> row, std::string& out)
{
    if (mode == kSaveDragon) {
        out += Format("%lld", static_cast<long long>(rowNumber));
        for (double value : row) {
            out += '\t';
            AppendFixed(out, 12, 5, value);
        }
        out += '\n';
        return;
    }
    const TextLayout layout = TextLayoutOf(mode);
    for (double value : row) {
        AppendFixed(out, layout.width, layout.precision, value);
        if (layout.linePerValue) out += '\n';
    }
    out += '\n';
}

void WriteDragonHeader(FeatureDefinitionSet& set, int rowTotal)
{
    std::string header = "Features\n";
    header += Format("%d\t%d\t%d\n", rowTotal, set.featureCount, 0);
    header += "Name";
    for (int i = 1; i <= set.featureCount; ++i) header += Format("\t%d", i);
    header += '\n';
    set.output.text.Write(header);
}

}  // namespace

uint8_t FeatureByte(double value)
{
    const double level = std::floor(value * 2.55 + 0.500000000001);
    if (!std::isfinite(level)) return 0;
    // The low 8 bits of the integer, also for values beyond any integer type: fmod is exact.
    double low = std::fmod(level, 256.0);
    if (low < 0) low += 256.0;
    return static_cast<uint8_t>(low);
}

bool OpenFeatureOutput(FeatureDefinitionSet& set, int rowTotal, const std::string& cdmFormat, CPrompter& prompter)
{
    CFeatureOutputFiles& output = set.output;
    if (set.saveMode == kSaveCdm) {
        CCdmFile& cdm = output.Cdm();
        // Bound afresh each time: the set may have been moved since the last output.
        cdm.Attach(set.features, set.lines);
        cdm.SetBibFileName(output.bibFileName);
        const bool saved = cdm.Save(cdmFormat, set.outputFile, rowTotal, 0, prompter);
        set.outputFile = cdm.WriteFileName();
        output.cdmMatrix = saved ? &set.features : nullptr;
        return saved;
    }

    const bool binary = IsBinaryMode(set.saveMode);
    if (set.outputFile.empty()) {
        const FileRequest request = binary
                                        ? FileRequest{"Save Features to binary file:", "*.bin", kBinaryFilter, true}
                                        : FileRequest{"Save Features to Text file:", "*.txt", kTextFilter, true};
        if (auto chosen = prompter.ChooseFileToSave(request)) set.outputFile = *chosen;
    }
    if (set.outputFile.empty()) return false;

    output.text.Close();
    output.binary.reset();
    bool opened = false;
    if (binary) {
        output.binary.reset(std::fopen(set.outputFile.c_str(), "wb"));
        opened = output.binary != nullptr;
    } else {
        opened = output.text.Open(set.outputFile);
    }
    if (!opened) {
        set.outputFile.clear();
        return false;
    }
    set.outputOpen = 1;
    if (set.saveMode == kSaveDragon) WriteDragonHeader(set, rowTotal > 0 ? rowTotal : set.features.Rows());
    return true;
}

void EncodeFeatureRow(int saveMode, int64_t rowNumber, std::span<const double> row, std::string& out)
{
    if (saveMode == kSaveFloat32) {
        const size_t start = out.size();
        out.resize(start + row.size() * 4);
        unsigned char* p = reinterpret_cast<unsigned char*>(out.data() + start);
        for (double value : row) {
            StoreU32(p, std::bit_cast<uint32_t>(ToFloat(value)));
            p += 4;
        }
    } else if (saveMode == kSaveUInt8) {
        for (double value : row) out += static_cast<char>(FeatureByte(value));
    } else {
        FormatRow(saveMode, rowNumber, row, out);
    }
}

void WriteEncodedRows(FeatureDefinitionSet& set, const std::string& bytes)
{
    CFeatureOutputFiles& output = set.output;
    if (set.saveMode == kSaveCdm || set.outputOpen != 1) return;
    if (IsBinaryMode(set.saveMode)) {
        // A text layout in a file opened for binary writing keeps bare LF line ends.
        if (output.binary) std::fwrite(bytes.data(), 1, bytes.size(), output.binary.get());
    } else {
        output.text.Write(bytes);
    }
}

void WriteFeatureRows(FeatureDefinitionSet& set, int64_t rowOffset)
{
    CFeatureOutputFiles& output = set.output;
    if (set.saveMode == kSaveCdm) {
        if (output.HasCdm() && output.cdmMatrix == &set.features) output.Cdm().WriteData();
        return;
    }
    if (set.outputOpen != 1) return;
    std::string& bytes = output.rowBuffer;
    bytes.clear();
    const CMatrix& features = set.features;
    for (int i = 1; i <= features.Rows(); ++i) {
        const CMatrixRow<const double> row = features.Row(i);
        EncodeFeatureRow(set.saveMode, rowOffset + i, std::span<const double>(row.data(), static_cast<size_t>(row.size())),
                         bytes);
    }
    WriteEncodedRows(set, bytes);
}

void CloseFeatureOutput(FeatureDefinitionSet& set)
{
    CFeatureOutputFiles& output = set.output;
    if (set.saveMode == kSaveCdm) {
        if (output.HasCdm()) output.Cdm().CloseWrite();
        output.cdmMatrix = nullptr;
        return;
    }
    if (set.outputOpen != 1) return;
    output.text.Close();
    output.binary.reset();
    set.outputOpen = 0;
    set.outputFile.clear();
}

}  // namespace kiv
