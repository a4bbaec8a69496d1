// What the conversion must make of a folder, and what a run made, for the
// fuzz targets' checks.
#ifndef FOLDER2POP_FUZZ_POP_FILES_HPP
#define FOLDER2POP_FUZZ_POP_FILES_HPP

#include <string>
#include <vector>

// The POP files of the folder text, from the line rule alone: lines end after
// a line feed or after 32,766 bytes without one; only the first piece of a
// line can be a separator line or a quoted From line; every piece of a
// separator line goes nowhere, as do the lines before the first.
std::vector<std::string> expected_pop_files(const std::string& text);

// Reads the POP files of the directory in name order (the clock's order) and
// removes them with the directory.
std::vector<std::string> take_pop_files(const std::string& directory);

#endif
