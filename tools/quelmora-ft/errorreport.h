#ifndef QUELMORA_FT_ERRORREPORT_H
#define QUELMORA_FT_ERRORREPORT_H

#include "analysis/convergencestudy.h"
#include "math/fce/mathfn.h"
#include "math/partitions/partitionbase.h"
#include "options.h"

#include <QStringList>

#include <memory>
#include <vector>

class CsvExportFunction;

// The --errors output: instead of the value columns, one line per function
// and degree 0..D with MaxAbs, RMSE and ArgMax of f minus its inverse
// F-transform; with --components-sweep the convergence study's table (one
// such block per component count, under a leading "Components" column, the
// under-resolved counts marked) and its orders.

// The option combinations --errors and --components-sweep accept; checked
// before any work is done.
bool checkErrorOptions(const ToolOptions& options, QString* error);

// Fills the writer's table; a sweep also leaves its results in *sweep for the
// orders. The partition is the one the options describe (not used by a sweep,
// which lays out each count itself); the bases of the higher degrees as for
// the value columns.
bool errorReport(const ToolOptions& options,
                 const Partitions::PartitionBase<double, double>& partition,
                 const std::vector<std::unique_ptr<Fn::MathFn<double, double>>>& functions,
                 const QStringList& names, Fn::HigherDegreeBasis basis, CsvExportFunction& writer,
                 std::vector<Analysis::CountResult>* sweep, QString* error);

#endif
