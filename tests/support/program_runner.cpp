// Child processes for end-to-end tests: fork, redirect, exec, wait.
#include "tests/support/program_runner.hpp"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/temp_dir.hpp"

namespace {

void redirect(int target, const std::string& path, int flags)
{
    const int fd = open(path.c_str(), flags, 0600);
    if (fd < 0 || dup2(fd, target) < 0) {
        _exit(126);
    }
    close(fd);
}

// The user "nobody" when the run asks to drop root, or none.
const passwd* user_to_become(const RunOptions& options)
{
    return options.unprivileged && geteuid() == 0 && can_run_unprivileged()
               ? getpwnam("nobody")
               : nullptr;
}

}  // namespace

const std::string& program_under_test()
{
    static const std::string path = [] {
        const char* chosen = std::getenv("FOLDER2POP_PROGRAM");
        // Absolute, so that a run in another working directory finds it too.
        return std::filesystem::absolute(chosen != nullptr ? chosen : FOLDER2POP_BINARY)
            .string();
    }();
    return path;
}

std::string program_file_name()
{
    const std::string& path = program_under_test();
    return path.substr(path.find_last_of("/\\:") + 1);
}

bool program_is_for_windows()
{
    const std::string name = program_file_name();
    return name.size() > 4 && name.compare(name.size() - 4, 4, ".exe") == 0;
}

std::string console_text(const std::string& text)
{
    if (!program_is_for_windows()) {
        return text;
    }
    std::string shown;
    for (const char byte : text) {
        if (byte == '\n') {
            shown += '\r';
        }
        shown += byte;
    }
    return shown;
}

bool can_run_unprivileged()
{
    // Under wine as root the program cannot become another user: its wine
    // prefix belongs to root.
    if (geteuid() != 0) {
        return true;
    }
    return !program_is_for_windows() && getpwnam("nobody") != nullptr;
}

ProgramRun run_program(const std::vector<std::string>& arguments, const RunOptions& options)
{
    StartedProgram started = start_program(arguments, options);
    return finish_program(started);
}

StartedProgram start_program(const std::vector<std::string>& arguments,
                             const RunOptions& options)
{
    StartedProgram started;
    started.captures = std::make_unique<TempDir>();
    const std::string err_path = *started.captures / "stderr";
    const std::string out_path = *started.captures / "stdout";

    std::vector<char*> argv;
    std::string program = program_under_test();
    const passwd* user = user_to_become(options);
    const uid_t uid = user != nullptr ? user->pw_uid : 0;
    const gid_t gid = user != nullptr ? user->pw_gid : 0;
    if (user != nullptr) {
        // The build tree may lie in a directory that only root may enter: the
        // other user runs a copy of the program from the captures directory.
        const std::string copy = *started.captures / program_file_name();
        std::filesystem::copy_file(program, copy);
        chmod(copy.c_str(), 0755);
        chmod(started.captures->path().c_str(), 0711);
        program = copy;
    }

    const char* runner_setting = std::getenv("FOLDER2POP_RUNNER");
    std::string runner = runner_setting != nullptr ? runner_setting : "";
    if (!runner.empty()) {
        argv.push_back(runner.data());
    }
    if (!options.empty_argument_vector) {
        argv.push_back(program.data());
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
    }
    argv.push_back(nullptr);

    started.pid = fork();
    if (started.pid == 0) {
        redirect(STDIN_FILENO, "/dev/null", O_RDONLY);
        redirect(STDOUT_FILENO, out_path, O_WRONLY | O_CREAT | O_TRUNC);
        redirect(STDERR_FILENO, err_path, O_WRONLY | O_CREAT | O_TRUNC);
        if (options.file_size_limit >= 0) {
            // Past the limit a write fails with EFBIG instead of killing us.
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit = {static_cast<rlim_t>(options.file_size_limit),
                                  static_cast<rlim_t>(options.file_size_limit)};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        for (const std::string& setting : options.environment) {
            putenv(const_cast<char*>(setting.c_str()));
        }
        if (!options.working_directory.empty() && chdir(options.working_directory.c_str()) != 0) {
            _exit(126);
        }
        if (user != nullptr && (setgroups(0, nullptr) != 0 || setgid(gid) != 0 ||
                                setuid(uid) != 0)) {
            _exit(125);
        }
        if (!runner.empty()) {
            execvp(runner.c_str(), argv.data());
        } else {
            execv(program.c_str(), argv.data());
        }
        _exit(127);
    }
    return started;
}

ProgramRun finish_program(StartedProgram& started)
{
    ProgramRun run;
    int status = 0;
    if (started.pid < 0 || waitpid(started.pid, &status, 0) != started.pid) {
        return run;
    }
    if (WIFEXITED(status)) {
        run.exit_code = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        run.signal = WTERMSIG(status);
    }
    run.err = read_file(*started.captures / "stderr");
    run.out = read_file(*started.captures / "stdout");
    return run;
}
