#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it on the demo content in data/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
if [ -x build/shell/Marivel ]; then
  exec build/shell/Marivel "$@"
fi
# The game program is not built yet: run the core smoke tests instead.
echo "The game program does not exist yet; running the core smoke tests instead."
exec build/tests/test_core
