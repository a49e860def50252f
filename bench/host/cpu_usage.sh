#!/usr/bin/env bash
# Prints the processor time that vorn takes per second of running, beside a
# bare SDL loop that presents the same canvas, all in one private X display
# of 1280 x 1024 with a window manager, the default renderer and the dummy
# sound driver. Each program runs 20 s after a 2 s warm-up.
#
#   cpu_usage.sh VORN BARE_LOOP DATA_DIR IDLE_ROM BUSY_ROM [SYSTEM_ROM]
set -euo pipefail

if [ -z "${VORN_BENCH_INSIDE:-}" ]; then
  export VORN_BENCH_INSIDE=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$@"
fi

vorn=$(realpath "$1") bare=$(realpath "$2") data=$(realpath "$3")
idle_rom=$(realpath "$4") busy_rom=$(realpath "$5") system_rom=${6:+$(realpath -m "$6")}
seconds=20
ticks=$(getconf CLK_TCK)

# openbox runs its start-up command once it manages windows.
ready=$(mktemp -u)
openbox --startup "touch $ready" >/dev/null 2>&1 &
wm=$!
trap 'kill $wm 2>/dev/null || true; rm -f "$ready"' EXIT
for _ in $(seq 200); do
  [ -e "$ready" ] && break
  sleep 0.1
done

cpu_ticks() {  # user + system time of a process, in clock ticks
  awk '{ print $14 + $15 }' "/proc/$1/stat"
}

# measure NAME PROGRAM [ROM]: prints the percentage of one core used.
measure() {
  local name=$1 program=$2 rom=${3:-}
  local work
  work=$(mktemp -d)
  mkdir "$work/data"
  cp "$data/font.bmp" "$data/keys.bmp" "$work/data/"
  [ -n "$rom" ] && cp "$rom" "$work/data/vorn.bin"
  (cd "$work" && SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy exec "$program") &
  local pid=$!
  sleep 2
  local start end
  start=$(cpu_ticks $pid)
  sleep $seconds
  end=$(cpu_ticks $pid)
  kill -TERM $pid
  wait $pid || true
  rm -rf "$work"
  percent=$(awk -v t=$((end - start)) -v hz="$ticks" -v s=$seconds 'BEGIN { printf "%.2f", 100 * t / hz / s }')
  printf "%-34s %6.2f %% of one core\n" "$name" "$percent"
}

echo "CPU time per second of running, $seconds s each, $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
measure "bare SDL loop" "$bare"
bare_percent=$percent
measure "vorn, idle (HALT at each frame)" "$vorn" "$idle_rom"
awk -v idle="$percent" -v bare="$bare_percent" \
  'BEGIN { printf "%-34s %+6.2f points (goal: at most +2)\n", "idle vorn minus bare loop", idle - bare }'
measure "vorn, busy (never halts)" "$vorn" "$busy_rom"
if [ -n "$system_rom" ] && [ -f "$system_rom" ]; then
  measure "vorn, system ROM at its prompt" "$vorn" "$system_rom"
fi
