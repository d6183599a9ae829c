#include "gui/inputs/functionselectorwidget.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

class TestFunctionSelectorWidget : public QObject
{
  Q_OBJECT

private:
  FunctionSelectorWidget* w = nullptr;

  void clickAdd() { QTest::mouseClick(w->findChild<QPushButton*>("addBtn"), Qt::LeftButton); }
  void clickRemove(int index)
  {
    QToolButton* b = w->removeButton(index);
    QVERIFY(b);
    QTest::mouseClick(b, Qt::LeftButton);
  }
  QStringList names() const
  {
    QStringList n;
    for (int i = 0; i < w->count(); ++i)
      n << w->selector(i)->objectName() << w->removeButton(i)->objectName();
    return n;
  }

private slots:
  void init()
  {
    w = new FunctionSelectorWidget;
    w->setItems({"sin", "cos", "exp"});
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
  }
  void cleanup()
  {
    delete w;
    w = nullptr;
  }

  void construction()
  {
    QCOMPARE(w->objectName(), QString("FunctionSelectorWidget"));
    QCOMPARE(w->count(), 1);
    QCOMPARE(names(), QStringList({"comboBox0", "remBtn0"}));
    QCOMPARE(w->removeButton(0)->text(), QString("X"));
    QVERIFY(!w->removeButton(0)->isEnabled());
    QCOMPARE(w->selection(0), QString("sin"));
  }

  void removingTheMiddleRenames()
  {
    clickAdd();
    clickAdd();
    QCOMPARE(w->count(), 3);
    QVERIFY(w->removeButton(0)->isEnabled());
    QComboBox* first = w->selector(0);
    QComboBox* last = w->selector(2);

    QSignalSpy removed(w, &FunctionSelectorWidget::selectorBeingRemoved);
    clickRemove(1);
    QCOMPARE(removed.count(), 1);
    QCOMPARE(removed.at(0).at(0).toInt(), 1);
    QCOMPARE(w->count(), 2);
    QCOMPARE(w->selector(0), first);
    QCOMPARE(w->selector(1), last);
    QCOMPARE(names(), QStringList({"comboBox0", "remBtn0", "comboBox1", "remBtn1"}));
    QCOMPARE(w->findChildren<QComboBox*>("comboBox1").size(), 1);

    clickRemove(0);
    QCOMPARE(w->count(), 1);
    QCOMPARE(w->selector(0), last);
    QCOMPARE(names(), QStringList({"comboBox0", "remBtn0"}));
    QVERIFY(!w->removeButton(0)->isEnabled());
    // The disabled button of the last selector removes nothing.
    clickRemove(0);
    QCOMPARE(w->count(), 1);
  }

  // A later selector takes the name of the grid row it is put in.
  void addedSelectorNamedAfterItsRow()
  {
    clickAdd();
    clickAdd();
    clickRemove(2);
    clickAdd();
    QCOMPARE(names(),
             QStringList({"comboBox0", "remBtn0", "comboBox1", "remBtn1", "comboBox3", "remBtn3"}));
    clickRemove(0);
    QCOMPARE(names(), QStringList({"comboBox0", "remBtn0", "comboBox1", "remBtn1"}));
  }

  void newSelectorEmitsOnlyOnUserPick()
  {
    QSignalSpy inserted(w, &FunctionSelectorWidget::selectorBeingInserted);
    QSignalSpy selection(w, &FunctionSelectorWidget::selectionChanged);
    clickAdd();
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.at(0).at(0).toInt(), 1);
    QCOMPARE(selection.count(), 0);
    QComboBox* combo = w->selector(1);
    QCOMPARE(combo->currentIndex(), -1);
    QCOMPARE(w->selection(1), QString());
    QCOMPARE(combo->count(), 3);

    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(selection.count(), 1);
    QCOMPARE(selection.at(0).at(0).toInt(), 1);
    QCOMPARE(selection.at(0).at(1).toString(), QString("sin"));
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(selection.count(), 2);
    QCOMPARE(selection.at(1).at(1).toString(), QString("cos"));
    QCOMPARE(w->selection(1), QString("cos"));
  }

  void setItemsKeepsOrFallsBack()
  {
    clickAdd();
    w->select(0, "exp");
    w->select(1, "cos");
    QSignalSpy selection(w, &FunctionSelectorWidget::selectionChanged);
    w->setItems({"exp", "tan"});
    QCOMPARE(w->selection(0), QString("exp"));
    QCOMPARE(w->selection(1), QString("exp"));
    QCOMPARE(w->selector(1)->count(), 2);
    QVERIFY(!selection.isEmpty());
    QCOMPARE(selection.last().at(0).toInt(), 1);
    QCOMPARE(selection.last().at(1).toString(), QString("exp"));
  }

  void select_data()
  {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("emitted");
    QTest::newRow("exact") << "cos"
                           << "cos" << 1;
    QTest::newRow("other case") << "EXP"
                                << "exp" << 1;
    QTest::newRow("prefix only") << "co"
                                 << "" << 0;
    QTest::newRow("unknown") << "tan"
                             << "" << 0;
  }
  void select()
  {
    QFETCH(QString, name);
    QFETCH(QString, selected);
    QFETCH(int, emitted);
    QSignalSpy selection(w, &FunctionSelectorWidget::selectionChanged);
    w->select(0, name);
    QCOMPARE(w->selection(0), selected);
    QCOMPARE(selection.count(), emitted);
    w->select(7, name); // no such selector: ignored
  }

  void setSelectorCount()
  {
    QSignalSpy inserted(w, &FunctionSelectorWidget::selectorBeingInserted);
    QSignalSpy removed(w, &FunctionSelectorWidget::selectorBeingRemoved);
    w->setSelectorCount(3);
    QCOMPARE(w->count(), 3);
    QCOMPARE(inserted.count(), 2);
    QCOMPARE(inserted.at(0).at(0).toInt(), 1);
    QCOMPARE(inserted.at(1).at(0).toInt(), 2);
    QVERIFY(w->removeButton(0)->isEnabled());

    clickRemove(0);
    removed.clear();
    w->setSelectorCount(3);
    QCOMPARE(names(),
             QStringList({"comboBox0", "remBtn0", "comboBox1", "remBtn1", "comboBox2", "remBtn2"}));
    w->setSelectorCount(0);
    QCOMPARE(w->count(), 1);
    QCOMPARE(removed.count(), 2);
    QCOMPARE(removed.at(0).at(0).toInt(), 2);
    QCOMPARE(removed.at(1).at(0).toInt(), 1);
    QVERIFY(!w->removeButton(0)->isEnabled());
    QCOMPARE(names(), QStringList({"comboBox0", "remBtn0"}));
  }
};

QTEST_MAIN(TestFunctionSelectorWidget)
#include "tst_functionselectorwidget.moc"
