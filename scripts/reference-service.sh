# Sourced by scripts that need the reference service: start_reference_service BINARY WORKDIR
# starts it with the demo account on a free loopback port and a database in WORKDIR, sets
# service_pid and base_url (http://127.0.0.1:PORT), and stops it when the script exits
# (WORKDIR is removed then too).

service_pid=""
service_work=""
stop_reference_service() {
  if [ -n "$service_pid" ]; then
    kill "$service_pid" 2>/dev/null || true
    wait "$service_pid" 2>/dev/null || true
  fi
  [ -z "$service_work" ] || rm -rf "$service_work"
}

start_reference_service() {
  local binary="$1"
  service_work="$2"
  trap stop_reference_service EXIT
  trap 'exit 130' INT TERM
  # The service prints "listening on http://ADDR:PORT" first; read it from a pipe.
  mkfifo "$service_work/service.out"
  "$binary" --seed-demo --port 0 --db "$service_work/service.db" \
    >"$service_work/service.out" 2>"$service_work/service.err" &
  service_pid=$!
  exec 3<"$service_work/service.out"
  local first_line
  if ! read -r -t 10 first_line <&3; then
    echo "the reference service did not start:" >&2
    cat "$service_work/service.err" >&2
    exit 1
  fi
  base_url="${first_line#listening on }"
}
