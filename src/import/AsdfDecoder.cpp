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

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == ',' || c == ';' || c == '\r' || c == '\n'; }

void CAsdfDecoder::Start(TokenKind kind, bool negative, char firstDigit)
{
    token_.kind = kind;
    token_.negative = negative;
    token_.length = 0;
    if (firstDigit) token_.digits[token_.length++] = firstDigit;
}

bool CAsdfDecoder::AddDigit(char c)
{
    if (token_.kind == TokenKind::None) Start(TokenKind::Plain, false, 0);
    if (token_.length == sizeof token_.digits) return false;
    token_.digits[token_.length++] = c;
    return true;
}

bool CAsdfDecoder::Flush()
{
    const TokenKind kind = token_.kind;
    token_.kind = TokenKind::None;
    if (kind == TokenKind::None) return true;
    double number = 0;
    const std::string_view digits(token_.digits, token_.length);
    if (ScanReal(digits, number) != digits.size()) return false;
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
        const int more = static_cast<int>(number) - 1;
        for (int k = 0; k < more; ++k) out_.push_back(lastWasDifference_ ? out_.back() + lastDifference_ : out_.back());
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
        if ((c >= '0' && c <= '9') || c == '.') {
            if (!AddDigit(c)) return false;
            continue;
        }
        if (!Flush()) return false;
        if (IsBlank(c)) continue;
        if (c == '+' || c == '-') {
            Start(TokenKind::Plain, c == '-', 0);
        } else if (c == '@') {
            Start(TokenKind::Plain, false, '0');
        } else if (c >= 'A' && c <= 'I') {
            Start(TokenKind::Plain, false, static_cast<char>('1' + c - 'A'));
        } else if (c >= 'a' && c <= 'i') {
            Start(TokenKind::Plain, true, static_cast<char>('1' + c - 'a'));
        } else if (c == '%') {
            Start(TokenKind::Difference, false, '0');
        } else if (c >= 'J' && c <= 'R') {
            Start(TokenKind::Difference, false, static_cast<char>('1' + c - 'J'));
        } else if (c >= 'j' && c <= 'r') {
            Start(TokenKind::Difference, true, static_cast<char>('1' + c - 'j'));
        } else if (c >= 'S' && c <= 'Z') {
            Start(TokenKind::Repeat, false, static_cast<char>('1' + c - 'S'));
        } else if (c == 's') {
            Start(TokenKind::Repeat, false, '9');
        } else if (c == '?') {
            if (out_.empty()) return false;
            out_.push_back(0);
            lastWasDifference_ = false;
        } else {
            return false;
        }
    }
    return Flush();
}

}  // namespace

bool DecodeAsdfLine(std::string_view line, CAsdfLine& decoded) { return CAsdfDecoder(decoded).Decode(line); }

}  // namespace kiv
