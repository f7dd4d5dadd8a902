#pragma once
// What a text import achieved: the importers of single formats return it to the text importer,
// which adds up the files of a list.
namespace kiv {

struct ImportOutcome {
    bool completed = false;  // every file was opened and read to its end
    int blocksWritten = 0;
    int filesOpened = 0;
    bool stopped = false;  // a stop request ended the import
};

}  // namespace kiv
