#!/usr/bin/env bash
# docs/architecture.md describes every folder of src/: a folder added without
# its line there fails here.
set -euo pipefail
root=$1
doc=$root/docs/architecture.md
[ -f "$doc" ] || { echo "FAIL: no $doc" >&2; exit 1; }
missing=()
for dir in "$root"/src/*/; do
  name=$(basename "$dir")
  grep -qF -- "- \`src/$name/\`" "$doc" || missing+=("src/$name/")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "FAIL: docs/architecture.md has no entry for: ${missing[*]}" >&2
  exit 1
fi
