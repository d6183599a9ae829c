#include "common/promptrecorder.h"
#include "gui/components/functiontablewidget.h"
#include "gui/components/partitioneditor.h"
#include "gui/components/plotpartition.h"
#include "gui/components/plotwidget.h"
#include "gui/ftransform_widgets/ftransformwidget.h"
#include "gui/inputs/partitionwidgetbase.h"
#include "math/domains/equidistant.h"
#include "math/fce/mathfntable.h"
#include "math/partitions/partitionbase.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

#include <qwt_plot.h>
#include <qwt_scale_map.h>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

namespace {

using Function = Fn::MathFn<double, double>;
using Table = Fn::MathFnTable<double, double>;
using Record = QSharedPointer<DataHolders::Partitions::FuzzyEq>;

const char* const warningTitle = "Higher degree f-transform warning";

// A controller on [0, 1] with 2000 subintervals and the default generic
// Ruspini record (5 triangles), shown, as the main window sets it up.
struct Fixture
{
  explicit Fixture(int shape = DataHolders::ShapeTriangle, int maxDegree = 1, int visible = 3)
      : domain(new Domains::Equidistant<double>(0.0, 1.0, 2000u)),
        record(new DataHolders::Partitions::FuzzyEq)
  {
    record->shape = shape;
    ctrl.resize(800, 600);
    ctrl.setMaxDegree(maxDegree);
    ctrl.setVisibleDegrees(visible);
    ctrl.setPartition(record, domain.get());
  }
  ~Fixture() { ctrl.removeFunctions(QList<Function*>(fns.begin(), fns.end())); }

  Function* add(const std::function<double(double)>& g)
  {
    std::vector<double> v;
    for (double x : domain->values())
      v.push_back(g(x));
    fns.push_back(new Table(domain.get(), v));
    owned.emplace_back(fns.back());
    ctrl.addFunctions({fns.back()});
    return fns.back();
  }

  bool show()
  {
    ctrl.show();
    return QTest::qWaitForWindowExposed(&ctrl);
  }

  std::vector<double> inverse(const Function* f, int flag) const
  {
    const auto p = ctrl.inverses().value(FnKey{f, flag});
    return p ? p->values() : std::vector<double>();
  }
  std::vector<double> components(const Function* f, int flag) const
  {
    const auto p = ctrl.components().value(FnKey{f, flag});
    return p ? p->values() : std::vector<double>();
  }
  QList<int> inverseFlags(const Function* f) const
  {
    QList<int> flags;
    for (const FnKey& k : ctrl.inverses().keys())
      if (k.fn == f)
        flags.append(k.flag);
    return flags;
  }

  std::unique_ptr<Domains::Equidistant<double>> domain;
  Record record;
  FtransformWidget ctrl;
  std::vector<Function*> fns;
  std::vector<std::unique_ptr<Function>> owned;
};

double maxDiff(const std::vector<double>& a, const std::vector<double>& b)
{
  double m = 0.0;
  for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
    m = std::max(m, std::abs(a[i] - b[i]));
  return a.size() == b.size() ? m : INFINITY;
}

QTableWidgetItem* componentItem(const Function* component, const QString& text)
{
  auto* item = new QTableWidgetItem(text);
  item->setData(Qt::UserRole,
                QVariant::fromValue(const_cast<void*>(static_cast<const void*>(component))));
  return item;
}

QString curveName(PlotWidget* plot, const Function* f)
{
  CurveInfoBase* info = plot->curveInfo(f);
  return info ? info->name() : QString("<no curve>");
}

} // namespace

class TestFtransformWidget : public QObject
{
  Q_OBJECT

private slots:
  void paintResolution_data();
  void paintResolution();

  void inversesAreCumulative_data();
  void inversesAreCumulative();
  void shownDegreeAboveMaxIsSkipped();
  void curvesAreNamedByDegree();
  void showComponentsFlattensTheEnds_data();
  void showComponentsFlattensTheEnds();

  void editIsAppliedAndSurvivesShapeChange();
  void resetFromTheTableClearsEdits();

  void degreeWarning_data();
  void degreeWarning();
  void unsupportedRecordShowsOnlyTheFunctions_data();
  void unsupportedRecordShowsOnlyTheFunctions();
  void partitionWidgetOfEachKind_data();
  void partitionWidgetOfEachKind();

  void resizeRecomputesOnlyWhenResolutionChanges();
  void removeFunctionsDropsResultsAndEdits();
  void nodeDragOnPartitionPlotRecomputes();
};

void TestFtransformWidget::paintResolution_data()
{
  QTest::addColumn<int>("width");
  QTest::addColumn<double>("zoom");
  QTest::addColumn<int>("resolution");
  QTest::newRow("750 px, zoom 1") << 750 << 1.0 << 800;
  QTest::newRow("750 px, zoom 9") << 750 << 9.0 << 1600;
  QTest::newRow("150 px") << 150 << 1.0 << 300;
  QTest::newRow("zoom 7.9 truncated") << 750 << 7.9 << 800;
  QTest::newRow("zoom 8") << 750 << 8.0 << 1600;
  QTest::newRow("1000 px, zoom 12.5") << 1000 << 12.5 << 3100;
  QTest::newRow("no canvas") << 0 << 1.0 << 300;
}

void TestFtransformWidget::paintResolution()
{
  QFETCH(int, width);
  QFETCH(double, zoom);
  QFETCH(int, resolution);
  QCOMPARE(FtransformWidget::paintResolution(width, zoom), resolution);
}

void TestFtransformWidget::inversesAreCumulative_data()
{
  QTest::addColumn<int>("visible");
  QTest::addColumn<QList<int>>("stored");
  QTest::newRow("degree 1 alone") << 2 << QList<int>{2};
  QTest::newRow("degree 3 alone") << 8 << QList<int>{8};
  QTest::newRow("degrees 0 and 2") << 5 << QList<int>{1, 4};
  QTest::newRow("all") << 15 << QList<int>{1, 2, 4, 8};
}

void TestFtransformWidget::inversesAreCumulative()
{
  QFETCH(int, visible);
  QFETCH(QList<int>, stored);
  Fixture all(DataHolders::ShapeTriangle, 3, 15);
  const Function* gAll = all.add([](double x) { return std::sin(5 * x) + x * x * x; });
  const Function* lineAll = all.add([](double x) { return 2 * x - 1; });

  Fixture t(DataHolders::ShapeTriangle, 3, visible);
  const Function* g = t.add([](double x) { return std::sin(5 * x) + x * x * x; });
  const Function* line = t.add([](double x) { return 2 * x - 1; });

  QCOMPARE(t.inverseFlags(g), stored);
  for (int flag : stored) {
    // Only what is shown is kept, but each shown degree is the sum of all
    // terms up to it: the same as when every degree is shown.
    QVERIFY2(maxDiff(t.inverse(g, flag), all.inverse(gAll, flag)) < 1e-12,
             qPrintable(QString::number(flag)));
    if (flag == 1)
      continue;
    // From degree 1 on, a line is rebuilt between the second and the
    // second-to-last node, where only whole triangles are non-zero (exactly
    // by degree 1; the discrete higher bases add a trace of rounding).
    const std::vector<double> inv = t.inverse(line, flag);
    const auto& xs = t.domain->values();
    double err = 0.0;
    for (std::size_t i = 0; i < xs.size(); ++i)
      if (xs[i] >= 0.25 && xs[i] <= 0.75)
        err = std::max(err, std::abs(inv[i] - (2 * xs[i] - 1)));
    QVERIFY2(err < (flag == 2 ? 1e-9 : 1e-5), qPrintable(QString::number(err)));
  }
  Q_UNUSED(lineAll);
  // Components of every degree up to maxDegree are there, shown or not.
  for (int flag : {1, 2, 4, 8})
    QCOMPARE(t.components(g, flag).size(), std::size_t(5));
}

void TestFtransformWidget::shownDegreeAboveMaxIsSkipped()
{
  Fixture t(DataHolders::ShapeTriangle, 1, 15);
  const Function* g = t.add([](double x) { return x * x; });
  QCOMPARE(t.inverseFlags(g), (QList<int>{1, 2}));
  QVERIFY(t.ctrl.components().contains(FnKey{g, 2}));
  QVERIFY(!t.ctrl.components().contains(FnKey{g, 4}));

  // Lowering the degree drops the results and curves of the degrees above it.
  t.ctrl.setMaxDegree(0);
  t.ctrl.refreshAll();
  QCOMPARE(t.inverseFlags(g), QList<int>{1});
  QCOMPARE(t.ctrl.plotWidget()->curveInfos().size(), 2);
}

void TestFtransformWidget::curvesAreNamedByDegree()
{
  Fixture t(DataHolders::ShapeTriangle, 3, 10);
  const Function* g = t.add([](double x) { return x * x; });
  PlotWidget* plot = t.ctrl.plotWidget();
  QCOMPARE(curveName(plot, t.ctrl.inverses().value(FnKey{g, 2}).data()), QString("InvFt1"));
  QCOMPARE(curveName(plot, t.ctrl.inverses().value(FnKey{g, 8}).data()), QString("InvFt3"));
  QVERIFY(plot->curveInfo(g));
  QCOMPARE(plot->curveInfos().size(), 3); // the function and two inverses, no components

  t.ctrl.setShowComponents(true);
  t.ctrl.refreshAll();
  QCOMPARE(curveName(plot, t.ctrl.components().value(FnKey{g, 8}).data()), QString("DirFt3"));
  QCOMPARE(plot->curveInfos().size(), 5);
}

void TestFtransformWidget::showComponentsFlattensTheEnds_data()
{
  QTest::addColumn<bool>("show");
  QTest::addColumn<int>("visible");
  QTest::addColumn<bool>("flattened");
  QTest::newRow("shown, degrees 0 and 1") << true << 3 << true;
  QTest::newRow("shown, degree 0 only") << true << 1 << false;
  QTest::newRow("not shown") << false << 3 << false;
}

void TestFtransformWidget::showComponentsFlattensTheEnds()
{
  QFETCH(bool, show);
  QFETCH(int, visible);
  QFETCH(bool, flattened);
  Fixture t(DataHolders::ShapeTriangle, 1, visible);
  t.ctrl.setShowComponents(show);
  const Function* g = t.add([](double x) { return std::exp(3 * x); });
  for (int flag : {1, 2}) {
    const std::vector<double> c = t.components(g, flag);
    QCOMPARE(c.size(), std::size_t(5));
    QCOMPARE(c[0] == c[1], flattened);
    QCOMPARE(c[4] == c[3], flattened);
  }
}

void TestFtransformWidget::editIsAppliedAndSurvivesShapeChange()
{
  PromptRecorder prompts;
  Fixture t(DataHolders::ShapeTriangle, 1, 3);
  const Function* g = t.add([](double x) { return x * x; });
  const Function* other = t.add([](double x) { return 1 - x; });
  const std::vector<double> otherInverse = t.inverse(other, 2);
  const std::vector<double> before = t.inverse(g, 2);

  QTableWidget table(5, 1);
  QTableWidgetItem* item = componentItem(t.ctrl.components().value(FnKey{g, 1}).data(), "3.5");
  table.setItem(2, 0, item);
  t.ctrl.onComponent_changed(item);

  QVERIFY(t.ctrl.editedComponents().isEdited(FnKey{g, 1}));
  QCOMPARE(t.components(g, 1)[2], 3.5);
  // Text that is no number is ignored: the last accepted edit stays.
  item->setText("1,5");
  t.ctrl.onComponent_changed(item);
  QCOMPARE(t.components(g, 1)[2], 3.5);
  // The inverse follows: at the node of the edited component it is that component
  // plus the degree-1 term, which vanishes at the node.
  QCOMPARE(t.inverse(g, 1)[1000], 3.5);
  QVERIFY(maxDiff(t.inverse(g, 2), before) > 1.0);
  QCOMPARE(t.inverse(other, 2), otherInverse);

  // A new shape recomputes every component; the edit stays at its index.
  auto* shape = t.ctrl.partitionWidget()->findChild<QComboBox*>("shapeCbox");
  QVERIFY(shape);
  const std::vector<double> triangleComponents = t.components(g, 1);
  shape->setCurrentIndex(DataHolders::ShapeSin);
  QCOMPARE(t.record->shape, int(DataHolders::ShapeSin));
  QVERIFY(t.components(g, 1)[1] != triangleComponents[1]);
  QCOMPARE(t.components(g, 1)[2], 3.5);
  QCOMPARE(t.inverse(g, 1)[1000], 3.5);
  // A change of the inputs never warns, even for sine shapes.
  QVERIFY(prompts.messages.isEmpty());
}

void TestFtransformWidget::resetFromTheTableClearsEdits()
{
  Fixture t(DataHolders::ShapeTriangle, 1, 3);
  const Function* g = t.add([](double x) { return x * x; });
  const std::vector<double> computed = t.components(g, 2);

  FunctionTableWidget table;
  table.setController(&t.ctrl);
  QObject::connect(&table, &FunctionTableWidget::componentChanged, &t.ctrl,
                   &FtransformWidget::onComponent_changed);
  table.table()->setColumnCount(1);
  table.setColumn(0, "g Ft1", t.ctrl.components().value(FnKey{g, 2}).data());
  table.table()->item(4, 0)->setText("-7");
  QCOMPARE(t.components(g, 2)[4], -7.0);

  QSignalSpy refreshed(&t.ctrl, &FtransformWidget::ftransformRefreshed);
  QTest::mouseClick(table.findChild<QPushButton*>("resetBtn"), Qt::LeftButton);
  QVERIFY(t.ctrl.editedComponents().isEmpty());
  QCOMPARE(t.components(g, 2), computed);
  QVERIFY(refreshed.count() >= 1);
}

void TestFtransformWidget::degreeWarning_data()
{
  QTest::addColumn<int>("shape");
  QTest::addColumn<int>("visible");
  QTest::addColumn<int>("warnings");
  QTest::newRow("triangle, degrees 0 and 1") << int(DataHolders::ShapeTriangle) << 3 << 0;
  QTest::newRow("sine, degree 0 only") << int(DataHolders::ShapeSin) << 1 << 0;
  // Once when the partition is installed, once when functions are added.
  QTest::newRow("sine, degrees 0 and 1") << int(DataHolders::ShapeSin) << 3 << 2;
  QTest::newRow("sine, degree 1 alone") << int(DataHolders::ShapeSin) << 2 << 2;
}

void TestFtransformWidget::degreeWarning()
{
  QFETCH(int, shape);
  QFETCH(int, visible);
  QFETCH(int, warnings);
  PromptRecorder prompts;
  Fixture t(shape, 1, visible);
  t.add([](double x) { return x; });
  QCOMPARE(prompts.messages.size(), warnings);
  for (const auto& m : prompts.messages) {
    QCOMPARE(m.title, QString(warningTitle));
    QCOMPARE(m.text,
             QString("Current implementation of higher degree supports only triangle fuzzy sets."));
    QCOMPARE(m.icon, QMessageBox::Warning);
    QVERIFY(!m.parent);
  }

  // Silent while busy (a session being applied), and on input changes.
  prompts.messages.clear();
  t.ctrl.setBusy(true);
  t.ctrl.checkDegrees();
  t.ctrl.setBusy(false);
  QVERIFY(prompts.messages.isEmpty());
  t.ctrl.partitionWidget()->findChild<QComboBox*>("shapeCbox")->setCurrentIndex(1 - shape);
  QVERIFY(prompts.messages.isEmpty());
  QVERIFY(!t.ctrl.isBusy());
}

void TestFtransformWidget::unsupportedRecordShowsOnlyTheFunctions_data()
{
  QTest::addColumn<int>("shape");
  QTest::newRow("Gaussian: no partition") << int(DataHolders::ShapeGaussian);
  QTest::newRow("trapezoid: no one-point kernel") << int(DataHolders::ShapeTrapezoid);
}

void TestFtransformWidget::unsupportedRecordShowsOnlyTheFunctions()
{
  QFETCH(int, shape);
  PromptRecorder prompts;
  Fixture t(DataHolders::ShapeTriangle, 3, 15);
  const Function* g = t.add([](double x) { return x; });
  QVERIFY(!t.ctrl.inverses().isEmpty());

  // As a stored session could hold it.
  auto record = Record(new DataHolders::Partitions::FuzzyEq);
  record->shape = shape;
  if (shape == DataHolders::ShapeTrapezoid)
    record->shift = 2;
  t.ctrl.setPartition(record, t.domain.get());
  t.ctrl.refreshAll();
  QVERIFY(!t.ctrl.partition());
  QVERIFY(t.ctrl.components().isEmpty());
  QVERIFY(t.ctrl.inverses().isEmpty());
  QCOMPARE(t.ctrl.plotWidget()->curveInfos().size(), 1);
  QVERIFY(t.ctrl.plotWidget()->curveInfo(g));

  // A supported record brings the transforms back.
  t.ctrl.setPartition(t.record, t.domain.get());
  t.ctrl.refreshAll();
  QCOMPARE(t.inverseFlags(g), (QList<int>{1, 2, 4, 8}));
}

void TestFtransformWidget::partitionWidgetOfEachKind_data()
{
  QTest::addColumn<int>("kind");
  QTest::addColumn<QString>("name");
  QTest::addColumn<bool>("locked");
  QTest::addColumn<bool>("propagation");
  QTest::newRow("generic") << int(DataHolders::KindGenericRuspini) << "EquidPart" << false << true;
  QTest::newRow("equidistant") << int(DataHolders::KindEquidistantRuspini) << "FixedPart" << true
                               << false;
  QTest::newRow("custom") << int(DataHolders::KindCustomPartition) << "DeltaPart" << false << true;
}

void TestFtransformWidget::partitionWidgetOfEachKind()
{
  QFETCH(int, kind);
  QFETCH(QString, name);
  QFETCH(bool, locked);
  QFETCH(bool, propagation);
  PromptRecorder prompts;
  QSharedPointer<DataHolders::Partitions::PartBase> record;
  if (kind == DataHolders::KindGenericRuspini)
    record.reset(new DataHolders::Partitions::FuzzyEq);
  else if (kind == DataHolders::KindEquidistantRuspini)
    record.reset(new DataHolders::Partitions::FuzzyPt);
  else
    record.reset(new DataHolders::Partitions::FuzzyDelta);
  Domains::Equidistant<double> domain(0.0, 1.0, 2000u);
  FtransformWidget ctrl;
  ctrl.resize(700, 500);
  ctrl.setPartition(record, &domain);

  PartitionWidgetBase* w = ctrl.partitionWidget();
  QVERIFY(w);
  QCOMPARE(w->objectName(), name);
  QCOMPARE(w->parentWidget(), static_cast<QWidget*>(&ctrl));
  QCOMPARE(w->nodesLocked(), locked);
  QCOMPARE(w->nodeMovePropagation(), propagation);
  QCOMPARE(w->partitionEditor()->plot()->maximumHeight(), 150);
  QVERIFY(w->partitionEditor()->plot()->isGridVisible());
  QVERIFY(ctrl.plotWidget()->isGridVisible());
  QCOMPARE(record->domain->count, ctrl.paintResolution());
  QVERIFY(ctrl.partition());

  // An unknown kind installs no widget; the controller stays hidden.
  ctrl.setPartition(
      QSharedPointer<DataHolders::Partitions::PartBase>(new DataHolders::Partitions::PartBase(42)),
      &domain);
  QVERIFY(!ctrl.partitionWidget());
  QVERIFY(!ctrl.partition());
  QVERIFY(ctrl.isHidden());
  ctrl.setPartition(nullptr, &domain);
  QVERIFY(ctrl.isHidden());
}

void TestFtransformWidget::resizeRecomputesOnlyWhenResolutionChanges()
{
  PromptRecorder prompts;
  Fixture t(DataHolders::ShapeSin, 1, 3);
  const Function* g = t.add([](double x) { return x * x; });
  QVERIFY(t.show());
  prompts.messages.clear();
  QSignalSpy refreshed(&t.ctrl, &FtransformWidget::ftransformRefreshed);

  const int resolution = t.ctrl.paintResolution();
  QCOMPARE(t.record->domain->count, resolution);
  const Function* inverse = t.ctrl.inverses().value(FnKey{g, 2}).data();

  t.ctrl.resize(t.ctrl.width() + 20, t.ctrl.height()); // same hundred
  QTest::qWait(20);
  if (t.ctrl.paintResolution() == resolution)
    QCOMPARE(t.ctrl.inverses().value(FnKey{g, 2}).data(), inverse);

  t.ctrl.resize(t.ctrl.width() + 400, t.ctrl.height());
  QTRY_VERIFY(t.ctrl.paintResolution() > resolution);
  QCOMPARE(t.record->domain->count, t.ctrl.paintResolution());
  QVERIFY(t.ctrl.inverses().value(FnKey{g, 2}).data() != inverse);
  QCOMPARE(t.inverseFlags(g), (QList<int>{1, 2}));
  // Blocked while resizing: no warning, and the widget's own signals start nothing.
  QVERIFY(prompts.messages.isEmpty());
  QCOMPARE(refreshed.count(), 0);
}

void TestFtransformWidget::removeFunctionsDropsResultsAndEdits()
{
  Fixture t(DataHolders::ShapeTriangle, 1, 3);
  Function* g = t.add([](double x) { return x * x; });
  const Function* h = t.add([](double x) { return x; });
  QScopedPointer<QTableWidgetItem> item(
      componentItem(t.ctrl.components().value(FnKey{g, 1}).data(), "1"));
  t.ctrl.onComponent_changed(item.data());

  t.ctrl.removeFunctions({g});
  t.fns.erase(t.fns.begin());
  QCOMPARE(t.ctrl.functions().size(), 1);
  QVERIFY(!t.ctrl.plotWidget()->curveInfo(g));
  QVERIFY(t.inverseFlags(g).isEmpty());
  QVERIFY(t.components(g, 1).empty());
  QCOMPARE(t.inverseFlags(h), (QList<int>{1, 2}));
  QCOMPARE(t.ctrl.plotWidget()->curveInfos().size(), 3);
  // Its edits go too: a function allocated later at the same address starts clean.
  QVERIFY(!t.ctrl.editedComponents().isEdited(FnKey{g, 1}));

  // The main window clears by passing the controller's own list.
  t.ctrl.removeFunctions(t.ctrl.functions());
  QVERIFY(t.ctrl.functions().isEmpty());
  QVERIFY(t.ctrl.inverses().isEmpty());
  QVERIFY(t.ctrl.plotWidget()->curveInfos().isEmpty());
}

void TestFtransformWidget::nodeDragOnPartitionPlotRecomputes()
{
  Fixture t(DataHolders::ShapeTriangle, 1, 3);
  const Function* g = t.add([](double x) { return std::sin(6 * x); });
  QVERIFY(t.show());
  QSignalSpy refreshed(&t.ctrl, &FtransformWidget::ftransformRefreshed);
  const std::vector<double> before = t.inverse(g, 2);

  PlotPartition* pplot = t.ctrl.partitionWidget()->partitionEditor()->plot();
  QwtPlot* qwt = pplot->plot();
  QWidget* canvas = pplot->canvas();
  const auto pixel = [&](double x, double y) {
    return QPoint(qRound(qwt->canvasMap(QwtPlot::xBottom).transform(x)),
                  qRound(qwt->canvasMap(QwtPlot::yLeft).transform(y)));
  };
  QWindow* window = t.ctrl.window()->windowHandle();
  QWidget* top = t.ctrl.window();
  const QPoint from = canvas->mapTo(top, pixel(0.5, 0.0));
  const QPoint to = canvas->mapTo(top, pixel(0.6, 0.0));
  QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, from);
  QTest::mouseMove(window, canvas->mapTo(top, pixel(0.55, 0.0)));
  QTest::mouseMove(window, to);
  QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, to);

  QVERIFY(refreshed.count() >= 1);
  QCOMPARE(t.record->nodes.size(), 5);
  QVERIFY2(std::abs(t.record->nodes[2] - 0.6) < 0.01,
           qPrintable(QString::number(t.record->nodes[2])));
  QVERIFY(std::abs(t.ctrl.partition()->nodes()[2] - t.record->nodes[2]) < 1e-12);
  QVERIFY(maxDiff(t.inverse(g, 2), before) > 1e-3);
}

QTEST_MAIN(TestFtransformWidget)
#include "tst_ftransformwidget.moc"
