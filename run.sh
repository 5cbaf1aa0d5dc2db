#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. Until the desktop
# program exists this plans the example job and prints its summary.
set -euo pipefail
source "$(dirname "$0")/tools/setup.sh"
kavo_install_packages
kavo_build
out="$KAVO_BUILD/example-plan.FBL"
"$KAVO_BUILD/bin/kavo" optimize "$KAVO_ROOT/resources/example.FBL" -o "$out" "$@"
echo
echo "The plan is saved in $out"
