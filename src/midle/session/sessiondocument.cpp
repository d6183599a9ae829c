#include "midle/session/sessiondocument.h"

#include "gui/ftransform_widgets/nodelayout.h"
#include "math/domains/equidistant.h"
#include "math/fce/formulaexpression.h"
#include "math/fce/mathfncachedformula.h"
#include "math/fce/mathfntable.h"
#include "midle/numberreader/dataimport.h"
#include "midle/session/sessionkeys.h"
#include "midle/session/sessionlookup.h"

#include <QSettings>

#include <algorithm>
#include <random>
#include <vector>

namespace {

using FormulaFn = Fn::MathFnCachedFormula<double, double, Fn::FormulaExpression<double, double>>;

} // namespace

SessionDocument::SessionDocument()
    : domainRecord(new DataHolders::Domains::Equid),
      genericRecord(new DataHolders::Partitions::FuzzyEq),
      equidistantRecord(new DataHolders::Partitions::FuzzyPt),
      customRecord(new DataHolders::Partitions::FuzzyDelta)
{
}

SessionDocument::~SessionDocument()
{
  qDeleteAll(functions);
  delete domain;
  delete retired;
}

SessionContents SessionDocument::contents() const
{
  SessionContents c;
  c.selectorCount = selections.size();
  c.zoom = zoom;
  c.partitionKind = kind;
  c.functionSource = source;
  SessionKeys::takeDataFile(c, dataFile);
  c.legendAlignment = legendAlignment;
  c.showLegend = showLegend;
  c.higherDegreeBasis = basis;
  c.degree = degree;
  c.shownDegrees = shownDegrees;
  c.domainTexts = domainTexts;
  c.formulas = selections;
  c.values = stored;
  return c;
}

bool SessionDocument::read(const QString& path, const DomainTexts& fallback,
                           SessionContents* contents, QString* why)
{
  SessionValidator validator(path, fallback);
  if (!validator.validate()) {
    *why = validator.refusal();
    return false;
  }
  *contents = validator.contents();
  return true;
}

void SessionDocument::take(const SessionContents& c)
{
  kind = c.partitionKind;
  zoom = c.zoom;
  degree = c.degree;
  shownDegrees = c.shownDegrees;
  basis = c.higherDegreeBasis;
  showLegend = c.showLegend;
  legendAlignment = c.legendAlignment;
  domainTexts = c.domainTexts;
  selections = c.formulas;
  stored = c.values;
}

bool SessionDocument::save(const QString& path) const
{
  QSettings s(path, QSettings::IniFormat);
  s.clear();
  SessionKeys::writeSession(s, contents(), record(kind).data());
  s.sync();
  return s.status() == QSettings::NoError;
}

QSharedPointer<DataHolders::Partitions::PartBase>
SessionDocument::record(DataHolders::PartitionKind which) const
{
  switch (which) {
  case DataHolders::PartitionKind::Generic:
    return genericRecord;
  case DataHolders::PartitionKind::Equidistant:
    return equidistantRecord;
  case DataHolders::PartitionKind::Custom:
    return customRecord;
  }
  return {};
}

void SessionDocument::pointRecordsAtDomain()
{
  genericRecord->domain = domainRecord;
  equidistantRecord->domain = domainRecord;
  customRecord->domain = domainRecord;
}

void SessionDocument::resetRecords()
{
  using namespace DataHolders::Partitions;
  pointRecordsAtDomain();
  // The helpers leave a record as it was for a range they cannot lay out.
  resetToDomain(*genericRecord, domainRecord);
  resetToDomain(*equidistantRecord, domainRecord);
  resetToDomain(*customRecord, domainRecord);
}

void SessionDocument::moveRecords(const QSharedPointer<DataHolders::Domains::Equid>& record)
{
  using namespace DataHolders::Partitions;
  domainRecord = record;
  setDomain(*genericRecord, record);
  setDomain(*equidistantRecord, record);
  setDomain(*customRecord, record);
}

void SessionDocument::clear()
{
  names.clear();
  qDeleteAll(functions);
  functions.clear();
  delete retired;
  retired = domain;
  domain = nullptr;
}

void SessionDocument::setExpression(Function* function, const QString& expression)
{
  auto* fn = dynamic_cast<FormulaFn*>(function);
  if (!fn)
    return;
  try {
    fn->setExpression(expression.isEmpty() ? std::string("0") : expression.toStdString());
  } catch (const mu::ParserError&) {
    fn->setExpression("0");
  }
}

SessionDocument::Function* SessionDocument::newFormula(const Domain* on, const QString& expression)
{
  auto* fn = new FormulaFn(on);
  setExpression(fn, expression);
  return fn;
}

SessionDocument::Function* SessionDocument::insertFormula(int index, const QString& name,
                                                          const QString& expression)
{
  Function* fn = newFormula(domain, expression);
  functions.insert(qBound(0, index, functions.size()), fn);
  names.insert(fn, name);
  return fn;
}

QStringList SessionDocument::formulaNames(const QStringList& user) const
{
  QStringList all = user;
  for (const FormulaFile::Entry& e : sessionFormulas)
    if (!all.contains(e.name))
      all.append(e.name);
  return all;
}

QString SessionDocument::sessionExpression(const QString& name) const
{
  for (const FormulaFile::Entry& e : sessionFormulas)
    if (e.name == name)
      return e.expression;
  return QString();
}

QStringList SessionDocument::offerSessionFormulas(const QMap<QString, QVariant>& session,
                                                  int selectorCount,
                                                  QVector<FormulaFile::Entry> offered)
{
  QStringList chosen;
  for (const SessionLookup::Choice& c : SessionLookup::read(session, selectorCount, offered)) {
    if (c.source != SessionLookup::Choice::Session) {
      chosen.append(QString());
      continue;
    }
    const QString name = SessionLookup::nameInList(c, offered);
    const auto named = [&name](const FormulaFile::Entry& e) { return e.name == name; };
    if (std::none_of(offered.cbegin(), offered.cend(), named) &&
        std::none_of(sessionFormulas.cbegin(), sessionFormulas.cend(), named)) {
      sessionFormulas.append({name, c.expression, true});
      offered.append(sessionFormulas.last());
    }
    chosen.append(name);
  }
  return chosen;
}

void SessionDocument::takeData(DataImport& import, bool keepRecords)
{
  dataFile = import.fileInfo();
  auto r = QSharedPointer<DataHolders::Domains::Equid>::create();
  r->low = import.low();
  r->high = import.high();
  r->count = import.count();
  domainRecord = r;
  pointRecordsAtDomain();
  if (!keepRecords)
    resetRecords();
  domain = import.createDomain();
  for (Function* fn : import.createFunctions(domain)) {
    names.insert(fn, import.functionLabel(functions.size()));
    functions.append(fn);
  }
  import.releaseColumns();
}

void SessionDocument::makeRandomData(quint32 clock)
{
  dataFile = DataFileInfo();
  source = FunctionSource::TableData;
  auto r = QSharedPointer<DataHolders::Domains::Equid>::create();
  r->low = 0.0;
  r->high = 201.0;
  r->count = 200;
  domainRecord = r;
  resetRecords();
  remakeRandomData(std::max(clock, randomSeed + 1));
}

void SessionDocument::remakeRandomData(quint32 seed)
{
  randomSeed = seed;
  if (!domain)
    domain = makeDomain(domainRecord);
  functions.append(randomData(domain, seed));
}

SessionDocument::Function* SessionDocument::randomData(const Domain* on, quint32 seed)
{
  // Thousandths in [0, 1], drawn by hand from the engine: the standard
  // distributions may differ between libraries, the engine does not.
  std::mt19937 engine(seed);
  std::vector<double> values(on->size());
  for (double& v : values)
    v = double(engine() % 1001u) / 1000.0;
  return new Fn::MathFnTable<double, double>(on, values);
}

SessionDocument::Domain*
SessionDocument::makeDomain(const QSharedPointer<DataHolders::Domains::Equid>& record)
{
  if (!record || !DataHolders::domainRangeValid(*record) || record->count < 1)
    return new ::Domains::Equidistant<double>(0.0, 1.0, 2000u);
  return DataHolders::createDomain(record);
}
