#include "midle/session/sessionpartition.h"

#include "gui/ftransform_widgets/nodelayout.h"
#include "midle/session/sessionvalidator.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using DataHolders::Domains::Equid;
using DataHolders::Partitions::FuzzyDelta;
using DataHolders::Partitions::FuzzyEq;
using DataHolders::Partitions::FuzzyPt;
using DomainPtr = QSharedPointer<Equid>;

// A stored value as the property system hands it to a widget: converted to
// the property's type, or refused (the widget then keeps its value).
bool asInt(const QVariant& v, int& out)
{
  QVariant c = v;
  if (!v.isValid() || !c.convert(QMetaType::Int))
    return false;
  out = c.toInt();
  return true;
}

bool asText(const QVariant& v, QString& out)
{
  QVariant c = v;
  if (!v.isValid() || !c.convert(QMetaType::QString))
    return false;
  out = c.toString();
  return true;
}

// A spin box: values are clamped, and only a change is signalled.
struct Spin
{
  int value, min, max;

  bool set(int v)
  {
    v = std::min(std::max(v, min), max);
    if (v == value)
      return false;
    value = v;
    return true;
  }
  bool setMaximum(int m)
  {
    max = std::max(m, min);
    return set(value);
  }
};

// A combo box of n shape names: an index outside them selects nothing,
// whose text ("") reads as a triangle.
struct Combo
{
  int index, count;

  bool set(int i)
  {
    i = i >= 0 && i < count ? i : -1;
    if (i == index)
      return false;
    index = i;
    return true;
  }
  int32_t shape() const { return index < 0 ? DataHolders::ShapeTriangle : index; }
};

QString shown(double value)
{
  return QString::number(value, 'g', 6);
}

bool rangeValid(const DomainPtr& d)
{
  return d && DataHolders::domainRangeValid(*d);
}

// FuzzyPartEquidWidget.
struct GenericModel
{
  explicit GenericModel(QSharedPointer<FuzzyEq> record) : r(std::move(record)) {}

  QSharedPointer<FuzzyEq> r;
  Combo shapeBox{0, 2};
  Spin nodesSpin{5, 2, 10000};
  Spin offsetSpin{-1, -999, 999};
  Spin shiftSpin{1, 1, 999};
  std::set<double> nodeSet;

  // The widget made on the record; then the controller bounds the
  // components by the computation domain's subintervals.
  void construct(int subintervals)
  {
    *this = GenericModel(r);
    shapeBox.set(r->shape);
    nodesSpin.set(r->componentCount);
    offsetSpin.set(r->offset);
    shiftSpin.set(r->shift);
    nodeSet.clear();
    for (double x : qAsConst(r->nodes))
      if (std::isfinite(x))
        nodeSet.insert(x);
    if (nodesSpin.setMaximum(subintervals))
      updateData(true);
  }
  void updateData(bool regenerate)
  {
    r->shift = shiftSpin.value;
    r->offset = offsetSpin.value;
    r->shape = shapeBox.shape();
    if (!regenerate) {
      r->nodes = QVector<double>(nodeSet.begin(), nodeSet.end());
      return;
    }
    r->componentCount = nodesSpin.value;
    const QVector<double> laid = DataHolders::Partitions::layoutNodes(*r);
    if (!laid.isEmpty()) {
      r->nodes = laid;
      nodeSet = std::set<double>(laid.begin(), laid.end());
    }
  }
  void shapeChanged()
  {
    updateData(false);
    if (shiftSpin.set(1))
      updateData(false);
  }
  bool setNodeSet(const std::set<double>& nodes)
  {
    const QVector<double> list(nodes.begin(), nodes.end());
    if (!r->domain || !DataHolders::nodesValid(list, *r->domain))
      return false;
    nodeSet = nodes;
    r->nodes = list;
    return true;
  }
};

// FuzzyPartFixedWidget.
struct FixedModel
{
  explicit FixedModel(QSharedPointer<FuzzyPt> record) : r(std::move(record)) {}

  QSharedPointer<FuzzyPt> r;
  Combo shapeBox{0, 2};
  Spin offsetSpin{-1, -999, 999};
  Spin shiftSpin{1, 1, 999};
  QString widthText;
  double bottom = 0.0, top = 0.0;

  void construct()
  {
    *this = FixedModel(r);
    shapeBox.set(r->shape);
    offsetSpin.set(r->offset);
    shiftSpin.set(r->shift);
    if (rangeValid(r->domain) && std::isfinite(r->fixedPoint))
      r->fixedPoint = std::min(std::max(r->fixedPoint, r->domain->low), r->domain->high);
    if (rangeValid(r->domain)) {
      bottom = DataHolders::Partitions::minimumStep(*r->domain);
      top = DataHolders::Partitions::maximumStep(*r->domain);
      if (std::isnan(r->partElementWidth))
        r->partElementWidth = top * 0.25;
      r->partElementWidth = std::min(std::max(r->partElementWidth, bottom), top);
      widthText = shown(r->partElementWidth);
    }
    layOut();
  }
  void layOut()
  {
    const QVector<double> laid = DataHolders::Partitions::layoutNodes(*r);
    if (!laid.isEmpty())
      r->nodes = laid;
  }
  void updateData()
  {
    r->shift = shiftSpin.value;
    r->offset = offsetSpin.value;
    r->shape = shapeBox.shape();
    if (SessionPartition::acceptable(widthText, bottom, top))
      r->partElementWidth = widthText.toDouble();
    layOut();
  }
  void shapeChanged()
  {
    updateData();
    if (shiftSpin.set(1))
      updateData();
  }
  void setFixedPoint(double x)
  {
    if (!rangeValid(r->domain) || !(r->partElementWidth > 0.0) || !std::isfinite(x))
      return;
    r->fixedPoint = std::min(std::max(x, r->domain->low), r->domain->high);
    updateData();
  }
};

// FuzzyPartDeltaWidget.
struct DeltaModel
{
  explicit DeltaModel(QSharedPointer<FuzzyDelta> record) : r(std::move(record)) {}

  QSharedPointer<FuzzyDelta> r;
  Combo shapeBox{0, 3};
  QString deltaText, varianceText;
  double deltaBottom = 0.0, deltaTop = 0.0, varianceBottom = 0.0;
  std::set<double> nodeSet;

  void construct()
  {
    *this = DeltaModel(r);
    shapeBox.set(r->shape);
    if (rangeValid(r->domain)) {
      deltaBottom = DataHolders::Partitions::minimumStep(*r->domain);
      deltaTop = DataHolders::Partitions::maximumStep(*r->domain);
      if (std::isnan(r->delta))
        r->delta = deltaTop * 0.25;
      r->delta = std::min(std::max(r->delta, deltaBottom), deltaTop);
      varianceBottom = r->delta / 10000.0;
      if (!(r->extraParam >= varianceBottom) || !std::isfinite(r->extraParam))
        r->extraParam = std::isfinite(r->extraParam) ? varianceBottom : r->delta * 0.5;
      deltaText = shown(r->delta);
      varianceText = shown(r->extraParam);
    }
    nodeSet.clear();
    for (double x : qAsConst(r->nodes))
      if (std::isfinite(x))
        nodeSet.insert(x);
  }
  void updateData()
  {
    if (SessionPartition::acceptable(deltaText, deltaBottom, deltaTop))
      r->delta = deltaText.toDouble();
    if (SessionPartition::acceptable(varianceText, varianceBottom,
                                     std::numeric_limits<double>::max()))
      r->extraParam = varianceText.toDouble();
    r->shape = shapeBox.shape();
    r->nodes = QVector<double>(nodeSet.begin(), nodeSet.end());
  }
  bool setNodeSet(const std::set<double>& nodes)
  {
    const QVector<double> list(nodes.begin(), nodes.end());
    if (!r->domain || !DataHolders::nodesValid(list, *r->domain))
      return false;
    nodeSet = nodes;
    r->nodes = list;
    return true;
  }
};

} // namespace

SessionPartition::SessionPartition(const SessionContents& c)
    : kind(c.partitionKind), nodes(c.nodes), hasFixedPoint(c.hasFixedPoint),
      fixedPoint(c.fixedPoint)
{
  const QMap<QString, QVariant>& s = c.values;
  const QString g = DataHolders::partitionKindName(kind) + QLatin1Char('/');
  stored.shape = s.value(g + QStringLiteral("shapeCbox_currentIndex"));
  stored.components = s.value(g + QStringLiteral("nodesSpin_value"));
  stored.offset = s.value(g + QStringLiteral("offsetSpin_value"));
  stored.shift = s.value(g + QStringLiteral("shiftSpin_value"));
  stored.width = s.value(g + QStringLiteral("elemWidthEdt_text"));
  stored.delta = s.value(g + QStringLiteral("deltaEdt_text"));
  stored.variance = s.value(g + QStringLiteral("extraParamEdt_text"));
}

bool SessionPartition::acceptable(const QString& text, double bottom, double top)
{
  // The characters the validator lets through: digits, one point with at
  // most 1000 decimals, signs at the start or after one exponent mark.
  constexpr int maxDecimals = 1000;
  int decimals = 0, points = 0, exponents = 0;
  bool afterPoint = false, afterExponent = false;
  for (int i = 0; i < text.size(); ++i) {
    const QChar ch = text.at(i);
    const bool sign = ch == QLatin1Char('+') || ch == QLatin1Char('-') || ch == QChar(0x2212);
    const bool exponent = ch == QLatin1Char('e') || ch == QLatin1Char('E');
    if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) {
      if (afterPoint && ++decimals > maxDecimals)
        return false;
    } else if (ch == QLatin1Char('.')) {
      if (++points > 1)
        return false;
      afterPoint = true;
    } else if (sign) {
      if (i != 0 && !afterExponent)
        return false;
    } else if (exponent) {
      if (++exponents > 1)
        return false;
      afterPoint = false;
    } else {
      return false;
    }
    afterExponent = exponent;
  }
  if (text.isEmpty())
    return false;
  const QChar first = text.at(0);
  if ((bottom >= 0 && (first == QLatin1Char('-') || first == QChar(0x2212))) ||
      (top < 0 && first == QLatin1Char('+')))
    return false;
  bool ok = false;
  const double value = QLocale::c().toDouble(text, &ok);
  if (!ok || std::isnan(value) || value < bottom || value > top)
    return false;
  const double again = text.toDouble(&ok);
  return ok && std::isfinite(again) && again != bottom;
}

QSharedPointer<DataHolders::Partitions::PartBase>
SessionPartition::restore(const DomainPtr& domainInput, const DomainPtr& dataDomain) const
{
  // A fresh window's records, reset to the domain input as a session reset does.
  auto reset = [&](auto record) {
    record->domain = domainInput;
    DataHolders::Partitions::resetToDomain(*record, domainInput);
    return record;
  };
  int value = 0;
  QString text;

  switch (kind) {
  case DataHolders::PartitionKind::Generic: {
    GenericModel m(reset(QSharedPointer<FuzzyEq>::create()));
    auto apply = [&](int subintervals) {
      m.construct(subintervals);
      if (asInt(stored.shape, value) && m.shapeBox.set(value))
        m.shapeChanged();
      if (asInt(stored.components, value) && m.nodesSpin.set(value))
        m.updateData(true);
      if (asInt(stored.offset, value) && m.offsetSpin.set(value))
        m.updateData(false);
      if (asInt(stored.shift, value) && m.shiftSpin.set(value))
        m.updateData(false);
      if (!nodes.empty())
        m.setNodeSet(nodes);
      m.updateData(false);
    };
    apply(domainInput->count);
    if (dataDomain) {
      m.r->domain = dataDomain;
      apply(dataDomain->count);
    } else {
      m.construct(domainInput->count); // the widget made again for the formulas
    }
    return m.r;
  }

  case DataHolders::PartitionKind::Equidistant: {
    FixedModel m(reset(QSharedPointer<FuzzyPt>::create()));
    auto apply = [&] {
      m.construct();
      if (asInt(stored.shape, value) && m.shapeBox.set(value))
        m.shapeChanged();
      if (asText(stored.width, text))
        m.widthText = text;
      if (asInt(stored.offset, value) && m.offsetSpin.set(value))
        m.updateData();
      if (asInt(stored.shift, value) && m.shiftSpin.set(value))
        m.updateData();
      m.updateData();
      if (hasFixedPoint)
        m.setFixedPoint(fixedPoint);
    };
    apply();
    if (dataDomain) {
      m.r->domain = dataDomain;
      apply();
    } else {
      m.construct();
    }
    return m.r;
  }

  case DataHolders::PartitionKind::Custom: {
    DeltaModel m(reset(QSharedPointer<FuzzyDelta>::create()));
    auto apply = [&] {
      m.construct();
      if (asInt(stored.shape, value) && m.shapeBox.set(value))
        m.updateData();
      if (asText(stored.delta, text))
        m.deltaText = text;
      if (asText(stored.variance, text))
        m.varianceText = text;
      if (!nodes.empty())
        m.setNodeSet(nodes);
      m.updateData();
    };
    apply();
    if (dataDomain) {
      m.r->domain = dataDomain;
      apply();
    } else {
      m.construct();
    }
    return m.r;
  }
  }
  return {};
}
