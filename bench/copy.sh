#!/usr/bin/env bash
# Copy benchmark: one 1 GiB file against cp, and a tree of 10k small files against cp -a, each
# in one hyperfine run with a fresh, empty destination and no dirty data before every run.
# Results go to build/bench/copy-{file,tree}-{a,b}.{md,json}.
#
#   BUILD_DIR  Release build holding bench/copy-item (default build/release)
#   WORK       folder for the sources and the destination (default /tmp); keep it on one file
#              system, as cp and the engine would otherwise measure a different copy
#   RUNS       hyperfine runs per command (default 10)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${BUILD_DIR:-build/release}
work=${WORK:-/tmp}
runs=${RUNS:-10}
copy_item="$build_dir/bench/copy-item"
out_dir=build/bench
big="$work/kavo-copy-1g.bin"
tree="$work/kavo-copy-10k"
dest="$work/kavo-copy-out"

if [[ ! -x $copy_item ]]; then
  echo "copy.sh: $copy_item is missing; build it first:" >&2
  echo "  cmake -S . -B $build_dir -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVO_BUILD_TESTS=OFF" >&2
  echo "  cmake --build $build_dir -j2 --target copy-item" >&2
  exit 1
fi
command -v hyperfine >/dev/null || { echo "copy.sh: hyperfine is not installed" >&2; exit 1; }

# Sources are made under a temporary name and renamed when complete, so an interrupted run is
# not reused.
if [[ ! -f $big ]]; then
  echo "copy.sh: creating $big" >&2
  head -c 1G /dev/urandom >"$big.partial"
  mv -- "$big.partial" "$big"
fi
if [[ ! -d $tree ]]; then
  echo "copy.sh: creating $tree with 10000 files in 100 folders" >&2
  rm -rf -- "$tree.partial"
  mkdir -p -- "$tree.partial"
  # Sizes from empty to 16 KiB, as in a source tree or a folder of documents.
  awk 'BEGIN { for (i = 0; i < 10000; i++) printf "%s/f%d %d\n", "d" int(i / 100), i, (i * 7919) % 16384 }' |
    (cd "$tree.partial" && while read -r name size; do
       mkdir -p "${name%/*}"
       head -c "$size" /dev/urandom >"$name"
     done)
  mv -- "$tree.partial" "$tree"
fi

# Warm the sources in the page cache the same way for every command.
cat "$big" >/dev/null
find "$tree" -type f -exec cat {} + >/dev/null

# hyperfine runs one command's runs before the next one's, and the second command of a pair
# pays for the page cache and journal work the first one left behind; each pair is therefore
# measured in both orders and the medians are taken over both runs.
prepare="rm -rf $dest && mkdir $dest && sync"
mkdir -p "$out_dir"
measure() { # NAME RUNS WARMUP OURS PEER_NAME PEER
  local name=$1 count=$2 warmup=$3 ours=$4 peer_name=$5 peer=$6
  hyperfine --warmup "$warmup" --runs "$count" --prepare "$prepare" \
    --export-markdown "$out_dir/$name-a.md" --export-json "$out_dir/$name-a.json" \
    --command-name copy-item "$ours" --command-name "$peer_name" "$peer"
  hyperfine --warmup "$warmup" --runs "$count" --prepare "$prepare" \
    --export-markdown "$out_dir/$name-b.md" --export-json "$out_dir/$name-b.json" \
    --command-name "$peer_name" "$peer" --command-name copy-item "$ours"
}
measure copy-file "$runs" 1 "$copy_item $big $dest" cp "cp $big $dest/"
measure copy-tree "$((runs * 2))" 2 "$copy_item $tree $dest" "cp -a" "cp -a $tree $dest/"
rm -rf -- "$dest"

# The median over every run of one command in both exports of a workload, in seconds.
median() { # WORKLOAD COMMAND_NAME
  awk -v want="$2" '
    /"command":/ { name = $0; sub(/^[^:]*: *"/, "", name); sub(/",?$/, "", name) }
    /"times": *\[/ { inside = (name == want); next }
    inside && /\]/ { inside = 0 }
    inside { gsub(/[ ,]/, ""); print }' "$out_dir/$1-a.json" "$out_dir/$1-b.json" |
    sort -g | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}
awk -v ours="$(median copy-file copy-item)" -v cp="$(median copy-file cp)" \
    -v tours="$(median copy-tree copy-item)" -v tcp="$(median copy-tree "cp -a")" 'BEGIN {
  printf "1 GiB file    copy-item %.1f ms   cp %.1f ms      ratio %.3f (target <= 1.05)\n", ours * 1000, cp * 1000, ours / cp
  printf "10k files     copy-item %.1f ms   cp -a %.1f ms   ratio %.3f (target <= 1.15)\n", tours * 1000, tcp * 1000, tours / tcp
}'
