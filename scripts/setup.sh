#!/usr/bin/env bash
# Makes sure the tools needed to build and test VORTAN are present: cmake, g++ and
# GoogleTest. Missing Debian packages are installed when run as root; otherwise the
# script says what is missing and stops.
set -euo pipefail

missing=()
command -v cmake >/dev/null 2>&1 || missing+=(cmake)
command -v g++ >/dev/null 2>&1 || missing+=(g++)
command -v make >/dev/null 2>&1 || missing+=(make)
if [ ! -f /usr/include/gtest/gtest.h ] && [ ! -f /usr/local/include/gtest/gtest.h ]; then
  missing+=(libgtest-dev)
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
