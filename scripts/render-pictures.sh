#!/usr/bin/env bash
# Renders the README's pictures (docs/pictures/*.png, 800 x 500) from bundled examples,
# without a screen: VTK's offscreen rendering through python3-vtk9, under xvfb-run
# when there is no X display (Debian's VTK draws through X). Missing Debian packages
# (python3-vtk9, xvfb) are installed when run as root. Needs the build (scripts/build.sh),
# with vortan-gmsh for the plate with a hole.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

need=()
/usr/bin/python3 -c 'import vtk' >/dev/null 2>&1 || need+=(python3-vtk9)
if [ -z "${DISPLAY:-}" ] && ! command -v xvfb-run >/dev/null 2>&1; then need+=(xvfb); fi
if [ ${#need[@]} -ne 0 ]; then
  if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null 2>&1; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q "${need[@]}"
  else
    echo "render-pictures.sh needs these Debian packages: ${need[*]}" >&2
    exit 1
  fi
fi
[ -x build/vortan ] || ./scripts/build.sh
if [ ! -x build/vortan-gmsh ]; then
  echo "render-pictures.sh: build/vortan-gmsh is missing (Debian libgmsh-dev, then scripts/build.sh)" >&2
  exit 1
fi

render() {
  if [ -n "${DISPLAY:-}" ]; then
    /usr/bin/python3 "$root/scripts/render_vtk.py" "$@"
  else
    xvfb-run -a -s "-screen 0 1024x768x24" /usr/bin/python3 "$root/scripts/render_vtk.py" "$@"
  fi
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p docs/pictures

# The cantilever of the examples, deformed, by von Mises stress.
cp examples/cantilever-plane-stress.vtn "$work/"
(cd "$work" && "$root/build/vortan" cantilever-plane-stress.vtn >/dev/null)
render "$work/cantilever-plane-stress.vtu" docs/pictures/cantilever-von-mises.png \
  --colour VonMises --title "cantilever-plane-stress.vtn: von Mises stress on the deformed shape"

# The plate with a hole: geometry -> Gmsh mesh -> deck -> run -> picture.
build/vortan-gmsh examples/plate-with-hole.geo "$work/plate-with-hole.vtn" \
  --fix left=x --fix bottom=y --fix right=x:0.01 --material "YOUNG=1000 POISSON=0.3"
(cd "$work" && "$root/build/vortan" plate-with-hole.vtn >/dev/null)
render "$work/plate-with-hole.vtu" docs/pictures/plate-with-hole-von-mises.png \
  --colour VonMises --title "plate-with-hole.geo: von Mises stress, the right edge pulled along x"

ls -l docs/pictures/*.png
