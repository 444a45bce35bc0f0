#!/bin/sh
# The Python document's commands as a Python user types them, offline: pip
# install . into a fresh virtual environment that sees the system's numpy,
# pytest and dask, whose module, built through the project's own backend,
# passes the module's tests, and whose description is the Python document;
# python3 -m build, which makes an sdist and from it alone the wheel; and
# an editable install, refused with a message that says why.
#
#	pip_install.sh python3 source-folder work-folder
set -eu
python=$1 source=$2 work=$3
rm -rf "$work"
"$python" -m venv --system-site-packages "$work/venv"
"$work/venv/bin/pip" install --quiet --no-build-isolation --no-index "$source"
(cd "$work" && PYTHONDONTWRITEBYTECODE=1 "$work/venv/bin/python" -m pytest -q -p no:cacheprovider "$source/tests/python")
# The description a Python user reads is the Python document, and nothing
# of the Windows build or of Debian's packaging.
metadata=$(echo "$work"/venv/lib/python3*/site-packages/sedimentation-*.dist-info/METADATA)
grep -q '^# sedimentation for Python$' "$metadata" || { echo "the wheel's description is not doc/python.md"; exit 1; }
if grep -n -i -e wine -e lintian "$metadata"; then
	echo "the wheel's description speaks of Wine or lintian"
	exit 1
fi

if "$python" -c "import build" 2>/dev/null; then
	"$python" -m build --no-isolation --outdir "$work/dist" "$source" >"$work/build.log" 2>&1 ||
		{ cat "$work/build.log"; exit 1; }
	ls "$work/dist"/sedimentation-*.tar.gz "$work/dist"/sedimentation-*.whl
fi
if "$work/venv/bin/pip" install --no-build-isolation --no-index -e "$source" >"$work/editable.log" 2>&1; then
	echo "an editable install went through" >&2
	exit 1
fi
grep -q "editable install is not offered" "$work/editable.log"
