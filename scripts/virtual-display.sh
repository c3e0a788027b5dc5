#!/usr/bin/env bash
# Runs a command on a private virtual display of 1920x1080, which Xvfb picks
# itself (-displayfd), so that several runs on one machine never collide. The
# server must not reset when its last client leaves (-noreset): a test starting
# during such a reset would find no display.
#   scripts/virtual-display.sh [-s WIDTHxHEIGHT] command args...
set -euo pipefail

size=1920x1080
if [ "${1:-}" = "-s" ]; then
    size=$2
    shift 2
fi

number_file=$(mktemp)
Xvfb -displayfd 1 -screen 0 "${size}x24" -nolisten tcp -noreset >"$number_file" 2>/dev/null &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -f "$number_file"' EXIT

for _ in $(seq 100); do
    [ -s "$number_file" ] && break
    kill -0 "$server" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done
[ -s "$number_file" ] || { echo "Xvfb did not report its display" >&2; exit 1; }

export DISPLAY=":$(head -n 1 "$number_file")"
"$@"
