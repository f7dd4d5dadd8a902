#pragma once
// Text files as the file formats define them: lines end in CR LF on disk and in "\n" in memory.
// Writing "\n" puts CR LF into the file; reading turns CR LF back into "\n" (a lone CR stays).
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace kiv {

struct CFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, CFileCloser>;

// Opens a file for reading as bytes and tells its size (0 when unknown); nullptr for a folder
// (it has no bytes) or a file that cannot be opened.
FilePtr OpenBytes(const std::string& path, int64_t& size);

class CTextReader {
public:
    bool Open(const std::string& path);
    bool IsOpen() const { return file_ != nullptr; }
    void Close() { file_.reset(); }

    // Reads one line of at most maxChars characters, the "\n" included, like fgets with a buffer
    // of maxChars + 1: a longer physical line is consumed in pieces, each returned as a line.
    // A NUL byte ends the line's text (the rest of the piece is consumed and dropped), as in the
    // C string the formats were read into. Returns false at the end of the file.
    bool ReadLine(std::string& line, size_t maxChars);

private:
    int Get();
    FilePtr file_;
};

class CTextWriter {
public:
    bool Open(const std::string& path);  // creates or truncates
    bool IsOpen() const { return file_ != nullptr; }
    void Close() { file_.reset(); }

    void Write(std::string_view text);
    void Print(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Back to the start of the file; later writes overwrite in place without truncating.
    void Rewind();
    void Flush();

private:
    FilePtr file_;
};

// Removes trailing characters of the given set (e.g. "\n" or " ").
void TrimRight(std::string& text, std::string_view characters);
// Returns text without its leading blanks.
std::string_view TrimLeftBlanks(std::string_view text);
// Case-insensitive comparison of ASCII keys.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace kiv
