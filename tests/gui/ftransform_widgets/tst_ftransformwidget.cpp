#include "../inputs/partitionplotdriver.h"
#include "common/promptrecorder.h"
#include "gui/components/functiontablewidget.h"
#include "gui/components/plotwidget.h"
#include "gui/ftransform_widgets/ftransformwidget.h"
#include "gui/ftransform_widgets/nodelayout.h"
#include "math/domains/equidistant.h"
#include "math/fce/mathfntable.h"
#include "math/partitions/partitionbase.h"

#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>

#include <qwt_plot_curve.h>

#include <cmath>
#include <functional>
#include <memory>

namespace {

using Function = Fn::MathFn<double, double>;
using Vec = std::vector<double>;
using Record = QSharedPointer<DataHolders::Partitions::FuzzyEq>;
namespace Parts = DataHolders::Partitions;
using Kind = DataHolders::PartitionKind;
using DataHolders::ShapeTrapezoid;
using DataHolders::ShapeTriangle, DataHolders::ShapeSin;

// A controller on [0, 1] with 2000 subintervals and the default generic
// Ruspini record (5 triangles), as the main window sets it up.
struct Fixture
{
  explicit Fixture(int shape = ShapeTriangle, int maxDegree = 1, int visible = 3)
      : domain(0.0, 1.0, 2000u), record(new Parts::FuzzyEq)
  {
    record->shape = shape;
    ctrl.resize(800, 600);
    ctrl.setMaxDegree(maxDegree);
    ctrl.setVisibleDegrees(visible);
    ctrl.setPartition(record, &domain);
  }
  ~Fixture() { ctrl.removeFunctions(ctrl.functions()); }

  Function* add(const std::function<double(double)>& g)
  {
    Vec v(domain.values());
    for (double& x : v)
      x = g(x);
    fns.emplace_back(new Fn::MathFnTable<double, double>(&domain, v));
    ctrl.addFunctions({fns.back().get()});
    return fns.back().get();
  }
  static Vec at(const QSharedPointer<Function>& p) { return p ? p->values() : Vec(); }
  Vec inverse(const Function* f, int d) const { return at(ctrl.inverses().value({f, d})); }
  Vec components(const Function* f, int d) const { return at(ctrl.components().value({f, d})); }
  QList<int> inverseFlags(const Function* f) const
  {
    QList<int> flags;
    for (const FnKey& k : ctrl.inverses().keys())
      if (k.fn == f)
        flags.append(k.flag);
    return flags;
  }
  void edit(const Function* f, int row, const QString& text)
  {
    table.setItem(row, 0, new QTableWidgetItem(text));
    void* c = ctrl.components().value({f, 1}).data();
    table.item(row, 0)->setData(Qt::UserRole, QVariant::fromValue(c));
    ctrl.onComponent_changed(table.item(row, 0));
  }

  Domains::Equidistant<double> domain;
  Record record;
  FtransformWidget ctrl;
  QTableWidget table{5, 1};
  std::vector<std::unique_ptr<Function>> fns;
};

double maxDiff(const std::vector<double>& a, const std::vector<double>& b)
{
  double m = a.size() == b.size() ? 0.0 : INFINITY;
  for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
    m = std::max(m, std::abs(a[i] - b[i]));
  return m;
}

QString curveName(PlotWidget* plot, const QSharedPointer<Function>& f)
{
  return plot->curveInfo(f.data()) ? plot->curveInfo(f.data())->name() : QString("<no curve>");
}

} // namespace

class TestFtransformWidget : public QObject
{
  Q_OBJECT

private slots:
  void curvesAreNamedByDegreeAboveMaxSkipped()
  {
    Fixture t(ShapeTriangle, 3, 10);
    const Function* g = t.add([](double x) { return x * x; });
    PlotWidget* plot = t.ctrl.plotWidget();
    QCOMPARE(curveName(plot, t.ctrl.inverses().value(FnKey{g, 2})), QString("InvFt1"));
    QCOMPARE(curveName(plot, t.ctrl.inverses().value(FnKey{g, 8})), QString("InvFt3"));
    QCOMPARE(plot->curveInfos().size(), 3); // the function and two inverses
    // Each degree's pen from the preferences, on the curves shown and on those drawn later.
    t.ctrl.setStyles({}, QPen(Qt::black), QPen(Qt::red), QPen(Qt::green), QPen(Qt::blue),
                     QPen(Qt::cyan));
    QCOMPARE(plot->curve(t.ctrl.inverses().value(FnKey{g, 2}).data())->pen().color(),
             QColor(Qt::green));
    t.ctrl.setShowComponents(true);
    t.ctrl.refreshAll();
    QCOMPARE(curveName(plot, t.ctrl.components().value(FnKey{g, 8})), QString("DirFt3"));
    QCOMPARE(plot->curve(t.ctrl.components().value(FnKey{g, 8}).data())->pen().color(),
             QColor(Qt::cyan));
    QCOMPARE(plot->curveInfos().size(), 5);
    // A shown degree above the maximum is skipped, with its results and curves.
    t.ctrl.setMaxDegree(1);
    t.ctrl.refreshAll();
    QCOMPARE(t.inverseFlags(g), QList<int>{2});
    QVERIFY(!t.ctrl.components().contains(FnKey{g, 4}));
    QCOMPARE(plot->curveInfos().size(), 3);
  }

  // Showing the components as curves draws them and changes no number.
  void showComponentsChangesNoValue()
  {
    Fixture plain(ShapeTriangle, 1, 3);
    const Function* f = plain.add([](double x) { return std::exp(3 * x); });
    Fixture shown(ShapeTriangle, 1, 3);
    shown.ctrl.setShowComponents(true);
    const Function* g = shown.add([](double x) { return std::exp(3 * x); });
    for (int flag : {1, 2}) {
      QVERIFY(plain.components(f, flag) == shown.components(g, flag));
      QVERIFY(plain.inverse(f, flag) == shown.inverse(g, flag));
      QCOMPARE(curveName(shown.ctrl.plotWidget(), shown.ctrl.components().value({g, flag})),
               QString("DirFt%1").arg(flag / 2));
      QVERIFY(!plain.ctrl.plotWidget()->curveInfo(plain.ctrl.components().value({f, flag}).data()));
    }
  }

  // An edit changes its component and the inverses built on it, survives a
  // shape change, and goes with a reset from the table or with its function.
  void componentEdits()
  {
    PromptRecorder prompts;
    Fixture t;
    Function* g = t.add([](double x) { return x * x; });
    const Function* h = t.add([](double x) { return 1 - x; });
    const std::vector<double> hInverse = t.inverse(h, 2);
    const std::vector<double> before = t.inverse(g, 2);
    const std::vector<double> computed = t.components(g, 1);

    t.edit(g, 2, "3.5");
    QVERIFY(t.ctrl.editedComponents().isEdited(FnKey{g, 1}));
    QCOMPARE(t.components(g, 1)[2], 3.5);
    QCOMPARE(t.inverse(g, 1)[1000], 3.5); // the degree-1 term vanishes at the node
    QVERIFY(maxDiff(t.inverse(g, 2), before) > 1.0);
    QCOMPARE(t.inverse(h, 2), hInverse);

    FunctionTableWidget table;
    table.setController(&t.ctrl);
    QSignalSpy refreshed(&t.ctrl, &FtransformWidget::ftransformRefreshed);
    QTest::mouseClick(table.findChild<QPushButton*>("resetBtn"), Qt::LeftButton);
    QVERIFY(t.ctrl.editedComponents().isEmpty());
    QCOMPARE(t.components(g, 1), computed);
    QVERIFY(refreshed.count() >= 1);

    t.edit(g, 2, "3.5");
    t.ctrl.partitionWidget()->findChild<QComboBox*>("shapeCbox")->setCurrentIndex(ShapeSin);
    QCOMPARE(t.record->shape, int(ShapeSin));
    QVERIFY(t.components(g, 1)[1] != computed[1]);
    QCOMPARE(t.components(g, 1)[2], 3.5);
    QCOMPARE(t.inverse(g, 1)[1000], 3.5);
    QVERIFY(prompts.messages.isEmpty()); // sines have higher degrees too

    t.ctrl.removeFunctions({g});
    QVERIFY(!t.ctrl.plotWidget()->curveInfo(g));
    QVERIFY(t.inverseFlags(g).isEmpty());
    QVERIFY(t.components(g, 1).empty());
    QCOMPARE(t.inverseFlags(h), (QList<int>{1, 2}));
    // A function allocated later at the same address starts clean.
    QVERIFY(!t.ctrl.editedComponents().isEdited(FnKey{g, 1}));
    t.ctrl.removeFunctions(t.ctrl.functions()); // as the main window clears
    QVERIFY(t.ctrl.inverses().isEmpty());
    QVERIFY(t.ctrl.plotWidget()->curveInfos().isEmpty());
  }

  // Only the closed forms are limited to triangles.
  void degreeWarning_data()
  {
    QTest::addColumn<int>("shape");
    QTest::addColumn<int>("visible");
    QTest::addColumn<bool>("closedForms");
    QTest::addColumn<int>("warnings");
    // Once when the bases are chosen; adding a function is no reason to repeat it.
    // clang-format off
    QTest::newRow("triangle, degrees 0 and 1, closed forms") << int(ShapeTriangle) << 3 << true << 0;
    QTest::newRow("sine, degree 0 only, closed forms") << int(ShapeSin) << 1 << true << 0;
    QTest::newRow("sine, degrees 0 and 1, closed forms") << int(ShapeSin) << 3 << true << 1;
    QTest::newRow("sine, degrees 0 and 1, orthogonal") << int(ShapeSin) << 3 << false << 0;
    // clang-format on
  }
  void degreeWarning()
  {
    QFETCH(int, shape);
    QFETCH(int, visible);
    QFETCH(bool, closedForms);
    QFETCH(int, warnings);
    PromptRecorder prompts;
    Fixture t(shape, 1, visible);
    if (closedForms)
      t.ctrl.setHigherDegreeBasis(Fn::HigherDegreeBasis::ClosedForm);
    t.add([](double x) { return x; });
    t.add([](double x) { return x * x; });
    t.ctrl.checkDegrees();
    QCOMPARE(prompts.messages.size(), warnings);
    for (const auto& m : prompts.messages) {
      QCOMPARE(m.title, QString("Higher degree f-transform warning"));
      QCOMPARE(m.text, QString("Current implementation of higher degree supports only "
                               "triangle fuzzy sets."));
      QCOMPARE(m.icon, QMessageBox::Warning);
    }
    // Silent while busy (a session being applied), and on input changes.
    prompts.messages.clear();
    t.ctrl.setBusy(true);
    t.ctrl.checkDegrees();
    t.ctrl.setBusy(false);
    QVERIFY(prompts.messages.isEmpty());
    // Changing the shape or the degrees into the combination warns once.
    t.ctrl.partitionWidget()->findChild<QComboBox*>("shapeCbox")->setCurrentIndex(1 - shape);
    const int sine = closedForms && shape == ShapeTriangle && visible > 1 ? 1 : 0;
    QCOMPARE(prompts.messages.size(), sine);
    for (int visibleAgain : {1, 3, 2})
      t.ctrl.setVisibleDegrees(visibleAgain);
    QCOMPARE(prompts.messages.size(), 2 * sine);
    QVERIFY(!t.ctrl.isBusy());
  }

  // A record no partition can be transformed on (a stored trapezoid) shows
  // the functions alone.
  void unsupportedRecordShowsOnlyTheFunctions()
  {
    PromptRecorder prompts;
    Fixture t(ShapeTriangle, 3, 15);
    const Function* g = t.add([](double x) { return x; });
    auto record = Record(new Parts::FuzzyEq);
    record->shape = ShapeTrapezoid;
    record->shift = 2;
    t.ctrl.setPartition(record, &t.domain);
    t.ctrl.refreshAll();
    QVERIFY(!t.ctrl.partition());
    QVERIFY(t.ctrl.components().isEmpty() && t.ctrl.inverses().isEmpty());
    QCOMPARE(t.ctrl.plotWidget()->curveInfos().size(), 1);
    QVERIFY(t.ctrl.plotWidget()->curveInfo(g));

    t.ctrl.setPartition(t.record, &t.domain); // a supported record brings them back
    t.ctrl.refreshAll();
    QCOMPARE(t.inverseFlags(g), (QList<int>{1, 2, 4, 8}));
  }

  void partitionWidgetOfEachKind_data()
  {
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("locked");
    QTest::newRow("generic") << int(Kind::Generic) << false;
    QTest::newRow("equidistant") << int(Kind::Equidistant) << true;
    QTest::newRow("custom") << int(Kind::Custom) << false;
  }
  void partitionWidgetOfEachKind()
  {
    QFETCH(int, kind);
    QFETCH(bool, locked);
    PromptRecorder prompts;
    const auto record = DataHolders::newPartitionRecord(Kind(kind));
    Domains::Equidistant<double> domain(0.0, 1.0, 2000u);
    FtransformWidget ctrl;
    ctrl.resize(700, 500);
    ctrl.setPartition(record, &domain);
    PartitionWidgetBase* w = ctrl.partitionWidget();
    QCOMPARE(w->nodesLocked(), locked);
    QCOMPARE(w->nodeMovePropagation(), !locked);
    QVERIFY(ctrl.partition());
    // The partition plot names what the mouse does there.
    const QString tip = w->partitionEditor()->plot()->statusTip();
    QVERIFY2(tip.contains(locked ? "click a node to select it"
                                 : "Ctrl+right-click near a node removes it"),
             qPrintable(tip));
  }

  void resizeRecomputes()
  {
    PromptRecorder prompts;
    Fixture t(ShapeSin, 1, 3);
    const Function* g = t.add([](double x) { return x * x; });
    t.ctrl.show();
    QVERIFY(QTest::qWaitForWindowExposed(&t.ctrl));
    prompts.messages.clear();
    QSignalSpy refreshed(&t.ctrl, &FtransformWidget::ftransformRefreshed);
    const int resolution = t.ctrl.paintResolution();
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

  // A drag updates the results in place (the engine's numbers are its
  // business): no curve is replaced, and every curve drawn from a summary is
  // told of the values changed under it.
  // A hundred components are drawn from a summary too, and the moved node
  // carries their largest.
  void nodeMovesUpdateTheCurvesInPlace_data()
  {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("node");
    QTest::addColumn<QVector<double>>("moves");
    QTest::newRow("5 components") << 5 << 1 << QVector<double>{0.3, 0.35, 0.1};
    QTest::newRow("100 components") << 100 << 50 << QVector<double>{0.5, 0.51, 0.498};
  }

  void nodeMovesUpdateTheCurvesInPlace()
  {
    QFETCH(int, count);
    QFETCH(int, node);
    QFETCH(QVector<double>, moves);
    PromptRecorder prompts;
    Fixture t(ShapeTriangle, 1, 3);
    t.record->componentCount = count;
    t.record->nodes = DataHolders::genericNodes(*t.record->domain, count);
    t.ctrl.setPartition(t.record, &t.domain);
    t.ctrl.setShowComponents(true);
    t.add([](double x) { return std::sin(7 * x); });
    t.add([](double x) { return x * x; });
    t.add([](double x) { return std::exp(-std::pow((x - 0.505) / 0.01, 2)); });
    PlotWidget* plot = t.ctrl.plotWidget();
    const auto inverses = t.ctrl.inverses();
    const int curves = plot->curveInfos().size();
    QSignalSpy refreshed(&t.ctrl, &FtransformWidget::ftransformRefreshed);
    QCOMPARE(t.record->nodes.size(), count);
    for (double x : moves)
      QVERIFY(t.ctrl.partitionWidget()->moveNode(node, x));
    QVERIFY(!t.ctrl.lastChange().everything);
    QCOMPARE(refreshed.count(), 3);
    QCOMPARE(plot->curveInfos().size(), curves);
    QCOMPARE(t.ctrl.inverses(), inverses);
    for (const auto* results : {&t.ctrl.inverses(), &t.ctrl.components()}) {
      for (const auto& f : *results) {
        const std::vector<double>& v = f->values();
        const auto [low, high] = std::minmax_element(v.begin(), v.end());
        const QRectF box = plot->curve(f.data())->boundingRect();
        QCOMPARE(box.top(), *low);
        QCOMPARE(box.bottom(), *high);
      }
    }
  }
};

QTEST_MAIN(TestFtransformWidget)
#include "tst_ftransformwidget.moc"
