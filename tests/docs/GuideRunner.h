#pragma once
// Runs the examples of the user's guide and prints what they give, in the layout of the guide's
// "kiv-expect" blocks, so that a test can compare the two as text:
//   - feature examples ("kiv-features"): the definition lines evaluated by the feature engine on
//     the example spectra ("kiv-spectrum"); one line per feature, its name and its value on each
//     spectrum, after the messages of the lines ("! message");
//   - import examples ("kiv-import"): the files named in the block read by one importer, and the
//     library that results, block by block;
//   - command examples ("kiv-command"): the command file run by the kiv program in a folder that
//     holds every "kiv-file" of the guide; the exit status and the files that the expected
//     output names ("== name", or "== name (hex)" for the bytes, "== stderr" for the messages).
#include <string>
#include <vector>

#include "GuideBlocks.h"

namespace kiv::guide {

// Writes every "kiv-file" block into folder ("encoding=hex" blocks as the bytes they spell).
void WriteGuideFiles(const std::vector<GuideBlock>& blocks, const std::string& folder);

std::string RunFeatureExample(const std::vector<GuideBlock>& blocks, const GuideBlock& example,
                              const std::string& folder);
std::string RunImportExample(const GuideBlock& example, const std::string& folder);
// expected: the example's "kiv-expect" text, which names the files to show. Examples named by
// the attribute "needs" run first, in the same folder.
std::string RunCommandExample(const std::vector<GuideBlock>& blocks, const GuideBlock& example,
                              const std::string& expected, const std::string& folder, const std::string& program);

}  // namespace kiv::guide
