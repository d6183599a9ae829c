#include "midle/session/sessionkeys.h"

#include "midle/session/sessionlookup.h"

#include <QRegularExpression>
#include <QSettings>

#include <algorithm>
#include <cmath>

namespace {

bool readInt(const QVariant& v, qint64 min, qint64 max, int& out, QString& why)
{
  bool ok = false;
  const qlonglong n = v.toString().trimmed().toLongLong(&ok);
  if (!ok) {
    why = QStringLiteral("is not an integer");
    return false;
  }
  if (n < min || n > max) {
    why = QStringLiteral("is outside %1..%2").arg(min).arg(max);
    return false;
  }
  out = int(n);
  return true;
}

bool readDouble(const QVariant& v, double min, double max, double& out, QString& why)
{
  bool ok = false;
  const double d = v.toString().trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(d)) {
    why = QStringLiteral("is not a finite number");
    return false;
  }
  if (d < min || d > max) {
    why = QStringLiteral("is outside %1..%2").arg(min).arg(max);
    return false;
  }
  out = d;
  return true;
}

bool readBool(const QVariant& v, bool& out, QString& why)
{
  const QString t = v.toString().trimmed().toLower();
  if (t == QLatin1String("true") || t == QLatin1String("1"))
    out = true;
  else if (t == QLatin1String("false") || t == QLatin1String("0"))
    out = false;
  else
    why = QStringLiteral("is not true or false");
  return why.isEmpty();
}

bool tableData(const SessionContents& c)
{
  return c.functionSource == FunctionSource::TableData;
}

// A stored widget value as the property system converts it for the widget.
bool asProperty(const QVariant& v, int type, QVariant& out)
{
  out = v;
  return out.convert(type);
}

// The check box of degree d: checked, or not, as the box takes the value.
template <int d>
bool readShown(const QVariant& v, SessionContents& c, QString&)
{
  QVariant b;
  if (asProperty(v, QMetaType::Bool, b))
    c.shownDegrees = b.toBool() ? c.shownDegrees | (1 << d) : c.shownDegrees & ~(1 << d);
  return true;
}

template <int d>
QVariant writeShown(const SessionContents& c)
{
  return QVariant(bool(c.shownDegrees & (1 << d)));
}

using C = SessionContents;
using V = QVariant;
using Q = QString;

// clang-format off
const std::vector<SessionKeys::Key> keys = {
  {"FunctionSelector/count",
   [](const V& v, C& c, Q& why) { return readInt(v, 1, SessionValidator::maxSelectors, c.selectorCount, why); },
   [](const C& c) { return V(c.selectorCount); }},
  {"MainWindow/zoom",
   [](const V& v, C& c, Q& why) { return readDouble(v, 1.0, SessionValidator::maxZoom, c.zoom, why); },
   [](const C& c) { return V(c.zoom); }},
  {"MainWindow/functionTypeUsed",
   [](const V& v, C& c, Q& why) {
     int code = 0;
     if (!readInt(v, int(FunctionSource::Formulas), int(FunctionSource::TableData), code, why))
       return false;
     c.functionSource = FunctionSource(code);
     return true;
   },
   [](const C& c) { return V(int(c.functionSource)); }},
  {"MainWindow/decimalSeparator",
   [](const V& v, C& c, Q& why) { return readInt(v, 0, 1, c.decimalSeparator, why); },
   [](const C& c) { return tableData(c) ? V(c.decimalSeparator) : V(); }},
  {"MainWindow/xColumn",
   [](const V& v, C& c, Q& why) { return readInt(v, -1, SessionValidator::maxXColumn, c.xColumn, why); },
   [](const C& c) { return tableData(c) ? V(c.xColumn) : V(); }},
  {"MainWindow/legendAlignment",
   [](const V& v, C& c, Q& why) { return readInt(v, 0, 0xffff, c.legendAlignment, why); },
   [](const C& c) { return V(c.legendAlignment); }},
  {"MainWindow/showLegend",
   [](const V& v, C& c, Q& why) { return readBool(v, c.showLegend, why); },
   [](const C& c) { return V(c.showLegend); }},
  {"MainWindow/partitionType",
   [](const V& v, C& c, Q& why) {
     int code = 0;
     if (!readInt(v, 0, 1000, code, why))
       return false;
     if (!DataHolders::partitionKindOfCode(code, &c.partitionKind))
       why = QStringLiteral("is not a known partition type");
     return why.isEmpty();
   },
   [](const C& c) { return V(int(c.partitionKind)); }},
  {"MainWindow/dataFile",
   [](const V& v, C& c, Q&) { c.dataFile = v.toString(); return true; },
   [](const C& c) { return V(c.dataFile); }},
  {"MainWindow/valueSeparator",
   [](const V& v, C& c, Q& why) {
     c.valueSeparator = v.toString();
     if (c.valueSeparator.size() > SessionValidator::maxSeparatorLength)
       why = QStringLiteral("is too long");
     return why.isEmpty();
   },
   [](const C& c) { return tableData(c) ? V(c.valueSeparator) : V(); }},
  // Sessions from before the choice open with the orthogonal bases.
  {"MainWindow/higherDegreeBasis",
   [](const V& v, C& c, Q& why) {
     if (!Fn::parseBasisName(v.toString().toStdString(), &c.higherDegreeBasis))
       why = QStringLiteral("is neither \"orthogonal\" nor \"closed-form\"");
     return why.isEmpty();
   },
   [](const C& c) { return V(QString::fromLatin1(Fn::basisName(c.higherDegreeBasis))); }},
  // Keys of input widgets the document reads as well: the spin box takes the
  // degree as the property system converts it.
  {"FtDegreeWidget/ftDegreeSpin_value",
   [](const V& v, C& c, Q& why) {
     int degree = 0;
     V d;
     if (!readInt(v, 0, 3, degree, why))
       return false;
     if (asProperty(v, QMetaType::Int, d))
       c.degree = qBound(0, d.toInt(), 3);
     return true;
   },
   [](const C& c) { return V(c.degree); }},
  {"FtDegreeWidget/ft0ChBox_checked", readShown<0>, writeShown<0>},
  {"FtDegreeWidget/ft1ChBox_checked", readShown<1>, writeShown<1>},
  {"FtDegreeWidget/ft2ChBox_checked", readShown<2>, writeShown<2>},
  {"FtDegreeWidget/ft3ChBox_checked", readShown<3>, writeShown<3>},
  {"DomainWidget/lowEdt_text",
   [](const V& v, C& c, Q&) { c.domainTexts.low = v.toString(); return true; },
   [](const C& c) { return V(c.domainTexts.low); }},
  {"DomainWidget/highEdt_text",
   [](const V& v, C& c, Q&) { c.domainTexts.high = v.toString(); return true; },
   [](const C& c) { return V(c.domainTexts.high); }},
  {"DomainWidget/discrEdt_text",
   [](const V& v, C& c, Q&) { c.domainTexts.discretization = v.toString(); return true; },
   [](const C& c) { return V(c.domainTexts.discretization); }},
};
// clang-format on

} // namespace

const std::vector<SessionKeys::Key>& SessionKeys::table()
{
  return keys;
}

bool SessionKeys::read(const QSettings& s, SessionContents& c, QString& badKey, QString& why)
{
  for (const Key& k : keys) {
    const QString name = QString::fromLatin1(k.name);
    if (s.contains(name) && !k.read(s.value(name), c, why)) {
      badKey = name;
      return false;
    }
  }
  return true;
}

void SessionKeys::write(QSettings& s, const SessionContents& c)
{
  for (const Key& k : keys)
    if (const QVariant v = k.write(c); v.isValid())
      s.setValue(QString::fromLatin1(k.name), v);
}

bool SessionKeys::ownKey(const QString& key)
{
  static const QRegularExpression own(
      QStringLiteral("^(MainWindow/|FunctionSelector/formula\\d+_(name|expression)$|[^/]+/NodeList/"
                     "|[^/]+/fixedPoint$)"));
  if (own.match(key).hasMatch())
    return true;
  for (const Key& k : keys)
    if (key == QLatin1String(k.name))
      return true;
  return false;
}

void SessionKeys::writeSession(QSettings& s, const SessionContents& c,
                               const DataHolders::Partitions::PartBase* record)
{
  for (auto it = c.values.constBegin(); it != c.values.constEnd(); ++it)
    if (!ownKey(it.key()))
      s.setValue(it.key(), it.value());
  writePartition(s, c.partitionKind, record);
  write(s, c);
  for (int i = 0; i < c.formulas.size(); ++i)
    SessionLookup::writeChoice(s, i, c.formulas.at(i).name, c.formulas.at(i).expression);
}

void SessionKeys::writePartition(QSettings& s, DataHolders::PartitionKind kind,
                                 const DataHolders::Partitions::PartBase* record)
{
  using DataHolders::PartitionKind;
  const QString group = DataHolders::partitionKindName(kind);
  if (kind == PartitionKind::Equidistant) {
    if (const auto* pt = dynamic_cast<const DataHolders::Partitions::FuzzyPt*>(record))
      s.setValue(group + QStringLiteral("/fixedPoint"), pt->fixedPoint);
    return;
  }
  QVector<double> nodes = record ? record->nodes : QVector<double>();
  std::sort(nodes.begin(), nodes.end());
  s.beginGroup(group);
  s.beginWriteArray(QStringLiteral("NodeList"), nodes.size());
  for (int i = 0; i < nodes.size(); ++i) {
    s.setArrayIndex(i);
    s.setValue(QStringLiteral("node"), nodes.at(i));
  }
  s.endArray();
  s.endGroup();
}

DataFileInfo SessionKeys::dataFileInfo(const SessionContents& c)
{
  DataFileInfo info(c.dataFile.toLocal8Bit(), false, c.xColumn);
  info.valueSeparator = c.valueSeparator;
  info.decimalSeparator = c.decimalSeparator;
  return info;
}

void SessionKeys::takeDataFile(SessionContents& c, const DataFileInfo& info)
{
  c.dataFile = info.filePath();
  c.xColumn = info.xColumn;
  c.valueSeparator = info.valueSeparator;
  c.decimalSeparator = info.decimalSeparator;
}
