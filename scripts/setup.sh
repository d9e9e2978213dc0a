#!/usr/bin/env bash
# Installs what building, running and testing Lumatype need. Safe to run again:
# it installs only what is missing and changes nothing that already works.
set -euo pipefail

packages=(
  cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev clang-format
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
  wine64 fonts-wine fonts-liberation fontconfig libxrender1 libxcomposite1
  xvfb openbox xdotool x11-utils imagemagick python3 procps
  clang libclang-rt-dev zip
  x11-xkb-utils locales  # the German and French keymaps and locales of the layout tests
)
# The shipped program is 32-bit: Wine's 32-bit side runs it, under qemu's
# user-mode emulator where the kernel cannot run 32-bit code itself.
wine32=/usr/lib/wine/wine

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null; then as_root=(sudo); else as_root=(false); fi
fi
export DEBIAN_FRONTEND=noninteractive
updated=
# apt's own output goes to this log, and is shown only when a step fails.
log=$(cd "$(dirname "$0")/.." && pwd)/build/setup.log
mkdir -p "$(dirname "$log")"

missing_of() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

# step WHAT COMMAND...: one line on the terminal; on failure also the output.
step() {
  local what=$1 out
  shift
  out=$(mktemp)
  printf '%s... ' "$what"
  if "$@" >"$out" 2>&1; then
    echo done
    { echo "== $what"; cat "$out"; } >>"$log"
    rm -f "$out"
  else
    echo "FAILED (log: $log):"
    { echo "== $what (failed)"; cat "$out"; } >>"$log"
    sed 's/^/  /' "$out"
    rm -f "$out"
    return 1
  fi
}

install() {
  if [ -z "$updated" ]; then
    step "Updating the package lists" "${as_root[@]}" apt-get update -qq && updated=1
  fi
  step "Installing $*" "${as_root[@]}" apt-get install -y -q --no-install-recommends "$@"
}

mapfile -t missing < <(missing_of "${packages[@]}")
if ((${#missing[@]})); then install "${missing[@]}"; fi

# Under qemu, Wine's 32-bit side needs the guest's address space reserved
# on newer kernels (cmake/Wine.cmake passes the same to every run).
runs_wine32() { QEMU_RESERVED_VA=0xf7000000 timeout 300 "$wine32" --version >/dev/null 2>&1; }

if ! runs_wine32; then
  echo "32-bit Windows programs do not run yet; making them runnable..."
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    step "Adding the i386 architecture" "${as_root[@]}" dpkg --add-architecture i386 || true
    updated=
  fi
  mapfile -t missing < <(missing_of wine32:i386)
  if ((${#missing[@]})); then install "${missing[@]}" || true; fi
  # Only a kernel without 32-bit support needs qemu registered for 32-bit
  # ELF files; Debian's qemu-user-binfmt leaves i386 out on amd64 hosts.
  if [ -x "$wine32" ] && ! runs_wine32 && [ "$(id -u)" -eq 0 ] &&
    [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
    mapfile -t missing < <(missing_of qemu-user)
    if ((${#missing[@]})); then install "${missing[@]}" || true; fi
    echo "The kernel cannot run 32-bit programs: registering qemu-i386 for them"
    [ -e /proc/sys/fs/binfmt_misc/register ] ||
      mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc || true
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:F' \
      >/proc/sys/fs/binfmt_misc/register 2>/dev/null || true
  fi
  if runs_wine32; then
    echo "32-bit Windows programs run: $("$wine32" --version)"
  else
    why="the 32-bit Wine loader $wine32 does not run"
    [ -x "$wine32" ] || why="$wine32 is missing (package wine32:i386, architecture i386)"
    if [ -x "$wine32" ] && [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ] && [ "$(id -u)" -ne 0 ]; then
      why="$why; the kernel runs no 32-bit code and registering qemu-i386 for it needs root"
    fi
    echo "WARNING: 32-bit Windows programs cannot run here: $why." >&2
    echo "WARNING: the 32-bit tests will be reported as skipped." >&2
  fi
fi
