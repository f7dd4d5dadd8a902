#pragma once
// Small GC-MS runs held in memory for the tests: absolute intensities per scan and mass, turned
// into the records an importer would append (relative vector, base-peak intensity, time).
#include <deque>
#include <string>
#include <vector>

#include "base/Prompt.h"
#include "library/Bib.h"

namespace kiv::test {

// scans[i][m - 1] = absolute intensity of scan i + 1 at mass m. Scan i gets time times[i] (or
// i * 0.01 + 1 when times is shorter). The library is reset first and has the default parameters.
void MakeRun(CBib& bib, const std::vector<std::vector<double>>& scans, const std::vector<double>& times = {});

// A run of n scans over masses 1..masses: Gaussian peaks (apex scan, mass, height, sigma in scans)
// on a baseline that drifts linearly from drift0 to drift1 at every mass.
struct GaussianPeak {
    double apex;
    int mass;
    double height;
    double sigma;
};
std::vector<std::vector<double>> GaussianRun(int n, int masses, const std::vector<GaussianPeak>& peaks, double drift0,
                                             double drift1);

// Answers prompts from a queue of texts (the current value once the queue is empty) and keeps
// the prompts it was asked.
class CQueuePrompter : public CHeadlessPrompter {
public:
    PromptAnswer Ask(const PromptRequest& request) override
    {
        prompts.push_back(request.prompt);
        if (answers.empty()) return {true, request.valueText};
        std::string text = answers.front();
        answers.pop_front();
        return {true, text};
    }
    std::deque<std::string> answers;
    std::vector<std::string> prompts;
};

}  // namespace kiv::test
