#pragma once
// The menu bar of the main window. The full menu holds every interactive command grouped as the
// program has always grouped them (with the platform entries and the caption entries that head
// sections); at start-up it is pruned to the short everyday menu. Every command stays reachable
// through the "More" menu and the command palette.
#include <functional>
#include <string>
#include <vector>

#include "ui/CommandTable.h"

class QMenu;
class QMenuBar;
class QAction;

namespace kiv {

// Entries of the window itself rather than of the command table.
enum class FrameAction { None, Print, PrintPreview, PrintSetup, Exit, Toolbar, StatusBar, About, RunScript };

enum class MenuNodeKind { Popup, Command, Frame, Caption, Separator };

struct MenuNode {
    MenuNodeKind kind = MenuNodeKind::Separator;
    std::string text;  // menu title or entry text as shown ("&" marks the access key)
    const InteractiveCommand* command = nullptr;  // MenuNodeKind::Command
    FrameAction action = FrameAction::None;  // MenuNodeKind::Frame (None: an entry without handler)
    std::vector<MenuNode> entries;  // MenuNodeKind::Popup
};

using MenuBar = std::vector<MenuNode>;

MenuNode Popup(std::string title, std::vector<MenuNode> entries);
MenuNode CommandEntry(const InteractiveCommand& command);
MenuNode FrameEntry(std::string text, FrameAction action = FrameAction::None);
MenuNode Caption(std::string text);
MenuNode Separator();

// The full menu bar built from the command table.
MenuBar FullMenuBar(const CommandList& commands);

// The start-up pruning, from the last top-level menu to the first and within each from the last
// entry to the first: a top-level menu that holds one of the trigger entries goes whole, the
// listed single entries (and every "Statistics" entry) go, and popups left empty go with them.
void PruneMenuBar(MenuBar& bar);

// "Features" from "&Features": the text without access-key marks ("&&" is a literal "&").
std::string WithoutAccessKeys(const std::string& text);

// Fills a Qt menu bar (or menu) from the model; resolve gives the action of an entry (nullptr
// leaves the entry out). Captions become disabled entries, separators separators.
using ActionResolver = std::function<QAction*(const MenuNode&)>;
void FillMenuBar(QMenuBar& menuBar, const MenuBar& bar, const ActionResolver& resolve);
void FillMenu(QMenu& menu, const std::vector<MenuNode>& entries, const ActionResolver& resolve);

// The "More" menu: one popup per menu of the command table, each with all its commands.
MenuBar MoreMenus(const CommandList& commands);

}  // namespace kiv
