#!/usr/bin/env python3
"""The transform through the Python module beside the same job in C++.

quelmora.transform at 1,000,001 points and 50,001 generic Ruspini triangles,
degrees 0 and 3, on values held in a numpy array, timed per call (process CPU
time and wall time, medians of the repetitions); then bench_transform, the C++
Google Benchmark of the same job, and the ratio of the two.

    PYTHONPATH=build/python /usr/bin/python3 bench/bench_python.py \
        --cpp build/bench/bench_transform
"""
import argparse
import json
import statistics
import subprocess
import time

import numpy as np
import quelmora as qm


def timed(call, seconds):
    """Medians of (process CPU time, wall time) per call, over at least `seconds`."""
    call()  # the partition's sums are made on the first call
    cpu, wall = [], []
    start = time.perf_counter()
    while time.perf_counter() - start < seconds or len(cpu) < 5:
        c0, w0 = time.process_time(), time.perf_counter()
        call()
        cpu.append(time.process_time() - c0)
        wall.append(time.perf_counter() - w0)
    return statistics.median(cpu), statistics.median(wall)


def cpp_figures(path, seconds):
    """bench_transform's medians of CPU and real time per degree, in seconds."""
    out = subprocess.run(
        [path, f"--benchmark_min_time={seconds}", "--benchmark_repetitions=3",
         "--benchmark_report_aggregates_only=true", "--benchmark_format=json"],
        check=True, capture_output=True, text=True).stdout
    figures = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") == "median":
            degree = int(b["run_name"].rsplit("/", 1)[1])
            scale = {"ms": 1e-3, "us": 1e-6, "ns": 1e-9, "s": 1.0}[b["time_unit"]]
            figures[degree] = (b["cpu_time"] * scale, b["real_time"] * scale)
    return figures


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cpp", help="bench_transform, to run beside")
    parser.add_argument("--seconds", type=float, default=3.0, help="time per case")
    args = parser.parse_args()

    d = qm.Domain(0.0, 1.0, 1000000)
    p = qm.Partition.generic(d, components=50001)
    f = np.sin(6 * d.x)
    cpp = cpp_figures(args.cpp, args.seconds) if args.cpp else {}
    print("degree; Python CPU ms; Python wall ms; C++ CPU ms; C++ wall ms; CPU ratio")
    for degree in (0, 3):
        cpu, wall = timed(lambda: qm.transform(p, f, degree), args.seconds)
        line = f"{degree}; {cpu * 1e3:.2f}; {wall * 1e3:.2f}"
        if degree in cpp:
            ccpu, cwall = cpp[degree]
            line += f"; {ccpu * 1e3:.2f}; {cwall * 1e3:.2f}; {cpu / ccpu:.3f}"
        print(line)


if __name__ == "__main__":
    main()
