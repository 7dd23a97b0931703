"""canny_engine as a package: installed by pip, mapped by process pools, stopped by Ctrl-C,
giving its memory back."""
import multiprocessing
import os
import pickle
import shutil
import signal
import subprocess
import time
from pathlib import Path

import numpy as np
import pytest

import canny_engine
from test_canny_engine import blocks

PYTHON = "/usr/bin/python3"
SOURCE_DIR = Path(os.environ["SOURCE_DIR"])


def test_pip_installs_the_same_detector(tmp_path):
    """Built by pip from a copy of the sources (so the build leaves the tree alone), imported by
    Debian's python3 from the target folder, it draws the same edges as the CMake build."""
    for folder in ("python", "engine"):
        shutil.copytree(SOURCE_DIR / folder, tmp_path / folder,
                        ignore=shutil.ignore_patterns("build", "*.egg-info"))
    shutil.copy(SOURCE_DIR / "CMakeLists.txt", tmp_path)
    env = dict(os.environ, CCACHE_BASEDIR=str(tmp_path))
    if shutil.which("ccache"):
        env.update(CC="ccache gcc", CXX="ccache g++")
    target = tmp_path / "target"
    subprocess.run([PYTHON, "-m", "pip", "install", "-q", "--no-build-isolation", "--no-deps",
                    "--target", target, tmp_path / "python"], check=True, env=env)
    picture = blocks(4)
    np.save(tmp_path / "picture.npy", picture)
    script = ("import sys, numpy as np, canny_engine as c; print(c.__file__); "
              "np.save('edges.npy', c.detect(np.load('picture.npy'), sigma=1.5))")
    run = subprocess.run([PYTHON, "-c", script], capture_output=True, text=True, check=True,
                         cwd=tmp_path, env={"PYTHONPATH": str(target)})
    assert run.stdout.startswith(str(target / "canny_engine"))
    assert np.array_equal(np.load(tmp_path / "edges.npy"), canny_engine.detect(picture, sigma=1.5))


def test_process_pools_map_detect_as_it_is():
    pictures = [blocks(seed, 60 + seed, 90) for seed in range(6)]
    serial = [canny_engine.detect(p) for p in pictures]
    assert pickle.loads(pickle.dumps(canny_engine.detect)) is canny_engine.detect
    with multiprocessing.Pool(2) as pool:
        assert all(map(np.array_equal, pool.map(canny_engine.detect, pictures), serial))


def test_dask_maps_detect_as_it_is():
    distributed = pytest.importorskip("distributed")
    pictures = [blocks(seed, 60 + seed, 90) for seed in range(6)]
    serial = [canny_engine.detect(p) for p in pictures]
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, dashboard_address=None) \
            as cluster, distributed.Client(cluster) as client:
        mapped = client.gather(client.map(canny_engine.detect, pictures))
    assert all(map(np.array_equal, mapped, serial))


def test_ctrl_c_stops_a_long_call_within_a_second():
    script = ("import sys, numpy as np, canny_engine as c\n"
              "picture = np.random.default_rng(1).integers(0, 256, (6000, 8000), np.uint8)\n"
              "print('ready', flush=True)\n"
              "try:\n    c.detect(picture, sigma=5, steps=100)\n"
              "except KeyboardInterrupt:\n    print('interrupted', flush=True)\n")
    child = subprocess.Popen([PYTHON, "-c", script], stdout=subprocess.PIPE, text=True)
    assert child.stdout.readline() == "ready\n"
    time.sleep(0.5)
    child.send_signal(signal.SIGINT)
    sent = time.monotonic()
    assert child.stdout.readline() == "interrupted\n"
    assert time.monotonic() - sent < 1.0
    assert child.wait(5) == 0


def resident_megabytes():
    status = Path("/proc/self/status").read_text()
    return int(status.split("VmRSS:")[1].split()[0]) // 1024


def test_release_memory_gives_the_working_memory_back():
    picture = np.zeros((3000, 4000), np.uint8)  # about 48 MB of working memory
    canny_engine.detect(picture)
    before = resident_megabytes()
    canny_engine.release_memory()
    assert resident_megabytes() < before - 32

