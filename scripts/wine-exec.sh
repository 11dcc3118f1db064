#!/usr/bin/env bash
# Runs a Windows executable in the project's Wine prefix (CTest's cross-compiling emulator).
# The caller provides DISPLAY (scripts/with-session.sh starts a private Xvfb).
source "$(dirname "$0")/env.sh"
exec wine "$@"
