#include "import/MspEncoding.h"

#include <cstdint>

namespace kiv {

namespace {

constexpr uint32_t kInvalid = 0xFFFFFFFF;

// Decodes the UTF-8 sequence at text[pos], moving pos past it; kInvalid for a malformed, overlong
// or surrogate sequence.
uint32_t DecodeUtf8(std::string_view text, size_t& pos)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    int length = 0;
    uint32_t code = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return kInvalid;
    }
    if (pos + static_cast<size_t>(length) > text.size()) return kInvalid;
    for (int k = 1; k < length; ++k) {
        const unsigned char next = byte(pos + static_cast<size_t>(k));
        if ((next & 0xC0) != 0x80) return kInvalid;
        code = (code << 6) | (next & 0x3F);
    }
    const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return kInvalid;
    pos += static_cast<size_t>(length);
    return code;
}

bool IsValidUtf8(std::string_view text)
{
    for (size_t pos = 0; pos < text.size();) {
        if (DecodeUtf8(text, pos) == kInvalid) return false;
    }
    return true;
}

const char* const kGreekNames[] = {"alpha", "beta", "gamma", "delta", "epsilon", "zeta", "eta", "theta",
                                   "iota",  "kappa", "lambda", "mu",  "nu",      "xi",   "omicron", "pi",
                                   "rho",   "sigma", "sigma", "tau", "upsilon", "phi",  "chi", "psi", "omega"};

// The plain-text form of a character beyond Latin-1.
void AppendBeyondLatin1(uint32_t code, std::string& out)
{
    // Capital Greek letters U+0391.., small ones U+03B1.. (U+03A2 and U+03C2 are final sigma).
    if ((code >= 0x0391 && code <= 0x03A9) || (code >= 0x03B1 && code <= 0x03C9)) {
        const bool capital = code <= 0x03A9;
        const size_t start = out.size();
        out += kGreekNames[code - (capital ? 0x0391 : 0x03B1)];
        if (capital) out[start] = static_cast<char>(out[start] - 'a' + 'A');
        return;
    }
    if ((code >= 0x2010 && code <= 0x2015) || code == 0x2212) {
        out += '-';
    } else if (code == 0x2018 || code == 0x2019 || code == 0x2032) {
        out += '\'';
    } else if (code == 0x201C || code == 0x201D || code == 0x2033) {
        out += '"';
    } else {
        out += '?';
    }
}

bool IsAscii(std::string_view text)
{
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

}  // namespace

std::string MspTextToLatin1(std::string_view text)
{
    if (IsAscii(text) || !IsValidUtf8(text)) return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        const uint32_t code = DecodeUtf8(text, pos);
        if (code <= 0xFF) {
            out += static_cast<char>(code);
        } else {
            AppendBeyondLatin1(code, out);
        }
    }
    return out;
}

std::string Latin1ToUtf8(std::string_view text)
{
    if (IsAscii(text)) return std::string(text);
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

bool StartsWithByteOrderMark(std::string_view text) { return text.substr(0, 3) == "\xEF\xBB\xBF"; }

}  // namespace kiv
