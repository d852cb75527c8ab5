"""The plot of the performance report: bytes read per lookup against file size, log-log,
through gnuplot. Quoriel's files read call by call and those read ahead in blocks are two
series."""
import os
import subprocess

from report_format import BLOCK, PEERS, TITLES, read_ahead, same_exif_groups

# Point type, point size, colour.
STYLES = {
    "quoriel": (7, 1.0, "#1b7837"),
    "libexif": (5, 1.1, "#2166ac"),
    "exiv2": (9, 1.3, "#b2182b"),
    "exiftool": (13, 1.3, "#e08214"),
}
# Quoriel's point type and size for the files read call by call (JPEG, TIFF), and for those
# read ahead (the containers).
QUORIEL_WAYS = (
    (7, 1.0, "call by call", 0),
    (11, 1.3, "4 KiB blocks", 1),
)


def write_table(data, table, readers):
    """Block 0: every file; then one block for each group of same-Exif files. Columns: size,
    limit, 1 when read ahead, then each reader's bytes."""
    names, design, traced = data["names"], data["design"], data["bytes"]
    blocks = [names] + list(same_exif_groups(names).values())
    with open(table, "w") as file:
        for index, members in enumerate(blocks):
            file.write(f"# block {index}: size limit read-ahead " + " ".join(readers) + "\n")
            for name in sorted(members, key=lambda n: int(design[n]["size"])):
                values = [str(max(traced[r].get(name, 0), 1)) for r in readers]
                ahead = int(read_ahead(data, name))
                file.write(
                    f"{design[name]['size']} {design[name]['limit']} {ahead} {' '.join(values)}\n"
                )
            file.write("\n\n")
    return len(blocks)


def points(table, column, reader):
    """The series of one reader's points; Quoriel's in two, by way of reading."""
    point, size, colour = STYLES[reader]
    if reader != "quoriel":
        return [
            f"'{table}' index 0 using 1:{column} with points pt {point} ps {size} "
            f"lc rgb '{colour}' title '{TITLES[reader]}'"
        ]
    return [
        f"'{table}' index 0 using 1:(column(3) == {ahead} ? column({column}) : 1/0) "
        f"with points pt {way_point} ps {way_size} lc rgb '{colour}' "
        f"title '{TITLES[reader]}, {way}'"
        for way_point, way_size, way, ahead in QUORIEL_WAYS
    ]


def plot(data, png):
    readers = ("quoriel",) + PEERS
    table = png + ".dat"
    blocks = write_table(data, table, readers)
    series = [
        f"'{table}' index 0 using 1:2 with points pt 6 ps 2.6 lc rgb '#444444' "
        "title 'design limit'",
        f"{BLOCK} with lines dt 2 lc rgb '#888888' title 'one block'",
    ]
    columns = {reader: column for column, reader in enumerate(readers, start=4)}
    # Quoriel's points last, so that the peers' do not hide them where both read a whole file.
    for reader in PEERS + ("quoriel",):
        column, colour = columns[reader], STYLES[reader][2]
        series += points(table, column, reader)
        for block in range(1, blocks):
            series.append(
                f"'{table}' index {block} using 1:{column} with lines lw 1.5 "
                f"lc rgb '{colour}' notitle"
            )
    script = "\n".join(
        [
            "set terminal pngcairo size 1100,720 font 'sans,12'",
            f"set output '{png}'",
            "set logscale xy",
            "set format x '10^{%L}'",
            "set format y '10^{%L}'",
            "set xlabel 'file size (bytes)'",
            "set ylabel 'bytes read per lookup'",
            "set title 'Bytes read to find the GPS position, per file and reader "
            "(lines: one Exif block at several sizes)'",
            "set key outside right top box",
            "set grid xtics ytics lc rgb '#cccccc'",
            "set xrange [100:5e8]",
            "set yrange [5:3e8]",
            "plot " + ", \\\n     ".join(series),
        ]
    )
    subprocess.run(["gnuplot"], input=script, text=True, check=True)
    os.remove(table)
