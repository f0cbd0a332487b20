#!/usr/bin/env bash
# Archive benchmarks, one hyperfine run each: extract a 100k-entry ZIP against unzip -q, extract
# a 100k-entry TAR against tar -xf, and list the ZIP as a folder against zipinfo -1. Every
# extraction run gets a fresh destination (removed and synced before the run, outside the
# timing). Results go to build/bench/archive-*.{md,json}.
#
#   BUILD_DIR  Release build holding bench/extract-archive and bench/list-archive (default build/release)
#   ZIP, TAR   the test archives (default /tmp/kavo-archive-100k.{zip,tar}; made when missing)
#   WORK       where the extractions go (default /tmp/kavo-archive-bench)
#   RUNS       hyperfine runs per command (default 5 for extraction, 30 for listing)
#
# The listing is also run with TZ set. libarchive converts every ZIP member's DOS time with
# mktime, twice (central directory and local header), and without TZ glibc's mktime checks
# /etc/localtime with a stat each time: 200,000 stats for this archive.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${BUILD_DIR:-build/release}
zip=${ZIP:-/tmp/kavo-archive-100k.zip}
tar=${TAR:-/tmp/kavo-archive-100k.tar}
work=${WORK:-/tmp/kavo-archive-bench}
extract_runs=${RUNS:-5}
list_runs=${RUNS:-30}
extract_archive="$build_dir/bench/extract-archive"
list_archive="$build_dir/bench/list-archive"
out_dir=build/bench

for program in "$extract_archive" "$list_archive"; do
  if [[ ! -x $program ]]; then
    echo "archives.sh: $program is missing; build it first:" >&2
    echo "  cmake -S . -B $build_dir -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVO_BUILD_TESTS=OFF" >&2
    echo "  cmake --build $build_dir -j2 --target extract-archive list-archive" >&2
    exit 1
  fi
done
for tool in hyperfine unzip zipinfo tar python3; do
  command -v "$tool" >/dev/null || { echo "archives.sh: $tool is not installed" >&2; exit 1; }
done

# 100,000 small text files in 100 folders (folders only implied by the paths, so the archive
# holds exactly 100,000 entries), the ZIP deflated. Made under a temporary name and renamed when
# complete, so an interrupted run is not reused.
make_archive() {  # KIND PATH
  echo "archives.sh: creating $2" >&2
  python3 - "$1" "$2.partial" <<'PY'
import io, sys, tarfile, zipfile
kind, path = sys.argv[1], sys.argv[2]
stamp = (2024, 5, 17, 10, 30, 0)
def members():
    for i in range(100_000):
        text = (f"line of file {i}\n" * 16)[: 40 + (i * 37) % 200]
        yield f"dir{i // 1000:03d}/file{i:06d}.txt", text.encode()
if kind == "zip":
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in members():
            z.writestr(zipfile.ZipInfo(name, stamp), data, zipfile.ZIP_DEFLATED)
else:
    with tarfile.open(path, "w", format=tarfile.GNU_FORMAT) as t:
        for name, data in members():
            info = tarfile.TarInfo(name)
            info.size, info.mode, info.mtime = len(data), 0o644, 1_715_941_800
            t.addfile(info, io.BytesIO(data))
PY
  mv -- "$2.partial" "$2"
}
[[ -f $zip ]] || make_archive zip "$zip"
[[ -f $tar ]] || make_archive tar "$tar"

mkdir -p "$work" "$out_dir"
# Warm the page cache with both archives.
cat "$zip" "$tar" >/dev/null

# Medians of a hyperfine JSON export, in command order.
medians() { grep -o '"median": *[0-9.eE+-]*' "$1" | sed 's/.*: *//'; }
ratio() {  # LABEL OURS PEER PEER_NAME TARGET
  awk -v label="$1" -v ours="$2" -v peer="$3" -v name="$4" -v target="$5" 'BEGIN {
    printf "%-13s ours %8.1f ms   %-10s %8.1f ms   ratio %.2f (target <= %s)\n", label, ours * 1000, name, peer * 1000, ours / peer, target
  }'
}

echo "== extract a 100k-entry ZIP"
hyperfine --warmup 1 --runs "$extract_runs" --output=null \
  --export-markdown "$out_dir/archive-extract-zip.md" --export-json "$out_dir/archive-extract-zip.json" \
  --prepare "rm -rf $work/ours-zip && sync" --command-name extract-archive "$extract_archive $zip $work/ours-zip" \
  --prepare "rm -rf $work/unzip && sync" --command-name "unzip -q" "unzip -q $zip -d $work/unzip"
mapfile -t zip_medians < <(medians "$out_dir/archive-extract-zip.json")

echo "== extract a 100k-entry TAR"
hyperfine --warmup 1 --runs "$extract_runs" --output=null \
  --export-markdown "$out_dir/archive-extract-tar.md" --export-json "$out_dir/archive-extract-tar.json" \
  --prepare "rm -rf $work/ours-tar && sync" --command-name extract-archive "$extract_archive $tar $work/ours-tar" \
  --prepare "rm -rf $work/tar && mkdir $work/tar && sync" --command-name "tar -xf" "tar -xf $tar -C $work/tar"
mapfile -t tar_medians < <(medians "$out_dir/archive-extract-tar.json")

echo "== list a 100k-entry ZIP as a folder"
hyperfine --shell=none --warmup 3 --runs "$list_runs" --output=null \
  --export-markdown "$out_dir/archive-list-zip.md" --export-json "$out_dir/archive-list-zip.json" \
  --command-name list-archive "$list_archive $zip" \
  --command-name "zipinfo -1" "zipinfo -1 $zip" \
  --command-name "list-archive, TZ set" "env TZ=:/etc/localtime $list_archive $zip"
mapfile -t list_medians < <(medians "$out_dir/archive-list-zip.json")

rm -rf -- "$work"
ratio "extract ZIP" "${zip_medians[0]}" "${zip_medians[1]}" "unzip -q" 0.90
ratio "extract TAR" "${tar_medians[0]}" "${tar_medians[1]}" "tar -xf" 1.05
ratio "list ZIP" "${list_medians[0]}" "${list_medians[1]}" "zipinfo -1" 2.00
ratio "  TZ set" "${list_medians[2]}" "${list_medians[1]}" "zipinfo -1" 2.00
