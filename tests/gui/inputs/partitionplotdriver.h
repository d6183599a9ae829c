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

// Real mouse and key input on a partition widget's plot and node editors.
class PartitionPlotDriver
{
public:
  explicit PartitionPlotDriver(PartitionWidgetBase* widget) : w(widget) {}

  PlotPartition* plot() const { return w->partitionEditor()->plot(); }
  QWidget* canvas() const { return plot()->canvas(); }
  NodeEditors* editors() const { return w->partitionEditor()->editors(); }

  // Canvas pixel of a plot x, after the plot has taken its current scale.
  int pixel(double x) const
  {
    plot()->replot();
    return qRound(plot()->plot()->canvasMap(QwtPlot::xBottom).transform(x));
  }
  int lowestThirdY() const { return canvas()->height() - 4; }
  int upperY() const { return 4; }

  void ctrlClick(Qt::MouseButton button, int x, int y) const
  {
    QTest::mouseClick(canvas(), button, Qt::ControlModifier, QPoint(x, y));
  }

  // Drags the node marker at node x to the plot x target with a held left button.
  void dragNode(double x, double target) const
  {
    QWidget* top = canvas()->window();
    QWindow* window = top->windowHandle();
    canvas()->setFocus(Qt::OtherFocusReason);
    const int y = qRound(plot()->plot()->canvasMap(QwtPlot::yLeft).transform(0.0));
    const QPoint from = canvas()->mapTo(top, QPoint(pixel(x), y));
    const QPoint to = canvas()->mapTo(top, QPoint(pixel(target), y));
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(window, QPoint((from.x() + to.x()) / 2, to.y()));
    QTest::mouseMove(window, to);
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, to);
  }

  // Types a node position into node editor index and leaves it with Return.
  void typeNode(int index, const QString& text) const
  {
    QLineEdit* e = editors()->editor(static_cast<std::size_t>(index));
    QTest::mouseClick(e, Qt::LeftButton);
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(e, text);
    QTest::keyClick(e, Qt::Key_Return);
  }

  QVector<double> recordNodes() const
  {
    return w->data().staticCast<DataHolders::Partitions::PartBase>()->nodes;
  }

private:
  PartitionWidgetBase* w;
};

// Replaces the text of a line edit by typing, as a user does.
inline void retypeEdit(QLineEdit* e, const QString& text)
{
  e->setFocus();
  QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(e, Qt::Key_Delete);
  QTest::keyClicks(e, text);
}

inline bool sameNodes(const QVector<double>& actual, const QVector<double>& expected,
                      double tolerance = 1e-12)
{
  if (actual.size() != expected.size())
    return false;
  for (int i = 0; i < actual.size(); ++i)
    if (std::abs(actual[i] - expected[i]) > tolerance)
      return false;
  return true;
}

#endif
