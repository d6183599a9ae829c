#ifndef QUELMORA_JOB_JOBINPUT_H
#define QUELMORA_JOB_JOBINPUT_H

#include "gui/ftransform_widgets/data_structures.h"
#include "math/fce/higherdegreebasis.h"
#include "math/fce/mathfn.h"
#include "midle/job/partitionsetup.h"

#include <QSharedPointer>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

// A data file to transform, as the tool's --data options name it.
struct DataOptions
{
  QString dataFile; // as the user named it; messages quote it
  int xColumn = 0;
  bool xColumnGiven = false;
  QString separator;
  bool separatorGiven = false;
};

// What a job transforms: the functions, the domain they live on and its
// record, the partition record, the degrees and the bases. Formulas, a data
// file or a session supply it; the computation is the same for all.
struct JobInput
{
  using Function = Fn::MathFn<double, double>;

  std::unique_ptr<Domains::EnumerationBase<double>> domain;
  Job::DomainRecord record;
  std::vector<std::unique_ptr<Function>> functions;
  QStringList names;
  Job::PartitionRecord partition;
  int degree = 0;
  int degreeMask = DataHolders::Degree0; // the degrees shown
  Fn::HigherDegreeBasis basis = Fn::HigherDegreeBasis::Orthogonal;
  // What the window would show in information boxes (ignored lines, text
  // columns), one line each.
  QStringList notes;
};

namespace Job {

// The highest --x-column.
constexpr int maxXColumn = 9999;

// True when the formula draws random numbers ("normal", "uniform"): their
// generator is one for the whole process.
bool drawsRandomNumbers(const std::string& formula);

// A formula sampled on the domain as the program samples it, or null with
// the parser's complaint. Formulas drawing random numbers are sampled one at
// a time, whichever thread asks.
std::unique_ptr<JobInput::Function> formulaFunction(const Domains::EnumerationBase<double>* domain,
                                                    const QString& text, QString* error);

// The domain of the options with one function per formula, named by its text.
bool formulaInput(const DomainOptions& domain, const QStringList& formulas, JobInput& input,
                  QString* error);

// The columns of the data file at `path` (which may be a copy of the one
// options.dataFile names) as functions, read as the program reads them, the
// domain being the x column or the row numbers. The partition is left to the
// caller.
bool dataInput(const DataOptions& options, const QString& path, JobInput& input, QString* error);

// Everything a session file holds, read as the program opens it; formulas
// the session does not carry come from formulasFile ("": the window's). A
// file that is not there is refused (the window would start a new session).
// Notes are left in input.notes also when the session holds no partition.
bool sessionInput(const QString& sessionFile, const QString& formulasFile, JobInput& input,
                  QString* error);

} // namespace Job

#endif
