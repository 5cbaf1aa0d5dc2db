# Shared by run.sh and test.sh: installs the Debian packages the build needs
# (quietly, only what is missing) and builds into the one build folder.

KAVO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
KAVO_BUILD="$KAVO_ROOT/build"
KAVO_PACKAGES=(cmake ninja-build g++ ccache qt6-base-dev libqt6sql6-sqlite libqt6svg6 qt6-multimedia-dev libgtest-dev fonts-wqy-microhei)

kavo_install_packages() {
    local missing=()
    local p
    for p in "${KAVO_PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

kavo_build() {
    if [ ! -f "$KAVO_BUILD/build.ninja" ]; then
        cmake -S "$KAVO_ROOT" -B "$KAVO_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    fi
    cmake --build "$KAVO_BUILD"
}
