"""PNG pictures compared pixel by pixel, in plain Python (zlib only): the
mean absolute difference per channel and the share of pixels off by more
than a threshold in any channel."""

import struct
import zlib


def read_png(data):
    """(width, height, rows) of an 8-bit non-interlaced RGB or RGBA PNG; rows
    are bytes objects of RGBA pixels."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos, idat, header = 8, [], None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"IEND":
            break
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError("only 8-bit non-interlaced RGB(A) PNGs")
    channels = 4 if colour == 6 else 3
    raw = zlib.decompress(b"".join(idat))
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        filter_type = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        if filter_type == 1:
            for i in range(channels, stride):
                line[i] = (line[i] + line[i - channels]) & 255
        elif filter_type == 2:
            for i in range(stride):
                line[i] = (line[i] + previous[i]) & 255
        elif filter_type == 3:
            for i in range(stride):
                left = line[i - channels] if i >= channels else 0
                line[i] = (line[i] + ((left + previous[i]) >> 1)) & 255
        elif filter_type == 4:
            for i in range(stride):
                a = line[i - channels] if i >= channels else 0
                b = previous[i]
                c = previous[i - channels] if i >= channels else 0
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                predictor = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + predictor) & 255
        previous = line
        if channels == 3:
            rgba = bytearray(width * 4)
            rgba[0::4], rgba[1::4], rgba[2::4] = line[0::3], line[1::3], line[2::3]
            rgba[3::4] = b"\xff" * width
            line = rgba
        rows.append(bytes(line))
    return width, height, rows


def write_png(path, width, height, rows):
    raw = b"".join(b"\x00" + bytes(r) for r in rows)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xffffffff)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
                chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))


def compare(a_png, b_png, threshold=16, diff_path=None):
    """Compares the RGB of two PNGs (alpha is not shown on screen). Returns
    (mean absolute difference per channel, fraction of pixels with a channel
    more than `threshold` off, max difference)."""
    wa, ha, ra = read_png(a_png)
    wb, hb, rb = read_png(b_png)
    if (wa, ha) != (wb, hb):
        raise ValueError("sizes differ: %dx%d and %dx%d" % (wa, ha, wb, hb))
    total = over = biggest = 0
    diff_rows = []
    for row_a, row_b in zip(ra, rb):
        out = bytearray(wa * 4)
        for x in range(wa):
            i = 4 * x
            d = (abs(row_a[i] - row_b[i]), abs(row_a[i + 1] - row_b[i + 1]), abs(row_a[i + 2] - row_b[i + 2]))
            total += d[0] + d[1] + d[2]
            m = max(d)
            biggest = max(biggest, m)
            if m > threshold:
                over += 1
            out[i:i + 4] = bytes((min(255, d[0] * 8), min(255, d[1] * 8), min(255, d[2] * 8), 255))
        diff_rows.append(out)
    if diff_path:
        write_png(diff_path, wa, ha, diff_rows)
    pixels = wa * ha
    return total / (pixels * 3), over / pixels, biggest
