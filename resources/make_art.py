#!/usr/bin/env python3
"""Draws the program's artwork into resources/art/: run once, commit the output.

Needs ImageMagick's `convert` and the DejaVu fonts (Debian: imagemagick,
fonts-dejavu-core). The bitmaps are 24-bit BMPs; the icon and the hand
cursor are written here directly, since their exact formats (24-bit icon,
monochrome cursor with its hot spot) matter more than any tool's defaults.
"""
import os
import struct
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "art")
FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
FONT_BOLD_ITALIC = "/usr/share/fonts/truetype/dejavu/DejaVuSans-BoldOblique.ttf"

# Where each picture lies on the main window (pixels). A bitmap has no
# transparent colour, so each picture starts from what the window shows under
# it: the background and every picture below it, composed in the window's
# stacking order (STACK). Where pictures overlap, the upper one then carries
# the lower one's pixels and no seam shows.
PLACES = {
    "scan_picture": (32, 152, 97, 49),
    "scan_button": (32, 200, 85, 26),
    "remove_picture": (232, 144, 75, 63),
    "remove_button": (200, 198, 130, 28),
    "logo": (447, 11, 143, 115),
    "product_name": (424, 56, 192, 31),
    "browser_banner": (445, 137, 150, 36),
}

# Bottom first: the program stacks the earlier picture of its design on top
# (Image_Veltrane over Image_Logo, Image_Remove over Command_Remove,
# Image_Scan over Command_Scan).
STACK = ["browser_banner", "logo", "product_name", "remove_button", "remove_picture",
         "scan_button", "scan_picture"]


def convert(*args):
    subprocess.run(["convert", *args], check=True)


def out(name):
    return os.path.join(OUT, name)


def bmp24(name):
    return ["-alpha", "off", "-type", "TrueColor", "-compress", "None", "BMP3:" + out(name + ".bmp")]


def background():
    # Dark navy at the top-left to a light blue at the bottom-right, with a
    # faint diagonal sheen.
    convert("-size", "640x480", "xc:",
            "-sparse-color", "Barycentric", "0,0 #06123A 639,0 #1C4A92 0,479 #24569E 639,479 #7FB2E8",
            "(", "-size", "640x480", "xc:black", "-fill", "white",
            "-draw", "polygon 260,0 420,0 0,420 0,260", "-blur", "0x40", ")",
            "-compose", "screen", "-define", "compose:args=8", "-compose", "blend", "-composite",
            *bmp24("background"))


def composition():
    return os.path.join(tempfile.gettempdir(), f"veltrane-window-{os.getpid()}.png")


def base(name):
    x, y, w, h = PLACES[name]
    return [composition(), "-crop", f"{w}x{h}+{x}+{y}", "+repage"]


def lay(name):
    """Puts a finished picture onto the composed window, for the ones above it."""
    x, y, _, _ = PLACES[name]
    convert(composition(), out(name + ".bmp"), "-geometry", f"+{x}+{y}", "-composite", composition())


def scan_picture():
    # A magnifying glass over a page of lines.
    convert(*base("scan_picture"),
            "-fill", "#F4F8FF", "-stroke", "#0B2A66", "-strokewidth", "1",
            "-draw", "roundrectangle 18,4 58,45 3,3",
            "-stroke", "#7E9CC8", "-draw", "line 24,12 52,12", "-draw", "line 24,18 52,18",
            "-draw", "line 24,24 46,24", "-draw", "line 24,30 50,30", "-draw", "line 24,36 44,36",
            "-stroke", "#0B2A66", "-strokewidth", "4", "-fill", "none", "-draw", "circle 62,22 62,36",
            "-fill", "#BFE3FF", "-strokewidth", "0", "-draw", "circle 62,22 62,33",
            "-fill", "#FFFFFF", "-draw", "circle 58,18 58,21",
            "-stroke", "#3B2A10", "-strokewidth", "6", "-draw", "line 72,33 86,46",
            *bmp24("scan_picture"))


def button(name, text, size):
    x, y, w, h = PLACES[name]
    convert(*base(name),
            "-fill", "#0B2A66", "-draw", f"roundrectangle 0,0 {w - 1},{h - 1} 6,6",
            "-fill", "#FFD23C", "-draw", f"roundrectangle 1,1 {w - 2},{h - 2} 5,5",
            "-fill", "#FFE98A", "-draw", f"roundrectangle 3,2 {w - 4},{h // 2} 4,4",
            "-font", FONT_BOLD, "-pointsize", str(size), "-fill", "#0B2A66", "-gravity", "center",
            "-annotate", "+0+1", text,
            *bmp24(name))


def remove_picture():
    # A waste bin with its lid lifted.
    convert(*base("remove_picture"),
            "-fill", "#D9E4F2", "-stroke", "#0B2A66", "-strokewidth", "2",
            "-draw", "polygon 18,20 57,20 52,60 23,60",
            "-fill", "none", "-stroke", "#7E9CC8", "-strokewidth", "2",
            "-draw", "line 29,26 30,54", "-draw", "line 37,26 37,54", "-draw", "line 45,26 44,54",
            "-fill", "#D9E4F2", "-stroke", "#0B2A66", "-strokewidth", "2",
            "-draw", "rotate -14 roundrectangle 10,17 52,22 2,2",
            "-draw", "rotate -14 roundrectangle 26,11 36,17 2,2",
            *bmp24("remove_picture"))


def logo():
    # An emblem: a ring around a stylised "V" with a sweeping arc.
    convert(*base("logo"),
            "-fill", "#0B2A66", "-stroke", "#FFD23C", "-strokewidth", "5",
            "-draw", "circle 71,57 71,7",
            "-fill", "#FFFFFF", "-stroke", "none",
            "-draw", "polygon 44,30 58,30 71,72 84,30 98,30 77,88 65,88",
            "-fill", "none", "-stroke", "#6FB6FF", "-strokewidth", "4",
            "-draw", "arc 30,62 112,100 200,340",
            *bmp24("logo"))


def product_name():
    convert(*base("product_name"),
            "-font", FONT_BOLD_ITALIC, "-pointsize", "26", "-gravity", "center",
            "-fill", "#0B2A66", "-annotate", "+2+2", "Veltrane",
            "-fill", "#FFD23C", "-stroke", "#FFF6C8", "-strokewidth", "0.6", "-annotate", "+0+0", "Veltrane",
            *bmp24("product_name"))


def browser_banner():
    # A light panel with a neutral globe and the browser's name in words.
    convert("-size", "150x36", "gradient:#FFFFFF-#C9DDF5",
            "-fill", "#2B6CC4", "-stroke", "#0B2A66", "-strokewidth", "1.5", "-draw", "circle 18,18 18,3",
            "-fill", "none", "-stroke", "#E8F2FF", "-strokewidth", "1",
            "-draw", "ellipse 18,18 6,15 0,360", "-draw", "line 3,18 33,18",
            "-draw", "line 6,10 30,10", "-draw", "line 6,26 30,26",
            "-font", FONT_BOLD, "-pointsize", "11", "-fill", "#0B2A66", "-stroke", "none",
            "-annotate", "+38+16", "Internet", "-annotate", "+38+30", "Explorer",
            *bmp24("browser_banner"))


def raw_rgba(args, size):
    """Renders with ImageMagick and returns size*size RGBA tuples, top row first."""
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "p.rgba")
        convert(*args, "-depth", "8", "RGBA:" + path)
        data = open(path, "rb").read()
    return [tuple(data[i:i + 4]) for i in range(0, size * size * 4, 4)]


def and_mask(opaque, size):
    """Rows of 1 bits where the image is transparent, bottom row first, rows padded to 32 bits."""
    rows = []
    for y in reversed(range(size)):
        bits = 0
        for x in range(size):
            bits = (bits << 1) | (0 if opaque[y * size + x] else 1)
        rows.append(bits.to_bytes(size // 8, "big").ljust(4, b"\0"))
    return b"".join(rows)


def icon():
    # 32 x 32, 24-bit colour: a blue disc with the white "V" of the logo.
    pixels = raw_rgba(["-size", "32x32", "xc:none",
                       "-fill", "#0B2A66", "-draw", "circle 15.5,15.5 15.5,0.5",
                       "-fill", "#2B6CC4", "-draw", "circle 15.5,15.5 15.5,2.5",
                       "-fill", "#FFFFFF", "-draw", "polygon 7,8 12,8 16,20 20,8 25,8 18,26 14,26",
                       "-fill", "#FFD23C", "-draw", "rectangle 6,27 26,28"], 32)
    xor = b"".join(bytes((b, g, r)) for y in reversed(range(32))
                   for (r, g, b, a) in pixels[y * 32:(y + 1) * 32])
    mask = and_mask([p[3] >= 128 for p in pixels], 32)
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 24, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 32, 32, 0, 0, 1, 24, len(image), 22)
    open(out("veltrane.ico"), "wb").write(directory + image)


# The pointing hand: B black, W white, anything else transparent. The tip of
# the index finger is the hot spot, (5, 0).
HAND = [
    ".....BB.",
    "....BWWB",
    "....BWWB",
    "....BWWB",
    "....BWWB",
    "....BWWBBB",
    "....BWWBWWBBB",
    "....BWWBWWBWWBB",
    "....BWWBWWBWWBWB",
    "BBB.BWWWWWWWWBWWB",
    "BWWBBWWWWWWWWWWWB",
    "BWWWBWWWWWWWWWWWB",
    ".BWWBWWWWWWWWWWWB",
    "..BWWWWWWWWWWWWWB",
    "..BWWWWWWWWWWWWWB",
    "...BWWWWWWWWWWWB",
    "...BWWWWWWWWWWWB",
    "....BWWWWWWWWWB",
    "....BWWWWWWWWWB",
    ".....BWWWWWWWB",
    ".....BBBBBBBBB",
]
HOT_SPOT = (5, 0)


def cursor():
    size = 32
    grid = [row.ljust(size, ".") for row in HAND] + ["." * size] * (size - len(HAND))
    assert grid[HOT_SPOT[1]][HOT_SPOT[0]] == "B"
    xor_rows = []
    for y in reversed(range(size)):
        bits = 0
        for x in range(size):
            bits = (bits << 1) | (1 if grid[y][x] == "W" else 0)
        xor_rows.append(bits.to_bytes(4, "big"))
    xor = b"".join(xor_rows)
    mask = and_mask([c in "BW" for row in grid for c in row], size)
    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, len(xor) + len(mask), 0, 0, 2, 0)
    image = header + palette + xor + mask
    directory = struct.pack("<HHH", 0, 2, 1) + struct.pack(
        "<BBBBHHII", size, size, 2, 0, HOT_SPOT[0], HOT_SPOT[1], len(image), 22)
    open(out("hand.cur"), "wb").write(directory + image)


PICTURES = {
    "scan_picture": scan_picture,
    "scan_button": lambda: button("scan_button", "SCAN", 12),
    "remove_picture": remove_picture,
    "remove_button": lambda: button("remove_button", "REMOVE ALL", 12),
    "logo": logo,
    "product_name": product_name,
    "browser_banner": browser_banner,
}


def main():
    os.makedirs(OUT, exist_ok=True)
    background()
    convert(out("background.bmp"), composition())
    try:
        for name in STACK:
            PICTURES[name]()
            lay(name)
    finally:
        os.remove(composition())
    icon()
    cursor()


if __name__ == "__main__":
    main()
