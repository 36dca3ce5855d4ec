#!/usr/bin/env bash
# Each layer's include root shows exactly the layers it may use: for every pair of layers, a
# portable header of the second compiles through the first one's root when (and only when) the
# first may use the second. An include that reaches up therefore does not build.
#   layers_test.sh COMPILER LAYERS_FILE SOURCE_DIR INCLUDE_ROOTS
set -u
compiler=$1
layers_file=$2
src=$3
roots=$4
source "$(dirname "$0")/../../scripts/test-lib.sh"

declare -A visible
layers=()
while read -r name rest; do
    layers+=("$name")
    visible[$name]=" $rest "
done < "$layers_file"

for user in "${layers[@]}"; do
    for used in "${layers[@]}"; do
        header=$(cd "$src/src" && ls "$used"/*.h 2>/dev/null | head -n 1)
        [ -n "$header" ] || continue
        # Found or not is told by the compiler's word on this include line alone (a header that is
        # found may still fail on an include of its own that this layer cannot see).
        errors=$(printf '#include "%s"\n' "$header" |
            "$compiler" -std=c++17 -fsyntax-only -I"$roots/$user" -x c++ - 2>&1 >/dev/null)
        reached=yes
        case "$errors" in *"$header: No such file"*) reached=no ;; esac
        case "${visible[$user]}" in
            *" $used "*) check "$user sees $header" same "$reached" yes ;;
            *) check "$user cannot include $header" same "$reached" no ;;
        esac
    done
done
finish
