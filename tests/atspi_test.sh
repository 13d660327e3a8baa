#!/usr/bin/env bash
# The window as a screen reader meets it: the real program on a virtual
# display, with its own session bus and the accessibility bus, driven
# through AT-SPI by atspi_test.py. Usage: atspi_test.sh ZEMBRAX
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Settings and runtime files of the run's own, never the user's.
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime HOME=$work
mkdir -m 700 "$XDG_RUNTIME_DIR"
exec dbus-run-session -- xvfb-run -a -s "-screen 0 800x600x24" \
  /usr/bin/python3 "$here/atspi_test.py" "$program"
