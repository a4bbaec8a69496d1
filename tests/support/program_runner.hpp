// Runs the built program as a child process, the way a user would, and keeps
// what it printed and how it ended.
#ifndef FOLDER2POP_TESTS_PROGRAM_RUNNER_HPP
#define FOLDER2POP_TESTS_PROGRAM_RUNNER_HPP

#include <string>
#include <vector>

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
};

// The program under test: FOLDER2POP_PROGRAM from the environment, else the
// one this build made.
const std::string& program_under_test();

// The program's file name as its usage text shows it.
std::string program_file_name();

ProgramRun run_program(const std::vector<std::string>& arguments,
                       const RunOptions& options = {});

#endif
