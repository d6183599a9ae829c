#ifndef QUELMORA_SESSIONVALIDATOR_H
#define QUELMORA_SESSIONVALIDATOR_H

#include "gui/ftransform_widgets/data_structures.h"
#include "math/fce/higherdegreebasis.h"
#include "midle/session/formulafile.h"
#include "midle/session/functionsource.h"

#include <QMap>
#include <QString>
#include <QVariant>
#include <QVector>

#include <set>

class QSettings;

// The domain input's three texts, which may hold what was never applied.
struct DomainTexts
{
  QString low = QStringLiteral("0");
  QString high = QStringLiteral("1");
  QString discretization = QStringLiteral("2048");
};

// A session file's values after they passed the checks (missing keys hold
// the documented defaults): the keys the session document reads and writes
// itself, and every stored value as read.
struct SessionContents
{
  int selectorCount = 1;
  double zoom = 1.0;
  DataHolders::PartitionKind partitionKind = DataHolders::PartitionKind::Generic;
  FunctionSource functionSource = FunctionSource::Formulas;
  // As stored, or the file of that name beside the session when the stored
  // path names nothing (SessionLookup::dataFile).
  QString dataFile;
  QString valueSeparator;
  int decimalSeparator = 0;
  // The data file's x column (-1: none); sessions written before it was
  // stored mean column 0.
  int xColumn = 0;
  int legendAlignment = 0x22;
  bool showLegend = false;
  Fn::HigherDegreeBasis higherDegreeBasis = Fn::HigherDegreeBasis::Orthogonal;
  // Nodes of kinds 6 and 8, duplicates merged; empty when none were stored.
  std::set<double> nodes;
  // Fixed point of kind 7, which its slider cannot store; inside the domain.
  bool hasFixedPoint = false;
  double fixedPoint = 0.0;
  // The degree controls' keys: the degree, and per degree d bit 1 << d when
  // its box is checked (boxes above the degree are unchecked when applied).
  int degree = 0;
  int shownDegrees = 1;
  DomainTexts domainTexts;
  // Per selector the formula it carries (name and expression); none for a
  // selector the session names only by a place in the formulas list.
  QVector<FormulaFile::Entry> formulas;
  // Every stored value as read ("Group/key"): the input widgets' and dialogs'
  // fields are written back from here as they are (a colour as the variant
  // it was), the document's own keys from the fields above.
  QMap<QString, QVariant> values;
};

// Checks a whole session file before anything of it reaches a widget. A session
// file is user data: old, hand-edited or damaged. Every value that would make
// an input widget, a builder or a layout misbehave (crash, assert, endless
// layout, huge allocation) is refused here with the key that holds it.
// Widget keys of the session are checked where the widgets would not refuse
// them on their own; a missing key is never an error.
class SessionValidator
{
public:
  // What the window shows now, used where the file lacks a domain key (the
  // domain input then keeps its text).
  using Fallback = DomainTexts;

  // Limits of what a session may ask for: each selector costs a function and
  // its transforms over the whole domain; the node count is what the widest
  // layout gives (a step of a ten-thousandth of the range).
  static constexpr qint64 maxFileSize = 16 * 1024 * 1024;
  static constexpr int maxSelectors = 32;
  static constexpr int maxNodes = 10001;
  static constexpr double maxZoom = 200.0;
  static constexpr int maxSeparatorLength = 16;
  static constexpr int maxXColumn = 999;

  SessionValidator(const QString& path, const Fallback& fallback);

  // True when the file can be applied; contents() then holds its values.
  // A file that does not exist is valid and gives the defaults.
  bool validate();

  const SessionContents& contents() const { return result; }
  // "Group/key" of the refused value, or "" when the file as a whole was refused.
  QString badKey() const { return key; }
  QString reason() const { return why; }
  // Why the file was refused, as the window words it ("the value of KEY ...").
  QString refusal() const;
  // The window's message for a session refused for `why`.
  static QString notOpened(const QString& sessionPath, const QString& why);

private:
  bool fail(const QString& badKey, const QString& text);
  bool checkFile();
  bool readMainWindow(QSettings& s);
  bool readDomain(QSettings& s, double& low, double& high);
  bool readPartition(QSettings& s, double low, double high);
  bool readNodes(QSettings& s, const QString& group, double low, double high);
  bool readWidgets(QSettings& s);
  bool checkDataFile();

  bool readInt(QSettings& s, const QString& k, int min, int max, int& value);
  bool readDouble(QSettings& s, const QString& k, double min, double max, double& value);

  QString path;
  Fallback fallback;
  SessionContents result;
  bool skipNodes = false;
  QString key;
  QString why;
};

#endif
