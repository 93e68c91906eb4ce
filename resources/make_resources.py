#!/usr/bin/env python3
"""Regenerates the embedded sounds and the scan animation.

Standard library only, so the assets can be rebuilt anywhere:
    python3 resources/make_resources.py
"""
import math
import os
import struct
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
RATE = 11025


# ---------------------------------------------------------------- sounds


def note(freq, start, length, volume=1.0, decay=9.0):
    """One bell-like note: a few harmonics under a fast attack and an exponential fade."""
    return (freq, start, length, volume, decay)


def render(notes, total):
    samples = [0.0] * int(total * RATE)
    for freq, start, length, volume, decay in notes:
        first = int(start * RATE)
        for i in range(int(length * RATE)):
            if first + i >= len(samples):
                break
            t = i / RATE
            envelope = min(1.0, t / 0.004) * math.exp(-decay * t)
            tone = (math.sin(2 * math.pi * freq * t)
                    + 0.35 * math.sin(2 * math.pi * 2 * freq * t)
                    + 0.12 * math.sin(2 * math.pi * 3 * freq * t))
            samples[first + i] += volume * envelope * tone
    peak = max(abs(s) for s in samples) or 1.0
    # Fade the tail so the sound never ends with a click.
    tail = int(0.02 * RATE)
    for i in range(tail):
        samples[-1 - i] *= i / tail
    return [s / peak * 0.8 for s in samples]


def write_wav(name, samples):
    with wave.open(os.path.join(HERE, name), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(1)  # 8-bit unsigned keeps each file at a few KB
        w.setframerate(RATE)
        w.writeframes(bytes(max(0, min(255, int(128 + 127 * s))) for s in samples))


def make_sounds():
    # Scan start: a quick rising two-note chime.
    write_wav("jablko.wav", render([note(1318.5, 0.0, 0.16), note(1760.0, 0.09, 0.25)], 0.34))
    # Scan end: a bright major arpeggio.
    write_wav("gotowe.wav", render([
        note(523.3, 0.00, 0.30, 0.8), note(659.3, 0.09, 0.30, 0.8),
        note(784.0, 0.18, 0.30, 0.8), note(1046.5, 0.27, 0.33, 1.0, 7.0)], 0.60))
    # High risk: two falling pairs, insistent but not harsh.
    write_wav("alert.wav", render([
        note(880.0, 0.00, 0.11, 1.0, 14.0), note(659.3, 0.11, 0.11, 1.0, 14.0),
        note(880.0, 0.24, 0.11, 1.0, 14.0), note(659.3, 0.35, 0.12, 1.0, 12.0)], 0.48))


# ------------------------------------------------------------- animation

WIDTH, HEIGHT, FRAMES = 80, 60, 8
PALETTE = [
    (0, 0, 0),        # 0 transparent
    (58, 58, 58),     # 1 monitor body
    (150, 150, 150),  # 2 body highlight
    (11, 42, 74),     # 3 screen
    (127, 167, 201),  # 4 file rows
    (255, 210, 74),   # 5 rows under the lens
    (224, 224, 224),  # 6 lens rim
    (70, 120, 170),   # 7 lens glass
    (122, 75, 34),    # 8 handle
    (106, 106, 106),  # 9 stand
    (255, 255, 255),  # 10 glint
    (60, 196, 90),    # 11 power light
] + [(0, 0, 0)] * 4
ROWS = [(12, 40), (17, 30), (22, 46), (27, 24), (32, 36), (37, 28)]


def pixel(x, y, cx, cy):
    d = math.hypot(x - cx, y - cy)
    # Handle, pointing down and right from the rim.
    px, py = x - cx, y - cy
    along = (px + py) / math.sqrt(2)
    across = abs(px - py) / math.sqrt(2)
    if 8.0 <= along <= 15.0 and across <= 1.4:
        return 8
    if d <= 8.5 and d > 6.3:
        return 6
    on_row = any(y in (r, r + 1) and 14 <= x < 14 + n for r, n in ROWS)
    inside_screen = 10 <= x <= 69 and 8 <= y <= 43
    if d <= 6.3:
        if (x - cx + 3) ** 2 + (y - cy + 3) ** 2 <= 2:
            return 10
        return 5 if on_row else 7
    if inside_screen:
        return 4 if on_row else 3
    if 6 <= x <= 73 and 4 <= y <= 47:
        if 65 <= x <= 67 and y == 45:
            return 11
        return 2 if y == 4 or x == 6 else 1
    if 34 <= x <= 45 and 48 <= y <= 51:
        return 9
    if 24 <= x <= 55 and 52 <= y <= 55:
        return 9
    return 0


def frame(k):
    angle = 2 * math.pi * k / FRAMES
    cx, cy = 38 + 17 * math.cos(angle), 24 + 8 * math.sin(angle)
    return bytes(pixel(x, y, cx, cy) for y in range(HEIGHT) for x in range(WIDTH))


def lzw(indices, min_size):
    clear, end = 1 << min_size, (1 << min_size) + 1
    out, acc, nbits = bytearray(), 0, 0

    def emit(code, size):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    def reset():
        return {bytes([i]): i for i in range(clear)}, end + 1, min_size + 1

    table, next_code, size = reset()
    emit(clear, size)
    w = b""
    for c in indices:
        wc = w + bytes([c])
        if wc in table:
            w = wc
            continue
        emit(table[w], size)
        if next_code < 4000:
            table[wc] = next_code
            next_code += 1
            # The decoder learns each entry one code later, so it widens then.
            if next_code == (1 << size) + 1 and size < 12:
                size += 1
        else:
            emit(clear, size)
            table, next_code, size = reset()
        w = bytes([c])
    emit(table[w], size)
    if next_code == (1 << size) and size < 12:
        size += 1
    emit(end, size)
    if nbits:
        out.append(acc & 0xFF)
    blocks = bytearray()
    for i in range(0, len(out), 255):
        chunk = out[i:i + 255]
        blocks += bytes([len(chunk)]) + chunk
    return bytes([min_size]) + bytes(blocks) + b"\x00"


def make_animation():
    gif = bytearray(b"GIF89a")
    gif += struct.pack("<HHBBB", WIDTH, HEIGHT, 0xF3, 0, 0)  # global table of 16 colours
    for r, g, b in PALETTE:
        gif += bytes([r, g, b])
    gif += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"  # loop forever
    for k in range(FRAMES):
        # 120 ms per frame; restore to background so transparent pixels stay clear.
        gif += b"\x21\xF9\x04" + struct.pack("<BHBB", 0x09, 12, 0, 0)
        gif += b"\x2C" + struct.pack("<HHHHB", 0, 0, WIDTH, HEIGHT, 0)
        gif += lzw(frame(k), 4)
    gif += b"\x3B"
    with open(os.path.join(HERE, "monitor.gif"), "wb") as f:
        f.write(gif)


if __name__ == "__main__":
    make_sounds()
    make_animation()
