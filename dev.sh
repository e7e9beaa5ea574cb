#!/usr/bin/env bash
# Velmora's one entry point for installing, building, running and testing.
#   ./dev.sh play        install what is needed, build, start the game
#   ./dev.sh test        install what is needed, build, run every test
#   ./dev.sh test-asan   the same in a separate build with AddressSanitizer + UBSan
#   ./dev.sh test-tsan   the same with ThreadSanitizer (the thread tests)
#   ./dev.sh build       install and build only
#   ./dev.sh package     build the Debian package build/velmora_*.deb and check it
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$(pwd)

PACKAGES=(cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-multimedia-dev libqt6svg6
  libtinyxml-dev libboost-dev libgtest-dev libgmock-dev libbenchmark-dev
  libxcb1-dev xvfb xauth x11-apps xdotool imagemagick sox python3 python3-pil fonts-dejavu-core
  nsis p7zip-full dpkg-dev desktop-file-utils appstream shared-mime-info)

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
  fi
}

# build DIR [cmake options...]
build() {
  local dir=$1; shift
  cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
}

test_env() {
  export QT_QPA_PLATFORM=offscreen
  export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR_TESTS:-$(mktemp -d /tmp/velmora-runtime.XXXXXX)}
  chmod 700 "$XDG_RUNTIME_DIR"
  # The game keeps its settings under the user's configuration folder: tests get a private one.
  export XDG_CONFIG_HOME=$(mktemp -d /tmp/velmora-config.XXXXXX)
}

# run_tests DIR: every test; ctest's summary is the last thing printed.
run_tests() {
  local dir=$1 rc=0
  test_env
  (cd "$dir" && ctest -j "$(nproc)" --output-on-failure --timeout 600) > "$dir/ctest.log" 2>&1 || rc=$?
  # Failures with their output, then ctest's summary.
  grep -v -E '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed' "$dir/ctest.log" | tail -n 200
  return $rc
}

case "${1:-}" in
  play)
    install_packages
    build "$ROOT/build"
    cd "$ROOT/build/game"
    if [ -x ./velmora ]; then exec ./velmora; else exec ./velmora-tool --help; fi
    ;;
  build)
    install_packages
    build "$ROOT/build"
    ;;
  package)
    install_packages
    build "$ROOT/build"
    rm -f "$ROOT"/build/velmora_*.deb
    (cd "$ROOT/build" && cpack -G DEB >cpack.log) || { cat "$ROOT/build/cpack.log"; exit 1; }
    deb=$(ls "$ROOT"/build/velmora_*.deb)
    dpkg-deb --info "$deb" | grep -E '^ (Package|Version|Depends|Recommends|Installed-Size):'
    echo " Files: $(dpkg-deb --contents "$deb" | grep -vc '/$'), size $(du -h "$deb" | cut -f1)"
    # The package tests (validators, unpacked files, the launcher) on this very package.
    test_env
    (cd "$ROOT/build" && VELMORA_DEB="$deb" ctest -R '^Package\.' -FS velmora_package --output-on-failure) | tail -n 3
    echo "Built $deb: install it with  apt install $deb"
    ;;
  test)
    install_packages
    build "$ROOT/build"
    run_tests "$ROOT/build"
    ;;
  test-asan)
    install_packages
    build "$ROOT/build-asan" -DVELMORA_SANITIZE=address -DVELMORA_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
    export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
    export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$ROOT/tests/lsan.supp:print_suppressions=0}
    export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
    run_tests "$ROOT/build-asan"
    ;;
  test-tsan)
    install_packages
    build "$ROOT/build-tsan" -DVELMORA_SANITIZE=thread -DVELMORA_BUILD_BENCH=OFF
    export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1:suppressions=$ROOT/tests/tsan.supp}
    run_tests "$ROOT/build-tsan"
    ;;
  *)
    sed -n '2,8p' "$0"
    exit 2
    ;;
esac
