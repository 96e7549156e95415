#!/usr/bin/env bash
# Sizing and deleting a large cache tree with sentravex-cli, side by side with du, gdu and rm.
# Usage: bench/clean-bench.sh [ENTRIES...]   (default 100000; 1000000 is the long run)
# ROUNDS=N sets how many deletions of each kind are timed (default 2); ROUNDS=0 times sizing only.
set -euo pipefail
cd "$(dirname "$0")/.."
cli=build/bin/sentravex-cli
[ -x "$cli" ] || { echo "build first: ./x build" >&2; exit 2; }
[ $# -gt 0 ] || set -- 100000

work=$(mktemp -d "${TMPDIR:-/tmp}/sentravex-bench-XXXXXX")
trap 'chmod -R u+rwx "$work" 2>/dev/null; rm -rf "$work"' EXIT
user=bench
rounds=${ROUNDS:-2}

# Best of three warm runs: elapsed seconds and peak resident memory in MiB.
measure() {
    local best="" mem=0 line
    "$@" >/dev/null 2>&1 || true
    for _ in 1 2 3; do
        /usr/bin/time -o "$work/time" -f '%e %M' "$@" >/dev/null 2>&1 || true
        read -r secs kib <"$work/time"
        if [ -z "$best" ] || awk "BEGIN{exit !($secs < $best)}"; then best=$secs; fi
        (( kib > mem )) && mem=$kib
    done
    printf '%-34s %8.2f s %8.1f MiB\n' "$1${2:+ $2}" "$best" "$(awk "BEGIN{print $mem/1024}")"
}

# One deletion of a fresh copy; the copy is made outside the timing.
remove_once() {
    local what=$1 secs
    rm -rf "$work/copy"
    cp -a "$work/mac" "$work/copy"
    sync
    if [ "$what" = rm ]; then
        /usr/bin/time -o "$work/time" -f '%e' rm -rf "$work/copy/Users/$user/Library/Caches"
    else
        /usr/bin/time -o "$work/time" -f '%e' "$cli" clean --root "$work/copy" --user "$user" \
            --select "System/System Cache Files" --apply >/dev/null || true
    fi
    cat "$work/time"
}

for entries in "$@"; do
    rm -rf "$work/mac"
    caches="$work/mac/Users/$user/Library/Caches"
    made=$(python3 bench/make-cache-tree.py "$caches" "$entries")
    echo "== $made entries under $caches"
    echo "-- sizing (warm, best of 3)"
    measure "$cli" clean --root "$work/mac" --user "$user" --json
    measure du -s -B1 "$caches"
    if command -v gdu >/dev/null; then
        measure gdu -n -p -s "$caches"
    else
        echo "gdu                                 not installed, skipped"
    fi
    cli_bytes=$("$cli" clean --root "$work/mac" --user "$user" --json |
        python3 -c 'import json,sys; d=json.load(sys.stdin); print([i for c in d["categories"] if c["name"]=="System" for i in c["items"] if i["name"]=="System Cache Files"][0]["bytes"])')
    echo "   sizes: sentravex-cli $cli_bytes bytes, du $(du -s -B1 "$caches" | cut -f1) bytes"
    [ "$rounds" -gt 0 ] || continue
    echo "-- deleting a fresh copy (turns alternate; best of $rounds)"
    declare -A best=()
    for _ in $(seq "$rounds"); do
        for what in rm cli; do
            secs=$(remove_once $what)
            if [ -z "${best[$what]:-}" ] || awk "BEGIN{exit !($secs < ${best[$what]})}"; then
                best[$what]=$secs
            fi
        done
    done
    printf '%-34s %8.2f s\n' "rm -rf" "${best[rm]}"
    printf '%-34s %8.2f s\n' "sentravex-cli clean --apply" "${best[cli]}"
    rm -rf "$work/copy"
done
