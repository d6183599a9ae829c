#ifndef QUELMORA_FIGUREEXPORT_H
#define QUELMORA_FIGUREEXPORT_H

#include <QImage>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>

class QPainter;
class QRectF;
class QWidget;
class QwtPlot;

// Figures for papers: plots rendered as a reader sees them (axes with tick
// labels, axis titles, the legend, the grid and the curves) into PNG, SVG or
// PDF files, the format chosen by the file's suffix. Given a second plot, the
// figure stacks it under the first, on the first plot's x range and with both
// canvases at the same horizontal place. The plots are only borrowed: they
// look the same on screen afterwards.
class FigureExport
{
public:
  enum Format { Png, Svg, Pdf, Unknown };

  struct Options
  {
    QString filePath;
    QSizeF sizeMm{160.0, 100.0};
    // Dots per inch of a PNG; vector formats keep their own fine grid.
    int dpi = 300;
  };

  // The largest PNG written: a side, and the whole picture in pixels.
  static constexpr int maxSide = 19999;
  static constexpr qint64 maxPixels = 100'000'000;

  static Format formatOf(const QString& path);
  // "png", "svg", "pdf": the order of Format.
  static QStringList suffixes();
  static QSize pixelSize(const QSizeF& sizeMm, int dpi);
  // Empty when a PNG of that size can be written, else why not.
  static QString sizeProblem(const QSizeF& sizeMm, int dpi);

  // Paints the figure into rect of an active painter; below may be null.
  static void render(QPainter& painter, const QRectF& rect, QwtPlot* main, QwtPlot* below);
  // The figure on white; null when the image cannot be allocated.
  static QImage image(const QSize& pixels, int dpi, QwtPlot* main, QwtPlot* below = nullptr);
  // The plot at its size on screen, as it is copied to the clipboard.
  static QImage screenImage(QwtPlot* plot);

  // Writes the figure file; false with error naming the file and the reason
  // (an existing file then keeps its content).
  static bool write(const Options& options, QwtPlot* main, QwtPlot* below, QString& error);
  // write(), with a failure reported in a box.
  static bool exportFigure(QWidget* parent, const Options& options, QwtPlot* main, QwtPlot* below);
};

#endif
