#!/usr/bin/env bash
# Builds the image loader fuzz target with libFuzzer and runs it (default 60 seconds).
# Usage: tools/fuzz-images.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
out=build-fuzz
mkdir -p "$out/corpus"
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -I. -DMARIVEL_SOURCE_DIR=\"$PWD\" \
  tools/fuzz/FuzzImages.cpp shell/Image.cpp shell/ImageLoader.cpp shell/ImageDecoders.cpp \
  core/Assert.cpp core/HtmlLog.cpp core/DataFolder.cpp platform/FilePort.cpp \
  $(pkg-config --cflags --libs libpng16 libjpeg zlib) -o "$out/fuzz-images"
# Seeds: the demo pictures, the fixtures and PngSuite, each behind its format byte.
i=0
for f in data/textures/*.png tests/shell/fixtures/images/pngsuite/*.png; do
  { printf '\x00'; cat "$f"; } > "$out/corpus/png$i"; i=$((i + 1))
done
for f in data/textures/*.jpg tests/shell/fixtures/images/*.jpg; do
  { printf '\x01'; cat "$f"; } > "$out/corpus/jpg$i"; i=$((i + 1))
done
for f in data/textures/*.tga; do
  { printf '\x02'; cat "$f"; } > "$out/corpus/tga$i"; i=$((i + 1))
done
"$out/fuzz-images" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=4096 "$out/corpus"
