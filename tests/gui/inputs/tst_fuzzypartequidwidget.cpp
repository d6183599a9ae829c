#include "gui/inputs/fuzzypartequidwidget.h"

#include "partitionplotdriver.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

using DataHolders::Partitions::FuzzyEq;

class TestFuzzyPartEquidWidget : public QObject
{
  Q_OBJECT

private:
  QSharedPointer<FuzzyEq> record;
  FuzzyPartEquidWidget* w = nullptr;
  PartitionPlotDriver* drv = nullptr;

  QSpinBox* spin(const char* name) const { return w->findChild<QSpinBox*>(name); }
  QComboBox* shapes() const { return w->findChild<QComboBox*>("shapeCbox"); }
  QVector<double> nodes() const { return drv->recordNodes(); }
  void setComponents(int n)
  {
    QSpinBox* s = spin("nodesSpin");
    s->setFocus();
    QTest::keyClick(s, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(s, QString::number(n));
  }

private slots:
  void init()
  {
    record = QSharedPointer<FuzzyEq>::create();
    w = new FuzzyPartEquidWidget(record);
    drv = new PartitionPlotDriver(w);
    w->resize(600, 300);
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
  }
  void cleanup()
  {
    delete drv;
    delete w;
  }

  void construction()
  {
    QCOMPARE(w->objectName(), QString("EquidPart"));
    QStringList items;
    for (int i = 0; i < shapes()->count(); ++i)
      items << shapes()->itemText(i);
    QCOMPARE(items, QStringList({"Triangle", "Sin"}));
    QCOMPARE(spin("nodesSpin")->value(), 5);
    QCOMPARE(spin("nodesSpin")->minimum(), 2);
    QCOMPARE(spin("offsetSpin")->value(), -1);
    QCOMPARE(spin("shiftSpin")->value(), 1);
    QCOMPARE(drv->editors()->count(), std::size_t(5));
    QCOMPARE(drv->plot()->nodeCount(), std::size_t(5));
    QVERIFY(w->isValid());
    QCOMPARE(w->data(), DataHolderBase(record));
  }

  // Ctrl+clicks edit the user's nodes without a fresh layout; the spin box
  // then lays them out afresh.
  void ctrlClickAddThenComponents()
  {
    QSignalSpy inputs(w, &ConfigWidgetBase::inputsChanged);
    drv->ctrlClick(Qt::LeftButton, drv->pixel(0.6), drv->lowestThirdY());
    QCOMPARE(inputs.count(), 1);
    QCOMPARE(spin("nodesSpin")->value(), 6);
    const QVector<double> n = nodes();
    QCOMPARE(n.size(), 6);
    const double onePixel = 1.0 / drv->canvas()->width() * 2;
    QVERIFY2(std::abs(n[3] - 0.6) < onePixel, qPrintable(QString::number(n[3])));
    QVERIFY(sameNodes(n, {0, 0.25, 0.5, n[3], 0.75, 1}));
    QCOMPARE(drv->editors()->count(), std::size_t(6));

    setComponents(4);
    QVERIFY(sameNodes(nodes(), {0, 1.0 / 3, 2.0 / 3, 1}));
    QCOMPARE(record->componentCount, 4);
  }

  void ctrlClickIgnored_data()
  {
    QTest::addColumn<double>("x");
    QTest::addColumn<bool>("lowestThird");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("offset");
    QTest::newRow("add above the lowest third") << 0.6 << false << int(Qt::LeftButton) << 0;
    QTest::newRow("add on a node") << 0.5 << true << int(Qt::LeftButton) << 0;
    QTest::newRow("add left of the domain") << 0.0 << true << int(Qt::LeftButton) << -3;
    QTest::newRow("add right of the domain") << 1.0 << true << int(Qt::LeftButton) << 3;
    QTest::newRow("remove above the lowest third") << 0.26 << false << int(Qt::RightButton) << 0;
    QTest::newRow("remove far from nodes") << 0.375 << true << int(Qt::RightButton) << 0;
    QTest::newRow("remove next to the first node") << 0.02 << true << int(Qt::RightButton) << 0;
    QTest::newRow("remove next to the last node") << 0.98 << true << int(Qt::RightButton) << 0;
    QTest::newRow("remove right of the last inner node")
        << 0.76 << true << int(Qt::RightButton) << 0;
  }
  void ctrlClickIgnored()
  {
    QFETCH(double, x);
    QFETCH(bool, lowestThird);
    QFETCH(int, button);
    QFETCH(int, offset);
    QSignalSpy inputs(w, &ConfigWidgetBase::inputsChanged);
    const int px = drv->pixel(x) + offset;
    QVERIFY(px >= 0 && px < drv->canvas()->width());
    drv->ctrlClick(Qt::MouseButton(button), px, lowestThird ? drv->lowestThirdY() : drv->upperY());
    QCOMPARE(inputs.count(), 0);
    QCOMPARE(spin("nodesSpin")->value(), 5);
    QVERIFY(sameNodes(nodes(), {0, 0.25, 0.5, 0.75, 1}));
  }

  void ctrlRightClickRemoves()
  {
    QSignalSpy inputs(w, &ConfigWidgetBase::inputsChanged);
    drv->ctrlClick(Qt::RightButton, drv->pixel(0.25) - 5, drv->lowestThirdY());
    QCOMPARE(inputs.count(), 0);
    QVERIFY(sameNodes(nodes(), {0, 0.25, 0.5, 0.75, 1}));

    drv->ctrlClick(Qt::RightButton, drv->pixel(0.25) + 5, drv->lowestThirdY());
    QCOMPARE(inputs.count(), 1);
    QVERIFY(sameNodes(nodes(), {0, 0.5, 0.75, 1}));
    QCOMPARE(spin("nodesSpin")->value(), 4);

    // 5 px left of 0.75: neighbours 0.5 and 0.75, the nearer goes.
    drv->ctrlClick(Qt::RightButton, drv->pixel(0.75) - 5, drv->lowestThirdY());
    QVERIFY(sameNodes(nodes(), {0, 0.5, 1}));
    QCOMPARE(spin("nodesSpin")->value(), 3);
    // Three nodes: both neighbours of any click are an end node.
    drv->ctrlClick(Qt::RightButton, drv->pixel(0.5) + 5, drv->lowestThirdY());
    drv->ctrlClick(Qt::RightButton, drv->pixel(0.5) - 5, drv->lowestThirdY());
    QVERIFY(sameNodes(nodes(), {0, 0.5, 1}));
  }

  void shapeSetsShift_data()
  {
    QTest::addColumn<QString>("shape");
    QTest::newRow("Sin") << "Sin";
    QTest::newRow("Triangle") << "Triangle";
  }
  void shapeSetsShift()
  {
    QFETCH(QString, shape);
    if (shape == "Triangle")
      shapes()->setCurrentIndex(1);
    spin("shiftSpin")->setValue(4);
    QCOMPARE(record->shift, 4);
    shapes()->setFocus();
    QTest::keyClick(shapes(), shape == "Sin" ? Qt::Key_Down : Qt::Key_Up);
    QCOMPARE(shapes()->currentText(), shape);
    QCOMPARE(spin("shiftSpin")->value(), 1);
    w->data();
    QCOMPARE(record->shift, 1);
    QCOMPARE(record->shape, shape == "Sin" ? 1 : 0);
  }

  void inputsReachTheRecord()
  {
    QSignalSpy inputs(w, &ConfigWidgetBase::inputsChanged);
    spin("offsetSpin")->setFocus();
    QTest::keyClick(spin("offsetSpin"), Qt::Key_Up);
    QCOMPARE(inputs.count(), 1);
    QCOMPARE(record->offset, 0);
    // Neither offset nor shape lays the nodes out afresh.
    drv->ctrlClick(Qt::LeftButton, drv->pixel(0.6), drv->lowestThirdY());
    shapes()->setCurrentIndex(1);
    QCOMPARE(nodes().size(), 6);
  }

  void maxComponents()
  {
    w->setMaxComponents(300);
    QCOMPARE(spin("nodesSpin")->maximum(), 300);
    QCOMPARE(spin("nodesSpin")->toolTip(), QString("Min: 2, Max: 300"));
    // The limit holds for hand-placed nodes too.
    w->setMaxComponents(5);
    drv->ctrlClick(Qt::LeftButton, drv->pixel(0.6), drv->lowestThirdY());
    QCOMPARE(nodes().size(), 5);
    w->setMaxComponents(1);
    QCOMPARE(spin("nodesSpin")->minimum(), 2);
    QCOMPARE(spin("nodesSpin")->maximum(), 2);
    QCOMPARE(nodes().size(), 2);
  }

  void setNodeSet()
  {
    QSignalSpy inputs(w, &ConfigWidgetBase::inputsChanged);
    QVERIFY(w->setNodeSet({0.0, 0.1, 0.7, 1.0}));
    QCOMPARE(inputs.count(), 0);
    QCOMPARE(drv->editors()->count(), std::size_t(5)); // not redrawn
    QVERIFY(sameNodes(nodes(), {0, 0.1, 0.7, 1}));
    w->onInputsChanged();
    QCOMPARE(inputs.count(), 1);
    QCOMPARE(drv->editors()->count(), std::size_t(4));
    QVERIFY(sameNodes(nodes(), {0, 0.1, 0.7, 1}));

    QVERIFY(!w->setNodeSet({0.0, 2.0}));
    QVERIFY(!w->setNodeSet({0.5}));
    QVERIFY(sameNodes(nodes(), {0, 0.1, 0.7, 1}));
  }

  void nodeMovePropagation()
  {
    QSignalSpy inputs(w, &ConfigWidgetBase::inputsChanged);
    drv->typeNode(1, "0.3");
    QCOMPARE(inputs.count(), 0);
    QVERIFY(sameNodes(nodes(), {0, 0.3, 0.5, 0.75, 1}));

    w->setNodeMovePropagation(true);
    drv->typeNode(2, "0.6");
    QCOMPARE(inputs.count(), 1);
    QVERIFY(sameNodes(nodes(), {0, 0.3, 0.6, 0.75, 1}));
    drv->dragNode(0.75, 0.8);
    QVERIFY(inputs.count() >= 2);
    const QVector<double> n = nodes();
    QVERIFY2(std::abs(n[3] - 0.8) < 0.01, qPrintable(QString::number(n[3])));
    // The user's set follows the drag: a shape change keeps the dragged node.
    shapes()->setCurrentIndex(1);
    QCOMPARE(nodes()[3], n[3]);

    w->setNodeMovePropagation(false);
    inputs.clear();
    drv->typeNode(1, "0.2");
    QCOMPARE(inputs.count(), 0);
  }

  void nodesLocked()
  {
    QVERIFY(!w->nodesLocked());
    w->setNodesLocked(true);
    QVERIFY(w->nodesLocked());
    QVERIFY(drv->editors()->editor(1)->isReadOnly());
    drv->dragNode(0.5, 0.6);
    drv->ctrlClick(Qt::LeftButton, drv->pixel(0.6), drv->lowestThirdY());
    drv->ctrlClick(Qt::RightButton, drv->pixel(0.5) + 5, drv->lowestThirdY());
    QVERIFY(sameNodes(nodes(), {0, 0.25, 0.5, 0.75, 1}));
    w->setNodesLocked(false);
    QVERIFY(!drv->editors()->editor(1)->isReadOnly());
  }

  // A focused node editor reports its edit while the widget is deleted.
  void deletedWithPendingEdit()
  {
    w->setNodeMovePropagation(true);
    QLineEdit* e = drv->editors()->editor(2);
    QTest::mouseClick(e, Qt::LeftButton);
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(e, "0.55");
    QVERIFY(e->hasFocus());
    delete w;
    w = nullptr;
  }

  void domainChange()
  {
    drv->ctrlClick(Qt::LeftButton, drv->pixel(0.6), drv->lowestThirdY());
    const QVector<double> placed = nodes();

    // A new resolution over the same range keeps the user's nodes.
    auto finer = QSharedPointer<DataHolders::Domains::Equid>::create();
    finer->count = 800;
    w->setDomainData(DataHolderBase(finer));
    QCOMPARE(record->domain, finer);
    QCOMPARE(nodes(), placed);

    auto wider = QSharedPointer<DataHolders::Domains::Equid>::create();
    wider->low = -2;
    wider->high = 8;
    w->setDomainData(DataHolderBase(wider));
    QCOMPARE(record->domain, wider);
    QVERIFY(sameNodes(nodes(), {-2, 0, 2, 4, 6, 8}));
    // The user's set moved along: a shape change keeps the new layout.
    shapes()->setCurrentIndex(1);
    QVERIFY(sameNodes(nodes(), {-2, 0, 2, 4, 6, 8}));
  }
};

QTEST_MAIN(TestFuzzyPartEquidWidget)
#include "tst_fuzzypartequidwidget.moc"
