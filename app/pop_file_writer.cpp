// POP file output. Every write and the close are checked, so a full disk ends
// the run instead of leaving a short file behind.
#include "app/pop_file_writer.hpp"

#include <cstring>

namespace {

bool flush_pop_file(PopFile& pop)
{
    if (pop.used > 0 && !pop.failed) {
        pop.failed = !pop.files->write_all(pop.file, pop.buffer, pop.used);
    }
    pop.used = 0;
    return !pop.failed;
}

}  // namespace

CreateOutcome create_pop_file(PopFile& pop, const char* path, const FileSystem& files)
{
    pop.files = &files;
    pop.is_open = false;
    pop.failed = false;
    pop.used = 0;
    const CreateOutcome outcome = files.create_new(path, pop.file);
    pop.is_open = outcome == CREATE_DONE;
    return outcome;
}

// The buffer goes out only when full, so every write but a file's last is
// 64 KiB at a page-aligned offset: the system never has to zero and refill a
// part-written page.
bool write_pop_file(PopFile& pop, const char* bytes, std::size_t count)
{
    while (count > 0 && !pop.failed) {
        const std::size_t room = POP_WRITE_BUFFER_SIZE - pop.used;
        const std::size_t taken = count < room ? count : room;
        std::memcpy(pop.buffer + pop.used, bytes, taken);
        pop.used += taken;
        bytes += taken;
        count -= taken;
        if (pop.used == POP_WRITE_BUFFER_SIZE) {
            flush_pop_file(pop);
        }
    }
    return !pop.failed;
}

bool finish_pop_file(PopFile& pop)
{
    const bool written = flush_pop_file(pop);
    const bool closed = pop.files->close(pop.file);
    pop.is_open = false;
    return written && closed;
}

void discard_pop_file(PopFile& pop, const char* path)
{
    if (pop.is_open) {
        pop.files->close(pop.file);
        pop.is_open = false;
    }
    pop.files->remove(path);
}
