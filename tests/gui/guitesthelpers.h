#ifndef QUELMORA_TESTS_GUITESTHELPERS_H
#define QUELMORA_TESTS_GUITESTHELPERS_H

// Steps the main-window tests share: the formulas file, files handed to the
// window's dialogs or dropped on it, degrees and a second function.
#include "mainwindowtester.h"

#include "gui/csvdialog.h"
#include "gui/datafileopendialog.h"
#include "midle/session/apppaths.h"
#include "midle/session/formulafile.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>

// The program's formulas file in the environment directory, as {name, expression} pairs.
inline void writeFormulas(const QString& envDir, const QList<QPair<QString, QString>>& list)
{
  QSettings formulas(AppPaths::formulasFile(envDir), QSettings::IniFormat);
  formulas.beginWriteArray(FormulaFile::arrayKey);
  for (int i = 0; i < list.size(); ++i) {
    formulas.setArrayIndex(i);
    formulas.setValue(FormulaFile::nameKey, list[i].first);
    formulas.setValue(FormulaFile::expressionKey, list[i].second);
  }
  formulas.endArray();
}

// The next "Open data" dialogs pick path.
inline void pickDataFile(const QString& path)
{
  DataFileOpenDialog::setRunner([path](DataFileOpenDialog& d) {
    d.selectFile(path);
    return int(QDialog::Accepted);
  });
}

// The next import dialogs take commas between values; count, if given, counts them.
inline void importWithCommas(int* count = nullptr)
{
  CsvDialog::setRunner([count](CsvDialog& d) {
    if (count)
      ++*count;
    d.findChild<QRadioButton*>("commaSepRbtn")->setChecked(true);
    d.buttonBox()->button(QDialogButtonBox::Ok)->click();
    return d.result();
  });
}

// Drags the file onto the window and drops it; true if the window took the drag.
inline bool dropFile(QWidget* w, const QString& path)
{
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(path)});
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &enter);
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &drop);
  return enter.isAccepted();
}

// Degrees 0..max computed, those of the mask shown.
inline void showDegrees(MainWindow* w, int max, int mask)
{
  MainWindowTester::degreeSpin(w)->setValue(max);
  for (int d = 0; d <= max; ++d)
    MainWindowTester::degreeBox(w, d)->setChecked(mask & (1 << d));
}

// A second selector, showing the formula the first one shows unless told another.
inline void addSecondFunction(MainWindow* w, const QString& formula = QString())
{
  FunctionSelectorWidget* s = MainWindowTester::selector(w);
  QTest::mouseClick(s->findChild<QPushButton*>("addBtn"), Qt::LeftButton);
  s->select(1, formula.isEmpty() ? s->selection(0) : formula);
}

#endif
