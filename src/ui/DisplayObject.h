#pragma once
// CDisplayObject: one rectangle of a page that shows one thing (a text block, a chromatogram, a
// mass spectrum, a structure, a scatter plot). Every kind draws through a CPainter, copies its
// content as text, saves its matrix, takes display options and, where it plots data, keeps a
// visible data window that the zoom commands change.
#include <optional>
#include <string>

#include "base/Prompt.h"
#include "matrix/MatrixNumerics.h"
#include "ui/Painter.h"

namespace kiv {

// Print format of one matrix element in listings and saved matrices (each element carries its
// own separating blank).
inline constexpr const char* kListingFormat = " %11.5g";

// How the page draws its diagrams: zoom in percent, diagram font size (10 document, 15 poster)
// and the pen width of the diagrams.
struct DrawStyle {
    int zoom = 100;
    int fontSize = 10;
    int penWidth = 3;
};

class CDisplayObject {
public:
    virtual ~CDisplayObject() = default;

    // Nothing when the object has no size or does not meet area; else the frame (light grey on
    // white) when the frame flag is set, then "Empty" centred or the content.
    void Draw(CPainter& painter, const PageRect& area) const;

    PageRect Placement() const { return placement_; }
    void Place(const PageRect& rect) { placement_ = rect; }
    bool IsEmpty() const { return empty_; }
    void SetEmpty(bool empty) { empty_ = empty; }
    bool HasFrame() const { return frame_; }
    void SetFrame(bool frame) { frame_ = frame; }
    const DrawStyle& Style() const { return style_; }
    void SetStyle(const DrawStyle& style) { style_ = style; }

    // A zoomable object plots data in a window that the zoom commands change; a selectable one
    // reports the item under a point.
    virtual bool IsZoomable() const { return false; }
    virtual bool IsSelectable() const { return false; }

    // "Copy Text": lines ending in "\n".
    virtual std::string CopyText() const { return ""; }
    // "Save Matrix": the result matrix as text (CR LF line ends). False when it cannot be written.
    virtual bool SaveMatrix(const std::string& path) const;

    // Zoom one level in around a point, one level out, back to the full data range, or to the data
    // under a page rectangle. Objects that are not zoomable ignore them.
    void ZoomIn(PagePoint around);
    void ZoomOut();
    void ZoomReset();
    void ZoomTo(const PageRect& pageRect);
    AxisRange ZoomWindow() const { return window_; }
    void SetZoomWindow(AxisRange window);

    virtual std::string OptionsPrompt() const { return "Enter Options:"; }
    int Options() const { return options_; }
    void SetOptions(int options) { options_ = options; }

    // The item under p (a record, a hit, a plot point, a trace point), or nothing.
    virtual std::optional<int> ItemAt(PagePoint) const { return std::nullopt; }

    // Where the data window is mapped to on the page (the whole rectangle unless a kind keeps
    // room for axes and titles).
    virtual PageRect PlotArea() const { return placement_; }

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }
    const CMatrixNumerics& Result() const { return result_; }

protected:
    virtual void DrawContent(CPainter& painter) const = 0;
    // The full range of the data (the window of "Zoom Reset").
    virtual AxisRange DataRange() const { return {}; }
    // What a kind makes of a window before it takes it (the mass-spectrum plot rounds it to its
    // axis scales).
    virtual AxisRange Rounded(AxisRange window) const { return window; }
    // DataRange with an axis of no width widened to one unit.
    AxisRange FullRange() const;
    // Data to page coordinates through the window and PlotArea, and back.
    PagePoint ToPage(double x, double y) const;
    void ToData(PagePoint p, double& x, double& y) const;
    // Height of the diagram labels: the label font scaled by the diagram font size (10 document,
    // 15 poster); UseDiagramFont selects that font.
    int DiagramLabelHeight() const;
    void UseDiagramFont(CPainter& painter) const;
    // The result matrix filled and the window reset to the data: what every kind does on Show.
    void ShowResult(CMatrix result);
    // Writes matrix row by row with format per element and a line end after each row.
    static bool WriteMatrixRows(const std::string& path, const CMatrix& matrix, const char* format);

    CMatrixNumerics result_;

private:
    PageRect placement_;
    bool empty_ = true;
    bool frame_ = true;
    DrawStyle style_;
    AxisRange window_;
    int options_ = 0;
    std::string title_;
};

// Colours of the page.
inline constexpr Rgb kFrameGrey{200, 200, 200};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};

// Digit k (1 = units) of a display options number: floor((n mod 10^k) / 10^(k-1)).
int OptionDigit(int options, int k);

}  // namespace kiv
