// Runs the built program as a child process, the way a user would, and keeps
// what it printed and how it ended.
#ifndef FOLDER2POP_TESTS_PROGRAM_RUNNER_HPP
#define FOLDER2POP_TESTS_PROGRAM_RUNNER_HPP

#include <memory>
#include <string>
#include <vector>

#include "tests/support/temp_dir.hpp"

struct ProgramRun {
    int exit_code = -1;    // -1 when a signal ended it
    int signal = 0;
    std::string err;       // every byte of standard error
    std::string out;       // every byte of standard output
};

struct RunOptions {
    long long file_size_limit = -1;         // RLIMIT_FSIZE in bytes; -1: none
    std::vector<std::string> environment;   // NAME=value added to the child's
    bool empty_argument_vector = false;     // start it with argc 0
    std::string working_directory;          // the child's; empty: ours
    // Run as "nobody" when the tests run as root, so that file permissions
    // hold for the program; see can_run_unprivileged.
    bool unprivileged = false;
};

// A child that runs until finish_program waits for it.
struct StartedProgram {
    int pid = -1;
    std::unique_ptr<TempDir> captures;  // its standard output and error
};

// The program under test: FOLDER2POP_PROGRAM from the environment, else the
// one this build made. FOLDER2POP_RUNNER, when set, names a program that
// starts it, such as wine for folder2pop.exe.
const std::string& program_under_test();

// The program's file name as its usage text shows it.
std::string program_file_name();

// Whether the program under test is the Windows one (run under wine, say).
bool program_is_for_windows();

// Text as the program's console shows it: each line feed as the platform's
// line end, CR LF on Windows.
std::string console_text(const std::string& text);

// Whether RunOptions::unprivileged works: not for root without a "nobody"
// user, nor for root running the Windows program.
bool can_run_unprivileged();

ProgramRun run_program(const std::vector<std::string>& arguments,
                       const RunOptions& options = {});

StartedProgram start_program(const std::vector<std::string>& arguments,
                             const RunOptions& options = {});
ProgramRun finish_program(StartedProgram& started);

#endif
