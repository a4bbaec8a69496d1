// Throughput of the folder line reader alone, each folder shape against a
// plain read(2) + memchr scan of the same file (the most a line reader working
// through 64 KiB blocks could do); the ratios are printed at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "folder_input/folder_line_reader.hpp"

namespace {

constexpr std::size_t DEFAULT_FOLDER_MIB = 256;
constexpr std::size_t PATTERN_SIZE = 1024 * 1024;
constexpr int REPETITIONS = 9;
constexpr char SEPARATOR_LINE[] = "From - Fri Dec 11 03:33:30 2026";

// line_length counts the line end, so CRLF and LF folders of one length
// hold the same number of lines.
struct Shape {
    const char* name;
    std::size_t line_length;
    bool crlf;
};

constexpr Shape SHAPES[] = {
    {"short_crlf", 70, true},
    {"short_lf", 70, false},
    {"long_crlf", 4096, true},
    {"long_lf", 4096, false},
};
constexpr std::size_t SHAPE_COUNT = sizeof SHAPES / sizeof SHAPES[0];

std::string folder_paths[SHAPE_COUNT];
std::size_t folder_sizes[SHAPE_COUNT];

// The stream holds a 64 KiB block: static, like the program's own.
FolderStream stream;
char line_buffer[LINE_BUFFER_SIZE];
char scan_block[FOLDER_BLOCK_SIZE];
char pattern[PATTERN_SIZE];

bool write_all(int fd, const char* bytes, std::size_t count)
{
    while (count > 0) {
        const ssize_t put = write(fd, bytes, count);
        if (put <= 0) {
            return false;
        }
        bytes += put;
        count -= static_cast<std::size_t>(put);
    }
    return true;
}

// Fills pattern with whole lines of printable text; gives the bytes used.
std::size_t make_pattern(const Shape& shape)
{
    const std::size_t line_end = shape.crlf ? 2 : 1;
    const std::size_t lines = PATTERN_SIZE / shape.line_length;
    std::size_t used = 0;
    for (std::size_t line = 0; line < lines; ++line) {
        for (std::size_t i = 0; i + line_end < shape.line_length; ++i) {
            pattern[used++] = static_cast<char>('!' + (line * 7 + i * 13) % 94);
        }
        if (shape.crlf) {
            pattern[used++] = '\r';
        }
        pattern[used++] = '\n';
    }
    return used;
}

// One message of about size bytes in the shape; false if it cannot be written.
bool write_folder(const std::string& path, const Shape& shape, std::size_t size)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    bool written = write_all(fd, SEPARATOR_LINE, sizeof SEPARATOR_LINE - 1) &&
                   write_all(fd, shape.crlf ? "\r\n" : "\n", shape.crlf ? 2 : 1);
    const std::size_t pattern_used = make_pattern(shape);
    for (std::size_t done = 0; written && done < size; done += pattern_used) {
        written = write_all(fd, pattern, pattern_used);
    }
    return close(fd) == 0 && written;
}

std::size_t file_size(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const off_t end = fd < 0 ? 0 : lseek(fd, 0, SEEK_END);
    if (fd >= 0) {
        close(fd);
    }
    return end < 0 ? 0 : static_cast<std::size_t>(end);
}

// Speeds are per second of the process's CPU time, the kernel's copies
// included, so that other work on a shared machine counts against neither side.
void read_with_folder_reader(benchmark::State& state, std::size_t shape)
{
    std::size_t lines = 0;
    for (auto _ : state) {
        if (!open_folder(stream, folder_paths[shape].c_str(), system_files())) {
            state.SkipWithError("the folder cannot be opened");
            return;
        }
        FolderLine line{};
        while (read_folder_line(stream, line_buffer, LINE_CAPACITY, line)) {
            ++lines;
        }
        const bool failed = folder_read_failed(stream);
        close_folder(stream);
        if (failed) {
            state.SkipWithError("a read of the folder failed");
            return;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(folder_sizes[shape]));
}

// The limit: the same reads, each line feed found by memchr, nothing copied.
void scan_with_read_and_memchr(benchmark::State& state, std::size_t shape)
{
    std::size_t lines = 0;
    for (auto _ : state) {
        const int fd = open(folder_paths[shape].c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            state.SkipWithError("the folder cannot be opened");
            return;
        }
        ssize_t got = 0;
        while ((got = read(fd, scan_block, FOLDER_BLOCK_SIZE)) > 0) {
            const char* next = scan_block;
            const char* end = scan_block + got;
            while (next < end) {
                const void* line_feed =
                    std::memchr(next, '\n', static_cast<std::size_t>(end - next));
                if (line_feed == nullptr) {
                    break;
                }
                ++lines;
                next = static_cast<const char*>(line_feed) + 1;
            }
        }
        close(fd);
        if (got < 0) {
            state.SkipWithError("a read of the folder failed");
            return;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(folder_sizes[shape]));
}

// The console report, then a table of each shape's reader speed against the
// scan of the same file, from the median repetition of each.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& reports) override
    {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports) {
            const bool median = run.run_type == Run::RT_Aggregate &&
                                run.aggregate_name == "median";
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            const auto rate = run.counters.find("bytes_per_second");
            if ((median || single) && !run.error_occurred && rate != run.counters.end()) {
                speeds_[run.run_name.function_name] = rate->second.value;
            }
        }
    }

    void Finalize() override
    {
        std::FILE* out = stdout;
        std::fflush(out);
        std::fprintf(out, "\n| folder | reader MB/s | read+memchr MB/s | ratio |\n"
                          "| --- | ---: | ---: | ---: |\n");
        for (const Shape& shape : SHAPES) {
            const auto reader = speeds_.find(std::string("reader/") + shape.name);
            const auto scan = speeds_.find(std::string("scan/") + shape.name);
            if (reader == speeds_.end() || scan == speeds_.end() || scan->second <= 0) {
                continue;
            }
            std::fprintf(out, "| %s | %.0f | %.0f | %.2f |\n", shape.name,
                         reader->second / 1e6, scan->second / 1e6,
                         reader->second / scan->second);
        }
        std::fflush(out);
        ConsoleReporter::Finalize();
    }

private:
    std::map<std::string, double> speeds_;
};

std::size_t folder_mib()
{
    const char* text = std::getenv("READER_BENCH_MIB");
    const long mib = text == nullptr ? 0 : std::strtol(text, nullptr, 10);
    return mib > 0 ? static_cast<std::size_t>(mib) : DEFAULT_FOLDER_MIB;
}

}  // namespace

int main(int argc, char** argv)
{
    // Repetitions of all benchmarks run in a shuffled order, so a change in
    // the machine's load falls on the reader and its limit alike. The
    // command line can still turn it off.
    std::vector<char*> arguments(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    arguments.insert(arguments.begin() + 1, interleave);
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) {
        return 1;
    }
    const char* tmp = std::getenv("TMPDIR");
    std::string directory = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") +
                            "/folder2pop-reader-XXXXXX";
    if (mkdtemp(directory.data()) == nullptr) {
        std::fprintf(stderr, "reader_bench: cannot make a directory in %s\n",
                     directory.c_str());
        return 1;
    }
    const std::size_t size = folder_mib() * 1024 * 1024;
    bool ready = true;
    for (std::size_t shape = 0; shape < SHAPE_COUNT && ready; ++shape) {
        folder_paths[shape] = directory + "/" + SHAPES[shape].name + ".mbx";
        ready = write_folder(folder_paths[shape], SHAPES[shape], size);
        folder_sizes[shape] = file_size(folder_paths[shape]);
    }
    if (ready) {
        for (std::size_t shape = 0; shape < SHAPE_COUNT; ++shape) {
            const std::string name = SHAPES[shape].name;
            benchmark::RegisterBenchmark(("reader/" + name).c_str(),
                                         read_with_folder_reader, shape)
                ->Repetitions(REPETITIONS)
                ->ReportAggregatesOnly(true)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("scan/" + name).c_str(),
                                         scan_with_read_and_memchr, shape)
                ->Repetitions(REPETITIONS)
                ->ReportAggregatesOnly(true)
                ->Unit(benchmark::kMillisecond);
        }
        RatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
    } else {
        std::fprintf(stderr, "reader_bench: cannot write the folders in %s\n",
                     directory.c_str());
    }
    for (const std::string& path : folder_paths) {
        if (!path.empty()) {
            unlink(path.c_str());
        }
    }
    rmdir(directory.c_str());
    benchmark::Shutdown();
    return ready ? 0 : 1;
}
