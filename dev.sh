#!/usr/bin/env bash
# Sets up what Velmora needs on Debian 12, builds it, and then runs the program
# or its tests. Safe to run again: it installs only what is missing.
#
#   ./dev.sh run     install what is missing, build, start the program
#   ./dev.sh test    install what is missing, check the formatting, build, run
#                    clang-tidy and every test (normal build, then again with
#                    address and UB sanitizers)
#   ./dev.sh bench   install what is missing, build optimised, run the benchmarks
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
          locales fonts-dejavu-core valgrind lintian desktop-file-utils appstream
          clang-format clang-tidy)
locales_needed=(de_DE en_US)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing_packages() {
    local missing=()
    for package in "${packages[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
    for name in "${locales_needed[@]}"; do
        if ! locale -a 2>/dev/null | grep -qi "^${name}\.utf-\?8$"; then
            echo "Generating locale ${name}.UTF-8"
            as_root localedef -i "$name" -f UTF-8 "${name}.UTF-8"
        fi
    done
}

jobs=$(nproc 2>/dev/null || echo 2)

build() {
    local preset=$1
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" --parallel "$jobs"
}

run_tests() {
    local preset=$1
    echo "== Tests ($preset build) =="
    ctest --preset "$preset" --parallel "$jobs"
}

# Every C++ file of the repository as .clang-format writes it.
check_formatting() {
    echo "== Formatting =="
    git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
}

# The program's own code against .clang-tidy, with the compile commands of the
# normal build (less a GCC-only option that clang does not know).
check_tidy() {
    echo "== clang-tidy =="
    local database=build/default/tidy
    mkdir -p "$database"
    sed 's/ -fno-cx-limited-range//g' build/default/compile_commands.json >"$database/compile_commands.json"
    git ls-files -z 'app/*.cpp' 'chart/*.cpp' 'dialogs/*.cpp' 'electrics/*.cpp' |
        xargs -0 -n 4 -P "$jobs" clang-tidy -p "$database" --quiet 2>&1 |
        sed '/warnings\? generated\.$/d'
}

command=${1:-}
case "$command" in
run)
    install_missing_packages
    build default
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
        echo "velmora: no display available (set DISPLAY or WAYLAND_DISPLAY to start the program)" >&2
        exit 1
    fi
    exec ./build/default/velmora
    ;;
test)
    install_missing_packages
    check_formatting
    build default
    check_tidy
    run_tests default
    build sanitize
    run_tests sanitize
    ;;
bench)
    install_missing_packages
    build release
    exec ./bench/run-all.sh build/release
    ;;
*)
    echo "usage: $0 run|test|bench" >&2
    exit 2
    ;;
esac
