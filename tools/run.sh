#!/usr/bin/env bash
# Opens the window, or says in one line why it cannot.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "vantel: no display available (neither DISPLAY nor WAYLAND_DISPLAY is set); cannot open the window" >&2
    exit 1
fi
exec "$1"
