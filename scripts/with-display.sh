#!/usr/bin/env bash
# Runs a command with an X display: the current one when set, else a private Xvfb server.
# The server must not reset when its last client leaves: tests open and close connections all the
# time, and one that connects during a reset fails.
# OpenAL Soft is pointed at its null backend so no test ever opens a real sound device;
# a test that wants the wave-file writer sets ALSOFT_DRIVERS itself.
set -euo pipefail
export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"
if [ -n "${DISPLAY:-}" ]; then
    exec "$@"
fi
exec xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 +extension GLX -noreset" "$@"
