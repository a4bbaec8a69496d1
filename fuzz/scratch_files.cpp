// Scratch files for the fuzz targets: plain POSIX calls, every one checked.
#include "fuzz/scratch_files.hpp"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {

std::string made_directory;

void remove_scratch_directory()
{
    std::error_code ignored;
    std::filesystem::remove_all(made_directory, ignored);
}

}  // namespace

void check(bool holds, const char* property)
{
    if (!holds) {
        std::fprintf(stderr, "\nproperty broken: %s\n", property);
        std::abort();
    }
}

const std::string& scratch_directory()
{
    if (made_directory.empty()) {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr ? base : "/tmp") +
                              "/folder2pop-fuzz-XXXXXX";
        check(mkdtemp(pattern.data()) != nullptr, "the scratch directory is made");
        made_directory = pattern;
        std::atexit(remove_scratch_directory);
    }
    return made_directory;
}

void write_whole_file(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    check(fd >= 0, "the scratch file opens");
    while (size > 0) {
        const ssize_t put = write(fd, data, size);
        check(put > 0, "the scratch file is written");
        data += put;
        size -= static_cast<std::size_t>(put);
    }
    check(close(fd) == 0, "the scratch file closes");
}

std::string folder_text(const std::uint8_t* data, std::size_t size)
{
    std::string text;
    for (std::size_t i = 0; i < size && data[i] != 0x1a; ++i) {
        if (data[i] != '\r') {
            text.push_back(static_cast<char>(data[i]));
        }
    }
    return text;
}
