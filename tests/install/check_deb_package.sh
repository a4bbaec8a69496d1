#!/usr/bin/env bash
# cpack makes one .deb holding exactly the program and its manual page, with
# the project's version; unpacked with dpkg -x, the program converts the
# example folder.
source "$(dirname "$0")/lib.sh"
cpack=$1 build=$2 folder=$3 version=$4
need dpkg-deb dpkg
need dpkg-shlibdeps dpkg-dev
need file file
make_scratch "$5"

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/packages" \
    >"$scratch/cpack.log" 2>&1 || fail "cpack failed: $(cat "$scratch/cpack.log")"
arch=$(dpkg --print-architecture)
deb=$scratch/packages/folder2pop_${version}_$arch.deb
[ -f "$deb" ] || fail "no $deb; made: $(ls "$scratch/packages")"

for field in Package:folder2pop Version:$version Architecture:$arch; do
    value=$(dpkg-deb -f "$deb" "${field%%:*}")
    [ "$value" = "${field#*:}" ] || fail "${field%%:*} is $value, not ${field#*:}"
done
dpkg-deb -f "$deb" Depends | grep -q '\blibc6\b' ||
    fail "Depends lacks libc6: $(dpkg-deb -f "$deb" Depends)"

contents=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $1, $2, $6 }' | sort)
expected='-rw-r--r-- root/root ./usr/share/man/man1/folder2pop.1
-rwxr-xr-x root/root ./usr/bin/folder2pop'
[ "$contents" = "$expected" ] || fail "the package holds: $contents"

dpkg -x "$deb" "$scratch/root"
check_converts_folder "$scratch/root/usr/bin/folder2pop" "$folder" "$version"
groff -mandoc -Tascii -P-cbou "$scratch/root/usr/share/man/man1/folder2pop.1" |
    grep -qF "folder2pop $version" || fail "the packaged page does not name version $version"
