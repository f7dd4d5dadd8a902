#include "ui/ViewMenu.h"

#include "ui/PageView.h"

namespace kiv {

namespace {

// Runs work on the document's view, or on a view made for this one command when the document
// has none (a script run without desktop).
template <class Work>
void OnView(CKivDoc& doc, Work work)
{
    if (doc.view) {
        work(*doc.view);
        return;
    }
    CPageView view(doc);
    doc.view = &view;
    work(view);
    doc.view = nullptr;
}

// Stores a changed setting and lays the page out anew; an unchanged one is nothing to do.
void ApplySetting(CPageView& view, int& setting, int value, CSession& session)
{
    if (value == setting) return;
    setting = value;
    view.Rebuild();
    session.Redraw();
}

void SetPageSetup(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    OnView(doc, [&](CPageView& view) {
        PageSettings& s = view.Settings();
        const int current = s.matrixOnly ? -1 : s.setup;
        const int value = AskInteger(prompter,
                                     "Change Page Setup:\n-1\tMatrix only\n0\tText only\n1\tBIB GC MS&Stucture\n"
                                     "2\tBIB MS&Structure\n3\tBIB 4 MS&Structure\n4\tBIB GC MS MS\n5\tBIB GC MS GC\n"
                                     "10\tScatter Plot\n11\t2 Scatter Plots\n12\t2 Scatter Plots MS&Structure\n"
                                     "13\t2 Scatter Plots 4 Structures\n20\t12 Structures\n21\t16 Structures\n",
                                     current,
                                     {{"Matrix", "-1"},
                                      {"Text", "0"},
                                      {"GC MS Str", "1"},
                                      {"MS Str", "2"},
                                      {"4x MS Str", "3"},
                                      {"GC MS MS", "4"},
                                      {"Plot", "10"},
                                      {"2PlotsMSStr", "12"}});
        if (value == current) return;
        s.matrixOnly = value < 0;
        s.setup = value < 0 ? 0 : value;
        view.Rebuild();
        session.Redraw();
    });
}

void SetPageFormat(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    OnView(doc, [&](CPageView& view) {
        const int value = AskInteger(prompter, "Change Page Format:\n1\tWindow\n2\tA4 Page\n3\tFull Screen 1024x768\n",
                                     view.Settings().format, {{"Window", "1"}, {"A4 Page", "2"}, {"1024x768", "3"}});
        if (value >= 1 && value <= 3) ApplySetting(view, view.Settings().format, value, session);
    });
}

void SetPageOptions(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    OnView(doc, [&](CPageView& view) {
        const int value = AskInteger(prompter, "Change Page Options:\n1\tstandard BIB\n2\tHitlist\n",
                                     view.Settings().options, {{"BIB", "1"}, {"Hitlist", "2"}});
        if (value == 1 || value == 2) ApplySetting(view, view.Settings().options, value, session);
    });
}

void SetPageFontSize(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    OnView(doc, [&](CPageView& view) {
        const int value = AskInteger(prompter, "Change Font Size of Diagrams:\n10\tDocument\n15\tPoster\n",
                                     view.Settings().fontSize, {{"Document", "10"}, {"Poster", "15"}});
        if (value > 0) ApplySetting(view, view.Settings().fontSize, value, session);
    });
}

void SetPageLineWidth(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    OnView(doc, [&](CPageView& view) {
        const int value = AskInteger(prompter, "Change Line Width of Diagrams:\n10\tDocument\n15\tPoster\n",
                                     view.Settings().lineWidth, {{"Document", "10"}, {"Poster", "15"}});
        if (value > 0) ApplySetting(view, view.Settings().lineWidth, value, session);
    });
}

void SetPageZoom(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    OnView(doc, [&](CPageView& view) {
        const int value = AskInteger(prompter, "Change Page Zoom [%]:\n", view.Settings().zoom,
                                     {{"100%", "100"}, {"120%", "120"}, {"150%", "150"}});
        if (value <= 0) return;
        doc.zoom = value;
        ApplySetting(view, view.Settings().zoom, value, session);
    });
}

// ---- Show: a matrix listed alone on the page ----

enum class Listing { XData, XLoadings, XScores, XVariances, YData, YLoadings, YPrediction, YScore, YVariances, Features, MsMatrix };

template <Listing listing>
void ShowListing(CKivDoc& doc, CPrompter&, CSession& session)
{
    const CDataSet& d = doc.data;
    struct Choice {
        const CMatrix& matrix;
        const char* title;
    };
    const Choice c = [&]() -> Choice {
        switch (listing) {
        case Listing::XData: return {d.X, "X Data"};
        case Listing::XLoadings: return {d.XLoadings, "X Loadings"};
        case Listing::XScores: return {d.XScores, "X Scores"};
        case Listing::XVariances: return {d.XSingular, "X SVs"};
        case Listing::YData: return {d.Y, "Y Data"};
        case Listing::YLoadings: return {d.YLoadings, "Y Loadings"};
        case Listing::YPrediction: return {d.YPred, "Y Prediction"};
        case Listing::YScore: return {d.YScores, "Y Score"};
        case Listing::YVariances: return {d.YSingular, "Y SVs"};
        case Listing::Features: return {doc.features.features, "Features"};
        case Listing::MsMatrix: break;
        }
        return {doc.bib.run.msm, "MS Matrix"};
    }();
    OnView(doc, [&](CPageView& view) {
        view.ShowMatrix(c.matrix, c.title);
        session.Redraw();
    });
}

// ---- Scatter plots ----

struct ScatterCommand {
    const char* source;
    const char* xPrompt;
    const char* yPrompt;
    int plot;
};

constexpr ScatterCommand kMsMatrixPlot{"MS Matrix", "Enter Mass for X-Axis:", "Enter Mass for Y-Axis:", 1};
constexpr ScatterCommand kFeaturesPlot{"Features", "Enter Feature for X-Axis:", "Enter Feature for Y-Axis:", 1};
constexpr ScatterCommand kXDataPlot{"X Data", "Enter Feature for X-Axis:", "Enter Feature for Y-Axis:", 1};
constexpr ScatterCommand kXScoresPlot{"X Scores", "Enter PC-score for X-Axis:", "Enter PC-score for Y-Axis:", 1};
constexpr ScatterCommand kXLoadingsPlot{"X Loadings", "Enter X Loadings for X-Axis:", "Enter X Loadings for Y-Axis:", 1};
constexpr ScatterCommand kYDataPlot{"Y Data", "Enter Y Feature for X-Axis:", "Enter Y Feature for Y-Axis:", 1};
constexpr ScatterCommand kYScoresPlot{"Y Scores", "Enter Y Score for X-Axis:", "Enter Y Score for Y-Axis:", 2};
constexpr ScatterCommand kYScoresPredictionPlot{"Y Scores & Prediction", "Enter Y Score for X-Axis:",
                                                "Enter Y Score for Y-Axis:", 2};
constexpr ScatterCommand kYPredictionPlot{"Y Prediction", "Enter Y Score for X-Axis:", "Enter Y Score for Y-Axis:", 2};
constexpr ScatterCommand kYLoadingsPlot{"Y Loadings", "Enter Y Loadings for X-Axis:", "Enter Y Loadings for Y-Axis:", 2};

template <const ScatterCommand& command>
void ScatterPlot(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    int x = AskInteger(prompter, command.xPrompt, 1);
    int y = AskInteger(prompter, command.yPrompt, 2);
    OnView(doc, [&](CPageView& view) {
        if (&command == &kMsMatrixPlot) {
            // Masses below 1 mean the first one; the plot gets a page of its own.
            x = std::max(1, x);
            y = std::max(1, y);
            view.Settings().setup = 10;
            view.Settings().matrixOnly = false;
            view.Rebuild();
        }
        if (!view.ShowScatterPlot(command.plot, command.source, x, y)) {
            session.SetStatus("No Data!");
            return;
        }
        session.Redraw();
    });
}

}  // namespace

void AddViewMenuCommands(CommandList& commands)
{
    const CommandList view = {
        {"View", "Page Setup", "page setup", SetPageSetup, {}},
        {"View", "Page Format", "page format", SetPageFormat, {}},
        {"View", "Page Options", "page options", SetPageOptions, {}},
        {"View", "Page Font Size", "font size", SetPageFontSize, {}},
        {"View", "Page Line Width", "line width", SetPageLineWidth, {}},
        {"View", "Page Zoom", "zoom in percent", SetPageZoom, {}},
        {"Show", "X Data", "", ShowListing<Listing::XData>, {}},
        {"Show", "X Loadings", "", ShowListing<Listing::XLoadings>, {}},
        {"Show", "X Scores", "", ShowListing<Listing::XScores>, {}},
        {"Show", "X Variances", "", ShowListing<Listing::XVariances>, {}},
        {"Show", "Y Data", "", ShowListing<Listing::YData>, {}},
        {"Show", "Y Loadings", "", ShowListing<Listing::YLoadings>, {}},
        {"Show", "Y Prediction", "", ShowListing<Listing::YPrediction>, {}},
        {"Show", "Y Score", "", ShowListing<Listing::YScore>, {}},
        {"Show", "Y Variances", "", ShowListing<Listing::YVariances>, {}},
        {"Show", "Features", "", ShowListing<Listing::Features>, {}},
        {"Show", "MS Matrix", "", ShowListing<Listing::MsMatrix>, {}},
        {"Scatter Plot", "MS Matrix", "x mass, y mass", ScatterPlot<kMsMatrixPlot>, {}},
        {"Scatter Plot", "Features", "x feature, y feature", ScatterPlot<kFeaturesPlot>, {}},
        {"Scatter Plot", "X Data", "x feature, y feature", ScatterPlot<kXDataPlot>, {}},
        {"Scatter Plot", "X Scores", "x component, y component", ScatterPlot<kXScoresPlot>, {}},
        {"Scatter Plot", "X Loadings", "x component, y component", ScatterPlot<kXLoadingsPlot>, {}},
        {"Scatter Plot", "Y Data", "x feature, y feature", ScatterPlot<kYDataPlot>, {}},
        {"Scatter Plot", "Y Scores", "x component, y component", ScatterPlot<kYScoresPlot>, {}},
        {"Scatter Plot", "Y Prediction&&Scores", "x component, y component", ScatterPlot<kYScoresPredictionPlot>, {}},
        {"Scatter Plot", "Y Prediction", "x component, y component", ScatterPlot<kYPredictionPlot>, {}},
        {"Scatter Plot", "Y Loadings", "x component, y component", ScatterPlot<kYLoadingsPlot>, {}},
    };
    commands.insert(commands.end(), view.begin(), view.end());
}

}  // namespace kiv
