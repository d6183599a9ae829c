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

#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>
#include <qwt_point_data.h>

#include <cmath>

namespace {

DataHolderBase ruspini(const QVector<double>& nodes, int count = 400)
{
  QSharedPointer<DataHolders::Partitions::FuzzyEq> r(new DataHolders::Partitions::FuzzyEq);
  r->componentCount = nodes.size();
  r->nodes = nodes;
  r->domain->low = nodes.first();
  r->domain->high = nodes.last();
  r->domain->count = count;
  return r;
}

// count nodes spread evenly over [0, high].
QVector<double> even(int count, double high = 1)
{
  QVector<double> nodes;
  for (int i = 0; i < count; ++i)
    nodes.append(high * i / (count - 1));
  return nodes;
}

const QDoubleValidator* validator(QLineEdit* e)
{
  return qobject_cast<const QDoubleValidator*>(e->validator());
}

struct Fixture
{
  explicit Fixture(const QVector<double>& nodes = {0, 0.25, 0.5, 0.75, 1})
  {
    editor.setPartition(ruspini(nodes));
    editor.plot()->plot()->setAxisScale(QwtPlot::yLeft, 0, 1);
  }
  bool show()
  {
    const bool shown = CanvasDriver::show(&editor, {600, 260});
    editor.plot()->replot();
    return shown;
  }
  NodeEditors* editors() const { return editor.editors(); }
  QLineEdit* edit(std::size_t i) const { return editors()->editor(i); }
  double node(std::size_t i) const { return editor.partition()->nodes()[i]; }
  QwtPlotMarker* marker(std::size_t i) const { return editor.plot()->nodeMarker(i); }
  bool marked(std::size_t i) const { return editor.plot()->isMarkerHighlighted(marker(i)); }
  // Node i is highlighted on both its marker and its editor (1), on neither (0), or on one (-1).
  int lit(std::size_t i) const
  {
    return marked(i) == !edit(i)->styleSheet().isEmpty() ? marked(i) : -1;
  }
  // Replaces the editor's text by typing and commits it with Return.
  void type(std::size_t i, const QString& text)
  {
    QLineEdit* e = edit(i);
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, text);
    QTest::keyClick(e, Qt::Key_Return);
  }
  PlotPartition* plot() const { return editor.plot(); }
  void pressNode(std::size_t i)
  {
    plot()->canvas()->setFocus();
    d.move(d.pixelOf(node(i), 0) + QPoint(2, 2));
    d.press(d.pixelOf(node(i), 0));
  }
  // Drags node marker i along the path of plot points.
  void dragNode(std::size_t i, std::initializer_list<QPointF> path)
  {
    pressNode(i);
    for (const QPointF& p : path)
      d.move(d.pixelOf(p.x(), p.y()));
    d.release(d.pixelOf(path.end()[-1].x(), path.end()[-1].y()));
  }
  // Each basic function is drawn from the arrays of its own non-zero range.
  bool curvesOnNonZeroRanges() const
  {
    const double* xs = plot()->partition()->domain()->values().data();
    for (auto* fn : plot()->partition()->allFce()) {
      auto* data = dynamic_cast<QwtCPointerData*>(plot()->curve(fn)->data());
      if (!data || data->size() != fn->nzEnd() - fn->nzBegin() ||
          data->xData() != xs + fn->nzBegin() || data->yData() != fn->nzValuesData())
        return false;
    }
    return true;
  }
  // Every sampled editor of n shows its node, bounded by its neighbours' texts.
  void checkEditors(std::size_t n)
  {
    QVERIFY(editors()->count() == n && editor.plot()->nodeCount() == n);
    const int places = editors()->decimals();
    for (std::size_t i : {std::size_t(0), std::size_t(1), n / 2, n - 2, n - 1}) {
      QLineEdit* e = edit(i);
      QVERIFY(e);
      QCOMPARE(e->text(), NodeEditors::editorText(node(i), places));
      if (i > 0)
        QCOMPARE(validator(e)->bottom(), NodeEditors::editorText(node(i - 1), places).toDouble());
      QCOMPARE(validator(e)->top(), i + 1 == n
                                        ? editor.partition()->domain()->high()
                                        : NodeEditors::editorText(node(i + 1), places).toDouble());
      QCOMPARE(editor.plot()->indexOf(marker(i)), i);
    }
    QVERIFY(!edit(n));
  }

  PartitionEditor editor;
  CanvasDriver d{editor.plot()};
};

} // namespace

class TestPartitionEditor : public QObject
{
  Q_OBJECT

private slots:
  void initTestCase() { qRegisterMetaType<size_t>("size_t"); }

  // Accepted text moves the node; refused text is put back when the editor is left. The end
  // nodes carry two parameters of their half basic function each.
  void typedValues_data()
  {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("node");
    // clang-format off
    QTest::newRow("inside") << 1 << "0.1234567" << 0.1234567;
    QTest::newRow("scientific") << 1 << "3e-1" << 0.3;
    QTest::newRow("past the right neighbour") << 1 << "0.6" << 0.25;
    QTest::newRow("onto the left neighbour") << 1 << "0" << 0.25;
    QTest::newRow("letters") << 1 << "abc" << 0.25;
    QTest::newRow("not a number") << 1 << "nan" << 0.25;
    QTest::newRow("unchanged") << 1 << "0.250" << 0.25;
    QTest::newRow("first inward") << 0 << "0.1" << 0.1;
    QTest::newRow("last inward") << 3 << "0.9" << 0.9;
    QTest::newRow("last outside the domain") << 3 << "5" << 1.0;
    // clang-format on
  }
  void typedValues()
  {
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(double, node);
    Fixture f({0, 0.25, 0.5, 1});
    QVERIFY(f.show());
    const std::size_t i = std::size_t(index);
    const double before = f.node(i);
    QSignalSpy changed(f.editors(), &NodeEditors::valueChanged);
    f.type(i, text);
    f.edit(i == 2 ? 1 : 2)->setFocus();
    QVERIFY(f.node(i) == node && f.marker(i)->xValue() == node && f.editors()->values()[i] == node);
    if (node == before)
      QVERIFY(changed.isEmpty() && f.edit(i)->text() == NodeEditors::editorText(before));
    else {
      QCOMPARE(changed.count(), 1);
      QVERIFY(changed.at(0).at(0).value<size_t>() == i && changed.at(0).at(1).toDouble() == node);
      // Shown as a reopened session shows it: saved twice, the same text.
      QCOMPARE(f.edit(i)->text(), NodeEditors::editorText(node));
      const double shown = f.edit(i)->text().toDouble(); // bounds the neighbours
      if (i > 0)
        QCOMPARE(validator(f.edit(i - 1))->top(), shown);
      if (i < 3)
        QCOMPARE(validator(f.edit(i + 1))->bottom(), shown);
    }
  }

  void highlights()
  {
    Fixture f;
    QVERIFY(f.show());
    QSignalSpy selected(&f.editor, &PartitionEditor::nodeSelected);
    f.edit(0)->setFocus();
    QVERIFY(selected.count() == 1 && selected.at(0).at(0).toInt() == 0 && f.marked(0));
    f.edit(3)->setFocus();
    QCOMPARE(selected.last().at(0).toInt(), 3);
    QVERIFY(f.editor.current() == 3 && !f.marked(0) && f.marked(3));
    f.edit(3)->clearFocus();
    QCOMPARE(f.lit(3), 0);
    f.editor.highlightNode(2);
    QCOMPARE(f.edit(2)->styleSheet(), QString("background: rgb(255, 130, 130);"));
    f.editor.highlightNode(5); // past the basic functions: ignored
    QVERIFY(f.editor.current() == 2 && f.lit(2) == 1);
    f.editor.highlightNode(4);
    QVERIFY(f.lit(2) == 0 && f.lit(4) == 1);
    f.editor.highlightNode(-1);
    QVERIFY(f.editor.current() == -1 && f.lit(4) == 0);
    // A rebuild keeps the highlight on its node, wherever an added node moved
    // it, keeps the index of a fresh layout of as many nodes, and drops a node that is gone.
    f.editor.highlightNode(3);
    f.editor.setPartition(ruspini({0, 0.1, 0.25, 0.5, 0.75, 1}));
    QVERIFY(f.editor.current() == 4 && f.lit(4) == 1 && f.lit(3) == 0);
    QCOMPARE(selected.last().at(0).toInt(), 4);
    f.editor.setPartition(ruspini({0, 0.2, 0.4, 0.6, 0.8, 1}));
    QVERIFY(f.editor.current() == 4 && f.lit(4) == 1);
    f.editor.setPartition(ruspini({0, 0.5, 1}));
    QVERIFY(f.editor.current() == -1 && f.lit(0) == 0 && f.lit(1) == 0 && f.lit(2) == 0);
    QCOMPARE(selected.last().at(0).toInt(), -1);
  }

  void dragMovesNodesBetweenNeighbours()
  {
    Fixture f;
    QVERIFY(f.show());
    QSignalSpy nodeMoved(f.plot(), &PlotPartition::nodeMoved);
    QSignalSpy selected(&f.editor, &PartitionEditor::nodeSelected);
    f.dragNode(0, {{0.1, 0}, {0.2, 0.3}}); // the end nodes stay
    f.dragNode(4, {{0.9, 0}});
    QVERIFY(f.node(0) == 0.0 && f.node(4) == 1.0 && f.marker(0)->xValue() == 0.0);
    QCOMPARE(nodeMoved.count(), 0);

    // An inner node follows, stops short of its right neighbour, never leaves the x axis, and
    // follows again once back inside.
    selected.clear();
    f.pressNode(2);
    QVERIFY(selected.count() == 1 && selected.at(0).at(0).toInt() == 2 && f.lit(2) == 1);
    for (QPointF p : {QPointF(0.6123, 0.8), QPointF(0.8, 0.5), QPointF(0.9, 0.1)})
      f.d.move(f.d.pixelOf(p.x(), p.y()));
    f.d.release(f.d.pixelOf(0.9, 0.1));
    QVERIFY(selected.count() == 2 && selected.at(1).at(0).toInt() == 2 && f.lit(2) == 0);
    const double x = f.node(2);
    QVERIFY(std::abs(x - 0.6123) < 0.005);
    QCOMPARE(f.marker(2)->value(), QPointF(x, 0));
    QVERIFY(nodeMoved.count() == 1 && nodeMoved.at(0).at(0).value<size_t>() == 2 &&
            nodeMoved.at(0).at(1).toDouble() == x);
    QVERIFY(f.edit(2)->text() == NodeEditors::editorText(x) &&
            validator(f.edit(3))->bottom() == f.edit(2)->text().toDouble());

    f.dragNode(2, {{0.2, 0.2}, {0.3, 0.9}});
    QVERIFY(std::abs(f.node(2) - 0.3) < 0.006 && f.marker(2)->yValue() == 0.0);
    // The basic functions bound to the node took the new parameter, their curves the new ranges.
    const auto& fce = f.plot()->partition()->allFce();
    QVERIFY(fce[2]->param(1) == f.node(2) && fce[1]->param(2) == f.node(2) &&
            fce[3]->param(0) == f.node(2));
    QVERIFY(f.curvesOnNonZeroRanges());

    // A rebuild during a drag ends it.
    f.pressNode(2);
    QVERIFY(f.plot()->picker()->selectedMarker());
    f.editor.setPartition(ruspini({0, 0.3, 0.5, 0.7, 1}));
    QVERIFY(!f.plot()->picker()->selectedMarker());
    f.d.move(f.d.pixelOf(0.6, 0));
    f.d.release(f.d.pixelOf(0.6, 0));
    QVERIFY(f.node(2) == 0.5 && f.marker(2)->xValue() == 0.5);
  }

  void twoNodesMoveFreelyButNeverCross()
  {
    Fixture f({0, 1});
    QVERIFY(f.show());
    QSignalSpy nodeMoved(f.plot(), &PlotPartition::nodeMoved);
    QSignalSpy pickerMoved(f.plot()->picker(), &MarkerPicker::markerMoved);
    // No neighbour bounds: the first node may even leave the domain.
    f.plot()->plot()->setAxisScale(QwtPlot::xBottom, -0.5, 1.5);
    f.plot()->replot();
    f.dragNode(0, {{-0.3, 0}});
    QVERIFY(std::abs(f.node(0) + 0.3) < 0.006);
    // Onto or past the other node: refused, the marker stays at its last place.
    const double first = f.node(0);
    f.dragNode(0, {{1.2, 0}});
    QVERIFY(f.node(0) == first && f.marker(0)->xValue() == first);
    f.dragNode(1, {{-0.4, 0}});
    f.dragNode(1, {{f.node(0), 0}});
    QVERIFY(f.node(1) == 1.0 && f.marker(1)->xValue() == 1.0);
    QVERIFY(nodeMoved.count() == 1 && pickerMoved.count() == 1);
  }

  void formCountsAndClear()
  {
    Fixture f;
    QVERIFY(f.editors()->findChild<QWidget*>("edit"));
    f.checkEditors(5);
    for (auto vt : {qMakePair(0.1239, QString("0.123")), qMakePair(-0.5, QString("-0.500"))}) {
      f.editors()->setEditorValue(1, vt.first); // three decimals are cut, as sessions store them
      QVERIFY(f.edit(1)->text() == vt.second && f.editors()->values()[1] == vt.first);
    }
    f.editors()->setEditorValue(7, 1.0); // past the end: ignored
    QSignalSpy markers(f.plot(), &PlotWidget::markersCountChanged);
    f.editors()->setEditorsCount(0); // disables only
    QVERIFY(!f.editors()->isEnabled() && f.editors()->count() == 5);
    f.editor.setPartition(ruspini({0, 0.5, 1}));
    QVERIFY(f.editors()->isEnabled());
    f.checkEditors(3);
    QCOMPARE(markers.last().at(0).value<size_t>(), size_t(3));
    f.editor.setPartition(ruspini(even(101), 10001));
    QVERIFY(f.curvesOnNonZeroRanges());
    f.plot()->partition()->moveNode(50, 0.503); // moved from outside
    f.plot()->syncMarkers();
    QCOMPARE(f.marker(50)->xValue(), 0.503);
    QVERIFY(f.curvesOnNonZeroRanges());
    f.editor.clear();
    QVERIFY(!f.editor.partition() && !f.editors()->isEnabled());
    QCOMPARE(markers.last().at(0).value<size_t>(), size_t(0));
    for (int rtti : {QwtPlotItem::Rtti_PlotMarker, QwtPlotItem::Rtti_PlotCurve})
      QVERIFY(f.plot()->plot()->itemList(rtti).isEmpty());
    f.editor.setPartition(DataHolderBase());
    QVERIFY(!f.editor.partition());
  }

  // Three decimals, unless the smallest spacing of neighbouring nodes needs
  // more to show three significant digits; every editor follows a node that
  // comes that close, and the limits stay its neighbours' shown values.
  void decimalsFollowSpacing_data()
  {
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("closer"); // the second node moved to a fifth of its spacing
    // clang-format off
    QTest::newRow("[0, 1]") << 0.0 << 1.0 << "0.250" << "0.0500";
    QTest::newRow("[0, 1e-6]") << 0.0 << 1e-6 << "0.000000250" << "0.0000000500";
    QTest::newRow("[1e6, 1e6 + 1e-3]") << 1e6 << 1e6 + 1e-3 << "1000000.000250" << "1000000.0000500";
    // clang-format on
  }
  void decimalsFollowSpacing()
  {
    QFETCH(double, low);
    QFETCH(double, high);
    QVector<double> nodes;
    for (int i = 0; i < 5; ++i)
      nodes.append(i == 4 ? high : low + (high - low) * i / 4);
    Fixture f(nodes);
    QTEST(f.edit(1)->text(), "second");
    f.checkEditors(5);
    QVERIFY(f.editor.moveNode(1, low + (high - low) / 20));
    QTEST(f.edit(1)->text(), "closer");
    f.checkEditors(5);
  }

  // Large partitions: only the editors in sight exist as widgets.
  void largePartitions()
  {
    Fixture f;
    QVERIFY(f.show());
    auto set = [&](int n, double high) {
      f.editor.setPartition(ruspini(even(n, high), 100000));
      QApplication::processEvents();
      f.checkEditors(std::size_t(n));
    };
    set(20000, 19999); // 1 apart: 3 decimals tell the neighbours apart
    QVERIFY(f.editors()->createdEditors() < 100);
    QSignalSpy selected(&f.editor, &PartitionEditor::nodeSelected);
    const std::size_t k = 15000;
    const double v = (f.node(k - 1) + f.node(k)) / 2;
    f.type(k, QString::number(v, 'g', 17));
    QVERIFY(selected.first().at(0).toInt() == int(k) && f.marked(k));
    QVERIFY(f.node(k) == v && f.marker(k)->xValue() == v);
    // Tab reaches the next node, which was never on screen before.
    QTest::keyClick(f.edit(k), Qt::Key_Tab);
    QVERIFY(f.edit(k + 1)->hasFocus() && selected.last().at(0).toInt() == int(k + 1));
  }
};

QTEST_MAIN(TestPartitionEditor)
#include "tst_partitioneditor.moc"
