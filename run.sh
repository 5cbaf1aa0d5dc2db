#!/usr/bin/env bash
# Installs what is missing, builds, and starts the desktop program. Arguments
# are passed on: a project file to open.
set -euo pipefail
source "$(dirname "$0")/tools/setup.sh"
kavo_install_packages
kavo_build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: KAVOCut needs a desktop session."
    echo "  Without one, run it in a virtual display:  xvfb-run -a $KAVO_BUILD/bin/KAVOCut [PROJECT.FBL]"
    echo "  or use the command-line tool:             $KAVO_BUILD/bin/kavo --help"
    exit 1
fi
exec "$KAVO_BUILD/bin/KAVOCut" "$@"
