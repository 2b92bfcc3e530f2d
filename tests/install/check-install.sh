#!/bin/sh
# Installs the build into a temporary prefix and checks what lands where: the
# program and its launcher, the catalogues, the desktop entry, icon, AppStream
# metadata and manual pages, and a udev rule that parses. Then starts the launcher (with a stand-in program)
# to see it prepare the per-user working directory.
#   check-install.sh BUILD_DIR
set -eu

build_dir=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix="$scratch/prefix"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cmake --install "$build_dir" --prefix "$prefix" >/dev/null

for file in bin/tessra bin/tessra-launch bin/tessra-cli \
            share/tessra/zh_CN.qm share/tessra/translations/qt_zh_CN.qm \
            share/applications/tessra.desktop share/icons/hicolor/64x64/apps/tessra.png \
            share/metainfo/example.morvane.tessra.metainfo.xml \
            share/man/man1/tessra.1.gz share/man/man1/tessra-cli.1.gz share/man/man1/tessra-launch.1.gz \
            share/doc/tessra/copyright share/doc/tessra/changelog.gz \
            lib/udev/rules.d/60-tessra.rules; do
    [ -f "$prefix/$file" ] || fail "$file is not installed"
done
for program in bin/tessra bin/tessra-launch bin/tessra-cli; do
    [ -x "$prefix/$program" ] || fail "$program is not executable"
done

desktop="$prefix/share/applications/tessra.desktop"
grep -qx 'Exec=tessra-launch' "$desktop" || fail "the desktop entry does not start the launcher"
grep -qx 'Icon=tessra' "$desktop" || fail "the desktop entry names no icon"
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
fi

rules="$prefix/lib/udev/rules.d/60-tessra.rules"
if udevadm verify --help >/dev/null 2>&1; then
    udevadm verify "$rules" || fail "udevadm rejects the udev rule"
else
    # udev's own grammar, for systems whose udevadm cannot verify: every rule
    # is a comma-separated list of KEY[{attr}] OP "value", matches first.
    awk '
        /^[[:space:]]*(#|$)/ { next }
        {
            n = split($0, pairs, /,[[:space:]]*/)
            for (i = 1; i <= n; i++) {
                if (pairs[i] !~ /^[A-Z_]+(\{[^}]+\})?(==|!=|\+=|-=|:=|=)"[^"]*"$/) {
                    printf "line %d: cannot parse \"%s\"\n", NR, pairs[i]; bad = 1
                }
            }
            rules++
        }
        END { if (!rules) { print "no rule"; bad = 1 } exit bad }
    ' "$rules" || fail "the udev rule does not parse"
fi
grep -q 'ATTRS{idVendor}=="1a86"' "$rules" || fail "the udev rule does not match the vendor"
grep -q 'ATTRS{idProduct}=="e429"' "$rules" || fail "the udev rule does not match the product"
grep -q 'SUBSYSTEM=="hidraw"' "$rules" || fail "the udev rule does not match hidraw devices"
grep -q 'TAG+="uaccess"' "$rules" || fail "the udev rule grants no access"

# First start and a second one: the directory is made, then reused.
for start in first second; do
    shown=$(HOME="$scratch/home" XDG_DATA_HOME="$scratch/data" TESSRA_PROGRAM=pwd "$prefix/bin/tessra-launch")
    [ "$shown" = "$scratch/data/tessra" ] || fail "$start start: the program runs in '$shown'"
    [ -r "$scratch/data/tessra/zh_CN.qm" ] || fail "$start start: zh_CN.qm is not beside the program"
    [ -r "$scratch/data/tessra/translations/qt_zh_CN.qm" ] \
        || fail "$start start: qt_zh_CN.qm is not under ./translations/"
done
shown=$(env -u XDG_DATA_HOME HOME="$scratch/home" TESSRA_PROGRAM=pwd "$prefix/bin/tessra-launch")
[ "$shown" = "$scratch/home/.local/share/tessra" ] || fail "without XDG_DATA_HOME the program runs in '$shown'"

# Without copies of the toolkit's catalogues (as the Debian package has it)
# the launcher links the toolkit's own.
rm -rf "$prefix/share/tessra/translations" "$scratch/data/tessra/translations"
HOME="$scratch/home" XDG_DATA_HOME="$scratch/data" TESSRA_PROGRAM=true "$prefix/bin/tessra-launch"
linked=$(readlink "$scratch/data/tessra/translations/qt_zh_CN.qm") \
    || fail "without copies of the toolkit's catalogues no qt_zh_CN.qm is linked"
[ -r "$linked" ] && [ "${linked#"$prefix"}" = "$linked" ] \
    || fail "without copies of the toolkit's catalogues qt_zh_CN.qm links to '$linked'"

echo "PASS: installation into $prefix"
