#ifndef QUELMORA_FT_OPTIONS_H
#define QUELMORA_FT_OPTIONS_H

#include "gui/ftransform_widgets/data_structures.h"
#include "math/fce/higherdegreebasis.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <vector>

// What the command line asked for, checked for syntax only; the values that
// depend on each other (nodes and domain, step and node count) are checked
// when the partition record is built.
struct ToolOptions
{
  double low = 0.0;
  double high = 1.0;
  int count = 2000;
  bool domainGiven = false;
  QStringList formulas;
  QStringList names;
  DataHolders::PartitionKind kind = DataHolders::PartitionKind::Generic;
  int shape = -1; // -1: the kind's default
  int components = 5;
  bool componentsGiven = false;
  QVector<double> nodes;
  bool nodesGiven = false;
  double fixedPoint = 0.0;
  bool fixedPointGiven = false;
  double distance = 0.0;
  bool distanceGiven = false;
  double delta = 0.0;
  bool deltaGiven = false;
  double variance = 0.0;
  bool varianceGiven = false;
  int shift = 1;
  bool shiftGiven = false;
  int offset = -1;
  bool offsetGiven = false;
  int degree = 0;
  Fn::HigherDegreeBasis basis = Fn::HigherDegreeBasis::Orthogonal;
  bool outFunction = true;
  bool outNodes = false;
  bool outComponents = true;
  bool outInverse = true;
  bool outputGiven = false;
  bool includeDomain = false;
  int precision = 6;
  QString outputFile;
  bool help = false;
  bool version = false;
  QString dataFile;
  int xColumn = 0;
  bool xColumnGiven = false;
  QString separator;
  bool separatorGiven = false;
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

// The word --partition names a kind by: "generic", "equidistant" or "custom".
const char* partitionOptionName(DataHolders::PartitionKind kind);

// Limits of the inputs.
// The most subintervals, and so the most components.
constexpr int maxDomainCount = DataHolders::Domains::maxDiscretization;
constexpr int maxShift = 999;
constexpr int maxOffset = 999;
constexpr int maxDegree = 3;
constexpr int maxPrecision = 17;

#endif
