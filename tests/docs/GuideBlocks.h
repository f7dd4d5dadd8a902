#pragma once
// The examples of the user's guide: fenced blocks whose info string starts with "kiv-", such as
//
//   ```kiv-features example=md spectrum=hexane
//   MD 14 1 100 M
//   ```
//
// The word after the fence is the block's kind, the "key=value" words after it its attributes.
#include <map>
#include <string>
#include <vector>

namespace kiv::guide {

struct GuideBlock {
    std::string kind;  // "kiv-features", "kiv-expect", ...
    std::map<std::string, std::string> attributes;
    std::string text;  // the lines between the fences, each ended by "\n"
    int line = 0;  // line of the opening fence in the guide, for messages

    std::string Attribute(const std::string& key) const;
};

// Every "kiv-" block of the Markdown file at path, in document order. An unterminated block is
// returned with the text up to the end of the file (and fails its example).
std::vector<GuideBlock> ReadGuideBlocks(const std::string& path);

// The blocks of one kind, in document order.
std::vector<const GuideBlock*> BlocksOfKind(const std::vector<GuideBlock>& blocks, const std::string& kind);

// The one block of a kind whose attribute key has the given value, or nullptr.
const GuideBlock* FindBlock(const std::vector<GuideBlock>& blocks, const std::string& kind, const std::string& key,
                            const std::string& value);

}  // namespace kiv::guide
