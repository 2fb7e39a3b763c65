#!/usr/bin/env bash
# Runs content-check over every resource list and template file (root "Resources" or "Templates")
# under a content folder, found anew at each run, each file on its own as the game may load it
# first. Usage: check-every-content-file.sh CHECKER FOLDER
set -uo pipefail
check=$1
folder=$2
files=()
while IFS= read -r f; do
  root=$(grep -o -m1 '<[A-Za-z_][A-Za-z0-9_.:-]*' "$f" | head -n 1)
  case "$root" in
    "<Resources" | "<Templates") files+=("$f") ;;
  esac
done < <(find "$folder" -name '*.xml' | LC_ALL=C sort)
if [ ${#files[@]} -lt 2 ]; then
  echo "fewer than two resource lists or template files under $folder"
  exit 1
fi
failed=0
for f in "${files[@]}"; do
  echo "checking $f"
  "$check" "$f" || failed=1
done
exit $failed
