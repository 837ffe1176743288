"""Installs the Python package vantel: `pip install --no-build-isolation .`

The compiled half is built by CMake with VANTEL_PYTHON_ONLY (the engine, the
series readers, the batches' shared texts and the module; no Qt, no
GoogleTest) for the interpreter that
runs this script, and laid out with the Python half and the default
T-pattern. Nothing is downloaded.
"""
import os
import re
import shutil
import subprocess
import sys

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = os.path.dirname(os.path.abspath(__file__))


def version():
    """The project's version, from the project(... VERSION x ...) line of CMakeLists.txt,
    which the build also writes into the module."""
    with open(os.path.join(ROOT, "CMakeLists.txt"), encoding="utf-8") as lists:
        found = re.search(r"^\s*project\s*\([^)]*?\bVERSION\s+([0-9.]+)", lists.read(), re.MULTILINE | re.IGNORECASE)
    if not found:
        raise RuntimeError("CMakeLists.txt has no project(... VERSION x ...) line")
    return found.group(1)


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        build = os.path.abspath(os.path.join(self.build_temp, "cmake"))
        laid_out = os.path.join(build, "python", "vantel")
        subprocess.check_call(["cmake", "-S", ROOT, "-B", build, "-DVANTEL_PYTHON_ONLY=ON",
                               "-DCMAKE_BUILD_TYPE=RelWithDebInfo", f"-DPython_EXECUTABLE={sys.executable}"])
        subprocess.check_call(["cmake", "--build", build, "--target", "python_package", "-j",
                               str(os.cpu_count() or 1)])
        target = os.path.dirname(os.path.abspath(self.get_ext_fullpath(ext.name)))
        os.makedirs(target, exist_ok=True)
        for name in os.listdir(laid_out):
            if name.startswith("_vantel") or name == "T-pattern-3.VM":
                shutil.copy2(os.path.join(laid_out, name), os.path.join(target, name))


setup(
    name="vantel",
    version=version(),
    description="The Vantel value of a time series: how well a small fixed network learns "
                "when the series is written into its hidden weights",
    packages=["vantel"],
    package_dir={"vantel": "src/python/vantel"},
    package_data={"vantel": ["__init__.pyi", "py.typed"]},
    ext_modules=[Extension("vantel._vantel", sources=[])],
    cmdclass={"build_ext": CMakeBuild},
    install_requires=["numpy"],
    python_requires=">=3.9",
    zip_safe=False,
    # Beside, not inside, the CMake build of `make run` and `make test`.
    options={"build": {"build_base": "build/setuptools"}},
)
