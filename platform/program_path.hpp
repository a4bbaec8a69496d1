// The full path of the running program's own file, for the usage text.
#ifndef FOLDER2POP_PLATFORM_PROGRAM_PATH_HPP
#define FOLDER2POP_PLATFORM_PROGRAM_PATH_HPP

// The path as the platform reports it for the running program; argv0 (which
// may be null) where the platform cannot tell. Never null. The result lives
// until the next call.
const char* program_path(const char* argv0);

#endif
