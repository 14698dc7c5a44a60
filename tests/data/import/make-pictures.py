#!/usr/bin/python3
"""Writes the small pictures the import tests read, each with the pixels it
must come out as, and the tables of cases (cases.txt) and of resolutions
(resolutions.txt).

The expected pixels come from the arrays the pictures are made of (TIFF,
PNG, PNM: written here byte by byte, then recompressed by libtiff's tiffcp
or netpbm's pnmtopng), or from Pillow's own decode (JPEG, lossy). Run it
from anywhere; it rewrites this folder's pictures.

cases.txt, one line each:
  FILE PAGE TOLERANCE EXPECTED.rgb      reads to those pixels (±TOLERANCE)
  FILE PAGE - REASON                    is refused with that reason
EXPECTED.rgb is "W H\\n" followed by W × H × 3 bytes, red, green, blue.

resolutions.txt, one line each:
  FILE X Y      reads to X across and Y down pixels per metre (0 0: unknown)
"""
import io
import os
import struct
import subprocess
import sys
import tempfile
import zlib

from PIL import Image, ImageOps

HERE = os.path.dirname(os.path.abspath(__file__))
W, H = 13, 7  # odd sizes: row padding and partial bytes
cases = []
resolutions = []


def pixels(kind, w=W, h=H, seed=0):
    """A deterministic picture: rows of (r, g, b, a) in 0..65535."""
    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            r = (x * 5003 + y * 911 + seed * 7919) % 65536
            g = (x * 1231 + y * 6007 + seed * 3) % 65536
            b = (x * 40009 + y * 333 + seed) % 65536
            a = ((x + y + seed) % 4) * 21845
            row.append((r, g, b, a))
        rows.append(row)
    return rows


def to8(v, bits):
    return v >> 8 if bits == 16 else v * 255 // ((1 << bits) - 1)


def over_white(c, a):
    return (c * a + 255 * (255 - a) + 127) // 255


def save_expected(name, rgb_rows):
    h = len(rgb_rows)
    w = len(rgb_rows[0])
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(b"%d %d\n" % (w, h))
        for row in rgb_rows:
            for p in row:
                f.write(bytes(p))


def case(file, expected, page=1, tolerance=0):
    cases.append(f"{file} {page} {tolerance} {expected}")


def resolution(file, x, y):
    resolutions.append(f"{file} {x} {y}")


def refused(file, reason, page=1):
    cases.append(f"{file} {page} - {reason}")


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def truncated(name, source, keep=0.5):
    data = open(os.path.join(HERE, source), "rb").read()
    write(name, data[: int(len(data) * keep)])


# ---- TIFF: an uncompressed file written here, recompressed by tiffcp ----

def tiff_bytes(pages):
    """pages: list of dicts with w, h, bps, spp, photometric, data, extra tags."""
    out = bytearray(b"II*\0\0\0\0\0")
    next_ifd_at = 4
    for page in pages:
        data_at = len(out)
        out += page["data"]
        if len(out) % 2:
            out += b"\0"
        tags = {
            256: (4, [page["w"]]), 257: (4, [page["h"]]),
            258: (3, [page["bps"]] * page["spp"]), 259: (3, [1]),
            262: (3, [page["photometric"]]), 273: (4, [data_at]),
            277: (3, [page["spp"]]), 278: (4, [page["h"]]),
            279: (4, [len(page["data"])]), 284: (3, [1]),
        }
        tags.update(page.get("tags", {}))
        extra = bytearray()
        ifd_at = len(out)
        entries = sorted(tags.items())
        ifd_size = 2 + 12 * len(entries) + 4
        ifd = bytearray(struct.pack("<H", len(entries)))
        for tag, (typ, values) in entries:
            # A rational is a pair (numerator, denominator).
            fmt = {3: "<H", 4: "<I", 5: "<II"}[typ]
            raw = b"".join(struct.pack(fmt, *(v if typ == 5 else (v,))) for v in values)
            if len(raw) <= 4:
                ifd += struct.pack("<HHI", tag, typ, len(values)) + raw.ljust(4, b"\0")
            else:
                ifd += struct.pack("<HHII", tag, typ, len(values), ifd_at + ifd_size + len(extra))
                extra += raw
        ifd += b"\0\0\0\0"
        struct.pack_into("<I", out, next_ifd_at, ifd_at)
        next_ifd_at = ifd_at + ifd_size - 4
        out += ifd + extra
    return bytes(out)


def pack_bits(samples, bits):
    """Packs one row of samples MSB first, padded to a byte."""
    if bits == 8:
        return bytes(samples)
    if bits == 16:
        return b"".join(struct.pack("<H", s) for s in samples)
    acc, n, out = 0, 0, bytearray()
    for s in samples:
        acc = acc << bits | s
        n += bits
        if n == 8:
            out.append(acc)
            acc, n = 0, 0
    if n:
        out.append(acc << (8 - n))
    return bytes(out)


def grey_page(bits, photometric, seed=0, w=W, h=H):
    rows = pixels("g", w, h, seed)
    data, expected = b"", []
    for row in rows:
        samples = [p[0] >> (16 - bits) for p in row]
        data += pack_bits(samples, bits)
        grey = [to8(s, bits) for s in samples]
        if photometric == 0:
            grey = [255 - g for g in grey]
        expected.append([(g, g, g) for g in grey])
    return dict(w=w, h=h, bps=bits, spp=1, photometric=photometric, data=data), expected


def rgb_page(bits, alpha=False, seed=0, w=W, h=H):
    rows = pixels("c", w, h, seed)
    spp = 4 if alpha else 3
    data, expected = b"", []
    for row in rows:
        samples = []
        out = []
        for r, g, b, a in row:
            s = [v >> (16 - bits) for v in (r, g, b, a)][:spp]
            samples += s
            c = [to8(v, bits) for v in s[:3]]
            if alpha:
                a8 = to8(s[3], bits)
                c = [over_white(v, a8) for v in c]
            out.append(tuple(c))
        data += pack_bits(samples, bits)
        expected.append(out)
    page = dict(w=w, h=h, bps=bits, spp=spp, photometric=2, data=data)
    if alpha:
        page["tags"] = {338: (3, [2])}  # unassociated alpha
    return page, expected


def palette_page(bits):
    rows = pixels("p")
    n = 1 << bits
    cmap = [[(i * 37 + c * 91) % 256 * 257 for i in range(n)] for c in range(3)]
    data, expected = b"", []
    for row in rows:
        idx = [p[0] % n for p in row]
        data += pack_bits(idx, bits)
        expected.append([tuple(cmap[c][i] >> 8 for c in range(3)) for i in idx])
    page = dict(w=W, h=H, bps=bits, spp=1, photometric=3, data=data,
                tags={320: (3, cmap[0] + cmap[1] + cmap[2])})
    return page, expected


def tiffcp(source, target, *args):
    subprocess.run(["tiffcp", *args, os.path.join(HERE, source), os.path.join(HERE, target)],
                   check=True)


def orient(rows, orientation):
    """The rows as shown, by Pillow's own table for the tag."""
    im = Image.new("RGB", (len(rows[0]), len(rows)))
    im.putdata([p for row in rows for p in row])
    method = {2: Image.FLIP_LEFT_RIGHT, 3: Image.ROTATE_180, 4: Image.FLIP_TOP_BOTTOM,
              5: Image.TRANSPOSE, 6: Image.ROTATE_270, 7: Image.TRANSVERSE,
              8: Image.ROTATE_90}.get(orientation)
    if method is not None:
        im = im.transpose(method)
    data = list(im.getdata())
    return [data[y * im.width:(y + 1) * im.width] for y in range(im.height)]


def decoded(name):
    im = ImageOps.exif_transpose(Image.open(os.path.join(HERE, name))).convert("RGB")
    data = list(im.getdata())
    return [data[y * im.width:(y + 1) * im.width] for y in range(im.height)]


def make_tiffs():
    for photometric, name in ((0, "miniswhite"), (1, "minisblack")):
        page, exp = grey_page(1, photometric)
        write(f"bilevel-{name}.tif", tiff_bytes([page]))
        save_expected(f"bilevel-{name}.rgb", exp)
        case(f"bilevel-{name}.tif", f"bilevel-{name}.rgb")
        for codec in ("g4", "g3", "packbits"):
            tiffcp(f"bilevel-{name}.tif", f"bilevel-{name}-{codec}.tif", "-c", codec)
            case(f"bilevel-{name}-{codec}.tif", f"bilevel-{name}.rgb")
    for bits, codec in ((2, "none"), (4, "packbits"), (8, "lzw"), (16, "zip")):
        page, exp = grey_page(bits, 1)
        write(f"grey{bits}-raw.tif", tiff_bytes([page]))
        tiffcp(f"grey{bits}-raw.tif", f"grey{bits}-{codec}.tif", "-c", codec)
        os.remove(os.path.join(HERE, f"grey{bits}-raw.tif"))
        save_expected(f"grey{bits}.rgb", exp)
        case(f"grey{bits}-{codec}.tif", f"grey{bits}.rgb")
    for bits in (4, 8):
        page, exp = palette_page(bits)
        write(f"palette{bits}.tif", tiff_bytes([page]))
        save_expected(f"palette{bits}.rgb", exp)
        case(f"palette{bits}.tif", f"palette{bits}.rgb")
    for bits, alpha, suffix in ((8, False, "rgb8"), (16, False, "rgb16"), (8, True, "rgba8")):
        page, exp = rgb_page(bits, alpha)
        write(f"{suffix}.tif", tiff_bytes([page]))
        save_expected(f"{suffix}.rgb", exp)
        case(f"{suffix}.tif", f"{suffix}.rgb")
    # Tiles and separate planes go through libtiff's own RGBA conversion.
    tiffcp("rgb8.tif", "rgb8-tiled-lzw.tif", "-t", "-w", "16", "-l", "16", "-c", "lzw")
    case("rgb8-tiled-lzw.tif", "rgb8.rgb")
    tiffcp("rgb8.tif", "rgb8-planes-zip.tif", "-p", "separate", "-c", "zip")
    case("rgb8-planes-zip.tif", "rgb8.rgb")
    tiffcp("rgba8.tif", "rgba8-tiled.tif", "-t", "-w", "16", "-l", "16")
    case("rgba8-tiled.tif", "rgba8.rgb", tolerance=1)
    # Lossy: Pillow's decode (through libtiff) is the expected picture.
    tiffcp("rgb8.tif", "rgb8-jpeg.tif", "-c", "jpeg:95", "-r", "16")
    save_expected("rgb8-jpeg.rgb", decoded("rgb8-jpeg.tif"))
    case("rgb8-jpeg.tif", "rgb8-jpeg.rgb", tolerance=2)
    page, exp = rgb_page(8)
    for orientation in range(1, 9):
        page["tags"] = {274: (3, [orientation])}
        write(f"orientation{orientation}.tif", tiff_bytes([page]))
        save_expected(f"orientation{orientation}.rgb", orient(exp, orientation))
        case(f"orientation{orientation}.tif", f"orientation{orientation}.rgb")
    first, exp1 = grey_page(8, 1, seed=0)
    second, exp2 = rgb_page(8, seed=5, w=5, h=3)
    write("two-pages.tif", tiff_bytes([first, second]))
    save_expected("two-pages-2.rgb", exp2)
    case("two-pages.tif", "grey8.rgb", page=1)
    case("two-pages.tif", "two-pages-2.rgb", page=2)
    refused("two-pages.tif", "NoSuchPage", page=3)
    truncated("bilevel-miniswhite-g4-cut.tif", "bilevel-miniswhite-g4.tif", 0.4)
    refused("bilevel-miniswhite-g4-cut.tif", "CorruptPicture")
    truncated("rgb8-cut.tif", "rgb8.tif", 0.5)
    refused("rgb8-cut.tif", "CorruptPicture")
    # 40000 × 40000 declared in a few hundred bytes: refused before allocating.
    big = dict(w=40000, h=40000, bps=1, spp=1, photometric=0, data=b"\0" * 16)
    write("huge-declared.tif", tiff_bytes([big]))
    refused("huge-declared.tif", "OverBudget")
    # A strip at offset 0 would be the file's header read as pixels.
    grey, _ = grey_page(8, 1)
    write("strip-offset-zero.tif", tiff_bytes([dict(grey, tags={273: (4, [0])})]))
    refused("strip-offset-zero.tif", "CorruptPicture")
    # Complex samples, integer and floating point, of 16 bits: libtiff would
    # show them as grey.
    for name, sample_format in (("complex-int.tif", 5), ("complex-float.tif", 6)):
        page = dict(grey, bps=16, data=bytes(2 * W * H), tags={339: (3, [sample_format])})
        write(name, tiff_bytes([page]))
        refused(name, "UnsupportedPicture")


# ---- PNG: every colour type and depth, written here ----

def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png_bytes(w, h, depth, colour, rows, extra=b""):
    raw = b"".join(b"\0" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n"
            + png_chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, depth, colour, 0, 0, 0))
            + extra + png_chunk(b"IDAT", zlib.compress(raw)) + png_chunk(b"IEND", b""))


def be_pack(samples, bits):
    if bits == 16:
        return b"".join(struct.pack(">H", s) for s in samples)
    return pack_bits(samples, bits)


def make_pngs():
    rows = pixels("png")
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}
    depths = {0: (1, 2, 4, 8, 16), 2: (8, 16), 3: (1, 2, 4, 8), 4: (8, 16), 6: (8, 16)}
    for colour, bit_depths in depths.items():
        for bits in bit_depths:
            name = f"png-c{colour}-{bits}"
            data_rows, expected, extra = [], [], b""
            n = 1 << min(bits, 8)
            plte = [((i * 53) % 256, (i * 97 + 11) % 256, (i * 13 + 200) % 256) for i in range(n)]
            trns = [(i * 71) % 256 for i in range(n)]
            if colour == 3:
                extra = png_chunk(b"PLTE", bytes(c for p in plte for c in p))
                extra += png_chunk(b"tRNS", bytes(trns))
            for row in rows:
                samples, out = [], []
                for r, g, b, a in row:
                    s = [v >> (16 - bits) for v in (r, g, b, a)]
                    if colour == 3:
                        i = r % n
                        samples.append(i)
                        out.append(tuple(over_white(c, trns[i]) for c in plte[i]))
                        continue
                    take = s[:channels[colour] - (1 if colour in (4, 6) else 0)]
                    if colour in (0, 4):
                        take = [s[0]]
                    if colour in (4, 6):
                        take = take + [s[3]]
                    samples += take
                    c8 = [to8(v, bits) for v in (take[:1] * 3 if colour in (0, 4) else take[:3])]
                    if colour in (4, 6):
                        c8 = [over_white(v, to8(take[-1], bits)) for v in c8]
                    out.append(tuple(c8))
                data_rows.append(be_pack(samples, bits))
                expected.append(out)
            write(f"{name}.png", png_bytes(W, H, bits, colour, data_rows, extra))
            save_expected(f"{name}.rgb", expected)
            # 16-bit alpha is composited before the reduction to 8 bits.
            case(f"{name}.png", f"{name}.rgb", tolerance=1)
    # Palette pictures without transparency, each depth.
    for bits in (1, 2, 4, 8):
        n = 1 << bits
        plte = [((i * 53) % 256, (i * 97 + 11) % 256, (i * 13 + 200) % 256) for i in range(n)]
        indices = [[r % n for r, g, b, a in row] for row in rows]
        name = f"png-c3-{bits}-opaque"
        write(f"{name}.png", png_bytes(W, H, bits, 3, [pack_bits(row, bits) for row in indices],
                                       png_chunk(b"PLTE", bytes(c for p in plte for c in p))))
        save_expected(f"{name}.rgb", [[plte[i] for i in row] for row in indices])
        case(f"{name}.png", f"{name}.rgb")
    # A grey picture with one transparent value (tRNS on a grey type).
    grey_rows = [bytes((x * 20 + y) % 256 for x in range(W)) for y in range(H)]
    write("png-grey-trns.png",
          png_bytes(W, H, 8, 0, grey_rows, png_chunk(b"tRNS", struct.pack(">H", 40))))
    save_expected("png-grey-trns.rgb",
                  [[(255,) * 3 if v == 40 else (v,) * 3 for v in row] for row in grey_rows])
    case("png-grey-trns.png", "png-grey-trns.rgb")
    # Interlaced, through netpbm's encoder.
    with tempfile.NamedTemporaryFile(suffix=".ppm") as ppm:
        Image.open(os.path.join(HERE, "png-c2-8.png")).save(ppm.name)
        with open(os.path.join(HERE, "png-interlaced.png"), "wb") as out:
            subprocess.run(["pnmtopng", "-interlace", ppm.name], stdout=out, check=True,
                           stderr=subprocess.DEVNULL)
    case("png-interlaced.png", "png-c2-8.rgb")
    truncated("png-cut.png", "png-c6-8.png", 0.6)
    refused("png-cut.png", "CorruptPicture")
    data = bytearray(open(os.path.join(HERE, "png-c2-8.png"), "rb").read())
    data[40] ^= 0xFF  # inside the compressed data: its checksum no longer matches
    write("png-corrupt.png", bytes(data))
    refused("png-corrupt.png", "CorruptPicture")
    # A text chunk declaring 2 GiB in a file of 180 bytes.
    text = struct.pack(">I", 0x7FFFFFFF) + b"tEXt" + b"Comment\0" + b"x" * 100
    header = b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", struct.pack(">IIBBBBB", 4, 4, 8, 0, 0, 0, 0))
    write("png-huge-text.png", (header + text).ljust(180, b"x"))
    refused("png-huge-text.png", "CorruptPicture")


# ---- JPEG: Pillow's encoder; its decode, with EXIF orientation applied, is
# the expected picture ----

def make_jpegs():
    im = Image.new("RGB", (W * 2, H * 2))
    im.putdata([((x * 9) % 256, (y * 17) % 256, ((x + y) * 5) % 256)
                for y in range(H * 2) for x in range(W * 2)])
    for mode in ("L", "RGB", "CMYK"):
        name = f"jpeg-{mode.lower()}.jpg"
        im.convert(mode).save(os.path.join(HERE, name), quality=95)
        save_expected(f"jpeg-{mode.lower()}.rgb", decoded(name))
        case(name, f"jpeg-{mode.lower()}.rgb", tolerance=2)
    im.save(os.path.join(HERE, "jpeg-progressive.jpg"), quality=95, progressive=True)
    save_expected("jpeg-progressive.rgb", decoded("jpeg-progressive.jpg"))
    case("jpeg-progressive.jpg", "jpeg-progressive.rgb")
    for orientation in range(1, 9):
        exif = Image.Exif()
        exif[0x0112] = orientation
        name = f"jpeg-orientation{orientation}.jpg"
        im.save(os.path.join(HERE, name), quality=95, exif=exif.tobytes())
        save_expected(f"jpeg-orientation{orientation}.rgb", decoded(name))
        case(name, f"jpeg-orientation{orientation}.rgb")
    truncated("jpeg-cut.jpg", "jpeg-rgb.jpg", 0.6)
    refused("jpeg-cut.jpg", "CorruptPicture")
    write("jpeg-header-only.jpg", b"\xff\xd8\xff\xe0\0\x10JFIF\0")
    refused("jpeg-header-only.jpg", "CorruptPicture")


# ---- PNM: plain and raw, every kind, written here ----

def make_pnms():
    rows = pixels("pnm")
    for kind, maxval in (("pbm", 1), ("pgm", 255), ("pgm", 15), ("pgm", 65535), ("ppm", 255),
                         ("ppm", 1000)):
        for plain in (True, False):
            magic = {"pbm": 1, "pgm": 2, "ppm": 3}[kind] + (0 if plain else 3)
            header = f"P{magic}\n# a comment\n{W} {H}\n" + ("" if kind == "pbm" else f"{maxval}\n")
            body = bytearray()
            expected = []
            for row in rows:
                out, samples = [], []
                for r, g, b, a in row:
                    if kind == "pbm":
                        bit = r >> 15
                        samples.append(bit)
                        out.append((0, 0, 0) if bit else (255, 255, 255))
                        continue
                    vals = [r, g, b] if kind == "ppm" else [r]
                    vals = [v * maxval // 65535 for v in vals]
                    samples += vals
                    c = [(v * 255 + maxval // 2) // maxval for v in vals]
                    out.append(tuple(c * 3 if kind == "pgm" else c))
                expected.append(out)
                if plain:
                    body += (" ".join(map(str, samples)) + "\n").encode()
                elif kind == "pbm":
                    body += pack_bits(samples, 1)
                elif maxval > 255:
                    body += b"".join(struct.pack(">H", s) for s in samples)
                else:
                    body += bytes(samples)
            name = f"{kind}{maxval}-{'plain' if plain else 'raw'}"
            write(f"{name}.{kind}", header.encode() + bytes(body))
            save_expected(f"{name}.rgb", expected)
            case(f"{name}.{kind}", f"{name}.rgb")
    truncated("ppm-cut.ppm", "ppm255-raw.ppm", 0.5)
    refused("ppm-cut.ppm", "CorruptPicture")
    write("pgm-bad-maxval.pgm", b"P5\n2 2\n0\n\0\0\0\0")
    refused("pgm-bad-maxval.pgm", "CorruptPicture")


# ---- Resolutions: each format's own fields and units; 300 and 150 dots per
# inch are 11811 and 5906 pixels per metre ----

def make_tiff_resolutions():
    page, _ = grey_page(8, 1, w=3, h=2)
    inch = {282: (5, [(300, 1)]), 283: (5, [(150, 1)])}
    for name, tags, x, y in (
            ("inch", {**inch, 296: (3, [2])}, 11811, 5906),
            ("centimetre", {282: (5, [(23622, 200)]), 283: (5, [(59, 1)]), 296: (3, [3])},
             11811, 5900),
            ("no-unit", inch, 11811, 5906),
            ("unit-none", {**inch, 296: (3, [1])}, 0, 0),
            ("zero", {282: (5, [(0, 1)]), 283: (5, [(150, 1)])}, 0, 0),
            ("orientation6", {**inch, 274: (3, [6])}, 5906, 11811)):
        page["tags"] = tags
        write(f"res-{name}.tif", tiff_bytes([page]))
        resolution(f"res-{name}.tif", x, y)
    resolution("rgb8.tif", 0, 0)


def make_png_resolutions():
    rows = [bytes([0, 128, 255])] * 2
    for name, x, y, unit, expected in (("metre", 11811, 5906, 1, (11811, 5906)),
                                       ("ratio-only", 2, 1, 0, (0, 0)),
                                       ("absurd", 2000000, 11811, 1, (0, 0))):
        phys = png_chunk(b"pHYs", struct.pack(">IIB", x, y, unit))
        write(f"res-{name}.png", png_bytes(3, 2, 8, 0, rows, phys))
        resolution(f"res-{name}.png", *expected)
    resolution("png-c2-8.png", 0, 0)


def jfif_density(name, unit, x, y):
    """Rewrites the JFIF segment's units and densities, which Pillow writes
    only in inches."""
    data = bytearray(open(os.path.join(HERE, name), "rb").read())
    at = data.index(b"JFIF\0") + 7
    data[at:at + 5] = struct.pack(">BHH", unit, x, y)
    write(name, bytes(data))


def make_jpeg_resolutions():
    im = Image.new("L", (3, 2), 128)
    for name, dpi, density, exif_tags, expected in (
            # The JFIF density comes before EXIF's.
            ("jfif-inch", (300, 150), None, {282: 72, 283: 72}, (11811, 5906)),
            ("jfif-centimetre", None, (2, 118, 59), {}, (11800, 5900)),
            ("jfif-ratio-only", None, (0, 300, 150), {}, (0, 0)),
            ("jfif-zero", None, (1, 0, 150), {}, (0, 0)),
            ("exif-inch", None, None, {282: 300, 283: 150, 296: 2}, (11811, 5906)),
            ("exif-no-unit", None, None, {282: 300, 283: 150}, (11811, 5906)),
            ("exif-centimetre-orientation6", None, None,
             {282: 118, 283: 59, 296: 3, 274: 6}, (5900, 11800)),
            ("exif-unit-none", None, None, {282: 300, 283: 150, 296: 1}, (0, 0))):
        exif = Image.Exif()
        for tag, value in exif_tags.items():
            exif[tag] = value
        file = f"res-{name}.jpg"
        options = {"dpi": dpi} if dpi else {}
        im.save(os.path.join(HERE, file), quality=95, exif=exif.tobytes(), **options)
        if density:
            jfif_density(file, *density)
        resolution(file, *expected)
    resolution("jpeg-rgb.jpg", 0, 0)


def main():
    for name in os.listdir(HERE):
        if name.split(".")[-1] in ("tif", "png", "jpg", "pbm", "pgm", "ppm", "rgb", "bmp"):
            os.remove(os.path.join(HERE, name))
    make_tiffs()
    make_pngs()
    make_jpegs()
    make_pnms()
    make_tiff_resolutions()
    make_png_resolutions()
    make_jpeg_resolutions()
    resolution("ppm255-raw.ppm", 0, 0)
    # The kind comes from the first bytes, never from the name.
    write("png-named.bmp", open(os.path.join(HERE, "png-c2-8.png"), "rb").read())
    case("png-named.bmp", "png-c2-8.rgb")
    write("unknown.png", b"GIF89a\x01\0\x01\0")
    refused("unknown.png", "NotAPicture")
    with open(os.path.join(HERE, "cases.txt"), "w") as f:
        f.write("\n".join(cases) + "\n")
    with open(os.path.join(HERE, "resolutions.txt"), "w") as f:
        f.write("\n".join(resolutions) + "\n")


if __name__ == "__main__":
    sys.exit(main())
