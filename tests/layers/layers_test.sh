#!/usr/bin/env bash
# Each layer's include root shows exactly the layers it may use. The layers and what each may use
# are written down here, apart from the build's own lists in CMakeLists.txt (a wrong dependency
# there would otherwise be taken as the expectation too): the build must make a root for every
# layer and no other, each root must hold the layer and the ones it may use and nothing else, and
# for every pair of layers a portable header of the second compiles through the first one's root
# when (and only when) the first may use the second. An include that reaches up does not build.
#   layers_test.sh COMPILER LAYERS_FILE SOURCE_DIR INCLUDE_ROOTS
set -u
set -o pipefail
compiler=$1
layers_file=$2
src=$3
roots=$4
source "$(dirname "$0")/../../scripts/test-lib.sh"

# The layers, lowest first, and the layers each uses directly (the README's table). A new layer,
# or a new use, is added here on purpose, with the README.
declare -A uses=(
    [text]=""
    [core]="text"
    [ini]="core"
    [settings]="ini"
    [exporttype]="ini"
    [catalog]="exporttype settings"
    [capture]="core"
    [format]="capture ini"
    [job]="format catalog settings"
    [model]="job"
    [ui]="model"
    [app]="ui catalog capture settings"
    [console]="job"
)
layers=(text core ini settings exporttype catalog capture format job model ui app console)

# may_use LAYER: the layer and every layer it reaches through its uses, sorted, one line.
may_use() {
    local seen=" $1 " todo=$1 next used
    while [ -n "$todo" ]; do
        next=""
        for layer in $todo; do
            for used in ${uses[$layer]}; do
                case "$seen" in *" $used "*) ;; *) seen+="$used "; next+=" $used" ;; esac
            done
        done
        todo=$next
    done
    printf '%s\n' $seen | sort | tr '\n' ' '
}

sorted() { printf '%s\n' "$@" | sort | tr '\n' ' '; }

# links_into_src ROOT: true when every entry of the root is the folder of src/ of that name.
links_into_src() {
    local entry
    for entry in "$1"/*; do
        [ "$(readlink -f "$entry")" = "$(readlink -f "$src/src/${entry##*/}")" ] ||
            { echo "   $entry -> $(readlink "$entry")"; return 1; }
    done
}

# compiles_within LAYER DIRS_FILE: true when every include folder the build gives the layer's
# sources (its own and those its dependencies pass on) is the root of a layer it may use. A
# dependency on a higher layer leaves the layer's own root as it was, since that layer is declared
# later, but hands down the higher layer's root with the link.
compiles_within() {
    local allowed=" $(may_use "$1")" dir bad=""
    [ -s "$2" ] || { echo "   no list of include folders: $2"; return 1; }
    while IFS= read -r dir; do
        [ -n "$dir" ] || continue
        case "$dir" in
            "$roots"/*) case "$allowed" in *" ${dir#"$roots"/} "*) continue ;; esac ;;
        esac
        bad+=" $dir"
    done < "$2"
    [ -z "$bad" ] || { echo "   $1 also compiles with:$bad"; return 1; }
}

check "the layers are the folders of src/" same "$(cd "$src/src" && sorted */ | tr -d /)" "$(sorted "${layers[@]}")"
check "the build made a root for each layer and no other" \
    same "$(cut -d' ' -f1 "$layers_file" | sort | tr '\n' ' ')" "$(sorted "${layers[@]}")"
for layer in "${layers[@]}"; do
    root="$roots/$layer"
    check "the root of $layer holds what it may use" same "$(cd "$root" 2>/dev/null && sorted *)" "$(may_use "$layer")"
    check "and each of its entries is that layer's folder" links_into_src "$root"
    check "its sources compile with the roots of the layers it may use alone" \
        compiles_within "$layer" "$roots/$layer.dirs"
done

for user in "${layers[@]}"; do
    allowed=" $(may_use "$user")"
    for used in "${layers[@]}"; do
        # A portable header where the layer has one, else one of its Windows headers (found or not is
        # all that counts, and it is found before its own includes fail natively).
        header=$(cd "$src/src" && ls "$used"/*.h "$used"/win32/*.h 2>/dev/null | head -n 1)
        [ -n "$header" ] || continue
        # Found or not is told by the compiler's word on this include line alone (a header that is
        # found may still fail on an include of its own that this layer cannot see); preprocessing alone
        # tells it.
        errors=$(printf '#include "%s"\n' "$header" |
            "$compiler" -std=c++17 -E -I"$roots/$user" -x c++ - 2>&1 >/dev/null)
        reached=yes
        case "$errors" in *"$header: No such file"*) reached=no ;; esac
        case "$allowed" in
            *" $used "*) check "$user sees $header" same "$reached" yes ;;
            *) check "$user cannot include $header" same "$reached" no ;;
        esac
    done
done
finish
