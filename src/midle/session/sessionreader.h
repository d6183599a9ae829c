#ifndef QUELMORA_SESSIONREADER_H
#define QUELMORA_SESSIONREADER_H

#include "gui/ftransform_widgets/data_structures.h"
#include "midle/numberreader/datafileinfo.h"
#include "midle/session/sessionvalidator.h"

#include <QSharedPointer>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// What a session computes with: the inputs of the F-transform as the main
// window holds them once it has opened the session.
struct SessionInputs
{
  using Function = Fn::MathFn<double, double>;

  QSharedPointer<DataHolders::Domains::Equid> domainRecord;
  std::unique_ptr<::Domains::EnumerationBase<double>> domain;
  // The record of the stored kind, nodes laid out or restored; built on domain.
  QSharedPointer<DataHolders::Partitions::PartBase> partition;
  // On domain, in the window's order, with the names its value export gives.
  std::vector<std::unique_ptr<Function>> functions;
  QStringList names;
  int maxDegree = 0;
  int degreeMask = DataHolders::Degree0;
  Fn::HigherDegreeBasis basis = Fn::HigherDegreeBasis::Orthogonal;
};

// Reads a session file without a window, as the main window opens it: the
// same validation (a session the window refuses is refused with its
// message), the formulas the session carries or those at the selectors'
// positions in the formulas file (a formula found in neither is refused,
// never taken as 0), or the data file read by the same import, and the partition record made
// by the steps the partition widgets take when the session is applied.
class SessionReader
{
public:
  explicit SessionReader(const QString& sessionPath);
  ~SessionReader();

  // The formulas file for selectors of a session that does not carry their
  // formulas; "" (the default) takes the one the window uses
  // (SessionLookup::formulasFileOutsideWindow).
  void setFormulasFile(const QString& path);

  // False when the window would not open the session; errorText() says why
  // in the window's words.
  bool read();

  QString errorText() const { return error; }
  // read() failed on a selector whose formula is neither in the session nor
  // in the formulas file.
  bool formulaNotFound() const { return missingFormula; }
  // What the window shows in information boxes while opening (ignored lines
  // and text columns of a data file).
  QStringList notes() const { return information; }
  // The validated values of the file (defaults for missing keys).
  const SessionContents& contents() const { return values; }
  // The formulas file looked in (empty for a data-file session).
  QString formulasFile() const { return formulasPath; }

  // The inputs after a successful read(); move them out as needed.
  SessionInputs& inputs() { return result; }

  // The window's reason for a data file that could not be read.
  static QString dataFileNotRead(const QString& dataFile);

private:
  bool readFormulas();
  bool readDataFile();

  QString path;
  QString formulasPath;
  SessionContents values;
  SessionInputs result;
  QString error;
  QStringList information;
  bool missingFormula = false;
};

#endif
