#include "gui/components/crossvaluepicker.h"

#include "gui/components/plotwidget.h"

#include <qwt_plot.h>
#include <qwt_plot_picker.h>

CrossValuePicker::CrossValuePicker(QwtPlot* plot) : MarkerPicker(plot)
{
  // Moves without a pressed button must reach the filter for the read-out.
  plot->canvas()->setMouseTracking(true);
}

void CrossValuePicker::mouseMoved(const QPoint* pos, double x, double y)
{
  MarkerPicker::mouseMoved(pos, x, y);
  PlotWidget* w = plotWidget();
  if (!w || !(modifiers() & Qt::ControlModifier))
    return;
  const QList<CurveInfoBase*> infos = w->curveInfos();
  for (CurveInfoBase* info : infos)
    info->setValueAt(x, QStringLiteral(": "));
  w->replot();
}

void CrossValuePicker::keyPressed(Qt::KeyboardModifiers mods)
{
  plot()->canvas()->setFocus(Qt::OtherFocusReason);
  PlotWidget* w = plotWidget();
  if (!w || mods == modifiers() || !(mods & Qt::ControlModifier))
    return;
  w->tracker()->setEnabled(true);
  w->setLegendPeek(true);
}

void CrossValuePicker::keyReleased(Qt::KeyboardModifiers)
{
  PlotWidget* w = plotWidget();
  if (!w)
    return;
  const QList<CurveInfoBase*> infos = w->curveInfos();
  for (CurveInfoBase* info : infos)
    info->clearValueText();
  w->tracker()->setEnabled(false);
  w->setLegendPeek(false);
  w->replot();
}
