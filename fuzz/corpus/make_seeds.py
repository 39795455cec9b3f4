#!/usr/bin/env python3
"""Writes the fuzz targets' seed inputs: a few valid, program-like inputs each, so the fuzzers start
from calls that succeed and mutate towards the edges. Run from anywhere; rewrites fuzz/corpus/*/seed-*."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(HERE, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)


def word(value):
    return struct.pack("<I", value & 0xFFFFFFFF)


# fuzz_config: two bytes choosing the variables (bit i: i-th of HOST, MODES, DEPTH_FORMATS, FAIL,
# INPUT, CAPTURE, TIMER_START, REFRESH, PRESENT, SCALE), then their values separated by NUL.
def config(mask, *values):
    return bytes([mask & 0xFF, mask >> 8]) + b"\0".join(v.encode() for v in values)


write("fuzz_config", "seed-all", config(0x3FF, "headless", "640x480:R5G6B5,800x600:X8R8G8B8@75", "D24X8,D16",
                                          "create,lock", "12:down:ESCAPE,12:up:ESCAPE,40:close", "frame.png",
                                          "4294967000", "60", "immediate", "sharp"))
write("fuzz_config", "seed-modes", config(0x002, "800x600:22,1024x768:23@60"))
write("fuzz_config", "seed-input", config(0x010, "0:up:27,5:down:F12,6:up:A"))

# fuzz_d3d8_calls: each step is three slot bytes (IDirect3D8, device, buffer), an operation byte
# (see Step in fuzz_d3d8_calls.cpp) and the operation's arguments.
SLOTS = bytes([0, 0, 0])


def step(op, args=b""):
    return SLOTS + bytes([op]) + args


def float_bits(value):
    # Float(): a word, then a byte whose low bit says "take the word's bits as they are".
    return struct.pack("<f", value) + bytes([1])


create_direct3d = step(0, bytes([1]))
# 64x48 X8R8G8B8 full screen, one back buffer, discard, our window, D24X8, default refresh,
# interval one; default adapter, HAL, our focus window, software vertex processing, parameters.
create_device = step(1, bytes([1, 7, 1, 6, 1, 1, 0, 1, 1, 0, 1, 10, 0, 0, 1, 1, 1, 1, 1, 1, 1]))
create_buffer = step(2, bytes([0]) + word(288) + bytes([1, 2, 0]))  # 288 bytes, write-only, XYZ|DIFFUSE
lock_all = step(3, bytes([1]) + word(0) + bytes([1]) + word(0) + word(0) + bytes([1, 2, 0, 0, 0, 0, 4, 9, 9, 9, 9]))
unlock = step(5)
stream = step(6, bytes([1, 1, 16, 1]))  # stream 0, stride 16, the buffer
shader = step(7, bytes([1, 2]))
begin = step(9)
clear = step(11, b"\0" * 48 + bytes([0, 1, 3, 1]) + word(0xFF0000FF) + float_bits(1.0) + word(0))
draw = step(8, bytes([2, 1, 0, 1, 2]))  # triangle list from 0, two triangles
end = step(10)
present = step(15, word(0) * 4 + bytes([1, 1]))
release_buffer = step(17, bytes([2]))
release_device = step(17, bytes([1]))
release_direct3d = step(17, bytes([0]))

frame = begin + clear + draw + end + present
write("fuzz_d3d8_calls", "seed-program",
      create_direct3d + create_device + create_buffer + lock_all + unlock + stream + shader + frame * 3 +
      release_buffer + release_device + release_direct3d)
write("fuzz_d3d8_calls", "seed-device-first",
      create_direct3d + create_device + create_buffer + stream + shader + frame + release_device + release_direct3d +
      release_buffer)
write("fuzz_d3d8_calls", "seed-window-gone", create_direct3d + create_device + step(23, bytes([0])) + present + frame)

# fuzz_rasteriser: one plain frame's worth of bytes, and one of mostly edge values.
write("fuzz_rasteriser", "seed-plain", bytes(range(256)) * 2)
write("fuzz_rasteriser", "seed-edges", bytes([i * 37 % 256 for i in range(700)]))
