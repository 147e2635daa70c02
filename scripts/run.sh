#!/bin/bash
# Installs what is missing, builds Quorvel.exe and starts it (under Wine on Linux).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset win64
cmake --build --preset win64 --target quorvel_program
exec cmake/wine-run.sh build/win64 build/win64/src/app/Quorvel.exe
