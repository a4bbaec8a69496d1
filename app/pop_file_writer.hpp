// One POP file being written: created new, filled through a buffer of our own,
// and either finished whole or removed.
#ifndef FOLDER2POP_APP_POP_FILE_WRITER_HPP
#define FOLDER2POP_APP_POP_FILE_WRITER_HPP

#include <cstddef>

#include "platform/files.hpp"

constexpr std::size_t POP_WRITE_BUFFER_SIZE = 64 * 1024;

// The caller owns the storage; nothing is allocated.
struct PopFile {
    const FileSystem* files;
    FileHandle file;
    bool is_open;
    bool failed;  // a write failed: the file can no longer be finished whole
    std::size_t used;
    char buffer[POP_WRITE_BUFFER_SIZE];
};

// Creates the file at path, which must not exist yet.
CreateOutcome create_pop_file(PopFile& pop, const char* path, const FileSystem& files);

// Appends bytes. False once any write to the file has failed.
bool write_pop_file(PopFile& pop, const char* bytes, std::size_t count);

// Writes out what is buffered and closes the file. False if any write or the
// close failed; the file is then closed but incomplete.
bool finish_pop_file(PopFile& pop);

// Closes the file, if open, and removes it: an incomplete file is never left.
void discard_pop_file(PopFile& pop, const char* path);

#endif
