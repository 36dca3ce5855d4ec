#!/usr/bin/env bash
# Runs one Windows program under Wine: ctest's emulator for the Windows builds. Expects the
# environment of wine_session_start (scripts/wine-env.sh).
set -e
if [ -z "${WINEPREFIX:-}" ]; then
    echo "wine-run: no Wine session (run through scripts/test.sh)" >&2
    exit 1
fi
exec "$(dirname "$0")/bin/wine" "$@"
