#!/usr/bin/env bash
# Builds the content generator and writes the demo pictures, the demo font and the image fixtures.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
g++ -std=c++17 -O2 -Wall -Wextra -I. -o "$out/make-demo-content" tools/demo-content/MakeDemoContent.cpp core/CodePage.cpp \
  $(pkg-config --cflags --libs freetype2 libpng16 libjpeg)
mkdir -p data/textures data/fonts tests/shell/fixtures/images
"$out/make-demo-content" "$PWD"
