#ifndef QUELMORA_CROSSVALUEPICKER_H
#define QUELMORA_CROSSVALUEPICKER_H

#include "gui/components/markerpicker.h"

// A marker picker that, while Ctrl is held, shows a vertical tracker line
// and each curve's value at the cursor in the legend. The legend is shown
// only for the read-out: the next key release or the loss of the focus ends it.
class CrossValuePicker : public MarkerPicker
{
  Q_OBJECT

public:
  explicit CrossValuePicker(QwtPlot* plot);

protected:
  void mouseMoved(const QPoint* pos, double x, double y) override;
  void keyPressed(Qt::KeyboardModifiers modifiers) override;
  void keyReleased(Qt::KeyboardModifiers modifiers) override;
};

#endif
