"""The icon dhash of the malware sandboxes CAPEv2 and IntelOwl, computed as
they compute it, with pefile and Pillow (Debian's python3-pil, 9.4): the
reference that `list --fingerprints` must match bit for bit. Also the
builders of the held-out files it is compared on: a PE file of one icon
group, bitmaps of every depth and layout, and PNG files of every colour type."""

import io
import random
import struct
import warnings
import zlib

import pefile
import PIL
import PIL.Image

RT_ICON = 3
RT_GROUP_ICON = 14


def difference_hash(picture):
    """Grey, Lanczos to 9 x 8, a bit where a level is greater than its right
    neighbour's, row by row, the lowest bit first: 16 hex digits."""
    small = picture.convert("L").resize((9, 8), PIL.Image.Resampling.LANCZOS)
    digits = ""
    for row in range(8):
        byte = sum(1 << column for column in range(8)
                   if small.getpixel((column, row)) > small.getpixel((column + 1, row)))
        digits += f"{byte:02x}"
    return digits


def _first_icon(pe):
    """The chosen group entry's fields and its RT_ICON bytes, or None."""
    types = [entry.id for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries]
    if RT_GROUP_ICON not in types or RT_ICON not in types:
        return None
    memory = pe.get_memory_mapped_image()

    def data_of(named):
        stored = named.directory.entries[0].data.struct
        return memory[stored.OffsetToData:stored.OffsetToData + stored.Size]

    groups = pe.DIRECTORY_ENTRY_RESOURCE.entries[types.index(RT_GROUP_ICON)]
    group = data_of(groups.directory.entries[0])
    if len(group) < 6:
        return None
    count = struct.unpack_from("<H", group, 4)[0]
    if len(group) < 6 + 14 * count:
        return None
    chosen = None
    for i in range(count):
        fields = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
        width, height, bits = fields[0], fields[1], fields[5]
        if chosen is None or (width >= chosen[0] and height >= chosen[1] and bits >= chosen[5]):
            chosen = fields
    if chosen is None:
        return None
    for named in pe.DIRECTORY_ENTRY_RESOURCE.entries[types.index(RT_ICON)].directory.entries:
        if named.id == chosen[7]:
            return chosen, data_of(named)
    return None


def sandbox_dhash(path):
    """The sandboxes' dhash of the file's first icon, or None where they give none."""
    warnings.simplefilter("ignore")
    try:
        pe = pefile.PE(path, fast_load=True)
        pe.parse_data_directories(
            directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
        first = _first_icon(pe)
        if first is None:
            return None
        fields, image = first
        ico = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", *fields[:7], 22) + image
        with PIL.Image.open(io.BytesIO(ico)) as picture:
            picture.save(io.BytesIO(), format="PNG")
            return difference_hash(picture)
    except Exception:  # anything they would catch and log
        return None


def _directory(entries):
    """An IMAGE_RESOURCE_DIRECTORY of numbered entries, each (id, offset)."""
    return struct.pack("<IIHHHH", 0, 0, 0, 0, 0, len(entries)) + b"".join(
        struct.pack("<II", number, offset) for number, offset in entries)


def one_icon_pe(entries, images):
    """A PE32 file of one .rsrc section holding one icon group: `entries`,
    each (width, height, colours, reserved, planes, bits, bytes) naming the
    RT_ICON id i + 1 (or a ninth field, the id), and the RT_ICON resources
    `images` with the ids 1, 2, ..., all in language 0."""
    group = struct.pack("<HHH", 0, 1, len(entries)) + b"".join(
        struct.pack("<BBBBHHIH", *(tuple(entry) + (i + 1,))[:8]) for i, entry in enumerate(entries))
    tree = {RT_ICON: list(enumerate(images, 1)), RT_GROUP_ICON: [(1, group)]}
    leaves = [(kind, number, data) for kind in sorted(tree) for number, data in tree[kind]]
    # The root, a directory of names per type, one of languages per
    # resource, the data entries, then the data.
    names_at, at = {}, 16 + 8 * len(tree)
    for kind in sorted(tree):
        names_at[kind], at = at, at + 16 + 8 * len(tree[kind])
    languages_at = at
    entries_at = languages_at + 24 * len(leaves)
    data_at = entries_at + 16 * len(leaves)
    subdirectory = 0x80000000
    section = _directory([(kind, subdirectory | names_at[kind]) for kind in sorted(tree)])
    for kind in sorted(tree):
        section += _directory([(number, subdirectory | (languages_at + 24 * leaves.index(
            (kind, number, data)))) for number, data in tree[kind]])
    for index in range(len(leaves)):
        section += _directory([(0, entries_at + 16 * index)])
    section_rva = 0x1000
    data = b""
    for _, _, payload in leaves:
        section += struct.pack("<IIII", section_rva + data_at + len(data), len(payload), 0, 0)
        data += payload + b"\0" * (-len(payload) % 4)
    section += data
    section += b"\0" * (-len(section) % 0x200)

    file_header = struct.pack("<HHIIIHH", 0x14C, 1, 0, 0, 0, 0xE0, 0x0102)
    optional = struct.pack("<HBBIIIIIIIIIHHHHHHIIIIHHIIIIII", 0x10B, 14, 0, 0, len(section), 0, 0,
                           0, 0, 0x400000, 0x1000, 0x200, 6, 0, 0, 0, 6, 0, 0,
                           section_rva + len(section) + 0x1000, 0x200, 0, 2, 0, 0x100000,
                           0x1000, 0x100000, 0x1000, 0, 16)
    optional += b"".join(struct.pack("<II", *((section_rva, len(section)) if i == 2 else (0, 0)))
                         for i in range(16))
    section_header = struct.pack("<8sIIIIIIHHI", b".rsrc", len(section), section_rva,
                                 len(section), 0x200, 0, 0, 0, 0, 0x40000040)
    headers = (b"MZ" + b"\0" * 58 + struct.pack("<I", 0x40) + b"PE\0\0" + file_header +
               optional + section_header)
    return headers + b"\0" * (0x200 - len(headers)) + section


def dib(width, height, bits, rows, palette=b"", header=40, compression=0, colours=0,
        masks=b"", top_down=False, mask=True):
    """A bitmap as an icon stores it: `rows` of colour data from the top,
    each padded here; the stored height twice `height`; an AND mask after
    the rows unless `mask` is false."""
    stride = (width * bits + 31) // 32 * 4
    padded = [row + b"\0" * (stride - len(row)) for row in rows]
    if not top_down:
        padded.reverse()
    if header == 12:
        head = struct.pack("<IHHHH", 12, width, 2 * height, 1, bits)
    else:
        head = struct.pack("<IiiHHIIiiII", header, width, -2 * height if top_down else 2 * height,
                           1, bits, compression, 0, 0, 0, colours, 0)
        # The masks inside a longer header, after a 40-byte one.
        head += (masks + bytes(header))[:header - 40] if header > 40 else masks
    and_mask = b"\0" * ((width + 31) // 32 * 4 * height) if mask else b""
    return head + palette + b"".join(padded) + and_mask


def png(width, height, colour_type, depth, samples, palette=None):
    """A PNG file of rows of `samples` (integers per pixel and channel, from the top)."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(
            ">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b""
    for row in samples:
        if depth == 16:
            raw += b"\0" + b"".join(struct.pack(">H", value) for value in row)
        elif depth == 8:
            raw += b"\0" + bytes(row)
        else:
            bits = "".join(format(value, f"0{depth}b") for value in row)
            bits += "0" * (-len(bits) % 8)
            raw += b"\0" + bytes(int(bits[i:i + 8], 2) for i in range(0, len(bits), 8))
    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth,
                                                           colour_type, 0, 0, 0))
    if palette is not None:
        out += chunk(b"PLTE", palette)
    return out + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")


def noise(seed, count, most):
    generator = random.Random(repr(seed))
    return [generator.randrange(most + 1) for _ in range(count)]
