#include "ScriptMode.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "base/StreamReporter.h"
#include "ui/ScriptCommands.h"
#include "ui/ScriptRunner.h"

int RunScriptMode(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[2], "--list") == 0) {
        for (const std::string& line : kiv::ScriptCommandList()) std::printf("%s\n", line.c_str());
        return 0;
    }
    if (argc < 3) {
        std::fputs("Usage: kiv --script SCRIPT-FILE | --script --list\n", stderr);
        return 2;
    }
    // The rest of the command line is the script's path, blanks included.
    std::string path = argv[2];
    for (int i = 3; i < argc; ++i) path += std::string(" ") + argv[i];

    kiv::CStreamReporter reporter(stderr);
    kiv::CReporterScope scope(reporter);
    kiv::CConsoleSession session(stdout);
    auto doc = std::make_unique<kiv::CKivDoc>();
    return kiv::RunScriptHeadless(*doc, path, session) ? 0 : 1;
}
