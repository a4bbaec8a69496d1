// folder2pop: converts a mail folder into a directory of POP files.
#include "app/conversion_run.hpp"

int main(int argc, char** argv)
{
    return run_conversion(argc, argv);
}
