#!/bin/sh
# Starts the window program VORN_BINARY for the bad-input window tests. When
# VORN_RUN_AS_UID is set it runs as that user and group instead, so that a
# data/ folder without write permission really cannot be written: the tests
# run as root, and root ignores permission bits.
if [ -n "${VORN_RUN_AS_UID:-}" ]; then
  exec setpriv --reuid="$VORN_RUN_AS_UID" --regid="$VORN_RUN_AS_UID" --clear-groups "$VORN_BINARY"
fi
exec "$VORN_BINARY"
