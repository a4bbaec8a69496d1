// The folder line reader. Each block read from the file is cut at the end
// marker and stripped of its CRs once, on arrival; lines are then cut from the
// clean block with memchr and copied a run at a time.
#include "folder_input/folder_line_reader.hpp"

#include <cstring>

namespace {

enum RefillOutcome { REFILL_DONE, REFILL_END, REFILL_FAILED };

// Removes every CR from bytes[0, count) in place; gives the new count.
std::size_t remove_carriage_returns(char* bytes, std::size_t count)
{
    char* cr = static_cast<char*>(std::memchr(bytes, '\r', count));
    if (cr == nullptr) {
        return count;
    }
    char* out = cr;
    const char* in = cr + 1;
    const char* end = bytes + count;
    while (in < end) {
        const std::size_t left = static_cast<std::size_t>(end - in);
        const char* next_cr = static_cast<const char*>(std::memchr(in, '\r', left));
        const std::size_t run =
            next_cr == nullptr ? left : static_cast<std::size_t>(next_cr - in);
        std::memmove(out, in, run);
        out += run;
        in += run + 1;
    }
    return static_cast<std::size_t>(out - bytes);
}

RefillOutcome refill(FolderStream& stream)
{
    stream.next = 0;
    stream.count = 0;
    while (!stream.marker_met) {
        std::size_t got = 0;
        const ReadOutcome outcome =
            stream.files->read(stream.file, stream.block, FOLDER_BLOCK_SIZE, got);
        if (outcome == READ_FAILED) {
            stream.failed = true;
            return REFILL_FAILED;
        }
        if (outcome == READ_END) {
            return REFILL_END;
        }
        const void* marker = std::memchr(stream.block, END_MARKER, got);
        if (marker != nullptr) {
            stream.marker_met = true;
            got = static_cast<std::size_t>(static_cast<const char*>(marker) -
                                           stream.block);
        }
        stream.count = remove_carriage_returns(stream.block, got);
        if (stream.count > 0) {
            return REFILL_DONE;
        }
    }
    return REFILL_END;
}

}  // namespace

bool open_folder(FolderStream& stream, const char* path, const FileSystem& files)
{
    stream.files = &files;
    stream.is_open = false;
    stream.at_end = false;
    stream.failed = false;
    stream.marker_met = false;
    stream.in_mid_line = false;
    stream.next = 0;
    stream.count = 0;
    if (!files.open_for_reading(path, stream.file)) {
        return false;
    }
    stream.is_open = true;
    return true;
}

bool folder_at_end(const FolderStream& stream)
{
    return stream.at_end;
}

bool folder_read_failed(const FolderStream& stream)
{
    return stream.failed;
}

bool read_folder_line(FolderStream& stream, char* buffer, std::uint32_t capacity,
                      FolderLine& line)
{
    if (stream.failed) {
        stream.at_end = true;
        return false;
    }
    std::size_t room = capacity - 1U;
    std::size_t taken = 0;
    bool line_feed_taken = false;
    while (room > 0 && !line_feed_taken) {
        if (stream.next == stream.count && refill(stream) != REFILL_DONE) {
            stream.at_end = true;
            break;
        }
        const char* start = stream.block + stream.next;
        std::size_t run = stream.count - stream.next;
        if (run > room) {
            run = room;
        }
        const char* line_feed = static_cast<const char*>(std::memchr(start, '\n', run));
        if (line_feed != nullptr) {
            run = static_cast<std::size_t>(line_feed - start) + 1;
            line_feed_taken = true;
        }
        std::memcpy(buffer + taken, start, run);
        stream.next += run;
        taken += run;
        room -= run;
    }
    if (taken == 0 || stream.failed) {
        return false;
    }
    buffer[taken] = '\0';
    line.length = taken;
    line.continues_line = stream.in_mid_line;
    stream.in_mid_line = !line_feed_taken;
    return true;
}

void close_folder(FolderStream& stream)
{
    if (stream.is_open) {
        stream.files->close(stream.file);
        stream.is_open = false;
    }
}
