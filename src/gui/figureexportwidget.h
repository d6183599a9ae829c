#ifndef QUELMORA_FIGUREEXPORTWIDGET_H
#define QUELMORA_FIGUREEXPORTWIDGET_H

#include "gui/dialogbase.h"
#include "gui/figureexport.h"

namespace Ui {
class FigureExportWidget;
}

// The options of "Plot as figure": the target file (its format from the
// suffix chosen beside the name), the size in millimetres, the resolution of
// a PNG, whether the partition plot joins the figure, the legend's place,
// the axis titles and the colours. It only collects
// the choices; FigureExport writes.
class FigureExportWidget : public DialogBase
{
  Q_OBJECT

public:
  explicit FigureExportWidget(QWidget* parent = nullptr);
  ~FigureExportWidget() override;

  QString filePath() const;
  FigureExport::Options options() const;
  bool includePartition() const;
  bool isInputValid() const;

public slots:
  // Enables OK for a usable choice and shows what follows from it (the file
  // exists, the pixel size of a PNG or why it is too large).
  void setupOkBtnState();

protected slots:
  void onPathDialogBtn_clicked();

private:
  bool isPng() const;
  // The file name suffix of the chosen format, whatever its label says.
  QString suffix() const;

  Ui::FigureExportWidget* ui;
};

#endif
