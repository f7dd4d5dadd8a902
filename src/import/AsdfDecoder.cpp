#include "import/AsdfDecoder.h"

#include <cmath>

#include "base/Numbers.h"

namespace kiv {

namespace {

enum class TokenKind { None, Plain, Difference, Repeat };

// A repeat count can ask for any number of values; a line of a real spectrum never holds more.
constexpr size_t kMaxValuesPerLine = size_t(1) << 20;

// One number of the line as it is being collected: its kind, sign and digits.
struct CToken {
    TokenKind kind = TokenKind::None;
    bool negative = false;
    char digits[64];
    size_t length = 0;
    // Most ordinates are short integers: they are summed up digit by digit on the way, and
    // only numbers with a point or many digits go through the real-number parser.
    int64_t integer = 0;
    bool plainInteger = true;
};

class CAsdfDecoder {
public:
    explicit CAsdfDecoder(CAsdfLine& decoded) : out_(decoded.values), decoded_(decoded) {}
    bool Decode(std::string_view line);

private:
    void Start(TokenKind kind, bool negative, char firstDigit);
    bool Flush();
    bool AddDigit(char c);

    std::vector<double>& out_;
    CAsdfLine& decoded_;
    CToken token_;
    bool lastWasDifference_ = false;
    double lastDifference_ = 0;
};

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

void CAsdfDecoder::Start(TokenKind kind, bool negative, char firstDigit)
{
    token_.kind = kind;
    token_.negative = negative;
    token_.length = 0;
    token_.integer = 0;
    token_.plainInteger = true;
    if (firstDigit) {
        token_.digits[token_.length++] = firstDigit;
        token_.integer = firstDigit - '0';
    }
}

bool CAsdfDecoder::AddDigit(char c)
{
    if (token_.kind == TokenKind::None) Start(TokenKind::Plain, false, 0);
    if (token_.length == sizeof token_.digits) return false;
    token_.digits[token_.length++] = c;
    if (c == '.' || token_.length > 17) {
        token_.plainInteger = false;
    } else {
        token_.integer = token_.integer * 10 + (c - '0');
    }
    return true;
}

bool CAsdfDecoder::Flush()
{
    const TokenKind kind = token_.kind;
    token_.kind = TokenKind::None;
    if (kind == TokenKind::None) return true;
    double number = static_cast<double>(token_.integer);
    if (token_.length == 0) return false;
    if (!token_.plainInteger) {
        const std::string_view digits(token_.digits, token_.length);
        if (ScanReal(digits, number) != digits.size()) return false;
    }
    if (token_.negative) number = -number;
    switch (kind) {
    case TokenKind::Plain:
        out_.push_back(number);
        lastWasDifference_ = false;
        break;
    case TokenKind::Difference:
        // The abscissa is never the base of a difference.
        if (out_.size() < 2) return false;
        lastDifference_ = number;
        out_.push_back(out_.back() + number);
        lastWasDifference_ = true;
        break;
    case TokenKind::Repeat: {
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
        break;
    }
    case TokenKind::None:
        break;
    }
    decoded_.endsWithDifference = lastWasDifference_;
    return true;
}

bool CAsdfDecoder::Decode(std::string_view line)
{
    out_.clear();
    decoded_.endsWithDifference = false;
    for (const char c : line) {
        const CCharClass& kind = kCharTable.entries[static_cast<unsigned char>(c)];
        switch (kind.role) {
        case CharRole::Digit:
            if (!AddDigit(c)) return false;
            continue;
        case CharRole::Bad:
            return false;
        default:
            break;
        }
        if (!Flush()) return false;
        switch (kind.role) {
        case CharRole::Sign:
            Start(TokenKind::Plain, kind.negative, 0);
            break;
        case CharRole::Plain:
            Start(TokenKind::Plain, kind.negative, kind.digit);
            break;
        case CharRole::Difference:
            Start(TokenKind::Difference, kind.negative, kind.digit);
            break;
        case CharRole::Repeat:
            Start(TokenKind::Repeat, false, kind.digit);
            break;
        case CharRole::Missing:
            if (out_.empty()) return false;
            out_.push_back(0);
            lastWasDifference_ = false;
            break;
        default:
            break;
        }
    }
    return Flush();
}

}  // namespace

bool DecodeAsdfLine(std::string_view line, CAsdfLine& decoded) { return CAsdfDecoder(decoded).Decode(line); }

}  // namespace kiv
