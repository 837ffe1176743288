"""The package installs as the README says: into a virtual environment that
sees Debian's numpy, with pip and no download of any kind (the index is
switched off, so that anything missing fails here)."""
import os
import subprocess
import sys

import vantel
from conftest import SOURCE_DIR


def test_pip_installs_the_package_into_a_virtual_environment(tmp_path):
    env_dir = tmp_path / "env"
    subprocess.run([sys.executable, "-m", "venv", "--system-site-packages", str(env_dir)], check=True)
    quiet = dict(os.environ, PIP_NO_INDEX="1", PIP_DISABLE_PIP_VERSION_CHECK="1")
    quiet.pop("PYTHONPATH", None)
    done = subprocess.run([str(env_dir / "bin" / "pip"), "install", "--no-build-isolation", "."],
                          cwd=SOURCE_DIR, env=quiet, capture_output=True, text=True)
    assert done.returncode == 0, done.stdout[-3000:] + done.stderr[-3000:]
    check = subprocess.run(
        [str(env_dir / "bin" / "python3"), "-c",
         "import vantel, os, importlib.metadata as m; "
         "print(vantel.__version__, m.version('vantel'), os.path.dirname(vantel.__file__)); "
         "print(vantel.compute([0.1, 0.5, 0.9, 0.3, 0.7, 0.2], epochs=1).value_text)"],
        cwd=tmp_path, env=quiet, capture_output=True, text=True)
    assert check.returncode == 0, check.stderr
    version_and_folder, value = check.stdout.split("\n")[:2]
    # The version of this build, in the module and in the package's metadata.
    assert version_and_folder.startswith(f"{vantel.__version__} {vantel.__version__} {env_dir}")
    assert value.startswith("0.") and len(value) == 6
