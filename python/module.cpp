// The Python module `quelmora`: the F-transform engine of the program and
// the batch tool, numpy arrays in and out. Arguments are converted here, the
// interpreter is released around every computation, and the work itself is
// done by moduleobjects.cpp through the tool's own code.
#include "moduleobjects.h"
#include "version_private.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <atomic>
#include <sstream>

namespace py = pybind11;

namespace {

using Array = py::array_t<double, py::array::c_style | py::array::forcecast>;
using DomainRef = std::shared_ptr<Module::Domain>;
using PartitionRef = std::shared_ptr<Module::Partition>;
using StudyRef = std::shared_ptr<Module::Study>;

// The tests' look inside the computation: how many computations ran
// without the interpreter's lock, and how many with it.
std::atomic<long> releasedRuns{0}, heldRuns{0};

// Runs f with the interpreter released, so that other Python threads run.
template <typename F>
auto computing(F f) -> decltype(f())
{
  py::gil_scoped_release release;
  ++(PyGILState_Check() ? heldRuns : releasedRuns);
  return f();
}

template <typename T>
std::shared_ptr<T> mutableRef(const std::shared_ptr<const T>& p)
{
  return std::const_pointer_cast<T>(p);
}

std::string pathText(const py::object& path, const char* argument)
{
  const py::object text = py::module_::import("os").attr("fspath")(path);
  if (!py::isinstance<py::str>(text))
    throw py::type_error(std::string(argument) + " must be a path given as text");
  return text.cast<std::string>();
}

// A sequence or array as float64 values, converted once (a C-contiguous
// float64 array is taken as it is).
Array toArray(const py::handle& values, const char* argument)
{
  Array a;
  // numpy would take None for NaN.
  if (values.is_none() || !(a = Array::ensure(values)))
    throw py::type_error(std::string(argument) + " must be numbers convertible to float64, not " +
                         std::string(py::str(py::type::of(values).attr("__name__"))));
  return a;
}

Module::Partition::Nodes nodeList(const py::object& nodes)
{
  if (nodes.is_none())
    return std::nullopt;
  const Array a = toArray(nodes, "nodes");
  if (a.ndim() != 1)
    throw py::value_error("nodes must be one-dimensional");
  return std::vector<double>(a.data(), a.data() + a.size());
}

// A read-only array over values that `owner` keeps alive.
py::array view(const std::vector<double>& values, const py::handle& owner)
{
  py::array a(py::dtype::of<double>(), {py::ssize_t(values.size())}, {py::ssize_t(sizeof(double))},
              values.data(), owner);
  a.attr("setflags")(py::arg("write") = false);
  return a;
}

py::list views(const std::vector<std::vector<double>>& arrays, const py::handle& owner)
{
  py::list out;
  for (const auto& v : arrays)
    out.append(view(v, owner));
  return out;
}

// A new array of the values, in rows of `columns` when given.
template <typename T>
py::array_t<T> arrayOf(const std::vector<T>& values, std::size_t columns = 0)
{
  std::vector<py::ssize_t> shape{py::ssize_t(values.size())};
  if (columns > 0)
    shape = {py::ssize_t(values.size() / columns), py::ssize_t(columns)};
  py::array_t<T> a(shape);
  std::copy(values.begin(), values.end(), a.mutable_data());
  return a;
}

struct Result
{
  py::array_t<double> components, inverse, nodes;
  int degree = 0;
  std::string basis;
};

// The arrays are made before the interpreter is released.
Result newResult(const Module::Partition& p, const Module::Request& r)
{
  const py::ssize_t rows = r.degree + 1;
  return Result{py::array_t<double>({rows, py::ssize_t(p.size())}),
                py::array_t<double>({rows, py::ssize_t(p.domain()->size())}),
                arrayOf(p.positions()), r.degree, Fn::basisName(r.basis)};
}

// compute(samples) of f, an array or a formula sampled on the domain.
template <typename Compute>
auto withSamples(const Module::Domain& d, const py::object& f, Compute compute)
{
  if (py::isinstance<py::str>(f)) {
    const std::string formula = f.cast<std::string>();
    return computing([&] { return compute(Module::Samples(d, formula)); });
  }
  const Array values = toArray(f, "f");
  Module::Samples::checkShape(d, int(values.ndim()), std::size_t(values.size()));
  return computing(
      [&] { return compute(Module::Samples(values.data(), std::size_t(values.size()))); });
}

Result transform(const PartitionRef& p, const py::object& f, int degree, const std::string& basis,
                 int threads)
{
  const Module::Request r = Module::request(degree, basis, threads);
  Result result = newResult(*p, r);
  double* components = result.components.mutable_data();
  double* inverse = result.inverse.mutable_data();
  withSamples(*p->domain(), f, [&](const Module::Samples& s) {
    Module::transform(*p, s, r, components, inverse);
    return 0;
  });
  return result;
}

struct Errors
{
  py::array_t<double> maxAbs, rmse, argMax;
};

Errors errors(const PartitionRef& p, const py::object& f, int degree, const std::string& basis,
              int threads)
{
  const Module::Request r = Module::request(degree, basis, threads);
  const auto measures = withSamples(
      *p->domain(), f, [&](const Module::Samples& s) { return Module::errors(*p, s, r); });
  std::vector<double> maxAbs, rmse, argMax;
  for (const Analysis::ErrorMeasure& e : measures) {
    maxAbs.push_back(e.maxAbs);
    rmse.push_back(e.rmse);
    argMax.push_back(e.argMax);
  }
  return Errors{arrayOf(maxAbs), arrayOf(rmse), arrayOf(argMax)};
}

StudyRef convergence(const DomainRef& d, const py::object& f,
                     const std::optional<std::vector<long long>>& counts, int degree,
                     const std::string& shape, long long shift, long long offset,
                     const std::string& basis, long long pointsPerFunction, int threads)
{
  const Module::Request r = Module::request(degree, basis, threads);
  const Module::Sweep sweep{counts, shape, shift, offset, pointsPerFunction};
  Module::check(sweep, r);
  return withSamples(*d, f, [&](const Module::Samples& s) {
    return std::make_shared<Module::Study>(*d, s, sweep, r);
  });
}

py::array_t<double> table(const Module::Study& s, Module::Study::Measure m)
{
  return arrayOf(s.measure(m), std::size_t(s.degree()) + 1);
}

Module::Study::Measure measureNamed(const std::string& name)
{
  if (name == "max_abs")
    return Module::Study::Measure::MaxAbs;
  if (name == "rmse")
    return Module::Study::Measure::Rmse;
  throw py::value_error("measure must be \"max_abs\" or \"rmse\", not \"" + name + "\"");
}

std::vector<Result> sessionTransform(const Module::Session& s, int threads)
{
  const Module::Request r = Module::request(s.degree(), Fn::basisName(s.basis()), threads);
  const Module::Partition& p = *s.partition();
  std::vector<Result> results;
  for (std::size_t i = 0; i < s.values().size(); ++i)
    results.push_back(newResult(p, r));
  computing([&] {
    for (std::size_t i = 0; i < results.size(); ++i) {
      const std::vector<double>& f = s.values()[i];
      Module::transform(p, Module::Samples(f.data(), f.size()), r,
                        results[i].components.mutable_data(), results[i].inverse.mutable_data());
    }
  });
  return results;
}

std::string number(double v)
{
  std::ostringstream text;
  text << v;
  return text.str();
}

std::string domainText(const Module::Domain& d)
{
  return "Domain(" + number(d.low()) + ", " + number(d.high()) + ", " + std::to_string(d.count()) +
         ")";
}

const char* moduleDoc =
    R"doc(The F-transform of functions of one variable, computed by Quelmora's engine.

Every number equals what the batch tool quelmora-ft writes for the same job.
Arrays go in as anything convertible to float64 (a C-contiguous float64 array
is read in place) and come out as new numpy arrays. The interpreter is
released while the engine computes, so Python threads run in parallel.
Mistakes raise ValueError (or TypeError for a wrong type) with the tool's words.

Example:
    >>> import numpy as np, quelmora as qm
    >>> d = qm.Domain(0.0, 1.0, 2000)
    >>> p = qm.Partition.generic(d, components=11)
    >>> r = qm.transform(p, np.sin(6 * d.x), degree=1)
    >>> r.components.shape, r.inverse.shape
    ((2, 11), (2, 2001))
)doc";

} // namespace

PYBIND11_MODULE(quelmora, m)
{
  m.doc() = moduleDoc;
  m.attr("__version__") = QUELMORA_VERSION;

  py::class_<Module::Domain, DomainRef>(
      m, "Domain", R"doc(An interval [low, high] cut into count equal subintervals.

Its points are x (count + 1 of them, read-only). Domains of data files and
sessions hold the file's x values instead.

Example:
    >>> d = qm.Domain(0.0, 1.0, 4)
    >>> d.x
    array([0.  , 0.25, 0.5 , 0.75, 1.  ])
)doc")
      .def(py::init<double, double, long long>(), py::arg("low"), py::arg("high"), py::arg("count"))
      .def_property_readonly("low", &Module::Domain::low)
      .def_property_readonly("high", &Module::Domain::high)
      .def_property_readonly("count", &Module::Domain::count, "The number of subintervals.")
      .def_property_readonly(
          "x",
          [](const py::object& self) { return view(self.cast<const Module::Domain&>().x(), self); },
          "The points, a read-only array.")
      .def("__len__", &Module::Domain::size)
      .def("__repr__", &domainText);

  py::class_<Module::Partition, PartitionRef>(
      m, "Partition", R"doc(A fuzzy partition of a domain, built as the batch tool builds it.

Made by Partition.generic, Partition.equidistant or Partition.custom.
len(p) is the number of basic functions; p.nodes says where their components sit.
)doc")
      .def_static(
          "generic",
          [](const DomainRef& d, std::optional<long long> components, const py::object& nodes,
             const std::string& shape, long long shift, long long offset) {
            const auto list = nodeList(nodes);
            return computing([&] {
              return Module::Partition::generic(d, components, list, shape, shift, offset);
            });
          },
          py::arg("domain"), py::arg("components") = py::none(), py::kw_only(),
          py::arg("nodes") = py::none(), py::arg("shape") = "triangle", py::arg("shift") = 1,
          py::arg("offset") = -1,
          R"doc(A generic Ruspini partition: `components` equidistant nodes from low to high
(default 5), or the ascending `nodes` given. shape is "triangle" or "sin";
shift and offset as in the window (quelmora-ft --partition generic).

Example:
    >>> p = qm.Partition.generic(qm.Domain(0, 1, 100), components=11, shape="sin")
    >>> len(p)
    11
)doc")
      .def_static(
          "equidistant",
          [](const DomainRef& d, std::optional<double> fixedPoint, std::optional<double> distance,
             const std::string& shape, long long shift, long long offset) {
            return computing([&] {
              return Module::Partition::equidistant(d, fixedPoint, distance, shape, shift, offset);
            });
          },
          py::arg("domain"), py::arg("fixed_point") = py::none(), py::arg("distance") = py::none(),
          py::kw_only(), py::arg("shape") = "triangle", py::arg("shift") = 1,
          py::arg("offset") = -1,
          R"doc(An equidistant Ruspini partition: nodes `distance` apart (default a quarter of
the range) around `fixed_point` (default low); shape "triangle" or "sin".

Example:
    >>> p = qm.Partition.equidistant(qm.Domain(0, 1, 100), fixed_point=0.5, distance=0.1)
    >>> p.nodes[:3]
    array([0. , 0.1, 0.2])
)doc")
      .def_static(
          "custom",
          [](const DomainRef& d, std::optional<double> width, std::optional<double> variance,
             const py::object& nodes, const std::string& shape) {
            const auto list = nodeList(nodes);
            return computing(
                [&] { return Module::Partition::custom(d, width, variance, list, shape); });
          },
          py::arg("domain"), py::arg("width") = py::none(), py::arg("variance") = py::none(),
          py::kw_only(), py::arg("nodes") = py::none(), py::arg("shape") = "gaussian",
          R"doc(A custom partition: basic functions of one shape ("gaussian", "triangle" or
"sin") every `width` (default a quarter of the range), of half-width or
spread `variance` (default width / 2), or on the `nodes` given
(quelmora-ft --partition custom --delta WIDTH --variance V).

Example:
    >>> p = qm.Partition.custom(qm.Domain(0, 1, 100), width=0.05, variance=0.05)
    >>> len(p)
    21
)doc")
      .def_property_readonly("domain",
                             [](const Module::Partition& p) { return mutableRef(p.domain()); })
      .def_property_readonly("kind", &Module::Partition::kind)
      .def_property_readonly("shape", &Module::Partition::shape)
      .def_property_readonly(
          "nodes",
          [](const py::object& self) {
            return view(self.cast<const Module::Partition&>().positions(), self);
          },
          "Where the components sit, one per basic function (read-only).")
      .def("__len__", &Module::Partition::size)
      .def("__repr__", [](const Module::Partition& p) {
        return "<quelmora.Partition " + p.kind() + " " + p.shape() + ", " +
               std::to_string(p.size()) + " basic functions on " + domainText(*p.domain()) + ">";
      });

  py::class_<Result>(m, "Result", "What transform computed.")
      .def_readonly("components", &Result::components,
                    "Components, shape (degree + 1, basic functions): row m holds degree m.")
      .def_readonly("inverse", &Result::inverse,
                    "Inverse transforms, shape (degree + 1, points): row m is of degree m.")
      .def_readonly("nodes", &Result::nodes, "Where the components sit.")
      .def_readonly("degree", &Result::degree)
      .def_readonly("basis", &Result::basis)
      .def("__repr__", [](const Result& r) {
        return "<quelmora.Result degree " + std::to_string(r.degree) + ", " +
               std::to_string(r.components.shape(1)) + " components, " +
               std::to_string(r.inverse.shape(1)) + " points>";
      });

  m.def(
      "transform", &transform, py::arg("partition"), py::arg("f"), py::arg("degree") = 0,
      py::kw_only(), py::arg("basis") = "orthogonal", py::arg("threads") = 1,
      R"doc(The direct and inverse F-transform of f over a partition, degrees 0 ... degree (0 to 3).

f: one value per point of the partition's domain (any sequence convertible to
float64), or a formula in x as text ("sin(6*x)", muParser syntax) sampled on
the domain. basis: "orthogonal" (polynomials orthogonal on each basic
function's points, the default) or "closed-form". threads: how many threads
the engine may use (0: all cores); the results are the same for every count.

Returns a Result: components (degree + 1, basic functions), inverse
(degree + 1, points) and nodes, the same numbers as quelmora-ft.

Example:
    >>> d = qm.Domain(0.0, 1.0, 2000)
    >>> p = qm.Partition.generic(d, components=11)
    >>> r = qm.transform(p, np.sin(6 * d.x), degree=3)
    >>> r2 = qm.transform(p, "sin(6*x)", degree=3)
    >>> float(abs(r.inverse - r2.inverse).max()) < 1e-12
    True
)doc");

  py::class_<Errors>(m, "Errors", "How far each inverse lies from f; arrays indexed by degree.")
      .def_readonly("max_abs", &Errors::maxAbs, "max |f - inverse| over the finite points.")
      .def_readonly("rmse", &Errors::rmse, "Root mean square of f - inverse.")
      .def_readonly("arg_max", &Errors::argMax, "x of the first point where max_abs is reached.");

  m.def(
      "errors", &errors, py::arg("partition"), py::arg("f"), py::arg("degree") = 0, py::kw_only(),
      py::arg("basis") = "orthogonal", py::arg("threads") = 1,
      R"doc(MaxAbs, RMSE and ArgMax of f minus its inverse F-transform of each degree 0 ... degree,
as the window's read-out and quelmora-ft --errors give them. f and the other
arguments as for transform.

Example:
    >>> d = qm.Domain(0.0, 1.0, 2000)
    >>> e = qm.errors(qm.Partition.generic(d, components=11), "sin(6*x)", degree=1)
    >>> e.max_abs.shape
    (2,)
)doc");

  py::class_<Module::Study, StudyRef>(
      m, "Convergence", R"doc(The errors of a convergence sweep, a row per component count.

max_abs, rmse and arg_max have shape (counts, degree + 1). A count whose basic
functions cover fewer than 8 points is under-resolved (resolved is False) and
left out of the orders.
)doc")
      .def_property_readonly("counts", [](const Module::Study& s) { return arrayOf(s.counts()); })
      .def_property_readonly("subintervals",
                             [](const Module::Study& s) { return arrayOf(s.subintervals()); })
      .def_property_readonly("fewest_points",
                             [](const Module::Study& s) { return arrayOf(s.fewestPoints()); })
      .def_property_readonly("resolved",
                             [](const Module::Study& s) { return arrayOf(s.resolved()); })
      .def_property_readonly(
          "max_abs",
          [](const Module::Study& s) { return table(s, Module::Study::Measure::MaxAbs); })
      .def_property_readonly(
          "rmse", [](const Module::Study& s) { return table(s, Module::Study::Measure::Rmse); })
      .def_property_readonly(
          "arg_max",
          [](const Module::Study& s) { return table(s, Module::Study::Measure::ArgMax); })
      .def(
          "orders",
          [](const Module::Study& s, const std::string& measure) {
            return arrayOf(s.orders(measureNamed(measure)));
          },
          py::arg("measure") = "max_abs",
          R"doc(The empirical order p of error ~ C N^-p per degree, fitted over the finer half of
the resolved counts ("max_abs" or "rmse"); NaN where it cannot be fitted.

Example:
    >>> c = qm.convergence(qm.Domain(0, 1, 1000), "sin(6*x)", counts=[4, 8, 16, 32])
    >>> c.orders().round(1)
    array([1.1])
)doc")
      .def(
          "table",
          [](const Module::Study& s, const std::string& name, int precision) {
            return s.table(name, precision, false);
          },
          py::arg("name") = "f", py::kw_only(), py::arg("precision") = 6,
          R"doc(The sweep as quelmora-ft --errors --components-sweep writes it: a
semicolon-separated table, the function called `name`.

Example:
    >>> print(qm.convergence(qm.Domain(0, 1, 100), "x^2", counts=[4]).table("x^2"))
)doc")
      .def(
          "orders_table",
          [](const Module::Study& s, const std::string& name, int precision) {
            return s.table(name, precision, true);
          },
          py::arg("name") = "f", py::kw_only(), py::arg("precision") = 6,
          "The orders as the tool writes them beside its table (FILE-orders.csv).");

  m.def("convergence", &convergence, py::arg("domain"), py::arg("f"),
        py::arg("counts") = py::none(), py::kw_only(), py::arg("degree") = 0,
        py::arg("shape") = "triangle", py::arg("shift") = 1, py::arg("offset") = -1,
        py::arg("basis") = "orthogonal", py::arg("points_per_function") = 0, py::arg("threads") = 1,
        R"doc(The errors of the inverse F-transforms of f for each component count of a
generic Ruspini partition (quelmora-ft --errors --components-sweep).

counts: ascending counts (default: the tool's "default", up to the largest
count whose basic functions cover 8 points). points_per_function: compute a
count on a finer discretisation when its basic functions would cover fewer
points (a formula f only; 0: off). Other arguments as for transform.

Example:
    >>> c = qm.convergence(qm.Domain(0, 1, 1000), "sin(6*x)", counts=[4, 8, 16, 32], degree=1)
    >>> c.max_abs.shape
    (4, 2)
)doc");

  py::class_<Module::Session, std::shared_ptr<Module::Session>>(
      m, "Session", R"doc(A session file (.qms) read as the program opens it.

formulas: the formulas file for selectors whose formula the session does not
carry (default: the window's, as quelmora-ft --session finds it).

Example:
    >>> s = qm.Session("work.qms")
    >>> results = s.transform()          # one Result per function
    >>> s.names, s.degrees
)doc")
      .def(py::init([](const py::object& path, const py::object& formulas) {
             const std::string file = pathText(path, "path");
             const std::string list = formulas.is_none() ? "" : pathText(formulas, "formulas");
             return computing([&] { return std::make_shared<Module::Session>(file, list); });
           }),
           py::arg("path"), py::kw_only(), py::arg("formulas") = py::none())
      .def_property_readonly("domain",
                             [](const Module::Session& s) { return mutableRef(s.domain()); })
      .def_property_readonly("partition",
                             [](const Module::Session& s) { return mutableRef(s.partition()); })
      .def_property_readonly("names", &Module::Session::names)
      .def_property_readonly(
          "values",
          [](const py::object& self) {
            return views(self.cast<const Module::Session&>().values(), self);
          },
          "The functions' values on the domain, read-only arrays in the window's order.")
      .def_property_readonly("degree", &Module::Session::degree)
      .def_property_readonly("degrees", &Module::Session::shownDegrees,
                             "The degrees the window shows and the tool writes.")
      .def_property_readonly(
          "basis", [](const Module::Session& s) { return std::string(Fn::basisName(s.basis())); })
      .def_property_readonly("notes", &Module::Session::notes)
      .def("transform", &sessionTransform, py::kw_only(), py::arg("threads") = 1,
           R"doc(The transforms the window computes for the session: one Result per function,
degrees 0 ... degree with the session's bases.

Example:
    >>> r = qm.Session("work.qms").transform()[0]
)doc");

  py::class_<Module::DataFile, std::shared_ptr<Module::DataFile>>(
      m, "Data", R"doc(The columns of a data file, from read_data.

domain holds the x column (or the row numbers); columns the other numeric
columns, named as the tool names them ("DataFile", or "DataFile 1", ...).
)doc")
      .def_property_readonly("domain",
                             [](const Module::DataFile& d) { return mutableRef(d.domain()); })
      .def_property_readonly(
          "x",
          [](const py::object& self) {
            return view(self.cast<const Module::DataFile&>().domain()->x(), self);
          },
          "The x values (or row numbers), a read-only array.")
      .def_property_readonly(
          "columns",
          [](const py::object& self) {
            return views(self.cast<const Module::DataFile&>().columns(), self);
          },
          "The function columns, read-only arrays.")
      .def_property_readonly("names", &Module::DataFile::names)
      .def_property_readonly("notes", &Module::DataFile::notes);

  m.def(
      "read_data",
      [](const py::object& path, const std::optional<std::string>& separator,
         std::optional<long long> xColumn) {
        const std::string file = pathText(path, "path");
        return computing(
            [&] { return std::make_shared<Module::DataFile>(file, separator, xColumn); });
      },
      py::arg("path"), py::kw_only(), py::arg("separator") = py::none(),
      py::arg("x_column") = py::none(),
      R"doc(Reads a data file (.csv or .txt) as the window and quelmora-ft --data read it.

separator: the value separator (default ";" for .csv, white space for .txt);
x_column: the column of the x values, from 0 (default 0; -1 for none).
Returns a Data object: domain, x, columns, names, notes.

Example:
    >>> data = qm.read_data("measurements.csv", separator=";")
    >>> p = qm.Partition.generic(data.domain, components=20)
    >>> r = qm.transform(p, data.columns[0], degree=1)
)doc");

  m.def(
      "_gil_probe", [] { return py::make_tuple(releasedRuns.exchange(0), heldRuns.exchange(0)); },
      "For tests: (computations run without the interpreter's lock, computations run "
      "with it) since the last call.");
}
