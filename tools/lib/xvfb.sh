# Sourced by the scripts that need an X server: starts a private Xvfb on a free
# display and stops it (and the build prefixes' wineservers) when the script ends.
#   zq_start_xvfb WIDTHxHEIGHT "PREFIX [PREFIX...]"
zq_xvfb_pid=
zq_wineprefix=
zq_stop_xvfb() {
  local prefix
  for prefix in $zq_wineprefix; do WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; done
  [ -n "$zq_xvfb_pid" ] && kill "$zq_xvfb_pid" 2>/dev/null || true
}
zq_start_xvfb() {
  local size=$1
  zq_wineprefix=$2
  local n
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
      zq_xvfb_pid=$!
      export DISPLAY=":$n"
      trap zq_stop_xvfb EXIT
      # Wait until the server answers.
      for _ in $(seq 1 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && return 0
        sleep 0.1
      done
      return 0
    fi
  done
  echo "no free X display" >&2
  return 1
}
