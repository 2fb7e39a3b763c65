#!/usr/bin/env bash
# Builds the XML reader's libFuzzer target with clang and runs it on its corpus.
# Usage: tools/fuzz-xml.sh [seconds]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
out=build-fuzz
mkdir -p "$out/corpus"
cp -n tests/fuzz/corpus/xml_reader/* "$out/corpus/" 2>/dev/null || true
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -DMARIVEL_NO_POOL=1 -I. \
  core/*.cpp platform/FilePort.cpp tests/fuzz/XmlReaderFuzz.cpp -o "$out/fuzz_xml_reader"
"$out/fuzz_xml_reader" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
  -dict=tests/fuzz/xml.dict "$out/corpus" tests/fuzz/corpus/xml_reader
