#!/usr/bin/env bash
# Builds the persistent storage's libFuzzer target with clang and runs it: each input is a
# Storage.xml, loaded, saved, loaded again and compared. New inputs that widen the coverage go to
# build-fuzz/storage-corpus; a finding is written as build-fuzz/crash-* (or leak-*, timeout-*)
# and makes the script fail. CI runs it for a few seconds; run it for minutes by hand.
# Usage: tools/fuzz-storage.sh [seconds] [jobs]   (default 60 seconds, one job)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
jobs=${2:-1}
out=build-fuzz
objects=$out/storage-objects
mkdir -p "$objects" "$out/storage-corpus"
export FUZZ_FLAGS="-std=c++17 -g -O1 -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
  -DMARIVEL_NO_POOL=1 -I."
# Each source compiled on its own, in parallel, and again only when it or a header changed.
rebuild_all=
if [ ! -f "$out/fuzz_storage" ] || [ -n "$(find core platform -name '*.h' -newer "$out/fuzz_storage" | head -1)" ]; then
  rebuild_all=yes
fi
sources=(core/*.cpp platform/FilePort.cpp tests/fuzz/StorageFuzz.cpp)
linked=()
for source in "${sources[@]}"; do
  object=$objects/$(echo "$source" | tr / _).o
  if [ -n "$rebuild_all" ] || [ ! -f "$object" ] || [ "$source" -nt "$object" ]; then echo "$source $object"; fi
done | xargs -r -P "$(nproc)" -n 2 sh -c 'clang++ $FUZZ_FLAGS -c "$1" -o "$2"' compile
for source in "${sources[@]}"; do linked+=("$objects/$(echo "$source" | tr / _).o"); done
clang++ -fsanitize=fuzzer,address,undefined "${linked[@]}" -o "$out/fuzz_storage"
# Run from the output folder, where parallel jobs put their fuzz-N.log. stderr is closed: every
# refused input says there where its file was kept (findings are still reported).
parallel=()
[ "$jobs" -gt 1 ] && parallel=(-jobs="$jobs" -workers="$jobs")
cd "$out"
./fuzz_storage -max_total_time="$seconds" "${parallel[@]}" -max_len=16384 -timeout=20 -rss_limit_mb=2048 \
  -close_fd_mask=2 -dict=../tests/fuzz/xml.dict storage-corpus ../tests/fuzz/corpus/storage
