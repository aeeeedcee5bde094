#!/bin/sh
# wine-prefix.sh make|remove PREFIX
#
# make: a fresh Wine prefix for the Windows test programs, made quietly, with
# its temporary folder on tmpfs where there is one (the journal's syncs would
# otherwise wait for the disk thousands of times).  remove: stops Wine and
# drops that tmpfs folder.
set -e
action=$1
prefix=$2
export WINEPREFIX="$prefix"
if [ "$action" = remove ]; then
  wineserver -k 2>/dev/null || true
  for temp in "$prefix"/drive_c/users/*/Temp; do
    [ -L "$temp" ] && rm -rf "$(readlink "$temp")"
  done
  exit 0
fi
rm -rf "$prefix"
wineboot -i >/dev/null 2>&1
# No window manager runs under the tests: Wine manages its windows itself
# instead of waiting for one on every hidden window.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w
if [ -d /dev/shm ]; then
  for temp in "$prefix"/drive_c/users/*/Temp; do
    [ -d "$temp" ] && [ ! -L "$temp" ] || continue
    fast=$(mktemp -d /dev/shm/qadrill-wine.XXXXXX)
    rm -rf "$temp"
    ln -s "$fast" "$temp"
  done
fi
