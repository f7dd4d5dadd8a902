#pragma once
// A structure drawing: a molecule from its 2-D coordinates, bonds as lines (double and triple
// bonds as parallel lines), atoms other than carbon by their element symbol.
#include "chem/Molecule.h"
#include "ui/DisplayObject.h"

namespace kiv {

class CStructureDrawing : public CDisplayObject {
public:
    // Shows molecule under title; item is what a click selects (0: nothing). A molecule without
    // atoms makes the object empty.
    void Show(const CMolecule& molecule, const std::string& title, int item);

    bool IsSelectable() const override { return item_ != 0; }
    // "Formula: " and the formula, "Atom List %d atoms", "     # atomno imp Hs:", then one
    // "%6d %6d %6d" line per atom (number, atomic number, implicit hydrogens).
    std::string CopyText() const override;
    std::optional<int> ItemAt(PagePoint p) const override;

protected:
    void DrawContent(CPainter& painter) const override;

private:
    struct Mapping {
        double scale, offsetX, offsetY;
    };
    Mapping FitInto(const PageRect& box) const;
    void DrawBonds(CPainter& painter, const Mapping& m) const;
    void DrawAtomLabels(CPainter& painter, const Mapping& m) const;
    CMolecule molecule_;
    int item_ = 0;
};

}  // namespace kiv
