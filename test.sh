#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
nakama_install_deps
nakama_packages="$nakama_desktop_test_packages" nakama_install_deps
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNAKAMA_WERROR=ON
cmake --build build -j2
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
# The program on a real desktop: a CUPS queue, fcitx5 with Mozc, the .deb.
../scripts/desktop_tests.sh "$PWD"
