#!/usr/bin/env python3
"""Throughput benchmark of navdump against a read(2) floor and a baseline.

Usage: bench/navdump_bench.py BUILD_DIR [--runs N] [--dir DIR]

Writes a 1 GiB sample record file, reads it once to bring it into the page
cache, then times alternating runs of each command and reports medians and
ratios. Also reports navdump's peak resident memory on 1 GiB and 4 GiB files.
"""
import argparse
import os
import statistics
import subprocess
import sys
import time

RECORD = 136


def run(cmd, shell=False):
    """Wall time of one run, output sent to /dev/null."""
    with open(os.devnull, "wb") as null:
        start = time.perf_counter()
        proc = subprocess.Popen(cmd, shell=shell, stdout=null, stderr=null)
        status = proc.wait()
        elapsed = time.perf_counter() - start
    if status != 0:
        sys.exit(f"failed: {cmd}")
    return elapsed


def peak_rss(cmd):
    """Peak RSS (KiB) as /usr/bin/time sees it: a child forked from this
    interpreter would inherit the interpreter's own high-water mark."""
    out = subprocess.run(["/usr/bin/time", "-f", "%M"] + cmd, stdout=subprocess.DEVNULL,
                         stderr=subprocess.PIPE, text=True, check=True).stderr
    return int(out.strip().splitlines()[-1])


def write_sample(build, path, gib):
    records = gib * (1 << 30) // RECORD
    if not os.path.exists(path) or os.path.getsize(path) != records * RECORD:
        subprocess.check_call([f"{build}/tools/write_samples", path, str(records),
                               "345600", "100"])
    subprocess.check_call(["cat", path], stdout=subprocess.DEVNULL)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("build")
    ap.add_argument("--runs", type=int, default=7)
    ap.add_argument("--dir", default="/tmp")
    args = ap.parse_args()
    b = os.path.abspath(args.build)
    one = os.path.join(args.dir, "navdump_bench_1g.rec")
    write_sample(b, one, 1)

    cases = {
        "navdump FILE": ([f"{b}/navdump/navdump", one], False),
        "read(2) floor, 1 MiB": ([f"{b}/bench/read_floor", one], False),
        "baseline (fread per record)": ([f"{b}/bench/baseline_navdump", one], False),
        "cat FILE | navdump /dev/stdin": (f"cat {one} | {b}/navdump/navdump /dev/stdin", True),
        "cat FILE | cat >/dev/null": (f"cat {one} | cat", True),
    }
    times = {name: [] for name in cases}
    for _ in range(args.runs):
        for name, (cmd, shell) in cases.items():
            times[name].append(run(cmd, shell))
    med = {name: statistics.median(t) for name, t in times.items()}
    print(f"machine: {os.cpu_count()} cores, {os.uname().release}; runs: {args.runs}")
    for name, m in med.items():
        print(f"  {name:32s} median {m * 1000:8.1f} ms")
    nav = med["navdump FILE"]
    print(f"  navdump / floor              {nav / med['read(2) floor, 1 MiB']:.2f}")
    print(f"  baseline / navdump           {med['baseline (fread per record)'] / nav:.2f}")
    print(f"  pipe: navdump / cat          "
          f"{med['cat FILE | navdump /dev/stdin'] / med['cat FILE | cat >/dev/null']:.2f}")

    rss1 = peak_rss([f"{b}/navdump/navdump", one])
    four = os.path.join(args.dir, "navdump_bench_4g.rec")
    write_sample(b, four, 4)
    rss4 = peak_rss([f"{b}/navdump/navdump", four])
    os.remove(four)
    print(f"  peak RSS: 1 GiB {rss1 / 1024:.2f} MiB, 4 GiB {rss4 / 1024:.2f} MiB")


if __name__ == "__main__":
    main()
