// A scratch directory for fuzz targets, made once per process under TMPDIR
// and removed at exit, and the helpers that put each input there as a file.
#ifndef FOLDER2POP_FUZZ_SCRATCH_FILES_HPP
#define FOLDER2POP_FUZZ_SCRATCH_FILES_HPP

#include <cstddef>
#include <cstdint>
#include <string>

// Stops the fuzzer with a message, so that the input is kept as a finding.
void check(bool holds, const char* property);

// The process's own scratch directory.
const std::string& scratch_directory();

// Writes the bytes to the path, replacing what was there.
void write_whole_file(const std::string& path, const std::uint8_t* data, std::size_t size);

// The folder text as the program must see it: the bytes before the first
// 0x1A, every CR removed.
std::string folder_text(const std::uint8_t* data, std::size_t size);

#endif
