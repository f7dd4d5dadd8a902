#include "library/BibRecords.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <vector>

#include "base/Format.h"
#include "base/Reporter.h"

namespace kiv {

namespace {

constexpr std::array<BibPartInfo, kBlockParts> kParts = {{
    {'N', "Name", "Name"},
    {'S', "Structure", "Structure"},
    {'M', "MS", "MS"},
    {'I', "IR", "IR"},
    {'Z', "Sup", "Supplementary"},
}};

struct SupType {
    std::string_view name;
    int size;
};
constexpr std::array<SupType, 10> kSupTypes = {{
    {"char", 1},
    {"uint8", 1},
    {"uint16", 2},
    {"uint32", 4},
    {"int8", 1},
    {"int16", 2},
    {"int32", 4},
    {"int64", 8},
    {"float32", 4},
    {"float64", 8},
}};

// The record prefix: length, type letter, offset within the block.
void WritePrefix(CByteWriter& out, int64_t length, char type, int32_t offsetInBlock)
{
    out.I32(static_cast<int32_t>(length));
    out.Char(type);
    out.I32(offsetInBlock);
}

// Reads the prefix and checks the type letter (the length is checked by the block reader,
// which knows what X says).
bool ReadPrefix(CByteReader& in, int part)
{
    in.I32();
    const char type = in.Char();
    in.I32();
    const BibPartInfo& info = kParts[static_cast<size_t>(part)];
    if (type != info.letter) {
        ReportRunTimeError(Format("%s Record Typ is %c not %c", info.label, type, info.letter));
        return false;
    }
    return true;
}

bool ReportTooShort(int part, const CByteReader& in)
{
    ReportRunTimeError(Format("%s Record length %d is too short for its contents", kParts[static_cast<size_t>(part)].label,
                              static_cast<int>(in.Size())));
    return false;
}

// A string of the record, failing when the length byte promises more than is left.
bool ReadString(CByteReader& in, std::string& out)
{
    in.String(out);
    return !in.Failed();
}

uint64_t PowerOfTen(int exponent)
{
    uint64_t value = 1;
    for (int i = 0; i < exponent && i < 19; ++i) value *= 10;
    return value;
}

// Largest number of decimals each mass width can carry in the mass parameter.
int MaxDecimals(int nbyte) { return nbyte == 2 ? 19 : nbyte == 4 ? 39 : 175; }

float ToFloat32(double value)
{
    if (std::isnan(value)) return static_cast<float>(value);
    if (value > FLT_MAX) return HUGE_VALF;
    if (value < -FLT_MAX) return -HUGE_VALF;
    return static_cast<float>(value);
}

template <class T>
T At(const std::vector<T>& values, size_t i)
{
    return i < values.size() ? values[i] : T{};
}

}  // namespace

const BibPartInfo& PartInfo(int part) { return kParts[static_cast<size_t>(std::clamp(part, 0, kBlockParts - 1))]; }

size_t BibStringLength(std::string_view text) { return std::min<size_t>(text.size(), 255); }

void WriteBibString(CByteWriter& out, std::string_view text)
{
    if (text.size() <= 255) {
        out.String(text);
        return;
    }
    out.U8(255);
    out.Bytes(text.data(), 254);
    out.Char('#');
}

uint32_t ScaledToUInt32(double value, double scale)
{
    double scaled = value * scale;
    const double nearest = std::nearbyint(scaled);
    if (std::fabs(scaled - nearest) <= 1e-9 * std::max(1.0, std::fabs(nearest))) scaled = nearest;
    return TruncToUInt32(scaled);
}

int32_t EncodeRetention(double retentionTime, double retentionIndex)
{
    if (retentionTime > 0) return TruncToInt32(retentionTime * 1000 + 0.5);
    // Rounded to the nearest thousandth like the time; truncating 0.5 - RI * 1000 toward zero
    // would lose a thousandth on every copy.
    if (retentionIndex > 0) return -TruncToInt32(retentionIndex * 1000 + 0.5);
    return 0;
}

void DecodeRetention(int32_t value, double& retentionTime, double& retentionIndex)
{
    if (value >= 0) {
        retentionTime = value * 0.001;
        retentionIndex = 0;
    } else {
        retentionTime = 0;
        retentionIndex = -static_cast<double>(value) * 0.001;
    }
}

int SupTypeSize(std::string_view type)
{
    for (const SupType& t : kSupTypes) {
        if (t.name == type) return t.size;
    }
    return 0;
}

// ---- Header ----

int64_t HeaderRecordLength(const CBibHeader& header)
{
    return 21 + static_cast<int64_t>(BibStringLength(header.title) + BibStringLength(header.typ) +
                                     BibStringLength(header.comment1) + BibStringLength(header.comment2)) +
           4 * static_cast<int64_t>(header.vector.Count());
}

void WriteHeaderRecord(CByteWriter& out, const CBibHeader& header)
{
    WritePrefix(out, HeaderRecordLength(header), 'H', 0);
    WriteBibString(out, header.title);
    WriteBibString(out, header.typ);
    out.I32(header.blockCount);
    WriteBibString(out, header.comment1);
    WriteBibString(out, header.comment2);
    const int n = header.vector.Count();
    out.U32(static_cast<uint32_t>(n));
    for (int k = 1; k <= n; ++k) out.U32(TruncToUInt32(header.vector.GetFlat(k)));
}

bool ReadHeaderRecord(CByteReader& in, CBibHeader& header)
{
    const int32_t length = in.I32();
    const char type = in.Char();
    in.I32();
    if (type != 'H') {
        ReportRunTimeError(Format("Header Record Typ is %c not H", type));
        return false;
    }
    ReadString(in, header.title);
    ReadString(in, header.typ);
    header.blockCount = in.I32();
    ReadString(in, header.comment1);
    ReadString(in, header.comment2);
    const uint32_t n = in.U32();
    if (in.Failed() || !in.Has(uint64_t(4) * n)) {
        ReportRunTimeError(Format("Header Record length %d is too short for its contents", length));
        header.vector.Free();
        return false;
    }
    header.vector.Alloc(1, static_cast<int>(n));
    for (uint32_t i = 1; i <= n; ++i) header.vector.Set(1, static_cast<int>(i), in.U32());
    return true;
}

// ---- Index record ----

void WriteIndexRecord(CByteWriter& out, const BibIndexRecord& x)
{
    WritePrefix(out, kIndexRecordLength, 'X', 0);
    for (int32_t length : x.lengths) out.I32(length);
    out.I32(x.id);
    out.I32(x.blockLength);
    out.I32(x.previous);
    out.I32(x.next);
    out.I32(x.reserved);
}

BibIndexRecord DecodeIndexRecord(const unsigned char* bytes)
{
    BibIndexRecord x;
    x.length = LoadI32(bytes);
    x.type = static_cast<char>(bytes[4]);
    for (int i = 0; i < kBlockParts; ++i) x.lengths[i] = LoadI32(bytes + 9 + 4 * i);
    x.id = LoadI32(bytes + 29);
    x.blockLength = LoadI32(bytes + 33);
    x.previous = LoadI32(bytes + 37);
    x.next = LoadI32(bytes + 41);
    x.reserved = LoadI32(bytes + 45);
    return x;
}

bool CheckIndexRecord(const BibIndexRecord& x)
{
    if (x.length != kIndexRecordLength) {
        ReportRunTimeError(Format("Index Record length is %d not 49", x.length));
        return false;
    }
    if (x.type != 'X') {
        ReportRunTimeError(Format("Index Record Typ is %c not X", x.type));
        return false;
    }
    return true;
}

bool CheckPartLengths(const BibIndexRecord& x, int64_t& blockLength)
{
    blockLength = kIndexRecordLength;
    for (int part = 0; part < kBlockParts; ++part) {
        const int32_t length = x.lengths[part];
        if (length != 0 && length < kRecordPrefixLength) {
            ReportRunTimeError(Format("%s Record length %d in Index Record is wrong", kParts[static_cast<size_t>(part)].rebuildLabel, length));
            return false;
        }
        blockLength += length;
    }
    return true;
}

// ---- Name ----

int64_t NameRecordLength(const CBibName& name)
{
    return 36 + static_cast<int64_t>(BibStringLength(name.formula) + BibStringLength(name.origin) + BibStringLength(name.name));
}

void WriteNameRecord(CByteWriter& out, const CBibName& name, int32_t offsetInBlock)
{
    WritePrefix(out, NameRecordLength(name), 'N', offsetInBlock);
    out.I32(name.cas);
    out.I32(name.nominalMW);
    out.U32(ScaledToUInt32(name.mw, 10000));
    out.U32(ScaledToUInt32(name.mass2, 10000));
    WriteBibString(out, name.formula);
    WriteBibString(out, name.origin);
    out.I32(name.originNumber);
    WriteBibString(out, name.name);
    out.I32(0);
}

bool ReadNameRecord(CByteReader& in, CBibName& name)
{
    constexpr int part = static_cast<int>(BibPart::Name);
    name.empty = 1;
    if (!ReadPrefix(in, part)) return false;
    name.cas = in.I32();
    name.nominalMW = in.I32();
    name.mw = in.U32() * 0.0001;
    name.mass2 = in.U32() * 0.0001;
    ReadString(in, name.formula);
    ReadString(in, name.origin);
    name.originNumber = in.I32();
    ReadString(in, name.name);
    in.I32();
    if (in.Failed()) {
        name.Clear();
        return ReportTooShort(part, in);
    }
    name.empty = 0;
    return true;
}

// ---- Structure ----

int64_t StructureRecordLength(const CMolecule& molecule)
{
    const int64_t atoms = molecule.atomCount;
    const int64_t bonds = molecule.bondCount;
    return 13 + 20 * atoms + (atoms <= 255 ? 6 : 8) * bonds;
}

void WriteStructureRecord(CByteWriter& out, const CMolecule& m, int32_t offsetInBlock)
{
    const size_t atoms = m.atomCount;
    const size_t bonds = m.bondCount;
    WritePrefix(out, StructureRecordLength(m), 'S', offsetInBlock);
    out.U16(m.atomCount);
    out.U16(m.bondCount);
    for (size_t i = 0; i < atoms; ++i) out.U8(At(m.element, i));
    for (size_t i = 0; i < atoms; ++i) out.U8(At(m.isotope, i));
    for (size_t i = 0; i < atoms; ++i) out.I8(At(m.charge, i));
    for (size_t i = 0; i < atoms; ++i) out.U8(At(m.radical, i));
    for (size_t i = 0; i < atoms; ++i) out.U8(At(m.hydrogenCode, i));
    for (size_t i = 0; i < atoms; ++i) out.U8(At(m.atomSpare, i));
    out.Zeros(2 * atoms);
    for (size_t i = 0; i < atoms; ++i) out.F32(At(m.x, i));
    for (size_t i = 0; i < atoms; ++i) out.F32(At(m.y, i));
    for (size_t i = 0; i < atoms; ++i) out.F32(At(m.z, i));
    const bool wide = atoms > 255;
    for (const std::vector<uint16_t>* ends : {&m.bondFrom, &m.bondTo}) {
        for (size_t i = 0; i < bonds; ++i) {
            if (wide) {
                out.U16(At(*ends, i));
            } else {
                out.U8(static_cast<uint8_t>(At(*ends, i)));
            }
        }
    }
    for (size_t i = 0; i < bonds; ++i) out.U8(At(m.bondOrder, i));
    for (size_t i = 0; i < bonds; ++i) out.U8(At(m.bondStereo, i));
    out.Zeros(2 * bonds);
}

bool ReadStructureRecord(CByteReader& in, CMolecule& m)
{
    constexpr int part = static_cast<int>(BibPart::Structure);
    if (!ReadPrefix(in, part)) {
        m.Clear();
        return false;
    }
    const int atoms = in.U16();
    const int bonds = in.U16();
    const bool wide = atoms > 255;
    if (in.Failed() || !in.Has(20 * uint64_t(atoms) + (wide ? 8 : 6) * uint64_t(bonds))) {
        m.Clear();
        return ReportTooShort(part, in);
    }
    if (atoms == 0) {
        // A structure without atoms holds nothing; its bond bytes are skipped.
        m.Clear();
        return true;
    }
    // Every array is overwritten below, so sizing them (which keeps their storage from record
    // to record) is enough.
    m.empty = 0;
    m.atomCount = static_cast<uint16_t>(atoms);
    m.bondCount = static_cast<uint16_t>(bonds);
    for (auto* perAtom : {&m.element, &m.isotope, &m.radical, &m.hydrogenCode, &m.atomSpare}) perAtom->resize(static_cast<size_t>(atoms));
    m.charge.resize(static_cast<size_t>(atoms));
    for (auto* axis : {&m.x, &m.y, &m.z}) axis->resize(static_cast<size_t>(atoms));
    for (auto* ends : {&m.bondFrom, &m.bondTo}) ends->resize(static_cast<size_t>(bonds));
    for (auto* perBond : {&m.bondOrder, &m.bondStereo}) perBond->resize(static_cast<size_t>(bonds));
    auto bytes = [&](auto& target) {
        const unsigned char* p = in.Take(static_cast<uint64_t>(atoms));
        std::memcpy(target.data(), p, static_cast<size_t>(atoms));
    };
    bytes(m.element);
    bytes(m.isotope);
    bytes(m.charge);
    bytes(m.radical);
    bytes(m.hydrogenCode);
    bytes(m.atomSpare);
    in.Skip(2 * static_cast<uint64_t>(atoms));
    for (std::vector<float>* axis : {&m.x, &m.y, &m.z}) {
        const unsigned char* p = in.Take(4 * static_cast<uint64_t>(atoms));
        float* out = axis->data();
        for (int i = 0; i < atoms; ++i) {
            const uint32_t bits = LoadU32(p + 4 * i);
            std::memcpy(out + i, &bits, 4);
        }
    }
    for (std::vector<uint16_t>* ends : {&m.bondFrom, &m.bondTo}) {
        const unsigned char* p = in.Take((wide ? 2 : 1) * static_cast<uint64_t>(bonds));
        uint16_t* out = ends->data();
        if (wide) {
            for (int i = 0; i < bonds; ++i) out[i] = LoadU16(p + 2 * i);
        } else {
            for (int i = 0; i < bonds; ++i) out[i] = p[i];
        }
    }
    if (bonds > 0) {
        std::memcpy(m.bondOrder.data(), in.Take(static_cast<uint64_t>(bonds)), static_cast<size_t>(bonds));
        std::memcpy(m.bondStereo.data(), in.Take(static_cast<uint64_t>(bonds)), static_cast<size_t>(bonds));
    }
    in.Skip(2 * static_cast<uint64_t>(bonds));
    return true;
}

// ---- Mass spectrum ----

namespace {

// The stored mass range of a vector spectrum: firstMass..lastMass, at most 65,535 values.
void VectorRange(const CMassSpectrum& s, int& first, int& last)
{
    last = s.lastMass;
    first = std::min<int>(s.firstMass, last);
    if (last - first + 1 > 65535) first = last - 65534;
}

// Stored masses of a peak list: unsigned 16- or 32-bit, or signed 64-bit integers.
template <int Width>
void DecodeMasses(const unsigned char* p, int n, double* out)
{
    for (int j = 0; j < n; ++j) {
        if constexpr (Width == 2) {
            out[j] = LoadU16(p + 2 * j);
        } else if constexpr (Width == 4) {
            out[j] = LoadU32(p + 4 * j);
        } else {
            out[j] = static_cast<double>(static_cast<int64_t>(LoadU64(p + 8 * j)));
        }
    }
}

// Empties a matrix, parking its storage in the spare slot when that is free.
void Park(CMatrix& matrix, CMatrix* slot)
{
    if (slot && slot->IsEmpty()) {
        std::swap(matrix, *slot);
    } else {
        matrix.Free();
    }
}

// Takes parked storage back into an empty matrix before it is allocated again.
void Unpark(CMatrix& matrix, CMatrix* slot)
{
    if (slot && matrix.IsEmpty() && !slot->IsEmpty()) std::swap(matrix, *slot);
}

int PeakCount(const CMassSpectrum& s) { return s.peaks.Rows() >= 2 ? std::min(s.peaks.Cols(), 65535) : 0; }

int PeakDecimals(const CMassSpectrum& s) { return std::clamp(s.ndec, 0, MaxDecimals(s.nbyte)); }

// Rounded half up: for the masses of real spectra this is "+ 0.5, truncated"; a negative value
// (only damaged data has one) would otherwise move by one unit on every copy. Truncation is
// floor for the non-negative values below 2^52 that real masses give, without a call to floor.
double ScaledMass(double mass, double scale)
{
    const double shifted = mass * scale + 0.5;
    return shifted >= 0 && shifted < 4503599627370496.0 ? static_cast<double>(static_cast<int64_t>(shifted))
                                                        : std::floor(shifted);
}

void WriteMass(CByteWriter& out, double mass, int nbyte, double scale)
{
    const double scaled = ScaledMass(mass, scale);
    switch (nbyte) {
    case 2: out.U16(TruncToUInt16(scaled)); break;
    case 4: out.U32(TruncToUInt32(scaled)); break;
    default: out.I64(TruncToInt64(scaled)); break;
    }
}

// Values as consecutive 16-bit fields, assembled in one piece: a spectrum has hundreds of them.
template <typename Field>
void WriteU16Fields(CByteWriter& out, int first, int last, Field field)
{
    thread_local std::vector<unsigned char> bytes;
    bytes.resize(2 * static_cast<size_t>(std::max(0, last - first + 1)));
    unsigned char* p = bytes.data();
    for (int j = first; j <= last; ++j, p += 2) StoreU16(p, field(j));
    out.Bytes(bytes.data(), bytes.size());
}

}  // namespace

int64_t MassRecordLength(const CMassSpectrum& s)
{
    const int64_t comment = static_cast<int64_t>(BibStringLength(s.comment));
    if (s.isVector) {
        int first, last;
        VectorRange(s, first, last);
        return 37 + 2 * int64_t(last - first + 1) + comment;
    }
    return 31 + int64_t(PeakCount(s)) * (s.nbyte + 2) + s.nbyte + comment;
}

bool WriteMassRecord(CByteWriter& out, const CMassSpectrum& s, int32_t offsetInBlock)
{
    if (!s.isVector && s.nbyte != 2 && s.nbyte != 4 && s.nbyte != 8) {
        ReportRunTimeError(Format("Error in nbyte %d", s.nbyte));
        return false;
    }
    WritePrefix(out, MassRecordLength(s), 'M', offsetInBlock);
    if (s.isVector) {
        int first, last;
        VectorRange(s, first, last);
        out.U8(0);
        out.U16(static_cast<uint16_t>(last - first + 1));
        out.U16(static_cast<uint16_t>(first));
        out.U16(static_cast<uint16_t>(last));
        WriteU16Fields(out, first, last, [&s](int m) { return TruncToUInt16(s.vector.Get(1, m) * 100 + 0.5); });
        out.U16(TruncToUInt16(s.basePeakMass + 0.5));
    } else {
        // Decimals beyond what the mass parameter can carry for this width are cut to the most
        // it can (far beyond the precision of a double anyway).
        const int ndec = PeakDecimals(s);
        const double scale = std::pow(10.0, ndec);
        const int n = PeakCount(s);
        out.U8(static_cast<uint8_t>(s.nbyte * 10 + ndec));
        out.U16(static_cast<uint16_t>(n));
        // PeakCount makes sure of both rows and of n columns.
        const CMatrixRow<const double> masses = s.peaks.Row(1);
        const CMatrixRow<const double> intensities = s.peaks.Row(2);
        if (s.nbyte == 2) {
            WriteU16Fields(out, 1, n, [masses, scale](int j) { return TruncToUInt16(ScaledMass(masses[j], scale)); });
        } else {
            for (int j = 1; j <= n; ++j) WriteMass(out, masses[j], s.nbyte, scale);
        }
        WriteU16Fields(out, 1, n, [intensities](int j) { return TruncToUInt16(intensities[j] * 100 + 0.5); });
        WriteMass(out, s.basePeakMass, s.nbyte, scale);
    }
    out.I32(static_cast<int32_t>(s.basePeakIntensity));
    out.I32(s.tic);
    out.I32(EncodeRetention(s.retentionTime, s.retentionIndex));
    out.U16(s.quality);
    out.I32(0);
    WriteBibString(out, s.comment);
    return true;
}

bool ReadMassRecord(CByteReader& in, CMassSpectrum& s, CSpectrumSpare* spare)
{
    constexpr int part = static_cast<int>(BibPart::Mass);
    s.empty = 1;
    if (!ReadPrefix(in, part)) return false;
    const int parameter = in.U8();
    const int n = in.U16();
    if (in.Failed()) return ReportTooShort(part, in);
    if (parameter == 0) {
        const int first = in.U16();
        const int last = in.U16();
        if (in.Failed() || !in.Has(2 * uint64_t(n) + 2)) return ReportTooShort(part, in);
        if (last < first || last - first + 1 != n) {
            ReportRunTimeError(Format("MS Record holds %d values for masses %d to %d", n, first, last));
            return false;
        }
        s.isVector = 1;
        s.nbyte = 2;
        s.ndec = 0;
        s.firstMass = static_cast<uint16_t>(first);
        s.lastMass = static_cast<uint16_t>(last);
        s.count = static_cast<uint16_t>(n);
        Park(s.peaks, spare ? &spare->peaks : nullptr);
        Unpark(s.vector, spare ? &spare->vector : nullptr);
        s.vector.Alloc(1, last);
        const unsigned char* p = in.Take(2 * uint64_t(n));
        if (last > 0) {
            double* column = s.vector.Row(1).data() - 1;  // column[m] is mass m
            // Mass 0 has no column; a vector starting there stores one value too many.
            const int skip = first == 0 ? 1 : 0;
            for (int i = skip; i < n; ++i) column[first + i] = LoadU16(p + 2 * i) * 0.01;
        }
        s.basePeakMass = in.U16();
    } else if (parameter < 20) {
        ReportRunTimeError(Format("MS mass-parameter wrong %d", parameter));
        return false;
    } else {
        const int nbyte = parameter < 40 ? 2 : parameter < 80 ? 4 : 8;
        const int ndec = parameter - 10 * nbyte;
        if (!in.Has(uint64_t(n) * (nbyte + 2) + nbyte)) return ReportTooShort(part, in);
        s.isVector = 0;
        s.nbyte = nbyte;
        s.ndec = ndec;
        s.count = static_cast<uint16_t>(n);
        s.firstMass = s.lastMass = 0;
        Park(s.vector, spare ? &spare->vector : nullptr);
        Unpark(s.peaks, spare ? &spare->peaks : nullptr);
        s.peaks.Alloc(2, n);
        // Division by an exact power of ten (as long as one fits 64 bits) keeps the masses as
        // close to their decimal values as a double allows.
        const double divisor = ndec <= 19 ? static_cast<double>(PowerOfTen(ndec)) : std::pow(10.0, ndec);
        const unsigned char* masses = in.Take(uint64_t(n) * nbyte);
        const unsigned char* intensities = in.Take(2 * uint64_t(n));
        const unsigned char* basePeak = in.Take(nbyte);
        if (n > 0) {
            double* out = s.peaks.Row(1).data();
            switch (nbyte) {
            case 2: DecodeMasses<2>(masses, n, out); break;
            case 4: DecodeMasses<4>(masses, n, out); break;
            default: DecodeMasses<8>(masses, n, out); break;
            }
            if (ndec != 0) {
                for (int j = 0; j < n; ++j) out[j] /= divisor;
            }
            out = s.peaks.Row(2).data();
            for (int j = 0; j < n; ++j) out[j] = LoadU16(intensities + 2 * j) * 0.01;
        }
        double base;
        switch (nbyte) {
        case 2: DecodeMasses<2>(basePeak, 1, &base); break;
        case 4: DecodeMasses<4>(basePeak, 1, &base); break;
        default: DecodeMasses<8>(basePeak, 1, &base); break;
        }
        s.basePeakMass = base / divisor;
    }
    s.basePeakIntensity = static_cast<uint32_t>(in.I32());
    s.tic = in.I32();
    DecodeRetention(in.I32(), s.retentionTime, s.retentionIndex);
    s.quality = in.U16();
    in.I32();
    ReadString(in, s.comment);
    if (in.Failed()) return ReportTooShort(part, in);
    s.empty = 0;
    return true;
}

// ---- Infrared ----

int64_t InfraredRecordLength(const CIrSpectrum& ir)
{
    const int64_t n = std::min<int64_t>(static_cast<int64_t>(ir.points.size()), 65535);
    return 38 + int64_t(ir.pointWidth) * n + static_cast<int64_t>(BibStringLength(ir.text1) + BibStringLength(ir.text2));
}

bool WriteInfraredRecord(CByteWriter& out, const CIrSpectrum& ir, int32_t offsetInBlock)
{
    const int width = ir.pointWidth;
    if (width != 1 && width != 2 && width != 4 && width != 8) {
        ReportRunTimeError(Format("IR illegal nbyte value %d", width));
        return false;
    }
    const size_t n = std::min<size_t>(ir.points.size(), 65535);
    WritePrefix(out, InfraredRecordLength(ir), 'I', offsetInBlock);
    out.U16(ir.kind);
    out.U16(static_cast<uint16_t>(n));
    for (int32_t a : ir.axis) out.I32(a);
    out.U8(static_cast<uint8_t>(width));
    for (size_t i = 0; i < n; ++i) {
        const int64_t v = ir.points[i];
        switch (width) {
        case 1: out.U8(static_cast<uint8_t>(std::clamp<int64_t>(v, 0, UINT8_MAX))); break;
        case 2: out.U16(static_cast<uint16_t>(std::clamp<int64_t>(v, 0, UINT16_MAX))); break;
        case 4: out.U32(static_cast<uint32_t>(std::clamp<int64_t>(v, 0, UINT32_MAX))); break;
        default: out.I64(v); break;
        }
    }
    out.I32(ir.parameter4);
    out.U16(TruncToUInt16(static_cast<double>(ir.scale) * 100 + 0.5));
    WriteBibString(out, ir.text1);
    out.I32(ir.reserved);
    WriteBibString(out, ir.text2);
    return true;
}

bool ReadInfraredRecord(CByteReader& in, CIrSpectrum& ir)
{
    constexpr int part = static_cast<int>(BibPart::Infrared);
    ir.Clear();
    if (!ReadPrefix(in, part)) return false;
    ir.kind = in.U16();
    ir.pointCount = in.U16();
    for (int32_t& a : ir.axis) a = in.I32();
    const int width = in.U8();
    if (in.Failed()) return ReportTooShort(part, in);
    if (width != 1 && width != 2 && width != 4 && width != 8) {
        ReportRunTimeError(Format("IR illegal nbyte value %d", width));
        ir.Clear();
        return false;
    }
    ir.pointWidth = static_cast<uint8_t>(width);
    if (!in.Has(uint64_t(width) * ir.pointCount)) {
        ir.Clear();
        return ReportTooShort(part, in);
    }
    ir.points.resize(ir.pointCount);
    for (int64_t& v : ir.points) {
        switch (width) {
        case 1: v = in.U8(); break;
        case 2: v = in.U16(); break;
        case 4: v = in.U32(); break;
        default: v = in.I64(); break;
        }
    }
    ir.parameter4 = in.I32();
    ir.scale = static_cast<float>(in.U16() * 0.01);
    ReadString(in, ir.text1);
    ir.reserved = in.I32();
    ReadString(in, ir.text2);
    if (in.Failed()) {
        ir.Clear();
        return ReportTooShort(part, in);
    }
    ir.empty = 0;
    return true;
}

// ---- Supplementary data ----

namespace {

size_t SupItemCount(const CSupData& sup) { return std::min<size_t>(sup.items.size(), 255); }
int SupRows(const CSupItem& item) { return std::min(item.values.Rows(), 65535); }
int SupCols(const CSupItem& item) { return std::min(item.values.Cols(), 65535); }

void WriteSupValue(CByteWriter& out, std::string_view type, double v)
{
    if (type == "char" || type == "int8") {
        out.I8(TruncToInt8(v));
    } else if (type == "uint8") {
        out.U8(TruncToUInt8(v));
    } else if (type == "uint16") {
        out.U16(TruncToUInt16(v));
    } else if (type == "uint32") {
        out.U32(TruncToUInt32(v));
    } else if (type == "int16") {
        out.I16(TruncToInt16(v));
    } else if (type == "int32") {
        out.I32(TruncToInt32(v));
    } else if (type == "int64") {
        out.I64(TruncToInt64(v));
    } else if (type == "float32") {
        out.F32(ToFloat32(v));
    } else {
        out.F64(v);
    }
}

double ReadSupValue(CByteReader& in, std::string_view type)
{
    if (type == "char" || type == "int8") return in.I8();
    if (type == "uint8") return in.U8();
    if (type == "uint16") return in.U16();
    if (type == "uint32") return in.U32();
    if (type == "int16") return in.I16();
    if (type == "int32") return in.I32();
    if (type == "int64") return static_cast<double>(in.I64());
    if (type == "float32") return in.F32();
    return in.F64();
}

}  // namespace

int64_t SupRecordLength(const CSupData& sup)
{
    int64_t length = 10;
    for (size_t i = 0; i < SupItemCount(sup); ++i) {
        const CSupItem& item = sup.items[i];
        length += static_cast<int64_t>(BibStringLength(item.name) + 1 + BibStringLength(item.type) + 1) + 4 +
                  int64_t(SupRows(item)) * SupCols(item) * SupTypeSize(item.type);
    }
    return length;
}

bool WriteSupRecord(CByteWriter& out, const CSupData& sup, int32_t offsetInBlock)
{
    const size_t count = SupItemCount(sup);
    for (size_t i = 0; i < count; ++i) {
        if (SupTypeSize(sup.items[i].type) == 0) {
            ReportRunTimeError(Format("Sup Record illegal data type %s", sup.items[i].type.c_str()));
            return false;
        }
    }
    WritePrefix(out, SupRecordLength(sup), 'Z', offsetInBlock);
    out.U8(static_cast<uint8_t>(count));
    for (size_t i = 0; i < count; ++i) {
        const CSupItem& item = sup.items[i];
        const int rows = SupRows(item);
        const int cols = SupCols(item);
        WriteBibString(out, item.name);
        WriteBibString(out, item.type);
        out.U16(static_cast<uint16_t>(rows));
        out.U16(static_cast<uint16_t>(cols));
        for (int r = 1; r <= rows; ++r) {
            for (int c = 1; c <= cols; ++c) WriteSupValue(out, item.type, item.values.Get(r, c));
        }
    }
    return true;
}

bool ReadSupRecord(CByteReader& in, CSupData& sup)
{
    constexpr int part = static_cast<int>(BibPart::Sup);
    sup.Clear();
    if (!ReadPrefix(in, part)) return false;
    const int count = in.U8();
    for (int i = 0; i < count; ++i) {
        CSupItem item;
        ReadString(in, item.name);
        ReadString(in, item.type);
        const int rows = in.U16();
        const int cols = in.U16();
        if (in.Failed()) {
            sup.Clear();
            return ReportTooShort(part, in);
        }
        const int size = SupTypeSize(item.type);
        if (size == 0) {
            ReportRunTimeError(Format("Sup Record illegal data type %s", item.type.c_str()));
            sup.Clear();
            return false;
        }
        if (!in.Has(uint64_t(rows) * uint64_t(cols) * uint64_t(size))) {
            sup.Clear();
            return ReportTooShort(part, in);
        }
        item.values.Alloc(rows, cols);
        for (int r = 1; r <= rows; ++r) {
            for (int c = 1; c <= cols; ++c) item.values.Set(r, c, ReadSupValue(in, item.type));
        }
        sup.items.push_back(std::move(item));
    }
    sup.empty = 0;
    return true;
}

// ---- Blocks ----

bool PartPresent(const CBibRecord& record, int part)
{
    switch (static_cast<BibPart>(part)) {
    case BibPart::Name: return !record.name.empty;
    case BibPart::Structure: return !record.molecule.empty;
    case BibPart::Mass: return !record.spectrum.empty;
    case BibPart::Infrared: return !record.ir.empty;
    case BibPart::Sup: return !record.sup.empty && !record.sup.items.empty();
    }
    return false;
}

namespace {

int64_t PartLength(const CBibRecord& record, int part)
{
    if (!PartPresent(record, part)) return 0;
    switch (static_cast<BibPart>(part)) {
    case BibPart::Name: return NameRecordLength(record.name);
    case BibPart::Structure: return StructureRecordLength(record.molecule);
    case BibPart::Mass: return MassRecordLength(record.spectrum);
    case BibPart::Infrared: return InfraredRecordLength(record.ir);
    case BibPart::Sup: return SupRecordLength(record.sup);
    }
    return 0;
}

bool WritePart(CByteWriter& out, const CBibRecord& record, int part, int32_t offsetInBlock)
{
    switch (static_cast<BibPart>(part)) {
    case BibPart::Name: WriteNameRecord(out, record.name, offsetInBlock); return true;
    case BibPart::Structure: WriteStructureRecord(out, record.molecule, offsetInBlock); return true;
    case BibPart::Mass: return WriteMassRecord(out, record.spectrum, offsetInBlock);
    case BibPart::Infrared: return WriteInfraredRecord(out, record.ir, offsetInBlock);
    case BibPart::Sup: return WriteSupRecord(out, record.sup, offsetInBlock);
    }
    return false;
}

bool ReadPart(CByteReader& in, CBibRecord& record, int part, CSpectrumSpare* spare)
{
    switch (static_cast<BibPart>(part)) {
    case BibPart::Name: return ReadNameRecord(in, record.name);
    case BibPart::Structure: return ReadStructureRecord(in, record.molecule);
    case BibPart::Mass: return ReadMassRecord(in, record.spectrum, spare);
    case BibPart::Infrared: return ReadInfraredRecord(in, record.ir);
    case BibPart::Sup: return ReadSupRecord(in, record.sup);
    }
    return false;
}

void ClearPart(CBibRecord& record, int part, CSpectrumSpare* spare)
{
    switch (static_cast<BibPart>(part)) {
    case BibPart::Name: record.name.Clear(); break;
    case BibPart::Structure: record.molecule.Clear(); break;
    case BibPart::Mass:
        if (spare) {
            Park(record.spectrum.peaks, &spare->peaks);
            Park(record.spectrum.vector, &spare->vector);
        }
        record.spectrum.Clear();
        break;
    case BibPart::Infrared: record.ir.Clear(); break;
    case BibPart::Sup: record.sup.Clear(); break;
    }
}

// The written length of a record must match its formula: a mismatch means encoder and length
// formula disagree, and the block would break the chain of the file.
bool CheckWritten(const char* letter, int64_t start, int64_t end, int64_t expected)
{
    if (end - start == expected) return true;
    ReportRunTimeError(Format("ERROR in record %s length! %lld - %lld = %lld", letter, static_cast<long long>(end),
                              static_cast<long long>(start), static_cast<long long>(expected)));
    return false;
}

}  // namespace

bool EncodeBlock(std::string& buffer, const CBibRecord& record, int64_t filePosition)
{
    BibIndexRecord x;
    int64_t total = kIndexRecordLength;
    for (int part = 0; part < kBlockParts; ++part) {
        const int64_t length = PartLength(record, part);
        total += length;
        if (total > INT32_MAX) {
            ReportRunTimeError(Format("%s Record of ID# %d is too long for a BIB", kParts[static_cast<size_t>(part)].label, record.id));
            return false;
        }
        x.lengths[part] = static_cast<int32_t>(length);
    }
    x.id = record.id;
    CByteWriter out(buffer);
    const int64_t base = filePosition - static_cast<int64_t>(buffer.size());
    int64_t start = filePosition;
    WriteIndexRecord(out, x);
    if (!CheckWritten("X", start, base + static_cast<int64_t>(buffer.size()), kIndexRecordLength)) return false;
    int32_t offsetInBlock = kIndexRecordLength;
    for (int part = 0; part < kBlockParts; ++part) {
        if (x.lengths[part] == 0) continue;
        start = base + static_cast<int64_t>(buffer.size());
        if (!WritePart(out, record, part, offsetInBlock)) return false;
        const char letter[2] = {kParts[static_cast<size_t>(part)].letter, '\0'};
        if (!CheckWritten(letter, start, base + static_cast<int64_t>(buffer.size()), x.lengths[part])) return false;
        offsetInBlock += x.lengths[part];
    }
    return true;
}

bool DecodeBlockBody(const unsigned char* body, size_t size, const BibIndexRecord& x, CBibRecord& record,
                     CSpectrumSpare* spare)
{
    record.id = x.id;
    size_t offset = 0;
    bool ok = true;
    for (int part = 0; part < kBlockParts; ++part) {
        const int32_t length = x.lengths[part];
        if (length == 0) {
            ClearPart(record, part, spare);
            continue;
        }
        if (length < kRecordPrefixLength || static_cast<size_t>(length) > size - offset) {
            // Where the records after this one start is unknown now.
            ReportRunTimeError(Format("%s Record length %d in Index Record is wrong", kParts[static_cast<size_t>(part)].rebuildLabel, length));
            for (int rest = part; rest < kBlockParts; ++rest) ClearPart(record, rest, spare);
            return false;
        }
        // Each record starts where X says, whatever the record before it consumed, so a bad
        // record is reported, left empty and skipped, and the next one is read.
        const unsigned char* p = body + offset;
        offset += static_cast<size_t>(length);
        const int32_t own = LoadI32(p);
        if (own != length) {
            ReportRunTimeError(Format("%s Record length is %d not %d", kParts[static_cast<size_t>(part)].rebuildLabel, own, length));
            ClearPart(record, part, spare);
            ok = false;
            continue;
        }
        CByteReader in(p, static_cast<size_t>(length));
        if (!ReadPart(in, record, part, spare)) {
            ClearPart(record, part, spare);
            ok = false;
        }
    }
    return ok;
}

}  // namespace kiv
