#!/usr/bin/env bash
# Downloads a 1 GiB file from nginx on 127.0.0.1 with tarnis_fetch and with curl, wget and
# aria2c, several times each, and prints the medians side by side with ratios to curl.
#   bench/run.sh            RUNS=5 bench/run.sh            ONLY='^(curl|tarnis-)' bench/run.sh
# Never part of the test suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${RUNS:-3}
size_mib=${SIZE_MIB:-1024}
limited_mib=${LIMITED_MIB:-256}     # the file of the rate-limited case
limit_rate=${LIMIT_RATE:-16m}       # nginx's limit per connection in that case

missing=()
command -v wget >/dev/null || missing+=(wget)
command -v aria2c >/dev/null || missing+=(aria2)
command -v curl >/dev/null || missing+=(curl)
if [[ ${#missing[@]} -gt 0 ]]; then
    sudo=(); [[ $(id -u) -eq 0 ]] || sudo=(sudo)
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q "${missing[@]}" >/dev/null
fi

build="$root/build/bench"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNIS_BUILD_UI=OFF \
    -DTARNIS_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j 2 --target tarnis_fetch >/dev/null
fetch="$build/bench/tarnis_fetch"

work=$(mktemp -d "${TMPDIR:-/tmp}/tarnis-bench-XXXXXX")
nginx_pid=
cleanup() {
    [[ -n $nginx_pid ]] && kill "$nginx_pid" 2>/dev/null && wait "$nginx_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/www" "$work/out" "$work/nginx"
echo "Making the test files ($size_mib MiB and $limited_mib MiB of random bytes)..."
head -c "$((size_mib * 1024 * 1024))" /dev/urandom >"$work/www/big.bin"
head -c "$((limited_mib * 1024 * 1024))" /dev/urandom >"$work/www/limited.bin"

free_port() {
    python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'
}
port=$(free_port)
limited_port=$(free_port)
cat >"$work/nginx/nginx.conf" <<CONF
daemon off;
master_process off;
worker_processes 1;
pid $work/nginx/nginx.pid;
error_log $work/nginx/error.log warn;
events { worker_connections 256; }
http {
  access_log off;
  default_type application/octet-stream;
  sendfile on;
  client_body_temp_path $work/nginx/body;
  proxy_temp_path $work/nginx/proxy;
  fastcgi_temp_path $work/nginx/fastcgi;
  uwsgi_temp_path $work/nginx/uwsgi;
  scgi_temp_path $work/nginx/scgi;
  server { listen 127.0.0.1:$port; root $work/www; }
  server { listen 127.0.0.1:$limited_port; root $work/www; limit_rate $limit_rate; }
}
CONF
/usr/sbin/nginx -p "$work/nginx/" -c "$work/nginx/nginx.conf" -e "$work/nginx/error.log" &
nginx_pid=$!
for _ in $(seq 100); do
    curl -s -o /dev/null "http://127.0.0.1:$port/" 2>/dev/null && break
    sleep 0.1
done

# run_once <label> <bytes> <command...>: one timed download, checked against its source,
# appended to the raw results as "label wall cpu rss_kib bytes".
run_once() {
    local label=$1 bytes=$2; shift 2
    [[ $label =~ ${ONLY:-.} ]] || return 0
    rm -rf "$work/out" && mkdir -p "$work/out"
    (cd "$work/out" && /usr/bin/time -f "%e %U %S %M" -o "$work/time.txt" "$@" >/dev/null 2>"$work/err.txt") ||
        { echo "$label failed:" >&2; cat "$work/err.txt" >&2; return 1; }
    # Sizes prove nothing for a file allocated in advance: compare the bytes.
    local got source
    got=$(find "$work/out" -type f | head -n1)
    source="$work/www/big.bin"; [[ $label == limited:* ]] && source="$work/www/limited.bin"
    cmp -s "$got" "$source" || { echo "$label: the file differs from the source" >&2; return 1; }
    read -r wall user sys rss <"$work/time.txt"
    echo "$label $wall $(echo "$user + $sys" | bc -l) $rss $bytes" >>"$raw"
}

big="http://127.0.0.1:$port/big.bin"
limited="http://127.0.0.1:$limited_port/limited.bin"
big_bytes=$((size_mib * 1024 * 1024))
limited_bytes=$((limited_mib * 1024 * 1024))
raw="$work/raw.txt"
: >"$raw"

# Every round runs every case once, so a neighbour's load or the disk's write-back spreads
# over all of them instead of favouring whichever ran first.
sync
curl -s -o /dev/null "$big" # warm-up: the source file is read into the page cache
echo "Running $runs rounds..."
for round in $(seq "$runs"); do
    run_once "curl" $big_bytes curl -s -o big.bin "$big"
    run_once "wget" $big_bytes wget -q -O big.bin "$big"
    run_once "aria2c-x1" $big_bytes aria2c -q -x1 -s1 --allow-overwrite=true -o big.bin "$big"
    run_once "aria2c-x4-s4" $big_bytes aria2c -q -x4 -s4 --allow-overwrite=true -o big.bin "$big"
    run_once "tarnis-program-settings" $big_bytes "$fetch" --buffer 10240 --block 10240 --out . "$big"
    run_once "tarnis-defaults" $big_bytes "$fetch" --out . "$big"
    run_once "tarnis-x4" $big_bytes "$fetch" --connections 4 --out . "$big"
    run_once "limited:curl" $limited_bytes curl -s -o limited.bin "$limited"
    run_once "limited:aria2c-x4-s4" $limited_bytes aria2c -q -x4 -s4 --allow-overwrite=true -o limited.bin "$limited"
    run_once "limited:tarnis-x1" $limited_bytes "$fetch" --out . "$limited"
    run_once "limited:tarnis-x4" $limited_bytes "$fetch" --connections 4 --out . "$limited"
    echo "  round $round done"
done

# Medians per case, in the order the cases first appear.
results="$work/results.txt"
awk '{ print $1 }' "$raw" | awk '!seen[$0]++' | while read -r label; do
    median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
    wall=$(awk -v l="$label" '$1 == l { print $2 }' "$raw" | median)
    cpu=$(awk -v l="$label" '$1 == l { print $3 }' "$raw" | median)
    rss=$(awk -v l="$label" '$1 == l { print $4 }' "$raw" | median)
    bytes=$(awk -v l="$label" '$1 == l { print $5; exit }' "$raw")
    echo "$label $wall $cpu $rss $bytes"
done >"$results"

echo
echo "nginx on 127.0.0.1, $size_mib MiB (limited: $limited_mib MiB at $limit_rate per connection), median of $runs"
awk '
    { label[NR]=$1; wall[NR]=$2; cpu[NR]=$3; rss[NR]=$4; bytes[NR]=$5 }
    $1 == "curl" { cw=$2; cc=$3/($5/1073741824) }
    $1 == "limited:curl" { lw=$2 }
    $1 == "limited:tarnis-x1" { l1=$2 }
    $1 == "limited:tarnis-x4" { l4=$2 }
    END {
        printf "%-26s %8s %9s %11s %9s %10s %9s\n", "case", "wall s", "MiB/s", "CPU s/GiB", "RSS MiB", "speed/curl", "CPU/curl"
        for (i = 1; i <= NR; ++i) {
            mibs = bytes[i] / 1048576 / wall[i]
            cpg = cpu[i] / (bytes[i] / 1073741824)
            ref = (label[i] ~ /^limited:/) ? lw : cw
            if (ref == 0) ref = wall[i]
            if (cc == 0) cc = cpg
            printf "%-26s %8.2f %9.1f %11.2f %9.1f %9.2fx %8.2fx\n", label[i], wall[i], mibs, cpg, rss[i]/1024, ref/wall[i], cpg/cc
        }
        if (l1 > 0 && l4 > 0)
            printf "\nfour connections vs one on the limited server: %.2fx\n", l1 / l4
    }' "$results"
