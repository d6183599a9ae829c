#include "gui/components/canvasdriver.h"
#include "gui/components/markerpicker.h"
#include "gui/components/nodeeditors.h"
#include "gui/components/partitioneditor.h"
#include "gui/components/plotpartition.h"
#include "gui/ftransform_widgets/data_structures.h"
#include "math/partitions/partitionbase.h"

#include <QDoubleValidator>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

#include <qwt_plot.h>
#include <qwt_plot_marker.h>

#include <cmath>

namespace {

DataHolderBase ruspini(const QVector<double>& nodes)
{
  QSharedPointer<DataHolders::Partitions::FuzzyEq> r(new DataHolders::Partitions::FuzzyEq);
  r->componentCount = nodes.size();
  r->nodes = nodes;
  r->domain->count = 400;
  return r;
}

const QVector<double> fiveNodes{0, 0.25, 0.5, 0.75, 1};

struct Fixture
{
  explicit Fixture(const QVector<double>& nodes = fiveNodes)
  {
    editor.setPartition(ruspini(nodes));
    editor.plot()->plot()->setAxisScale(QwtPlot::yLeft, 0, 1);
  }
  bool show()
  {
    editor.resize(600, 260);
    if (!CanvasDriver::show(&editor))
      return false;
    editor.plot()->replot();
    return true;
  }
  QLineEdit* edit(std::size_t i) const { return editor.editors()->editor(i); }
  double node(std::size_t i) const { return editor.partition()->nodes()[i]; }
  QwtPlotMarker* marker(std::size_t i) const { return editor.plot()->nodeMarker(i); }
  bool markerHighlighted(std::size_t i) const
  {
    return editor.plot()->isMarkerHighlighted(marker(i));
  }
  bool editorHighlighted(std::size_t i) const { return !edit(i)->styleSheet().isEmpty(); }
  // Replaces the editor's text by typing and commits it with Return.
  void type(std::size_t i, const QString& text)
  {
    QLineEdit* e = edit(i);
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    QTest::keyClicks(e, text);
    QTest::keyClick(e, Qt::Key_Return);
  }

  PartitionEditor editor;
  CanvasDriver drive{editor.plot()};
};

} // namespace

class TestPartitionEditor : public QObject
{
  Q_OBJECT

private slots:
  void initTestCase() { qRegisterMetaType<size_t>("size_t"); }
  void formAndEditors();
  void editorText_data();
  void editorText();
  void typedValues_data();
  void typedValues();
  void leavingWithRefusedTextRestoresIt();
  void focusHighlightsAndSelects();
  void highlightNodeFromOutside();
  void dragUpdatesEditorAndSelection();
  void rebuildDuringDragEndsIt();
  void zeroCountDisablesOnly();
  void rebuildKeepsOrDropsHighlight();
  void lockedNodes();
  void endNodesTyped_data();
  void endNodesTyped();
};

void TestPartitionEditor::formAndEditors()
{
  Fixture f;
  QCOMPARE(f.editor.objectName(), QString("PartitionEditor"));
  QCOMPARE(f.editor.windowTitle(), QString("Partition Editor"));
  QCOMPARE(f.editor.plot()->objectName(), QString("w1Partition"));
  QCOMPARE(f.editor.editors()->objectName(), QString("w2Editors"));
  QCOMPARE(f.editor.editors()->windowTitle(), QString("Node Editor"));
  QVERIFY(f.editor.editors()->findChild<QWidget*>("edit"));
  QCOMPARE(f.edit(0)->objectName(), QString("mockupEdt"));
  QCOMPARE(f.edit(3)->objectName(), QString("3"));
  QCOMPARE(f.editor.editors()->count(), std::size_t(5));
  QCOMPARE(f.editor.plot()->nodeCount(), std::size_t(5));
  QCOMPARE(f.edit(2)->text(), QString("0.500"));
  auto* v = qobject_cast<const QDoubleValidator*>(f.edit(2)->validator());
  QCOMPARE(v->bottom(), 0.25);
  QCOMPARE(v->top(), 0.75);
  QVERIFY(f.editor.editors()->isConnected());
}

void TestPartitionEditor::editorText_data()
{
  QTest::addColumn<double>("value");
  QTest::addColumn<QString>("text");
  QTest::addColumn<double>("neighbourLimit");
  QTest::newRow("cut, not rounded") << 0.1239 << "0.123" << 0.123;
  QTest::newRow("negative") << -0.5 << "-0.500" << -0.5;
  QTest::newRow("many digits") << 0.3333333 << "0.333" << 0.333;
}

void TestPartitionEditor::editorText()
{
  QFETCH(double, value);
  QFETCH(QString, text);
  QFETCH(double, neighbourLimit);
  NodeEditors e;
  e.setEditorsCount(3);
  e.setEditorValue(1, value);
  QCOMPARE(e.editor(1)->text(), text);
  QCOMPARE(e.values()[1], value);
  // The neighbours are bounded by the shown value.
  QCOMPARE(qobject_cast<const QDoubleValidator*>(e.editor(0)->validator())->top(), neighbourLimit);
  QCOMPARE(qobject_cast<const QDoubleValidator*>(e.editor(2)->validator())->bottom(),
           neighbourLimit);
  e.setEditorValue(7, 1.0); // past the end: ignored
}

void TestPartitionEditor::typedValues_data()
{
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("reported");
  QTest::newRow("inside") << "0.1234567" << true;
  QTest::newRow("scientific") << "3e-1" << true;
  QTest::newRow("past the right neighbour") << "0.6" << false;
  QTest::newRow("onto the left neighbour") << "0" << false;
  QTest::newRow("letters") << "abc" << false;
  QTest::newRow("not a number") << "nan" << false;
  QTest::newRow("unchanged") << "0.250" << false;
}

void TestPartitionEditor::typedValues()
{
  QFETCH(QString, text);
  QFETCH(bool, reported);
  Fixture f({0, 0.25, 0.5});
  QVERIFY(f.show());
  QSignalSpy changed(f.editor.editors(), &NodeEditors::valueChanged);
  f.type(1, text);
  f.edit(0)->setFocus();
  QCOMPARE(changed.count(), reported ? 1 : 0);
  if (reported) {
    const double v = text.toDouble();
    QCOMPARE(changed.at(0).at(0).value<size_t>(), size_t(1));
    QCOMPARE(changed.at(0).at(1).toDouble(), v);
    QCOMPARE(f.node(1), v);
    QCOMPARE(f.marker(1)->xValue(), v);
    QCOMPARE(f.editor.editors()->values()[1], v);
    // The neighbours now bound at the typed value.
    QCOMPARE(qobject_cast<const QDoubleValidator*>(f.edit(2)->validator())->bottom(), v);
  } else {
    QCOMPARE(f.node(1), 0.25);
    QCOMPARE(f.edit(1)->text(), QString("0.250"));
  }
}

void TestPartitionEditor::leavingWithRefusedTextRestoresIt()
{
  Fixture f;
  QVERIFY(f.show());
  QSignalSpy changed(f.editor.editors(), &NodeEditors::valueChanged);
  QLineEdit* e = f.edit(2);
  e->setFocus();
  e->selectAll();
  QTest::keyClicks(e, "0.9");
  QCOMPARE(e->text(), QString("0.9")); // intermediate: still typed
  f.edit(0)->setFocus();
  QCOMPARE(e->text(), QString("0.500"));
  QCOMPARE(changed.count(), 0);
  QCOMPARE(f.node(2), 0.5);
}

void TestPartitionEditor::endNodesTyped_data()
{
  QTest::addColumn<int>("index");
  QTest::addColumn<double>("value");
  QTest::newRow("first inward") << 0 << 0.1;
  QTest::newRow("first outward") << 0 << -0.1;
  QTest::newRow("last inward") << 2 << 0.9;
  QTest::newRow("last outward") << 2 << 1.1;
}

// The end nodes carry two parameters of their half basic function each.
void TestPartitionEditor::endNodesTyped()
{
  QFETCH(int, index);
  QFETCH(double, value);
  Fixture f({0, 0.5, 1});
  QVERIFY(f.show());
  f.type(std::size_t(index), QString::number(value));
  QCOMPARE(f.node(std::size_t(index)), value);
  QCOMPARE(f.marker(std::size_t(index))->xValue(), value);
}

void TestPartitionEditor::focusHighlightsAndSelects()
{
  Fixture f;
  QVERIFY(f.show());
  QSignalSpy selected(&f.editor, &PartitionEditor::nodeSelected);
  f.edit(0)->setFocus();
  QCOMPARE(selected.count(), 1);
  QCOMPARE(selected.at(0).at(0).toInt(), 0);
  QVERIFY(f.markerHighlighted(0));
  QCOMPARE(f.editor.current(), 0);

  f.edit(3)->setFocus();
  QCOMPARE(selected.last().at(0).toInt(), 3);
  QVERIFY(!f.markerHighlighted(0));
  QVERIFY(f.markerHighlighted(3));
  QCOMPARE(f.editor.current(), 3);

  f.edit(3)->clearFocus();
  QVERIFY(!f.markerHighlighted(3));
  QVERIFY(!f.editorHighlighted(3));
}

void TestPartitionEditor::highlightNodeFromOutside()
{
  Fixture f;
  f.editor.highlightNode(2);
  QVERIFY(f.markerHighlighted(2) && f.editorHighlighted(2));
  QCOMPARE(f.edit(2)->styleSheet(), QString("background: rgb(255, 130, 130);"));
  f.editor.highlightNode(5); // past the basic functions: ignored
  QCOMPARE(f.editor.current(), 2);
  f.editor.highlightNode(4);
  QVERIFY(!f.markerHighlighted(2) && !f.editorHighlighted(2));
  QVERIFY(f.markerHighlighted(4) && f.editorHighlighted(4));
  f.editor.highlightNode(-1);
  QCOMPARE(f.editor.current(), -1);
  QVERIFY(!f.markerHighlighted(4) && !f.editorHighlighted(4));
}

void TestPartitionEditor::dragUpdatesEditorAndSelection()
{
  Fixture f;
  QVERIFY(f.show());
  f.editor.plot()->canvas()->setFocus();
  QSignalSpy selected(&f.editor, &PartitionEditor::nodeSelected);
  CanvasDriver& d = f.drive;
  const QPoint start = d.pixelOf(0.5, 0);
  d.move(start + QPoint(2, 2));
  d.press(start);
  QCOMPARE(selected.count(), 1);
  QCOMPARE(selected.at(0).at(0).toInt(), 2);
  QVERIFY(f.markerHighlighted(2) && f.editorHighlighted(2));
  d.move(d.pixelOf(0.6123, 0.5));
  d.move(d.pixelOf(0.9, 0.5)); // past the neighbour: stops short
  d.release(d.pixelOf(0.9, 0.5));
  QCOMPARE(selected.count(), 2);
  QCOMPARE(selected.at(1).at(0).toInt(), 2);
  QVERIFY(!f.markerHighlighted(2) && !f.editorHighlighted(2));

  const double x = f.node(2);
  QVERIFY(std::abs(x - 0.6123) < 0.005);
  QCOMPARE(f.edit(2)->text(), NodeEditors::editorText(x));
  QCOMPARE(f.editor.editors()->values()[2], x);
  QCOMPARE(qobject_cast<const QDoubleValidator*>(f.edit(3)->validator())->bottom(),
           f.edit(2)->text().toDouble());
}

void TestPartitionEditor::rebuildDuringDragEndsIt()
{
  Fixture f;
  QVERIFY(f.show());
  f.editor.plot()->canvas()->setFocus();
  CanvasDriver& d = f.drive;
  d.move(d.pixelOf(0.5, 0) + QPoint(2, 2));
  d.press(d.pixelOf(0.5, 0));
  QVERIFY(f.editor.plot()->picker()->selectedMarker());
  f.editor.setPartition(ruspini({0, 0.3, 0.5, 0.7, 1}));
  QVERIFY(!f.editor.plot()->picker()->selectedMarker());
  d.move(d.pixelOf(0.6, 0));
  d.release(d.pixelOf(0.6, 0));
  QCOMPARE(f.node(2), 0.5);
  QCOMPARE(f.marker(2)->xValue(), 0.5);
}

void TestPartitionEditor::zeroCountDisablesOnly()
{
  Fixture f;
  f.editor.editors()->setEditorsCount(0);
  QVERIFY(!f.editor.editors()->isEnabled());
  QCOMPARE(f.editor.editors()->count(), std::size_t(5));
  QVERIFY(f.edit(4));

  // A smaller partition takes editors away; an empty editor clears all.
  f.editor.setPartition(ruspini({0, 0.5, 1}));
  QVERIFY(f.editor.editors()->isEnabled());
  QCOMPARE(f.editor.editors()->count(), std::size_t(3));
  QVERIFY(!f.edit(3));
  QCOMPARE(f.edit(2)->text(), QString("1.000"));
  auto* last = qobject_cast<const QDoubleValidator*>(f.edit(2)->validator());
  QVERIFY(std::isinf(last->top()));
  f.editor.clear();
  QVERIFY(!f.editor.partition());
  QVERIFY(!f.editor.editors()->isEnabled());
  f.editor.setPartition(DataHolderBase());
  QVERIFY(!f.editor.partition());
}

void TestPartitionEditor::rebuildKeepsOrDropsHighlight()
{
  Fixture f;
  f.editor.highlightNode(3);
  f.editor.setPartition(ruspini({0, 0.2, 0.4, 0.6, 0.8, 1}));
  QCOMPARE(f.editor.current(), 3);
  QVERIFY(f.markerHighlighted(3) && f.editorHighlighted(3));
  f.editor.setPartition(ruspini({0, 0.5, 1}));
  QCOMPARE(f.editor.current(), -1);
  for (std::size_t i = 0; i < 3; ++i)
    QVERIFY(!f.markerHighlighted(i) && !f.editorHighlighted(i));
}

void TestPartitionEditor::lockedNodes()
{
  Fixture f;
  f.editor.setNodesLocked(true);
  QVERIFY(f.edit(2)->isReadOnly());
  QVERIFY(!f.editor.plot()->nodesMovable());
  f.editor.setNodesLocked(false);
  QVERIFY(!f.edit(2)->isReadOnly());
  QVERIFY(f.editor.plot()->nodesMovable());
}

QTEST_MAIN(TestPartitionEditor)
#include "tst_partitioneditor.moc"
