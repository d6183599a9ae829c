#ifndef QUELMORA_SESSIONDOCUMENT_H
#define QUELMORA_SESSIONDOCUMENT_H

#include "gui/ftransform_widgets/data_structures.h"
#include "midle/numberreader/datafileinfo.h"
#include "midle/session/formulafile.h"
#include "midle/session/functionsource.h"
#include "midle/session/sessionvalidator.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QPair>
#include <QSharedPointer>
#include <QString>
#include <QStringList>
#include <QVector>

class DataImport;

// The work the main window shows and edits, without a widget: the domain and
// partition records, where the functions come from (formulas, a data file,
// random data and its seed), the functions made from them with their names,
// the math domain they live on, and what the window shows of them (kind,
// zoom, degrees, bases, legend, selectors, edited components). It reads,
// checks and writes session files. It owns the functions and domains; the
// window hands them to the controller and keeps the document up to date
// with its inputs, and the undo history snapshots it.
class SessionDocument
{
public:
  using Function = Fn::MathFn<double, double>;
  using Domain = ::Domains::EnumerationBase<double>;
  // (function index, degree flag) -> component index -> value.
  using EditMap = QMap<QPair<int, int>, QMap<int, double>>;

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

  DataHolders::PartitionKind kind = DataHolders::PartitionKind::Generic;
  double zoom = 1.0;
  int degree = 0;
  // Bit 1 << d: degree d is shown.
  int shownDegrees = DataHolders::Degree0;
  Fn::HigherDegreeBasis basis = Fn::HigherDegreeBasis::Orthogonal;
  bool showLegend = false;
  int legendAlignment = 0x22; // Qt alignment flags of the legend's corner
  DomainTexts domainTexts;
  // Per function selector: the chosen formula's name and expression (one
  // selector, nothing chosen, in a new document).
  QVector<FormulaFile::Entry> selections{FormulaFile::Entry()};
  // Components typed over the computed ones; sessions do not keep them.
  EditMap edits;
  // Every other stored value ("Group/key"): the fields of the input widgets
  // and dialogs, kept as they are stored (a colour as its variant).
  QMap<QString, QVariant> stored;

  // What saving writes.
  SessionContents contents() const;
  // Reads and checks the session at path as opening does (fallback: the
  // domain texts where the file has none); false with why (in the words of
  // SessionValidator::refusal()) when it would not open.
  static bool read(const QString& path, const DomainTexts& fallback, SessionContents* contents,
                   QString* why);
  // Takes what an opened session shows (kind, zoom, degrees, bases, legend,
  // selectors' formulas, stored values); the records, the source and the
  // functions are the caller's to rebuild from contents.
  void take(const SessionContents& contents);
  // Writes every key of the session; false when the file could not be written.
  bool save(const QString& path) const;

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
  QStringList offerSessionFormulas(const QMap<QString, QVariant>& session, int selectorCount,
                                   QVector<FormulaFile::Entry> offered);

  QSharedPointer<DataHolders::Partitions::PartBase> record(DataHolders::PartitionKind which) const;
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

  // After clear(): the data of a successful import as the functions, on its
  // domain, named by their columns; the records follow the data's domain
  // (laid out afresh unless keepRecords: an opened session restores its own).
  void takeData(DataImport& import, bool keepRecords);
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
