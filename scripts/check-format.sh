#!/usr/bin/env bash
# Fails, naming the files, when clang-format would change any C++ source.
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.hpp' '*.h')
else
    mapfile -t files < <(find engine opponents platform storage table dialogs shell tools packaging \
                              -name '*.cpp' -o -name '*.hpp' -o -name '*.h' | sort)
fi
unformatted=()
for f in "${files[@]}"; do
    if ! clang-format --style=file "$f" | cmp -s - "$f"; then
        unformatted+=("$f")
    fi
done
if [ ${#unformatted[@]} -gt 0 ]; then
    echo "clang-format would change these files (run clang-format -i on them):"
    printf '  %s\n' "${unformatted[@]}"
    exit 1
fi
echo "Formatting: ${#files[@]} sources as clang-format leaves them"
