// kiv: started with a command file it runs one batch task and exits; the desktop application is
// not part of this build, so without arguments it explains its use.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "ScriptMode.h"
#include "base/Progress.h"
#include "base/StreamReporter.h"
#include "batch/CommandRunner.h"

namespace {

const char* const kUsage =
    "Usage: kiv COMMAND-FILE\n"
    "       kiv --script SCRIPT-FILE | --script --list\n"
    "       kiv --help | --version\n"
    "\n"
    "Runs the batch task that COMMAND-FILE describes and exits. A command file holds\n"
    "\"Key = value\" lines (keys ignore letter case, \"//\" starts a comment), for example:\n"
    "\n"
    "    Result File = C:\\runs\\eval.txt      // hit statistics of eval_f.txt, eval_t.txt\n"
    "    Progress File = progress.txt\n"
    "    Sem End File = done.txt\n"
    "\n"
    "Task keys: BIB File, Feature File, Savemode, CDM Format, Round Feat, Feature Index File,\n"
    "Test Index File, Descriptor File, No Hits, Del ident Hit1, Max Mass, Import COSCALIB,\n"
    "Import JCAMP (plain lines after it are further input files; relative paths are taken\n"
    "from the working directory), Result File, Sim Criterion,\n"
    "Sim Feat Sel, Random Seed, Select Features, Random Runs, Features Ram, No Log, Random Pairs.\n"
    "\n"
    "Driving files: \"Progress File\" (default progress.txt in the temporary folder) holds the\n"
    "last percentage, -1 after a stop; creating \"Stop File\" (default finished.txt) requests a\n"
    "stop; \"Sem End File\" (default stop.txt) is written last: \"1\" when a task ran,\n"
    "\"Command file not recognized!\" when none did, \"-1\" when a stop ended an evaluation.\n"
    "\n"
    "Exit status: 0 a task ran to its end without an error, 1 no task was recognised,\n"
    "2 usage error or unreadable command file, 3 a stop request ended the task,\n"
    "4 the task ran but reported an error (the messages are on standard error).\n";

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (std::strcmp(argv[1], "--script") == 0) return RunScriptMode(argc, argv);
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("kiv %s\n", KIV_VERSION);
        return 0;
    }
    // The whole command line is the command file's path, blanks included.
    std::string path = argv[1];
    for (int i = 2; i < argc; ++i) path += std::string(" ") + argv[i];

    kiv::CStreamReporter reporter(stderr);
    kiv::CReporterScope scope(reporter);
    bool progressShown = false;
    if (isatty(STDERR_FILENO)) {
        kiv::SetProgressEcho([&progressShown](int percent, const std::string&) {
            std::fprintf(stderr, "\rkiv: %3d%%", percent);
            std::fflush(stderr);
            progressShown = true;
        });
    }
    kiv::CommandRunResult result = kiv::RunCommandFile(path);
    if (progressShown) std::fputc('\n', stderr);
    for (const std::string& line : result.log) std::printf("%s\n", line.c_str());
    return kiv::ExitStatusOf(result);
}
