#!/usr/bin/env bash
# Runs the window program's end-to-end test on its own X server and session bus, with the
# accessibility bus a screen reader would use. Usage: run-on-xvfb.sh TZ4 WORKDIR
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
tz4="$1"
work="$2"
rm -rf "$work"
mkdir -p "$work"
inner='/usr/libexec/at-spi-bus-launcher --launch-immediately & bus=$!
/usr/bin/python3 "$0" "$1" "$2"; code=$?
kill $bus 2>/dev/null; exit $code'
exec xvfb-run -a -s "-screen 0 1400x1000x24 -noreset" dbus-run-session -- bash -c "$inner" "$here/window_program.py" "$tz4" "$work"
