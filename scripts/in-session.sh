#!/usr/bin/env bash
# Runs one test in a Wine session of its own (scripts/wine-env.sh): its own X display and window
# manager, its own copy of the tree's prefix and so its own wineserver, so that tests run side by
# side. The prefix is made once, under a lock, by the first test that needs it.
#   in-session.sh WINEDIR SESSIONDIR SECONDS COMMAND...   the command, ended after SECONDS
#   in-session.sh WINEDIR                                 only makes WINEDIR/wineprefix
# The command ends by SECONDS (a time-out is reported as such), so the session is always taken
# down by this script, never left behind by a runner that kills it.
set -u
set -o pipefail
wine_dir=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$wine_dir"
# shellcheck source=scripts/wine-env.sh
(
    flock 9
    source "$here/wine-env.sh"
    wine_prefix_ready "$wine_dir" || { wine_session_start "$wine_dir" && wine_session_stop; }
) 9>"$wine_dir/wineprefix.lock" || exit 1
[ $# -eq 0 ] && exit 0

session=$1 seconds=$2
shift 2
source "$here/wine-env.sh"
wine_session_start "$session" "$wine_dir/wineprefix" || exit 1
# The command runs in the background so that a runner's TERM (ctest at its time-out) is handled at
# once: the command ends and the session is taken down, not left running without its script.
timeout -k 10 "$seconds" "$@" &
child=$!
trap 'kill -TERM $child 2>/dev/null; wait $child; wine_session_stop; rm -rf "$session/wineprefix"; exit 143' TERM INT HUP
wait $child
rc=$?
[ $rc -eq 124 ] && echo "FAILED: the test did not end within $seconds s"
wine_session_stop
rm -rf "$session/wineprefix"
exit $rc
