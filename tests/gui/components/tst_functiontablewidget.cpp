#include "gui/components/functiontablewidget.h"
#include "math/domains/enumeration.h"
#include "math/fce/mathfntable.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

#include <memory>
#include <numeric>

namespace {

// Components first, first + 1, ... over an index domain, as the controller hands them out.
struct Components
{
  explicit Components(int n, double first = 1.0)
  {
    std::vector<double> idx(static_cast<std::size_t>(n)), values(idx.size());
    std::iota(idx.begin(), idx.end(), 0.0);
    std::iota(values.begin(), values.end(), first);
    domain.reset(new Domains::Enumeration<double>(idx, true));
    fn.reset(new Fn::MathFnTable<double, double>(domain.get(), values));
  }
  std::unique_ptr<Domains::Enumeration<double>> domain;
  std::unique_ptr<Fn::MathFnTable<double, double>> fn;
};

struct Table : FunctionTableWidget
{
  explicit Table(int columns)
  {
    table()->setColumnCount(columns);
    connect(this, &FunctionTableWidget::componentChanged,
            [this](QTableWidgetItem* i) { changed << i; });
  }
  QList<QTableWidgetItem*> changed;
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
  void refreshKeepsRowsBlankAndSelects()
  {
    Components twelve(12), ten(10), other(3);
    Table w(2);
    QTableWidget* t = w.table();
    w.setColumn(0, "a Ft0", twelve.fn.get());
    w.setColumn(1, "b Ft0", other.fn.get());
    w.setColumn(0, "a Ft0", ten.fn.get());
    QCOMPARE(t->rowCount(), 12);
    QCOMPARE(t->item(9, 0)->text(), QString("10.000"));
    QCOMPARE(userFunction(t->item(9, 0)), static_cast<const void*>(ten.fn.get()));
    for (QTableWidgetItem* item : {t->item(10, 0), t->item(11, 0)})
      QVERIFY(item->text().isEmpty() && !userFunction(item) &&
              !(item->flags() & Qt::ItemIsEditable));
    // The other column is untouched and its missing cells are not created.
    QCOMPARE(t->item(2, 1)->text(), QString("3.000"));
    QVERIFY(!t->item(5, 1));

    // Filling emits nothing; of the user's edits only those of components are reported.
    QVERIFY(w.changed.isEmpty());
    t->item(11, 0)->setText("5");
    t->item(3, 0)->setText("5");
    QCOMPARE(w.changed, QList<QTableWidgetItem*>{t->item(3, 0)});
    // Text that is not a finite number is refused and the component comes
    // back; an accepted value is shown in the table's format.
    for (const char* refused : {"abc", "nan", "1e999", ""})
      t->item(2, 0)->setText(refused);
    t->item(4, 0)->setText(" 2.5e-1 ");
    QCOMPARE(w.changed.size(), 2);
    QVERIFY(t->item(2, 0)->text() == "3.000" && t->item(4, 0)->text() == "0.250" &&
            t->item(3, 0)->text() == "5.000");

    // A longer refresh makes blank cells components again.
    w.setColumn(0, "a Ft0", twelve.fn.get());
    QVERIFY(t->item(11, 0)->flags() & Qt::ItemIsEditable);
    QCOMPARE(t->item(11, 0)->text(), QString("12.000"));

    // Rows of a column refreshed in place: only those, silently, and only
    // where the column shows that function.
    w.changed.clear();
    t->item(1, 0)->setText("7");
    t->item(4, 0)->setText("7");
    w.changed.clear();
    QVERIFY(w.refreshRows(0, twelve.fn.get(), 3, 6));
    QVERIFY(!w.refreshRows(1, twelve.fn.get(), 0, 3) && !w.refreshRows(0, ten.fn.get(), 0, 3));
    QCOMPARE(QPair(t->item(1, 0)->text(), t->item(4, 0)->text()),
             QPair(QString("7.000"), QString("5.000")));
    QVERIFY(w.changed.isEmpty());

    QSignalSpy rows(&w, &FunctionTableWidget::selectedRowChanged);
    QCOMPARE(w.selectedRow(), -1);
    w.selectRow(3);
    w.selectRow(3); // already current: nothing
    QVERIFY(rows.count() == 1 && rows.last().first().toInt() == 3 && w.selectedRow() == 3);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QRect cell = t->visualItemRect(t->item(1, 0));
    QTest::mouseClick(t->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QVERIFY(rows.last().first().toInt() == 1 && w.selectedRow() == 1);
    // Reset without a controller (the controller's own tests cover the reset itself).
    QTest::mouseClick(w.findChild<QPushButton*>("resetBtn"), Qt::LeftButton);
  }
};

QTEST_MAIN(TestFunctionTableWidget)
#include "tst_functiontablewidget.moc"
