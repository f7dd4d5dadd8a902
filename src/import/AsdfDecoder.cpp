#include "import/AsdfDecoder.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/BinaryIO.h"
#include "base/Numbers.h"

namespace kiv {

namespace {

// A repeat count can ask for any number of values; a line of a real spectrum never holds more.
constexpr size_t kMaxValuesPerLine = size_t(1) << 20;

// What each character of a compressed line is, looked up once per character: a line of a
// continuous spectrum holds hundreds of them. A value (AFFN, PAC, SQZ) and a difference (DIF)
// are read the same way.
enum class CharRole : uint8_t { Value, Difference, Repeat, Blank, Missing, Comment, Bad };

struct CCharClass {
    CharRole role = CharRole::Bad;
    bool negative = false;
    char digit = 0;  // the digit a SQZ, DIF or DUP character stands for, 0 when none
    uint8_t prefix = 1;  // 1 when the digits of the number follow the character, 0 when it is one
};

struct CCharTable {
    CCharClass entries[256];
    constexpr CCharTable()
    {
        for (char c = '0'; c <= '9'; ++c) entries[static_cast<unsigned char>(c)] = {CharRole::Value, false, 0, 0};
        entries[static_cast<unsigned char>('.')] = {CharRole::Value, false, 0, 0};
        for (char c : {' ', '\t', ',', ';', '\r', '\n'}) entries[static_cast<unsigned char>(c)].role = CharRole::Blank;
        entries[static_cast<unsigned char>('+')] = {CharRole::Value, false, 0, 1};
        entries[static_cast<unsigned char>('-')] = {CharRole::Value, true, 0, 1};
        entries[static_cast<unsigned char>('?')].role = CharRole::Missing;
        entries[static_cast<unsigned char>('$')].role = CharRole::Comment;
        entries[static_cast<unsigned char>('@')] = {CharRole::Value, false, '0', 1};
        entries[static_cast<unsigned char>('%')] = {CharRole::Difference, false, '0', 1};
        for (int d = 1; d <= 9; ++d) {
            const char digit = static_cast<char>('0' + d);
            entries['A' + d - 1] = {CharRole::Value, false, digit, 1};
            entries['a' + d - 1] = {CharRole::Value, true, digit, 1};
            entries['J' + d - 1] = {CharRole::Difference, false, digit, 1};
            entries['j' + d - 1] = {CharRole::Difference, true, digit, 1};
        }
        for (int d = 1; d <= 8; ++d) entries['S' + d - 1] = {CharRole::Repeat, false, static_cast<char>('0' + d), 1};
        entries[static_cast<unsigned char>('s')] = {CharRole::Repeat, false, '9', 1};
    }
};

constexpr CCharTable kCharTable;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A number with a decimal point or many digits, from begin (after its SQZ, DIF or DUP character,
// which stood for the digit first, 0 when none) on: through the real-number parser. Kept apart
// so that the common short integers take no string.
[[gnu::noinline]] bool ReadRealNumber(const char*& p, const char* begin, const char* end, char first, double& value)
{
    std::string text(first ? 1 : 0, first);
    while (p != end && (IsDigit(*p) || *p == '.')) ++p;
    text.append(begin, p);
    return !text.empty() && ScanReal(text, value) == text.size();
}

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
    if (count == 0 || count == 8) return {count, 0};
    // The digits moved to the top bytes (zeros in front), then summed pairwise.
    uint64_t digits = (bytes - kZeros) << (8 * (8 - count));
    digits = digits * 10 + (digits >> 8);
    digits = (((digits & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32)))
              + (((digits >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >> 32;
    return {count, digits & 0xFFFFFFFFULL};
}

constexpr uint64_t kPowersOfTen[8] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};

// Reads the digits (and a decimal point) of one number from p on, first being the digit that
// its SQZ, DIF or DUP character stood for (0 when none): integers up to 17 digits are summed up
// on the way, a point or more digits go through the real-number parser.
inline bool ReadNumber(const char*& p, const char* end, char first, double& value)
{
    const char* const begin = p;
    uint64_t integer = first ? static_cast<uint64_t>(first - '0') : 0;
    if (end - p > 8) {
        const CDigitRun run = LeadingDigits(p);
        if (run.count < 8) {
            p += run.count;
            if (*p == '.') return ReadRealNumber(p, begin, end, first, value);
            value = static_cast<double>(integer * kPowersOfTen[run.count] + run.value);
            return first || run.count > 0;
        }
    }
    for (; p != end; ++p) {
        const auto digit = static_cast<unsigned>(static_cast<unsigned char>(*p) - '0');
        if (digit > 9) break;
        integer = integer * 10 + digit;  // wraps only beyond 19 digits, which take the real path
    }
    if ((p != end && *p == '.') || p - begin > (first ? 16 : 17)) return ReadRealNumber(p, begin, end, first, value);
    value = static_cast<double>(integer);
    return first || p != begin;
}

// Decodes one line number by number. Each ordinate is written to the list of points at once but
// kept there only when it is not 0, without a branch: zeros and peaks alternate freely.
class CAsdfDecoder {
public:
    explicit CAsdfDecoder(CAsdfLine& decoded) : out_(decoded) {}
    bool Decode(std::string_view line);

private:
    // Room for more ordinates beside one for each character of the line.
    void Reserve(size_t more)
    {
        const size_t needed = out_.pointCount + more + lineSize_;
        if (out_.points.size() < needed) out_.points.resize(needed);
    }
    void Ordinate(double value)
    {
        out_.points[out_.pointCount] = {count_, value};
        out_.pointCount += value != 0;
        ++count_;
        current_ = value;
    }
    bool Number(const CCharClass& kind, const char*& p, const char* end);
    bool Repeat(double count);
    void Finish();

    CAsdfLine& out_;
    size_t lineSize_ = 0;
    size_t count_ = 0;  // values so far, the abscissa included
    double current_ = 0;  // the last of them
    bool lastWasDifference_ = false;
    double lastDifference_ = 0;
};

// A value or a difference.
bool CAsdfDecoder::Number(const CCharClass& kind, const char*& p, const char* end)
{
    double number = 0;
    if (!ReadNumber(p, end, kind.digit, number)) return false;
    number = kind.negative ? -number : number;
    const bool difference = kind.role == CharRole::Difference;
    if (count_ < 2) {
        // The abscissa is never the base of a difference.
        if (difference) return false;
        if (count_ == 0) {
            out_.abscissa = number;
            count_ = 1;
            return true;
        }
    }
    Ordinate(difference ? current_ + number : number);
    if (difference) lastDifference_ = number;
    lastWasDifference_ = difference;
    return true;
}

bool CAsdfDecoder::Repeat(double count)
{
    if (count_ < 2 || count < 1 || count > static_cast<double>(kMaxValuesPerLine - count_)) return false;
    if (count != std::floor(count)) return false;
    // The count includes the value already written.
    const size_t more = static_cast<size_t>(count) - 1;
    const double step = lastWasDifference_ ? lastDifference_ : 0;
    if (step == 0 && current_ == 0) {
        // The zeros between the peaks of a profile: only counted.
        count_ += more;
        return true;
    }
    Reserve(more);
    for (size_t k = 0; k < more; ++k) Ordinate(step == 0 ? current_ : current_ + step);
    return true;
}

void CAsdfDecoder::Finish()
{
    out_.valueCount = count_;
    out_.lastOrdinate = current_;
    const bool firstIsPoint = out_.pointCount > 0 && out_.points[0].place == 1;
    out_.firstOrdinate = firstIsPoint ? out_.points[0].value : 0;
    out_.endsWithDifference = lastWasDifference_;
}

bool CAsdfDecoder::Decode(std::string_view line)
{
    out_.pointCount = 0;
    lineSize_ = line.size();
    Reserve(0);
    const char* p = line.data();
    const char* const end = p + line.size();
    while (p != end) {
        const CCharClass& kind = kCharTable.entries[static_cast<unsigned char>(*p)];
        p += kind.prefix;
        if (kind.role <= CharRole::Difference) {
            if (!Number(kind, p, end)) return false;
            continue;
        }
        switch (kind.role) {
        case CharRole::Repeat: {
            double number = 0;
            if (!ReadNumber(p, end, kind.digit, number) || !Repeat(number)) return false;
            break;
        }
        case CharRole::Blank:
            break;
        case CharRole::Missing:
            if (count_ == 0) return false;
            Ordinate(0);
            lastWasDifference_ = false;
            break;
        case CharRole::Comment:
            // "$$" starts a comment; a single "$" belongs to no form.
            if (p == end || *p != '$') return false;
            p = end;
            break;
        default:
            return false;
        }
    }
    Finish();
    return true;
}

}  // namespace

bool DecodeAsdfLine(std::string_view line, CAsdfLine& decoded) { return CAsdfDecoder(decoded).Decode(line); }

}  // namespace kiv
