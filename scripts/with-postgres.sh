#!/usr/bin/env bash
# Runs a command beside a throwaway PostgreSQL server:
#
#   scripts/with-postgres.sh [--tcp] [--durable] COMMAND [ARGS...]
#
# The server is initialised into a fresh temporary folder as the unprivileged
# `postgres` user, listens only on a Unix socket in that folder (with --tcp:
# on 127.0.0.1, at a free port), writes without waiting for the disk (with
# --durable: as a real server does), answers a refused login only after half
# a second, logs into data/log (as JSON lines too), and is stopped by its pid
# when the command ends, whether it passed or not. The command finds the server in
# KVT_TEST_POSTGRES, a connection text without Provider and Database
# ("Host=/tmp/kvt-pg.x;Port=5432;User ID=postgres;Password=..."), with an
# empty database "kvt", and the login gate kvt_gate's password in the libpq
# password file PGPASSFILE. When the server cannot start, nothing runs and the
# script fails with the server's log.
set -euo pipefail
tcp=false; durable=false
while :; do
  case "${1:-}" in
    --tcp) tcp=true; shift ;;
    --durable) durable=true; shift ;;
    *) break ;;
  esac
done

bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
  echo "with-postgres: no PostgreSQL server installed (scripts/setup.sh installs it)" >&2
  exit 1
fi
if ! id postgres >/dev/null 2>&1; then
  echo "with-postgres: there is no 'postgres' user to run the server as" >&2
  exit 1
fi

dir=$(mktemp -d /tmp/kvt-pg.XXXXXX)
pid=""
stop_server() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill -INT "$pid"  # fast shutdown: ends sessions, no checkpoint wait
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && kill -KILL "$pid"
  fi
  rm -rf "$dir"
}
trap stop_server EXIT
trap 'exit 130' INT TERM

chown postgres: "$dir"
chmod 700 "$dir"
password=$(od -An -N12 -tx1 /dev/urandom | tr -d ' \n')
printf '%s\n' "$password" >"$dir/pwfile"
chown postgres: "$dir/pwfile"
as_postgres() { setpriv --reuid=postgres --regid=postgres --init-groups -- "$@"; }

fail() {
  echo "with-postgres: the PostgreSQL test server did not start: $1" >&2
  [ -f "$dir/server.log" ] && tail -n 20 "$dir/server.log" >&2
  for log in "$dir"/data/log/*.log; do [ -f "$log" ] && tail -n 20 "$log" >&2; done
  exit 1
}

as_postgres "$bin/initdb" -D "$dir/data" -U postgres --pwfile="$dir/pwfile" \
  --auth=scram-sha-256 -E UTF8 --locale=C.UTF-8 --no-sync \
  >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; fail "initdb failed"; }
rm -f "$dir/pwfile"

host=$dir; port=5432; listen=''
if $tcp; then
  # A port nobody answers on; another checkout's server may hold 5432.
  host=127.0.0.1; listen=127.0.0.1
  for _ in $(seq 50); do
    port=$((20000 + RANDOM % 30000))
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || break
  done
fi

# Durability is worthless for a server that lives for one test run, but a
# load test measures what a real server does.
speed=(-c fsync=off -c synchronous_commit=off -c full_page_writes=off)
$durable && speed=()
# A refused login answers only after a pause, as a real server's should,
# so that guessing passwords is slow.
guard=(-c shared_preload_libraries=auth_delay -c auth_delay.milliseconds=500)
# The log as JSON lines beside the readable one, with the statement of
# every error: the audit trail folds in what the server refused from it.
logging=(-c logging_collector=on -c log_destination=stderr,jsonlog
         -c log_min_error_statement=error)
# setpriv execs the server itself, so $! is the server's own pid.
setpriv --reuid=postgres --regid=postgres --init-groups -- \
  "$bin/postgres" -D "$dir/data" -k "$dir" -c listen_addresses="$listen" \
  -c port="$port" "${speed[@]}" "${guard[@]}" "${logging[@]}" -c max_connections=50 \
  >"$dir/server.log" 2>&1 &
pid=$!
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || fail "the server exited"
  "$bin/pg_isready" -q -h "$host" -p "$port" && break
  sleep 0.1
done
"$bin/pg_isready" -q -h "$host" -p "$port" || fail "no answer on $host:$port after 10 s"

# An empty database "kvt" for whatever the command wants to build.
PGPASSWORD="$password" "$bin/createdb" -h "$host" -p "$port" -U postgres kvt \
  || fail "no database could be made"
export KVT_TEST_POSTGRES="Host=$host;Port=$port;User ID=postgres;Password=$password"
# The login gate, through which the host counts refused logins: its
# password goes to the server on stdin and to the command in a libpq
# password file of the server's folder, never on a command line.
gate=$(od -An -N12 -tx1 /dev/urandom | tr -d ' \n')
printf "CREATE ROLE kvt_gate LOGIN PASSWORD '%s';\n" "$gate" |
  PGPASSWORD="$password" "$bin/psql" -q -X -v ON_ERROR_STOP=1 -h "$host" -p "$port" \
    -U postgres -d kvt >/dev/null || fail "the login gate could not be made"
printf '*:*:*:kvt_gate:%s\n' "$gate" >"$dir/pgpass"
chmod 600 "$dir/pgpass"
export PGPASSFILE="$dir/pgpass"
echo "with-postgres: server $pid listening on $host:$port"
set +e
"$@"
status=$?
set -e
exit $status
