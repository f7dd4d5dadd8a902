#include "import/AsdfDecoder.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "base/Numbers.h"

namespace kiv {

namespace {

// A repeat count can ask for any number of values; a line of a real spectrum never holds more.
constexpr size_t kMaxValuesPerLine = size_t(1) << 20;

// What each character of a compressed line is, looked up once per character: a line of a
// continuous spectrum holds hundreds of them.
enum class CharRole : uint8_t { Bad, Digit, Blank, Sign, Plain, Difference, Repeat, Missing };

struct CCharClass {
    CharRole role = CharRole::Bad;
    bool negative = false;
    char digit = 0;  // the digit a SQZ, DIF or DUP character stands for
};

struct CCharTable {
    CCharClass entries[256];
    constexpr CCharTable()
    {
        for (char c = '0'; c <= '9'; ++c) entries[static_cast<unsigned char>(c)].role = CharRole::Digit;
        entries[static_cast<unsigned char>('.')].role = CharRole::Digit;
        for (char c : {' ', '\t', ',', ';', '\r', '\n'}) entries[static_cast<unsigned char>(c)].role = CharRole::Blank;
        entries[static_cast<unsigned char>('+')] = {CharRole::Sign, false, 0};
        entries[static_cast<unsigned char>('-')] = {CharRole::Sign, true, 0};
        entries[static_cast<unsigned char>('?')].role = CharRole::Missing;
        entries[static_cast<unsigned char>('@')] = {CharRole::Plain, false, '0'};
        entries[static_cast<unsigned char>('%')] = {CharRole::Difference, false, '0'};
        for (int d = 1; d <= 9; ++d) {
            const char digit = static_cast<char>('0' + d);
            entries['A' + d - 1] = {CharRole::Plain, false, digit};
            entries['a' + d - 1] = {CharRole::Plain, true, digit};
            entries['J' + d - 1] = {CharRole::Difference, false, digit};
            entries['j' + d - 1] = {CharRole::Difference, true, digit};
        }
        for (int d = 1; d <= 8; ++d) entries['S' + d - 1] = {CharRole::Repeat, false, static_cast<char>('0' + d)};
        entries[static_cast<unsigned char>('s')] = {CharRole::Repeat, false, '9'};
    }
};

constexpr CCharTable kCharTable;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads the digits (and a decimal point) of one number from pos on; first is the digit that its
// SQZ, DIF or DUP character stood for (0 when none). Most numbers are short integers and are
// summed up on the way; a point or many digits go through the real-number parser.
bool ReadNumber(std::string_view line, size_t& pos, char first, double& value)
{
    const size_t begin = pos;
    int64_t integer = first ? first - '0' : 0;
    size_t digits = first ? 1 : 0;
    while (pos < line.size() && IsDigit(line[pos]) && digits < 17) {
        integer = integer * 10 + (line[pos++] - '0');
        ++digits;
    }
    if (pos < line.size() && (line[pos] == '.' || IsDigit(line[pos]))) {
        // The general form: the leading digit, then the rest as written.
        std::string text(first ? 1 : 0, first);
        while (pos < line.size() && (IsDigit(line[pos]) || line[pos] == '.')) ++pos;
        text.append(line.substr(begin, pos - begin));
        return !text.empty() && ScanReal(text, value) == text.size();
    }
    value = static_cast<double>(integer);
    return digits > 0;
}

class CAsdfDecoder {
public:
    explicit CAsdfDecoder(CAsdfLine& decoded) : out_(decoded.values), decoded_(decoded) {}
    bool Decode(std::string_view line);

private:
    bool Apply(CharRole role, double number);

    std::vector<double>& out_;
    CAsdfLine& decoded_;
    bool lastWasDifference_ = false;
    double lastDifference_ = 0;
};

bool CAsdfDecoder::Apply(CharRole role, double number)
{
    switch (role) {
    case CharRole::Plain:
        out_.push_back(number);
        lastWasDifference_ = false;
        return true;
    case CharRole::Difference:
        // The abscissa is never the base of a difference.
        if (out_.size() < 2) return false;
        lastDifference_ = number;
        out_.push_back(out_.back() + number);
        lastWasDifference_ = true;
        return true;
    case CharRole::Repeat: {
        if (out_.size() < 2 || number < 1 || number > static_cast<double>(kMaxValuesPerLine - out_.size())) return false;
        if (number != std::floor(number)) return false;
        // The count includes the value already written.
        const size_t more = static_cast<size_t>(number) - 1;
        if (!lastWasDifference_ || lastDifference_ == 0) {
            // Runs of one value, above all the zeros between the peaks of a profile.
            out_.insert(out_.end(), more, out_.back());
        } else {
            for (size_t k = 0; k < more; ++k) out_.push_back(out_.back() + lastDifference_);
        }
        return true;
    }
    default:
        return false;
    }
}

bool CAsdfDecoder::Decode(std::string_view line)
{
    out_.clear();
    size_t pos = 0;
    while (pos < line.size()) {
        const CCharClass& kind = kCharTable.entries[static_cast<unsigned char>(line[pos])];
        CharRole role = kind.role;
        switch (role) {
        case CharRole::Blank:
            ++pos;
            continue;
        case CharRole::Bad:
            return false;
        case CharRole::Missing:
            if (out_.empty()) return false;
            out_.push_back(0);
            lastWasDifference_ = false;
            ++pos;
            continue;
        case CharRole::Digit:
            // A plain number without a sign: its first digit is read with the rest.
            role = CharRole::Plain;
            break;
        case CharRole::Sign:
            role = CharRole::Plain;
            ++pos;
            break;
        default:
            ++pos;
            break;
        }
        double number = 0;
        if (!ReadNumber(line, pos, kind.digit, number)) return false;
        if (!Apply(role, kind.negative ? -number : number)) return false;
    }
    decoded_.endsWithDifference = lastWasDifference_;
    return true;
}

}  // namespace

bool DecodeAsdfLine(std::string_view line, CAsdfLine& decoded) { return CAsdfDecoder(decoded).Decode(line); }

}  // namespace kiv
