#!/usr/bin/env bash
# One entry point for a newcomer on Debian: installs the packages that are
# missing, builds, and then starts the emulator or runs every test.
#
#   tools/dev.sh run    build (Release) and start build/dist/vorn
#   tools/dev.sh test   build and test in Release, then again under
#                       AddressSanitizer and UndefinedBehaviorSanitizer
#                       (the long instruction-exerciser runs only in Release)
#   tools/dev.sh lines [--files]
#                       lines of tests against lines of product code
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

# Lines that are neither blank nor only a comment, in the files under the
# given folders (fuzz corpora left out); with --files, each file's count too.
count_lines() {  # count_lines LABEL FOLDERS...
  local label=$1
  shift
  find "$@" -path '*/corpus' -prune -o -type f -print | sort | while read -r file; do
    case "$file" in
      *.cpp|*.h) mark=// ;;
      *.asm|*.inc) mark=';' ;;
      *.sh|*.py|*.cmake|*.txt) mark='#' ;;
      *) mark= ;;
    esac
    awk -v mark="$mark" -v file="$file" '
      { line = $0; gsub(/^[ \t]+|[ \t\r]+$/, "", line) }
      mark == "//" && block { if (index(line, "*/") == 0) next; block = 0; line = substr(line, index(line, "*/") + 2) }
      mark == "//" && substr(line, 1, 2) == "/*" {
        if (index(line, "*/") == 0) { block = 1; next }
        line = substr(line, index(line, "*/") + 2); gsub(/^[ \t]+/, "", line)
      }
      line == "" { next }
      mark != "" && index(line, mark) == 1 && substr(line, 1, 2) != "#!" { next }
      { n++ }
      END { print n + 0, file }' "$file"
  done | awk -v label="$label" -v list="$LIST_FILES" '
    { total += $1; if (list) printf "%6d %s\n", $1, $2 }
    END { print label, total }'
}

case "${1:-}" in
  lines)
    LIST_FILES=$([ "${2:-}" = --files ] && echo 1 || true)
    export LIST_FILES
    { count_lines tests tests; count_lines product core machine host rom tools; } | awk '
      $1 == "tests" && NF == 2 { tests = $2; next }
      $1 == "product" && NF == 2 { product = $2; next }
      { print }
      END { printf "product %d, tests %d, ratio %.3f (band 0.25 to 0.33)\n", product, tests, tests / product }'
    ;;
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
    echo "usage: tools/dev.sh run|test|lines [--files]" >&2
    exit 2
    ;;
esac
