#ifndef QUELMORA_TESTS_CANVASDRIVER_H
#define QUELMORA_TESTS_CANVASDRIVER_H

#include "gui/components/plotwidget.h"

#include <QMouseEvent>
#include <QTest>
#include <QWindow>

#include <qwt_plot.h>

// Real mouse events on a plot canvas. Qt 5.15 loses press+move drags sent
// through the QWidget overloads, so everything goes through the window.
struct CanvasDriver
{
  PlotWidget* w;
  QWindow* window() const { return w->canvas()->window()->windowHandle(); }
  QPoint at(const QPoint& p) const { return w->canvas()->mapTo(w->canvas()->window(), p); }
  QPointF pixel(double x, double y) const
  {
    return {w->plot()->transform(QwtPlot::xBottom, x), w->plot()->transform(QwtPlot::yLeft, y)};
  }
  QPoint pixelOf(double x, double y) const { return pixel(x, y).toPoint(); }
  void press(const QPoint& p, Qt::KeyboardModifiers m = {}, Qt::MouseButton b = Qt::LeftButton)
  {
    QTest::mousePress(window(), b, m, at(p));
  }
  void move(const QPoint& p) { QTest::mouseMove(window(), at(p)); }
  void release(const QPoint& p, Qt::MouseButton b = Qt::LeftButton)
  {
    QTest::mouseRelease(window(), b, Qt::NoModifier, at(p));
  }
  // A move with modifiers and no button, which the window overloads cannot send.
  void hover(const QPoint& p, Qt::KeyboardModifiers mods)
  {
    QMouseEvent e(QEvent::MouseMove, p, w->canvas()->mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                  mods);
    QApplication::sendEvent(w->canvas(), &e);
  }
  static bool show(QWidget* top, const QSize& size = {500, 340})
  {
    top->resize(size);
    top->show();
    top->activateWindow();
    const bool shown = QTest::qWaitForWindowExposed(top) && QTest::qWaitForWindowActive(top);
    QApplication::processEvents();
    return shown;
  }
};

#endif
