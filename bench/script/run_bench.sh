#!/usr/bin/env bash
# The script benchmarks against duktape and mujs. Usage: run_bench.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exec /usr/bin/python3 "$here/run_bench.py" "${1:?build folder}/tests/harness/kestrin-script" 3
