#!/usr/bin/env bash
# Makes the same records with two builds of the program and compares every file
# they write, byte for byte: every code type the help lists, with data of
# several kinds (a type refuses what it cannot encode, the same way in both), in
# every vector dialect, every picture and raster kind, and at two settings. For changes that must not change the
# output (speed work):
#   scripts/same-output.sh OLD-BINARY NEW-BINARY [FOLDER]
set -euo pipefail
old=$1
new=$2
work=${3:-$(mktemp -d)}
rm -rf "$work/old" "$work/new"
mkdir -p "$work/old" "$work/new"

mapfile -t types < <("$old" --help | sed -n '/^Code types that can be made/,$p' | grep -o '"[^"]*"')
datas=("12345670" "400638133393" "STRIXEL-100" "0123456789012" "ABC-123" "(01)09501101530003")
settings=('' ', size:"80", height:"20", colour:"10 20 30 40", bwr:"15"')
dialects=("ai3 eps" "ai1 eps" "ai88 eps" "ai5 eps" "type3 eps" "ps ps" "ps-job ps" "pdf pdf")

records() {  # FOLDER EXT
    local n=0
    for t in "${types[@]}"; do
        for d in "${datas[@]}"; do
            for s in "${settings[@]}"; do
                printf '{type:%s, data:"%s"%s, saveto:"%s/%04d.%s"}\n' "$t" "$d" "$s" "$1" "$n" "$2"
                n=$((n + 1))
            done
        done
    done
}

kinds=("tiff tif" "bmp300 bmp" "bmp72 bmp" "pc-eps eps" "picture pict")

# make FLAG NAME EXT: every record through both builds into NAME's folders.
make() {
    for side in old new; do
        bin=$old
        [ "$side" = new ] && bin=$new
        mkdir -p "$work/$side/$2"
        records "$work/$side/$2" "$3" >"$work/$2.records"
        # Both sides refuse the same records; their messages are compared too.
        "$bin" "$1" - <"$work/$2.records" >"$work/$side/$2.out" 2>"$work/$side/$2.err" || true
        sed -i "s#$work/$side/##g" "$work/$side/$2.err"
    done
}

status=0
for dx in "${dialects[@]}"; do
    read -r dialect ext <<<"$dx"
    make --dialect="$dialect" "$dialect" "$ext"
done
for kx in "${kinds[@]}"; do
    read -r kind ext <<<"$kx"
    make --kind="$kind" "$kind" "$ext"
done
made=$(find "$work/old" -type f -name '[0-9]*' | wc -l)
if diff -r -q "$work/old" "$work/new" >"$work/differences"; then
    echo "same output: $made files in both ($work)"
else
    echo "OUTPUT DIFFERS ($made files from the old build):"
    head -20 "$work/differences"
    status=1
fi
exit $status
