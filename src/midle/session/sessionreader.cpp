#include "midle/session/sessionreader.h"

#include "gui/ftransform_widgets/nodelayout.h"
#include "math/domains/enumerationbase.h"
#include "math/fce/mathfn.h"
#include "midle/numberreader/dataimport.h"
#include "midle/session/formulafile.h"
#include "midle/session/sessiondocument.h"
#include "midle/session/sessionkeys.h"
#include "midle/session/sessionlookup.h"
#include "midle/session/sessionpartition.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace {

QString tr(const char* text)
{
  return QCoreApplication::translate("SessionReader", text);
}

// The domain input's record, read from its texts as the domain widget reads them.
QSharedPointer<DataHolders::Domains::Equid> domainInput(const DomainTexts& texts)
{
  auto d = QSharedPointer<DataHolders::Domains::Equid>::create();
  d->low = texts.low.toDouble();
  d->high = texts.high.toDouble();
  d->count = texts.discretization.toInt(nullptr, 10);
  return d;
}

} // namespace

SessionReader::SessionReader(const QString& sessionPath) : path(sessionPath) {}

SessionReader::~SessionReader() = default;

void SessionReader::setFormulasFile(const QString& file)
{
  formulasPath = file;
}

QString SessionReader::dataFileNotRead(const QString& dataFile)
{
  return tr("the data file of MainWindow/dataFile (\"%1\") could not be read").arg(dataFile);
}

bool SessionReader::read()
{
  error.clear();
  information.clear();
  missingFormula = false;
  result = SessionInputs();
  // A session the window would not open, and so would not compute.
  QString why;
  if (!SessionDocument::read(path, DomainTexts(), &values, &why)) {
    error = SessionValidator::notOpened(path, why);
    return false;
  }
  SessionDocument document;
  document.take(values);
  const auto input = domainInput(document.domainTexts);
  // The check boxes above the degree are unchecked when the degree is applied.
  result.maxDegree = document.degree;
  result.degreeMask = document.shownDegrees & ((2 << document.degree) - 1);
  result.basis = document.basis;
  QSharedPointer<DataHolders::Domains::Equid> dataDomain;
  if (values.functionSource == FunctionSource::TableData) {
    if (!readDataFile())
      return false;
    dataDomain = result.domainRecord;
  } else {
    result.domainRecord = input;
    result.domain.reset(DataHolders::createDomain(input));
    if (!result.domain || !readFormulas())
      return false;
  }
  result.partition = SessionPartition(values).restore(input, dataDomain);
  return true;
}

bool SessionReader::readFormulas()
{
  if (formulasPath.isEmpty())
    formulasPath = SessionLookup::formulasFileOutsideWindow(QString());
  // A file that is not there lists nothing.
  FormulaFile formulas;
  const bool haveFile = QFileInfo(formulasPath).isFile();
  if (haveFile)
    formulas.read(formulasPath);
  const auto choices = SessionLookup::read(values.values, values.selectorCount, formulas.entries());
  for (int i = 0; i < choices.size(); ++i) {
    const SessionLookup::Choice& c = choices.at(i);
    if (c.source == SessionLookup::Choice::None) {
      const QString why =
          haveFile ? tr("%1 in the formulas file \"%2\"").arg(c.problem, formulasPath)
                   : tr("the session names it only by its place in a formulas file "
                        "(FunctionSelector/comboBox%1_currentIndex), and there is no formulas "
                        "file \"%2\"")
                         .arg(i)
                         .arg(formulasPath);
      error = tr("the formula of function selector %1 of the session \"%2\" cannot be found: %3")
                  .arg(i)
                  .arg(path, why);
      missingFormula = true;
      return false;
    }
    // Made as the window makes it.
    result.functions.emplace_back(SessionDocument::newFormula(result.domain.get(), c.expression));
    result.names << c.name;
  }
  return true;
}

bool SessionReader::readDataFile()
{
  const DataFileInfo info = SessionKeys::dataFileInfo(values);
  DataImport import;
  const DataImport::Status status = import.run(info);
  for (const DataImport::Message& m : import.messages()) {
    if (m.icon == DataImport::Information)
      information << m.text;
    else
      error = m.text + QLatin1Char('\n');
  }
  if (status != DataImport::Loaded) {
    error += SessionValidator::notOpened(path, dataFileNotRead(values.dataFile));
    return false;
  }
  auto d = QSharedPointer<DataHolders::Domains::Equid>::create();
  d->low = import.low();
  d->high = import.high();
  d->count = import.count();
  result.domainRecord = d;
  result.domain.reset(import.createDomain());
  const auto functions = import.createFunctions(result.domain.get());
  for (int i = 0; i < int(functions.size()); ++i) {
    result.functions.emplace_back(functions[size_t(i)]);
    result.names << DataImport::functionName(i, int(functions.size()));
  }
  return true;
}
