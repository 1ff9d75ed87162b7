# Shared by scripts/run and scripts/test: install what is missing, configure and build.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# What the program (and the simulated client of the demo) needs; the tests need the rest.
RUN_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libqt6sql6-odbc unixodbc unixodbc-dev libsqliteodbc
              libzint-dev libgl-dev libhidapi-dev libxlsxwriter-dev qt6-translations-l10n procps)
TEST_PACKAGES=(odbc-postgresql postgresql googletest libgtest-dev libbenchmark-dev poppler-utils xvfb imagemagick unzip iproute2)
PACKAGES=("${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}")
# Installed without their recommendations: ImageMagick's bring fonts (Ghostscript's URW, Noto Mono)
# that take the place of "Courier New" and that Qt does not report as fixed-pitch.
SIN_RECOMENDADOS=(xvfb imagemagick)

# install_missing [package...]: the given packages, or all of them.
install_missing() {
    local wanted=("$@") missing=()
    [ ${#wanted[@]} -eq 0 ] && wanted=("${PACKAGES[@]}")
    for p in "${wanted[@]}"; do
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

# Parallel jobs of a build: CMAKE_BUILD_PARALLEL_LEVEL when set (a machine shared with other
# work, or short of memory), otherwise one per processor.
JOBS="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"

# build <folder> [cmake option...] [-- target...]
build() {
    local dir="$1" opciones=() objetivos=()
    shift
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do opciones+=("$1"); shift; done
    [ $# -gt 0 ] && shift
    objetivos=("$@")
    cmake -S "$ROOT" -B "$dir" -G Ninja "${opciones[@]}"
    cmake --build "$dir" -j "$JOBS" ${objetivos[@]+--target "${objetivos[@]}"}
}
