#!/usr/bin/env bash
# Creates DIR holding N entries for the listing benchmark: mostly files with assorted extensions,
# about one in twenty a sub-folder, about one in ten a hidden name, some names upper-case or
# non-ASCII, some files with content. Existing contents of DIR are left in place.
set -euo pipefail

if [[ $# -ne 2 || ! $2 =~ ^[0-9]+$ ]]; then
  echo "usage: $0 DIR N" >&2
  exit 2
fi
dir=$1
count=$2
mkdir -p -- "$dir"
cd -- "$dir"

extensions=(txt pdf png jpg tar.gz odt md cpp hpp json mp3 zip html csv svg)
stems=(report Photo notes Übersicht draft IMG_ backup Résumé data chapter)

# Names are generated in one awk pass and created in batches; a shell loop with one process per
# file would take minutes for 100k entries.
awk -v n="$count" -v exts="${extensions[*]}" -v stems="${stems[*]}" 'BEGIN {
  ne = split(exts, ext, " "); ext[++ne] = ""  # one in sixteen without extension
  ns = split(stems, stem, " ")
  for (i = 0; i < n; i++) {
    s = stem[int(i / 3) % ns + 1]
    if (i % 20 == 7) { printf "D\t%s folder %d\n", s, i; continue }
    name = s i
    if (i % 10 == 3) name = "." name
    e = ext[(i * 7) % ne + 1]
    if (e != "") name = name "." e
    printf "%s\t%s\n", (i % 9 == 0 ? "S" : "F"), name
  }
}' >.entries.tsv

grep -P '^D\t' .entries.tsv | cut -f2- | tr '\n' '\0' | xargs -0 -r mkdir -p --
grep -P '^F\t' .entries.tsv | cut -f2- | tr '\n' '\0' | xargs -0 -r touch --
grep -P '^S\t' .entries.tsv | cut -f2- | tr '\n' '\0' | xargs -0 -r truncate -s 4321 --
rm -f .entries.tsv
