#!/usr/bin/env python3
"""Compares the benchmarks of two builds on this machine, fairly.

    python3 scripts/bench-compare.py BEFORE_BUILD AFTER_BUILD [--rounds 5] [--cpu 0]
        [--bench view,window,files,world,startup]

Each round runs every benchmark program of the one build and then of the other, pinned to one
CPU, so that both see the same state of a shared, noisy machine; the table gives the median of
the rounds for each benchmark, in real and CPU time, and the median of any counter.
"""
import argparse
import json
import os
import statistics
import subprocess
import sys


def run(program, cpu):
    """The benchmarks of one program: name -> {"real_time": ..., "cpu_time": ..., counters...,
    "unit": time unit}."""
    command = [program, "--benchmark_format=json"]
    if cpu is not None:
        command = ["taskset", "-c", str(cpu)] + command
    output = subprocess.run(command, capture_output=True, text=True, check=False).stdout
    try:
        report = json.loads(output)
    except json.JSONDecodeError:
        return {}
    results = {}
    for benchmark in report.get("benchmarks", []):
        if benchmark.get("error_occurred"):
            continue
        values = {key: float(value) for key, value in benchmark.items()
                  if isinstance(value, (int, float)) and not isinstance(value, bool)
                  and key not in ("iterations", "repetitions", "repetition_index", "threads",
                                  "family_index", "per_family_instance_index")}
        values["unit"] = benchmark.get("time_unit", "")
        results[benchmark["name"]] = values
    return results


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("before")
    parser.add_argument("after")
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--cpu", type=int, default=0, help="CPU to pin to; -1 for none")
    parser.add_argument("--bench", default="view,window,files,world,startup")
    options = parser.parse_args()
    cpu = None if options.cpu < 0 else options.cpu
    sides = {"before": options.before, "after": options.after}
    samples = {}  # (program, name, side) -> {key: [values]}
    units = {}
    for round_number in range(options.rounds):
        print(f"round {round_number + 1} of {options.rounds}", file=sys.stderr)
        for bench in options.bench.split(","):
            for side, build in sides.items():
                program = os.path.join(build, "bench", f"velk_bench_{bench}")
                if not os.access(program, os.X_OK):
                    continue
                for name, values in run(program, cpu).items():
                    units[(bench, name)] = values.pop("unit")
                    entry = samples.setdefault((bench, name, side), {})
                    for key, value in values.items():
                        entry.setdefault(key, []).append(value)

    print(f"| benchmark | before | after | unit |")
    print(f"|---|---|---|---|")
    for bench, name in sorted(units):
        before = samples.get((bench, name, "before"), {})
        after = samples.get((bench, name, "after"), {})
        for key in sorted(set(before) | set(after), key=lambda k: (k != "real_time", k != "cpu_time", k)):
            def median(values):
                return f"{statistics.median(values):.4g}" if values else "-"
            unit = units[(bench, name)] if key.endswith("_time") else ""
            print(f"| {bench} {name} {key} | {median(before.get(key))} | {median(after.get(key))} | {unit} |")


if __name__ == "__main__":
    main()
