#!/usr/bin/env python3
"""A convergence sweep of many functions and partitions on a Dask cluster.

Each case (a formula or a data file, with a basic-function shape) is one task:
it builds its own domain or reads its own file on the worker, computes the
errors of the inverse F-transforms for each component count with quelmora,
and returns its rows. Only the parameters travel to the workers, and quelmora
releases the interpreter while it computes, so the workers' threads run in
parallel too. The rows are gathered into one semicolon-separated table: the
table of `quelmora-ft --errors --components-sweep`, with the shape in front.

    sweep_dask.py --formula "sin(6*x)" --formula "x^3" --data a.csv --shape triangle \
        --shape sin --counts 4,8,16,32,64 --degree 1
    sweep_dask.py --scheduler tcp://HOST:8786 ...   # an existing cluster (the
                                                    # files must be there too)
"""
import argparse
import os
import sys


def sweep_case(case):
    """The table rows of one case, the shape in front; runs on a worker."""
    import quelmora as qm

    o = case["options"]
    if case["formula"] is not None:
        low, high, count = o["domain"]
        domain = qm.Domain(low, high, count)
        functions = [(case["formula"], case["formula"])]
    else:
        data = qm.read_data(case["data"], separator=o["separator"], x_column=o["x_column"])
        domain = data.domain
        base = os.path.basename(case["data"])
        names = [base] if len(data.columns) == 1 else [f"{base} {n.split()[-1]}"
                                                        for n in data.names]
        functions = list(zip(names, data.columns))
    rows = []
    header = None
    for name, f in functions:
        study = qm.convergence(domain, f, o["counts"], degree=o["degree"], shape=case["shape"],
                               basis=o["basis"], threads=1)
        lines = study.table(name, precision=o["precision"]).splitlines()
        header = lines[0]
        rows += [f"{case['shape']}; {line}" for line in lines[1:]]
    return header, rows


def cases(args):
    options = {
        "domain": args.domain, "counts": args.counts, "degree": args.degree,
        "basis": args.basis, "precision": args.precision, "separator": args.separator,
        "x_column": args.x_column,
    }
    sources = [(f, None) for f in args.formula] + [(None, os.path.abspath(p)) for p in args.data]
    return [{"formula": f, "data": p, "shape": s, "options": options}
            for f, p in sources for s in args.shape]


def parse(argv):
    def domain(text):
        low, high, count = text.split(",")
        return float(low), float(high), int(count)

    def counts(text):
        return None if text == "default" else [int(c) for c in text.split(",")]

    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--scheduler", help="address of a running scheduler, tcp://HOST:8786 "
                   "(default: a LocalCluster on this machine)")
    p.add_argument("--workers", type=int, default=os.cpu_count(),
                   help="LocalCluster workers, one thread each (default: the cores)")
    p.add_argument("--formula", action="append", default=[], help="a function of x; repeatable")
    p.add_argument("--data", action="append", default=[], help="a data file; repeatable")
    p.add_argument("--separator", help="value separator of the data files")
    p.add_argument("--x-column", type=int, help="x column of the data files (-1: none)")
    p.add_argument("--domain", type=domain, default=(0.0, 1.0, 2000),
                   help="LOW,HIGH,COUNT of the formulas (default 0,1,2000)")
    p.add_argument("--shape", action="append", help="triangle or sin; repeatable (default "
                   "triangle)")
    p.add_argument("--counts", type=counts, default=None,
                   help="ascending component counts N1,N2,... (default: the tool's default)")
    p.add_argument("--degree", type=int, default=0)
    p.add_argument("--basis", default="orthogonal")
    p.add_argument("--precision", type=int, default=6)
    p.add_argument("-o", "--output", help="write the table here instead of standard output")
    args = p.parse_args(argv)
    args.shape = args.shape or ["triangle"]
    if not args.formula and not args.data:
        p.error("give at least one --formula or --data")
    return args


def main(argv=None):
    args = parse(argv)
    from dask.distributed import Client, LocalCluster

    if args.scheduler:
        client = Client(args.scheduler)
        cluster = None
    else:
        # Processes, not threads: each worker has an interpreter of its own.
        cluster = LocalCluster(n_workers=args.workers, threads_per_worker=1, processes=True,
                               dashboard_address=None)
        client = Client(cluster)
    try:
        results = client.gather(client.map(sweep_case, cases(args), pure=False))
    finally:
        client.close()
        if cluster is not None:
            cluster.close()
    lines = ['"Shape";' + results[0][0]] + [row for _, rows in results for row in rows]
    text = "\n".join(lines) + "\n"
    if args.output:
        with open(args.output, "w") as f:
            f.write(text)
    else:
        sys.stdout.write(text)


if __name__ == "__main__":
    main()
