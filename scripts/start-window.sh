#!/usr/bin/env bash
# Starts the program on the user's desktop, or under a virtual X server when
# there is no display (then it says how to look at it).
set -eu
exe="$1"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$exe"
fi
echo "No display found: starting the window under Xvfb on :99 (screenshot: DISPLAY=:99 import -window root shot.png)"
# -ac: xvfb-run's authority file is its own, so without it the screenshot
# command above would be refused ("Authorization required").
exec xvfb-run -n 99 -s "-screen 0 1024x768x24 -ac" "$exe"
