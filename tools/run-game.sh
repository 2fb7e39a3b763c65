#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it on the demo content in data/.
# Options go to the game, e.g. --frames 120 --screenshot shot.png (see shell/EntryOptions.h).
set -euo pipefail
caller=$PWD
cd "$(dirname "$0")/.."
root=$PWD
bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
# File arguments stay relative to the folder the script was called from.
args=()
previous=
for a in "$@"; do
  if [[ ( $previous == --screenshot || $previous == --events ) && $a != /* ]]; then
    a="$caller/$a"
  fi
  args+=("$a")
  previous=$a
done
# The game reads settings.ini and its scripts from the folder it starts in.
cd data
exec "$root/build/Marivel" ${args[@]+"${args[@]}"}
