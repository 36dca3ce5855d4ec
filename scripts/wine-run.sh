#!/usr/bin/env bash
# Runs one Windows program under Wine: ctest's emulator for the Windows build. Expects the
# environment of wine_session_start (scripts/wine-env.sh); falls back to the build tree's prefix.
set -e
if [ -z "${WINEPREFIX:-}" ]; then
    echo "wine-run: no Wine session (run through scripts/test.sh)" >&2
    exit 1
fi
exec wine "$@"
