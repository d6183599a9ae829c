"""Bad input raises ValueError or TypeError with the tool's words for the same
mistake and leaks nothing; the interpreter is released while the engine
computes; every function documents itself with an example."""
import os
import tempfile
import threading
import unittest

import numpy as np
import quelmora as qm
from tooltest import GOLDEN, tool_message

NAN = float("nan")


def d():
    return qm.Domain(0.0, 1.0, 100)


def p():
    return qm.Partition.generic(d(), components=5)


# The Python call, and the tool's options for the same mistake.
SAME_MISTAKE = [
    (lambda: qm.Domain(1, 0, 10), ["--domain", "1,0,10"]),
    (lambda: qm.Domain(0, 1, 1), ["--domain", "0,1,1"]),
    (lambda: qm.Domain(NAN, 1, 10), ["--domain", "nan,1,10"]),
    (lambda: qm.Partition.generic(d(), shape="hexagon"), ["--shape", "hexagon"]),
    (lambda: qm.Partition.generic(d(), components=1), ["--components", "1"]),
    (lambda: qm.Partition.generic(d(), components=101), ["--domain", "0,1,100", "--components",
                                                         "101"]),
    (lambda: qm.Partition.generic(d(), 3, nodes=[0, 1]), ["--components", "3", "--nodes", "0,1"]),
    (lambda: qm.Partition.generic(d(), nodes=[0, NAN, 1]), ["--nodes", "0,nan,1"]),
    (lambda: qm.Partition.generic(d(), nodes=[0, 0.5, 0.5, 1]), ["--nodes", "0,0.5,0.5,1"]),
    (lambda: qm.Partition.generic(d(), shift=0), ["--shift", "0"]),
    (lambda: qm.Partition.equidistant(d(), fixed_point=2),
     ["--partition", "equidistant", "--fixed-point", "2"]),
    (lambda: qm.Partition.equidistant(d(), distance=-1),
     ["--partition", "equidistant", "--distance", "-1"]),
    (lambda: qm.Partition.equidistant(d(), shape="gaussian"),
     ["--partition", "equidistant", "--shape", "gaussian"]),
    (lambda: qm.Partition.custom(d(), shape="trapezoid"),
     ["--partition", "custom", "--shape", "trapezoid"]),
    (lambda: qm.Partition.custom(d(), width=0.1, variance=1e-9),
     ["--partition", "custom", "--delta", "0.1", "--variance", "1e-9"]),
    (lambda: qm.Partition.custom(d(), 0.5, shape="sin", nodes=[0, 1.5]),
     ["--partition", "custom", "--shape", "sin", "--delta", "0.5", "--nodes", "0,1.5"]),
    (lambda: qm.transform(p(), "sin("), ["--formula", "sin("]),
    (lambda: qm.transform(p(), "1,5*x"), ["--formula", "1,5*x"]),
    (lambda: qm.transform(p(), "foo(x)"), ["--formula", "foo(x)"]),
    (lambda: qm.transform(p(), "x", 4), ["--degree", "4"]),
    (lambda: qm.errors(p(), "x", basis="legendre"), ["--basis", "legendre"]),
    (lambda: qm.read_data("no-such-file.csv"), ["--data", "no-such-file.csv"]),
    (lambda: qm.Session("no-such-session.qms"), ["--session", "no-such-session.qms"]),
    (lambda: qm.read_data(os.path.join(GOLDEN, "golden-rows.txt"), x_column=5),
     ["--data", os.path.join(GOLDEN, "golden-rows.txt"), "--x-column", "5"]),
    (lambda: qm.convergence(d(), "x", [8, 4]), ["--errors", "--components-sweep", "8,4"]),
    (lambda: qm.convergence(d(), "x", [4, 200]),
     ["--domain", "0,1,100", "--errors", "--components-sweep", "4,200"]),
    (lambda: qm.convergence(d(), np.zeros(101), [4], points_per_function=64),
     ["--data", os.path.join(GOLDEN, "golden-rows.txt"), "--errors", "--components-sweep", "4",
      "--points-per-function", "64"]),
]

# Mistakes the tool cannot make: wrong lengths and types, unknown keywords.
OWN_MISTAKES = [
    (lambda: qm.transform(p(), [1.0, 2.0]), ValueError, "f holds 2 values, but the domain has 101"),
    (lambda: qm.transform(p(), np.zeros((2, 101))), ValueError, "one dimension"),
    (lambda: qm.errors(p(), 1.5), ValueError, "one dimension"),
    (lambda: qm.transform(p(), None), TypeError, "f must be numbers"),
    (lambda: qm.transform(p(), ["a", "b"]), TypeError, "f must be numbers"),
    (lambda: qm.transform(p(), "x", degre=1), TypeError, "incompatible function arguments"),
    (lambda: qm.Partition.generic(d(), componentz=3), TypeError, "incompatible"),
    (lambda: qm.Domain(0, 1, 10.5), TypeError, "incompatible"),
    (lambda: qm.transform(p(), "x", threads=-1), ValueError, "threads=-1"),
    (lambda: qm.Partition.generic(d(), nodes=[[0, 1]]), ValueError, "one-dimensional"),
    (lambda: qm.Session(b"x.qms"), TypeError, "path"),
]


class Inputs(unittest.TestCase):
    def test_the_tools_message_for_the_same_mistake(self):
        for call, tool_args in SAME_MISTAKE:
            with self.subTest(" ".join(tool_args)):
                with self.assertRaises(ValueError) as raised:
                    call()
                self.assertEqual(str(raised.exception), tool_message(tool_args))

    def test_own_mistakes(self):
        for call, error, words in OWN_MISTAKES:
            with self.subTest(words):
                with self.assertRaises(error) as raised:
                    call()
                self.assertIn(words, str(raised.exception))

    def test_a_session_the_window_refuses(self):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "bad.qms")
            with open(os.path.join(GOLDEN, "generic-triangle.qms")) as f:
                text = f.read().replace("partitionType=6", "partitionType=42")
            with open(path, "w") as f:
                f.write(text)
            with self.assertRaises(ValueError) as raised:
                qm.Session(path, formulas=os.path.join(GOLDEN, "FormulaBuilder.ini"))
            self.assertEqual(str(raised.exception), tool_message(["--session", path]))

    def test_arrays_convertible_to_float64(self):
        domain = qm.Domain(0.0, 1.0, 4)
        partition = qm.Partition.generic(domain, components=3)
        ints = qm.transform(partition, [0, 1, 2, 3, 4], 1)
        floats = qm.transform(partition, np.arange(5.0)[::-1][::-1].copy(), 1)
        strided = qm.transform(partition, np.arange(10.0)[::2] / 2, 1)
        for r in (floats, strided):
            self.assertTrue(np.array_equal(ints.inverse, r.inverse))
        self.assertTrue(ints.inverse.flags.owndata and ints.inverse.flags.writeable)
        self.assertFalse(domain.x.flags.writeable)

    def test_no_leak_when_calls_raise(self):
        domain, partition = d(), p()
        calls = [
            lambda: qm.Domain(1, 0, 10),
            lambda: qm.Partition.generic(domain, shape="hexagon"),
            lambda: qm.Partition.custom(domain, width=0.1, variance=1e-9),
            lambda: qm.transform(partition, "sin("),
            lambda: qm.errors(partition, "x", basis="legendre"),
            lambda: qm.transform(partition, [1.0, 2.0]),
            lambda: qm.transform(partition, None),
            lambda: qm.transform(partition, "x", degre=1),
            lambda: qm.read_data("no-such-file.csv"),
            lambda: qm.convergence(domain, "x", [8, 4]),
        ]

        def raise_many(count):
            for i in range(count):
                try:
                    calls[i % len(calls)]()
                except (ValueError, TypeError):
                    pass
                else:
                    self.fail("no exception")

        raise_many(1000)
        before = resident_bytes()
        raise_many(10000)
        self.assertLess(resident_bytes() - before, 1 << 20)

    def test_interpreter_released_while_computing(self):
        data = os.path.join(GOLDEN, "golden-rows.txt")
        session = os.path.join(GOLDEN, "generic-triangle.qms")
        formulas = os.path.join(GOLDEN, "FormulaBuilder.ini")
        partition = p()
        calls = {
            "partition": lambda: qm.Partition.custom(d(), width=0.2),
            "transform of values": lambda: qm.transform(partition, np.ones(101), 3),
            "transform of a formula": lambda: qm.transform(partition, "sin(x)", 1),
            "errors": lambda: qm.errors(partition, "x^2", 2),
            "convergence": lambda: qm.convergence(d(), "x^2", [4, 8]),
            "session": lambda: qm.Session(session, formulas=formulas),
            "session transform": lambda: qm.Session(session, formulas=formulas).transform(),
            "data": lambda: qm.read_data(data),
        }
        for name, call in calls.items():
            with self.subTest(name):
                qm._gil_probe()
                call()
                released, held = qm._gil_probe()
                self.assertGreaterEqual(released, 1)
                self.assertEqual(held, 0)

    def test_threads_share_a_partition(self):
        # The first calls on a partition make what its sums read, at once;
        # all cores (threads=0) split the sums into blocks (of 65,536 points
        # and 1,024 basic functions) and give the numbers of one thread.
        domain = qm.Domain(0.0, 1.0, 150000)
        f = np.sin(7 * domain.x)
        serial = qm.transform(qm.Partition.generic(domain, components=2000), f, 3)
        for _ in range(3):
            shared = qm.Partition.generic(domain, components=2000)
            start = threading.Barrier(4)
            results = [None] * 4

            def work(i):
                start.wait()
                results[i] = qm.transform(shared, f, 3, threads=i % 2)

            threads = [threading.Thread(target=work, args=(i,)) for i in range(4)]
            for t in threads:
                t.start()
            for t in threads:
                t.join()
            for r in results:
                self.assertTrue(np.array_equal(r.components, serial.components, equal_nan=True))
                self.assertTrue(np.array_equal(r.inverse, serial.inverse))

    def test_documented_with_examples(self):
        for f in (qm.Domain, qm.Partition.generic, qm.Partition.equidistant, qm.Partition.custom,
                  qm.transform, qm.errors, qm.convergence, qm.Session, qm.Session.transform,
                  qm.read_data, qm.Convergence.orders, qm.Convergence.table):
            with self.subTest(f.__name__):
                self.assertIn("Example", f.__doc__)
                self.assertIn(">>> ", f.__doc__)


def resident_bytes():
    with open("/proc/self/statm") as f:
        return int(f.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")


if __name__ == "__main__":
    unittest.main()
