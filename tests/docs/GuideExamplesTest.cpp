// Every example of the user's guide (docs/guide.md) runs here and must give exactly the output
// the guide shows, so that the guide cannot drift from the program.
// A failing case prints the output the program gives now: once it is checked by hand, it goes into
// the example's kiv-expect block of the guide.
#include <gtest/gtest.h>

#include <cctype>
#include <map>

#include "GuideBlocks.h"
#include "GuideRunner.h"
#include "TestSupport.h"

using namespace kiv::guide;
using kiv::test::CScratchFolder;

namespace {

const std::vector<GuideBlock>& Guide()
{
    static const std::vector<GuideBlock> blocks = ReadGuideBlocks(KIV_GUIDE_PATH);
    return blocks;
}

const char* const kExampleKinds[] = {"kiv-features", "kiv-import", "kiv-command"};

std::vector<std::string> ExampleNames(const std::string& kind)
{
    std::vector<std::string> names;
    for (const GuideBlock* block : BlocksOfKind(Guide(), kind)) names.push_back(block->Attribute("example"));
    return names;
}

std::string Where(const GuideBlock& block) { return std::string(KIV_GUIDE_PATH) + ":" + std::to_string(block.line); }

// The example and its expected output; the test fails when either is missing.
struct Example {
    const GuideBlock* block = nullptr;
    const GuideBlock* expected = nullptr;
};

Example FindExample(const std::string& kind, const std::string& name)
{
    Example example{FindBlock(Guide(), kind, "example", name), FindBlock(Guide(), "kiv-expect", "example", name)};
    EXPECT_NE(example.block, nullptr) << kind << " " << name;
    EXPECT_NE(example.expected, nullptr) << "no kiv-expect block for example " << name;
    return example;
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info)
{
    std::string name = info.param;
    for (char& c : name) {
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

class FeatureExample : public ::testing::TestWithParam<std::string> {};
class ImportExample : public ::testing::TestWithParam<std::string> {};
class CommandExample : public ::testing::TestWithParam<std::string> {};

}  // namespace

TEST(Guide, EveryExampleHasOneExpectedOutput)
{
    std::map<std::string, int> examples;
    for (const char* kind : kExampleKinds) {
        for (const std::string& name : ExampleNames(kind)) {
            EXPECT_FALSE(name.empty()) << kind << " block without example name";
            EXPECT_EQ(++examples[name], 1) << "example name used twice: " << name;
        }
    }
    std::map<std::string, int> expected;
    for (const GuideBlock* block : BlocksOfKind(Guide(), "kiv-expect")) {
        const std::string name = block->Attribute("example");
        EXPECT_EQ(++expected[name], 1) << "two kiv-expect blocks for " << name << " at " << Where(*block);
        EXPECT_TRUE(examples.count(name)) << "kiv-expect for no example: " << name << " at " << Where(*block);
    }
    for (const auto& [name, count] : examples) EXPECT_TRUE(expected.count(name)) << "no kiv-expect for " << name;
    // The guide is there and its examples were found.
    EXPECT_GE(ExampleNames("kiv-features").size(), 10u);
    EXPECT_GE(ExampleNames("kiv-import").size(), 5u);
    EXPECT_GE(ExampleNames("kiv-command").size(), 6u);
}

TEST_P(FeatureExample, GivesTheNamesAndValuesShown)
{
    Example example = FindExample("kiv-features", GetParam());
    if (!example.block || !example.expected) return;
    CScratchFolder folder;
    EXPECT_EQ(RunFeatureExample(Guide(), *example.block, folder.Root()), example.expected->text)
        << "example at " << Where(*example.block);
}

TEST_P(ImportExample, GivesTheLibraryShown)
{
    Example example = FindExample("kiv-import", GetParam());
    if (!example.block || !example.expected) return;
    CScratchFolder folder;
    WriteGuideFiles(Guide(), folder.Root());
    EXPECT_EQ(RunImportExample(*example.block, folder.Root()), example.expected->text)
        << "example at " << Where(*example.block);
}

TEST_P(CommandExample, GivesTheExitStatusAndFilesShown)
{
    Example example = FindExample("kiv-command", GetParam());
    if (!example.block || !example.expected) return;
    CScratchFolder folder;
    WriteGuideFiles(Guide(), folder.Root());
    EXPECT_EQ(RunCommandExample(Guide(), *example.block, example.expected->text, folder.Root(), KIV_PROGRAM),
              example.expected->text)
        << "example at " << Where(*example.block);
}

INSTANTIATE_TEST_SUITE_P(Guide, FeatureExample, ::testing::ValuesIn(ExampleNames("kiv-features")), TestName);
INSTANTIATE_TEST_SUITE_P(Guide, ImportExample, ::testing::ValuesIn(ExampleNames("kiv-import")), TestName);
INSTANTIATE_TEST_SUITE_P(Guide, CommandExample, ::testing::ValuesIn(ExampleNames("kiv-command")), TestName);
