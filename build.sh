#!/usr/bin/env bash
# Sets up a Debian 12 machine for kvx98, builds it, and either starts the program or runs every test.
#   bash build.sh run [DATA_FOLDER]   install what is missing, build, start kvx98 in DATA_FOLDER (default: .)
#   bash build.sh test                install what is missing, build, run every test with CTest
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build="$here/build"

packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-qpa-plugins libsqlite3-dev
          libboost-context-dev libgtest-dev libgmock-dev libbenchmark-dev)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

configure_and_build() {
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" --parallel "$(nproc)"
}

case "${1:-}" in
  run)
    install_missing
    configure_and_build
    data="${2:-.}"
    mkdir -p "$data"
    cd "$data"
    exec "$build/kvx98"
    ;;
  test)
    install_missing
    configure_and_build
    cd "$build"
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600 -j "$(nproc)"
    ;;
  *)
    echo "usage: bash build.sh run [DATA_FOLDER] | bash build.sh test" >&2
    exit 2
    ;;
esac
