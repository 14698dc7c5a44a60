# Sourced by the benchmark scripts: stops the script with one clear line
# when something it runs is not there, and measures runs. The caller sets `script` (its name
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

# The run of least CPU time of $runs runs of a command:
# "cpu-seconds wall-seconds system-seconds peak-KB".
measure() {
  local best="" line
  for ((i = 0; i < runs; i++)); do
    line=$(/usr/bin/time -f '%e %U %S %M' "$@" 2>&1 >/dev/null | tail -1 |
      awk '{ print $2 + $3, $1, $3, $4 }')
    if [ -z "$best" ] || awk -v a="${line%% *}" -v b="${best%% *}" 'BEGIN { exit !(a < b) }'; then
      best=$line
    fi
  done
  echo "$best"
}

# One line of `measure`'s figures for a command, under `name`.
report() {
  local name=$1 result wall cpu sys kb
  shift
  result=$(measure "$@")
  read -r cpu wall sys kb <<<"$result"
  printf '%-46s %6.2f s wall %6.2f s CPU (%5.2f s system) %6d MB\n' \
    "$name" "$wall" "$cpu" "$sys" "$((kb / 1024))"
}
