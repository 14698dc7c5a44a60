# Sourced by the benchmark scripts: stops the script with one clear line
# when something it runs is not there. The caller sets `script` (its name
# in messages) and `build` (the build folder).

# Programs this project builds.
require_built() {
  local program
  for program in "$@"; do
    if [ ! -x "$program" ]; then
      echo "$script: $program is missing; build the $build folder first" >&2
      exit 1
    fi
  done
}

# Programs from the system's packages.
require_installed() {
  local program
  for program in "$@"; do
    if ! command -v "$program" >/dev/null; then
      echo "$script: $program is not installed (scripts/install-deps.sh bench installs it)" >&2
      exit 1
    fi
  done
}
