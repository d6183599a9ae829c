#include "gui/components/componenteditsowner.h"
#include "gui/components/functiontablewidget.h"
#include "math/domains/enumeration.h"
#include "math/fce/mathfntable.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

#include <memory>
#include <numeric>
#include <vector>

namespace {

// Components over an index domain 0..n-1, as the controller hands them out.
struct Components
{
  explicit Components(const std::vector<double>& values)
  {
    std::vector<double> idx(values.size());
    std::iota(idx.begin(), idx.end(), 0.0);
    domain.reset(new Domains::Enumeration<double>(idx, true));
    fn.reset(new Fn::MathFnTable<double, double>(domain.get(), values));
  }
  std::unique_ptr<Domains::Enumeration<double>> domain;
  std::unique_ptr<Fn::MathFnTable<double, double>> fn;
};

std::vector<double> ramp(int n)
{
  std::vector<double> v(static_cast<std::size_t>(n));
  std::iota(v.begin(), v.end(), 1.0);
  return v;
}

struct ResetCounter : ComponentEditsOwner
{
  void resetEditedComponents() override { ++resets; }
  int resets = 0;
};

const void* userFunction(const QTableWidgetItem* item)
{
  return item->data(Qt::UserRole).value<void*>();
}

} // namespace

class TestFunctionTableWidget : public QObject
{
  Q_OBJECT

private slots:
  void cellText_data();
  void cellText();
  void shorterRefreshKeepsRowsBlank();
  void onlyUserEditsOfComponentsAreReported();
  void typedEditIsReported();
  void rowSelectionBothWays();
  void resetAsksTheController();
};

void TestFunctionTableWidget::cellText_data()
{
  QTest::addColumn<double>("value");
  QTest::addColumn<QString>("text");
  QTest::newRow("rounded to 3 decimals") << 0.12345 << "0.123";
  QTest::newRow("padded") << -2.0 << "-2.000";
  QTest::newRow("tiny") << 1e-7 << "0.000";
}

void TestFunctionTableWidget::cellText()
{
  QFETCH(double, value);
  QFETCH(QString, text);
  // A comma-decimal default locale must not change the text.
  QLocale::setDefault(QLocale(QLocale::German));
  Components c({value});
  FunctionTableWidget w;
  w.table()->setColumnCount(1);
  w.setColumn(0, "f Ft0", c.fn.get());
  QLocale::setDefault(QLocale::c());
  QCOMPARE(w.table()->item(0, 0)->text(), text);
  QCOMPARE(w.table()->horizontalHeaderItem(0)->text(), QString("f Ft0"));
}

void TestFunctionTableWidget::shorterRefreshKeepsRowsBlank()
{
  Components twelve(ramp(12)), ten(ramp(10)), other(ramp(3));
  FunctionTableWidget w;
  w.table()->setColumnCount(2);
  w.setColumn(0, "a Ft0", twelve.fn.get());
  w.setColumn(1, "b Ft0", other.fn.get());
  QCOMPARE(w.table()->rowCount(), 12);
  w.setColumn(0, "a Ft0", ten.fn.get());

  QTableWidget* t = w.table();
  QCOMPARE(t->rowCount(), 12);
  QCOMPARE(t->item(9, 0)->text(), QString("10.000"));
  QCOMPARE(userFunction(t->item(9, 0)), static_cast<const void*>(ten.fn.get()));
  for (int row : {10, 11}) {
    QTableWidgetItem* item = t->item(row, 0);
    QVERIFY(item->text().isEmpty());
    QVERIFY(!userFunction(item));
    QVERIFY(!(item->flags() & Qt::ItemIsEditable));
  }
  // The other column is untouched and its missing cells are not created.
  QCOMPARE(t->item(2, 1)->text(), QString("3.000"));
  QVERIFY(!t->item(5, 1));

  // A longer refresh makes blank cells components again.
  w.setColumn(0, "a Ft0", twelve.fn.get());
  QVERIFY(t->item(11, 0)->flags() & Qt::ItemIsEditable);
  QCOMPARE(t->item(11, 0)->text(), QString("12.000"));
}

void TestFunctionTableWidget::onlyUserEditsOfComponentsAreReported()
{
  Components twelve(ramp(12)), ten(ramp(10));
  FunctionTableWidget w;
  w.table()->setColumnCount(1);
  QList<QTableWidgetItem*> changed;
  connect(&w, &FunctionTableWidget::componentChanged, [&](QTableWidgetItem* i) { changed << i; });
  w.setColumn(0, "a Ft0", twelve.fn.get());
  w.setColumn(0, "a Ft0", ten.fn.get());
  QCOMPARE(changed.count(), 0);

  w.table()->item(11, 0)->setText("5"); // blank row
  QCOMPARE(changed.count(), 0);
  w.table()->item(3, 0)->setText("5"); // a component
  QCOMPARE(changed.count(), 1);
  QCOMPARE(changed.first(), w.table()->item(3, 0));
}

void TestFunctionTableWidget::typedEditIsReported()
{
  Components c(ramp(4));
  FunctionTableWidget w;
  w.table()->setColumnCount(1);
  w.setColumn(0, "a Ft1", c.fn.get());
  w.show();
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  QList<QTableWidgetItem*> changed;
  connect(&w, &FunctionTableWidget::componentChanged, [&](QTableWidgetItem* i) { changed << i; });

  QTableWidget* t = w.table();
  t->setFocus();
  t->setCurrentCell(2, 0);
  QTest::keyClick(t->viewport()->focusWidget() ? t->viewport()->focusWidget() : t, Qt::Key_F2);
  QWidget* editor = QApplication::focusWidget();
  QVERIFY(editor && editor != t);
  QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(editor, "0.5");
  QTest::keyClick(editor, Qt::Key_Return); // commits through a queued call

  QTRY_COMPARE(changed.count(), 1);
  QTableWidgetItem* item = changed.first();
  QCOMPARE(item, t->item(2, 0));
  QCOMPARE(item->text(), QString("0.5"));
  QCOMPARE(userFunction(item), static_cast<const void*>(c.fn.get()));
}

void TestFunctionTableWidget::rowSelectionBothWays()
{
  Components c(ramp(6));
  FunctionTableWidget w;
  w.table()->setColumnCount(1);
  w.setColumn(0, "a Ft0", c.fn.get());
  QSignalSpy rows(&w, &FunctionTableWidget::selectedRowChanged);
  QCOMPARE(w.selectedRow(), -1);

  w.selectRow(3);
  QCOMPARE(rows.count(), 1);
  QCOMPARE(rows.last().first().toInt(), 3);
  QCOMPARE(w.selectedRow(), 3);
  w.selectRow(3); // already current: nothing
  QCOMPARE(rows.count(), 1);

  // A click on a cell reports its row.
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  QTableWidget* t = w.table();
  const QRect cell = t->visualItemRect(t->item(1, 0));
  QTest::mouseClick(t->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
  QCOMPARE(rows.last().first().toInt(), 1);
  QCOMPARE(w.selectedRow(), 1);
}

void TestFunctionTableWidget::resetAsksTheController()
{
  FunctionTableWidget w;
  auto* btn = w.findChild<QPushButton*>("resetBtn");
  QTest::mouseClick(btn, Qt::LeftButton); // no controller yet: nothing happens
  ResetCounter owner;
  w.setController(&owner);
  QTest::mouseClick(btn, Qt::LeftButton);
  QCOMPARE(owner.resets, 1);
}

QTEST_MAIN(TestFunctionTableWidget)
#include "tst_functiontablewidget.moc"
