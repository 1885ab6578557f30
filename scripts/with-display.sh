#!/usr/bin/env bash
# Runs a command with an X display: the current one when set, else a private Xvfb server.
# The server must not reset when its last client leaves: tests open and close connections all the
# time, and one that connects during a reset fails.
# Only the display: the tests carry their own environment (cmake/Testing.cmake).
set -euo pipefail
if [ -n "${DISPLAY:-}" ]; then
    exec "$@"
fi
exec xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 +extension GLX -noreset" "$@"
