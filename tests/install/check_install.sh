#!/usr/bin/env bash
# `cmake --install` into a fresh prefix gives exactly the program and its
# manual page, and the installed program converts the example folder.
source "$(dirname "$0")/lib.sh"
cmake=$1 build=$2 folder=$3 version=$4
need man man-db
make_scratch "$5"

prefix=$scratch/prefix
"$cmake" --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1 ||
    fail "cmake --install failed: $(cat "$scratch/install.log")"
installed=$(cd "$prefix" && find . ! -type d | sort)
[ "$installed" = $'./bin/folder2pop\n./share/man/man1/folder2pop.1' ] ||
    fail "installed files: $installed"
[ -x "$prefix/bin/folder2pop" ] || fail "bin/folder2pop is not executable"

check_converts_folder "$prefix/bin/folder2pop" "$folder" "$version"

# man finds the page under the prefix by name and shows the version.
found=$(man -M "$prefix/share/man" -w folder2pop 2>&1) ||
    fail "man does not find folder2pop under $prefix: $found"
[ "$found" = "$prefix/share/man/man1/folder2pop.1" ] || fail "man found $found"
man -M "$prefix/share/man" folder2pop 2>/dev/null | grep -qF "folder2pop $version" ||
    fail "the installed page does not name version $version"
