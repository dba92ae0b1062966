#!/usr/bin/env bash
# Installs the Python component into a fresh prefix, then imports the module
# and runs the installed example from there, outside the build tree.
#   installed_test.sh <build-dir> <python> <work-dir>
set -euo pipefail
build=$1 python=$2 work=$3
rm -rf "$work" && mkdir -p "$work/run"
cmake --install "$build" --prefix "$work/prefix" --component python >/dev/null
cmake --install "$build" --prefix "$work/prefix" --component runtime >/dev/null
package=$(dirname "$(find "$work/prefix" -path '*dist-packages/framecraft/__init__.py')")
export PYTHONPATH=$(dirname "$package")
cd "$work/run"
"$python" -c "import framecraft, numpy; assert framecraft.rgb_to_hsv(numpy.zeros((2, 2, 3), numpy.uint8)).shape == (2, 2, 3)"
"$python" "$work/prefix/share/framecraft/examples/python/pipeline.py" "$work/prefix/share/framecraft/examples/demo.fcf" frame
[ -e frame.png ] || [ -e frame.ppm ]
