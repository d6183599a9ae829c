#include "options.h"

#include "analysis/convergencestudy.h"
#include "gui/ftransform_widgets/data_structures.h"

#include <QHash>
#include <QObject>

#include <climits>
#include <cmath>
#include <functional>

namespace {

QString tr(const char* text)
{
  return QObject::tr(text);
}

// Numbers are read the same in every locale ('.' decimal point); inf and nan
// are not numbers a user means.
bool toFinite(const QString& text, double* value)
{
  bool ok = false;
  const double v = text.trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(v))
    return false;
  *value = v;
  return true;
}

bool toLongLong(const QString& text, qlonglong* value)
{
  bool ok = false;
  const qlonglong v = text.trimmed().toLongLong(&ok);
  if (!ok)
    return false;
  *value = v;
  return true;
}

bool toInt(const QString& text, int* value)
{
  bool ok = false;
  const int v = text.trimmed().toInt(&ok);
  if (!ok)
    return false;
  *value = v;
  return true;
}

class Parser
{
public:
  Parser(ToolOptions& o, QString* e) : opt(o), error(e) {}

  bool fail(const QString& message)
  {
    *error = message;
    return false;
  }

  bool number(const QString& option, const QString& value, double* out)
  {
    if (!toFinite(value, out))
      return fail(Job::notFinite(option, value));
    return true;
  }

  bool integer(const QString& option, const QString& value, int lowest, int highest, int* out)
  {
    int v = 0;
    if (!toInt(value, &v))
      return fail(tr("%1: \"%2\" is not a whole number").arg(option, value));
    if (v < lowest || v > highest)
      return fail(Job::outside(option, v, lowest, highest));
    *out = v;
    return true;
  }

  bool domain(const QString& option, const QString& value)
  {
    const QStringList parts = value.split(QLatin1Char(','));
    if (parts.size() != 3)
      return fail(tr("%1 needs LOW,HIGH,COUNT, got \"%2\"").arg(option, value));
    double lo = 0, hi = 0;
    if (!number(option + tr(" LOW"), parts[0], &lo) || !number(option + tr(" HIGH"), parts[1], &hi))
      return false;
    qlonglong count = 0;
    if (!toLongLong(parts[2], &count))
      return fail(tr("%1 COUNT: \"%2\" is not a whole number").arg(option, parts[2]));
    if (!Job::checkDomain(option, lo, hi, count, parts[0], parts[1], error))
      return false;
    opt.low = lo;
    opt.high = hi;
    opt.count = int(count);
    opt.domainGiven = true;
    return true;
  }

  bool nodes(const QString& option, const QString& value)
  {
    const QStringList parts = value.split(QLatin1Char(','));
    if (parts.size() > Job::maxDomainCount + 1)
      return fail(tr("%1: too many nodes").arg(option));
    QVector<double> list;
    list.reserve(parts.size());
    for (const QString& p : parts) {
      double v = 0;
      if (!number(option, p, &v))
        return false;
      list.append(v);
    }
    opt.nodes = list;
    opt.nodesGiven = true;
    return true;
  }

  bool kind(const QString& option, const QString& value)
  {
    return Job::parseKind(option, value, &opt.kind, error);
  }

  bool shape(const QString& option, const QString& value)
  {
    return Job::parseShape(option, value, &opt.shape, error);
  }

  bool output(const QString& option, const QString& value)
  {
    opt.outFunction = opt.outNodes = opt.outComponents = opt.outInverse = false;
    opt.outputGiven = true;
    for (const QString& part : value.split(QLatin1Char(','))) {
      const QString p = part.trimmed();
      if (p == QLatin1String("function"))
        opt.outFunction = true;
      else if (p == QLatin1String("nodes"))
        opt.outNodes = true;
      else if (p == QLatin1String("components"))
        opt.outComponents = true;
      else if (p == QLatin1String("inverse"))
        opt.outInverse = true;
      else
        return fail(tr("%1: unknown column kind \"%2\" (use function, nodes, components, inverse)")
                        .arg(option, p));
    }
    return true;
  }

  bool run(const QStringList& args)
  {
    using Handler = std::function<bool(const QString& option, const QString& value)>;
    auto store = [this](double* target, bool* given) {
      return [this, target, given](const QString& o, const QString& v) {
        if (!number(o, v, target))
          return false;
        *given = true;
        return true;
      };
    };
    const QHash<QString, Handler> withValue{
        {"--domain", [this](const QString& o, const QString& v) { return domain(o, v); }},
        {"--formula",
         [this](const QString&, const QString& v) {
           opt.formulas.append(v);
           return true;
         }},
        {"--name",
         [this](const QString&, const QString& v) {
           opt.names.append(v);
           return true;
         }},
        {"--partition", [this](const QString& o, const QString& v) { return kind(o, v); }},
        {"--shape", [this](const QString& o, const QString& v) { return shape(o, v); }},
        {"--components",
         [this](const QString& o, const QString& v) {
           opt.componentsGiven = true;
           return integer(o, v, 2, Job::maxDomainCount, &opt.components);
         }},
        {"--nodes", [this](const QString& o, const QString& v) { return nodes(o, v); }},
        {"--fixed-point", store(&opt.fixedPoint, &opt.fixedPointGiven)},
        {"--distance", store(&opt.distance, &opt.distanceGiven)},
        {"--delta", store(&opt.delta, &opt.deltaGiven)},
        {"--variance", store(&opt.variance, &opt.varianceGiven)},
        {"--shift",
         [this](const QString& o, const QString& v) {
           opt.shiftGiven = true;
           return integer(o, v, 1, Job::maxShift, &opt.shift);
         }},
        {"--offset",
         [this](const QString& o, const QString& v) {
           opt.offsetGiven = true;
           return integer(o, v, -Job::maxOffset, Job::maxOffset, &opt.offset);
         }},
        {"--degree",
         [this](const QString& o, const QString& v) {
           return integer(o, v, 0, Job::maxDegree, &opt.degree);
         }},
        {"--basis", [this](const QString& o,
                           const QString& v) { return Job::parseBasis(o, v, &opt.basis, error); }},
        {"--output", [this](const QString& o, const QString& v) { return output(o, v); }},
        {"--precision",
         [this](const QString& o, const QString& v) {
           return integer(o, v, 1, maxPrecision, &opt.precision);
         }},
        {"--threads",
         [this](const QString& o, const QString& v) {
           return integer(o, v, 1, maxThreads, &opt.threads);
         }},
        {"-o",
         [this](const QString& o, const QString& v) {
           if (v.isEmpty())
             return fail(tr("%1 needs a file name").arg(o));
           opt.outputFile = v;
           return true;
         }},
        {"--data",
         [this](const QString& o, const QString& v) {
           if (v.isEmpty())
             return fail(tr("%1 needs a file name").arg(o));
           opt.dataFile = v;
           return true;
         }},
        {"--x-column",
         [this](const QString& o, const QString& v) {
           opt.xColumnGiven = true;
           return integer(o, v, -1, Job::maxXColumn, &opt.xColumn);
         }},
        {"--components-sweep",
         [this](const QString& o, const QString& v) {
           opt.sweepGiven = true;
           opt.sweepDefault = v.trimmed() == QLatin1String("default");
           // The upper bound is the domain's, checked once the domain is known.
           QString why;
           if (!opt.sweepDefault && !Analysis::parseCounts(v, INT_MAX, &opt.sweep, &why))
             return fail(tr("%1: %2").arg(o, why));
           return true;
         }},
        {"--points-per-function",
         [this](const QString& o, const QString& v) {
           opt.pointsGiven = true;
           return integer(o, v, Analysis::resolvedPoints, Analysis::maxRefinedSubintervals,
                          &opt.pointsPerFunction);
         }},
        {"--session",
         [this](const QString& o, const QString& v) {
           if (v.isEmpty())
             return fail(tr("%1 needs a file name").arg(o));
           opt.sessionFile = v;
           return true;
         }},
        {"--formulas",
         [this](const QString& o, const QString& v) {
           if (v.isEmpty())
             return fail(tr("%1 needs a file name").arg(o));
           opt.formulasFile = v;
           return true;
         }},
        {"--separator",
         [this](const QString& o, const QString& v) {
           if (v.isEmpty())
             return fail(tr("%1 needs a separator").arg(o));
           opt.separator = v;
           opt.separatorGiven = true;
           return true;
         }},
    };

    for (int i = 0; i < args.size(); ++i) {
      QString option = args[i];
      opt.given << option.left(option.startsWith(QLatin1String("--")) ? option.indexOf('=') : -1);
      if (option == QLatin1String("--help") || option == QLatin1String("-h")) {
        opt.help = true;
        continue;
      }
      if (option == QLatin1String("--version")) {
        opt.version = true;
        continue;
      }
      if (option == QLatin1String("--include-domain")) {
        opt.includeDomain = true;
        continue;
      }
      if (option == QLatin1String("--errors")) {
        opt.errors = true;
        continue;
      }
      QString value;
      bool inlineValue = false;
      const int eq = option.indexOf(QLatin1Char('='));
      if (option.startsWith(QLatin1String("--")) && eq > 2) {
        value = option.mid(eq + 1);
        option = option.left(eq);
        inlineValue = true;
      }
      const auto handler = withValue.constFind(option);
      if (handler == withValue.constEnd()) {
        if (option.startsWith(QLatin1Char('-')))
          return fail(tr("unknown option \"%1\" (see --help)").arg(option));
        return fail(tr("unexpected argument \"%1\" (see --help)").arg(option));
      }
      if (!inlineValue) {
        if (i + 1 >= args.size())
          return fail(tr("option %1 needs a value").arg(option));
        value = args[++i];
      }
      if (!(*handler)(option, value))
        return false;
    }
    return true;
  }

private:
  ToolOptions& opt;
  QString* error;
};

} // namespace

bool parseArguments(const QStringList& args, ToolOptions& options, QString* error)
{
  QString ignored;
  return Parser(options, error ? error : &ignored).run(args);
}

QString usageText()
{
  const QString text = QStringLiteral(
      "Usage: quelmora-ft [options]\n"
      "Computes the direct and inverse F-transform of functions and writes them as\n"
      "semicolon-separated columns (to standard output, or to -o FILE).\n"
      "\n"
      "  --domain LOW,HIGH,COUNT   interval and number of subintervals (0,1,2000; COUNT "
      "%1..%2)\n"
      "  --formula EXPR            a function of x (muParser syntax); repeatable (default \"x\")\n"
      "  --name NAME               column name of the formula (or data column) of the same order\n"
      "                            (default: the formula text, \"DataFile\" for data)\n"
      "  --data FILE               transform the columns of a data file (.csv or .txt) instead of\n"
      "                            formulas; the domain is the x column or the row numbers;\n"
      "                            - reads standard input (as .txt, or as .csv with --separator);\n"
      "                            columns of text (dates, labels) are left out\n"
      "  --x-column N              column of the x values, counted from 0; -1 for none (default "
      "0;\n"
      "                            a file of one column has none)\n"
      "  --separator S             value separator of the data file (default ';' for .csv, white\n"
      "                            space for .txt)\n"
      "  --partition KIND          generic | equidistant | custom (default generic)\n"
      "  --shape SHAPE             triangle | sin (all kinds), gaussian (custom); default "
      "triangle,\n"
      "                            gaussian for custom\n"
      "  --components N            generic: number of components (default 5)\n"
      "  --nodes A,B,C,...         generic, custom: explicit ascending nodes inside the domain\n"
      "  --fixed-point P           equidistant: a node (default LOW)\n"
      "  --distance H              equidistant: distance of the nodes (default (HIGH-LOW)/4)\n"
      "  --delta D                 custom: element width (default (HIGH-LOW)/4)\n"
      "  --variance V              custom: half-width or spread of the basic functions (default "
      "D/2)\n"
      "  --shift S                 generic, equidistant: nodes between basic functions (1..999, "
      "default 1)\n"
      "  --offset O                generic, equidistant: node of the first basic function "
      "(-999..999, default -1)\n"
      "  --degree D                highest F-transform degree, 0..3 (default 0)\n"
      "  --basis B                 the polynomials of degrees 1..3: orthogonal (on the points\n"
      "                            of each basic function, the default) or closed-form\n"
      "                            (t, t^2 - C2, t^3 - C3 t with t = x - node)\n"
      "  --output LIST             comma list of function, nodes, components, inverse (default\n"
      "                            function,components,inverse); nodes is a \"Nodes\" column of\n"
      "                            the places of the components, before the first components\n"
      "  --include-domain          a leading \"Domain\" column with the x values of the first "
      "column\n"
      "  --precision N             significant digits, 1..17 (default 6; 17 round-trips)\n"
      "  --threads N               threads the sums and formulas may use, 1..1024 (default:\n"
      "                            all cores); the output is the same for every count\n"
      "  --errors                  instead of the values, one line per function and degree\n"
      "                            0..D: MaxAbs, RMSE and ArgMax of f - inverse (finite points)\n"
      "  --components-sweep LIST   with --errors, generic partition: the errors for each of the\n"
      "                            ascending component counts N1,N2,... (each 2..COUNT, more\n"
      "                            with --points-per-function), laid\n"
      "                            out as --components N would, under a leading Components "
      "column;\n"
      "                            \"default\": up to the largest count whose basic functions "
      "each\n"
      "                            cover at least 8 points. Counts whose basic functions cover\n"
      "                            fewer are marked under-resolved and left out of the orders,\n"
      "                            which go to FILE-orders.SUFFIX beside -o FILE\n"
      "  --points-per-function P   with --components-sweep: compute a count whose basic functions\n"
      "                            would cover fewer than P points (8..10000000) on a finer\n"
      "                            discretisation, the formulas evaluated there\n"
      "  -o FILE                   write to FILE (replaced only when written completely);\n"
      "                            - is standard output (the default)\n"
      "  --session FILE.qms        compute what the program computes for a saved session: its\n"
      "                            domain, functions, partition, degrees and bases; only "
      "--output,\n"
      "                            --include-domain, --precision, --threads, --errors,\n"
      "                            --formulas and -o may go with it\n"
      "  --formulas FILE.ini       for --session: the formulas file of selectors whose formula\n"
      "                            the session does not carry (default: the window's own)\n"
      "  --help                    this text\n"
      "  --version                 the version of the tool\n"
      "\n"
      "Errors give one line on standard error and exit status 2.\n");
  return text.arg(DataHolders::Domains::minDiscretization)
      .arg(DataHolders::Domains::maxDiscretization);
}
