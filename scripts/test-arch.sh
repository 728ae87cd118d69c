#!/usr/bin/env bash
# Builds the suite for another processor with Debian's cross compiler and the multiarch
# libraries, runs its tests under qemu-user, and compares its renders of the same-samples cases
# with the native build's, sample for sample:
#
#     scripts/test-arch.sh aarch64 [ctest options...]
#
# Installs what is missing (the foreign architecture, the cross compiler, qemu-user and the
# libraries' -dev packages for the target), builds into build-<processor>, and brings the
# native Release build (build, as ./test.sh makes it) up to date as far as kelvo-samples needs.
set -euo pipefail
cd "$(dirname "$0")/.."
processor=${1:?usage: scripts/test-arch.sh aarch64 [ctest options...]}
shift
case "$processor" in
  aarch64) debian_arch=arm64 triplet=aarch64-linux-gnu ;;
  *) echo "test-arch.sh: no cross build for '$processor' (aarch64 only)" >&2; exit 2 ;;
esac
jobs=$(nproc)

sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
if ! dpkg --print-foreign-architectures | grep -qx "$debian_arch"; then
  $sudo_cmd dpkg --add-architecture "$debian_arch"
  $sudo_cmd apt-get update -qq
fi
# libc6: the emulator runs the programs with the target's own dynamic loader.
target_packages=(libc6 libgtest-dev libgmock-dev libbenchmark-dev libplist-dev libcairo2-dev
                 libpango1.0-dev libsndfile1-dev)
scripts/install-deps.sh "g++-$triplet" qemu-user "${target_packages[@]/%/:$debian_arch}"

build=build-$processor
scripts/build.sh "$build" -DCMAKE_BUILD_TYPE=Release -DKELVO_WERROR=ON \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchains/$triplet.cmake"

# Every test but the benchmarks' smoke runs, which time nothing under an emulator and would
# take as long as all the rest.
(cd "$build" && ctest --output-on-failure --parallel "$jobs" --label-exclude benchmark "$@")

# The renders beside the native ones: the largest difference per case, and a failure at 1e-6.
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVO_WERROR=ON >/dev/null
fi
cmake --build build --parallel "$jobs" --target kelvo-samples
rm -rf build/samples-raw "$build/samples-raw"
build/bin/kelvo-samples --raw build/samples-raw
"qemu-$processor" "$build/bin/kelvo-samples" --raw "$build/samples-raw"
echo "Renders on $processor against $(uname -m):"
build/bin/kelvo-samples --compare build/samples-raw "$build/samples-raw"
