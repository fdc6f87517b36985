#!/usr/bin/env python3
"""Times whole runs of pictoswap against two peers on the same bytes, and reports peak memory.

For each size an AIF is made by the test-file builder (make_bench_aif). Each run of the tool is
`pictoswap -iX -sX -lX -oY`: it extracts X.mbm, reads it back as the replacement and writes Y.aif,
which is then byte for byte X.aif. Its peers, measured in the same rounds:

  cp pair   `cp X.aif A; cp X.aif B`: the bytes every run must write, the floor;
  xxd       `xxd -p X.aif | xxd -r -p > Z`: a round trip through hex text.

Wall times are medians over the rounds (the peers take turns inside each round, so that noise from
other work on the machine falls on all of them alike). Peak resident memory is the median of
`/usr/bin/time -v` over a few more runs; for the peers made of two processes it is the larger one.

Usage: whole_process.py --build-dir DIR [--runs N] [--memory-runs N] [--sizes 10K,1M,...]
"""

import argparse
import filecmp
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

MIB = 1 << 20


def parse_size(text):
    units = {"K": 1 << 10, "M": 1 << 20}
    if text[-1].upper() in units:
        return int(float(text[:-1]) * units[text[-1].upper()])
    return int(text)


def size_label(size):
    if size % MIB == 0:
        return f"{size // MIB} MiB"
    return f"{size / 1024:g} KiB"


def remove(*paths):
    for path in paths:
        if os.path.exists(path):
            os.remove(path)


def wall(commands, cwd):
    """Seconds to run the commands one after the other; each is a list of argv lists joined by
    pipes (stdout of one into stdin of the next, the last one's stdout into its `>` file)."""
    start = time.perf_counter()
    for pipeline, output in commands:
        with open(os.path.join(cwd, output) if output else os.devnull, "wb") as out:
            procs = []
            previous = None
            for i, argv in enumerate(pipeline):
                last = i == len(pipeline) - 1
                proc = subprocess.Popen(argv, cwd=cwd, stdin=previous,
                                        stdout=out if last else subprocess.PIPE)
                if previous is not None:
                    previous.close()
                previous = proc.stdout
                procs.append(proc)
            for proc in procs:
                if proc.wait() != 0:
                    raise RuntimeError(f"{argv} failed with status {proc.returncode}")
    return time.perf_counter() - start


def peak_rss(commands, cwd):
    """Largest `Maximum resident set size` of any process of the commands, in bytes."""
    peak = 0
    for pipeline, output in commands:
        reports = []
        wrapped = []
        for argv in pipeline:
            report = tempfile.NamedTemporaryFile(delete=False, dir=cwd, suffix=".time")
            report.close()
            reports.append(report.name)
            wrapped.append(["/usr/bin/time", "-v", "-o", report.name] + argv)
        wall([(wrapped, output)], cwd)
        for name in reports:
            with open(name) as f:
                match = re.search(r"Maximum resident set size \(kbytes\): (\d+)", f.read())
            os.remove(name)
            peak = max(peak, int(match.group(1)) * 1024)
    return peak


def peers(tool):
    """The three commands compared, with the files each one writes."""
    return {
        "pictoswap": ([([[tool, "-iin", "-sin", "-lin", "-oout"]], None)], ["in.mbm", "out.aif"]),
        "cp pair": ([([["cp", "in.aif", "copy1.aif"]], None),
                     ([["cp", "in.aif", "copy2.aif"]], None)], ["copy1.aif", "copy2.aif"]),
        "xxd": ([([["xxd", "-p", "in.aif"], ["xxd", "-r", "-p"]], "xxd.aif")], ["xxd.aif"]),
    }


def measure(size, tool, generator, runs, memory_runs, workdir):
    cwd = os.path.join(workdir, f"size-{size}")
    os.makedirs(cwd, exist_ok=True)
    subprocess.run([generator, str(size), "in.aif"], cwd=cwd, check=True)
    commands = peers(tool)

    # One untimed run of each, which also checks that every one reproduces the input.
    for name, (cmds, outputs) in commands.items():
        remove(*(os.path.join(cwd, o) for o in outputs))
        wall(cmds, cwd)
    for out in ["out.aif", "copy1.aif", "copy2.aif", "xxd.aif"]:
        if not filecmp.cmp(os.path.join(cwd, "in.aif"), os.path.join(cwd, out), shallow=False):
            raise RuntimeError(f"{out} differs from the input at {size_label(size)}")

    times = {name: [] for name in commands}
    for _ in range(runs):
        for name, (cmds, outputs) in commands.items():
            remove(*(os.path.join(cwd, o) for o in outputs))
            times[name].append(wall(cmds, cwd))
    memory = {name: [] for name in commands}
    for _ in range(memory_runs):
        for name, (cmds, outputs) in commands.items():
            remove(*(os.path.join(cwd, o) for o in outputs))
            memory[name].append(peak_rss(cmds, cwd))
    shutil.rmtree(cwd)
    return ({name: statistics.median(t) for name, t in times.items()},
            {name: statistics.median(m) for name, m in memory.items()})


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--runs", type=int, default=11)
    parser.add_argument("--memory-runs", type=int, default=3)
    parser.add_argument("--sizes", default="10K,1M,4M,15M")
    parser.add_argument("--workdir", default=None, help="where the files go (default: a new "
                        "temporary folder, removed afterwards)")
    args = parser.parse_args()

    tool = os.path.abspath(os.path.join(args.build_dir, "pictoswap"))
    generator = os.path.abspath(os.path.join(args.build_dir, "bench", "make_bench_aif"))
    for program in [tool, generator, "/usr/bin/time", shutil.which("xxd") or "xxd"]:
        if not os.path.exists(program):
            sys.exit(f"missing {program}: see the Performance section of README.md")
    sizes = [parse_size(s) for s in args.sizes.split(",")]

    workdir = args.workdir or tempfile.mkdtemp(prefix="pictoswap-bench-")
    os.makedirs(workdir, exist_ok=True)
    results = {}
    try:
        for size in sizes:
            results[size] = measure(size, tool, generator, args.runs, args.memory_runs, workdir)
    finally:
        if not args.workdir:
            shutil.rmtree(workdir, ignore_errors=True)

    print(f"Median wall time of {args.runs} runs, peak RSS median of {args.memory_runs} "
          f"(/usr/bin/time -v); run: pictoswap -iX -sX -lX -oY")
    header = (f"{'AIF':>8} | {'pictoswap':>10} | {'cp pair':>8} | {'xxd':>8} | "
              f"{'tool/cp':>7} | {'xxd/tool':>8} | {'ms/MiB':>7} | {'peak RSS':>9} | "
              f"{'B/byte':>6} | {'cp RSS':>7} | {'xxd RSS':>7}")
    print(header)
    print("-" * len(header))
    for size, (t, m) in results.items():
        tool_t = t["pictoswap"]
        print(f"{size_label(size):>8} | {tool_t * 1e3:8.2f}ms | {t['cp pair'] * 1e3:6.2f}ms | "
              f"{t['xxd'] * 1e3:6.1f}ms | {tool_t / t['cp pair']:7.2f} | "
              f"{t['xxd'] / tool_t:8.1f} | {tool_t * 1e3 / (size / MIB):7.2f} | "
              f"{m['pictoswap'] / MIB:6.1f}MiB | {m['pictoswap'] / size:6.2f} | "
              f"{m['cp pair'] / MIB:4.1f}MiB | {m['xxd'] / MIB:4.1f}MiB")

    print()
    print("Targets:")
    checks = []
    if 15 * MIB in results:
        t, m = results[15 * MIB]
        checks += [
            ("15 MiB: time at most 3 x the cp pair", t["pictoswap"] / t["cp pair"], "<=", 3.0),
            ("15 MiB: at least 5 x faster than xxd", t["xxd"] / t["pictoswap"], ">=", 5.0),
            ("15 MiB: peak memory at most 4 bytes per input byte",
             m["pictoswap"] / (15 * MIB), "<=", 4.0),
        ]
    if 15 * MIB in results and MIB in results:
        per_mib = {s: results[s][0]["pictoswap"] / (s / MIB) for s in (MIB, 15 * MIB)}
        ratio = max(per_mib.values()) / min(per_mib.values())
        checks.append(("time per MiB at 1 MiB and 15 MiB within 1.5 x", ratio, "<=", 1.5))
    if 10 * 1024 in results:
        t, _ = results[10 * 1024]
        checks.append(("10 KiB: time at most 1.5 x the cp pair", t["pictoswap"] / t["cp pair"],
                       "<=", 1.5))
    for label, value, op, limit in checks:
        holds = value <= limit if op == "<=" else value >= limit
        print(f"  {'holds' if holds else 'MISSED':6}  {label}: {value:.2f} (target {op} {limit:g})")


if __name__ == "__main__":
    main()
