#include "ui/ScriptFile.h"

#include <filesystem>
#include <optional>

#include "base/TextFile.h"

namespace kiv {

namespace {

constexpr size_t kScriptLineLimit = 65535;

// The task of one script line, or nothing when the line holds none.
std::optional<std::string> TaskOfLine(std::string line)
{
    const size_t comment = line.find("//");
    if (comment != std::string::npos) line.erase(comment);
    while (!line.empty() && (line.back() == '\n' || line.back() == ' ')) line.pop_back();
    const size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    line.erase(0, first);
    if (line.size() < 3 || (line[0] != 'D' && line[0] != 'd') || (line[1] != 'O' && line[1] != 'o') || line[2] != ':') {
        return std::nullopt;
    }
    const size_t task = line.find_first_not_of(' ', 3);
    return task == std::string::npos ? std::string() : line.substr(task);
}

}  // namespace

ScriptLoad LoadScript(const std::string& path, CPrompter& prompter, std::deque<std::string>& queue)
{
    std::string file = path;
    if (file.empty()) {
        std::optional<std::string> chosen = prompter.ChooseFileToOpen(
            {"Load Script File:", "*script.txt", "Txt Script Files (*script.txt)|*script.txt|All Files (*.*)|*.*||"});
        if (!chosen || chosen->empty()) return ScriptLoad::NoFileChosen;
        file = *chosen;
    }
    std::error_code error;
    CTextReader reader;
    if (std::filesystem::is_directory(file, error) || !reader.Open(file)) return ScriptLoad::CannotOpen;
    std::string line;
    while (reader.ReadLine(line, kScriptLineLimit)) {
        if (std::optional<std::string> task = TaskOfLine(line)) queue.push_back(std::move(*task));
    }
    return ScriptLoad::Loaded;
}

}  // namespace kiv
