"""Builds kelochart._native with the project's CMake build (the library and the tool's pieces
linked statically into the module), so the package draws with the very code of the tool.

KELOCHART_CMAKE_BUILD_DIR names an already configured build tree to reuse (the test command
passes its own, so the library is not compiled twice); without it a Release tree is made in
setuptools' temporary folder. CMAKE_BUILD_PARALLEL_LEVEL sets the compile jobs (default 2).
"""
import os
import shutil
import subprocess
import sys

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = os.path.dirname(os.path.abspath(__file__))


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        reuse = os.environ.get("KELOCHART_CMAKE_BUILD_DIR")
        build_dir = os.path.abspath(reuse) if reuse else os.path.join(os.path.abspath(self.build_temp), "cmake")
        os.makedirs(build_dir, exist_ok=True)
        args = ["-DKELOCHART_BUILD_PYTHON=ON", f"-DPYTHON_EXECUTABLE={sys.executable}"]
        if not os.path.exists(os.path.join(build_dir, "CMakeCache.txt")):
            args += ["-DCMAKE_BUILD_TYPE=Release", "-DKELOCHART_BUILD_TESTS=OFF", "-DKELOCHART_BUILD_BENCH=OFF"]
            if shutil.which("ninja"):
                args += ["-G", "Ninja"]
            if shutil.which("ccache"):
                args += ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"]
        env = dict(os.environ)
        env.setdefault("CMAKE_BUILD_PARALLEL_LEVEL", "2")
        env.setdefault("CCACHE_BASEDIR", ROOT)
        env.setdefault("CCACHE_NOHASHDIR", "1")
        subprocess.run(["cmake", "-S", ROOT, "-B", build_dir, *args], check=True, env=env)
        subprocess.run(["cmake", "--build", build_dir, "--target", "kelochart_python"], check=True, env=env)
        suffix = self.get_ext_filename("_native").split("_native", 1)[1]
        built = os.path.join(build_dir, "python", "_native" + suffix)
        target = self.get_ext_fullpath(ext.name)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(built, target)


# setuptools works in build-python/, apart from the CMake trees (build/, build-test/, ...).
setup(ext_modules=[Extension("kelochart._native", sources=[])], cmdclass={"build_ext": CMakeBuild},
      options={"build": {"build_base": "build-python"}})
