#!/usr/bin/env bash
# Fuzzes the PNG decoder with libFuzzer (clang-14) for the given number of
# seconds (default 300), starting from small RGB and RGBA files with every
# row filter. Crashing inputs are left in build/fuzz-png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-300}
out="$root/build/fuzz-png"
mkdir -p "$out/corpus"
clang++-14 -g -O1 -std=c++20 -fPIC -fsanitize=fuzzer,address,undefined \
    "$root/tests/fuzz/PngDecode_fuzz.cpp" "$root/core/imaging/PngCodec.cpp" \
    "$root/core/imaging/PngFastReader.cpp" "$root/core/stitching/DocumentError.cpp" \
    -I"$root/core" $(pkg-config --cflags --libs Qt6Gui libdeflate libpng zlib) \
    -o "$out/png_decode_fuzz"
python3 - "$out/corpus" <<'PY'
import random, struct, sys, zlib
def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
random.seed(1)
for name, width, height, colour, channels in [('rgb', 5, 4, 2, 3), ('rgba', 6, 3, 6, 4),
                                               ('grey', 4, 4, 0, 1), ('pixel', 1, 1, 6, 4)]:
    rows = b''.join(bytes([y % 5]) + bytes(random.randrange(256) for _ in range(width * channels))
                    for y in range(height))
    stream = zlib.compress(rows)
    png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, colour, 0, 0, 0))
    png += chunk(b'IDAT', stream[:len(stream) // 2]) + chunk(b'IDAT', stream[len(stream) // 2:])
    open(f'{sys.argv[1]}/{name}.png', 'wb').write(png + chunk(b'IEND', b''))
PY
cd "$out"
QT_QPA_PLATFORM=offscreen ./png_decode_fuzz -max_total_time="$seconds" -max_len=4096 \
    -rss_limit_mb=4096 corpus
