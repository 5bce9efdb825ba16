#!/usr/bin/env python3
"""Draws the program's icon: a mountain lake crossed by a bot's route of waypoints.

Writes the scalable SVG, the 16 and 32 pixel PNGs and the Windows icon (16 and 32 pixels, each in
16 and in 256 colours) from one description, so they never drift.
Run it from the repository root after changing the artwork; the outputs are committed.
"""
import math
import struct
import zlib

# Shapes on a 64 x 64 canvas, painted in order: (kind, colour, parameters).
SHAPES = [
    ("roundrect", "#24333c", (2, 2, 60, 60, 12)),
    ("polygon", "#5d7a6e", ((6, 40), (22, 16), (32, 28), (42, 12), (58, 40))),
    ("polygon", "#e8eef0", ((18, 22), (22, 16), (26, 22))),
    ("polygon", "#e8eef0", ((38, 18), (42, 12), (46, 18))),
    ("ellipse", "#3a8fd1", (32, 46, 26, 11)),
    ("line", "#f2c14e", ((14, 50), (30, 41), 3.5)),
    ("line", "#f2c14e", ((30, 41), (48, 46), 3.5)),
    ("circle", "#f2c14e", (14, 50, 5)),
    ("circle", "#f2c14e", (30, 41, 5)),
    ("circle", "#f2c14e", (48, 46, 5)),
]


def rgb(colour):
    return tuple(int(colour[i:i + 2], 16) for i in (1, 3, 5))


def inside_polygon(x, y, points):
    result = False
    j = len(points) - 1
    for i, (xi, yi) in enumerate(points):
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            result = not result
        j = i
    return result


def segment_distance(x, y, a, b):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


def covers(kind, p, x, y):
    if kind == "roundrect":
        left, top, width, height, r = p
        cx = min(max(x, left + r), left + width - r)
        cy = min(max(y, top + r), top + height - r)
        return math.hypot(x - cx, y - cy) <= r
    if kind == "polygon":
        return inside_polygon(x, y, p)
    if kind == "ellipse":
        cx, cy, rx, ry = p
        return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1
    if kind == "circle":
        cx, cy, r = p
        return math.hypot(x - cx, y - cy) <= r
    if kind == "line":
        a, b, width = p
        return segment_distance(x, y, a, b) <= width / 2
    raise ValueError(kind)


def render(size, samples=6):
    scale = 64 / size
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            total = [0, 0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) * scale
                    y = (py + (sy + 0.5) / samples) * scale
                    colour = None
                    for kind, fill, p in SHAPES:
                        if covers(kind, p, x, y):
                            colour = rgb(fill)
                    if colour:
                        total = [total[0] + colour[0], total[1] + colour[1], total[2] + colour[2], total[3] + 255]
            n = samples * samples
            alpha = total[3] // n
            covered = max(1, total[3] // 255)
            row += bytes([total[0] // covered, total[1] // covered, total[2] // covered, alpha])
        rows.append(bytes(row))
    return rows


def png(size, rows):
    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    raw = b"".join(b"\x00" + row for row in rows)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def palette_for(rows, colours):
    """The shapes' own colours first, then the most frequent others, up to `colours` in all."""
    counts = {}
    for row in rows:
        for i in range(0, len(row), 4):
            if row[i + 3] >= 128:
                key = tuple(row[i:i + 3])
                counts[key] = counts.get(key, 0) + 1
    palette = [(0, 0, 0)]
    for _, fill, _ in SHAPES:
        if rgb(fill) not in palette:
            palette.append(rgb(fill))
    for colour, _ in sorted(counts.items(), key=lambda item: (-item[1], item[0])):
        if len(palette) == colours:
            break
        if colour not in palette:
            palette.append(colour)
    return palette + [(0, 0, 0)] * (colours - len(palette))


def nearest(palette, colour):
    return min(range(1, len(palette)), key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], colour)))


def ico_image(size, rows, bits):
    """One icon image as a device-independent bitmap: palette, colour rows, then the 1-bit mask."""
    palette = palette_for(rows, 1 << bits)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, len(palette), 0)
    colours = b"".join(bytes([b, g, r, 0]) for r, g, b in palette)
    pixels, mask = b"", b""
    for row in reversed(rows):
        indices, bits_row = [], []
        for i in range(0, len(row), 4):
            opaque = row[i + 3] >= 128
            indices.append(nearest(palette, tuple(row[i:i + 3])) if opaque else 0)
            bits_row.append(0 if opaque else 1)
        if bits == 4:
            line = bytes((indices[i] << 4) | indices[i + 1] for i in range(0, size, 2))
        else:
            line = bytes(indices)
        pixels += line + b"\x00" * (-len(line) % 4)
        packed = bytes(sum(bit << (7 - j) for j, bit in enumerate(bits_row[i:i + 8])) for i in range(0, size, 8))
        mask += packed + b"\x00" * (-len(packed) % 4)
    return header + colours + pixels + mask


def ico(images):
    """An icon file of (size, bits, image) entries."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, data = b"", b""
    for size, bits, image in images:
        colour_count = (1 << bits) if bits < 8 else 0
        entries += struct.pack("<BBBBHHII", size, size, colour_count, 0, 1, bits, len(image), offset + len(data))
        data += image
    return directory + entries + data


def svg():
    parts = ['<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">']
    for kind, fill, p in SHAPES:
        if kind == "roundrect":
            parts.append(f'<rect x="{p[0]}" y="{p[1]}" width="{p[2]}" height="{p[3]}" rx="{p[4]}" fill="{fill}"/>')
        elif kind == "polygon":
            points = " ".join(f"{x},{y}" for x, y in p)
            parts.append(f'<polygon points="{points}" fill="{fill}"/>')
        elif kind == "ellipse":
            parts.append(f'<ellipse cx="{p[0]}" cy="{p[1]}" rx="{p[2]}" ry="{p[3]}" fill="{fill}"/>')
        elif kind == "circle":
            parts.append(f'<circle cx="{p[0]}" cy="{p[1]}" r="{p[2]}" fill="{fill}"/>')
        elif kind == "line":
            (x1, y1), (x2, y2), width = p
            parts.append(f'<line x1="{x1}" y1="{y1}" x2="{x2}" y2="{y2}" stroke="{fill}" stroke-width="{width}"/>')
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


if __name__ == "__main__":
    with open("icons/tarnwick.svg", "w", encoding="utf-8") as out:
        out.write(svg())
    images = []
    for size in (32, 16):
        rows = render(size)
        with open(f"icons/tarnwick-{size}.png", "wb") as out:
            out.write(png(size, rows))
        images += [(size, bits, ico_image(size, rows, bits)) for bits in (4, 8)]
    with open("icons/tarnwick.ico", "wb") as out:
        out.write(ico(images))
