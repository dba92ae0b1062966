#!/usr/bin/env bash
# Compiles every installed header on its own with only the installed tree on
# the include path: the C interface's headers as C and as C++, the others as
# C++20.
#   headers_test.sh BUILD_DIR WORK_DIR
set -euo pipefail
build=$1 work=$2
rm -rf "$work" && mkdir -p "$work"
cmake --install "$build" --prefix "$work/prefix" >/dev/null
include=$work/prefix/include/framecraft
cd "$include"
check() {
  local header=$1 include=$2
  if [[ $header == dispatch/* ]]; then
    echo "#include <$header>" | cc -std=c11 -Wall -Wextra -Werror -fsyntax-only -I"$include" -x c - ||
      { echo "not C: $header"; return 1; }
  fi
  echo "#include <$header>" | c++ -std=c++20 -Wall -Wextra -Werror -fsyntax-only -I"$include" -x c++ - ||
    { echo "does not compile alone: $header"; return 1; }
}
export -f check
find . -name '*.h' -printf '%P\n' | sort | xargs -P 2 -I{} bash -c 'check "$1" "$2"' _ {} "$include"
echo "$(find . -name '*.h' | wc -l) headers checked"
