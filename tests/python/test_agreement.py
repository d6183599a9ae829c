"""The module's numbers are the batch tool's for the same job, compared at 17
significant digits: formulas and arrays (given to the tool as a data file),
every partition kind and shape, degrees 0 to 3, both bases; data files;
the golden sessions; a convergence sweep."""
import glob
import os
import tempfile
import unittest

import numpy as np
import quelmora as qm
from tooltest import GOLDEN, columns, digits17, run_tool

P = qm.Partition
FORMULA = "sin(3*x) + x^2"
DOMAIN = (-1.0, 2.0, 300)

# name, the tool's partition options, the same partition in Python, degree,
# basis, and whether f goes in as a formula or as an array.
CASES = [
    ("generic default", [], lambda d: P.generic(d), 0, "orthogonal", "formula"),
    ("generic 7", ["--components", "7"], lambda d: P.generic(d, 7), 3, "orthogonal", "array"),
    ("generic sin nodes", ["--shape", "sin", "--nodes", "-1,-0.2,0.5,1.1,2"],
     lambda d: P.generic(d, nodes=[-1, -0.2, 0.5, 1.1, 2], shape="sin"), 2, "closed-form",
     "formula"),
    ("generic shift offset", ["--components", "9", "--shift", "2", "--offset", "0"],
     lambda d: P.generic(d, 9, shift=2, offset=0), 1, "orthogonal", "array"),
    ("equidistant triangle",
     ["--partition", "equidistant", "--fixed-point", "0.3", "--distance", "0.45"],
     lambda d: P.equidistant(d, fixed_point=0.3, distance=0.45), 3, "closed-form", "formula"),
    ("equidistant sin", ["--partition", "equidistant", "--shape", "sin", "--distance", "0.6"],
     lambda d: P.equidistant(d, distance=0.6, shape="sin"), 2, "orthogonal", "array"),
    ("custom gaussian", ["--partition", "custom", "--delta", "0.25", "--variance", "0.1"],
     lambda d: P.custom(d, width=0.25, variance=0.1), 3, "orthogonal", "formula"),
    ("custom triangle",
     ["--partition", "custom", "--shape", "triangle", "--delta", "0.5", "--variance", "0.6"],
     lambda d: P.custom(d, 0.5, 0.6, shape="triangle"), 1, "closed-form", "array"),
    ("custom sin nodes",
     ["--partition", "custom", "--shape", "sin", "--delta", "0.75", "--nodes",
      "-1,-0.1,0.6,1.3,2"],
     lambda d: P.custom(d, width=0.75, nodes=[-1, -0.1, 0.6, 1.3, 2], shape="sin"), 2,
     "orthogonal", "formula"),
]


def expected_columns(names, results, degrees, values=None):
    """The columns the tool writes with --output [function,]nodes,components,inverse."""
    out = []
    for i, (name, r) in enumerate(zip(names, results)):
        if values is not None:
            out.append((name, values[i]))
        if i == 0:
            out.append(("Nodes", r.nodes))
        out += [(f"{name} - Comp{d}", r.components[d]) for d in degrees]
        out += [(f"{name} - Inverse{d}", r.inverse[d]) for d in degrees]
    return out


class Agreement(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.dir.cleanup()

    def assertSameColumns(self, tool_output, expected):
        got = columns(tool_output)
        self.assertEqual([n for n, _ in got], [n for n, _ in expected])
        for (name, cells), (_, values) in zip(got, expected):
            self.assertEqual(digits17(cells), digits17(values), name)

    def data_file(self, x, y):
        path = os.path.join(self.dir.name, "f.txt")
        with open(path, "w") as f:
            for a, b in zip(x, y):
                f.write("%.17g %.17g\n" % (a, b))
        return path

    def test_kinds_shapes_degrees(self):
        for name, tool_args, make, degree, basis, source in CASES:
            with self.subTest(name):
                d = qm.Domain(*DOMAIN)
                p = make(d)
                if source == "formula":
                    f = FORMULA
                    job = ["--domain", "-1,2,300", "--formula", FORMULA]
                else:
                    f = np.sin(3 * d.x) + d.x ** 2
                    job = ["--data", self.data_file(d.x, f)]
                job += tool_args + ["--name", "f", "--degree", str(degree), "--basis", basis,
                                    "--precision", "17"]
                r = qm.transform(p, f, degree, basis=basis)
                self.assertEqual(r.components.shape, (degree + 1, len(p)))
                self.assertEqual(r.inverse.shape, (degree + 1, len(d)))
                out = run_tool(job + ["--output", "nodes,components,inverse"])[1]
                self.assertSameColumns(out, expected_columns(["f"], [r], range(degree + 1)))

                e = qm.errors(p, f, degree, basis=basis)
                table = dict(columns(run_tool(job + ["--errors"])[1]))
                for measure, values in (("MaxAbs", e.max_abs), ("RMSE", e.rmse),
                                        ("ArgMax", e.arg_max)):
                    self.assertEqual(digits17(table[measure]), digits17(values), measure)

    def test_data_files(self):
        # The x column, decimal commas and a header; then row numbers, no header.
        for file, kwargs, tool_args in (
                ("golden-data.csv", {"separator": " ", "x_column": 1},
                 ["--separator", " ", "--x-column", "1"]),
                ("golden-rows.txt", {"x_column": -1}, ["--x-column", "-1"])):
            with self.subTest(file):
                path = os.path.join(GOLDEN, file)
                data = qm.read_data(path, **kwargs)
                p = qm.Partition.generic(data.domain, components=4)
                results = [qm.transform(p, c, 1) for c in data.columns]
                out = run_tool(["--data", path, "--components", "4", "--degree", "1",
                                "--precision", "17", "--output",
                                "function,nodes,components,inverse"] + tool_args)[1]
                self.assertSameColumns(
                    out, expected_columns(data.names, results, [0, 1], data.columns))

    def test_sessions(self):
        formulas = os.path.join(GOLDEN, "FormulaBuilder.ini")
        sessions = sorted(glob.glob(os.path.join(GOLDEN, "*.qms")))
        self.assertGreaterEqual(len(sessions), 10)
        for path in sessions:
            with self.subTest(os.path.basename(path)):
                s = qm.Session(path, formulas=formulas)
                results = s.transform()
                self.assertEqual(len(results), len(s.names))
                out = run_tool(["--session", path, "--formulas", formulas, "--precision", "17",
                                "--output", "function,nodes,components,inverse"])[1]
                self.assertSameColumns(
                    out, expected_columns(s.names, results, s.degrees, s.values))

    def test_convergence_sweep(self):
        c = qm.convergence(qm.Domain(0, 1, 200), "sin(6*x)", [4, 8, 16, 32], degree=2)
        table = os.path.join(self.dir.name, "sweep.csv")
        run_tool(["--domain", "0,1,200", "--formula", "sin(6*x)", "--name", "s", "--errors",
                  "--components-sweep", "4,8,16,32", "--degree", "2", "--precision", "17",
                  "-o", table])
        with open(table) as f:
            self.assertEqual(c.table("s", precision=17), f.read())
        with open(os.path.join(self.dir.name, "sweep-orders.csv")) as f:
            self.assertEqual(c.orders_table("s", precision=17), f.read())
        self.assertEqual(list(c.counts), [4, 8, 16, 32])
        self.assertEqual(c.max_abs.shape, (4, 3))


if __name__ == "__main__":
    unittest.main()
