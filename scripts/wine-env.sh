# Sourced by scripts/session.sh and scripts/wine-run.sh: the one shell reader
# of a build's wine.env (written by cmake/Wine.cmake, one NAME=value a line).
#
# wine_env_read FILE sets each NAME as a global of the calling shell and
# exports QEMU_RESERVED_VA when the file has it: where qemu runs Wine's 32-bit
# side, every Wine process (and every process it starts) needs it.
wine_env_read() {
  local name value
  while IFS='=' read -r name value; do
    if [ -n "$name" ]; then declare -g "$name=$value"; fi
  done <"$1"
  [ -z "${QEMU_RESERVED_VA:-}" ] || export QEMU_RESERVED_VA
}
