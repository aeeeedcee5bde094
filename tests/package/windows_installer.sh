#!/usr/bin/env bash
# The Windows installer as a student runs it, under Wine in a fresh prefix:
# refused on a system older than Windows 10 1607, a silent install with the
# copyright notice and the README, the Start-menu entries, the bank files'
# association, the student's session on the installed program, a session
# over the sample bank opened through the association, then a silent
# uninstall that leaves only the logs and no association.
# usage: windows_installer.sh <installer.exe> <golden dir> <artifact dir>
set -euo pipefail
INSTALLER=$(realpath "$1")
GOLDEN=$2
ARTIFACTS=$3
here=$(dirname "$0")
fail() { echo "FAIL: $*" >&2; exit 1; }

work=$(mktemp -d)
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
unset DISPLAY
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w

drive_c="$WINEPREFIX/drive_c"
installed="$drive_c/Program Files/Q&A Drill"
# A system older than Windows 10 1607 gets nothing installed; a fresh
# prefix says Windows 7, so the install proper runs on Windows 10.
wine winecfg /v win81 >/dev/null 2>&1
if wine "$INSTALLER" /S; then fail "the installer said it installed on Windows 8.1"; fi
wineserver -w
[ ! -e "$installed/bin/qadrill.exe" ] || fail "the installer installed on Windows 8.1"
wine winecfg /v win10 >/dev/null 2>&1
wineserver -w

wine "$INSTALLER" /S
wineserver -w
[ -f "$installed/bin/qadrill.exe" ] || fail "no program in $installed/bin"
for doc in copyright.txt README.md; do
    [ -s "$installed/$doc" ] || fail "no $doc in $installed"
done
grep -q "Copyright: " "$installed/copyright.txt" || fail "copyright.txt holds no copyright"
shortcut=$(find "$drive_c" -path '*Start Menu/Programs/Q&A Drill/Q&A Drill.lnk' -print -quit)
[ -n "$shortcut" ] || fail "no Start-menu entry 'Q&A Drill'"
grep -aq 'qadrill.exe' "$shortcut" || fail "the Start-menu entry does not start the program"

[ -f "$installed/bin/sample.qabank" ] || fail "no sample bank beside the program"
sample_link=$(find "$drive_c" -path '*Start Menu/Programs/Q&A Drill/Q&A Drill sample bank.lnk' -print -quit)
[ -n "$sample_link" ] || fail "no Start-menu entry 'Q&A Drill sample bank'"
# A shortcut keeps its arguments as UTF-16.
LC_ALL=C grep -aqP -- '-\x00-\x00b\x00a\x00n\x00k\x00' "$sample_link" || fail "the sample bank's entry passes no --bank"
association() { wine reg query "$1" /ve 2>/dev/null | tr -d '\r' || true; }
has_key() { wine reg query "$1" >/dev/null 2>&1; }
grep -q 'QADrill.Bank' <<<"$(association 'HKCR\.qabank')" || fail ".qabank is not associated: $(association 'HKCR\.qabank')"
command=$(association 'HKCR\QADrill.Bank\shell\open\command')
grep -qF 'qadrill.exe" --bank "%1"' <<<"$command" || fail "bank files open with: $command"

# The installed program's first start in a fresh prefix finishes Wine's own
# set-up of it; a prompt opened during that set-up fails to show.  A start
# without a display takes that first start.
(unset DISPLAY; wine "$installed/bin/qadrill.exe" --version >/dev/null 2>&1 || true)
wineserver -w
INSTALLED_PREFIX=$WINEPREFIX bash "$here/../e2e/student_session.sh" --launcher=wine "$installed/bin/qadrill.exe" \
    "$GOLDEN" "$ARTIFACTS"
# The students' logs from that session go aside: the bank session starts with none.
mv "$drive_c/plovenda" "$work/plovenda"
INSTALLED_PREFIX=$WINEPREFIX OPEN_BANK=1 bash "$here/../e2e/bank_file_session.sh" --launcher=wine \
    "$installed/bin/qadrill.exe" "$installed/bin/sample.qabank" "$GOLDEN/bank_file" "$ARTIFACTS"
rm -rf "$drive_c/plovenda"
mv "$work/plovenda" "$drive_c/plovenda"

wine "$installed/Uninstall.exe" /S
wineserver -w
# The uninstaller's last removal may lag behind its exit; a minute bounds it.
for _ in $(seq 300); do [ -e "$installed" ] || break; sleep 0.2; done
[ ! -e "$installed" ] || fail "the uninstaller left $(find "$installed" | head -5)"
[ -z "$(find "$drive_c" -name 'Q&A Drill*.lnk')" ] || fail "a Start-menu entry is still there"
! has_key 'HKCR\.qabank' || fail "the uninstaller left .qabank: $(association 'HKCR\.qabank')"
! has_key 'HKCR\QADrill.Bank' || fail "the uninstaller left the type QADrill.Bank"
logs=$(ls "$drive_c/plovenda")
# The three logs and their journal.
[ "$(wc -l <<<"$logs")" -eq 4 ] || fail "the logs did not stay: $logs"
echo "windows installer: installed, session passed, uninstalled; the logs stay in c:\\plovenda"
