#!/usr/bin/env bash
# Proves scripts/install-deps.sh complete for a build: every system header the compiler actually
# read (its *.o.d dependency records in BUILD_DIR) must come from a Debian package that the list
# names or that a listed package pulls in through Depends/Pre-Depends, followed recursively.
# Recommends do not count: apt-get in install-deps.sh does not install them.
# Usage: scripts/check-deps.sh BUILD_DIR
set -euo pipefail
if [ $# -ne 1 ] || [ ! -d "$1" ]; then
    echo "usage: $0 BUILD_DIR" >&2
    exit 2
fi
build=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
source_dir=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$build/CMakeCache.txt")

# Every header path in the dependency records, normalised, outside the source and build trees.
mapfile -t headers < <(
    find "$build" -name '*.o.d' -print0 |
        xargs -0 cat |
        tr ' \\' '\n\n' |
        sed -n 's/:$//; /^\//p' |
        sort -u |
        xargs -r realpath -m -s -- |
        grep -v -e "^$source_dir/" -e "^$build/" |
        sort -u
)
if [ ${#headers[@]} -eq 0 ]; then
    echo "check-deps: no dependency records (*.o.d) under $build; build it first" >&2
    exit 2
fi

# Header -> owning package. A path dpkg does not know may be a link to one it does.
declare -A owner=()
_Own()
{
    local line pkg path
    while IFS= read -r line; do
        pkg=${line%%: *}
        path=${line#*: }
        for pkg in ${pkg//,/ }; do
            owner[$path]=${pkg%%:*}
        done
    done < <(dpkg -S "$@" 2>/dev/null | grep -v '^diversion')
}
_Own "${headers[@]}"
unowned=()
for header in "${headers[@]}"; do
    if [ -z "${owner[$header]:-}" ]; then
        resolved=$(realpath -m "$header")
        _Own "$resolved"
        if [ -n "${owner[$resolved]:-}" ]; then
            owner[$header]=${owner[$resolved]}
        else
            unowned+=("$header")
        fi
    fi
done

# Everything the listed packages bring, without Recommends.
mapfile -t listed < <("$here/install-deps.sh" --list)
declare -A provided=()
while IFS= read -r name; do
    provided[$name]=1
done < <(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances "${listed[@]}" |
    sed -n -e 's/^ *|\?\(Pre\)\?Depends: <\?\([^>:]*\).*$/\2/p' -e 's/^\([^ <][^:]*\)$/\1/p')

status=0
declare -A reported=()
for header in "${headers[@]}"; do
    pkg=${owner[$header]:-}
    if [ -n "$pkg" ] && [ -z "${provided[$pkg]:-}" ] && [ -z "${reported[$pkg]:-}" ]; then
        echo "check-deps: $pkg (for $header) is neither in scripts/install-deps.sh" \
            "nor pulled in by a package listed there"
        reported[$pkg]=1
        status=1
    fi
done
for header in "${unowned[@]}"; do
    echo "check-deps: $header belongs to no Debian package"
    status=1
done
if [ $status -eq 0 ]; then
    echo "check-deps: ${#headers[@]} system headers, all from listed packages or their Depends"
fi
exit $status
