// The command line as Windows splits it, with no wildcard expansion: "*" and
// "?" reach the program as typed. The mingw-w64 runtime reads this flag at
// start-up; defining it here overrides the library's default, whatever that is.
extern "C" {
int _dowildcard = 0;
}
