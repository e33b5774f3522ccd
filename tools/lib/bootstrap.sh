# Shared set-up of tools/run and tools/test: install what is missing, then
# configure and build the native and the Windows builds under build/.
# Sourced, not run. A second run installs nothing and rebuilds only what changed.

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$repo/build
jobs=$(nproc 2>/dev/null || echo 2)

# Debian packages the builds and tests need; the i386 ones are for 32-bit Wine.
vintrel_packages=(
  cmake g++ make ninja-build googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-i686 wine wine32:i386 xvfb xauth fonts-wine x11-utils
  clang clang-tidy libclang-rt-dev python3
)

vintrel_install_missing() {
  local missing=() p
  for p in "${vintrel_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages need root (apt-get): ${missing[*]}" >&2
    return 1
  fi
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q "${missing[@]}"
}

# configure DIR [cmake args...]: configure once, then reuse the cache.
vintrel_configure() {
  local dir=$1; shift
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$repo" -B "$dir" -G Ninja "$@"
  fi
}

vintrel_build_native() {
  vintrel_configure "$build/native" -DCMAKE_BUILD_TYPE=Release
  cmake --build "$build/native" -j "$jobs"
}

vintrel_build_windows() {
  vintrel_configure "$build/win32" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/toolchain-mingw-i686.cmake"
  cmake --build "$build/win32" -j "$jobs"
}

# The libFuzzer targets: a clang project of their own (tests/fuzz/CMakeLists.txt).
vintrel_build_fuzz() {
  if [ ! -f "$build/fuzz/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S "$repo/tests/fuzz" -B "$build/fuzz" -G Ninja
  fi
  cmake --build "$build/fuzz" -j "$jobs"
}

vintrel_build_sanitize() {
  vintrel_configure "$build/sanitize" -DCMAKE_BUILD_TYPE=Debug -DVINTREL_SANITIZE=ON \
    -DVINTREL_BENCHMARKS=OFF
  cmake --build "$build/sanitize" -j "$jobs"
}
