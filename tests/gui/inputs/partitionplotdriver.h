#ifndef QUELMORA_TESTS_PARTITIONPLOTDRIVER_H
#define QUELMORA_TESTS_PARTITIONPLOTDRIVER_H

#include "gui/components/nodeeditors.h"
#include "gui/components/partitioneditor.h"
#include "gui/components/plotpartition.h"
#include "gui/inputs/partitionwidgetbase.h"

#include <QLineEdit>
#include <QtTest>

#include <qwt_plot.h>
#include <qwt_scale_map.h>

inline void retypeEdit(QLineEdit* e, const QString& text, bool leave = false)
{
  QTest::mouseClick(e, Qt::LeftButton);
  QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(e, Qt::Key_Delete);
  QTest::keyClicks(e, text);
  if (leave)
    QTest::keyClick(e, Qt::Key_Tab);
}

// Real mouse and key input on a partition widget's plot and node editors.
struct PartitionPlotDriver
{
  PartitionWidgetBase* w;

  PlotPartition* plot() const { return w->partitionEditor()->plot(); }
  QWidget* canvas() const { return plot()->canvas(); }
  NodeEditors* editors() const { return w->partitionEditor()->editors(); }
  int pixel(double x) const
  {
    plot()->replot(); // take the current scale
    return qRound(plot()->plot()->canvasMap(QwtPlot::xBottom).transform(x));
  }
  // Ctrl+click at plot x, in the lowest third of the canvas or near its top.
  void ctrlClick(Qt::MouseButton button, double x, int offset = 0, bool low = true) const
  {
    const QPoint p(pixel(x) + offset, low ? canvas()->height() - 4 : 4);
    QTest::mouseClick(canvas(), button, Qt::ControlModifier, p);
  }
  void dragNode(double x, double target) const
  {
    QWidget* top = canvas()->window();
    canvas()->setFocus(Qt::OtherFocusReason);
    const int y = qRound(plot()->plot()->canvasMap(QwtPlot::yLeft).transform(0.0));
    const QPoint from = canvas()->mapTo(top, QPoint(pixel(x), y));
    const QPoint to = canvas()->mapTo(top, QPoint(pixel(target), y));
    QTest::mousePress(top->windowHandle(), Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(top->windowHandle(), QPoint((from.x() + to.x()) / 2, to.y()));
    QTest::mouseMove(top->windowHandle(), to);
    QTest::mouseRelease(top->windowHandle(), Qt::LeftButton, Qt::NoModifier, to);
  }
  void typeNode(int index, const QString& text, bool commit = true) const
  {
    QLineEdit* e = editors()->editor(static_cast<std::size_t>(index));
    retypeEdit(e, text);
    if (commit)
      QTest::keyClick(e, Qt::Key_Return);
  }
  QVector<double> nodes() const
  {
    return w->data().staticCast<DataHolders::Partitions::PartBase>()->nodes;
  }
};

inline QSharedPointer<DataHolders::Domains::Equid> equid(double low, double high, int count = 2000)
{
  auto d = QSharedPointer<DataHolders::Domains::Equid>::create();
  d->low = low;
  d->high = high;
  d->count = count;
  return d;
}

inline bool showActive(QWidget* w, QSize size = QSize())
{
  if (size.isValid())
    w->resize(size);
  w->show();
  w->activateWindow();
  return QTest::qWaitForWindowActive(w);
}

inline bool sameNodes(const QVector<double>& actual, const QVector<double>& expected)
{
  bool same = actual.size() == expected.size();
  for (int i = 0; same && i < actual.size(); ++i)
    same = std::abs(actual[i] - expected[i]) <= 1e-12;
  return same;
}

// A spy's emissions as "arg arg, arg arg".
inline QString emitted(const QList<QList<QVariant>>& spy)
{
  QStringList all;
  for (const QList<QVariant>& args : spy)
    all << QVariant(args).toStringList().join(' ');
  return all.join(", ");
}

#endif
