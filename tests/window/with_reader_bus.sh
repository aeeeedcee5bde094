#!/usr/bin/env bash
# Runs a window test as a screen reader meets the program: on a private X
# display, with a session bus and the accessibility bus on it, and the
# toolkit's bridge to that bus switched on as when a reader listens.
# usage: with_reader_bus.sh <command> [args...]
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# The accessibility bus is started before the program asks for it, as a
# desktop session does; the toolkit gives up on one that starts late.
exec dbus-run-session -- bash -c '
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null || exit 1
  exec bash "$0" "$@"' "$(dirname "$0")/conformance/on_private_display.sh" "$@"
