// The conversion run.
//
// - Every message is carried byte for byte: lines come with their length, so
//   NUL bytes are data like any other.
// - A line longer than the line buffer arrives in pieces; only its first piece
//   can make it a separator line or a quoted From line.
// - Nothing is overwritten: POP files are created new, and a name that exists
//   already is passed over for the clock's next one.
// - Every POP file left behind is whole: a file whose write, close or source
//   read failed is removed, and the run says so in its exit code.
#include "app/conversion_run.hpp"

#include <cstring>

#include "app/pop_file_writer.hpp"
#include "folder_input/folder_line_reader.hpp"
#include "naming/pop_file_name.hpp"

namespace {

constexpr char SEPARATOR_PREFIX[] = "From - ";
constexpr std::size_t SEPARATOR_PREFIX_LENGTH = sizeof SEPARATOR_PREFIX - 1;
constexpr char QUOTE_PREFIX[] = ">FROM";  // compared with ASCII letters upper-cased
constexpr std::size_t QUOTE_PREFIX_LENGTH = sizeof QUOTE_PREFIX - 1;
constexpr char PATH_JOINER = '/';
constexpr std::uint32_t NAME_BUFFER_SIZE = 16;

constexpr char BANNER[] =
    "\nfolder2pop " FOLDER2POP_VERSION " - mail folder to POP files converter\n";
constexpr char USAGE_START[] = "\nSyntax: ";
constexpr char USAGE_END[] =
    " Netscape_mail_folder_file POP_file_directory\n\n"
    "This C++ program converts a Netscape Messenger mail folder into multiple\n"
    "POP files, one POP file per message. If you do not want copies of deleted\n"
    "messages, then you must compact the folder before using this program.\n";

// The message of each status, by its value: the text before the one string it
// shows, and which string that is. Every message ends with a line end.
enum MessageSubject {
    SUBJECT_NONE,
    SUBJECT_PROGRAM,    // the program's file name: the usage text
    SUBJECT_FOLDER,     // the folder argument
    SUBJECT_DIRECTORY,  // the directory argument
    SUBJECT_POP_FILE,   // the full path of the POP file that failed
};

struct StatusMessage {
    const char* before;
    MessageSubject subject;
    const char* after;
};

constexpr StatusMessage STATUS_MESSAGES[] = {
    {"", SUBJECT_NONE, ""},
    {USAGE_START, SUBJECT_PROGRAM, USAGE_END},
    {"\nError: The source file could not be opened:\n    ", SUBJECT_FOLDER, "\n"},
    {"\nError: The destination directory path is too long:\n    ", SUBJECT_DIRECTORY, "\n"},
    {"\nError: The destination file could not be created:\n    ", SUBJECT_POP_FILE, "\n"},
    {"\nError: The destination file could not be written:\n    ", SUBJECT_POP_FILE, "\n"},
    {"\nError: The source file could not be read:\n    ", SUBJECT_FOLDER, "\n"},
};
static_assert(sizeof STATUS_MESSAGES / sizeof STATUS_MESSAGES[0] == STATUS_SOURCE_NOT_READ + 1);

// Storage for the length of the run, none of it allocated. The stream and the
// POP file each hold a 64 KiB buffer, too much for some platforms' stacks.
char line_buffer[LINE_BUFFER_SIZE];
char name_buffer[NAME_BUFFER_SIZE];
FolderStream folder;
PopFile pop;

struct Run {
    const Platform* platform;
    const char* folder_argument;
    const char* directory_argument;
    std::size_t directory_length;
    char path[PATH_BUFFER_SIZE];  // the POP file being written, or the last tried
    PreviousName previous_name;
    bool in_separator_line;       // the pieces of a separator line go nowhere
    RunStatus status;
};

void write_text(const Run& run, const char* text)
{
    run.platform->console->write_error(text, std::strlen(text));
}

char upper_ascii(char byte)
{
    return byte >= 'a' && byte <= 'z' ? static_cast<char>(byte - 'a' + 'A') : byte;
}

bool is_separator_line(const char* line, std::size_t length)
{
    return length >= SEPARATOR_PREFIX_LENGTH &&
           std::memcmp(line, SEPARATOR_PREFIX, SEPARATOR_PREFIX_LENGTH) == 0;
}

bool is_quoted_from_line(const char* line, std::size_t length)
{
    if (length < QUOTE_PREFIX_LENGTH) {
        return false;
    }
    for (std::size_t i = 0; i < QUOTE_PREFIX_LENGTH; ++i) {
        if (upper_ascii(line[i]) != QUOTE_PREFIX[i]) {
            return false;
        }
    }
    return true;
}

// What follows the last "/", ":" or "\" of the program's path.
const char* program_file_name(const char* path)
{
    const char* name = path;
    for (const char* byte = path; *byte != '\0'; ++byte) {
        if (*byte == '/' || *byte == ':' || *byte == '\\') {
            name = byte + 1;
        }
    }
    return name;
}

void build_pop_file_path(Run& run)
{
    make_pop_file_name(name_buffer, NAME_BUFFER_SIZE, run.previous_name,
                       *run.platform->clock);
    char* end = run.path;
    std::memcpy(end, run.directory_argument, run.directory_length);
    end += run.directory_length;
    *end++ = PATH_JOINER;
    std::memcpy(end, name_buffer, POP_FILE_NAME_SIZE);
}

// Finishes the current POP file whole, or removes it and fails the run.
void finish_current_pop_file(Run& run)
{
    if (pop.is_open && !finish_pop_file(pop)) {
        discard_pop_file(pop, run.path);
        run.status = STATUS_DESTINATION_NOT_WRITTEN;
    }
}

// A separator line: close the message before it and open the next one under
// a name of its own. A name that is taken already is passed over.
void start_next_message(Run& run)
{
    write_text(run, ".");
    finish_current_pop_file(run);
    if (run.status != STATUS_OK) {
        return;
    }
    for (;;) {
        build_pop_file_path(run);
        const CreateOutcome outcome = create_pop_file(pop, run.path, *run.platform->files);
        if (outcome == CREATE_DONE) {
            return;
        }
        if (outcome == CREATE_FAILED) {
            run.status = STATUS_DESTINATION_NOT_CREATED;
            return;
        }
    }
}

void copy_message_text(Run& run, const char* line, const FolderLine& piece)
{
    if (!pop.is_open) {
        return;  // before the first separator line
    }
    std::size_t skip = 0;
    if (!piece.continues_line && is_quoted_from_line(line, piece.length)) {
        skip = 1;
    }
    if (!write_pop_file(pop, line + skip, piece.length - skip)) {
        run.status = STATUS_DESTINATION_NOT_WRITTEN;
    }
}

void convert_messages(Run& run)
{
    FolderLine piece{};
    while (run.status == STATUS_OK && !folder_at_end(folder)) {
        if (!read_folder_line(folder, line_buffer, LINE_CAPACITY, piece)) {
            continue;
        }
        if (!piece.continues_line) {
            run.in_separator_line = is_separator_line(line_buffer, piece.length);
            if (run.in_separator_line) {
                start_next_message(run);
                continue;
            }
        }
        if (!run.in_separator_line) {
            copy_message_text(run, line_buffer, piece);
        }
    }
    if (run.status == STATUS_OK && folder_read_failed(folder)) {
        run.status = STATUS_SOURCE_NOT_READ;
    }
}

void end_conversion(Run& run)
{
    if (pop.is_open) {
        if (run.status == STATUS_OK) {
            finish_current_pop_file(run);
        } else {
            discard_pop_file(pop, run.path);
        }
    }
    close_folder(folder);
}

void report(const Run& run, const char* argv0)
{
    const StatusMessage& message = STATUS_MESSAGES[run.status];
    const char* subject = "";
    switch (message.subject) {
    case SUBJECT_NONE:
        return;
    case SUBJECT_PROGRAM:
        subject = program_file_name(run.platform->program_path(argv0));
        break;
    case SUBJECT_FOLDER:
        subject = run.folder_argument;
        break;
    case SUBJECT_DIRECTORY:
        subject = run.directory_argument;
        break;
    case SUBJECT_POP_FILE:
        subject = run.path;
        break;
    }
    write_text(run, message.before);
    write_text(run, subject);
    write_text(run, message.after);
}

}  // namespace

RunStatus run_conversion(int argc, const char* const* argv)
{
    return run_conversion(argc, argv, system_platform());
}

RunStatus run_conversion(int argc, const char* const* argv, const Platform& platform)
{
    Run run{};
    run.platform = &platform;
    run.status = STATUS_OK;
    write_text(run, BANNER);
    if (argc != 3) {
        run.status = STATUS_SYNTAX;
        report(run, argc > 0 ? argv[0] : nullptr);
        return run.status;
    }
    run.folder_argument = argv[1];
    run.directory_argument = argv[2];
    pop.is_open = false;
    if (!open_folder(folder, run.folder_argument, *platform.files)) {
        run.status = STATUS_SOURCE_NOT_OPENED;
    } else {
        run.directory_length = std::strlen(run.directory_argument);
        if (run.directory_length > MAX_DIRECTORY_LENGTH) {
            run.status = STATUS_DIRECTORY_TOO_LONG;
        } else {
            convert_messages(run);
        }
    }
    end_conversion(run);
    report(run, argv[0]);
    return run.status;
}
