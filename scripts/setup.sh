#!/usr/bin/env bash
# Makes sure the tools needed to build and test VORTAN are present: cmake, g++ and
# GoogleTest (and, for the tests that read VTK files back, python3-vtk9; for the sparse
# direct solver, libsuitesparse-dev and libopenblas-dev; for the mesh import tool,
# libgmsh-dev). Missing Debian packages are installed when run as root; otherwise the
# script says what is missing and stops (a missing python3-vtk9, libsuitesparse-dev,
# libopenblas-dev or libgmsh-dev is only named).
set -euo pipefail

missing=()
command -v cmake >/dev/null 2>&1 || missing+=(cmake)
command -v g++ >/dev/null 2>&1 || missing+=(g++)
command -v make >/dev/null 2>&1 || missing+=(make)
if [ ! -f /usr/include/gtest/gtest.h ] && [ ! -f /usr/local/include/gtest/gtest.h ]; then
  missing+=(libgtest-dev)
fi

# The sparse direct solver factors with SuiteSparse CHOLMOD (with METIS) over an
# optimised BLAS. The program builds without them (the solver then stops naming the
# package): installed when run as root, otherwise only named.
sparse=()
if [ ! -f /usr/include/suitesparse/cholmod.h ]; then
  sparse+=(libsuitesparse-dev)
fi
if ! compgen -G '/usr/lib/*/libopenblas.so*' >/dev/null && ! compgen -G '/usr/lib/libopenblas.so*' >/dev/null; then
  sparse+=(libopenblas-dev)
fi

# VTK's Python bindings read the VTK files back in the post-processing tests, which
# are skipped without them: installed when run as root, otherwise only named.
optional=()
if ! python3 -c 'import vtk' >/dev/null 2>&1 && ! /usr/bin/python3 -c 'import vtk' >/dev/null 2>&1; then
  if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null 2>&1; then
    missing+=(python3-vtk9)
  else
    optional+=(python3-vtk9)
  fi
fi
if [ ${#sparse[@]} -ne 0 ]; then
  if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null 2>&1; then
    missing+=("${sparse[@]}")
  else
    optional+=("${sparse[@]}")
  fi
fi
# The Gmsh library builds the mesh import tool vortan-gmsh and its tests, which are left
# out without it: installed when run as root, otherwise only named.
if [ ! -f /usr/include/gmsh.h ] && [ ! -f /usr/local/include/gmsh.h ]; then
  if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null 2>&1; then
    missing+=(libgmsh-dev)
  else
    optional+=(libgmsh-dev)
  fi
fi
if [ ${#optional[@]} -ne 0 ]; then
  echo "Optional Debian packages missing (python3-vtk9: the tests that read VTK files back are skipped;" \
    "libsuitesparse-dev, libopenblas-dev: the sparse direct solver stops; libgmsh-dev: vortan-gmsh is not built): ${optional[*]}" >&2
fi

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null 2>&1; then
  echo "Installing missing packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q "${missing[@]}"
else
  echo "VORTAN needs these Debian packages, which are missing: ${missing[*]}" >&2
  echo "Install them (as root: apt-get install ${missing[*]}) and run this command again." >&2
  exit 1
fi
