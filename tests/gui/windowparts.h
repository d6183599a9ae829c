#ifndef QUELMORA_TESTS_WINDOWPARTS_H
#define QUELMORA_TESTS_WINDOWPARTS_H

// The main window and every dialog it opens, built for tests that walk their
// widgets (texts, accessible names, keyboard focus).
#include "mainwindowtester.h"

#include "gui/aboutwidget.h"
#include "gui/analysis/convergencedialog.h"
#include "gui/csvdialog.h"
#include "gui/datafileopendialog.h"
#include "gui/exportwidget.h"
#include "gui/figureexportwidget.h"
#include "gui/formulabuilderwidget.h"
#include "gui/guide/guidebrowser.h"
#include "gui/preferenceswidget.h"
#include "midle/numberreader/numberreaderbase.h"

#include <QDir>
#include <QDockWidget>
#include <QTemporaryFile>

#include <memory>

struct WindowParts
{
  std::unique_ptr<MainWindow> window;
  QTemporaryFile data{QDir::tempPath() + "/parts-XXXXXX.csv"};
  std::unique_ptr<NumberReaderBase> reader;
  std::vector<std::unique_ptr<QWidget>> owned;
  // Name and top widget of each dialog.
  QList<QPair<QString, QWidget*>> dialogs;

  WindowParts()
  {
    window = startWindow();
    for (const char* dock : {"dockFunctionTable", "dockErrorTable", "dockUndoHistory"})
      MainWindowTester::child<QDockWidget>(window.get(), dock)->show();
    if (data.open()) {
      data.write("0;1\n1;2\n2;3\n3;4\n");
      data.close();
    }
    reader = std::make_unique<NumberReaderBase>(
        DataFileInfo(QFile::encodeName(data.fileName()), true, 0));
    auto* values = add("values export", new ExportWidget(window.get()));
    static_cast<ExportWidget*>(values)->setPictureOptionsVisible(false);
    auto* picture = add("picture export", new ExportWidget(window.get()));
    static_cast<ExportWidget*>(picture)->setValueOptionsVisible(false);
    add("figure export", new FigureExportWidget(window.get()));
    add("preferences", new PreferencesWidget);
    add("data import", new CsvDialog(*reader));
    add("open data", new DataFileOpenDialog(window.get()));
    add("convergence",
        new ConvergenceDialog(MainWindowTester::controller(window.get()), window.get()));
    add("about", new AboutWidget);
    add("guide", new GuideBrowser);
    dialogs.append({"formula builder", MainWindowTester::formulaBuilder(window.get())});
  }

  QWidget* add(const char* name, QWidget* w)
  {
    owned.emplace_back(w);
    dialogs.append({QString::fromLatin1(name), w});
    return w;
  }

  // Each partition kind in turn, with the window's state after it.
  static QStringList partitionKinds()
  {
    return {"actionEquidistant", "actionFixedPT", "actionPartDelta"};
  }
};

#endif
