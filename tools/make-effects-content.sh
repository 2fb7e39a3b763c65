#!/usr/bin/env bash
# Builds the generator of the match-three effects' demo content and writes its pictures, fonts
# and samples into data/.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
g++ -std=c++17 -O2 -Wall -Wextra -o "$out/make-effects-content" tools/match3-effects/MakeEffectsContent.cpp \
  $(pkg-config --cflags --libs freetype2 libpng16)
mkdir -p data/textures/match3 data/fonts data/sound
"$out/make-effects-content" "$PWD"
