#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
source "$(dirname "$0")/tools/setup.sh"
kavo_install_packages
kavo_build
export QT_QPA_PLATFORM=offscreen
cd "$KAVO_BUILD"
ctest --output-on-failure -j2 "$@"
