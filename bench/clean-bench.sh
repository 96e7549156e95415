#!/usr/bin/env bash
# Sizing and deleting a large cache tree with sentravex-cli, side by side with du, gdu and rm -rf
# on the same tree in the same run, printed as ratios. The tree lives on tmpfs (/dev/shm where it
# is one), so that both sides are bound by the processor, not by a shared disk.
# Usage: bench/clean-bench.sh [ENTRIES...]   (default 200000)
# ROUNDS=N turns of each deletion (default 3); ROUNDS=0 sizes only.
set -euo pipefail
cd "$(dirname "$0")/.."
cli=build/bin/sentravex-cli
[ -x "$cli" ] || { echo "build first: ./x build" >&2; exit 2; }
[ $# -gt 0 ] || set -- 200000

base=${BENCH_DIR:-/dev/shm}
[ -d "$base" ] && [ -w "$base" ] || base=${TMPDIR:-/tmp}
work=$(mktemp -d "$base/sentravex-bench-XXXXXX")
trap 'chmod -R u+rwx "$work" 2>/dev/null; rm -rf "$work"' EXIT
user=bench
rounds=${ROUNDS:-3}

# Best of five warm runs of a command: seconds and peak resident memory in MiB.
best_of() {
    local best="" mem=0 secs kib
    "$@" >/dev/null 2>&1 || true
    for _ in 1 2 3 4 5; do
        /usr/bin/time -o "$work/time" -f '%e %M' "$@" >/dev/null 2>&1 || true
        read -r secs kib <"$work/time"
        if [ -z "$best" ] || awk "BEGIN{exit !($secs < $best)}"; then best=$secs; fi
        ((kib > mem)) && mem=$kib
    done
    echo "$best $(awk "BEGIN{printf \"%.1f\", $mem/1024}")"
}

ratio() { awk "BEGIN{printf \"%.2f\", $1 / ($2 > 0 ? $2 : 0.001)}"; }

# One deletion of a fresh copy, the copy made outside the timing: seconds and peak MiB.
remove_once() {
    local what=$1
    rm -rf "$work/copy"
    cp -a "$work/mac" "$work/copy"
    if [ "$what" = rm ]; then
        /usr/bin/time -o "$work/time" -f '%e %M' rm -rf "$work/copy/Users/$user/Library/Caches"
    else
        /usr/bin/time -o "$work/time" -f '%e %M' "$cli" clean --root "$work/copy" --user "$user" \
            --select "System/System Cache Files" --apply >/dev/null || true
    fi
    cat "$work/time"
}

for entries in "$@"; do
    rm -rf "$work/mac"
    caches="$work/mac/Users/$user/Library/Caches"
    made=$(python3 bench/make-cache-tree.py "$caches" "$entries")
    echo "== $made entries under a Caches folder on $(df --output=fstype "$work" | tail -1), $(nproc) cores"

    read -r cli_s cli_mib < <(best_of "$cli" clean --root "$work/mac" --user "$user" --json)
    read -r du_s du_mib < <(best_of du -s -B1 "$caches")
    echo "sizing   sentravex-cli / du -s -B1   $(ratio "$cli_s" "$du_s")   ($cli_s s, $cli_mib MiB / $du_s s, $du_mib MiB)"
    if command -v gdu >/dev/null; then
        read -r gdu_s gdu_mib < <(best_of gdu -n -p -s "$caches")
        echo "sizing   gdu / du -s -B1             $(ratio "$gdu_s" "$du_s")   ($gdu_s s, $gdu_mib MiB)"
    fi
    # The cleaner counts what lies in a folder, not the folder's own blocks, which du adds.
    cli_bytes=$("$cli" clean --root "$work/mac" --user "$user" --json |
        python3 -c 'import json,sys; d=json.load(sys.stdin); print([i for c in d["categories"] if c["name"]=="System" for i in c["items"] if i["name"]=="System Cache Files"][0]["bytes"])')
    du_bytes=$(du -s -B1 "$caches" | cut -f1)
    folder_bytes=$(find "$caches" -type d -printf '%b\n' | awk '{s += $1} END {print s * 512}')
    if [ "$cli_bytes" -eq $((du_bytes - folder_bytes)) ]; then
        echo "sizes    equal to the byte: $cli_bytes = du $du_bytes less the folders' own $folder_bytes"
    else
        echo "sizes    DIFFER: sentravex-cli $cli_bytes, du $du_bytes less folders $folder_bytes" >&2
        exit 1
    fi

    [ "$rounds" -gt 0 ] || continue
    declare -A best=() mem=()
    for _ in $(seq "$rounds"); do
        for what in rm cli; do
            read -r secs kib < <(remove_once $what)
            if [ -z "${best[$what]:-}" ] || awk "BEGIN{exit !($secs < ${best[$what]})}"; then
                best[$what]=$secs
            fi
            mem[$what]=$kib
        done
    done
    echo "deletion sentravex-cli / rm -rf      $(ratio "${best[cli]}" "${best[rm]}")   (${best[cli]} s, $(awk "BEGIN{printf \"%.1f\", ${mem[cli]}/1024}") MiB / ${best[rm]} s; best of $rounds, turns alternate)"
    rm -rf "$work/copy"
done
