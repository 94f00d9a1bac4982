#!/usr/bin/env bash
# The main window as a screen reader sees it: AT-SPI in a private D-Bus
# session under Xvfb. Usage: atspi.sh <zelk binary>
set -u
zelk=$1
# Debian's own Python, where python3-gi lives (not one of a version manager).
python=/usr/bin/python3
[ -x "$python" ] || python=python3
if [ -z "${ZELK_ATSPI_SESSION:-}" ]; then
    command -v dbus-run-session >/dev/null || { echo "SKIP: dbus-run-session is not installed (Debian: dbus)"; exit 77; }
    [ -x /usr/libexec/at-spi-bus-launcher ] \
        || { echo "SKIP: at-spi-bus-launcher is not installed (Debian: at-spi2-core)"; exit 77; }
    "$python" -c 'import gi; gi.require_version("Atspi", "2.0"); from gi.repository import Atspi' 2>/dev/null \
        || { echo "SKIP: AT-SPI for Python is not installed (Debian: python3-gi gir1.2-atspi-2.0)"; exit 77; }
    ZELK_ATSPI_SESSION=1 exec dbus-run-session -- bash "$0" "$@"
fi
source "$(dirname "$0")/xsession.sh"
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
pids+=($!)
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_zelk
"$python" "$(dirname "$0")/atspi_walk.py" "$zelk_pid"
status=$?
[ "$status" = 0 ] || case_failed=1
stop_zelk
exit $status
