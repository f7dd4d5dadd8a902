#include "import/MspReader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "base/Format.h"
#include "base/Numbers.h"
#include "import/MspEncoding.h"
#include "import/MspFields.h"
#include "import/SpectrumFinish.h"
#include "import/TextScan.h"

namespace kiv {

namespace {

// A spectrum's peak count is a 16-bit field of the library format.
constexpr size_t kMaxPeaks = 65535;

// The start of a faulty line, for the message.
std::string Quoted(std::string_view text) { return "\"" + std::string(text.substr(0, 60)) + "\""; }

constexpr const char* kWithoutName = "a record without a name";

// How a message names a record: by its name when it has one.
std::string RecordLabel(const std::string& name) { return name.empty() ? "record" : "record \"" + name + "\""; }

// The narrowest stored mass width that holds every mass with the given decimals.
int MassWidth(const CMspPeakList& peaks)
{
    double largest = 0;
    for (double m : peaks.masses) largest = std::max(largest, m);
    const double stored = std::floor(largest * std::pow(10.0, peaks.decimals) + 0.5);
    if (stored <= 65535) return 2;
    if (stored <= 4294967295.0) return 4;
    return 8;
}

}  // namespace

bool CMspReader::Open(const std::string& path)
{
    path_ = path;
    havePending_ = false;
    draft_ = Draft();
    return lines_.Open(path);
}

MspStatus CMspReader::Next(CBibRecord& record)
{
    draft_.open = false;
    if (havePending_) {
        havePending_ = false;
        HandleLine(pending_, record);
    }
    std::string_view line;
    while (lines_.ReadLine(line)) {
        if (lines_.LineNumber() == 1 && StartsWithByteOrderMark(line)) line.remove_prefix(3);
        if (HandleLine(line, record)) return Finish(record);
    }
    return draft_.open ? Finish(record) : MspStatus::End;
}

void CMspReader::Begin(CBibRecord& record)
{
    Draft& d = draft_;
    d.open = true;
    d.named = false;
    d.sawPeaks = false;
    d.firstLine = lines_.LineNumber();
    d.damageLine = 0;
    d.damage.clear();
    d.numPeaksLine = 0;
    d.numPeaks = -1;
    d.retentionIndex = 0;
    d.retentionTime = 0;
    d.tic = -1;
    d.peaks.Clear();
    const int32_t id = record.id;
    record.Clear();
    record.id = id;
    StartName(record.name);
}

void CMspReader::Damage(std::string_view what, int64_t line)
{
    if (draft_.damageLine != 0) return;  // the first fault tells
    draft_.damageLine = line > 0 ? line : lines_.LineNumber();
    draft_.damage.assign(what);
}

bool CMspReader::HandleLine(std::string_view line, CBibRecord& record)
{
    const std::string_view text = TrimBlanks(line);
    Draft& d = draft_;
    if (text.empty()) {
        // Blank lines between "Num Peaks:" and its peaks do not end the record.
        const bool awaitingPeaks = d.numPeaks > 0 && !d.sawPeaks;
        return d.open && !awaitingPeaks;
    }
    if (IsPeakLine(text)) {
        if (!d.open) Begin(record);
        d.sawPeaks = true;
        // Peaks follow the name; without one the record is damaged from its start, and the peaks
        // of a damaged record are not kept, so that a damaged file cannot fill the memory.
        if (!d.named) Damage(kWithoutName, d.firstLine);
        if (d.damageLine != 0) return false;
        if (const char* problem = ReadPeakLine(text, d.peaks)) {
            Damage(std::string(problem) + " in " + Quoted(text));
        }
        if (d.peaks.Size() > kMaxPeaks) Damage("more than 65535 peaks");
        return false;
    }
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0) {
        if (!d.open) Begin(record);
        Damage("neither a field nor peaks: " + Quoted(text));
        return false;
    }
    const std::string_view key = TrimBlanks(text.substr(0, colon));
    const std::string_view value = TrimBlanks(text.substr(colon + 1));
    const MspField field = FieldOfKey(key);
    if (d.open && (d.sawPeaks || (d.named && field == MspField::Name))) {
        pending_ = line;
        havePending_ = true;
        return true;
    }
    if (!d.open) Begin(record);
    HandleField(field, value, record);
    return false;
}

void CMspReader::HandleField(MspField field, std::string_view value, CBibRecord& record)
{
    for (;;) {
        ApplyField(field, value, record);
        // NIST writes "CAS#: 50-00-0; NIST#: 1234": the rest after ";" is a field of its own.
        if (field != MspField::Cas && field != MspField::NistNumber) return;
        const size_t semicolon = value.find(';');
        if (semicolon == std::string_view::npos) return;
        const std::string_view rest = TrimBlanks(value.substr(semicolon + 1));
        const size_t colon = rest.find(':');
        if (colon == std::string_view::npos || colon == 0) return;
        field = FieldOfKey(TrimBlanks(rest.substr(0, colon)));
        value = TrimBlanks(rest.substr(colon + 1));
    }
}

void CMspReader::ApplyField(MspField field, std::string_view value, CBibRecord& record)
{
    CBibName& name = record.name;
    switch (field) {
    case MspField::Name:
        name.name = MspTextToLatin1(value);
        draft_.named = !name.name.empty();
        break;
    case MspField::Formula: name.formula = MspTextToLatin1(value); break;
    case MspField::MolecularWeight: name.mw = ParseReal(value); break;
    case MspField::NominalWeight: name.nominalMW = ParseInt(value); break;
    case MspField::ExactMass: name.mass2 = ParseReal(value); break;
    case MspField::Cas: name.cas = CasNumberOf(value); break;
    case MspField::NistNumber: name.originNumber = ParseInt(value.substr(0, value.find(';'))); break;
    case MspField::Origin: name.origin = MspTextToLatin1(value); break;
    case MspField::RetentionIndex: draft_.retentionIndex = RetentionIndexOf(value); break;
    case MspField::RetentionTime: draft_.retentionTime = UsableRetention(ParseReal(value)); break;
    case MspField::Comment: record.spectrum.comment = MspTextToLatin1(value); break;
    case MspField::NumPeaks:
        draft_.numPeaks = ParseInt(value);
        draft_.numPeaksLine = lines_.LineNumber();
        break;
    case MspField::Tic: draft_.tic = ParseInt(value); break;
    case MspField::Synonym:
    case MspField::Other: break;
    }
}

bool CMspReader::BuildSpectrum(CMassSpectrum& spectrum)
{
    const CMspPeakList& peaks = draft_.peaks;
    const int n = static_cast<int>(peaks.Size());
    const std::string comment = std::move(spectrum.comment);
    StartSpectrum(spectrum, MassWidth(peaks), peaks.decimals);
    spectrum.comment = comment;
    if (!spectrum.peaks.Alloc(2, n)) return false;
    spectrum.count = static_cast<uint16_t>(n);
    if (n > 0) {
        std::copy(peaks.masses.begin(), peaks.masses.end(), spectrum.peaks.Row(1).data());
        std::copy(peaks.intensities.begin(), peaks.intensities.end(), spectrum.peaks.Row(2).data());
    }
    FinishSpectrum(spectrum);
    if (draft_.tic >= 0) spectrum.tic = draft_.tic;
    const double fromComment = RetentionIndexInComment(spectrum.comment);
    const double index = draft_.retentionIndex > 0 ? draft_.retentionIndex : fromComment;
    spectrum.retentionIndex = index;
    spectrum.retentionTime = index > 0 ? 0 : draft_.retentionTime;
    // A record without peaks, retention value or comment has no spectrum part.
    if (n == 0 && spectrum.retentionIndex <= 0 && spectrum.retentionTime <= 0 && spectrum.comment.empty()) {
        spectrum.Clear();
    }
    return true;
}

MspStatus CMspReader::Finish(CBibRecord& record)
{
    Draft& d = draft_;
    d.open = false;
    if (!d.named) Damage(kWithoutName, d.firstLine);
    if (d.damageLine != 0) {
        log_.push_back(Format("%s, line %lld: %s; %s skipped", path_.c_str(), static_cast<long long>(d.damageLine),
                              d.damage.c_str(), RecordLabel(record.name.name).c_str()));
        return MspStatus::Damaged;
    }
    const size_t read = d.peaks.Size();
    if (d.numPeaks >= 0 && static_cast<size_t>(d.numPeaks) != read) {
        log_.push_back(Format("%s, line %lld: %s declares %d peaks, %zu read; the peaks read are kept", path_.c_str(),
                              static_cast<long long>(d.numPeaksLine), RecordLabel(record.name.name).c_str(),
                              d.numPeaks, read));
    }
    if (!BuildSpectrum(record.spectrum)) {
        log_.push_back(Format("%s, line %lld: no memory for the peaks; %s skipped", path_.c_str(),
                              static_cast<long long>(d.firstLine), RecordLabel(record.name.name).c_str()));
        return MspStatus::Damaged;
    }
    return MspStatus::Record;
}

}  // namespace kiv
