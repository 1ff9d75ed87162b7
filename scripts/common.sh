# Shared by scripts/run and scripts/test: install what is missing, configure and build.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libqt6sql6-odbc unixodbc unixodbc-dev libsqliteodbc
          odbc-postgresql postgresql libzint-dev googletest libgtest-dev libbenchmark-dev poppler-utils libgl-dev
          libhidapi-dev xvfb imagemagick libxlsxwriter-dev unzip qt6-translations-l10n)
# Installed without their recommendations: ImageMagick's bring fonts (Ghostscript's URW, Noto Mono)
# that take the place of "Courier New" and that Qt does not report as fixed-pitch.
SIN_RECOMENDADOS=(xvfb imagemagick)

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        local SUDO=""
        [ "$(id -u)" -ne 0 ] && SUDO="sudo"
        echo "Installing: ${missing[*]}"
        $SUDO apt-get update -qq
        local comunes=() sueltos=()
        for p in "${missing[@]}"; do
            if [[ " ${SIN_RECOMENDADOS[*]} " == *" $p "* ]]; then sueltos+=("$p"); else comunes+=("$p"); fi
        done
        if [ ${#comunes[@]} -gt 0 ]; then
            DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${comunes[@]}"
        fi
        if [ ${#sueltos[@]} -gt 0 ]; then
            DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${sueltos[@]}"
        fi
    fi
}

build() {
    local dir="$1"; shift
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@"
    cmake --build "$dir" -j "$(nproc)"
}
