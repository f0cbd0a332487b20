#!/usr/bin/env bash
# Thumbnail benchmark: 100 camera-sized JPEGs (4000 × 3000) thumbnailed by our service with two
# workers into a fresh cache, against vipsthumbnail as two parallel processes over the same
# files, in one hyperfine run; then the peak memory of each. Results go to
# build/bench/thumbnails.{md,json}.
#
#   BUILD_DIR  Release build holding bench/thumbnail-batch (default build/release)
#   PHOTOS     folder of the test pictures (default /tmp/kavo-thumbs-100; made when missing)
#   RUNS       hyperfine runs per command (default 15)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${BUILD_DIR:-build/release}
photos=${PHOTOS:-/tmp/kavo-thumbs-100}
runs=${RUNS:-15}
count=100
batch="$build_dir/bench/thumbnail-batch"
out_dir=build/bench

if [[ ! -x $batch ]]; then
  echo "thumbnails.sh: $batch is missing; build it first:" >&2
  echo "  cmake -S . -B $build_dir -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVO_BUILD_TESTS=OFF" >&2
  echo "  cmake --build $build_dir -j2 --target thumbnail-batch" >&2
  exit 1
fi
for tool in hyperfine vips vipsthumbnail /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "thumbnails.sh: $tool is not installed" >&2; exit 1; }
done

# Photo-like scenes encoded at camera quality, made once under a temporary name and renamed when
# complete, so an interrupted run is not reused.
if [[ ! -d $photos ]]; then
  echo "thumbnails.sh: creating $count pictures in $photos" >&2
  rm -rf -- "$photos.partial"
  mkdir -p -- "$photos.partial"
  for i in $(seq -w 1 "$count"); do
    "$batch" scene "$photos.partial/scene.ppm" 4000 3000 "$((10#$i))"
    vips jpegsave "$photos.partial/scene.ppm" "$photos.partial/IMG_$i.jpg" --Q 92
  done
  rm -f -- "$photos.partial/scene.ppm"
  mv -- "$photos.partial" "$photos"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/kavo-thumbs-bench.XXXXXX")
trap 'rm -rf -- "$work"' EXIT
cat "$photos"/*.jpg >/dev/null

mkdir -p "$out_dir"
vips_run="ls $photos/*.jpg | xargs -P2 -n50 vipsthumbnail --size 256 -o $work/vips/%s.png"
hyperfine --warmup 1 --runs "$runs" --export-markdown "$out_dir/thumbnails.md" --export-json "$out_dir/thumbnails.json" \
  --prepare "rm -rf $work/ours" --command-name "thumbnail-batch (2 workers)" "$batch run $work/ours $photos 2" \
  --prepare "rm -rf $work/vips; mkdir $work/vips" --command-name "vipsthumbnail x2" "$vips_run"

mapfile -t medians < <(grep -o '"median": *[0-9.eE+-]*' "$out_dir/thumbnails.json" | sed 's/.*: *//')
mapfile -t users < <(grep -o '"user": *[0-9.eE+-]*' "$out_dir/thumbnails.json" | sed 's/.*: *//')
mapfile -t systems < <(grep -o '"system": *[0-9.eE+-]*' "$out_dir/thumbnails.json" | sed 's/.*: *//')
# Wall time is the target; the processor time beside it does not depend on what else the machine
# runs, which favours the side with more threads (vipsthumbnail adds its own per process).
awk -v ours="${medians[0]}" -v vips="${medians[1]}" -v ours_user="${users[0]}" -v ours_system="${systems[0]}" \
    -v vips_user="${users[1]}" -v vips_system="${systems[1]}" 'BEGIN {
  ours_cpu = ours_user + ours_system
  vips_cpu = vips_user + vips_system
  printf "median  ours %.0f ms   vipsthumbnail x2 %.0f ms\n", ours * 1000, vips * 1000
  printf "ratio   ours/vips %.2f (target <= 1.00)\n", ours / vips
  printf "cpu     ours %.0f ms   vipsthumbnail x2 %.0f ms   ratio %.2f\n", ours_cpu * 1000, vips_cpu * 1000, ours_cpu / vips_cpu
}'

# Memory. Our workers are threads of one process: what a worker costs is the process's peak above
# what it held before the first request. The one-worker run gives the first worker (with the
# decoder libraries it loads on first use), the two-worker run what a further worker adds. Each
# vipsthumbnail process is one worker of its side. MB are 10^6 bytes.
for workers in 2 1; do
  rm -rf "$work/ours"
  KAVO_BENCH_RSS=1 "$batch" run "$work/ours" "$photos" "$workers" 2>"$work/rss-$workers"
done
rm -rf "$work/vips" && mkdir "$work/vips"
ls "$photos"/*.jpg | xargs -P2 -n50 /usr/bin/time -a -o "$work/vips-rss" -f '%M' \
  vipsthumbnail --size 256 -o "$work/vips/%s.png"
awk '
  function mb(kib) { return kib * 1024 / 1e6 }
  FILENAME ~ /rss-2$/ { base = $3; two = $5 }
  FILENAME ~ /rss-1$/ { one = $5 }
  FILENAME ~ /vips-rss$/ { if ($1 > vips) vips = $1 }
  END {
    printf "memory  ours: %.1f MB before work; peak %.1f MB with 1 worker, %.1f MB with 2\n", mb(base), mb(one), mb(two)
    printf "        per worker: first %.1f MB, second %.1f MB, mean of 2 %.1f MB (target <= 40)\n",
      mb(one - base), mb(two - one), mb(two - base) / 2
    printf "        vipsthumbnail: peak %.1f MB per process\n", mb(vips)
  }' "$work/rss-2" "$work/rss-1" "$work/vips-rss"
