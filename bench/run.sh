#!/usr/bin/env bash
# Builds and runs the optimizer benchmark: every job at 10 and 100 generations,
# then the large job side by side with the plain reference implementation.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../tools/setup.sh"
kavo_install_packages
kavo_build >/dev/null
bench="$KAVO_BUILD/bin/kavo_bench"
"$bench" --generations "${GENERATIONS:-10,100}" "$here"/jobs/*.FBL "$here"/public/*.FBL
echo
echo "Plain reference implementation, one thread:"
"$bench" --naive "$here/jobs/large-150.FBL"
echo "This optimizer, one thread:"
"$bench" --threads 1 "$here/jobs/large-150.FBL"
