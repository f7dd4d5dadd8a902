#pragma once
// A prompter that plays back scripted answers and records every question, and a writer of
// small spectral libraries, for the feature output and command tests.
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/Prompt.h"
#include "library/Bib.h"

namespace kiv::test {

class CScriptedPrompter : public CPrompter {
public:
    PromptAnswer Ask(const PromptRequest& request) override
    {
        prompts.push_back(request);
        if (answers.empty()) return {true, request.valueText};
        PromptAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> ChooseFileToOpen(const FileRequest& request) override { return Choose(request); }
    std::optional<std::string> ChooseFileToSave(const FileRequest& request) override { return Choose(request); }

    std::deque<PromptAnswer> answers;  // nothing left: the initial value is accepted
    std::deque<std::optional<std::string>> files;  // nothing left: no file chosen
    std::vector<PromptRequest> prompts;
    std::vector<FileRequest> fileRequests;

private:
    std::optional<std::string> Choose(const FileRequest& request)
    {
        fileRequests.push_back(request);
        if (files.empty()) return std::nullopt;
        std::optional<std::string> file = files.front();
        files.pop_front();
        return file;
    }
};

// Integer masses and intensities of one spectrum; an empty list writes a block without one.
using LibraryPeaks = std::vector<std::pair<int, double>>;

// Writes a new library (no index yet, so its header still holds the block count 0).
inline bool WriteTestLibrary(const std::string& path, const std::vector<LibraryPeaks>& spectra)
{
    CBib bib;
    if (!bib.NewLibrary("test", "MS", path)) return false;
    for (size_t i = 0; i < spectra.size(); ++i) {
        bib.record.Clear();
        bib.record.id = static_cast<int32_t>(i + 1);
        const LibraryPeaks& peaks = spectra[i];
        if (!peaks.empty()) {
            CMassSpectrum& s = bib.record.spectrum;
            s.empty = 0;
            s.nbyte = 2;
            s.ndec = 0;
            s.count = static_cast<uint16_t>(peaks.size());
            s.peaks.Alloc(2, static_cast<int>(peaks.size()));
            for (size_t j = 0; j < peaks.size(); ++j) {
                s.peaks.Set(1, static_cast<int>(j + 1), peaks[j].first);
                s.peaks.Set(2, static_cast<int>(j + 1), peaks[j].second);
            }
            s.Normalise();
        }
        if (!bib.WriteBlock()) return false;
    }
    bib.CloseWrite();
    return true;
}

// Opens a library as the view does: data file, index (rebuilt when missing), header.
inline bool OpenTestLibrary(CBib& bib, const std::string& path)
{
    if (bib.Open(WithoutSsdExtension(path)) != 0) return false;
    return bib.OpenIndex() && bib.ReadHeader();
}

}  // namespace kiv::test
