"""What every part of the performance report shares: the readers' names, how numbers are
written, and which files a peer can be compared on."""

PEERS = ("libexif", "exiv2", "exiftool")
TITLES = {"quoriel": "Quoriel", "libexif": "libexif", "exiv2": "Exiv2", "exiftool": "ExifTool"}
# The kinds as position-bench names them, in the order the report lists them.
KINDS = ("JPEG", "TIFF", "HEIF", "WEBP", "PNG")
KIND_TITLES = {"JPEG": "JPEG", "TIFF": "TIFF", "HEIF": "HEIF", "WEBP": "WebP", "PNG": "PNG"}
# JPEG and TIFF files are read call by call, one ReadFile for each structure; the containers
# through read-ahead, one positioned ReadFile for each block of at most BLOCK bytes.
DIRECT_KINDS = ("JPEG", "TIFF")
BLOCK = 4096
BLOCKS_HELD = 4
# The most calls (ReadFile, SetFilePointer, GetFileSize) a whole lookup may make: for a HEIF
# file (the goal is a phone's HEIC), and for a WebP or PNG file whose Exif block stands ahead of
# the image data. No goal is set for the others.
HEIF_CALL_GOAL = 12
EXIF_AHEAD_CALL_GOAL = 6
GOAL_SUBJECTS = {
    HEIF_CALL_GOAL: "a HEIF file",
    EXIF_AHEAD_CALL_GOAL: "a WebP or PNG file whose Exif block stands ahead of the image data",
}
EXIF_AHEAD = "ahead of the image data"
# The generated files that share one Exif block: exif-[LAYOUT-]SIZE.EXT.
SAME_EXIF_PREFIX = "exif-"
DASH = "—"


def number(value, digits=0):
    return f"{value:,.{digits}f}"


def ratio(value):
    return f"{value:,.1f}×" if value >= 10 else f"{value:,.2f}×"


def size_text(size):
    for unit, scale in (("MB", 1 << 20), ("KB", 1 << 10)):
        if size >= scale:
            return f"{size / scale:,.1f} {unit}".replace(".0 ", " ")
    return f"{size} B"


def kind_list(kinds, conjunction="and"):
    """"TIFF, HEIF and PNG" for a set of kinds, in the report's order."""
    titles = [KIND_TITLES[k] for k in KINDS if k in kinds]
    if len(titles) == 1:
        return titles[0]
    return ", ".join(titles[:-1]) + f" {conjunction} " + titles[-1]


def same_exif_groups(names):
    """{group: [names]} of the generated same-Exif files, "exif-mdat-*.heic" for
    "exif-mdat-1MB.heic", in the order of their first files."""
    groups = {}
    for name in names:
        if not name.startswith(SAME_EXIF_PREFIX):
            continue
        stem, _, extension = name.rpartition(".")
        group = stem.rpartition("-")[0] + "-*." + extension
        groups.setdefault(group, []).append(name)
    return groups


def peer_kinds(data, peer):
    """The kinds of file in which the peer found a position at least once."""
    return {data["kind"][n] for n in data["names"] if data["found"][peer].get(n)}


def comparable(data, peer, name):
    """Whether a peer's figures on the file can be set beside Quoriel's: it reads files of that
    kind, and it found the position when Quoriel did."""
    if data["kind"][name] not in peer_kinds(data, peer):
        return False
    return data["found"][peer].get(name) or not data["found"]["quoriel"][name]


def read_ahead(data, name):
    return data["kind"][name] not in DIRECT_KINDS


def calls(row):
    """Every counted file call of a lookup: ReadFile, SetFilePointer (moves and position
    queries) and GetFileSize."""
    return sum(int(row[k]) for k in ("reads", "seeks", "position_queries", "size_queries"))


def moves(row):
    """The SetFilePointer calls: moves and position queries."""
    return int(row["seeks"]) + int(row["position_queries"])


def call_goal(data, name):
    """The most calls a lookup of the file may make; None where no goal is set."""
    if data["kind"][name] == "HEIF":
        return HEIF_CALL_GOAL
    if read_ahead(data, name) and data["design"][name]["exif_place"] == EXIF_AHEAD:
        return EXIF_AHEAD_CALL_GOAL
    return None


def within_blocks(data, name):
    """Whether Quoriel's bytes on a container file stay within its blocks: at most a block for
    each ReadFile, and no single read above a block."""
    row = data["quoriel"][name]
    traced = data["bytes"]["quoriel"].get(name, 0)
    return (
        traced <= int(row["reads"]) * BLOCK
        and int(row["bytes_requested"]) <= int(row["reads"]) * BLOCK
        and data["largest"]["quoriel"].get(name, 0) <= BLOCK
    )
