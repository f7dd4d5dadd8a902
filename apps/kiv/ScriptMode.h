#pragma once
// "kiv --script FILE" runs a script without a desktop; "kiv --script --list" lists its commands.

// Returns the exit status: 0 when every task was known and ran, 1 otherwise, 2 without a file.
int RunScriptMode(int argc, char** argv);
