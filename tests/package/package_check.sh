#!/usr/bin/env bash
# The Debian package as a student's machine meets it: its name and fields,
# lintian, an install through apt (which proves the declared dependencies),
# the installed files validated, the installed program answering --version
# and showing its first prompt under Xvfb with the drill's icon and window
# class, the manual page rendered, the sample bank checked and opened from
# the desktop through its file type, and a removal that leaves nothing behind.
# Runs as root or through sudo; it installs and removes the package for real.
# usage: package_check.sh <deb> <version> [artifacts folder]
DEB=$(realpath "$1")
VERSION=$2
ARTIFACTS=${3:-}
QADRILL=/usr/bin/qadrill
source "$(dirname "$0")/../e2e/drive.sh"

# Warnings kept on purpose, each explained in the README; any other warning
# or error fails the check.
kept_warnings=()

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
apt_get() {
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=60 -y -qq "$@" >/dev/null
}
installed() { [ "$(dpkg-query -W -f='${Status}' qadrill 2>/dev/null)" = "install ok installed" ]; }
step() { echo "-- $* (${SECONDS}s)"; }

step "name and control fields"
arch=$(dpkg --print-architecture)
[ "$(basename "$DEB")" = "qadrill_${VERSION}_${arch}.deb" ] || fail "package named $(basename "$DEB")"
[ "$(dpkg-deb -f "$DEB" Version)" = "$VERSION" ] || fail "Version field $(dpkg-deb -f "$DEB" Version)"
for field in Section Priority Maintainer Description; do
    [ -n "$(dpkg-deb -f "$DEB" "$field")" ] || fail "no $field field"
done
depends=$(dpkg-deb -f "$DEB" Depends)
for needed in fonts-liberation libqt6widgets6 libicu; do
    grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

step "lintian"
suppress=()
[ "${#kept_warnings[@]}" -gt 0 ] && suppress=(--suppress-tags "$(IFS=,; echo "${kept_warnings[*]}")")
lintian --fail-on error,warning "${suppress[@]}" "$DEB" || fail "lintian reports an error or a new warning"

step "install with apt"
installed && apt_get purge qadrill
# Whatever fails, the package does not stay on the machine.
trap 'installed && apt_get purge qadrill' EXIT
apt_get install "$DEB" || fail "apt-get could not install the package"
mapfile -t owned < <(dpkg -L qadrill)
files=()
for path in "${owned[@]}"; do
    [ -f "$path" ] && files+=("$path")
done
[ "${#files[@]}" -ge 10 ] || fail "only ${#files[@]} files installed: ${files[*]}"

step "installed files"
sample=/usr/share/qadrill/sample.qabank
expected=(/usr/bin/qadrill /usr/share/man/man1/qadrill.1.gz /usr/share/doc/qadrill/README.md "$sample"
          /usr/share/mime/packages/qadrill.xml
          /usr/share/doc/qadrill/copyright /usr/share/doc/qadrill/changelog.gz
          /usr/share/icons/hicolor/scalable/apps/qadrill.svg)
for path in "${expected[@]}"; do
    [[ " ${files[*]} " == *" $path "* ]] || fail "$path is not installed"
done
for size in 48 256; do
    png=/usr/share/icons/hicolor/${size}x${size}/apps/qadrill.png
    kind=$(file "$png")
    [[ $kind == *"PNG image data, $size x $size"* ]] || fail "$png: $kind"
done
desktop=$(printf '%s\n' "${files[@]}" | grep '^/usr/share/applications/.*\.desktop$') || fail "no desktop entry"
metainfo=$(printf '%s\n' "${files[@]}" | grep '^/usr/share/metainfo/.*\.metainfo\.xml$') || fail "no metainfo"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"
id=$(basename "$metainfo" .metainfo.xml)
[ "$(basename "$desktop")" = "$id.desktop" ] || fail "desktop entry $desktop is not named after the id $id"
grep -qF "<release version=\"$VERSION\"" "$metainfo" || fail "metainfo has no release $VERSION"

step "--version"
[ "$($QADRILL --version)" = "qadrill $VERSION" ] || fail "--version printed: $($QADRILL --version)"

step "bank files"
listing=$($QADRILL --check-bank "$sample") || fail "--check-bank refuses the sample bank"
grep -q "^$sample: 2 assignments" <<<"$listing" || fail "--check-bank on the sample bank printed: $listing"
grep -qx 'MimeType=application/x-qadrill-bank;' "$desktop" || fail "the desktop entry takes no bank files"
grep -qx 'Exec=qadrill --bank %f' "$desktop" || fail "the desktop entry does not pass the file to --bank"
grep -qx "Exec=qadrill --bank $sample" "$desktop" || fail "the desktop entry has no action for the sample bank"
type=$(gio info -a standard::content-type "$sample" | sed -n 's/^ *standard::content-type: //p')
[ "$type" = application/x-qadrill-bank ] || fail "the sample bank's type is '$type'"
default=$(gio mime application/x-qadrill-bank)
grep -qF "Default application for “application/x-qadrill-bank”: $(basename "$desktop")" <<<"$default" ||
    fail "bank files do not open with the drill: $default"

step "manual page"
man_errors=$(mktemp)
page=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l /usr/share/man/man1/qadrill.1.gz 2>"$man_errors") \
    || fail "man could not render the page: $(cat "$man_errors")"
[ ! -s "$man_errors" ] || fail "the manual page has warnings: $(cat "$man_errors")"
rm -f "$man_errors"
for heading in NAME SYNOPSIS DESCRIPTION OPTIONS LOGS "EXIT STATUS" ENVIRONMENT FILES; do
    grep -qx "$heading" <<<"$page" || fail "the manual page has no $heading section"
done
grep -q "qadrill $VERSION" <<<"$page" || fail "the manual page does not carry version $VERSION"

step "first prompt under Xvfb"
start_desktop
trap 'installed && apt_get purge qadrill; stop_desktop' EXIT
start_drill
prompt=$(wait_window "Q&A Drill")
wm_class=$(xprop -id "$prompt" WM_CLASS)
startup_class=$(sed -n 's/^StartupWMClass=//p' "$desktop")
grep -qF "\"$startup_class\"" <<<"$wm_class" || fail "window class $wm_class does not match StartupWMClass=$startup_class"
# The toolkit may set the icon just after the window maps; wait for it, bounded.
# The icon's text is long: read it whole, then match.
icons=""
has_icon() {
    icons=$(xprop -id "$prompt" _NET_WM_ICON 2>&1) || return 1
    [[ $icons == *"Icon (48 x 48)"* ]]
}
for _ in $(seq $((E2E_TIMEOUT * 10))); do has_icon && break; sleep 0.1; done
has_icon || fail "the prompt does not carry the 48-pixel icon: ${icons:0:200}"
if [ -n "$ARTIFACTS" ]; then
    mkdir -p "$ARTIFACTS"
    import -window root "$ARTIFACTS/installed_first_prompt.png"
fi
kill "$APP_PID"
wait "$APP_PID" 2>/dev/null || true
APP_PID=""

step "the sample bank opened as a double click opens it"
gio open "$sample" >"$WORK/gio.log" 2>&1 || fail "gio open: $(cat "$WORK/gio.log")"
prompt=$(wait_window "Q&A Drill")
opened=$(xprop -id "$prompt" _NET_WM_PID | grep -o '[0-9]*$') || fail "the prompt names no process"
started=$(tr '\0' ' ' </proc/"$opened"/cmdline)
kill "$opened"
[ "$started" = "$QADRILL --bank $sample " ] || [ "$started" = "qadrill --bank $sample " ] ||
    fail "opening the sample bank started: $started"

step "removal"
apt_get purge qadrill
installed && fail "qadrill is still installed"
for path in "${files[@]}"; do
    [ ! -e "$path" ] || fail "$path is left behind"
done
[ ! -e /usr/share/doc/qadrill ] || fail "/usr/share/doc/qadrill is left behind"
step "package checked"
