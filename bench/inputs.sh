# shellcheck shell=bash
# Shared by the benchmark commands (sourced): makes the generated inputs.
# make_bench_inputs CORPUS_DIR FORMATS_DIR OUT_DIR writes, from the Exif block of the corpus's
# DSCN0010.jpg:
#   exif-20KB.jpg exif-2MB.jpg exif-20MB.jpg exif-200MB.jpg   the same Exif block at the front
#   camera-app0.jpg   the Exif block behind a JFIF APP0 segment of the largest size, with thumbnail
#   camera-app2.jpg   the Exif block behind an ICC profile APP2 segment of the largest size
# Every file's scan is zero bytes: the readers stop at or before it. And, by grow_samples.py from
# the real-tool samples of FORMATS_DIR, each at 1 MB and 200 MB with its sample's Exif block:
#   exif-1MB.heic exif-200MB.heic             ftyp, meta, then the mdat with the image data
#   exif-mdat-1MB.heic exif-mdat-200MB.heic   ftyp, the mdat, then meta
#   exif-1MB.webp exif-200MB.webp             VP8X, the VP8 image chunk, then EXIF
#   exif-1MB.png exif-200MB.png               IHDR, one IDAT, then eXIf and IEND
# and, by grow_videos.py from the real-tool videos, sparse files (the media data is a hole) of
# 5 MB, 50 MB, 500 MB and 5 GB with the sample's movie box, the largest with a 64-bit mdat size:
#   video-mdat-SIZE.mov|.mp4|.3gp   ftyp (and wide or free), the mdat, then moov
#   video-moov-SIZE.mov|.mp4|.3gp   ftyp, wide or free, moov, then the mdat
# and, by make_raw_inputs (grow_raws.py), sparse raws of 60 MB and 600 MB (the image data a hole):
#   raw-SIZE.dng|.orf|.rw2   the DNG sample's header and directories, its strip grown; the ORF
#                            and RW2 are its bytes with their own header magic
#   raw-SIZE.cr3             ftyp, moov with the GPS directory in CMT4, XMP, then the mdat

# The largest segment: its length field counts itself and up to 65,533 bytes of payload.
readonly LARGEST_SEGMENT_LENGTH=65535
readonly CAMERA_FILE_BYTES=$((6 * 1024 * 1024))
readonly GROWN_SAMPLE_BYTES=("$((1024 * 1024))" "$((200 * 1024 * 1024))")
readonly GROWN_VIDEO_BYTES=("$((5 << 20))" "$((50 << 20))" "$((500 << 20))" "$((5 << 30))")
readonly GROWN_RAW_BYTES=("$((60 << 20))" "$((600 << 20))")

# The byte at offset $2 of file $1, as a decimal number.
byte_at() {
    od -An -tu1 -j "$2" -N1 "$1" | tr -d ' \n'
}

# Writes the byte of value $1.
print_byte() {
    printf '%b' "\\x$(printf %02x "$1")"
}

# Writes number $1 as two big-endian bytes.
print_be16() {
    print_byte $(($1 >> 8))
    print_byte $(($1 & 255))
}

# Writes the first APP1 segment of JPEG $1 (marker included) to $2, walking the segment headers.
extract_app1() {
    local offset=2 marker length
    while :; do
        marker=$(byte_at "$1" $((offset + 1)))
        length=$(($(byte_at "$1" $((offset + 2))) * 256 + $(byte_at "$1" $((offset + 3)))))
        if [ "$marker" = 225 ]; then
            # head stops reading on its own; tail reads all it is given (no SIGPIPE).
            head -c $((offset + 2 + length)) "$1" | tail -c $((2 + length)) >"$2"
            return
        fi
        if [ -z "$marker" ] || [ "$marker" = 218 ]; then
            echo "no APP1 segment in $1" >&2
            exit 1
        fi
        offset=$((offset + 2 + length))
    done
}

# A JFIF APP0 segment of the largest size: the JFIF header and an RGB thumbnail of zero bytes.
print_large_app0() {
    local header=16 # length 2, "JFIF\0" 5, version 2, units 1, densities 4, thumbnail size 2
    printf '\xff\xe0'
    print_be16 $LARGEST_SEGMENT_LENGTH
    # JFIF 1.02, no units, 1:1, then a thumbnail as large as the segment leaves room for.
    printf 'JFIF\x00\x01\x02\x00\x00\x01\x00\x01'
    local side=147 # 147 x 147 x 3 bytes fit in 65,535 - 16
    print_byte $side
    print_byte $side
    head -c $((side * side * 3)) /dev/zero
    # Whatever the thumbnail leaves of the segment.
    head -c $((LARGEST_SEGMENT_LENGTH - header - side * side * 3)) /dev/zero
}

# An ICC profile APP2 segment of the largest size: chunk 1 of 1, a profile that fills it, with
# its size and signature in the header (readers check both) and zero bytes elsewhere.
print_large_app2() {
    local header=16 # length 2, "ICC_PROFILE\0" 12, chunk number 1, chunk count 1
    local profile=$((LARGEST_SEGMENT_LENGTH - header))
    local before_signature=32 signature_end=40 # the size field, then up to "acsp" at 36
    printf '\xff\xe2'
    print_be16 $LARGEST_SEGMENT_LENGTH
    printf 'ICC_PROFILE\x00\x01\x01'
    print_be16 0
    print_be16 $profile
    head -c $before_signature /dev/zero
    printf 'acsp'
    head -c $((profile - signature_end)) /dev/zero
}

# SOS for one component (length 8, component 1 with tables 0/0, spectral 0-63, 0), a scan of
# zero bytes that brings what came before ($1 bytes) to $2 bytes, and EOI.
print_scan_to() {
    local scan_header=10 eoi=2
    printf '\xff\xda\x00\x08\x01\x01\x00\x00\x3f\x00'
    head -c $(($2 - $1 - scan_header - eoi)) /dev/zero
    printf '\xff\xd9'
}

# A JPEG of $3 bytes at $2: SOI, the segments of file $1 (or none), the APP1 in $4, the scan.
make_jpeg() {
    local soi=2 before=0 app1
    app1=$(stat -c %s "$4")
    if [ -n "$1" ]; then
        before=$(stat -c %s "$1")
    fi
    {
        printf '\xff\xd8'
        if [ -n "$1" ]; then
            cat "$1"
        fi
        cat "$4"
        print_scan_to $((soi + before + app1)) "$3"
    } >"$2"
}

# make_raw_inputs FORMATS_DIR OUT_DIR: the raws alone, for bench.sh --raws too.
make_raw_inputs() {
    python3 "$(dirname "${BASH_SOURCE[0]}")/grow_raws.py" "$1" "$2" "${GROWN_RAW_BYTES[@]}"
}

make_bench_inputs() {
    local corpus=$1 formats=$2 out=$3
    mkdir -p "$out"
    extract_app1 "$corpus/DSCN0010.jpg" "$out/DSCN0010.app1"
    make_jpeg "" "$out/exif-20KB.jpg" $((20 * 1024)) "$out/DSCN0010.app1"
    make_jpeg "" "$out/exif-2MB.jpg" $((2 * 1024 * 1024)) "$out/DSCN0010.app1"
    make_jpeg "" "$out/exif-20MB.jpg" $((20 * 1024 * 1024)) "$out/DSCN0010.app1"
    make_jpeg "" "$out/exif-200MB.jpg" $((200 * 1024 * 1024)) "$out/DSCN0010.app1"
    print_large_app0 >"$out/large.app0"
    make_jpeg "$out/large.app0" "$out/camera-app0.jpg" $CAMERA_FILE_BYTES "$out/DSCN0010.app1"
    print_large_app2 >"$out/large.app2"
    make_jpeg "$out/large.app2" "$out/camera-app2.jpg" $CAMERA_FILE_BYTES "$out/DSCN0010.app1"
    python3 "$(dirname "${BASH_SOURCE[0]}")/grow_samples.py" "$formats" "$out" \
        "${GROWN_SAMPLE_BYTES[@]}"
    python3 "$(dirname "${BASH_SOURCE[0]}")/grow_videos.py" "$formats" "$out" \
        "${GROWN_VIDEO_BYTES[@]}"
    make_raw_inputs "$formats" "$out"
}
