#ifndef QUELMORA_CROSSVALUEPICKER_H
#define QUELMORA_CROSSVALUEPICKER_H

#include "gui/components/markerpicker.h"

// A marker picker that, while Ctrl is held, shows a vertical tracker line
// and each curve's value at the cursor in the legend. The legend comes back
// to its earlier visibility on the next key release.
class CrossValuePicker : public MarkerPicker
{
  Q_OBJECT

public:
  explicit CrossValuePicker(QwtPlot* plot);

  void setPlotWidget(PlotWidget* plotWidget) override;
  bool legendWasVisible() const { return _legendWasVisible; }

protected:
  void mouseMoved(const QPoint* pos, double x, double y) override;
  void keyPressed(Qt::KeyboardModifiers modifiers) override;
  void keyReleased(Qt::KeyboardModifiers modifiers) override;

private:
  bool _legendWasVisible = false;
};

#endif
