"""Draws the installer's icon (icon resource 145): a blue rounded square with a white "T",
at 16, 24, 32 and 48 pixels, written as one .ico file with 32-bit images.

usage: gen_icon.py OUTPUT.ico
"""
import struct
import sys

SIZES = (16, 24, 32, 48)
SAMPLES = 4  # per axis, for smooth edges


def inside_rounded_square(x, y, radius):
    """x, y in 0..1; a square with corners rounded by radius."""
    cx = min(max(x, radius), 1 - radius)
    cy = min(max(y, radius), 1 - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def inside_letter(x, y):
    bar = 0.22 <= x <= 0.78 and 0.22 <= y <= 0.36
    stem = 0.43 <= x <= 0.57 and 0.22 <= y <= 0.80
    return bar or stem


def pixel(size, px, py):
    """(b, g, r, a) of one pixel; py counts from the top."""
    shape = letter = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x = (px + (sx + 0.5) / SAMPLES) / size
            y = (py + (sy + 0.5) / SAMPLES) / size
            if inside_rounded_square(x, y, 0.2):
                shape += 1
                letter += inside_letter(x, y)
    total = SAMPLES * SAMPLES
    if shape == 0:
        return (0, 0, 0, 0)
    t = py / max(size - 1, 1)  # top to bottom: #1675FE to #0F4FC0
    r, g, b = 0x16 + (0x0F - 0x16) * t, 0x75 + (0x4F - 0x75) * t, 0xFE + (0xC0 - 0xFE) * t
    w = letter / shape
    r, g, b = (round(c * (1 - w) + 255 * w) for c in (r, g, b))
    return (b, g, r, round(255 * shape / total))


def image(size):
    rows = []
    for py in reversed(range(size)):  # bottom-up
        rows.append(b''.join(bytes(pixel(size, px, py)) for px in range(size)))
    mask_row = ((size + 31) // 32) * 4
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0,
                         size * size * 4 + mask_row * size, 0, 0, 0, 0)
    return header + b''.join(rows) + bytes(mask_row * size)


def main():
    images = [image(s) for s in SIZES]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(SIZES, images):
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main()
