#!/usr/bin/env bash
# Runs a Windows test program under wine64 and passes on its exit code.
# usage: run_exe.sh PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
source "$(dirname "$0")/wine_env.sh"
ensure_prefix
wine "$@" | tr -d '\r'
exit "${PIPESTATUS[0]}"
