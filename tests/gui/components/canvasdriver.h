#ifndef QUELMORA_TESTS_CANVASDRIVER_H
#define QUELMORA_TESTS_CANVASDRIVER_H

#include "gui/components/plotwidget.h"

#include <QMouseEvent>
#include <QTest>
#include <QWindow>

#include <qwt_plot.h>

// Real mouse events on a plot canvas. Qt 5.15 loses press+move drags sent
// through the QWidget overloads, so everything goes through the window.
class CanvasDriver
{
public:
  explicit CanvasDriver(PlotWidget* plotWidget) : w(plotWidget) {}

  QWidget* canvas() const { return w->canvas(); }
  QWindow* window() const { return canvas()->window()->windowHandle(); }
  QPoint toWindow(const QPoint& p) const { return canvas()->mapTo(canvas()->window(), p); }

  // Canvas pixel of a plot point (x on the bottom axis, y on the left one).
  QPointF pixel(double x, double y) const
  {
    return QPointF(w->plot()->transform(QwtPlot::xBottom, x),
                   w->plot()->transform(QwtPlot::yLeft, y));
  }
  QPoint pixelOf(double x, double y) const { return pixel(x, y).toPoint(); }

  void press(const QPoint& p, Qt::KeyboardModifiers mods = Qt::NoModifier,
             Qt::MouseButton button = Qt::LeftButton)
  {
    QTest::mousePress(window(), button, mods, toWindow(p));
  }
  void move(const QPoint& p) { QTest::mouseMove(window(), toWindow(p)); }
  void release(const QPoint& p, Qt::MouseButton button = Qt::LeftButton)
  {
    QTest::mouseRelease(window(), button, Qt::NoModifier, toWindow(p));
  }
  void drag(const QPoint& from, const QPoint& to)
  {
    press(from);
    move(to);
    release(to);
  }
  // A move with modifiers and no button, which the window overloads cannot send.
  void hover(const QPoint& p, Qt::KeyboardModifiers mods)
  {
    QMouseEvent e(QEvent::MouseMove, p, canvas()->mapToGlobal(p), Qt::NoButton, Qt::NoButton, mods);
    QApplication::sendEvent(canvas(), &e);
  }

  // Shows the plot as an active window with a settled canvas.
  static bool show(QWidget* top)
  {
    top->resize(500, 340);
    top->show();
    top->activateWindow();
    if (!QTest::qWaitForWindowExposed(top) || !QTest::qWaitForWindowActive(top))
      return false;
    QApplication::processEvents();
    return true;
  }

private:
  PlotWidget* w;
};

#endif
