// Shows a partition plot with draggable node markers and node editors.
// Drag an inner node, or type a value into an editor and press Return;
// Ctrl+left/right clicks are printed. Optional arguments: the node count and
// a PNG file name, which saves a picture of the window and quits.

#include "gui/components/markerpicker.h"
#include "gui/components/nodeeditors.h"
#include "gui/components/partitioneditor.h"
#include "gui/components/plotpartition.h"
#include "gui/ftransform_widgets/data_structures.h"

#include <QApplication>
#include <QCheckBox>
#include <QDebug>
#include <QPixmap>
#include <QVBoxLayout>

#include <qwt_plot.h>

int main(int argc, char* argv[])
{
  QApplication app(argc, argv);

  bool ok = false;
  int count = argc > 1 ? QString(argv[1]).toInt(&ok) : 5;
  if (!ok || count < 2 || count > 2000)
    count = 5;

  QSharedPointer<DataHolders::Partitions::FuzzyEq> record(new DataHolders::Partitions::FuzzyEq);
  record->componentCount = count;
  record->nodes.clear();
  for (int i = 0; i < count; ++i)
    record->nodes.append(double(i) / (count - 1));

  QWidget window;
  window.setWindowTitle("Partition plot demo");
  auto* layout = new QVBoxLayout(&window);
  auto* editor = new PartitionEditor(&window);
  auto* grid = new QCheckBox("Show grid", &window);
  auto* locked = new QCheckBox("Lock nodes", &window);
  layout->addWidget(editor);
  layout->addWidget(grid);
  layout->addWidget(locked);

  editor->setPartition(record);
  editor->plot()->plot()->setAxisScale(QwtPlot::yLeft, 0, 1, 0.5);
  editor->plot()->replot();

  QObject::connect(grid, &QCheckBox::toggled, editor->plot(), [editor](bool on) {
    editor->plot()->setGridVisible(on);
    editor->plot()->replot();
  });
  QObject::connect(locked, &QCheckBox::toggled, editor, &PartitionEditor::setNodesLocked);
  QObject::connect(editor->plot(), &PlotPartition::nodeMoved,
                   [](size_t i, double x) { qInfo() << "node" << i << "moved to" << x; });
  QObject::connect(editor, &PartitionEditor::nodeSelected,
                   [](int i) { qInfo() << "node selected" << i; });
  MarkerPicker* picker = editor->plot()->picker();
  QObject::connect(picker, &MarkerPicker::userClicked_lmb_withCtrl,
                   [](const QPoint& p) { qInfo() << "Ctrl+left click at" << p; });
  QObject::connect(picker, &MarkerPicker::userClicked_rmb_withCtrl,
                   [](const QPoint& p) { qInfo() << "Ctrl+right click at" << p; });

  window.resize(700, 360);
  window.show();
  if (argc > 2) {
    QApplication::processEvents();
    return window.grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
  }
  return app.exec();
}
