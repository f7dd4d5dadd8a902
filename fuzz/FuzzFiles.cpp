#include "FuzzFiles.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "base/Reporter.h"

namespace kiv::fuzz {

namespace {

std::string folder;

void RemoveFolder()
{
    std::error_code error;
    std::filesystem::remove_all(folder, error);
}

void MakeFolder()
{
    for (const char* pattern : {"/dev/shm/kiv-fuzz-XXXXXX", "/tmp/kiv-fuzz-XXXXXX"}) {
        std::string name = pattern;
        if (mkdtemp(name.data())) {
            folder = name;
            std::atexit(RemoveFolder);
            return;
        }
    }
    std::abort();
}

}  // namespace

std::string ScratchPath(const std::string& name) { return folder + "/" + name; }

std::string WriteScratchFile(const std::string& name, const uint8_t* data, size_t size)
{
    const std::string path = ScratchPath(name);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
    return path;
}

}  // namespace kiv::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    kiv::fuzz::MakeFolder();
    kiv::SetReporter(nullptr);
    return 0;
}
