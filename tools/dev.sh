#!/usr/bin/env bash
# One entry point for a newcomer on Debian: installs the packages that are
# missing, builds, and then starts the emulator or runs every test.
#
#   tools/dev.sh run    build (Release) and start build/dist/vorn
#   tools/dev.sh test   build and test in Release, then again under
#                       AddressSanitizer and UndefinedBehaviorSanitizer
#                       (the long instruction-exerciser runs only in Release)
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake make g++ pkgconf
  libsdl2-dev libgtest-dev libbenchmark-dev libpng-dev libsndfile1-dev
  pasmo console-setup-linux xfonts-base pcf2bdf
  xvfb xauth x11-utils xdotool openbox imagemagick sox
  clang libclang-rt-14-dev
)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {  # build DIR TYPE [extra cmake args...]
  local dir=$1 type=$2
  shift 2
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE="$type" "$@"
  cmake --build "$dir" -j2
}

case "${1:-}" in
  run)
    install_missing
    build build Release
    cd build/dist
    exec ./vorn
    ;;
  test)
    install_missing
    build build Release
    (cd build && ctest --output-on-failure -j2)
    sanitize="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
    build build-asan Debug -DCMAKE_CXX_FLAGS="-O1 $sanitize" \
      -DCMAKE_EXE_LINKER_FLAGS="$sanitize"
    (cd build-asan && ctest --output-on-failure -j2 -LE long)
    # The fuzz targets, built with clang, each fuzzed for a bounded time.
    build build-fuzz RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DVORN_FUZZ=ON
    (cd build-fuzz && ctest --output-on-failure -j2)
    ;;
  *)
    echo "usage: tools/dev.sh run|test" >&2
    exit 2
    ;;
esac
