# Shared by the checks of what is shipped: a scratch directory that goes away
# on exit, and one run of an installed program over the example folder.
set -euo pipefail
export LC_ALL=C

fail()
{
    printf 'FAIL: %s\n' "$*" >&2
    exit 1
}

need()  # command, Debian package that brings it
{
    command -v "$1" >/dev/null || fail "$1 is missing: install the package $2"
}

make_scratch()  # parent directory; sets $scratch
{
    scratch=$(mktemp -d "$1/scratch.XXXXXX")
    trap 'rm -rf "$scratch"' EXIT
}

# Runs the program over the folder into a new directory and checks the exit
# status, the console text and that the POP files hold exactly the messages.
check_converts_folder()  # program, folder, version
{
    local program=$1 folder=$2 version=$3
    local out expect
    out=$(mktemp -d "$scratch/out.XXXXXX")
    expect=$(mktemp -d "$scratch/expect.XXXXXX")
    local status=0
    "$program" "$folder" "$out" 2>"$scratch/stderr" || status=$?
    [ "$status" -eq 0 ] || fail "$program exited with $status: $(cat "$scratch/stderr")"

    # The messages the folder holds: CRs dropped, one level of >From removed.
    tr -d '\r' <"$folder" | awk -v dir="$expect" '
        /^From - / { n++; file = sprintf("%s/%04d", dir, n); printf "" >file; next }
        n { if (tolower(substr($0, 1, 5)) == ">from") $0 = substr($0, 2)
            print >file }'
    local count
    count=$(find "$expect" -type f | wc -l)
    [ "$count" -gt 0 ] || fail "$folder holds no message"

    local dots
    dots=$(head -c "$count" /dev/zero | tr '\0' .)
    printf '\nfolder2pop %s - mail folder to POP files converter\n%s' \
        "$version" "$dots" >"$scratch/stderr.expected"
    cmp -s "$scratch/stderr" "$scratch/stderr.expected" ||
        fail "console text differs: $(od -c "$scratch/stderr" | head -5)"

    local names
    names=$(cd "$out" && ls)
    [ "$(grep -cE '^[A-Z0-9]{8}\.POP$' <<<"$names")" -eq "$count" ] ||
        fail "expected $count POP files, found: $names"
    # Names need not sort in the order of time, so compare the contents as sets.
    diff <(cd "$out" && sha256sum -- * | cut -d' ' -f1 | sort) \
         <(cd "$expect" && sha256sum -- * | cut -d' ' -f1 | sort) >/dev/null ||
        fail "the POP files do not hold the messages of $folder"
}
