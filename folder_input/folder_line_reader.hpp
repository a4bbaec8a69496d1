// The mail folder as lines: every CR dropped, the text ending at the first
// 0x1A byte, lines ending after a line feed or after 32,766 bytes.
#ifndef FOLDER2POP_FOLDER_INPUT_FOLDER_LINE_READER_HPP
#define FOLDER2POP_FOLDER_INPUT_FOLDER_LINE_READER_HPP

#include <cstddef>
#include <cstdint>

#include "platform/files.hpp"

// The folder is read in blocks of this size.
constexpr std::size_t FOLDER_BLOCK_SIZE = 64 * 1024;
// The caller's line buffer: at most 32,766 bytes of line and a NUL.
constexpr std::uint32_t LINE_BUFFER_SIZE = 32768;
constexpr std::uint32_t LINE_CAPACITY = LINE_BUFFER_SIZE - 1;

constexpr char END_MARKER = '\x1a';

// The open folder. The caller owns the storage (it holds the whole read
// block, so it is never allocated); open_folder fills it in.
struct FolderStream {
    const FileSystem* files;
    FileHandle file;
    bool is_open;
    bool at_end;       // no more lines: the text has ended or a read failed
    bool failed;       // a read of the file failed; never clears
    bool marker_met;   // the end marker was read; the file is not read again
    bool in_mid_line;  // the last line delivered was a piece cut at the limit
    std::size_t next;   // first byte of the block not yet handed out
    std::size_t count;  // bytes in the block, CRs already removed
    char block[FOLDER_BLOCK_SIZE];
};

// What read_folder_line delivered besides the bytes.
struct FolderLine {
    std::size_t length;      // bytes of line, NULs included, not the final NUL
    bool continues_line;     // a later piece of a line longer than the limit
};

// Opens the file read-only. False (and nothing left open) when it cannot be
// read, a directory included.
bool open_folder(FolderStream& stream, const char* path, const FileSystem& files);

// True once the folder text has ended or a read has failed.
bool folder_at_end(const FolderStream& stream);

// True once a read of the file has failed.
bool folder_read_failed(const FolderStream& stream);

// Delivers the next line, or line piece, into buffer followed by a NUL, and
// gives true. Gives false when it delivered none: at the end of the text
// (buffer untouched) or when a read failed (any bytes taken are lost).
// capacity counts the NUL and is at least 2.
bool read_folder_line(FolderStream& stream, char* buffer, std::uint32_t capacity,
                      FolderLine& line);

// Closes the file; does nothing for a stream that is not open.
void close_folder(FolderStream& stream);

#endif
