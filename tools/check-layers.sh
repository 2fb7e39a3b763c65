#!/usr/bin/env bash
# Includes go downward only: prints every include of a higher layer and fails when there is one.
# Layers from the bottom: platform, core, shell, content, controls, widgets, match3, aquarium; the
# game program (game/) may use them all; the screensaver launcher uses none of them.
set -euo pipefail
cd "$(dirname "$0")/.."
layers=(platform core shell content controls widgets match3 aquarium)
status=0
rank() {
  local i
  for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }; done
  echo -1
}
for folder in "${layers[@]}" screensaver; do
  [ -d "$folder" ] || continue
  own=$(rank "$folder")
  while IFS= read -r hit; do
    [ -n "$hit" ] || continue
    target=$(sed -E 's/.*#include "([a-z0-9]+)\/.*/\1/' <<<"$hit")
    other=$(rank "$target")
    [ "$other" -ge 0 ] || [ "$target" = game ] || continue
    if [ "$folder" = screensaver ] || [ "$target" = game ] || [ "$other" -gt "$own" ]; then
      echo "upward include: $hit"
      status=1
    fi
  done < <(grep -rnE '^\s*#\s*include "[a-z0-9]+/' "$folder" --include='*.h' --include='*.cpp' --include='*.c' || true)
done
exit $status
