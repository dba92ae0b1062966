#!/usr/bin/env bash
# Installs the build into a fresh prefix and, with nothing but the installed
# files, builds and runs a C program through pkg-config and a C++ program
# through find_package(Framecraft), and an effect plug-in from its installed
# example source with the plug-in header alone, which the installed tool loads.
#   consumers_test.sh BUILD_DIR SOURCE_DIR WORK_DIR
set -euo pipefail
build=$1 here=$2/tests/install work=$3
rm -rf "$work" && mkdir -p "$work"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
cc -Wall -Wextra -Werror -o "$work/threshold" "$here/c_consumer/threshold.c" $(pkg-config --cflags --libs framecraft)
LD_LIBRARY_PATH=$prefix/lib "$work/threshold"

cmake -S "$here/cxx_consumer" -B "$work/cxx" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/cxx" >/dev/null
"$work/cxx/mirror_pipeline"

cc -Wall -Wextra -Werror -shared -fPIC -I"$prefix/include" -o "$work/ff_invert.so" \
  "$prefix/share/framecraft/examples/plugins/invert.c"
"$prefix/bin/framecraft" plugin "$work/ff_invert.so" | grep -q "Amount: float = 1"
