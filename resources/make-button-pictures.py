"""Draws the pictures of the configuration panel's six buttons as 16-colour BMP files.

Each file holds two 16 x 16 states side by side, normal and disabled; magenta is transparent
(the bottom-left pixel gives the transparent colour). Run it after changing a drawing:
    python3 resources/make-button-pictures.py
"""
import os
import struct

SIZE = 16
TRANSPARENT = (255, 0, 255)
PALETTE = {
    'k': (40, 40, 40), 'w': (255, 255, 255), 'g': (192, 192, 192), 'd': (128, 128, 128),
    'G': (0, 160, 0), 'R': (208, 0, 0), 'B': (0, 64, 192), 'b': (96, 160, 255),
}

DOCUMENT = ['kkkkkkkk...', 'kwwwwwwkk..', 'kwwwwwwkwk.', 'kwwwwwwkkkk', 'kwggggggwwk', 'kwwwwwwwwwk',
            'kwggggggwwk', 'kwwwwwwwwwk', 'kwggggggwwk', 'kwwwwwwwwwk', 'kwggggggwwk', 'kwwwwwwwwwk',
            'kwwwwwwwwwk', 'kkkkkkkkkkk']
PLUS = ['...kkk...', '...kGk...', '...kGk...', 'kkkkGkkkk', 'kGGGGGGGk', 'kkkkGkkkk', '...kGk...', '...kGk...',
        '...kkk...']
MINUS = ['kkkkkkkkkk', 'kRRRRRRRRk', 'kRRRRRRRRk', 'kkkkkkkkkk']
MONITOR = ['................', '.kkkkkkkkkkkkkk.', '.kggggggggggggk.', '.kgBBBBBBBBBBgk.', '.kgBBBwBBBBBBgk.',
           '.kgBBBwwBBBBBgk.', '.kgBBBwwwBBBBgk.', '.kgBBBwwwwBBBgk.', '.kgBBBwwwBBBBgk.', '.kgBBBwwBBBBBgk.',
           '.kgBBBwBBBBBBgk.', '.kggggggggggggk.', '.kkkkkkkkkkkkkk.', '......kddk......', '....kkkkkkkk....']
CHECK = ['.............kk.', '............kGGk', '...........kGGk.', '..........kGGk..', '.kk......kGGk...',
         'kGGk....kGGk....', '.kGGk..kGGk.....', '..kGGkkGGk......', '...kGGGGk.......', '....kGGk........',
         '.....kk.........']
DISK = ['.kkkkkkkkkkkkk..', '.kBBwwwwwwwwBkk.', '.kBBwwwwwwwwBBk.', '.kBBwwwwwwwwBBk.', '.kBBwwwwwwwwBBk.',
        '.kBBBBBBBBBBBBk.', '.kBBBBBBBBBBBBk.', '.kBBgggggggBBBk.', '.kBBggddgggBBBk.', '.kBBggddgggBBBk.',
        '.kBBggddgggBBBk.', '.kBBgggggggBBBk.', '.kkkkkkkkkkkkkk.']
CROSS = ['..kk.......kk...', '.kRRk.....kRRk..', '.kRRRk...kRRRk..', '..kRRRk.kRRRk...', '...kRRRkRRRk....',
         '....kRRRRRk.....', '....kRRRRRk.....', '...kRRRkRRRk....', '..kRRRk.kRRRk...', '.kRRRk...kRRRk..',
         '.kRRk.....kRRk..', '..kk.......kk...']


def canvas():
    return [['.'] * SIZE for _ in range(SIZE)]


def paint(grid, drawing, left, top):
    for y, row in enumerate(drawing):
        for x, c in enumerate(row):
            if c != '.':
                grid[top + y][left + x] = c
    return grid


def centred(drawing):
    width = max(len(row) for row in drawing)
    assert all(len(row) == width for row in drawing), drawing
    return paint(canvas(), drawing, (SIZE - width) // 2, (SIZE - len(drawing)) // 2)


PICTURES = {
    'button-add.bmp': paint(paint(canvas(), DOCUMENT, 1, 0), PLUS, 7, 7),
    'button-remove.bmp': paint(paint(canvas(), DOCUMENT, 1, 0), MINUS, 6, 10),
    'button-preview.bmp': centred(MONITOR),
    'button-ok.bmp': centred(CHECK),
    'button-apply.bmp': centred(DISK),
    'button-close.bmp': centred(CROSS),
}


def disabled(rgb):
    # Grey, lighter than the normal picture, as a disabled button shows it.
    grey = 128 + (rgb[0] * 30 + rgb[1] * 59 + rgb[2] * 11) // 100 // 3
    return (grey, grey, grey)


def write_bmp(path, grid):
    # Sixteen colours hold both states and keep each file a quarter of its 24-bit size.
    width, height = SIZE * 2, SIZE
    assert grid[SIZE - 1][0] == '.', 'the bottom-left pixel must stay transparent'
    pixels_rgb = []
    for y in reversed(range(height)):
        for state in (0, 1):
            for x in range(SIZE):
                c = grid[y][x]
                pixels_rgb.append(TRANSPARENT if c == '.' else PALETTE[c] if state == 0 else disabled(PALETTE[c]))
    colours = sorted(set(pixels_rgb))
    assert len(colours) <= 16, '%s needs %d colours' % (path, len(colours))
    colours += [(0, 0, 0)] * (16 - len(colours))
    index = {rgb: i for i, rgb in enumerate(colours)}
    stride = (width * 4 + 31) // 32 * 4
    rows = []
    for y in range(height):
        row = bytearray()
        line = pixels_rgb[y * width:(y + 1) * width]
        for x in range(0, width, 2):
            row.append(index[line[x]] << 4 | index[line[x + 1]])
        rows.append(bytes(row) + b'\0' * (stride - len(row)))
    pixels = b''.join(rows)
    palette = b''.join(bytes((b, g, r, 0)) for r, g, b in colours)
    offset = 54 + len(palette)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, len(pixels), 2835, 2835, 16, 16)
    with open(path, 'wb') as f:
        f.write(header + info + palette + pixels)


if __name__ == '__main__':
    here = os.path.dirname(os.path.abspath(__file__))
    for name, grid in PICTURES.items():
        write_bmp(os.path.join(here, name), grid)
