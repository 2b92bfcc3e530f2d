#!/bin/sh
# Runs test functions of a QtTest program as an ordinary user, for the cases
# that only permissions can cause (a file that may not be read or written):
# root passes every permission check, so as root those cases would skip.
# When already unprivileged, the ordinary test run has covered them and this
# reports a skip (77). The program is copied to a directory the user can
# reach, since the build directory may lie under root's home.
#   as-unprivileged.sh PROGRAM FUNCTION...
set -eu

if [ "$(id -u)" -ne 0 ]; then
    echo "not root: the ordinary test run covers these cases"
    exit 77
fi
if ! command -v setpriv >/dev/null 2>&1; then
    echo "setpriv is missing: cannot become an ordinary user"
    exit 77
fi

program=$1
shift
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
chmod 755 "$scratch"
cp "$program" "$scratch/"
chmod 755 "$scratch/$(basename "$program")"
cd "$scratch"

# nobody:nogroup, who owns nothing and may write only where anyone may.
# A test's own temporary directories go to /tmp, which nobody may use.
status=0
setpriv --reuid=65534 --regid=65534 --clear-groups \
    env HOME="$scratch" XDG_RUNTIME_DIR= "./$(basename "$program")" "$@" >output 2>&1 || status=$?
cat output
[ "$status" -eq 0 ] || exit "$status"
# Here the permissions must stop the user; a case that still skips failed.
if grep -q '^SKIP ' output; then
    echo "FAIL: a case skipped although an ordinary user ran it"
    exit 1
fi
