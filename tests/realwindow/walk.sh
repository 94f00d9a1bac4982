#!/usr/bin/env bash
# The random walk through the real program's windows (walk.py) in an X session
# with openbox and trayer as the notification area.
# Usage: walk.sh <zelk binary> [steps] [seed]; ZELK_WALK_STEPS and ZELK_WALK_SEED
# take precedence, so that a failed seed can be replayed through ctest.
set -u
zelk=$1
steps=${ZELK_WALK_STEPS:-${2:-300}}
seed=${ZELK_WALK_SEED:-${3:-$(date +%s)}}
here=$(cd "$(dirname "$0")" && pwd)
for tool in trayer python3 import; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (Debian: trayer python3 imagemagick)"; exit 77; }
done
# Leaks in the desktop libraries at exit are not the program's.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
source "$here/xsession.sh"
start_tray
python3 "$here/walk.py" "$zelk" "$steps" "$seed"
