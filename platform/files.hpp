// Raw byte files: the folder read forward in blocks, POP files created new and
// written whole. No text mode and no character-set conversion anywhere.
#ifndef FOLDER2POP_PLATFORM_FILES_HPP
#define FOLDER2POP_PLATFORM_FILES_HPP

#include <cstddef>
#include <cstdint>

// An open file: a descriptor on POSIX, a HANDLE on Windows.
using FileHandle = std::intptr_t;

enum ReadOutcome { READ_DONE, READ_END, READ_FAILED };
enum CreateOutcome { CREATE_DONE, CREATE_EXISTS, CREATE_FAILED };

// Tests put failing or counting versions of these in place of the system's.
struct FileSystem {
    // Opens an existing file read-only; false for a directory, a missing
    // file or any other file that cannot be read.
    bool (*open_for_reading)(const char* path, FileHandle& file);
    // Reads up to capacity bytes; READ_END (with count 0) at the end of the
    // file. Interrupted reads are retried.
    ReadOutcome (*read)(FileHandle file, char* buffer, std::size_t capacity,
                        std::size_t& count);
    // Creates a new file for writing, readable and writable by its owner
    // only. Never opens or empties a file that exists: CREATE_EXISTS then,
    // also for a symbolic link of that name.
    CreateOutcome (*create_new)(const char* path, FileHandle& file);
    // Writes all bytes or fails; short and interrupted writes are retried.
    bool (*write_all)(FileHandle file, const char* bytes, std::size_t count);
    bool (*close)(FileHandle file);
    bool (*remove)(const char* path);
};

const FileSystem& system_files();

#endif
