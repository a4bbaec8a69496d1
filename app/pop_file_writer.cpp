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

bool write_pop_file(PopFile& pop, const char* bytes, std::size_t count)
{
    if (count > POP_WRITE_BUFFER_SIZE - pop.used && !flush_pop_file(pop)) {
        return false;
    }
    if (count >= POP_WRITE_BUFFER_SIZE) {
        pop.failed = !pop.files->write_all(pop.file, bytes, count);
        return !pop.failed;
    }
    std::memcpy(pop.buffer + pop.used, bytes, count);
    pop.used += count;
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
