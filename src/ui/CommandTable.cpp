#include "ui/CommandTable.h"

#include <cctype>
#include <map>

#include "base/TextFile.h"
#include "ui/DataMenu.h"
#include "ui/DatabaseMenu.h"
#include "ui/FeaturesMenu.h"
#include "ui/RunMenu.h"
#include "ui/SearchMenu.h"
#include "ui/StatisticsMenu.h"
#include "ui/ViewMenu.h"

namespace kiv {

namespace {

CommandList BuildTable()
{
    CommandList table;
    AddDatabaseMenuCommands(table);
    AddFeaturesMenuCommands(table);
    AddSearchMenuCommands(table);
    AddDataMenuCommands(table);
    AddRunMenuCommands(table);
    AddStatisticsMenuCommands(table);
    AddViewMenuCommands(table);
    std::map<std::string, int> uses;
    for (const InteractiveCommand& command : table) ++uses[ScriptNameOf(command.entry)];
    for (InteractiveCommand& command : table) {
        const std::string name = ScriptNameOf(command.entry);
        command.scriptName = uses[name] > 1 ? ScriptNameOf(command.menu) + name : name;
    }
    return table;
}

}  // namespace

std::string ScriptNameOf(const std::string& text)
{
    std::string name;
    for (char c : text.substr(0, text.find('\t'))) {
        if (std::isalnum(static_cast<unsigned char>(c))) name += c;
    }
    return name;
}

const CommandList& InteractiveCommands()
{
    static const std::vector<InteractiveCommand> table = BuildTable();
    return table;
}

const InteractiveCommand* FindInteractiveCommand(const std::string& name)
{
    for (const InteractiveCommand& command : InteractiveCommands()) {
        if (EqualsIgnoreCase(command.scriptName, name)) return &command;
    }
    return nullptr;
}

}  // namespace kiv
