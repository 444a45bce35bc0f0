"""A PEP 517 build backend that builds the Python module with the
project's own CMake and packs it into a wheel, and packs the sources that
this needs into an sdist, from which the same wheel builds.

    pip install --no-build-isolation .
    python3 -m build --no-isolation

An editable install is refused: the module is compiled, and an edit to
its sources takes effect only through a new build.

It configures a build of its own with the Python module on and the model
linked in statically (SEDIMENTATION_PYTHON=ON, SEDIMENTATION_LIBRARIES=static),
installs the CMake component "python" and adds the wheel's metadata from
pyproject.toml and the version from CMakeLists.txt.  It exists because no
package index may be reachable to bring a standard backend; pyproject.toml
says how scikit-build-core takes its place.
"""
import base64
import gzip
import hashlib
import io
import os
import re
import shutil
import subprocess
import sys
import sysconfig
import tarfile
import tempfile
import zipfile

try:
    import tomllib
except ImportError:  # Python before 3.11
    import tomli as tomllib

SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))


def _project():
    with open(os.path.join(SOURCE, "pyproject.toml"), "rb") as f:
        project = tomllib.load(f)["project"]
    with open(os.path.join(SOURCE, "CMakeLists.txt"), encoding="utf-8") as f:
        project["version"] = re.search(r"project\(\s*absink\s+VERSION\s+([0-9.]+)", f.read()).group(1)
    return project


def _metadata(project):
    lines = ["Metadata-Version: 2.1", "Name: " + project["name"], "Version: " + project["version"],
             "Summary: " + project["description"], "Requires-Python: " + project["requires-python"],
             "License: " + project["license"]["text"],
             "Description-Content-Type: text/markdown; charset=UTF-8"]
    lines += ["Requires-Dist: " + d for d in project["dependencies"]]
    with open(os.path.join(SOURCE, project["readme"]), encoding="utf-8") as f:
        readme = f.read()
    return "\n".join(lines) + "\n\n" + readme


def _tag():
    python = "cp%d%d" % sys.version_info[:2]
    platform = re.sub(r"[-.]", "_", sysconfig.get_platform())
    return "%s-%s-%s" % (python, python, platform)


def _record_line(name, data):
    digest = base64.urlsafe_b64encode(hashlib.sha256(data).digest()).rstrip(b"=").decode()
    return "%s,sha256=%s,%d" % (name, digest, len(data))


def get_requires_for_build_wheel(config_settings=None):
    return []


def get_requires_for_build_sdist(config_settings=None):
    return []


# What a build of the module reads: CMake's files of every folder the top
# level adds, the sources, and the texts the metadata names.  Not the
# tests, the benches, the fuzz targets nor the tools.
SDIST = ["CMakeLists.txt", "CMakePresets.json", "LICENSE", "README.md", "pyproject.toml",
         "app", "cmake", "doc", "packaging", "python", "sedimentation", "web"]


def build_sdist(sdist_directory, config_settings=None):
    project = _project()
    name = "%s-%s" % (project["name"], project["version"])
    # The same bytes from the same sources: fixed times, owners and order.
    mtime = int(os.environ.get("SOURCE_DATE_EPOCH", "0"))

    def add(tar, arcname, data, mode=0o644):
        info = tarfile.TarInfo(arcname)
        info.size, info.mtime, info.mode = len(data), mtime, mode
        tar.addfile(info, io.BytesIO(data))

    path = os.path.join(sdist_directory, name + ".tar.gz")
    with open(path, "wb") as raw, gzip.GzipFile(fileobj=raw, mode="wb", mtime=0, filename="") as packed:
        with tarfile.open(fileobj=packed, mode="w") as tar:
            for top in SDIST:
                full = os.path.join(SOURCE, top)
                files = [full] if os.path.isfile(full) else sorted(
                    os.path.join(folder, f) for folder, dirs, names in os.walk(full)
                    for f in names if "__pycache__" not in folder)
                for file in files:
                    with open(file, "rb") as f:
                        mode = 0o755 if os.access(file, os.X_OK) else 0o644
                        add(tar, name + "/" + os.path.relpath(file, SOURCE).replace(os.sep, "/"),
                            f.read(), mode)
            add(tar, name + "/PKG-INFO", _metadata(project).encode())
    return name + ".tar.gz"


def build_editable(wheel_directory, config_settings=None, metadata_directory=None):
    raise RuntimeError(
        "sedimentation is a compiled module, so an editable install is not offered: "
        "after a change, install it again with pip install --no-build-isolation .")


def build_wheel(wheel_directory, config_settings=None, metadata_directory=None):
    project = _project()
    work = tempfile.mkdtemp(prefix="sedimentation-wheel-")
    try:
        build, staging = os.path.join(work, "build"), os.path.join(work, "staging")
        for command in (
            ["cmake", "-S", SOURCE, "-B", build, "-DCMAKE_BUILD_TYPE=Release", "-DBUILD_TESTING=OFF",
             "-DABSINK_PAGE=OFF", "-DSEDIMENTATION_PYTHON=ON", "-DSEDIMENTATION_LIBRARIES=static",
             "-DSEDIMENTATION_PYTHON_DIR=.", "-DPython_EXECUTABLE=" + sys.executable],
            ["cmake", "--build", build, "--target", "sedimentation_python"],
            ["cmake", "--install", build, "--component", "python", "--prefix", staging],
        ):
            subprocess.run(command, check=True, stdout=sys.stderr)

        name = "%s-%s" % (project["name"], project["version"])
        wheel = "%s-%s.whl" % (name, _tag())
        info = name + ".dist-info"
        files = {}
        for folder, _, names in os.walk(staging):
            for file in names:
                path = os.path.join(folder, file)
                with open(path, "rb") as f:
                    files[os.path.relpath(path, staging).replace(os.sep, "/")] = f.read()
        files[info + "/METADATA"] = _metadata(project).encode()
        files[info + "/WHEEL"] = ("Wheel-Version: 1.0\nGenerator: cmake_wheel\n"
                                  "Root-Is-Purelib: false\nTag: %s\n" % _tag()).encode()
        record = [_record_line(n, d) for n, d in sorted(files.items())] + [info + "/RECORD,,"]
        files[info + "/RECORD"] = ("\n".join(record) + "\n").encode()
        with zipfile.ZipFile(os.path.join(wheel_directory, wheel), "w", zipfile.ZIP_DEFLATED) as z:
            for n, d in files.items():
                z.writestr(n, d)
        return wheel
    finally:
        shutil.rmtree(work, ignore_errors=True)
