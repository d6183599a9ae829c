#include "midle/session/sessionvalidator.h"

#include "gui/ftransform_widgets/data_structures.h"
#include "gui/ftransform_widgets/nodelayout.h"
#include "midle/numberreader/utf16device.h"
#include "midle/session/sessionkeys.h"
#include "midle/session/sessionlookup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <cmath>
#include <limits>

namespace {

// The window shows these; the batch tool, which loads no translation, keeps them English.
QString tr(const char* text)
{
  return QCoreApplication::translate("SessionValidator", text);
}

// Input limits of the widgets whose values the session restores.
using DataHolders::Domains::maxDiscretization;
using DataHolders::Domains::minDiscretization;
constexpr int minComponents = 2;
constexpr int maxComponents = 10000;
constexpr int minOffset = -999;
constexpr int maxOffset = 999;
constexpr int minShift = 1;
constexpr int maxShift = 999;
constexpr qint64 sniffSize = 64 * 1024;

bool readNumber(const QVariant& v, double& out)
{
  bool ok = false;
  const double d = v.toString().trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(d))
    return false;
  out = d;
  return true;
}

} // namespace

SessionValidator::SessionValidator(const QString& sessionPath, const Fallback& current)
    : path(sessionPath), fallback(current)
{
}

QString SessionValidator::refusal() const
{
  if (key.isEmpty())
    return why;
  return QCoreApplication::translate("MainWindow", "the value of %1 %2").arg(key, why);
}

QString SessionValidator::notOpened(const QString& sessionPath, const QString& reason)
{
  return QCoreApplication::translate("MainWindow", "Session \"%1\" was not opened: %2.")
      .arg(QDir::toNativeSeparators(sessionPath), reason);
}

bool SessionValidator::fail(const QString& badKey, const QString& text)
{
  key = badKey;
  why = text;
  return false;
}

bool SessionValidator::readInt(QSettings& s, const QString& k, int min, int max, int& value)
{
  if (!s.contains(k))
    return true;
  bool ok = false;
  const qlonglong v = s.value(k).toString().trimmed().toLongLong(&ok);
  if (!ok)
    return fail(k, tr("is not an integer"));
  if (v < min || v > max)
    return fail(k, tr("is outside %1..%2").arg(min).arg(max));
  value = int(v);
  return true;
}

bool SessionValidator::readDouble(QSettings& s, const QString& k, double min, double max,
                                  double& value)
{
  if (!s.contains(k))
    return true;
  double d = 0.0;
  if (!readNumber(s.value(k), d))
    return fail(k, tr("is not a finite number"));
  if (d < min || d > max)
    return fail(k, tr("is outside %1..%2").arg(min).arg(max));
  value = d;
  return true;
}

bool SessionValidator::checkFile()
{
  const QFileInfo info(path);
  if (info.isDir())
    return fail(QString(), tr("it is a directory"));
  if (!info.isFile())
    return fail(QString(), tr("it is not a regular file"));
  if (info.size() > maxFileSize)
    return fail(QString(), tr("it is larger than %1 MB").arg(maxFileSize >> 20));
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly))
    return fail(QString(), tr("it cannot be read"));
  if (f.readAll().contains('\0'))
    return fail(QString(), tr("it is a binary file, not a session"));
  return true;
}

bool SessionValidator::validate()
{
  result = SessionContents();
  skipNodes = false;
  key.clear();
  why.clear();
  if (!QFileInfo::exists(path))
    return true;
  if (!checkFile())
    return false;

  QSettings s(path, QSettings::IniFormat);
  if (s.status() != QSettings::NoError)
    return fail(QString(), tr("it is not a readable settings file"));

  double low = 0.0, high = 1.0;
  if (!readMainWindow(s) || !readWidgets(s) || !readDomain(s, low, high) ||
      !readPartition(s, low, high) || !checkDataFile())
    return false;
  for (const QString& k : s.allKeys())
    result.values.insert(k, s.value(k));
  result.formulas = SessionLookup::carried(result.values, result.selectorCount);
  return true;
}

bool SessionValidator::readMainWindow(QSettings& s)
{
  if (!SessionKeys::read(s, result, key, why))
    return false;
  // Random data is table data without a file: it cannot be restored, so such
  // a session reopens with the formulas.
  // Its nodes lie on the random data's domain and are laid out afresh.
  if (result.functionSource == FunctionSource::TableData && result.dataFile.isEmpty()) {
    result.functionSource = FunctionSource::Formulas;
    skipNodes = true;
  }
  return true;
}

bool SessionValidator::readWidgets(QSettings& s)
{
  int unused = 0;
  return readInt(s, QStringLiteral("Preferences_page1/maxZoomSpin_value"), 5, int(maxZoom),
                 unused) &&
         readInt(s, QStringLiteral("Preferences_page1/legendIconWidthSpin_value"), 0, 99, unused) &&
         readInt(s, QStringLiteral("Preferences_page1/legendIconHeightSpin_value"), 0, 19, unused);
}

bool SessionValidator::readDomain(QSettings& s, double& low, double& high)
{
  const QString lowKey = QStringLiteral("DomainWidget/lowEdt_text");
  const QString highKey = QStringLiteral("DomainWidget/highEdt_text");
  const QString countKey = QStringLiteral("DomainWidget/discrEdt_text");

  if (!readNumber(s.value(lowKey, fallback.low), low))
    return fail(lowKey, tr("is not a finite number"));
  if (!readNumber(s.value(highKey, fallback.high), high))
    return fail(highKey, tr("is not a finite number"));
  if (!DataHolders::domainRangeValid(low, high))
    return fail(s.contains(highKey) || !s.contains(lowKey) ? highKey : lowKey,
                tr("does not give an interval with low < high"));

  bool ok = false;
  const qlonglong count =
      s.value(countKey, fallback.discretization).toString().trimmed().toLongLong(&ok);
  if (!ok)
    return fail(countKey, tr("is not an integer"));
  if (count < minDiscretization || count > maxDiscretization)
    return fail(countKey, tr("is outside %1..%2").arg(minDiscretization).arg(maxDiscretization));
  return true;
}

bool SessionValidator::readPartition(QSettings& s, double low, double high)
{
  using DataHolders::PartitionKind;
  const PartitionKind kind = result.partitionKind;
  const QString name = DataHolders::partitionKindName(kind);
  const QString group = name + QLatin1Char('/');
  const int maxShape = kind == PartitionKind::Custom ? 2 : 1;
  int unused = 0;
  if (!readInt(s, group + QStringLiteral("shapeCbox_currentIndex"), 0, maxShape, unused))
    return false;

  DataHolders::Domains::Equid range;
  range.low = low;
  range.high = high;
  // A data session's partition lives on the data's domain, known only once the
  // file is read; the partition widgets bound the steps to it then.
  const bool onDomainInput = result.functionSource == FunctionSource::Formulas;
  const double minStep = onDomainInput ? DataHolders::Partitions::minimumStep(range)
                                       : std::numeric_limits<double>::min();
  const double maxStep = onDomainInput ? DataHolders::Partitions::maximumStep(range)
                                       : std::numeric_limits<double>::max();

  if (kind == PartitionKind::Generic || kind == PartitionKind::Equidistant) {
    if (!readInt(s, group + QStringLiteral("offsetSpin_value"), minOffset, maxOffset, unused) ||
        !readInt(s, group + QStringLiteral("shiftSpin_value"), minShift, maxShift, unused))
      return false;
  }
  if (kind == PartitionKind::Generic)
    return readInt(s, group + QStringLiteral("nodesSpin_value"), minComponents, maxComponents,
                   unused) &&
           readNodes(s, name, low, high);

  if (kind == PartitionKind::Equidistant) {
    double h = 0.25;
    if (!readDouble(s, group + QStringLiteral("elemWidthEdt_text"), minStep, maxStep, h))
      return false;
    // On a data session's domain, unknown here, the restore picks the nearest slider place.
    const QString fixedKey = group + QStringLiteral("fixedPoint");
    result.hasFixedPoint = s.contains(fixedKey);
    return readDouble(s, fixedKey, onDomainInput ? low : -std::numeric_limits<double>::max(),
                      onDomainInput ? high : std::numeric_limits<double>::max(), result.fixedPoint);
  }

  double delta = (high - low) * 0.25;
  if (!readDouble(s, group + QStringLiteral("deltaEdt_text"), minStep, maxStep, delta))
    return false;
  double variance = delta * 0.5;
  const double maxVariance = onDomainInput ? (high - low) * 1e6 : maxStep;
  if (!readDouble(s, group + QStringLiteral("extraParamEdt_text"), delta / 10000.0, maxVariance,
                  variance))
    return false;
  return readNodes(s, name, low, high);
}

bool SessionValidator::readNodes(QSettings& s, const QString& group, double low, double high)
{
  const QString sizeKey = group + QStringLiteral("/NodeList/size");
  if (skipNodes || !s.contains(sizeKey))
    return true;
  int size = 0;
  if (!readInt(s, sizeKey, 0, maxNodes, size))
    return false;

  // Nodes of a data-file session live on the data's domain, which is only
  // known once the file is read: there they need only be numbers in order.
  const bool checkRange = result.functionSource == FunctionSource::Formulas;
  double previous = -HUGE_VAL;
  s.beginGroup(group);
  const int n = s.beginReadArray(QStringLiteral("NodeList"));
  for (int i = 0; i < n && i < size; ++i) {
    s.setArrayIndex(i);
    const QString k = group + QStringLiteral("/NodeList/%1/node").arg(i + 1);
    double x = 0.0;
    if (s.contains(QStringLiteral("node")) && !readNumber(s.value(QStringLiteral("node")), x)) {
      s.endArray();
      s.endGroup();
      return fail(k, tr("is not a finite number"));
    }
    QString problem;
    if (checkRange && (x < low || x > high))
      problem = tr("lies outside the domain %1..%2").arg(low).arg(high);
    else if (x < previous)
      problem = tr("is smaller than the node before it");
    if (!problem.isEmpty()) {
      s.endArray();
      s.endGroup();
      return fail(k, problem);
    }
    previous = x;
    result.nodes.insert(x);
  }
  s.endArray();
  s.endGroup();
  if (!result.nodes.empty() && result.nodes.size() < 2)
    return fail(sizeKey, tr("gives fewer than two different nodes"));
  return true;
}

bool SessionValidator::checkDataFile()
{
  if (result.functionSource != FunctionSource::TableData)
    return true;
  const QString k = QStringLiteral("MainWindow/dataFile");
  result.dataFile = SessionLookup::dataFile(path, result.dataFile);
  const QFileInfo info(result.dataFile);
  if (!info.exists())
    return fail(k, tr("names a file that does not exist"));
  if (info.isDir())
    return fail(k, tr("names a directory"));
  if (!info.isFile())
    return fail(k, tr("names a device or other special file"));
  const QString suffix = info.suffix().toLower();
  if (suffix != QLatin1String("csv") && suffix != QLatin1String("txt"))
    return fail(k, tr("names a file that is neither .csv nor .txt"));
  QFile f(result.dataFile);
  if (!f.open(QIODevice::ReadOnly))
    return fail(k, tr("names a file that cannot be read"));
  // UTF-16 text holds zero bytes; with its byte-order mark it is read as text.
  if (Utf16Device::sniff(f) == Utf16Device::Utf8 && f.read(sniffSize).contains('\0'))
    return fail(k, tr("names a binary file"));
  return true;
}
