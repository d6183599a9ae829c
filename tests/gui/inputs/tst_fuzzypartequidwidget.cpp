#include "gui/inputs/fuzzypartequidwidget.h"

#include "partitionplotdriver.h"

#include <QComboBox>
#include <QSpinBox>

using DataHolders::Partitions::FuzzyEq;

class TestFuzzyPartEquidWidget : public QObject
{
  Q_OBJECT

  QSharedPointer<FuzzyEq> record;
  FuzzyPartEquidWidget* w = nullptr;
  PartitionPlotDriver drv{nullptr};
  const QVector<double> layout{0, 0.25, 0.5, 0.75, 1};

  QSpinBox* spin(const char* name) const { return w->findChild<QSpinBox*>(name); }
  QComboBox* shapes() const { return w->findChild<QComboBox*>("shapeCbox"); }

private slots:
  void init()
  {
    drv.w = w = new FuzzyPartEquidWidget(record = QSharedPointer<FuzzyEq>::create());
    QVERIFY(showActive(w, {600, 300}));
  }
  void cleanup() { delete w; }

  // Ctrl+clicks edit the user's nodes without a fresh layout; the spin box
  // then lays them out afresh.
  void ctrlClicksThenComponents()
  {
    QSignalSpy inputs(w, &ConfigWidgetBase::inputsChanged);
    drv.ctrlClick(Qt::RightButton, 0.25, 5);
    QCOMPARE(inputs.count(), 1);
    QVERIFY(sameNodes(drv.nodes(), {0, 0.5, 0.75, 1}));
    // 5 px left of 0.75: neighbours 0.5 and 0.75, the nearer goes.
    drv.ctrlClick(Qt::RightButton, 0.75, -5);
    QCOMPARE(spin("nodesSpin")->value(), 3);
    // Three nodes: both neighbours of any click are an end node.
    drv.ctrlClick(Qt::RightButton, 0.5, 5);
    drv.ctrlClick(Qt::RightButton, 0.5, -5);
    QVERIFY(sameNodes(drv.nodes(), {0, 0.5, 1}));

    inputs.clear();
    drv.ctrlClick(Qt::LeftButton, 0.6);
    QCOMPARE(inputs.count(), 1);
    QCOMPARE(spin("nodesSpin")->value(), 4);
    const QVector<double> n = drv.nodes();
    QVERIFY2(n.size() == 4 && std::abs(n[2] - 0.6) < 2.0 / drv.canvas()->width(),
             qPrintable(QString::number(n.value(2))));
    QVERIFY(sameNodes(n, {0, 0.5, n[2], 1}));
    QCOMPARE(drv.editors()->count(), std::size_t(4));

    spin("nodesSpin")->setFocus();
    QTest::keyClick(spin("nodesSpin"), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(spin("nodesSpin"), "6");
    QVERIFY(sameNodes(drv.nodes(), {0, 0.2, 0.4, 0.6, 0.8, 1}));
    QCOMPARE(record->componentCount, 6);
  }

  // The node editors' keys do what the clicks do, and the focus stays at
  // the place of the change.
  void nodeKeysAddAndRemove()
  {
    NodeEditors* e = drv.editors();
    QLineEdit* second = e->editor(1);
    second->setFocus();
    QTest::keyClick(second, Qt::Key_Insert, Qt::AltModifier);
    QVector<double> n = drv.nodes();
    QVERIFY2(n.size() == 6 && std::abs(n[2] - 0.375) < 2.0 / drv.canvas()->width(),
             qPrintable(QString::number(n.value(2))));
    QCOMPARE(spin("nodesSpin")->value(), 6);
    QCOMPARE(e->count(), std::size_t(6));
    QCOMPARE(QApplication::focusWidget(), e->editor(2));
    // The last node's key adds before it.
    QTest::keyClick(e->editor(5), Qt::Key_Insert, Qt::AltModifier);
    QCOMPARE(drv.nodes().size(), 7);
    QVERIFY(std::abs(drv.nodes()[5] - 0.875) < 2.0 / drv.canvas()->width());

    QTest::keyClick(e->editor(2), Qt::Key_Delete, Qt::AltModifier);
    QVERIFY(sameNodes(drv.nodes(), {0, 0.25, 0.5, 0.75, drv.nodes()[4], 1}));
    QCOMPARE(QApplication::focusWidget(), e->editor(2));
    // End nodes stay; Delete without Alt is the editor's own.
    QTest::keyClick(e->editor(0), Qt::Key_Delete, Qt::AltModifier);
    QTest::keyClick(e->editor(5), Qt::Key_Delete, Qt::AltModifier);
    QTest::keyClick(e->editor(3), Qt::Key_Delete);
    QCOMPARE(drv.nodes().size(), 6);
    // Locked nodes take no keys.
    w->setNodesLocked(true);
    QTest::keyClick(e->editor(3), Qt::Key_Delete, Qt::AltModifier);
    QCOMPARE(drv.nodes().size(), 6);
  }

  void ctrlClickIgnored_data()
  {
    QTest::addColumn<bool>("add");
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("offset");
    QTest::addColumn<bool>("lowestThird");
    QTest::newRow("add above the lowest third") << true << 0.6 << 0 << false;
    QTest::newRow("add on a node") << true << 0.5 << 0 << true;
    QTest::newRow("add left of the domain") << true << 0.0 << -3 << true;
    QTest::newRow("remove far from nodes") << false << 0.375 << 0 << true;
    QTest::newRow("remove next to the first node") << false << 0.02 << 0 << true;
    QTest::newRow("remove right of the last inner node") << false << 0.76 << 0 << true;
    QTest::newRow("remove left of the first inner node") << false << 0.25 << -5 << true;
  }
  void ctrlClickIgnored()
  {
    QFETCH(bool, add);
    QFETCH(double, x);
    QFETCH(int, offset);
    QFETCH(bool, lowestThird);
    QSignalSpy inputs(w, &ConfigWidgetBase::inputsChanged);
    drv.ctrlClick(add ? Qt::LeftButton : Qt::RightButton, x, offset, lowestThird);
    QCOMPARE(inputs.count(), 0);
    QCOMPARE(spin("nodesSpin")->value(), 5);
    QVERIFY(sameNodes(drv.nodes(), layout));
  }

  void setNodeSetThenMaxComponents()
  {
    QSignalSpy inputs(w, &ConfigWidgetBase::inputsChanged);
    QVERIFY(w->setNodeSet({0.0, 0.1, 0.7, 1.0}));
    QCOMPARE(inputs.count(), 0);
    QCOMPARE(drv.editors()->count(), std::size_t(5)); // not redrawn
    QVERIFY(sameNodes(drv.nodes(), {0, 0.1, 0.7, 1}));
    w->onInputsChanged();
    QCOMPARE(inputs.count(), 1);
    QCOMPARE(drv.editors()->count(), std::size_t(4));
    QVERIFY(!w->setNodeSet({0.0, 2.0}));
    QVERIFY(!w->setNodeSet({0.5}));
    QVERIFY(sameNodes(drv.nodes(), {0, 0.1, 0.7, 1}));

    w->setMaxComponents(4); // holds for hand-placed nodes too
    drv.ctrlClick(Qt::LeftButton, 0.6);
    QCOMPARE(drv.nodes().size(), 4);
    w->setMaxComponents(1);
    QCOMPARE(QPair(spin("nodesSpin")->minimum(), spin("nodesSpin")->maximum()), QPair(2, 2));
    QCOMPARE(drv.nodes().size(), 2);
    // The count chosen last comes back, also in the widget the next domain
    // makes, whose controller sets the limit again on every change.
    delete w;
    drv.w = w = new FuzzyPartEquidWidget(record);
    connect(w, &ConfigWidgetBase::inputsChanged, w,
            [this] { w->setMaxComponents(w->maxComponents()); });
    for (int limit : {2048, 3, 2048})
      w->setMaxComponents(limit);
    QVERIFY(spin("nodesSpin")->value() == 5 && record->nodes.size() == 5);
  }

  void nodeMovePropagation()
  {
    QSignalSpy inputs(w, &ConfigWidgetBase::inputsChanged);
    drv.typeNode(1, "0.3");
    QCOMPARE(inputs.count(), 0);
    QVERIFY(sameNodes(drv.nodes(), {0, 0.3, 0.5, 0.75, 1}));

    w->setNodeMovePropagation(true);
    drv.typeNode(2, "0.6");
    QCOMPARE(inputs.count(), 1);
    QVERIFY(sameNodes(drv.nodes(), {0, 0.3, 0.6, 0.75, 1}));
    drv.dragNode(0.75, 0.8);
    QVERIFY(inputs.count() >= 2);
    const double dragged = drv.nodes()[3];
    QVERIFY2(std::abs(dragged - 0.8) < 0.01, qPrintable(QString::number(dragged)));
    shapes()->setCurrentIndex(1); // the user's set follows the drag
    QCOMPARE(drv.nodes()[3], dragged);

    w->setNodeMovePropagation(false);
    inputs.clear();
    drv.typeNode(1, "0.2");
    QCOMPARE(inputs.count(), 0);
  }

  void nodesLockedThenDeletedWithPendingEdit()
  {
    w->setNodesLocked(true);
    QVERIFY(drv.editors()->editor(1)->isReadOnly());
    drv.dragNode(0.5, 0.6);
    drv.ctrlClick(Qt::LeftButton, 0.6);
    drv.ctrlClick(Qt::RightButton, 0.5, 5);
    QVERIFY(sameNodes(drv.nodes(), layout));
    w->setNodesLocked(false);
    QVERIFY(!drv.editors()->editor(1)->isReadOnly());

    // A focused node editor reports its edit while the widget is deleted.
    w->setNodeMovePropagation(true);
    drv.typeNode(2, "0.55", false);
    QVERIFY(drv.editors()->editor(2)->hasFocus());
    delete w;
    w = nullptr;
  }

  void shapeResetsShiftDomainChange()
  {
    for (int shape : {1, 0}) {
      spin("shiftSpin")->setValue(4);
      shapes()->setFocus();
      QTest::keyClick(shapes(), shape ? Qt::Key_Down : Qt::Key_Up);
      QCOMPARE(spin("shiftSpin")->value(), 1);
      w->data();
      QCOMPARE(record->shift, 1);
      QCOMPARE(record->shape, shape);
    }

    drv.ctrlClick(Qt::LeftButton, 0.6);
    const QVector<double> placed = drv.nodes();
    auto finer = equid(0, 1, 800);
    w->setDomainData(DataHolderBase(finer));
    QCOMPARE(record->domain, finer);
    QCOMPARE(drv.nodes(), placed); // same range: the user's nodes stay

    w->setDomainData(DataHolderBase(equid(-2, 8)));
    QVERIFY(sameNodes(drv.nodes(), {-2, 0, 2, 4, 6, 8}));
    shapes()->setCurrentIndex(1); // the user's set moved along
    QVERIFY(sameNodes(drv.nodes(), {-2, 0, 2, 4, 6, 8}));
  }
};

QTEST_MAIN(TestFuzzyPartEquidWidget)
#include "tst_fuzzypartequidwidget.moc"
