#!/usr/bin/env bash
# The committed program on a fresh Debian, as a newcomer meets it: a minimal root of the release
# made with debootstrap, with only git, make, cmake and g++ installed, where a clone of this
# repository's HEAD runs `make test` and then `make package` as root. Prints their closing lines,
# the time each took and every compiler warning; fails if either fails or the compiler warned.
# Usage (as root): tests/compat/debian.sh bookworm|trixie
# MIRROR overrides the Debian mirror (by default the one this machine's apt uses) and WORKDIR the
# folder under which the root is made (/var/tmp); the logs stay there, the root is removed.
set -uo pipefail
# Read whole before it runs (the braces close at the end): the work tree may change during the
# half hour it takes.
{

die() {
  echo "debian.sh: $*" >&2
  exit 2
}

release=${1:-}
case $release in
  bookworm | trixie) ;;
  *) die "usage: $0 bookworm|trixie" ;;
esac
[ "$(id -u)" = 0 ] || die "debootstrap, mount and chroot need root: run it as root"
for tool in debootstrap chroot unshare mount umount git; do
  command -v "$tool" >/dev/null || die "$tool not found (Debian: apt-get install debootstrap util-linux mount git)"
done

# The first Debian archive among apt's sources: deb822 URIs: lines, then one-line deb entries.
apt_mirror() {
  cat /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list /etc/apt/sources.list 2>/dev/null |
    awk '/^URIs:/ { for (i = 2; i <= NF; i++) print $i }
         /^deb[ \t]/ { for (i = 2; i <= NF; i++) if ($i ~ /^[a-z+]+:\/\//) { print $i; break } }' |
    grep -m1 -E '/debian/?$'
}

# Everything that mounts runs in a private mount namespace: whatever ends the script, even a
# kill, its mounts go with the namespace, and none of them is ever seen by the rest of the machine.
if [ "${DEBIAN_SH_INNER:-}" != 1 ]; then
  mirror=${MIRROR:-$(apt_mirror)}
  [ -n "$mirror" ] || die "no Debian mirror in /etc/apt/sources.list.d or /etc/apt/sources.list; set MIRROR"
  repo=$(git -C "$(dirname "$0")" rev-parse --show-toplevel) || die "not inside a git repository"
  commit=$(git -C "$repo" rev-parse HEAD) || die "the repository has no commit"
  [ -z "$(git -C "$repo" status --porcelain --untracked-files=no)" ] ||
    echo "note: uncommitted changes in $repo are not tested, only the commit $commit"
  work=$(mktemp -d "${WORKDIR:-/var/tmp}/corvani-$release.XXXXXX") || die "cannot make a work folder"
  root=$work/root
  # The root goes once nothing is mounted in it any more; --one-file-system keeps rm out of any
  # mount that were somehow left.
  remove_root() {
    if grep -qF " $root/" /proc/self/mountinfo; then
      echo "debian.sh: something is still mounted under $root; left in place" >&2
    else
      rm -rf --one-file-system "$root"
    fi
  }
  trap remove_root EXIT
  trap 'exit 130' INT TERM
  echo "Debian $release from $mirror, commit $commit, in $work"
  DEBIAN_SH_INNER=1 MIRROR=$mirror REPO=$repo WORK=$work \
    unshare --mount --propagation private bash "$0" "$release"
  exit $?
fi

root=$WORK/root
mounted=()
# Ends every process still running in the root (a test's server, a daemon a package started),
# then unmounts in reverse order.
cleanup() {
  local status=$? pids=() p i
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/root" 2>/dev/null)" = "$root" ] && pids+=("${p#/proc/}")
  done
  if [ ${#pids[@]} -gt 0 ]; then
    kill -TERM "${pids[@]}" 2>/dev/null
    sleep 1
    kill -KILL "${pids[@]}" 2>/dev/null
  fi
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" || status=1
  done
  [ "$status" = 130 ] && echo "== interrupted; every process in the root ended and everything unmounted"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

mount_in_root() {
  local target=$root/$1
  shift
  mkdir -p "$target"
  mount "$@" "$target" || exit 1
  mounted+=("$target")
}

# Runs a command in the root as root, with a newcomer's plain environment.
in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}

# A log's closing lines: from ctest's summary on where there is one (the failed tests are listed
# after it), else the last dozen.
closing() {
  local from
  from=$(grep -n '% tests passed, ' "$1" | tail -n 1 | cut -d: -f1)
  if [ -n "$from" ]; then tail -n +"$from" "$1"; else tail -n 12 "$1"; fi
}

clock() {
  printf '%d min %02d s' $(($1 / 60)) $(($1 % 60))
}

start=$SECONDS
echo "== debootstrap $release with git make cmake g++ (log: $WORK/debootstrap.log)"
if ! debootstrap --variant=minbase --include=git,make,cmake,g++ "$release" "$root" "$MIRROR" \
  >"$WORK/debootstrap.log" 2>&1; then
  tail -n 20 "$WORK/debootstrap.log"
  exit 1
fi
echo "   done in $(clock $((SECONDS - start)))"

cp /etc/resolv.conf "$root/etc/resolv.conf"
# Packages' maintainer scripts start no services in the root: a daemon left running would keep
# its mounts busy.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"
mount_in_root proc -t proc proc
mount_in_root sys -t sysfs sysfs
mount_in_root dev --bind /dev
mount_in_root dev/pts --bind /dev/pts
mount_in_root dev/shm -t tmpfs -o mode=1777,nosuid,nodev shm

# A clone of the committed HEAD, made in the root by its own git from a bundle of the repository.
git -C "$REPO" bundle create "$root/root/corvani.bundle" HEAD 2>/dev/null || exit 1
in_root git -c advice.detachedHead=false -c init.defaultBranch=main clone -q /root/corvani.bundle /root/corvani || exit 1

failed=0
times=()
for target in test package; do
  log=$WORK/make-$target.log
  echo "== make $target (log: $log)"
  start=$SECONDS
  in_root bash -c "cd /root/corvani && make $target" >"$log" 2>&1
  status=$?
  took=$(clock $((SECONDS - start)))
  times+=("make $target: $took, exit status $status")
  closing "$log" | sed 's/^/   /'
  echo "   exit status $status after $took"
  [ "$status" = 0 ] || failed=1
done

echo "== versions in the root"
in_root dpkg-query -W -f '   ${Package} ${Version}\n' g++ cmake qt6-base-dev appstream at-spi2-core lintian 2>/dev/null

# The compiler's and linker's warnings in either build, each once (both builds compile the same
# sources).
warnings=$(cat "$WORK/make-test.log" "$WORK/make-package.log" |
  grep -E '^[^ :]+:[0-9]+(:[0-9]+)?: warning: |^(cc1plus|g\+\+|/usr/bin/ld|ld): warning: ' | sort -u)
echo "== compiler warnings: $(printf '%s' "$warnings" | grep -c .)"
[ -z "$warnings" ] || { printf '%s\n' "$warnings" | sed 's/^/   /'; failed=1; }

echo "== Debian $release: $([ "$failed" = 0 ] && echo PASSED || echo FAILED)"
printf '   %s\n' "${times[@]}"
exit "$failed"
}
