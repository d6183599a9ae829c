"""examples/python/sweep_dask.py on a two-worker LocalCluster (worker
processes, one thread each) over a handful of small cases: its table is the
tool's sweep table for each case, the shape in front."""
import os
import subprocess
import sys
import unittest

from tooltest import GOLDEN, run_tool

SCRIPT = os.path.join(os.environ["QUELMORA_SOURCE"], "examples", "python", "sweep_dask.py")
COUNTS = "4,8,16"


class DaskSweep(unittest.TestCase):
    def test_table_is_the_tools(self):
        data = os.path.join(GOLDEN, "golden-rows.txt")
        sources = [(["--domain", "0,1,200", "--formula", f], f) for f in ("sin(6*x)", "x^3")]
        sources.append((["--data", data], "golden-rows.txt"))
        shapes = ["triangle", "sin"]
        args = ["--workers", "2", "--domain", "0,1,200", "--formula", "sin(6*x)", "--formula",
                "x^3", "--data", data, "--counts", COUNTS, "--degree", "1", "--precision", "17"]
        for s in shapes:
            args += ["--shape", s]
        p = subprocess.run([sys.executable, SCRIPT] + args, capture_output=True, text=True,
                           timeout=240)
        self.assertEqual(p.returncode, 0, p.stderr)

        expected = []
        for tool_args, name in sources:
            for shape in shapes:
                out = run_tool(tool_args + ["--name", name, "--shape", shape, "--errors",
                                            "--components-sweep", COUNTS, "--degree", "1",
                                            "--precision", "17"])[1].splitlines()
                if not expected:
                    expected.append('"Shape";' + out[0])
                expected += [f"{shape}; {row}" for row in out[1:]]
        self.assertEqual(p.stdout.splitlines(), expected)


if __name__ == "__main__":
    unittest.main()
