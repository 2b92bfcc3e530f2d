#!/bin/sh
# Runs a command on the X display it is given, or, when there is none, on a
# private virtual X server for the length of the command.
set -eu
if [ -n "${DISPLAY:-}" ]; then
    exec "$@"
fi
exec xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" "$@"
