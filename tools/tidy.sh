#!/bin/bash
# tools/tidy.sh BUILD_DIR [--all]: clang-tidy (the checks of .clang-tidy) over the C++
# files of the two programs that differ from the merge base with main, or over the last
# commit's files when there are none; --all takes every file. The whole tree takes
# longer than a test should on a small machine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
cd "$root"

wanted() { grep -E '^(lorvane|tarnwick|common)/.*\.cpp$' || true; }
if [ "${2:-}" = --all ]; then
    files=$(git ls-files | wanted)
else
    base=$(git merge-base HEAD main 2>/dev/null || git rev-parse HEAD)
    files=$( (git diff --name-only --diff-filter=ACMR "$base"
              git ls-files --others --exclude-standard) | wanted | sort -u)
    if [ -z "$files" ] && git rev-parse -q --verify HEAD~1 >/dev/null; then
        files=$(git diff --name-only --diff-filter=ACMR HEAD~1 | wanted)
    fi
fi

# Only files this build compiles (the fuzz targets live in a build of their own).
compiled=$(grep -o '"file": "[^"]*"' "$build/compile_commands.json" | cut -d'"' -f4)
list=()
for f in $files; do
    grep -qxF "$root/$f" <<<"$compiled" && list+=("$root/$f")
done
[ ${#list[@]} -eq 0 ] && { echo "tidy: nothing to check"; exit 0; }
echo "tidy: ${#list[@]} files"
exec run-clang-tidy -quiet -p "$build" -j "$(nproc)" "${list[@]}"
