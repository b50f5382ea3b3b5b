# Sourced by the benchmark scripts: nginx on a free loopback port, serving a
# folder, with its configuration, pid file, logs and temporary files in a
# folder of the caller's (which removes it).
#
#   . bench/nginx.sh
#   bench_workdir             # sets BENCH_TMP, removed at exit (nginx stopped first)
#   nginx_start "$BENCH_TMP"  # serves $BENCH_TMP/www; sets NGINX_PORT and NGINX_PID
#   ...
#   nginx_stop                # also safe when nginx never started

NGINX_PID=
NGINX_PORT=

nginx_start() {
  local dir=$1
  local nginx_bin
  nginx_bin=$(command -v nginx || echo /usr/sbin/nginx)
  [ -x "$nginx_bin" ] || { echo "nginx is not installed" >&2; return 2; }
  NGINX_PORT=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
  local user_line=""
  [ "$(id -u)" -eq 0 ] && user_line="user root;"
  mkdir -p "$dir/www"
  cat > "$dir/nginx.conf" <<CONF
daemon off;
master_process off;
worker_processes 1;
$user_line
pid $dir/nginx.pid;
error_log $dir/error.log;
events { worker_connections 256; }
http {
  access_log off;
  default_type text/plain;
  sendfile on;
  client_body_temp_path $dir/client_body;
  proxy_temp_path $dir/proxy;
  fastcgi_temp_path $dir/fastcgi;
  uwsgi_temp_path $dir/uwsgi;
  scgi_temp_path $dir/scgi;
  server { listen 127.0.0.1:$NGINX_PORT; root $dir/www; }
}
CONF
  "$nginx_bin" -p "$dir" -c "$dir/nginx.conf" &
  NGINX_PID=$!
  # Ready once it answers; a refused connect fails at once, so this polls.
  local _
  for _ in $(seq 1 200); do
    curl -0 -s -o /dev/null "http://127.0.0.1:$NGINX_PORT/" && return 0
    kill -0 "$NGINX_PID" 2>/dev/null || break
    sleep 0.05
  done
  echo "nginx did not start (see $dir/error.log)" >&2
  return 1
}

nginx_stop() {
  if [ -n "$NGINX_PID" ]; then
    kill "$NGINX_PID" 2>/dev/null || true
    wait "$NGINX_PID" 2>/dev/null || true
    NGINX_PID=
  fi
  return 0
}

bench_workdir() {
  BENCH_TMP=$(mktemp -d)
  trap 'nginx_stop; rm -rf "$BENCH_TMP"' EXIT
}
