#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>
#include <set>

#include "ui/qt/MenuBuilder.h"

namespace kiv {

namespace {

// "Title: entry | entry" per top-level menu, separators left out, popups as "[Popup: ...]".
std::string Listing(const std::vector<MenuNode>& entries)
{
    std::string text;
    for (const MenuNode& entry : entries) {
        if (entry.kind == MenuNodeKind::Separator) continue;
        if (!text.empty()) text += " | ";
        text += entry.kind == MenuNodeKind::Popup ? "[" + entry.text + ": " + Listing(entry.entries) + "]" : entry.text;
    }
    return text;
}

std::vector<std::string> MenuListings(const MenuBar& bar)
{
    std::vector<std::string> menus;
    for (const MenuNode& menu : bar) menus.push_back(menu.text + ": " + Listing(menu.entries));
    return menus;
}

void CollectCommands(const std::vector<MenuNode>& entries, std::set<const InteractiveCommand*>& found)
{
    for (const MenuNode& entry : entries) {
        if (entry.command) found.insert(entry.command);
        CollectCommands(entry.entries, found);
    }
}

}  // namespace

TEST(MenuBuilder, PrunedMenuShowsTheEverydayCommandsOnly)
{
    MenuBar bar = FullMenuBar(InteractiveCommands());
    PruneMenuBar(bar);
    const std::vector<std::string> expected = {
        "&File: &Print...\tCtrl+P | Print Pre&view | P&rint Setup... | E&xit",
        "&View: &Toolbar | &Status Bar | Page Format | Page Font Size | Page Line Width | Page Zoom",
        "&Database: Import to BIB Database | Open BIB Database | Close BIB Database",
        "&Features: Load Definition | Create and Save Features | Save Feature Names",
        "&Options: Load Parameters",
        "&?: &About ...",
    };
    EXPECT_EQ(MenuListings(bar), expected);
}

TEST(MenuBuilder, FullMenuAndMoreMenusHoldEveryCommand)
{
    const CommandList& commands = InteractiveCommands();
    std::set<const InteractiveCommand*> inFull, inMore;
    CollectCommands(FullMenuBar(commands), inFull);
    CollectCommands(MoreMenus(commands), inMore);
    EXPECT_EQ(inFull.size(), commands.size());
    EXPECT_EQ(inMore.size(), commands.size());
}

TEST(MenuBuilder, PruningRulesOnASyntheticMenu)
{
    MenuBar bar = {
        Popup("&Reference", {FrameEntry("Open BIB"), FrameEntry("Search")}),  // trigger in its own menu
        Popup("Other", {FrameEntry("Open BIB"), Separator(), FrameEntry("Save Parameters"), Caption("Orvane")}),
        Popup("Edit", {Popup("Deep", {FrameEntry("&Undo\tCtrl+Z")}), FrameEntry("Cut")}),  // trigger one level down
        Popup("Stats", {Popup("MW", {FrameEntry("Statistics")}), FrameEntry("Statistics"), Separator()}),
        Popup("GC", {Caption("GC/MS in Memory"), FrameEntry("Trace")}),
        Popup("Data", {FrameEntry("Import")}),
        Popup("Plain", {FrameEntry("Page Setup"), FrameEntry("Page Zoom"), Caption("Features Orvane"),
                        Popup("Sub", {FrameEntry("Recent File"), FrameEntry("Statistics of MW")})}),
    };
    PruneMenuBar(bar);
    const std::vector<std::string> expected = {"Other: Open BIB", "Plain: Page Zoom | [Sub: Statistics of MW]"};
    EXPECT_EQ(MenuListings(bar), expected);
}

TEST(MenuBuilder, QtMenuBarFollowsTheModel)
{
    MenuBar bar = {Popup("&One", {FrameEntry("A", FrameAction::About), Separator(), Caption("Head"),
                                  FrameEntry("Unbound"), Popup("Sub", {FrameEntry("B", FrameAction::Exit)})})};
    QMenuBar menuBar;
    std::vector<QAction*> made;
    FillMenuBar(menuBar, bar, [&](const MenuNode& node) -> QAction* {
        if (node.action == FrameAction::None) return nullptr;
        made.push_back(new QAction(QString::fromLatin1(node.text.c_str()), &menuBar));
        return made.back();
    });
    ASSERT_EQ(menuBar.actions().size(), 1);
    QMenu* menu = menuBar.actions()[0]->menu();
    ASSERT_NE(menu, nullptr);
    QStringList texts;
    for (QAction* action : menu->actions()) texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(texts, (QStringList{"A", "-", "Head", "Sub"}));
    EXPECT_FALSE(menu->actions()[2]->isEnabled());
    EXPECT_EQ(made.size(), 2u);
    EXPECT_EQ(WithoutAccessKeys("P&rint && Go&"), "Print & Go&");
}

}  // namespace kiv
