#!/usr/bin/env bash
# The manual page renders without a warning, names the project's version, and
# shows every exit status with the very message the program prints for it.
source "$(dirname "$0")/lib.sh"
program=$1 page=$2 version=$3 folder=$4 source_page=$6
need groff groff-base
need man man-db
make_scratch "$5"

# The page of the source tree and the one the build made from it.
for rendered in "$source_page" "$page"; do
    warnings=$(groff -mandoc -ww -z "$rendered" 2>&1)
    [ -z "$warnings" ] || fail "groff warns about $rendered: $warnings"
    warnings=$(man --warnings -l "$rendered" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man warns about $rendered: $warnings"
done

# Plain text, one paragraph line per line, blanks at both ends trimmed.
groff -mandoc -Tascii -P-cbou -rLL=300n "$page" >"$scratch/page.txt"
sed 's/^ *//; s/ *$//' "$scratch/page.txt" >"$scratch/lines.txt"
has_line()
{
    grep -qxF -- "$1" "$scratch/lines.txt"
}

for section in NAME SYNOPSIS DESCRIPTION ENVIRONMENT FILES "EXIT STATUS" \
    EXAMPLES DIAGNOSTICS LIMITS CAVEATS; do
    has_line "$section" || fail "the page has no section $section"
done
grep -v '^$' "$scratch/page.txt" | tail -n 1 | grep -qF "folder2pop $version" ||
    fail "the page's footer does not name version $version"

# Runs the program and checks its exit status, then that the page shows its
# message as a line of its own (under DIAGNOSTICS) and quotes it beside the
# same status (under EXIT STATUS).
check_status()  # status, program and arguments
{
    local status=$1 got=0
    shift
    "$@" 2>"$scratch/stderr" || got=$?
    [ "$got" -eq "$status" ] || fail "exit status $got, not $status, from: $*"
    local message
    message=$(grep -m 1 -E '^(Error|Syntax): ' "$scratch/stderr") ||
        fail "no message with exit status $status: $(cat "$scratch/stderr")"
    has_line "$message" || fail "the page does not show: $message"
    local quoted="\"$message\""
    [ "$status" -ne 1 ] || quoted='"Syntax: ..."'
    awk -v s="$status" -v q="$quoted" '$1 == s && index($0, q) { found = 1 }
        END { exit !found }' "$scratch/lines.txt" ||
        fail "EXIT STATUS does not give $quoted for $status"
}

check_status 1 "$program"
# Every line of the usage text stands in the page as it is printed.
tail -n +3 "$scratch/stderr" | while IFS= read -r line; do
    [ -z "$line" ] || has_line "$line" || fail "the page lacks the usage line: $line"
done
check_status 2 "$program" "$scratch/no-such-folder" "$scratch"
check_status 3 "$program" "$folder" "$(printf '%0243d' 0)"
check_status 4 "$program" "$folder" "$scratch/no-such-directory"
# A file size limit makes the write of a POP file fail halfway.
{ echo 'From - Mon Mar 13 09:15:02 2000'; head -c 4000 /dev/zero | tr '\0' x; echo; } \
    >"$scratch/big-folder"
mkdir "$scratch/pop5" "$scratch/pop6"
check_status 5 bash -c 'trap "" XFSZ; ulimit -f 1; exec "$@"' - \
    "$program" "$scratch/big-folder" "$scratch/pop5"
# Reading one's own memory at offset 0 opens fine and fails with EIO.
check_status 6 "$program" /proc/self/mem "$scratch/pop6"
