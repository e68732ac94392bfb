# Sourced by the scripts and tests that start a program showing the panel on
# an X display: waiting for its window, and for its end.

# Prints the X window id of the panel once it is mapped; fails after 30 s.
wait_for_panel() {
  local window
  for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name '^SOLVANE$' 2>/dev/null | head -n 1) || true
    if [ -n "$window" ]; then
      echo "$window"
      return 0
    fi
    sleep 0.1
  done
  echo "the panel did not appear" >&2
  return 1
}

# Waits up to 30 s for process $1 to end and checks its exit code is $2.
expect_exit() {
  local pid=$1 want=$2 code
  for _ in $(seq 300); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "the program did not end" >&2
    kill "$pid"
    return 1
  fi
  code=0
  wait "$pid" || code=$?
  if [ "$code" != "$want" ]; then
    echo "exit code $code, expected $want" >&2
    return 1
  fi
}
