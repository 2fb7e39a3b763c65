#!/usr/bin/env bash
# Includes go downward only: prints every include of a higher layer and fails when there is one.
# Layers from the bottom: platform, core, shell, content, controls, widgets, match3, aquarium; the
# game program (game/) may use them all; the screensaver launcher uses none of them.
set -euo pipefail
cd "$(dirname "$0")/.."
layers=(platform core shell content controls widgets match3 aquarium)
folders=()
for folder in "${layers[@]}" screensaver; do
  [ -d "$folder" ] && folders+=("$folder")
done
# One pass over every include line: the folder of the including file against the included folder.
{ grep -rnE '^\s*#\s*include "[a-z0-9]+/' "${folders[@]}" --include='*.h' --include='*.cpp' --include='*.c' || true; } |
  awk -v layers="${layers[*]}" '
    BEGIN { n = split(layers, names, " "); for (i = 1; i <= n; i++) rank[names[i]] = i - 1 }
    {
      folder = substr($0, 1, index($0, "/") - 1)
      match($0, /#[ \t]*include "[a-z0-9]+\//)
      target = substr($0, RSTART, RLENGTH - 1)
      sub(/.*"/, "", target)
      other = (target in rank) ? rank[target] : -1
      if (other < 0 && target != "game") next
      own = (folder in rank) ? rank[folder] : -1
      if (folder == "screensaver" || target == "game" || other > own) {
        print "upward include: " $0
        status = 1
      }
    }
    END { exit status }'
