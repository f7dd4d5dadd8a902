#include <gtest/gtest.h>

#include <cstdio>

#include "TestSupport.h"
#include "search/DescriptorCommands.h"
#include "search/DescriptorSet.h"

using namespace kiv;
using kiv::test::CRecordingReporter;
using kiv::test::CScratchFolder;
using kiv::test::WriteBytes;

namespace {

// Packs objects given as "0"/"1" texts (character c = bit c) into one continuous bit stream.
std::string PackStream(const std::vector<std::string>& objects)
{
    std::string bytes;
    size_t k = 0;
    for (const std::string& object : objects) {
        for (char bit : object) {
            if (k / 8 >= bytes.size()) bytes.push_back('\0');
            if (bit == '1') bytes[k / 8] = static_cast<char>(bytes[k / 8] | (1 << (k % 8)));
            ++k;
        }
    }
    return bytes;
}

void WriteSet(const CScratchFolder& folder, const std::string& header, int objects, int bits, const std::string& stream)
{
    WriteBytes(folder.Path(header), "structure descriptors\r\nObjs:" + std::to_string(objects) + "\r\nBits:" +
                                        std::to_string(bits) + "\r\n");
    WriteBytes(folder.Path(header.substr(0, header.size() - 3) + "bit"), stream);
}

const std::vector<std::string> kTwelveBitObjects = {"101100111101", "110001011010", "000000000001"};

}  // namespace

TEST(DescriptorSet, TwelveBitObjectsStartInsideBytes)
{
    CScratchFolder folder;
    std::string stream = PackStream(kTwelveBitObjects);
    ASSERT_EQ(stream.size(), 5u);  // ceil(3 * 12 / 8)
    WriteSet(folder, "desc.txt", 3, 12, stream);
    DescriptorSet set;
    CHeadlessPrompter prompter;
    ASSERT_EQ(set.OpenDescriptors(folder.Path("desc.txt"), prompter), 1);
    EXPECT_EQ(set.bitFile, folder.Path("desc.bit"));
    EXPECT_TRUE(set.IsOpen());
    EXPECT_EQ(set.byteCount, 2);
    ASSERT_EQ(set.ReadObjects(0), 1);
    for (int k = 1; k <= 3; ++k) EXPECT_EQ(set.BitString(k), kTwelveBitObjects[k - 1]) << k;
    EXPECT_EQ(set.BitString(0), "");
    EXPECT_EQ(set.BitString(8), kTwelveBitObjects[2]);

    // Object 2 alone: its second byte holds only stream bits 20 to 23, the upper bits cleared.
    ASSERT_EQ(set.ReadObjects(2), 1);
    CMatrix vector = set.ObjectVector();
    ASSERT_EQ(vector.Cols(), 12);
    for (int c = 0; c < 12; ++c) EXPECT_EQ(vector.Get(1, c + 1), kTwelveBitObjects[1][c] == '1' ? 1.0 : 0.0);
    EXPECT_EQ(set.ObjectVector(0).Cols(), 0);
    EXPECT_EQ(set.ObjectVector(3).Get(1, 12), 1.0);
}

TEST(DescriptorSet, ByteAlignedObjectsAndTanimoto)
{
    CScratchFolder folder;
    std::vector<std::string> objects = {"1110001100000000", "1101000100000000", "0000000000000000",
                                        "0000000000000000"};
    WriteSet(folder, "desc.dat", 4, 16, PackStream(objects));
    DescriptorSet set;
    CHeadlessPrompter prompter;
    ASSERT_EQ(set.OpenDescriptors(folder.Path("desc.dat"), prompter), 1);
    EXPECT_EQ(set.bitFile, folder.Path("desc.bit"));
    ASSERT_EQ(set.ReadObjects(0), 1);
    EXPECT_EQ(set.BitString(2), objects[1]);
    EXPECT_DOUBLE_EQ(set.Tanimoto(1, 1), 1.0);
    // Objects 1 and 2 share bits 0, 1 and 7; six bits are set in either.
    EXPECT_DOUBLE_EQ(set.Tanimoto(1, 2), 0.5);
    EXPECT_DOUBLE_EQ(set.Tanimoto(3, 4), 0.0);
    EXPECT_DOUBLE_EQ(set.Tanimoto(1, 5), 0.0);
    EXPECT_DOUBLE_EQ(set.Tanimoto(0, 1), 0.0);
}

TEST(DescriptorSet, DamagedSetsAreReported)
{
    CScratchFolder folder;
    CHeadlessPrompter prompter;
    DescriptorSet set;
    {
        CRecordingReporter reporter;
        EXPECT_EQ(set.OpenDescriptors(folder.Path("missing.txt"), prompter), 0);
        EXPECT_EQ(set.ReadObjects(0), 0);
        EXPECT_EQ(reporter.messages, std::vector<std::string>{"Error opening Descriptor file!"});
    }
    // The header announces ten objects, the file holds two and a half.
    WriteSet(folder, "short.txt", 10, 12, PackStream({kTwelveBitObjects[0], kTwelveBitObjects[1], "000011"}));
    {
        CRecordingReporter reporter;
        ASSERT_EQ(set.OpenDescriptors(folder.Path("short.txt"), prompter), 1);
        EXPECT_EQ(set.ReadObjects(0), 1);
        ASSERT_EQ(reporter.messages.size(), 1u);
        EXPECT_EQ(set.objectCount, 2);
        EXPECT_EQ(set.BitString(2), kTwelveBitObjects[1]);
        EXPECT_EQ(set.ReadObjects(9), 0);
    }
    // Absurd counts never turn into allocations.
    WriteSet(folder, "huge.txt", 2000000000, 2000000000, "abc");
    {
        CRecordingReporter reporter;
        ASSERT_EQ(set.OpenDescriptors(folder.Path("huge.txt"), prompter), 1);
        EXPECT_EQ(set.ReadObjects(0), 0);
        EXPECT_EQ(set.ReadObjects(1), 0);
        EXPECT_EQ(reporter.messages.size(), 2u);
        EXPECT_FALSE(set.IsLoaded());
    }
    WriteSet(folder, "negative.txt", -5, -3, "abc");
    {
        CRecordingReporter reporter;
        ASSERT_EQ(set.OpenDescriptors(folder.Path("negative.txt"), prompter), 1);
        EXPECT_EQ(set.ReadObjects(0), 0);
        EXPECT_EQ(set.ObjectVector(1).Cols(), 0);
    }
}

TEST(DescriptorCommands, StatusTexts)
{
    CScratchFolder folder;
    WriteSet(folder, "desc.txt", 3, 12, PackStream(kTwelveBitObjects));

    // Answers every file dialog with the descriptor header and every prompt with object 2.
    class CPrompterForSet : public CHeadlessPrompter {
    public:
        explicit CPrompterForSet(std::string path) : path_(std::move(path)) {}
        std::optional<std::string> ChooseFileToOpen(const FileRequest&) override { return path_; }
        PromptAnswer Ask(const PromptRequest&) override { return {true, "2"}; }

    private:
        std::string path_;
    } prompter(folder.Path("desc.txt"));

    DescriptorSet set;
    CRecordingSession session;
    CHeadlessPrompter nothingChosen;
    LoadDescriptorsCommand(set, nothingChosen, session);
    EXPECT_EQ(session.status.back(), "No Descriptors loaded");
    OpenDescriptorsCommand(set, prompter, session);
    EXPECT_EQ(session.status.back(), "3 x 12 Descriptors opened");
    CopyBitStringCommand(set, prompter, session);  // loads on demand
    EXPECT_EQ(session.copied, std::vector<std::string>{kTwelveBitObjects[1]});
    EXPECT_EQ(session.status.back(), "BitString copied.");
    {
        CRecordingReporter reporter;
        ShowDescriptorCommand(set, prompter);
        EXPECT_EQ(reporter.messages, std::vector<std::string>{"Obj: 2\nByte: " + kTwelveBitObjects[1]});
    }
    CloseDescriptorsCommand(set, session);
    EXPECT_EQ(session.status.back(), "Descriptors closed");
    LoadDescriptorsCommand(set, prompter, session);
    EXPECT_EQ(session.status.back(), "3 x 12 Descriptors loaded");
    EXPECT_FALSE(set.IsOpen());
    EXPECT_TRUE(set.IsLoaded());
}

TEST(DescriptorCommands, DescriptorsIntoY)
{
    CScratchFolder folder;
    WriteSet(folder, "desc.txt", 3, 12, PackStream(kTwelveBitObjects));
    DescriptorSet set;
    CHeadlessPrompter prompter;
    ASSERT_EQ(set.OpenDescriptors(folder.Path("desc.txt"), prompter), 1);
    CRecordingSession session;
    CMatrix y;
    CMatrixI columns;
    for (bool loaded : {false, true}) {  // read object by object, then from memory
        if (loaded) set.ReadObjects(0);
        UseDescriptorsY(set, y, columns, session);
        ASSERT_EQ(y.Rows(), 3);
        ASSERT_EQ(y.Cols(), 12);
        for (int i = 1; i <= 3; ++i) {
            for (int c = 1; c <= 12; ++c) EXPECT_EQ(y.Get(i, c), kTwelveBitObjects[i - 1][c - 1] == '1' ? 1.0 : 0.0);
        }
        EXPECT_EQ(columns.Cols(), 12);
        EXPECT_EQ(columns.Get(1, 12), 12);
        EXPECT_EQ(session.status.back(), "Descriptors copied.");
    }
}

TEST(DescriptorSet, HeaderCountsAloneAllocateNothing)
{
    CScratchFolder folder;
    CHeadlessPrompter prompter;
    CRecordingSession session;
    CMatrix y;
    CMatrixI columns;
    // 600,000,000 bits announced, an empty ".bit" file.
    WriteSet(folder, "wide.txt", 1, 600000000, "");
    DescriptorSet set;
    ASSERT_EQ(set.OpenDescriptors(folder.Path("wide.txt"), prompter), 1);
    {
        CRecordingReporter reporter;
        EXPECT_EQ(set.ReadObjects(1), 0);
        EXPECT_EQ(reporter.messages.size(), 1u);
    }
    EXPECT_EQ(set.ObjectVector().Count(), 0);
    EXPECT_EQ(set.ObjectVector(1).Count(), 0);
    EXPECT_EQ(set.ObjectsAvailable(), 0);
    UseDescriptorsY(set, y, columns, session);
    EXPECT_EQ(y.Count(), 0);
    EXPECT_EQ(columns.Count(), 0);

    // 1000 objects of 10^6 bits announced, the ".bit" file holds two and a bit: y gets two rows.
    WriteSet(folder, "many.txt", 1000, 1000000, std::string(250001, '\xff'));
    ASSERT_EQ(set.OpenDescriptors(folder.Path("many.txt"), prompter), 1);
    EXPECT_EQ(set.ObjectsAvailable(), 2);
    UseDescriptorsY(set, y, columns, session);
    EXPECT_EQ(y.Rows(), 2);
    EXPECT_EQ(y.Cols(), 1000000);
    EXPECT_EQ(y.Get(2, 1000000), 1.0);
    // Without its ".bit" file a set has no objects to give.
    std::remove(folder.Path("many.bit").c_str());
    ASSERT_EQ(set.OpenDescriptors(folder.Path("many.txt"), prompter), 1);
    EXPECT_FALSE(set.IsOpen());
    UseDescriptorsY(set, y, columns, session);
    EXPECT_EQ(y.Count(), 0);
    EXPECT_EQ(session.status.back(), "Descriptors copied.");
}
