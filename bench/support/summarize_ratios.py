#!/usr/bin/env python3
"""Summarises the ratio tables that the benchmark binaries print.

Reads the output of one or more benchmark binaries (files named on the command
line, or standard input), each introduced by a line "== <binary name>" as
`make bench` prints them, and prints for every binary and for every group of
binaries the number of rows against a chosen peer, the slowest rows, and the
median of the ratios.

    make bench | tee bench.log
    python3 bench/support/summarize_ratios.py bench.log
"""
import re
import statistics
import sys

# Groups of binaries whose rows are judged together, and the peer they are
# judged against. Rows against other implementations (memcpy, the primitive a
# component calls) are listed per binary but kept out of the group medians.
GROUPS = {
    "point operations and colour conversions": (["bench_point_operations", "bench_color_conversions"], "opencv"),
    "geometry (resize and warps)": (["bench_resize", "bench_warps"], "opencv"),
    "neighbourhood filters (rank, morphology, fixed)": (
        ["bench_rank_filters", "bench_morphology", "bench_fixed_and_morphology"], "opencv"),
    "geometry and neighbourhood filters": (
        ["bench_resize", "bench_warps", "bench_rank_filters", "bench_morphology",
         "bench_fixed_and_morphology"], "opencv"),
}

# Rows timed for the record only, not held to the peer's rate.
REPORTED_ONLY = {"AddRandGauss_Direct_8u_C3IR"}

TABLE_HEADER = re.compile(r"^operation\s+peer\s+Mpx/s\s+fc/peer\s*$")
BINARY_MARK = re.compile(r"^== (\S+)")


def parse(lines):
    """Returns {binary: [(operation, peer, peer_rate, ratio)]}."""
    rows, binary, in_table = {}, "unnamed", False
    for line in lines:
        mark = BINARY_MARK.match(line)
        if mark:
            binary, in_table = mark.group(1).rsplit("/", 1)[-1], False
            continue
        if TABLE_HEADER.match(line):
            in_table = True
            continue
        fields = line.split()
        if not in_table or len(fields) < 4:
            continue
        try:
            rate, ratio = float(fields[-2]), float(fields[-1])
        except ValueError:
            continue
        rows.setdefault(binary, []).append((" ".join(fields[:-3]), fields[-3], rate, ratio))
    return rows


def describe(name, ratios):
    ratios = sorted(ratios, key=lambda row: row[3])
    values = [row[3] for row in ratios]
    print(f"{name}: {len(values)} rows, median {statistics.median(values):.2f}, "
          f"min {values[0]:.2f}, rows under 1.0: {sum(v < 1.0 for v in values)}")
    for operation, peer, _, ratio in ratios[:5]:
        print(f"    {ratio:5.2f}  {operation} ({peer})")


def main():
    lines = []
    for path in sys.argv[1:] or ["-"]:
        with (sys.stdin if path == "-" else open(path, encoding="utf-8")) as stream:
            lines.extend(stream.read().splitlines())
    rows = parse(lines)
    if not rows:
        sys.exit("no ratio tables found (run the benchmark binaries through `make bench`)")
    for group, (binaries, peer) in GROUPS.items():
        chosen = [row for b in binaries for row in rows.get(b, [])
                  if row[1] == peer and row[0] not in REPORTED_ONLY]
        if chosen:
            describe(f"{group} against {peer}", chosen)
    for binary, table in rows.items():
        for peer in sorted({row[1] for row in table}):
            describe(f"  {binary} against {peer}", [row for row in table if row[1] == peer])


if __name__ == "__main__":
    main()
