#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace kiv::test {

CRecordingReporter::CRecordingReporter() : previous_(SetReporter(this)) {}

CRecordingReporter::~CRecordingReporter() { SetReporter(previous_); }

void CRecordingReporter::Report(ErrorKind kind, const std::string& message)
{
    messages.push_back(message);
    kinds.push_back(kind);
}

CScratchFolder::CScratchFolder()
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "kiv";
    for (char& c : name) {
        if (c == '/') c = '_';
    }
    std::filesystem::path root = std::filesystem::temp_directory_path() / "kiv-tests" /
                                 (name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    root_ = root.string();
}

CScratchFolder::~CScratchFolder()
{
    std::error_code error;
    std::filesystem::remove_all(root_, error);
}

std::string CScratchFolder::Path(const std::string& name) const { return root_ + "/" + name; }

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace kiv::test
