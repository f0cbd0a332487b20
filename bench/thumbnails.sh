#!/usr/bin/env bash
# Thumbnail benchmark: 100 camera-sized JPEGs (4000 × 3000) thumbnailed by our service with two
# workers into a fresh cache, against vipsthumbnail as two parallel processes over the same
# files, in one hyperfine run; then the peak memory of each. Results go to
# build/bench/thumbnails.{md,json}.
#
#   BUILD_DIR  Release build holding bench/thumbnail-batch (default build/release)
#   PHOTOS     folder of the test pictures (default /tmp/kavo-thumbs-100; made when missing)
#   RUNS       hyperfine runs per command (default 10)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${BUILD_DIR:-build/release}
photos=${PHOTOS:-/tmp/kavo-thumbs-100}
runs=${RUNS:-10}
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
awk -v ours="${medians[0]}" -v vips="${medians[1]}" 'BEGIN {
  printf "median  ours %.0f ms   vipsthumbnail x2 %.0f ms\n", ours * 1000, vips * 1000
  printf "ratio   ours/vips %.2f (target <= 1.00)\n", ours / vips
}'

# Memory. Our workers are threads of one process, so their share is the process's peak above
# what it held before the first request, divided by the workers; the one-worker run measures a
# single worker on its own. Each vipsthumbnail process is one worker of its side.
for workers in 2 1; do
  rm -rf "$work/ours"
  KAVO_BENCH_RSS=1 "$batch" run "$work/ours" "$photos" "$workers" 2>"$work/rss-$workers"
done
rm -rf "$work/vips" && mkdir "$work/vips"
ls "$photos"/*.jpg | xargs -P2 -n50 /usr/bin/time -a -o "$work/vips-rss" -f '%M' \
  vipsthumbnail --size 256 -o "$work/vips/%s.png"
awk '
  FILENAME ~ /rss-2$/ { two_base = $3; two_peak = $5 }
  FILENAME ~ /rss-1$/ { one_base = $3; one_peak = $5 }
  FILENAME ~ /vips-rss$/ { if ($1 > vips) vips = $1 }
  END {
    printf "memory  ours, 2 workers: peak %.1f MB, %.1f MB before work, %.1f MB per worker (target <= 40)\n",
      two_peak / 1024, two_base / 1024, (two_peak - two_base) / 2 / 1024
    printf "        ours, 1 worker:  peak %.1f MB, %.1f MB for the worker\n", one_peak / 1024, (one_peak - one_base) / 1024
    printf "        vipsthumbnail: peak %.1f MB per process\n", vips / 1024
  }' "$work/rss-2" "$work/rss-1" "$work/vips-rss"
