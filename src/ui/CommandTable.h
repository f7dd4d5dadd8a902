#pragma once
// The interactive commands of the system: one table of menu, entry text and the operation behind
// it. The desktop builds its menus from it and scripts call its commands by their script names,
// so a command is written once and reached from both.
#include <string>
#include <vector>

#include "base/Prompt.h"
#include "base/Session.h"
#include "ui/KivDoc.h"

namespace kiv {

struct InteractiveCommand {
    std::string menu;  // menu name without "&"
    std::string entry;  // entry text as the menu shows it
    std::string arguments;  // the answers the command asks for, in order (for --list)
    void (*run)(CKivDoc& doc, CPrompter& prompter, CSession& session);
    std::string scriptName;  // filled by InteractiveCommands()
};

using CommandList = std::vector<InteractiveCommand>;

// Every interactive command, in menu order, each with its unique script name: the entry text
// without blanks and punctuation ("Use MS of BIB X" -> "UseMSofBIBX"); where two menus hold an
// entry of the same text, the menu's name goes in front ("XConstant", "YConstant").
const CommandList& InteractiveCommands();

// The command whose script name equals name ignoring letter case, or nullptr.
const InteractiveCommand* FindInteractiveCommand(const std::string& name);

// Letters and digits of text, in order: "&Print...\tCtrl+P" -> "Print" (the accelerator after a
// tab is not part of the entry).
std::string ScriptNameOf(const std::string& text);

}  // namespace kiv
