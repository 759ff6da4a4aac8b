#!/usr/bin/env bash
# Kills `tarnbook-cli save` with SIGKILL at a random moment, many times, on a 20,000-node
# project: once for saves that upgrade a previous-layout project, once for ordinary saves.
# After every kill the project must open (`dump`) with all its nodes intact, and that open
# must leave no temporary file of the killed save behind.
#
#   tools/kill-save-trials.sh [TRIALS] [CLI]     (defaults: 300, build/src/apps/cli/tarnbook-cli)
#
# Prints one line per save path and exits 1 when any trial found a corrupt or unreadable
# project or a stale temporary.
set -euo pipefail
cd "$(dirname "$0")/.."
trials=${1:-300}
cli=$(realpath "${2:-build/src/apps/cli/tarnbook-cli}")
nodes=${NODES:-20000}
[ -x "$cli" ] || { echo "no CLI at $cli: build first" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
home="$work/home"
mkdir -p "$home"

# A project in the previous (1028-byte) or current (1848-byte) record layout.
make_project() {  # folder layout version
  python3 - "$1" "$2" "$3" "$nodes" <<'PY'
import os, sys
folder, layout, version, n = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
size = 1028 if layout == "previous" else 1848
os.makedirs(folder + "/_RESOURCE", exist_ok=True)
def put(rec, at, text):
    rec[at] = len(text)
    rec[at + 1:at + 1 + len(text)] = text
out = bytearray()
for i in range(n):
    rec = bytearray(size)
    put(rec, 8, b"node %d" % i)
    put(rec, 259, b"p%d.htm" % i)
    rec[512] = 8
    rec[516] = 0 if i % 10 == 0 else 1          # headings every tenth node
    put(rec, 520, b"kw%d" % i)
    out += rec
with open(folder + "/K.XHC", "wb") as f:
    f.write(out)
with open(folder + "/K.XHP", "wb") as f:
    f.write(("[XHP]\r\nPDir=%s\r\nName=K\r\nXHP=%s/K.XHP\r\nXHC=%s/K.XHC\r\n"
             "Version=%s\r\nCount=%d\r\n\r\n" % (folder, folder, folder, version, n)).encode())
PY
}

# The node part of `dump`: what must survive every kill.
nodes_of() {
  python3 -c 'import json,sys; d=json.load(sys.stdin); print(json.dumps(d["nodes"], sort_keys=True))'
}

run_path() {  # name layout version
  local name=$1 pristine="$work/$1-pristine" proj="$work/$1"
  make_project "$pristine" "$2" "$3"
  local expected
  expected=$("$cli" --home "$home" --quiet dump "$pristine/K.XHP" 2>/dev/null | nodes_of | md5sum)
  # How long one save takes decides the window the kills fall into.
  rm -rf "$proj"; cp -r "$pristine" "$proj"
  local t0 t1 span
  t0=$(date +%s%N); "$cli" --home "$home" --quiet save "$proj/K.XHP" >/dev/null 2>&1; t1=$(date +%s%N)
  span=$(( (t1 - t0) / 1000 ))   # microseconds
  local corrupt=0 unreadable=0 stale=0 old=0 new=0 leftover=0
  for ((i = 1; i <= trials; i++)); do
    rm -rf "$proj"; cp -r "$pristine" "$proj"
    local before delay
    before=$(stat -c %i "$proj/K.XHC")
    delay=$(( (RANDOM * 32768 + RANDOM) % span ))
    "$cli" --home "$home" --quiet save "$proj/K.XHP" >/dev/null 2>&1 &
    local pid=$!
    sleep "$(printf '%d.%06d' $((delay / 1000000)) $((delay % 1000000)))"
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    if [ -n "$(find "$proj" -maxdepth 1 -name '.K.XH[PC].*' -print -quit)" ]; then
      leftover=$((leftover + 1))
    fi
    local out
    if ! out=$("$cli" --home "$home" --quiet dump "$proj/K.XHP" 2>"$work/dump.err"); then
      # The first one is shown: what the author would be told.
      [ "$unreadable" -eq 0 ] && sed 's/^/  dump: /' "$work/dump.err" >&2
      unreadable=$((unreadable + 1)); continue
    fi
    if [ "$(printf '%s' "$out" | nodes_of | md5sum)" != "$expected" ]; then
      corrupt=$((corrupt + 1))
    fi
    if [ "$(stat -c %i "$proj/K.XHC")" != "$before" ]; then new=$((new + 1)); else old=$((old + 1)); fi
    local left
    left=$(find "$proj" -maxdepth 1 -name '.K.XH[PC].*' | wc -l)
    stale=$((stale + left))
  done
  echo "$name: $trials kills within ${span}us saves: $corrupt corrupt, $unreadable unreadable," \
       "$stale stale temporaries after the next open (the kill left temporaries in $leftover;" \
       "contents file replaced in $new, kept in $old)"
  [ $((corrupt + unreadable + stale)) -eq 0 ]
}

# PATHS="upgrade" or "ordinary" runs one of the two.
status=0
case " ${PATHS:-upgrade ordinary} " in *" upgrade "*) run_path upgrade previous 200 || status=1 ;; esac
case " ${PATHS:-upgrade ordinary} " in *" ordinary "*) run_path ordinary current 249 || status=1 ;; esac
exit $status
