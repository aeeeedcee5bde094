#!/usr/bin/env bash
# Runs a command on a private Xvfb display that answers before it starts.
# usage: on_private_display.sh <command> [args...]
# Large enough for the window at twice 96 dpi, so every control shows on it.
SCREEN_SIZE=2000x1500
source "$(dirname "$0")/../../e2e/drive.sh"
start_desktop
"$@"
