#include "ui/qt/MenuBuilder.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>
#include <set>

#include "ui/qt/QtText.h"

namespace kiv {

namespace {

// The entries of the everyday Database and Features menus; the other commands of these table
// menus sit in the library-on-disk menu and in the standard-features menu.
const std::set<std::string> kEverydayDatabase = {"Import to BIB Database", "Open BIB Database", "Close BIB Database",
                                                 "Add Structures to BIB Database"};
const std::set<std::string> kOrvaneFeatures = {"Load Definition", "Create and Save Features", "Save Feature Names",
                                               "Set Savemode"};
const std::set<std::string> kStatisticsMenus = {"MW", "Molecule", "Mass", "Feature"};
// Table menus with a fixed place in the full menu; any other table menu joins the Data menu.
const std::set<std::string> kPlacedMenus = {"View", "Database", "Features", "Options", "Reference", "Descriptors",
                                            "BIB-GC", "Chromatogram", "Retention", "MW", "Molecule", "Mass",
                                            "Feature", "Data"};

struct Trigger {
    std::string menu;  // empty: any top-level menu
    std::string entry;
};

// A top-level menu holding one of these entries (at any depth) is removed whole.
const Trigger kTriggers[] = {{"", "Import"},          {"", "Trace Feature"},     {"", "Load Descriptors"},
                             {"Reference", "Open BIB"}, {"", "GC/MS in Memory"}, {"", "Library on HD"},
                             {"", "Features Standard"}, {"", "&Undo\tCtrl+Z"}};

const std::set<std::string> kRemovedEntries = {"Set Savemode",
                                               "Run Self Test",
                                               "Save Changes to new BIB",
                                               "Page Setup",
                                               "Save Parameters",
                                               "Add Structures to BIB Database",
                                               "Page Options",
                                               "Features Orvane",
                                               "Orvane",
                                               "&New\tCtrl+N",
                                               "&Open...\tCtrl+O",
                                               "&Save\tCtrl+S",
                                               "Save &As...",
                                               "Recent File",
                                               "Statistics"};

std::vector<MenuNode> CommandsOf(const CommandList& commands, const std::string& menu,
                                 const std::function<bool(const InteractiveCommand&)>& keep)
{
    std::vector<MenuNode> entries;
    for (const InteractiveCommand& command : commands) {
        if (command.menu == menu && keep(command)) entries.push_back(CommandEntry(command));
    }
    return entries;
}

std::vector<MenuNode> AllOf(const CommandList& commands, const std::string& menu)
{
    return CommandsOf(commands, menu, [](const InteractiveCommand&) { return true; });
}

std::vector<MenuNode> Joined(std::vector<std::vector<MenuNode>> parts)
{
    std::vector<MenuNode> entries;
    for (std::vector<MenuNode>& part : parts) {
        if (part.empty()) continue;
        if (!entries.empty()) entries.push_back(Separator());
        for (MenuNode& node : part) entries.push_back(std::move(node));
    }
    return entries;
}

// The table's menus in table order, each once.
std::vector<std::string> TableMenus(const CommandList& commands)
{
    std::vector<std::string> menus;
    for (const InteractiveCommand& command : commands) {
        if (std::find(menus.begin(), menus.end(), command.menu) == menus.end()) menus.push_back(command.menu);
    }
    return menus;
}

std::vector<MenuNode> PopupsOf(const CommandList& commands, const std::vector<std::string>& menus)
{
    std::vector<MenuNode> popups;
    for (const std::string& menu : menus) popups.push_back(Popup(menu, AllOf(commands, menu)));
    return popups;
}

std::vector<MenuNode> UnplacedPopups(const CommandList& commands)
{
    std::vector<std::string> menus;
    for (const std::string& menu : TableMenus(commands)) {
        if (!kPlacedMenus.count(menu)) menus.push_back(menu);
    }
    return PopupsOf(commands, menus);
}

MenuBar FileAndEditMenus()
{
    return {Popup("&File", {FrameEntry("&New\tCtrl+N"), FrameEntry("&Open...\tCtrl+O"), FrameEntry("&Save\tCtrl+S"),
                            FrameEntry("Save &As..."), Separator(), FrameEntry("&Print...\tCtrl+P", FrameAction::Print),
                            FrameEntry("Print Pre&view", FrameAction::PrintPreview),
                            FrameEntry("P&rint Setup...", FrameAction::PrintSetup), Separator(),
                            FrameEntry("Recent File"), Separator(), FrameEntry("E&xit", FrameAction::Exit)}),
            Popup("&Edit", {FrameEntry("&Undo\tCtrl+Z"), Separator(), FrameEntry("Cu&t\tCtrl+X"),
                            FrameEntry("&Copy\tCtrl+C"), FrameEntry("&Paste\tCtrl+V")})};
}

bool HoldsEntry(const MenuNode& node, const std::string& text)
{
    if (node.kind != MenuNodeKind::Popup) return node.text == text;
    return std::any_of(node.entries.begin(), node.entries.end(),
                       [&](const MenuNode& entry) { return HoldsEntry(entry, text); });
}

bool HoldsTrigger(const MenuNode& menu)
{
    const std::string title = WithoutAccessKeys(menu.text);
    return std::any_of(std::begin(kTriggers), std::end(kTriggers), [&](const Trigger& trigger) {
        return (trigger.menu.empty() || trigger.menu == title) && HoldsEntry(menu, trigger.entry);
    });
}

// Removes the listed entries from the last to the first, and popups that end up empty.
void PruneEntries(std::vector<MenuNode>& entries)
{
    for (size_t i = entries.size(); i-- > 0;) {
        MenuNode& entry = entries[i];
        if (entry.kind == MenuNodeKind::Popup) PruneEntries(entry.entries);
        const bool emptyPopup = entry.kind == MenuNodeKind::Popup && entry.entries.empty();
        if (emptyPopup || (entry.kind != MenuNodeKind::Separator && kRemovedEntries.count(entry.text)))
            entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(i));
    }
    const auto onlySeparators = std::all_of(entries.begin(), entries.end(), [](const MenuNode& entry) {
        return entry.kind == MenuNodeKind::Separator;
    });
    if (onlySeparators) entries.clear();
}

}  // namespace

MenuNode Popup(std::string title, std::vector<MenuNode> entries)
{
    return {MenuNodeKind::Popup, std::move(title), nullptr, FrameAction::None, std::move(entries)};
}

MenuNode CommandEntry(const InteractiveCommand& command)
{
    return {MenuNodeKind::Command, command.entry, &command, FrameAction::None, {}};
}

MenuNode FrameEntry(std::string text, FrameAction action)
{
    return {MenuNodeKind::Frame, std::move(text), nullptr, action, {}};
}

MenuNode Caption(std::string text)
{
    return {MenuNodeKind::Caption, std::move(text), nullptr, FrameAction::None, {}};
}

MenuNode Separator()
{
    return {};
}

MenuBar FullMenuBar(const CommandList& commands)
{
    auto everyday = [](const InteractiveCommand& c) { return kEverydayDatabase.count(c.entry) > 0; };
    auto onDisk = [](const InteractiveCommand& c) { return kEverydayDatabase.count(c.entry) == 0; };
    auto orvane = [](const InteractiveCommand& c) { return kOrvaneFeatures.count(c.entry) > 0; };
    auto standard = [](const InteractiveCommand& c) { return kOrvaneFeatures.count(c.entry) == 0; };
    MenuBar bar = FileAndEditMenus();
    bar.push_back(Popup("&View", Joined({{FrameEntry("&Toolbar", FrameAction::Toolbar),
                                          FrameEntry("&Status Bar", FrameAction::StatusBar)},
                                         AllOf(commands, "View")})));
    bar.push_back(Popup("&Database", Joined({CommandsOf(commands, "Database", everyday),
                                             PopupsOf(commands, {"MW", "Molecule", "Mass", "Feature"})})));
    bar.push_back(Popup("BIB-&Lib", Joined({{Caption("Library on HD")}, CommandsOf(commands, "Database", onDisk)})));
    bar.push_back(Popup("BIB-&GC", Joined({{Caption("GC/MS in Memory")}, AllOf(commands, "BIB-GC"),
                                           PopupsOf(commands, {"Chromatogram", "Retention"})})));
    bar.push_back(Popup("F&eatures", Joined({{Caption("Features Standard")}, CommandsOf(commands, "Features", standard)})));
    bar.push_back(Popup("&Features", Joined({{Caption("Features Orvane")}, CommandsOf(commands, "Features", orvane)})));
    bar.push_back(Popup("&Reference", Joined({AllOf(commands, "Reference"), PopupsOf(commands, {"Descriptors"})})));
    bar.push_back(Popup("D&ata", Joined({{FrameEntry("Run Script ...", FrameAction::RunScript)},
                                         AllOf(commands, "Data"), UnplacedPopups(commands)})));
    bar.push_back(Popup("&Options", Joined({{Caption("Orvane")}, AllOf(commands, "Options")})));
    bar.push_back(Popup("&?", {FrameEntry("&About ...", FrameAction::About)}));
    return bar;
}

void PruneMenuBar(MenuBar& bar)
{
    for (size_t i = bar.size(); i-- > 0;) {
        if (!HoldsTrigger(bar[i])) PruneEntries(bar[i].entries);
        if (HoldsTrigger(bar[i]) || bar[i].entries.empty()) bar.erase(bar.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

std::string WithoutAccessKeys(const std::string& text)
{
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        plain += text[i];
    }
    return plain;
}

MenuBar MoreMenus(const CommandList& commands)
{
    return PopupsOf(commands, TableMenus(commands));
}

void FillMenu(QMenu& menu, const std::vector<MenuNode>& entries, const ActionResolver& resolve)
{
    for (const MenuNode& entry : entries) {
        switch (entry.kind) {
        case MenuNodeKind::Popup:
            FillMenu(*menu.addMenu(ToQString(entry.text)), entry.entries, resolve);
            break;
        case MenuNodeKind::Separator:
            menu.addSeparator();
            break;
        case MenuNodeKind::Caption:
            menu.addAction(ToQString(entry.text))->setEnabled(false);
            break;
        case MenuNodeKind::Command:
        case MenuNodeKind::Frame:
            if (QAction* action = resolve(entry)) menu.addAction(action);
            break;
        }
    }
}

void FillMenuBar(QMenuBar& menuBar, const MenuBar& bar, const ActionResolver& resolve)
{
    for (const MenuNode& menu : bar) FillMenu(*menuBar.addMenu(ToQString(menu.text)), menu.entries, resolve);
}

}  // namespace kiv
