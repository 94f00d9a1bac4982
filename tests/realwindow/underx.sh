#!/usr/bin/env bash
# Runs a widget test in a real X session (Xvfb and openbox) for what the
# offscreen platform lacks, such as the selection that the middle mouse button
# pastes. Usage: underx.sh <test binary> [test functions...]
set -u
source "$(dirname "$0")/xsession.sh"
QT_QPA_PLATFORM=xcb ZELK_UNDER_X=1 "$@"
status=$?
exit $status
