"""Builds canny_engine._core from the engine's sources in ../engine and the binding in src/.

The engine's flags come with it: every product and sum rounds on its own (-ffp-contract=off, no
fast math), so the edge maps are the same, byte for byte, as those of the CMake build."""
import os
import platform
import re
from pathlib import Path

from pybind11.setup_helpers import ParallelCompile, Pybind11Extension
from setuptools import setup

HERE = Path(__file__).resolve().parent
TOP = HERE.parent
GENERATED = HERE / "build" / "include"


def project_version():
    """The version the top CMakeLists.txt declares, which the engine reports too."""
    found = re.search(r"project\(\s*\w+\s+VERSION\s+([\d.]+)", (TOP / "CMakeLists.txt").read_text())
    return found.group(1)


def write_version_header(version):
    """canny/version.h from its template, as CMake's configure_file makes it."""
    major, minor, patch = version.split(".")
    text = (TOP / "engine" / "include" / "canny" / "version.h.in").read_text()
    for name, value in {"PROJECT_VERSION_MAJOR": major, "PROJECT_VERSION_MINOR": minor,
                        "PROJECT_VERSION_PATCH": patch, "PROJECT_VERSION": version}.items():
        text = text.replace(f"@{name}@", value)
    header = GENERATED / "canny" / "version.h"
    header.parent.mkdir(parents=True, exist_ok=True)
    if not header.exists() or header.read_text() != text:
        header.write_text(text)


def engine_flags():
    """The engine's compile options (see engine/CMakeLists.txt and the top CMakeLists.txt)."""
    flags = ["-pthread", "-O3", "-ffp-contract=off", "-fno-fast-math", "-fno-trapping-math",
             "-fno-math-errno"]
    if platform.machine() in ("x86_64", "AMD64"):
        flags.append("-mprefer-vector-width=512")
    return flags


VERSION = project_version()
write_version_header(VERSION)
# Relative paths keep the object files under build/.
sources = sorted(os.path.relpath(path, HERE) for path in (TOP / "engine").rglob("*.cpp"))
ParallelCompile("CANNY_BUILD_JOBS").install()
setup(
    version=VERSION,
    ext_modules=[Pybind11Extension(
        "canny_engine._core", ["src/core.cpp", *sources], cxx_std=20,
        include_dirs=[str(TOP), str(TOP / "engine" / "include"), str(GENERATED)],
        extra_compile_args=engine_flags(),
        extra_link_args=["-pthread"], define_macros=[("NDEBUG", None)])],
)
