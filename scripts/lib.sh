# Sourced by scripts/test and scripts/demo, from the repository's root.
jobs=$(nproc 2>/dev/null || echo 2)

# Configures and builds one build folder (Release), its logs beside it as <dir>.configure.log and
# <dir>.build.log; on failure shows their last lines and returns non-zero.
build() {  # build <dir> [cmake args...]
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >"$dir.configure.log" 2>&1 &&
    cmake --build "$dir" -j"$jobs" >"$dir.build.log" 2>&1 && return 0
  tail -40 "$dir.configure.log" "$dir.build.log" 2>/dev/null
  return 1
}
