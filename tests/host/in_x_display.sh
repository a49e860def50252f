#!/bin/sh
# Runs "$@" in a private X display: Xvfb at 1280 x 1024 with the openbox
# window manager (without one, a full-screen SDL window stays 1 x 1). Exits
# with 77, which ctest reads as skipped, when Xvfb cannot start here.
dir=$(mktemp -d)
: >"$dir/display"
trap 'kill $window_manager $server 2>/dev/null; rm -rf "$dir"' EXIT
# Xvfb picks a free display number and, once clients can connect, writes it
# on a line of its own. Without -noreset it would reset when a client leaves
# and refuse one connecting meanwhile.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$dir/display" >/dev/null 2>&1 &
server=$!
for i in $(seq 200); do
  [ "$(wc -l <"$dir/display")" -gt 0 ] || ! kill -0 $server 2>/dev/null && break
  sleep 0.1
done
[ "$(wc -l <"$dir/display")" -gt 0 ] || exit 77
export DISPLAY=:$(cat "$dir/display")
# openbox runs its start-up command once it manages windows; a window mapped
# before then may be left unmanaged, 1 x 1 and never shown.
openbox --startup "touch $dir/ready" >/dev/null 2>&1 &
window_manager=$!
for i in $(seq 200); do
  [ -e "$dir/ready" ] && break
  sleep 0.1
done
[ -e "$dir/ready" ] || { echo "openbox did not start" >&2; exit 1; }
"$@"
