// The reader of the guide's examples: only "kiv-" blocks count, also next to other code blocks.
#include <gtest/gtest.h>

#include "GuideBlocks.h"
#include "TestSupport.h"

using namespace kiv::guide;
using kiv::test::CScratchFolder;
using kiv::test::WriteBytes;

TEST(GuideBlocks, ReadsKindAttributesTextAndLineOfKivBlocksOnly)
{
    CScratchFolder folder;
    const std::string path = folder.Path("guide.md");
    WriteBytes(path,
               "# Title\r\n"
               "```\r\n"
               "```kiv-features example=inside-plain-block\r\n"
               "```\r\n"
               "```kiv-features example=md spectrum=a,b round=10\r\n"
               "MD 14 1 100 M\r\n"
               "\r\n"
               "```\r\n"
               "text\n"
               "```kiv-file name=x.bit encoding=hex flag\n"
               "13 05\n"
               "```\n"
               "```kiv-expect example=open\n"
               "unterminated\n");
    const std::vector<GuideBlock> blocks = ReadGuideBlocks(path);
    ASSERT_EQ(blocks.size(), 3u);

    EXPECT_EQ(blocks[0].kind, "kiv-features");
    EXPECT_EQ(blocks[0].Attribute("example"), "md");
    EXPECT_EQ(blocks[0].Attribute("spectrum"), "a,b");
    EXPECT_EQ(blocks[0].Attribute("round"), "10");
    EXPECT_EQ(blocks[0].Attribute("missing"), "");
    EXPECT_EQ(blocks[0].text, "MD 14 1 100 M\n\n");  // CR LF read as a line end, empty lines kept
    EXPECT_EQ(blocks[0].line, 5);

    EXPECT_EQ(blocks[1].Attribute("encoding"), "hex");
    EXPECT_EQ(blocks[1].attributes.count("flag"), 1u);
    EXPECT_EQ(blocks[1].text, "13 05\n");

    EXPECT_EQ(blocks[2].text, "unterminated\n");

    EXPECT_EQ(BlocksOfKind(blocks, "kiv-file").size(), 1u);
    EXPECT_EQ(FindBlock(blocks, "kiv-features", "example", "md"), &blocks[0]);
    EXPECT_EQ(FindBlock(blocks, "kiv-features", "example", "inside-plain-block"), nullptr);
}
