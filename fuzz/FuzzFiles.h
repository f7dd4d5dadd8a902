#pragma once
// Shared by every fuzz harness: the fuzzer's bytes reach readers that take paths through files
// in a scratch folder of this process (in memory under /dev/shm where it exists), removed when
// the process ends. This file pair also holds the harnesses' common LLVMFuzzerInitialize: it
// makes the folder and silences the reporter, since damaged input is expected to be reported
// and only crashes, leaks, undefined behaviour, hangs and over-allocation count.
#include <cstddef>
#include <cstdint>
#include <string>

namespace kiv::fuzz {

// Path of name inside the scratch folder.
std::string ScratchPath(const std::string& name);

// Writes size bytes to name inside the scratch folder and returns its path.
std::string WriteScratchFile(const std::string& name, const uint8_t* data, size_t size);

}  // namespace kiv::fuzz
