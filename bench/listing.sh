#!/usr/bin/env bash
# Folder load benchmark: list + hidden filter + sort by name of a warm 100k-entry folder, against
# find and ls in one hyperfine run. Results go to build/bench/listing.{md,json}.
#
#   BUILD_DIR  Release build holding bench/list-folder (default build/release)
#   FOLDER     the test folder (default /tmp/kavo-list-100k; made when missing)
#   ENTRIES    entries of a new test folder (default 100000)
#   RUNS       hyperfine runs per command (default 30)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${BUILD_DIR:-build/release}
folder=${FOLDER:-/tmp/kavo-list-100k}
entries=${ENTRIES:-100000}
runs=${RUNS:-30}
list_folder="$build_dir/bench/list-folder"
out_dir=build/bench

if [[ ! -x $list_folder ]]; then
  echo "listing.sh: $list_folder is missing; build it first:" >&2
  echo "  cmake -S . -B $build_dir -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVO_BUILD_TESTS=OFF" >&2
  echo "  cmake --build $build_dir -j2 --target list-folder" >&2
  exit 1
fi
command -v hyperfine >/dev/null || { echo "listing.sh: hyperfine is not installed" >&2; exit 1; }

# Made under a temporary name and renamed when complete, so an interrupted run is not reused.
if [[ ! -d $folder ]]; then
  echo "listing.sh: creating $folder with $entries entries" >&2
  rm -rf -- "$folder.partial"
  bench/make_folder.sh "$folder.partial" "$entries"
  mv -- "$folder.partial" "$folder"
fi

# Warm the dentry and inode caches the same way for every command.
for _ in 1 2; do
  find "$folder" -maxdepth 1 -printf '%y %s %T@ %f\n' >/dev/null
  "$list_folder" "$folder" >/dev/null
done

mkdir -p "$out_dir"
hyperfine --shell=none --warmup 3 --runs "$runs" --output=null \
  --export-markdown "$out_dir/listing.md" --export-json "$out_dir/listing.json" \
  --command-name list-folder "$list_folder $folder" \
  --command-name find "find $folder -maxdepth 1 -printf '%y %s %T@ %f\n'" \
  --command-name "ls -l -f" "ls -l -f $folder" \
  --command-name "ls -f -l" "ls -f -l $folder"

# Medians in command order: ours, find, ls.
mapfile -t medians < <(grep -o '"median": *[0-9.eE+-]*' "$out_dir/listing.json" | sed 's/.*: *//')
# GNU ls lets a later -f switch the long format off again, so "ls -l -f" lists names without
# reading a single status; "ls -f -l" is the long listing of the same unsorted folder.
awk -v ours="${medians[0]}" -v find="${medians[1]}" -v ls="${medians[2]}" -v lsl="${medians[3]}" 'BEGIN {
  printf "median  list-folder %.1f ms   find %.1f ms   ls -l -f %.1f ms   ls -f -l %.1f ms\n", ours * 1000, find * 1000, ls * 1000, lsl * 1000
  printf "ratio   ours/find %.2f (target <= 0.70)   ours/(ls -l -f) %.2f (target <= 0.35)   ours/(ls -f -l) %.2f\n", ours / find, ours / ls, ours / lsl
}'
