#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need
# (building and checking the Debian package of Tessra included).
# Does nothing when they are all present already.
#   scripts/install-deps.sh        what the build and the tests need
#   scripts/install-deps.sh fuzz   that, and clang with libFuzzer for fuzz/
#   scripts/install-deps.sh bench  that, and Google Benchmark for bench/
set -euo pipefail

packages=(
    cmake g++ make ninja-build ccache lld pkg-config
    qtbase5-dev qttools5-dev qttools5-dev-tools qttranslations5-l10n
    libqcustomplot-dev libhidapi-dev libgsl-dev libqt5sql5-sqlite libqt5sql5-psql libpq-dev postgresql
    xvfb xauth imagemagick xdotool poppler-utils fonts-droid-fallback
    dpkg-dev lintian appstream man-db python3
)

for extra in "$@"; do
    case "$extra" in
        fuzz) packages+=(clang-14 libclang-rt-14-dev) ;;
        bench) packages+=(libbenchmark-dev) ;;
        *) echo "unknown package group: $extra" >&2; exit 2 ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
