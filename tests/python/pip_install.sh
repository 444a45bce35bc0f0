#!/bin/sh
# pip install . as a Python user does it, offline, into a fresh virtual
# environment that sees the system's numpy, pytest and dask; the module it
# builds through the project's own backend passes the module's tests.
#
#	pip_install.sh python3 source-folder work-folder
set -eu
python=$1 source=$2 work=$3
rm -rf "$work"
"$python" -m venv --system-site-packages "$work"
"$work/bin/pip" install --quiet --no-build-isolation --no-index "$source"
cd "$work"
PYTHONDONTWRITEBYTECODE=1 "$work/bin/python" -m pytest -q -p no:cacheprovider "$source/tests/python"
