#pragma once
// Where the analyses show their results: the view's two scatter plots. An analysis names the
// result ("X Scores", "Y Scores") and the two components to plot; the view fills the plot.
#include <string>

namespace kiv {

class CScorePlots {
public:
    virtual ~CScorePlots() = default;
    virtual void ShowScatter(int plot, const std::string& source, int xComponent, int yComponent) = 0;
};

}  // namespace kiv
