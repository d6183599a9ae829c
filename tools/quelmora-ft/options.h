#ifndef QUELMORA_FT_OPTIONS_H
#define QUELMORA_FT_OPTIONS_H

#include "gui/ftransform_widgets/data_structures.h"
#include "math/fce/higherdegreebasis.h"
#include "midle/job/jobinput.h"
#include "midle/job/partitionsetup.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <vector>

// What the command line asked for, checked for syntax only; the values that
// depend on each other (nodes and domain, step and node count) are checked
// when the partition record is built.
struct ToolOptions : DomainOptions, PartitionOptions, DataOptions
{
  QStringList formulas;
  QStringList names;
  int degree = 0;
  Fn::HigherDegreeBasis basis = Fn::HigherDegreeBasis::Orthogonal;
  bool outFunction = true;
  bool outNodes = false;
  bool outComponents = true;
  bool outInverse = true;
  bool outputGiven = false;
  bool includeDomain = false;
  int precision = 6;
  // --threads: how many threads the sums and formulas may use (0: all cores).
  int threads = 0;
  QString outputFile;
  bool help = false;
  bool version = false;
  // --errors: the approximation errors instead of the value columns;
  // --components-sweep: one block of them per component count ("default":
  // the counts the study chooses, sweepDefault); --points-per-function:
  // the study's refinement (0: off).
  bool errors = false;
  std::vector<int> sweep;
  bool sweepGiven = false;
  bool sweepDefault = false;
  int pointsPerFunction = 0;
  bool pointsGiven = false;
  QString sessionFile;
  QString formulasFile;
  // Every option given, in order, as typed before any "=VALUE".
  QStringList given;
};

// Parses the arguments (without the program name). On failure returns false
// with a one-line message in *error.
bool parseArguments(const QStringList& args, ToolOptions& options, QString* error);

QString usageText();

// The most significant digits of --precision.
constexpr int maxPrecision = 17;
// The most --threads.
constexpr int maxThreads = 1024;

#endif
