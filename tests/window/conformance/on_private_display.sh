#!/usr/bin/env bash
# Runs a command on a private Xvfb display that answers before it starts.
# usage: on_private_display.sh <command> [args...]
source "$(dirname "$0")/../../e2e/drive.sh"
start_desktop
"$@"
