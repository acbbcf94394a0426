#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Throughput benchmark of navdump against a read(2) floor and a baseline.

Usage: bench/navdump_bench.py BUILD_DIR [--runs N] [--dir DIR]

Writes a 1 GiB sample record file, reads it once to bring it into the page
cache, then times alternating runs of each command and reports medians of
wall time and of CPU time (user + system, which other load on the machine
disturbs less) and their ratios against the targets. Also reports navdump's
peak resident memory on 1 GiB and 4 GiB files and, where the caches can be
dropped, navdump and the read(2) floor on a cold cache.
"""
import argparse
import os
import statistics
import subprocess
import sys
import time

RECORD = 136


def run(cmd, shell=False):
    """Wall and CPU time of one run (with the processes it waited for),
    output sent to /dev/null."""
    with open(os.devnull, "wb") as null:
        start = time.perf_counter()
        proc = subprocess.Popen(cmd, shell=shell, stdout=null, stderr=null)
        _, status, usage = os.wait4(proc.pid, 0)
        elapsed = time.perf_counter() - start
        proc.returncode = os.waitstatus_to_exitcode(status)  # reaped above
    if status != 0:
        sys.exit(f"failed: {cmd}")
    return elapsed, usage.ru_utime + usage.ru_stime


def drop_caches():
    """True when the page cache could be dropped."""
    try:
        os.sync()
        with open("/proc/sys/vm/drop_caches", "w") as control:
            control.write("3\n")
        return True
    except OSError as error:
        print(f"  cold cache: not measured, cannot drop caches ({error.strerror})")
        return False


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
    wall = {name: [] for name in cases}
    cpu = {name: [] for name in cases}
    for _ in range(args.runs):
        for name, (cmd, shell) in cases.items():
            w, c = run(cmd, shell)
            wall[name].append(w)
            cpu[name].append(c)
    med = {name: statistics.median(t) for name, t in wall.items()}
    mcpu = {name: statistics.median(t) for name, t in cpu.items()}
    print(f"machine: {os.cpu_count()} cores, {os.uname().release}; runs: {args.runs}; "
          f"load average {os.getloadavg()[0]:.1f}")
    for name in cases:
        spread = max(wall[name]) - min(wall[name])
        print(f"  {name:32s} median {med[name] * 1000:8.1f} ms (range {spread * 1000:6.1f} ms), "
              f"CPU {mcpu[name] * 1000:8.1f} ms")
    for label, m in (("wall", med), ("CPU", mcpu)):
        nav = m["navdump FILE"]
        print(f"  {label:4s} navdump / floor        {nav / m['read(2) floor, 1 MiB']:6.2f}"
              f"   (target <= 0.50)")
        print(f"  {label:4s} baseline / navdump     {m['baseline (fread per record)'] / nav:6.2f}"
              f"   (target >= 10)")
        print(f"  {label:4s} pipe: navdump / cat    "
              f"{m['cat FILE | navdump /dev/stdin'] / m['cat FILE | cat >/dev/null']:6.2f}"
              f"   (target <= 1.10)")

    if drop_caches():
        cold = {"navdump FILE": [], "read(2) floor, 1 MiB": []}
        for _ in range(max(3, args.runs // 3)):
            for name in cold:
                drop_caches()
                cold[name].append(run(cases[name][0])[0])
        c_nav = statistics.median(cold["navdump FILE"])
        c_floor = statistics.median(cold["read(2) floor, 1 MiB"])
        print(f"  cold cache: navdump {c_nav * 1000:.1f} ms, floor {c_floor * 1000:.1f} ms, "
              f"ratio {c_nav / c_floor:.2f}")

    rss1 = peak_rss([f"{b}/navdump/navdump", one])
    four = os.path.join(args.dir, "navdump_bench_4g.rec")
    write_sample(b, four, 4)
    rss4 = peak_rss([f"{b}/navdump/navdump", four])
    os.remove(four)
    print(f"  peak RSS: 1 GiB {rss1 / 1024:.2f} MiB, 4 GiB {rss4 / 1024:.2f} MiB"
          f"   (target <= 8 MiB)")


if __name__ == "__main__":
    main()
