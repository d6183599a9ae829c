#include "gui/components/canvasdriver.h"
#include "gui/components/nodeeditors.h"
#include "gui/components/partitioneditor.h"
#include "gui/components/plotpartition.h"
#include "gui/ftransform_widgets/data_structures.h"
#include "math/partitions/partitionbase.h"

#include <QDoubleValidator>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include <qwt_plot_marker.h>

#include <cmath>

namespace {

// count nodes spread evenly over [0, high].
DataHolderBase ruspini(int count, double high = 1.0)
{
  QSharedPointer<DataHolders::Partitions::FuzzyEq> r(new DataHolders::Partitions::FuzzyEq);
  r->componentCount = count;
  r->nodes.clear();
  for (int i = 0; i < count; ++i)
    r->nodes.append(high * i / (count - 1));
  r->domain->high = high;
  r->domain->count = 100000;
  return r;
}

const QDoubleValidator* validator(QLineEdit* e)
{
  return qobject_cast<const QDoubleValidator*>(e->validator());
}

struct Fixture
{
  bool show()
  {
    if (!CanvasDriver::show(&editor))
      return false;
    editor.resize(600, 260);
    QApplication::processEvents();
    return true;
  }
  NodeEditors* editors() const { return editor.editors(); }
  double node(std::size_t i) const { return editor.partition()->nodes()[i]; }
  // Every sampled editor shows its node, bounded by its neighbours' texts.
  void checkEditors(std::size_t n)
  {
    QCOMPARE(editors()->count(), n);
    QCOMPARE(editor.plot()->nodeCount(), n);
    for (std::size_t i : {std::size_t(0), std::size_t(1), n / 2, n - 2, n - 1}) {
      QLineEdit* e = editors()->editor(i);
      QVERIFY(e);
      QCOMPARE(e->objectName(), i == 0 ? QString("mockupEdt") : QString::number(i));
      QCOMPARE(e->text(), NodeEditors::editorText(node(i)));
      const double bottom = i == 0 ? -INFINITY : NodeEditors::editorText(node(i - 1)).toDouble();
      const double top = i + 1 == n ? INFINITY : NodeEditors::editorText(node(i + 1)).toDouble();
      if (i > 0)
        QCOMPARE(validator(e)->bottom(), bottom);
      QCOMPARE(validator(e)->top(), top);
      QCOMPARE(editor.plot()->indexOf(editor.plot()->nodeMarker(i)), i);
    }
    QVERIFY(!editors()->editor(n));
  }

  PartitionEditor editor;
};

} // namespace

class TestPartitionScale : public QObject
{
  Q_OBJECT

private slots:
  void initTestCase() { qRegisterMetaType<size_t>("size_t"); }
  void growAndShrink();
  void scrolledEditorsAppear();
  void farEditorTyped();
};

void TestPartitionScale::growAndShrink()
{
  Fixture f;
  QVERIFY(f.show());
  f.editor.setPartition(ruspini(20000));
  QApplication::processEvents();
  // Only what can be seen exists as a widget.
  QVERIFY(f.editors()->createdEditors() < 100);
  f.checkEditors(20000);
  QwtPlotMarker foreign;
  QCOMPARE(f.editor.plot()->indexOf(&foreign), std::size_t(20000));

  f.editor.setPartition(ruspini(5));
  QApplication::processEvents();
  f.checkEditors(5);
  QVERIFY(f.editors()->findChildren<QLineEdit*>().size() <= 5);

  f.editor.setPartition(ruspini(12000));
  QApplication::processEvents();
  f.checkEditors(12000);
}

void TestPartitionScale::scrolledEditorsAppear()
{
  Fixture f;
  QVERIFY(f.show());
  f.editor.setPartition(ruspini(20000));
  QApplication::processEvents();
  QVERIFY(!f.editors()->findChild<QLineEdit*>("19999"));
  QScrollBar* bar = f.editors()->findChild<QScrollArea*>("scrollArea")->horizontalScrollBar();
  bar->setValue(bar->maximum());
  QApplication::processEvents();
  auto* last = f.editors()->findChild<QLineEdit*>("19999");
  QVERIFY(last);
  QVERIFY(last->isVisible());
  QCOMPARE(last->text(), QString("1.000"));
  QVERIFY(f.editors()->createdEditors() < 200);
}

void TestPartitionScale::farEditorTyped()
{
  Fixture f;
  QVERIFY(f.show());
  // Nodes 1 apart, so that 3 decimals tell the neighbours apart.
  f.editor.setPartition(ruspini(20000, 19999));
  QApplication::processEvents();
  QSignalSpy selected(&f.editor, &PartitionEditor::nodeSelected);
  QSignalSpy changed(f.editors(), &NodeEditors::valueChanged);
  const std::size_t k = 15000;
  const double v = (f.node(k - 1) + f.node(k)) / 2;
  QLineEdit* e = f.editors()->editor(k);
  e->setFocus();
  QVERIFY(e->hasFocus());
  QCOMPARE(selected.last().at(0).toInt(), int(k));
  QVERIFY(f.editor.plot()->isMarkerHighlighted(f.editor.plot()->nodeMarker(k)));
  e->selectAll();
  QTest::keyClick(e, Qt::Key_Delete);
  QTest::keyClicks(e, QString::number(v, 'g', 17));
  QTest::keyClick(e, Qt::Key_Return);
  QCOMPARE(changed.count(), 1);
  QCOMPARE(changed.last().at(0).value<size_t>(), k);
  QCOMPARE(f.node(k), v);
  QCOMPARE(f.editor.plot()->nodeMarker(k)->xValue(), v);
  // Tab reaches the next node, which was never on screen before.
  QTest::keyClick(e, Qt::Key_Tab);
  QVERIFY(f.editors()->editor(k + 1)->hasFocus());
  QCOMPARE(selected.last().at(0).toInt(), int(k + 1));
}

QTEST_MAIN(TestPartitionScale)
#include "tst_partitionscale.moc"
