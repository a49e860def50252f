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

shot boot 60
shot help 150 --type '10:help\n'
shot memory 300 --type '10:e 6000 "Hello, Vorn!" 0d 0a\n' --type '140:d 6000 10\n'
shot save 600 --load-dev 5 --tape-record 8 --type '10:s "DEMO" 5000 800 5000\n'
shot load 330 --type '10:l "DEMO"\n' --tape-load '30:data/demo.raw' --tape-play 40
shot demo 900 --load-dev 5 --type '10:g 5000\n'
shot error 120 --type '10:f 6000\n' --type '50:d 5g00\n'
