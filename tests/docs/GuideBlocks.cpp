#include "GuideBlocks.h"

#include <fstream>
#include <sstream>

namespace kiv::guide {

namespace {

constexpr const char* kFence = "```";
constexpr const char* kPrefix = "```kiv-";

bool StartsWith(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

GuideBlock OpenBlock(const std::string& fenceLine, int lineNumber)
{
    GuideBlock block;
    block.line = lineNumber;
    std::istringstream words(fenceLine.substr(3));
    words >> block.kind;
    std::string word;
    while (words >> word) {
        size_t equals = word.find('=');
        if (equals == std::string::npos) {
            block.attributes[word] = "";
        } else {
            block.attributes[word.substr(0, equals)] = word.substr(equals + 1);
        }
    }
    return block;
}

}  // namespace

std::string GuideBlock::Attribute(const std::string& key) const
{
    auto found = attributes.find(key);
    return found == attributes.end() ? std::string() : found->second;
}

std::vector<GuideBlock> ReadGuideBlocks(const std::string& path)
{
    std::vector<GuideBlock> blocks;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    int lineNumber = 0;
    bool inKivBlock = false;
    bool inOtherBlock = false;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (inKivBlock) {
            if (line == kFence) {
                inKivBlock = false;
            } else {
                blocks.back().text += line + "\n";
            }
        } else if (inOtherBlock) {
            inOtherBlock = line != kFence;
        } else if (StartsWith(line, kPrefix)) {
            blocks.push_back(OpenBlock(line, lineNumber));
            inKivBlock = true;
        } else if (StartsWith(line, kFence)) {
            inOtherBlock = true;
        }
    }
    return blocks;
}

std::vector<const GuideBlock*> BlocksOfKind(const std::vector<GuideBlock>& blocks, const std::string& kind)
{
    std::vector<const GuideBlock*> found;
    for (const GuideBlock& block : blocks) {
        if (block.kind == kind) found.push_back(&block);
    }
    return found;
}

const GuideBlock* FindBlock(const std::vector<GuideBlock>& blocks, const std::string& kind, const std::string& key,
                            const std::string& value)
{
    for (const GuideBlock& block : blocks) {
        if (block.kind == kind && block.Attribute(key) == value) return &block;
    }
    return nullptr;
}

}  // namespace kiv::guide
