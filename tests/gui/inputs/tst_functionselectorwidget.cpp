#include "gui/inputs/functionselectorwidget.h"

#include "partitionplotdriver.h"

#include <QComboBox>
#include <QPushButton>
#include <QToolButton>

class TestFunctionSelectorWidget : public QObject
{
  Q_OBJECT

  FunctionSelectorWidget* w = nullptr;

  void clickAdd() { QTest::mouseClick(w->findChild<QPushButton*>("addBtn"), Qt::LeftButton); }
  void clickRemove(int index) { QTest::mouseClick(w->removeButton(index), Qt::LeftButton); }
  // Object names of each row: selector and remove button.
  QString names() const
  {
    QStringList n;
    for (int i = 0; i < w->count(); ++i)
      n << w->selector(i)->objectName() + ' ' + w->removeButton(i)->objectName();
    return n.join(", ");
  }

private slots:
  void init()
  {
    w = new FunctionSelectorWidget;
    w->setItems({"sin", "cos", "exp"});
    QVERIFY(showActive(w));
  }
  void cleanup() { delete w; }

  void removingRenames()
  {
    QCOMPARE(names(), QString("comboBox0 remBtn0"));
    QVERIFY(!w->removeButton(0)->isEnabled());
    clickAdd();
    clickAdd();
    QComboBox* last = w->selector(2);
    QSignalSpy removed(w, &FunctionSelectorWidget::selectorBeingRemoved);
    clickRemove(1);
    QCOMPARE(emitted(removed), QString("1"));
    QCOMPARE(w->selector(1), last);
    QCOMPARE(names(), QString("comboBox0 remBtn0, comboBox1 remBtn1"));
    QCOMPARE(w->findChildren<QComboBox*>("comboBox1").size(), 1);

    clickRemove(0);
    QCOMPARE(w->selector(0), last);
    QCOMPARE(names(), QString("comboBox0 remBtn0"));
    QVERIFY(!w->removeButton(0)->isEnabled());
    clickRemove(0); // disabled: removes nothing
    QCOMPARE(w->count(), 1);

    // A later selector takes the name of the grid row it is put in.
    clickAdd();
    clickAdd();
    clickRemove(2);
    clickAdd();
    QCOMPARE(names(), QString("comboBox0 remBtn0, comboBox1 remBtn1, comboBox5 remBtn5"));
    clickRemove(0);
    QCOMPARE(names(), QString("comboBox0 remBtn0, comboBox1 remBtn1"));
  }

  void newSelectorEmitsOnlyOnUserPickSetItemsKeeps()
  {
    QSignalSpy inserted(w, &FunctionSelectorWidget::selectorBeingInserted);
    QSignalSpy selection(w, &FunctionSelectorWidget::selectionChanged);
    clickAdd();
    QCOMPARE(emitted(inserted) + '|' + emitted(selection), QString("1|"));
    QCOMPARE(w->selection(1), QString());
    w->selector(1)->setFocus();
    QTest::keyClick(w->selector(1), Qt::Key_Down);
    QTest::keyClick(w->selector(1), Qt::Key_Down);
    QCOMPARE(emitted(selection), QString("1 sin, 1 cos"));
    QCOMPARE(w->selection(1), QString("cos"));

    // New items keep a selection still offered, else fall back to the first.
    w->select(0, "exp");
    selection.clear();
    w->setItems({"exp", "tan"});
    QCOMPARE(w->selection(0), QString("exp"));
    QCOMPARE(w->selection(1), QString("exp"));
    QCOMPARE(w->selector(1)->count(), 2);
    QCOMPARE(emitted(selection.mid(selection.size() - 1)), QString("1 exp"));
  }

  void setSelectorCount()
  {
    QSignalSpy inserted(w, &FunctionSelectorWidget::selectorBeingInserted);
    QSignalSpy removed(w, &FunctionSelectorWidget::selectorBeingRemoved);
    w->setSelectorCount(3);
    QCOMPARE(inserted.count(), 2);
    clickRemove(0);
    removed.clear();
    w->setSelectorCount(3); // fills the gap, named by row
    QCOMPARE(names(), QString("comboBox0 remBtn0, comboBox1 remBtn1, comboBox2 remBtn2"));
    w->setSelectorCount(0);
    QCOMPARE(emitted(removed), QString("2, 1"));
    QVERIFY(!w->removeButton(0)->isEnabled());
    QCOMPARE(names(), QString("comboBox0 remBtn0"));
  }
};

QTEST_MAIN(TestFunctionSelectorWidget)
#include "tst_functionselectorwidget.moc"
