// Fuzz target: the folder line reader on arbitrary bytes from a real file.
// Joined, its lines are the folder text; no line is empty, longer than
// 32,766 bytes or holds a line feed before its end; every line but the last
// ends in a line feed or is exactly 32,766 bytes long, and the line after
// such a piece is flagged as continuing it.
#include <cstring>

#include "folder_input/folder_line_reader.hpp"
#include "fuzz/scratch_files.hpp"

namespace {

constexpr std::size_t MAX_LINE = LINE_CAPACITY - 1;

FolderStream stream;
char line[LINE_BUFFER_SIZE];

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = scratch_directory() + "/folder";
    write_whole_file(path, data, size);
    check(open_folder(stream, path.c_str(), system_files()), "the folder opens");

    std::string joined;
    std::size_t previous_length = 0;  // 0: no line yet
    bool previous_ended_line = true;
    FolderLine piece{};
    while (!folder_at_end(stream)) {
        if (!read_folder_line(stream, line, LINE_CAPACITY, piece)) {
            check(folder_at_end(stream), "no line is given only at the end");
            continue;
        }
        check(previous_ended_line || previous_length == MAX_LINE,
              "a line ends in a line feed or at the limit, unless it is the last");
        check(piece.continues_line == !previous_ended_line,
              "the line after a piece cut at the limit continues it");
        check(piece.length >= 1 && piece.length <= MAX_LINE, "a line is 1 to 32,766 bytes");
        check(line[piece.length] == '\0', "a NUL follows the line");
        check(std::memchr(line, '\n', piece.length - 1) == nullptr,
              "a line feed ends its line");
        joined.append(line, piece.length);
        previous_length = piece.length;
        previous_ended_line = line[piece.length - 1] == '\n';
    }
    check(!folder_read_failed(stream), "a readable file reads without failure");
    close_folder(stream);
    check(joined == folder_text(data, size), "the lines joined are the folder text");
    return 0;
}
