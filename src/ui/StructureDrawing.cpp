#include "ui/StructureDrawing.h"

#include <algorithm>
#include <cmath>

#include "base/Format.h"
#include "chem/ElementTable.h"
#include "ui/PageSettings.h"

namespace kiv {

namespace {

constexpr int kCarbon = 6;
// Distance of the second and third line of a multiple bond, as a share of the bond length.
constexpr double kMultipleBondOffset = 0.12;

int ImplicitHydrogens(const CMolecule& molecule, int atom)
{
    const int code = molecule.hydrogenCode[atom];
    return code > 0 ? code - 1 : 0;
}

// Every per-atom and per-bond array as long as the counts say: only then can it be drawn.
bool Consistent(const CMolecule& m)
{
    const size_t atoms = m.atomCount, bonds = m.bondCount;
    return m.element.size() >= atoms && m.hydrogenCode.size() >= atoms && m.x.size() >= atoms &&
           m.y.size() >= atoms && m.bondFrom.size() >= bonds && m.bondTo.size() >= bonds &&
           m.bondOrder.size() >= bonds;
}

}  // namespace

void CStructureDrawing::Show(const CMolecule& molecule, const std::string& title, int item)
{
    molecule_ = molecule;
    if (!Consistent(molecule_)) molecule_.Clear();
    item_ = item;
    SetTitle(title);
    const int atoms = molecule_.empty ? 0 : molecule_.atomCount;
    CMatrix table;
    table.Alloc(atoms, 3);
    for (int a = 0; a < atoms; ++a) {
        table.Set(a + 1, 1, a + 1);
        table.Set(a + 1, 2, molecule_.element[a]);
        table.Set(a + 1, 3, ImplicitHydrogens(molecule_, a));
    }
    SetEmpty(atoms == 0);
    ShowResult(std::move(table));
}

std::string CStructureDrawing::CopyText() const
{
    const int atoms = molecule_.empty ? 0 : molecule_.atomCount;
    std::string text = "Formula: " + molecule_.Formula() + "\n";
    text += Format("Atom List %d atoms\n", atoms);
    text += "     # atomno imp Hs:\n";
    for (int a = 0; a < atoms; ++a) {
        text += Format("%6d %6d %6d\n", a + 1, int(molecule_.element[a]), ImplicitHydrogens(molecule_, a));
    }
    return text;
}

std::optional<int> CStructureDrawing::ItemAt(PagePoint p) const
{
    if (item_ == 0 || IsEmpty() || !Placement().Contains(p)) return std::nullopt;
    return item_;
}

CStructureDrawing::Mapping CStructureDrawing::FitInto(const PageRect& box) const
{
    float minX = molecule_.x[0], maxX = minX, minY = molecule_.y[0], maxY = minY;
    for (int a = 1; a < molecule_.atomCount; ++a) {
        minX = std::min(minX, molecule_.x[a]);
        maxX = std::max(maxX, molecule_.x[a]);
        minY = std::min(minY, molecule_.y[a]);
        maxY = std::max(maxY, molecule_.y[a]);
    }
    const double w = std::max(1e-6, double(maxX - minX)), h = std::max(1e-6, double(maxY - minY));
    double scale = std::min(box.Width() / w, box.Height() / h);
    if (!std::isfinite(scale)) scale = 0;
    // Molecule y grows upwards, the page's downwards.
    const double cx = (minX + maxX) / 2.0, cy = (minY + maxY) / 2.0;
    return {scale, (box.left + box.right) / 2.0 - cx * scale, (box.top + box.bottom) / 2.0 + cy * scale};
}

void CStructureDrawing::DrawContent(CPainter& painter) const
{
    const PageRect box = Placement();
    const int label = DiagramLabelHeight();
    UseDiagramFont(painter);
    painter.SetTextColour(kBlack);
    painter.DrawText({(box.left + box.right) / 2, box.top}, Title(), HAlign::Centre, VAlign::Top);
    const PageRect inner{box.left + label, box.top + 2 * label, box.right - label, box.bottom - label};
    if (inner.IsEmpty()) return;
    const Mapping m = FitInto(inner);
    painter.SetClip(box);
    painter.SetPen(kBlack, Style().penWidth);
    DrawBonds(painter, m);
    DrawAtomLabels(painter, m);
    painter.ResetClip();
}

void CStructureDrawing::DrawBonds(CPainter& painter, const Mapping& m) const
{
    auto at = [&](int atom, double dx, double dy) {
        return PagePoint{static_cast<int>(std::lround(m.offsetX + molecule_.x[atom] * m.scale + dx)),
                         static_cast<int>(std::lround(m.offsetY - molecule_.y[atom] * m.scale + dy))};
    };
    for (int b = 0; b < molecule_.bondCount; ++b) {
        const int from = molecule_.bondFrom[b] - 1, to = molecule_.bondTo[b] - 1;
        if (from < 0 || to < 0 || from >= molecule_.atomCount || to >= molecule_.atomCount) continue;
        const double dx = (molecule_.x[to] - molecule_.x[from]) * m.scale;
        const double dy = -(molecule_.y[to] - molecule_.y[from]) * m.scale;
        // The normal of the bond, for the parallel lines of double and triple bonds.
        const double nx = -dy * kMultipleBondOffset, ny = dx * kMultipleBondOffset;
        const int order = molecule_.bondOrder[b];
        if (order == 2) {
            painter.DrawLine(at(from, nx / 2, ny / 2), at(to, nx / 2, ny / 2));
            painter.DrawLine(at(from, -nx / 2, -ny / 2), at(to, -nx / 2, -ny / 2));
            continue;
        }
        painter.DrawLine(at(from, 0, 0), at(to, 0, 0));
        if (order == 3) {
            painter.DrawLine(at(from, nx, ny), at(to, nx, ny));
            painter.DrawLine(at(from, -nx, -ny), at(to, -nx, -ny));
        }
    }
}

void CStructureDrawing::DrawAtomLabels(CPainter& painter, const Mapping& m) const
{
    painter.SetBrush(kWhite);
    painter.SetPen(kWhite, 0);
    const int h = painter.TextHeight();
    for (int a = 0; a < molecule_.atomCount; ++a) {
        if (molecule_.element[a] == kCarbon) continue;
        const std::string symbol(ElementSymbolTrimmed(molecule_.element[a]));
        if (symbol.empty()) continue;
        const PagePoint p{static_cast<int>(std::lround(m.offsetX + molecule_.x[a] * m.scale)),
                          static_cast<int>(std::lround(m.offsetY - molecule_.y[a] * m.scale))};
        // A white patch hides the bond ends under the symbol.
        const int w = painter.TextWidth(symbol);
        painter.DrawRect({p.x - w / 2, p.y - h / 2, p.x + w / 2, p.y + h / 2});
        painter.DrawText(p, symbol, HAlign::Centre, VAlign::Middle);
    }
}

}  // namespace kiv
