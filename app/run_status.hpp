// How a run ended: the process exit code. The message of each status is in
// conversion_run.cpp.
#ifndef FOLDER2POP_APP_RUN_STATUS_HPP
#define FOLDER2POP_APP_RUN_STATUS_HPP

enum RunStatus {
    STATUS_OK = 0,
    STATUS_SYNTAX = 1,
    STATUS_SOURCE_NOT_OPENED = 2,
    STATUS_DIRECTORY_TOO_LONG = 3,
    STATUS_DESTINATION_NOT_CREATED = 4,
    STATUS_DESTINATION_NOT_WRITTEN = 5,
    STATUS_SOURCE_NOT_READ = 6,
};

#endif
