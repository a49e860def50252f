#!/usr/bin/env bash
# Makes the manual's screenshots with the headless runner, from a built tree:
#   docs/screenshots.sh [build/dist]
# Each picture is the emulated display after a scripted session, scaled x2.
set -euo pipefail
docs=$(cd "$(dirname "$0")" && pwd)
dist=$(cd "${1:-$docs/../build/dist}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/data"
cp "$dist"/data/{vorn.bin,keyboard.txt,dev.bin,demo.raw} "$work/data/"
cd "$work"

shot() {  # shot NAME FRAMES ACTIONS...
  local name=$1 frames=$2
  shift 2
  "$dist/vorn-headless" --frames "$frames" "$@" --png "$frames:$work/$name.png"
  convert "$work/$name.png" -scale 200% -strip "$docs/images/$name.png"
}

# The machine starts in BASIC; MON enters the monitor.
shot boot 60
shot basic 400 --type '10:10 for i=1 to 6\n20 print i,i*i,sqr(i)\n30 next i\nlist\nrun\n'
shot help 170 --type '10:mon\nhelp\n'
shot memory 320 --type '10:mon\ne 6000 "Hello, Vorn!" 0d 0a\n' --type '160:d 6000 10\n'
shot save 620 --load-dev 5 --tape-record 8 --type '10:mon\ns "DEMO" 5000 800 5000\n'
shot load 350 --type '10:mon\nl "DEMO"\n' --tape-load '50:data/demo.raw' --tape-play 60
shot demo 920 --load-dev 5 --type '10:mon\ng 5000\n'
shot error 140 --type '10:mon\nf 6000\n' --type '70:d 5g00\n'
