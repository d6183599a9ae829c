#include "gui/components/functiontablewidget.h"
#include "math/domains/enumeration.h"
#include "math/fce/mathfntable.h"

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

#include <cmath>
#include <memory>
#include <numeric>

Q_DECLARE_METATYPE(std::vector<double>)

namespace {

// Components first, first + 1, ... over an index domain, as the controller hands them out.
struct Components
{
  explicit Components(int n, double first = 1.0)
  {
    std::vector<double> values(static_cast<std::size_t>(n));
    std::iota(values.begin(), values.end(), first);
    make(values);
  }
  explicit Components(const std::vector<double>& values) { make(values); }
  void make(const std::vector<double>& values)
  {
    std::vector<double> idx(values.size());
    std::iota(idx.begin(), idx.end(), 0.0);
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

QStringList columnTexts(const QTableWidget* t, int column)
{
  QStringList texts;
  for (int r = 0; r < t->rowCount(); ++r)
    texts << t->item(r, column)->text();
  return texts;
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

  // Each column shows three decimals, or as many as its largest component
  // needs for the precision's significant digits.
  void decimals_data()
  {
    QTest::addColumn<std::vector<double>>("values");
    QTest::addColumn<int>("precision");
    QTest::addColumn<QStringList>("texts");
    // clang-format off
    QTest::newRow("ordinary") << std::vector<double>{0.12345, -2} << 3 << QStringList{"0.123", "-2.000"};
    QTest::newRow("small function") << std::vector<double>{1.5e-7, -3.5e-8} << 3 << QStringList{"0.000000150", "-0.000000035"};
    QTest::newRow("more digits asked") << std::vector<double>{0.12345, -2} << 6 << QStringList{"0.12345", "-2.00000"};
    QTest::newRow("undefined component") << std::vector<double>{std::nan(""), 1e-9} << 3 << QStringList{"nan", "0.00000000100"};
    // clang-format on
  }
  void decimals()
  {
    QFETCH(std::vector<double>, values);
    QFETCH(int, precision);
    QFETCH(QStringList, texts);
    Components c(values);
    Table w(1);
    w.setColumn(0, "a Ft0", c.fn.get());
    w.setPrecision(precision); // the column shown follows
    QCOMPARE(columnTexts(w.table(), 0), texts);
    for (int r = 0; r < int(values.size()); ++r)
      QCOMPARE(w.table()->item(r, 0)->toolTip().contains("too few points"), std::isnan(values[r]));
  }

  // Ctrl+C in the table copies the selection, the whole table when nothing is
  // selected; Edit > Copy table (All) the whole table whatever is selected.
  void copies_data()
  {
    QTest::addColumn<int>("row"); // selected before, -1 none
    QTest::addColumn<bool>("selectAll");
    QTest::addColumn<bool>("whole");
    QTest::addColumn<QString>("text");
    const QString all = "a Ft0\tb Ft0\n1\t11\n2\t12\n3\t13\n";
    // clang-format off
    QTest::newRow("Ctrl+C, nothing selected") << -1 << false << false << all;
    QTest::newRow("Ctrl+C, a row") << 1 << false << false << QString("a Ft0\tb Ft0\n2\t12\n");
    QTest::newRow("Ctrl+A, Ctrl+C") << 1 << true << false << all;
    QTest::newRow("Copy table, a row") << 1 << false << true << all;
    // clang-format on
  }
  void copies()
  {
    QFETCH(int, row);
    QFETCH(bool, selectAll);
    QFETCH(bool, whole);
    Components a(3, 1), b(3, 11);
    Table w(2);
    w.setColumn(0, "a Ft0", a.fn.get());
    w.setColumn(1, "b Ft0", b.fn.get());
    // Copies carry the components at full precision, not the cells' texts.
    w.setCellValue([](const void* fn, int r, double* v) {
      *v = static_cast<const Fn::MathFn<double, double>*>(fn)->valueAtIndex(std::size_t(r));
      return true;
    });
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTableWidget* t = w.table();
    t->setFocus();
    if (row >= 0)
      w.selectRow(row);
    if (selectAll) {
      QTest::keyClick(t, Qt::Key_A, Qt::ControlModifier);
      QCOMPARE(t->selectionModel()->selectedIndexes().size(), 6);
    }
    QApplication::clipboard()->clear();
    if (whole)
      w.copy(TableText::All);
    else
      QTest::keyClick(t, Qt::Key_C, Qt::ControlModifier);
    QTEST(QApplication::clipboard()->text(), "text");
  }
};

QTEST_MAIN(TestFunctionTableWidget)
#include "tst_functiontablewidget.moc"
