#include "MspTestSupport.h"

#include <algorithm>
#include <filesystem>

#include "import/MspImport.h"

namespace kiv::test {

namespace {

std::filesystem::path CorpusFolder()
{
    const std::filesystem::path here(__FILE__);
    return here.parent_path().parent_path() / "data" / "msp";
}

}  // namespace

std::string MspCorpusFile(const std::string& name) { return (CorpusFolder() / name).string(); }

std::vector<std::string> MspCorpus()
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(CorpusFolder())) {
        if (entry.path().extension() == ".msp") files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

ReadBack ImportMspAndRead(const std::vector<std::string>& files, const std::string& ssdPath, MessageLog& log)
{
    {
        CBib bib;
        ImportMspLibrary(bib, files, ssdPath, "test", "MS", log);
    }
    return ReadLibrary(ssdPath);
}

}  // namespace kiv::test
