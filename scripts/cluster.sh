# Shared by scripts/demo and scripts/test: a private PostgreSQL cluster that listens on a Unix
# socket only. The server refuses to run as root, so it runs as the system user "postgres".
PG_BIN=/usr/lib/postgresql/15/bin

as_pg() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  elif [ "$(id -un)" = postgres ]; then
    "$@"
  else
    sudo -u postgres -- "$@"
  fi
}

# cluster_init DATADIR SOCKETDIR
cluster_init() {
  mkdir -p "$1" "$2"
  [ "$(id -u)" -eq 0 ] && chown postgres:postgres "$1" "$2"
  chmod 700 "$1"
  as_pg "$PG_BIN/initdb" -D "$1" -U postgres --auth=trust -E UTF8 --locale=C.UTF-8 >/dev/null
}

# cluster_start DATADIR SOCKETDIR LOGFILE
cluster_start() {
  [ "$(id -u)" -eq 0 ] && touch "$3" && chown postgres:postgres "$3"
  as_pg "$PG_BIN/pg_ctl" -D "$1" -l "$3" -w -t 60 \
    -o "-c listen_addresses='' -k $2 -c fsync=off -c max_connections=100" start >/dev/null
}

# cluster_stop DATADIR
cluster_stop() {
  as_pg "$PG_BIN/pg_ctl" -D "$1" -m fast -w stop >/dev/null 2>&1 || true
}
