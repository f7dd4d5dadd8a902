#include "base/TextFile.h"

#include <cstdarg>
#include <filesystem>

#include "base/Format.h"

namespace kiv {

FilePtr OpenBytes(const std::string& path, int64_t& size)
{
    size = 0;
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return nullptr;
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) return nullptr;
    const auto bytes = std::filesystem::file_size(path, error);
    size = error ? 0 : static_cast<int64_t>(bytes);
    return file;
}

bool CTextReader::Open(const std::string& path)
{
    file_.reset(std::fopen(path.c_str(), "rb"));
    return file_ != nullptr;
}

int CTextReader::Get()
{
    int c = std::getc(file_.get());
    if (c == '\r') {
        int next = std::getc(file_.get());
        if (next == '\n') return '\n';
        if (next != EOF) std::ungetc(next, file_.get());
    }
    return c;
}

bool CTextReader::ReadLine(std::string& line, size_t maxChars)
{
    line.clear();
    if (!file_ || maxChars == 0) return false;
    size_t count = 0;
    bool cut = false;
    while (count < maxChars) {
        int c = Get();
        if (c == EOF) break;
        ++count;
        if (c == '\0') cut = true;
        if (!cut) line.push_back(static_cast<char>(c));
        if (c == '\n') break;
    }
    return count > 0;
}

bool CTextWriter::Open(const std::string& path)
{
    file_.reset(std::fopen(path.c_str(), "wb"));
    return file_ != nullptr;
}

void CTextWriter::Write(std::string_view text)
{
    if (!file_) return;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n') continue;
        std::fwrite(text.data() + start, 1, i - start, file_.get());
        std::fwrite("\r\n", 1, 2, file_.get());
        start = i + 1;
    }
    std::fwrite(text.data() + start, 1, text.size() - start, file_.get());
}

void CTextWriter::Print(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Write(FormatV(format, args));
    va_end(args);
}

void CTextWriter::Rewind()
{
    if (file_) std::fseek(file_.get(), 0, SEEK_SET);
}

void CTextWriter::Flush()
{
    if (file_) std::fflush(file_.get());
}

void TrimRight(std::string& text, std::string_view characters)
{
    size_t end = text.find_last_not_of(characters);
    text.erase(end == std::string::npos ? 0 : end + 1);
}

std::string_view TrimLeftBlanks(std::string_view text)
{
    size_t start = text.find_first_not_of(' ');
    return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace kiv
