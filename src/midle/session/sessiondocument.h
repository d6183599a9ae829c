#ifndef QUELMORA_SESSIONDOCUMENT_H
#define QUELMORA_SESSIONDOCUMENT_H

#include "gui/ftransform_widgets/data_structures.h"
#include "midle/numberreader/datafileinfo.h"
#include "midle/session/formulafile.h"
#include "midle/session/functionsource.h"

#include <QHash>
#include <QList>
#include <QSharedPointer>
#include <QString>
#include <QStringList>
#include <QVector>

class QSettings;

// The work the main window shows and edits, without a widget: the domain and
// partition records, where the functions come from (formulas, a data file,
// random data and its seed), the functions made from them with their names,
// and the math domain they live on. It owns the functions and domains; the
// window hands them to the controller, and the undo history snapshots and
// restores the records and the source through the window.
class SessionDocument
{
public:
  using Function = Fn::MathFn<double, double>;
  using Domain = ::Domains::EnumerationBase<double>;

  SessionDocument();
  ~SessionDocument();
  SessionDocument(const SessionDocument&) = delete;
  SessionDocument& operator=(const SessionDocument&) = delete;

  // The domain in use (the data's while table data is the source).
  QSharedPointer<DataHolders::Domains::Equid> domainRecord;
  QSharedPointer<DataHolders::Partitions::FuzzyEq> genericRecord;
  QSharedPointer<DataHolders::Partitions::FuzzyPt> equidistantRecord;
  QSharedPointer<DataHolders::Partitions::FuzzyDelta> customRecord;
  FunctionSource source = FunctionSource::Formulas;
  DataFileInfo dataFile; // table data from a file; none for random data
  // What the random data in use was made from (table data without a file).
  quint32 randomSeed = 0;

  // In selector order for formulas; the names the curves and columns show.
  QList<Function*> functions;
  QHash<const Function*, QString> names;
  // The math domain of the functions; nullptr between clear() and the next one.
  Domain* domain = nullptr;

  // Formulas that opened sessions carry and the user's list lacks, offered
  // beside that list for this run.
  QVector<FormulaFile::Entry> sessionFormulas;
  // The user's names, then those of the session formulas.
  QStringList formulaNames(const QStringList& user) const;
  // A session formula's expression; "" for a name it does not hold.
  QString sessionExpression(const QString& name) const;
  // Takes in the formulas a session carries for its selectors that the
  // offered list lacks; per selector the name to select ("" keeps the
  // stored position).
  QStringList offerSessionFormulas(const QSettings& session, int selectorCount,
                                   QVector<FormulaFile::Entry> offered);

  QSharedPointer<DataHolders::Partitions::PartBase> record(DataHolders::PartitionKind kind) const;
  // Every record refers to domainRecord.
  void pointRecordsAtDomain();
  // Every record laid out afresh on domainRecord.
  void resetRecords();
  // Every record moved to the domain input's new record; the records tell a
  // new range (the fixed point then moves to low + h) from the same one.
  void moveRecords(const QSharedPointer<DataHolders::Domains::Equid>& record);

  // Deletes the functions. The domain is kept alive until the next clear:
  // the controller's partition may still refer to it.
  void clear();
  // A formula function on domain at index; an expression the parser refuses
  // (a damaged formulas file) gives the constant 0.
  Function* insertFormula(int index, const QString& name, const QString& expression);
  // A formula function on domain, as insertFormula makes one.
  static Function* newFormula(const Domain* domain, const QString& expression);
  // Sets a formula function's expression as newFormula does.
  static void setExpression(Function* fn, const QString& expression);

  // After clear(): random data on its own domain (0..201, 200 points), made
  // with a new seed each time (also within one second, so undo and redo tell them apart).
  void makeRandomData(quint32 clock);
  // The random data of that seed again, on domainRecord.
  void remakeRandomData(quint32 seed);
  // One table function on domain, the same for the same seed.
  static Function* randomData(const Domain* domain, quint32 seed);

  // The math domain of a record; the default one for an unusable record.
  static Domain* makeDomain(const QSharedPointer<DataHolders::Domains::Equid>& record);

private:
  Domain* retired = nullptr;
};

#endif
