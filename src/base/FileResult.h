#pragma once
// The outcome of an operation that opens, loads or saves a file which the user may be asked for
// (an empty path asks with a file dialog).
namespace kiv {

enum class FileResult : int {
    Done = 0,  // opened, loaded or saved
    NoFileChosen = 1,  // the dialog was cancelled, or a headless run had no path to give
    CannotOpen = 2,  // the file cannot be opened or created
};

}  // namespace kiv
