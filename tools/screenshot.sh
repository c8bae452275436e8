#!/usr/bin/env bash
# Takes the picture of the main window during a download that the README shows.
#   tools/screenshot.sh [program] [picture]
# Runs the program on a virtual screen (Xvfb) under a small window manager (icewm), so the
# window has its real frame, against a rate-limited nginx on 127.0.0.1, presses Enter to
# start the batch and photographs the window a few seconds in.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/release/tarnis}
picture=${2:-$root/docs/main-window.png}
[[ -x "$program" ]] || { echo "no program at $program (run tools/run.sh or build first)"; exit 1; }

work=$(mktemp -d)
chmod 755 "$work" # nginx's workers read the served files as another user
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work" /tmp/tarnis-demo
}
trap cleanup EXIT

# A program directory of its own, with a list of three files and a target folder.
# The target folder has a fixed name, since the picture shows it.
folder=/tmp/tarnis-demo/下载
rm -rf /tmp/tarnis-demo
mkdir -p "$work/program" "$work/www" "$folder"
cp "$program" "$work/program/tarnis"
for name in tarnis-1.0-setup.exe manual.pdf sources.tar.gz; do
    head -c 6000000 /dev/zero >"$work/www/$name"
done
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat >"$work/nginx.conf" <<CONF
worker_processes 1;
daemon off;
pid $work/nginx.pid;
error_log $work/nginx-error.log;
events {}
http {
    access_log off;
    client_body_temp_path $work/body;
    proxy_temp_path $work/proxy;
    fastcgi_temp_path $work/fastcgi;
    uwsgi_temp_path $work/uwsgi;
    scgi_temp_path $work/scgi;
    server {
        listen 127.0.0.1:$port;
        root $work/www;
        location / { limit_rate 350k; }
    }
}
CONF
nginx -c "$work/nginx.conf" -e "$work/nginx-error.log" &
pids+=($!)

printf 'http://127.0.0.1:%s/%s\r\n' "$port" tarnis-1.0-setup.exe "$port" manual.pdf \
    "$port" sources.tar.gz >"$work/program/ZELM.txt"
printf '[ZELM]\r\n下载文件地址路径=%s\r\n保存下载文件夹路径=%s\r\n' \
    "$work/program/ZELM.txt" "$folder" | iconv -f UTF-8 -t GBK >"$work/program/ZELM.ini"

# A screen of its own; -displayfd reports the display number once the server is ready.
exec {displayfd}<> <(:)
Xvfb -displayfd "$displayfd" -screen 0 800x600x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
read -r -t 10 display <&"$displayfd"
export DISPLAY=":$display"
icewm >"$work/icewm.log" 2>&1 &
pids+=($!)
sleep 1

(cd "$work/program" && exec ./tarnis) >"$work/tarnis.log" 2>&1 &
pids+=($!)
window=$(xdotool search --sync --name '^Tarnis1\.0$' | head -n 1)
sleep 1
xdotool windowactivate --sync "$window" key Return
sleep 4

# The window with its frame, as the window manager drew it.
read -r x y width height < <(xwininfo -id "$window" |
    awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
         /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}')
IFS=', ' read -r left right top bottom < <(xprop -id "$window" _NET_FRAME_EXTENTS |
    sed 's/.*= //')
# The flight path of the paper sheets between the globe and the folder, in screen pixels.
flight="170x40+$((x + 16 + 45 + 50))+$((y + 9 + 3))"
x=$((x - left)) y=$((y - top)) width=$((width + left + right)) height=$((height + top + bottom))
margin=12
crop="$((width + 2 * margin))x$((height + 2 * margin))+$((x - margin))+$((y - margin))"

# A few shots over most of one animation cycle; the one with a sheet in mid-flight (the most
# ink on the path) is kept.
best="" best_ink=-1
for shot in 1 2 3 4 5 6 7 8; do
    import -window root "$work/shot$shot.png"
    ink=$(convert "$work/shot$shot.png" -crop "$flight" +repage -colorspace gray -negate \
        -format '%[fx:int(1000000*mean)]' info:)
    if ((ink > best_ink)); then best="$work/shot$shot.png" best_ink=$ink; fi
    sleep 0.2
done
mkdir -p "$(dirname "$picture")"
convert "$best" -crop "$crop" +repage "$picture"
echo "wrote $picture: window frame ${width}x${height} at ${x},${y}"
