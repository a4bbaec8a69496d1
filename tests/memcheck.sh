#!/usr/bin/env bash
# The built program under valgrind's memcheck, end to end: no memory error, no
# leak, and as many heap allocations for a folder of 200 messages with long,
# CRLF and many lines as for one of 10 short messages (nothing is allocated
# per message or per line). Usage: tests/memcheck.sh [program]
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/test/folder2pop}")
work=$(mktemp -d "${TMPDIR:-/tmp}/folder2pop-memcheck-XXXXXX")
trap 'rm -rf "$work"' EXIT

# make_folder FILE MESSAGES LINES: every tenth message also has a CRLF line, a
# quoted From line and a 40,000-byte line, which arrives in two pieces.
make_folder() {
    local long
    long=$(head -c 40000 /dev/zero | tr '\0' 'L')
    for ((m = 0; m < $2; m++)); do
        printf 'From - message %d\n' "$m"
        for ((l = 0; l < $3; l++)); do
            printf 'line %d of message %d\n' "$l" "$m"
        done
        if ((m % 10 == 0)); then
            printf 'CRLF line\r\n>From quoted\n%s\n' "$long"
        fi
    done >"$1"
}

# allocations FOLDER MESSAGES: runs it, checks the run, prints the count.
allocations() {
    local out="$work/out-$2" log="$work/valgrind-$2.log"
    mkdir "$out"
    if ! valgrind --tool=memcheck --error-exitcode=99 --leak-check=full \
            --show-leak-kinds=all --errors-for-leak-kinds=all --log-file="$log" \
            "$program" "$1" "$out" 2>/dev/null; then
        echo "memcheck: the run of $2 messages failed:" >&2
        cat "$log" >&2
        return 1
    fi
    local made
    made=$(find "$out" -name '*.POP' | wc -l)
    if [ "$made" -ne "$2" ] || ! grep -q 'All heap blocks were freed' "$log"; then
        echo "memcheck: $made POP files of $2, or heap blocks left:" >&2
        cat "$log" >&2
        return 1
    fi
    sed -n 's/.*total heap usage: \([0-9,]*\) allocs.*/\1/p' "$log" | tr -d ,
}

make_folder "$work/small" 10 5
make_folder "$work/large" 200 50
small=$(allocations "$work/small" 10)
large=$(allocations "$work/large" 200)
echo "memcheck: no error, no leak; heap allocations: $small for 10 messages, $large for 200"
if [ "$small" != "$large" ]; then
    echo "memcheck: the number of allocations grows with the folder" >&2
    exit 1
fi
