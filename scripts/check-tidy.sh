#!/usr/bin/env bash
# Runs clang-tidy with the repository's .clang-tidy over the product sources of a
# configured build folder (default build/), two at a time, and fails on any
# finding. Tests and benchmarks are left out. Files named after the folder run
# alone: scripts/check-tidy.sh build table/fcorvane.cpp
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true
if [ ! -f "$build/compile_commands.json" ]; then
    echo "no $build/compile_commands.json: configure the build first" >&2
    exit 2
fi
if [ $# -gt 0 ]; then
    files=("$@")
else
    mapfile -t files < <(python3 - "$build/compile_commands.json" "$PWD" <<'PY'
import json, os, sys
root = sys.argv[2] + os.sep
for entry in json.load(open(sys.argv[1])):
    path = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
    if not path.startswith(root):
        continue
    rel = path[len(root):]
    folders = rel.split(os.sep)[:-1]
    if rel.startswith("build") or "tests" in folders or "bench" in folders \
            or rel.endswith("_bench.cpp"):
        continue
    print(rel)
PY
    )
fi
start=$SECONDS
# Each file's findings are printed together, and only when there are any.
printf '%s\n' "${files[@]}" | sort -u |
    xargs -P2 -I{} sh -c 'out=$(clang-tidy -p "$0" --quiet --warnings-as-errors="*" "$1" 2>&1) ||
                          { printf "%s\n" "$out"; exit 1; }' "$build" {}
echo "clang-tidy: ${#files[@]} product sources clean in $((SECONDS - start)) s"
