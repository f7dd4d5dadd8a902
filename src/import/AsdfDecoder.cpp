#include "import/AsdfDecoder.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "base/BinaryIO.h"
#include "base/Numbers.h"

namespace kiv {

namespace {

// A repeat count can ask for any number of values; a line of a real spectrum never holds more.
constexpr size_t kMaxValuesPerLine = size_t(1) << 20;

// Zero bytes after the decoder's copy of a line: the digits of a number are looked at 8 bytes
// at a time, and a zero byte ends the line, so no step checks for its end.
constexpr size_t kPadding = 16;

// What each character of a compressed line is, looked up once per character: a line of a
// continuous spectrum holds hundreds of them. A value (AFFN, PAC, SQZ), a difference (DIF) and a
// repeat count (DUP) are read the same way.
enum class CharRole : uint8_t { Value, Difference, Repeat, Blank, Missing, Comment, Zero, Bad };

struct CCharClass {
    CharRole role = CharRole::Bad;
    uint8_t prefix = 1;  // 1 when the digits of the number follow the character, 0 when it is one
    char first = 0;  // the digit a SQZ, DIF or DUP character stands for, 0 when none
    bool negative = false;
    bool needsDigits = false;  // a sign is no number without digits after it
    uint8_t lead = 0;  // the value of first
};

struct CCharTable {
    CCharClass entries[256];
    constexpr CCharTable()
    {
        Fill();
        for (CCharClass& entry : entries) entry.lead = entry.first ? static_cast<uint8_t>(entry.first - '0') : 0;
    }
    constexpr void Fill()
    {
        for (char c = '0'; c <= '9'; ++c) entries[static_cast<unsigned char>(c)] = {CharRole::Value, 0, 0, false, true};
        entries[static_cast<unsigned char>('.')] = {CharRole::Value, 0, 0, false, true};
        for (char c : {' ', '\t', ',', ';', '\r', '\n'}) entries[static_cast<unsigned char>(c)].role = CharRole::Blank;
        entries[static_cast<unsigned char>('+')] = {CharRole::Value, 1, 0, false, true};
        entries[static_cast<unsigned char>('-')] = {CharRole::Value, 1, 0, true, true};
        entries[static_cast<unsigned char>('?')].role = CharRole::Missing;
        entries[static_cast<unsigned char>('$')].role = CharRole::Comment;
        entries[0] = {CharRole::Zero, 0, 0, false, false};
        entries[static_cast<unsigned char>('@')] = {CharRole::Value, 1, '0', false, false};
        entries[static_cast<unsigned char>('%')] = {CharRole::Difference, 1, '0', false, false};
        for (int d = 1; d <= 9; ++d) {
            const char digit = static_cast<char>('0' + d);
            entries['A' + d - 1] = {CharRole::Value, 1, digit, false, false};
            entries['a' + d - 1] = {CharRole::Value, 1, digit, true, false};
            entries['J' + d - 1] = {CharRole::Difference, 1, digit, false, false};
            entries['j' + d - 1] = {CharRole::Difference, 1, digit, true, false};
        }
        for (int d = 1; d <= 8; ++d) {
            entries['S' + d - 1] = {CharRole::Repeat, 1, static_cast<char>('0' + d), false, false};
        }
        entries[static_cast<unsigned char>('s')] = {CharRole::Repeat, 1, '9', false, false};
    }
};

constexpr CCharTable kCharTable;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The digits at the start of 8 bytes: their count (8 when all are digits) and, for fewer than
// 8, their value. Eight bytes are looked at together: the count of digits of the numbers of a
// line varies from number to number, and a loop that ends after each of them costs a
// mispredicted branch per number.
struct CDigitRun {
    int count;
    uint64_t value;
};

inline CDigitRun LeadingDigits(const char* p)
{
    const uint64_t bytes = LoadU64(reinterpret_cast<const unsigned char*>(p));
    constexpr uint64_t kHigh = 0xF0F0F0F0F0F0F0F0ULL, kZeros = 0x3030303030303030ULL;
    // A byte is a digit when its high half is 3 and stays 3 after adding 6. A carry out of a
    // byte above 0xF9 only reaches the bytes after the first one that is no digit.
    const uint64_t other = ((bytes & kHigh) ^ kZeros) | (((bytes + 0x0606060606060606ULL) & kHigh) ^ kZeros);
    const int count = other ? __builtin_ctzll(other) / 8 : 8;
    // The digits moved to the top bytes (zeros in front), then summed pairwise; none when count
    // is 0 (a shift by 64 bits is no shift on this processor), no matter when it is 8.
    const unsigned shift = 8 * static_cast<unsigned>(8 - count);
    uint64_t digits = shift < 64 ? (bytes - kZeros) << shift : 0;
    digits = digits * 10 + (digits >> 8);
    digits = (((digits & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32)))
              + (((digits >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >> 32;
    return {count, digits & 0xFFFFFFFFULL};
}

constexpr uint64_t kPowersOfTen[8] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};

// A number with a decimal point or more than 7 digits, from p on (after its SQZ, DIF or DUP
// character, which stood for the digit first, 0 when none): integers up to 17 digits are summed
// up, others go through the real-number parser.
[[gnu::noinline]] bool ReadLongNumber(const char*& p, const char* end, char first, double& value)
{
    const char* const begin = p;
    uint64_t integer = first ? static_cast<uint64_t>(first - '0') : 0;
    for (; p != end && IsDigit(*p); ++p) integer = integer * 10 + static_cast<uint64_t>(*p - '0');
    if ((p != end && *p == '.') || p - begin > (first ? 16 : 17)) {
        while (p != end && (IsDigit(*p) || *p == '.')) ++p;
        std::string text(first ? 1 : 0, first);
        text.append(begin, p);
        return !text.empty() && ScanReal(text, value) == text.size();
    }
    value = static_cast<double>(integer);
    return first || p != begin;
}

// The digits (and a decimal point) of one number from p on, p being at least 8 bytes before the
// end of the padded line.
[[gnu::always_inline]] inline bool ReadNumber(const char*& p, const char* end, const CCharClass& kind, double& value)
{
    const CDigitRun run = LeadingDigits(p);
    if (run.count == 8 || p[run.count] == '.') [[unlikely]] {
        return ReadLongNumber(p, end, kind.first, value);
    }
    if (run.count == 0 && kind.needsDigits) return false;
    p += run.count;
    value = static_cast<double>(static_cast<int64_t>(kind.lead * kPowersOfTen[run.count] + run.value));
    return true;
}

double Negated(double value, bool negative)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    bits ^= static_cast<uint64_t>(negative) << 63;
    std::memcpy(&value, &bits, sizeof bits);
    return value;
}

// The value before a difference, 0 before a plain value: chosen without a branch, since values
// and differences follow each other in no order a processor could predict.
double Base(double current, bool difference)
{
    uint64_t bits;
    std::memcpy(&bits, &current, sizeof bits);
    bits &= 0 - static_cast<uint64_t>(difference);
    std::memcpy(&current, &bits, sizeof bits);
    return current;
}

// "$$" starts a comment; a single "$" belongs to no form. p is just after the first "$".
bool SecondDollar(const char* p) { return *p == '$'; }

std::string_view CopyLine(std::string_view line, std::string& text)
{
    if (text.size() < line.size() + kPadding) text.resize(line.size() + kPadding);
    std::memcpy(text.data(), line.data(), line.size());
    std::memset(text.data() + line.size(), 0, kPadding);
    return {text.data(), line.size()};
}

// The first number of the line from p on; count becomes 1, or stays 0 when the line holds no
// number (blank or a comment).
bool ReadAbscissa(const char*& p, const char* end, double& abscissa, size_t& count)
{
    for (;; ++p) {
        const CCharClass& kind = kCharTable.entries[static_cast<unsigned char>(*p)];
        switch (kind.role) {
        case CharRole::Blank:
            continue;
        case CharRole::Value: {
            p += kind.prefix;
            if (!ReadNumber(p, end, kind, abscissa)) return false;
            abscissa = Negated(abscissa, kind.negative);
            count = 1;
            return true;
        }
        case CharRole::Zero:
            return p == end;
        case CharRole::Comment:
            return SecondDollar(p + 1);
        default:
            // The abscissa is never the base of a difference nor a repeat, and never missing.
            return false;
        }
    }
}

// The ordinates of a line after its abscissa, one number at a time. Each ordinate is written to
// the list of points at once but kept there only when it is not 0, without a branch: zeros and
// peaks alternate freely. The state lives in local variables, which the compiler keeps in
// registers: members would be reloaded after every point written.
bool ReadOrdinates(const char* p, std::string_view line, CAsdfLine& out)
{
    const char* const end = line.data() + line.size();
    size_t count = 1;  // values so far, the abscissa included
    double current = 0;  // the last of them
    double lastDifference = 0;
    bool lastWasDifference = false;
    size_t pointCount = 0;
    // Room for one point per character of the line, and for the values of repeats.
    if (out.points.size() < line.size()) out.points.resize(line.size());
    CAsdfPoint* points = out.points.data();
    const auto ordinate = [&](double value) {
        points[pointCount] = {count, value};
        pointCount += value != 0;
        ++count;
        current = value;
    };
    const auto repeat = [&](double times) {
        if (count < 2 || times < 1 || times > static_cast<double>(kMaxValuesPerLine - count)) return false;
        if (static_cast<double>(static_cast<size_t>(times)) != times) return false;
        // The count includes the value already written.
        const size_t more = static_cast<size_t>(times) - 1;
        const double step = lastWasDifference ? lastDifference : 0;
        if (step == 0 && current == 0) {
            // The zeros between the peaks of a profile: only counted.
            count += more;
            return true;
        }
        if (out.points.size() < pointCount + more + line.size()) {
            out.points.resize(pointCount + more + line.size());
            points = out.points.data();
        }
        for (size_t k = 0; k < more; ++k) ordinate(step == 0 ? current : current + step);
        return true;
    };
    for (;;) {
        const CCharClass& kind = kCharTable.entries[static_cast<unsigned char>(*p)];
        p += kind.prefix;
        if (kind.role <= CharRole::Repeat) {
            double number = 0;
            if (!ReadNumber(p, end, kind, number)) return false;
            if (kind.role == CharRole::Repeat) {
                if (!repeat(number)) return false;
                continue;
            }
            number = Negated(number, kind.negative);
            const bool difference = kind.role == CharRole::Difference;
            // The first ordinate has no value before it to differ from.
            if (difference & (count == 1)) return false;
            ordinate(Base(current, difference) + number);
            lastDifference = difference ? number : lastDifference;
            lastWasDifference = difference;
            continue;
        }
        switch (kind.role) {
        case CharRole::Blank:
            continue;
        case CharRole::Missing:
            ordinate(0);
            lastWasDifference = false;
            continue;
        case CharRole::Zero:
            if (p != end) return false;
            break;
        case CharRole::Comment:
            if (!SecondDollar(p)) return false;
            break;
        default:
            return false;
        }
        break;
    }
    out.valueCount = count;
    out.pointCount = pointCount;
    out.lastOrdinate = current;
    out.firstOrdinate = pointCount > 0 && points[0].place == 1 ? points[0].value : 0;
    out.endsWithDifference = lastWasDifference;
    return true;
}

}  // namespace

bool DecodeAsdfLine(std::string_view line, CAsdfLine& decoded)
{
    decoded.pointCount = 0;
    decoded.valueCount = 0;
    decoded.endsWithDifference = false;
    const std::string_view text = CopyLine(line, decoded.text);
    const char* p = text.data();
    size_t count = 0;
    if (!ReadAbscissa(p, text.data() + text.size(), decoded.abscissa, count)) return false;
    return count == 0 || ReadOrdinates(p, text, decoded);
}

}  // namespace kiv
