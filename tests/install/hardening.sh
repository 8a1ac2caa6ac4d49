#!/usr/bin/env bash
# Checks an executable for the hardening of Debian's standard build flags, as hardening-check
# (devscripts) does, with binutils' readelf alone: position-independent, stack protector,
# fortified libc calls, read-only relocations and immediate binding.
# Usage: hardening.sh EXECUTABLE
set -u
program=$1
command -v readelf >/dev/null || { echo "readelf is missing (Debian package binutils)"; exit 1; }
header=$(readelf -hW "$program") || exit 1
segments=$(readelf -lW "$program")
dynamic=$(readelf -dW "$program")
symbols=$(readelf --dyn-syms -W "$program")
failed=0
check() {
  if [ "$2" = 0 ]; then echo "  $1: yes"; else echo "  $1: no"; failed=1; fi
}
echo "$program:"
grep -qE 'Type: +DYN' <<<"$header" && grep -qE 'FLAGS_1.*PIE' <<<"$dynamic"
check "Position Independent Executable" $?
grep -qE ' UND __stack_chk_fail' <<<"$symbols"
check "Stack protected" $?
fortified=$(grep -oE ' UND __[a-z_]+_chk(@|$)' <<<"$symbols" | awk '{print $2}' | tr -d @ | sort -u | tr '\n' ' ')
[ -n "$fortified" ]
check "Fortify Source functions (${fortified% })" $?
grep -qE '^ +GNU_RELRO ' <<<"$segments"
check "Read-only relocations" $?
grep -qE '\(BIND_NOW\)|\(FLAGS\).*BIND_NOW|\(FLAGS_1\).*NOW' <<<"$dynamic"
check "Immediate binding" $?
exit "$failed"
