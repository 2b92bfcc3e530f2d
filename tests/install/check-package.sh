#!/bin/sh
# Builds the Debian package from the build tree and checks it as a user
# would meet it: its files and dependencies, lintian, the AppStream metadata
# and manual pages; then installs it into this machine with dpkg, runs what
# it installed, and removes it again, leaving only the user's data behind.
# Its maintainer scripts are also run against a stand-in udevadm, to see
# them reload the rules where udev runs and keep quiet where it does not.
# Needs root and dpkg: skipped (status 77) without them, and when a tessra
# package is installed already, which this must not replace.
#   check-package.sh BUILD_DIR VERSION
set -eu

build_dir=$(cd "$1" && pwd)
version=$2
package=tessra

skip() {
    echo "SKIP: $*"
    exit 77
}
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
for tool in dpkg dpkg-deb dpkg-query cpack; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not available"
done
# What dpkg knows of the package: "not-installed" (or nothing) when it has none.
package_state() {
    dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true
}
case "$(package_state)" in
    ''|not-installed) ;;
    *) skip "a $package package is on this machine already ($(package_state)); it stays as it is" ;;
esac

scratch=$(mktemp -d)
installed=no
cleanup() {
    if [ "$installed" = yes ]; then
        dpkg --purge "$package" >/dev/null 2>&1 || echo "could not purge $package" >&2
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM

# --- The package -----------------------------------------------------------
cpack --config "$build_dir/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 \
    || { cat "$scratch/cpack.log" >&2; fail "cpack could not build the package"; }
deb=$(ls "$scratch"/out/${package}_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "cpack made no .deb"

field() {
    dpkg-deb -f "$deb" "$1"
}
[ "$(field Package)" = "$package" ] || fail "the package is named '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "the package's version $(field Version) is not the program's $version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] \
    || fail "the package is for '$(field Architecture)'"
depends=$(field Depends)
depends_on() {
    echo "$depends" | tr ',|' '\n\n' | grep -q "^ *$1\( \|$\)"
}
# The two the program loads at run time without linking them.
for dependency in libqt5sql5-sqlite qttranslations5-l10n; do
    depends_on "$dependency" || fail "the package does not depend on $dependency: $depends"
done
echo "$(field Recommends)" | grep -q 'libqt5sql5-psql' \
    || fail "the package does not recommend the team server's driver: $(field Recommends)"
echo "$depends" | grep -q 'libhidapi-libusb' && fail "the package depends on the libusb backend: $depends"

dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./|/|' >"$scratch/contents"
for file in /usr/bin/tessra /usr/bin/tessra-cli /usr/bin/tessra-launch \
            /usr/share/tessra/zh_CN.qm \
            /usr/share/applications/tessra.desktop \
            /usr/share/icons/hicolor/64x64/apps/tessra.png \
            /usr/share/metainfo/example.morvane.tessra.metainfo.xml \
            /usr/share/man/man1/tessra.1.gz /usr/share/man/man1/tessra-cli.1.gz \
            /usr/share/man/man1/tessra-launch.1.gz \
            /usr/lib/udev/rules.d/60-tessra.rules \
            /usr/share/doc/tessra/copyright /usr/share/doc/tessra/changelog.gz; do
    grep -qx "$file" "$scratch/contents" || fail "the package lacks $file"
done
grep -q '^/usr/local' "$scratch/contents" && fail "the package installs under /usr/local"
grep -v '^/usr/' "$scratch/contents" | grep -v '^/$' && fail "the package installs outside /usr"
# Debian's own catalogues of the toolkit serve; copies would only go stale.
grep -q '^/usr/share/tessra/translations/' "$scratch/contents" \
    && fail "the package carries copies of the toolkit's catalogues"

dpkg-deb -x "$deb" "$scratch/tree"
dpkg-deb -e "$deb" "$scratch/control"

# Every library the programs link, by the package that has it here (in
# this architecture's library directory: multilib packages have the same).
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null) || fail "dpkg-architecture is not available"
for program in tessra tessra-cli; do
    sonames=$(LC_ALL=C readelf -d "$scratch/tree/usr/bin/$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
    [ -n "$sonames" ] || fail "readelf finds no library that $program links"
    for soname in $sonames; do
        owner=$(dpkg -S "*/$multiarch/$soname" 2>/dev/null | head -n 1 | sed 's/[:,].*//')
        [ -n "$owner" ] || fail "no package has $soname, which $program links"
        depends_on "$owner" || fail "$program links $soname of $owner, which the package does not depend on: $depends"
    done
done

if command -v lintian >/dev/null 2>&1; then
    lintian --fail-on error,warning "$deb" >"$scratch/lintian.log" 2>&1 \
        || { cat "$scratch/lintian.log" >&2; fail "lintian finds fault with the package"; }
else
    fail "lintian is not installed (scripts/install-deps.sh installs it)"
fi
if command -v appstreamcli >/dev/null 2>&1; then
    appstreamcli validate --no-net "$scratch/tree/usr/share/metainfo/example.morvane.tessra.metainfo.xml" \
        >"$scratch/appstream.log" 2>&1 \
        || { cat "$scratch/appstream.log" >&2; fail "appstreamcli rejects the AppStream metadata"; }
else
    fail "appstreamcli is not installed (scripts/install-deps.sh installs it)"
fi
for page in tessra tessra-cli; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$scratch/tree/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "groff warns about $page(1): $warnings"
done
# The page tells the options the program takes, every one.
cli_options=$("$build_dir/cli/tessra-cli" --help | grep -o '^ *\(-[a-z?], \)*--[a-z-]*' | sed 's/.*--/--/')
[ -n "$cli_options" ] || fail "tessra-cli --help lists no options"
page_text=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$scratch/tree/usr/share/man/man1/tessra-cli.1.gz" 2>/dev/null)
for option in $cli_options; do
    echo "$page_text" | grep -Eq -- "(^|[^a-z-])$option([^a-z-]|\$)" || fail "tessra-cli(1) does not describe $option"
done

# --- The maintainer scripts, against a stand-in udevadm ---------------------
mkdir -p "$scratch/fake"
cat >"$scratch/fake/udevadm" <<'FAKE'
#!/bin/sh
echo "$*" >>"$UDEVADM_LOG"
case "$*" in *--ping*) [ "$UDEV_RUNNING" = yes ] ;; esac
FAKE
chmod +x "$scratch/fake/udevadm"
for script in postinst:configure postrm:remove postrm:purge; do
    name=${script%%:*}
    action=${script#*:}
    for running in yes no; do
        log="$scratch/udevadm-$name-$action-$running.log"
        : >"$log"
        PATH="$scratch/fake:$PATH" UDEVADM_LOG="$log" UDEV_RUNNING=$running \
            sh "$scratch/control/$name" "$action" || fail "$name $action fails when udev runs: $running"
        if [ $running = yes ]; then
            grep -q -- '--reload-rules' "$log" || fail "$name $action does not reload udev's rules"
            grep -q -- 'trigger.*hidraw' "$log" || fail "$name $action does not apply them to hidraw devices"
        elif grep -q -- '--reload-rules\|trigger' "$log"; then
            fail "$name $action calls on udev where it does not run"
        fi
    done
done
log="$scratch/udevadm-upgrade.log"
: >"$log"
PATH="$scratch/fake:$PATH" UDEVADM_LOG="$log" UDEV_RUNNING=yes sh "$scratch/control/postrm" upgrade \
    || fail "postrm upgrade fails"
[ ! -s "$log" ] || fail "postrm upgrade reloads udev's rules, which the new version's postinst does"

# --- Installed into this machine ------------------------------------------
installed=yes
dpkg -i "$deb" >"$scratch/dpkg.log" 2>&1 || { cat "$scratch/dpkg.log" >&2; fail "dpkg -i fails"; }
[ "$(package_state)" = installed ] || fail "the package is '$(package_state)' after dpkg -i"

shown=$(/usr/bin/tessra-cli --version) || fail "/usr/bin/tessra-cli --version fails"
echo "$shown" | grep -q '^tessra-cli [0-9]' || fail "/usr/bin/tessra-cli --version prints '$shown'"
for page in tessra tessra-cli tessra-launch; do
    where=$(man -w "$page" 2>/dev/null) || fail "man -w $page finds no page"
    case "$where" in
        /usr/share/man/man1/*) ;;
        *) fail "man -w $page finds $where" ;;
    esac
done

rules=/usr/lib/udev/rules.d/60-tessra.rules
[ -f "$rules" ] || fail "$rules is not installed"
grep -q 'SUBSYSTEM=="hidraw"' "$rules" || fail "the udev rule does not match hidraw devices"
grep -q 'ATTRS{idVendor}=="1a86"' "$rules" || fail "the udev rule does not match the meter's vendor"
grep -q 'ATTRS{idProduct}=="e429"' "$rules" || fail "the udev rule does not match the meter's product"
grep -q 'TAG+="uaccess"' "$rules" || fail "the udev rule grants no access"

grep -qx 'Exec=tessra-launch' /usr/share/applications/tessra.desktop \
    || fail "the desktop entry does not start the launcher"
# The launcher as the menu starts it: the user's data directory, the
# program's catalogue and the toolkit's from Debian's own.
home="$scratch/home"
mkdir -p "$home"
shown=$(env -u XDG_DATA_HOME HOME="$home" TESSRA_PROGRAM=pwd /usr/bin/tessra-launch) \
    || fail "the installed launcher fails"
data="$home/.local/share/tessra"
[ "$shown" = "$data" ] || fail "the installed launcher runs the program in '$shown'"
[ -r "$data/zh_CN.qm" ] || fail "the installed launcher links no zh_CN.qm"
[ -r "$data/translations/qt_zh_CN.qm" ] || fail "the installed launcher links no qt_zh_CN.qm"
[ -r "$data/translations/qtbase_zh_CN.qm" ] || fail "the installed launcher links no qtbase_zh_CN.qm"
echo '[General]' >"$data/options.ini"

# --- Removed ----------------------------------------------------------------
# As "apt remove" does, then as "apt purge" does.
dpkg --remove "$package" >"$scratch/dpkg.log" 2>&1 || { cat "$scratch/dpkg.log" >&2; fail "dpkg --remove fails"; }
while read -r path; do
    case "$path" in */) continue ;; esac
    if [ -e "$path" ] || [ -L "$path" ]; then
        fail "$path is left after the package is removed"
    fi
done <"$scratch/contents"
dpkg --purge "$package" >"$scratch/dpkg.log" 2>&1 || { cat "$scratch/dpkg.log" >&2; fail "dpkg --purge fails"; }
installed=no
case "$(package_state)" in
    ''|not-installed) ;;
    *) fail "the package is '$(package_state)' after dpkg --purge" ;;
esac
for dir in /usr/share/tessra /usr/share/doc/tessra; do
    [ ! -e "$dir" ] || fail "$dir is left after the package is removed"
done
[ -f "$data/options.ini" ] || fail "removing the package took the user's data"

echo "PASS: the package $(basename "$deb") installs, runs and goes"
