#ifndef QUELMORA_FIGUREEXPORT_H
#define QUELMORA_FIGUREEXPORT_H

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVector>

class QPainter;
class QWidget;
class QwtPlot;
class QwtPlotItem;

// Figures for papers: plots rendered as a reader sees them (axes with tick
// labels, axis titles, the legend, the grid and the curves) into PNG, SVG or
// PDF files, the format chosen by the file's suffix. Given a second plot, the
// figure stacks it under the first, on the first plot's x range and with both
// canvases at the same horizontal place. The legend shows every entry in
// every format: inside a corner of the canvas, right of the plots or below
// them. The plots are only borrowed: they look the same on screen afterwards.
class FigureExport
{
public:
  enum Format { Png, Svg, Pdf, Unknown };
  // The order of the figure dialog's choices.
  enum LegendPlace {
    LegendAsShown, // as on screen: shown or not, in its corner
    LegendTopLeft,
    LegendTopRight,
    LegendBottomLeft,
    LegendBottomRight,
    LegendOutsideRight,
    LegendBelow,
    NoLegend
  };
  enum Colours {
    ColoursAsShown,
    // Each function its own hue; its degrees lighter shades of it.
    FunctionHuesShades,
    // Each function its own hue; its degrees dash patterns.
    FunctionHuesDashes
  };
  // A curve of the main plot for the colour choices: the index of the
  // function it shows (0, 1, ...) and its degree (-1: the function itself).
  struct CurveRole
  {
    const QwtPlotItem* curve;
    int function;
    int degree;
    bool error = false; // the error curve of that degree
  };

  struct Options
  {
    QString filePath;
    QSizeF sizeMm{160.0, 100.0};
    // Dots per inch of a PNG; vector formats keep their own fine grid.
    int dpi = 300;
    LegendPlace legend = LegendAsShown;
    // Empty: the plots' own titles.
    QString xTitle, yTitle;
    Colours colours = ColoursAsShown;
    QVector<CurveRole> roles;
  };

  // Where the parts of a figure went, in the coordinates of the figure's rectangle.
  struct Layout
  {
    QRectF figure, canvas, belowCanvas;
    QStringList legendTitles;
    QVector<QRectF> legendRects;
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
  // The pen colour of a curve under a colour choice other than ColoursAsShown.
  static QColor roleColour(Colours colours, int function, int functions, int degree);
  // Its pen style: dash patterns by degree, or the style the curve has.
  static Qt::PenStyle roleStyle(Colours colours, int degree, bool error, Qt::PenStyle shown);

  // Paints the figure into rect of an active painter; below may be null.
  static void render(QPainter& painter, const QRectF& rect, QwtPlot* main, QwtPlot* below,
                     const Options& options, Layout* layout = nullptr);
  // The figure on white; null when the image cannot be allocated.
  static QImage image(const QSize& pixels, int dpi, QwtPlot* main, QwtPlot* below,
                      const Options& options, Layout* layout = nullptr);
  // The plot at its size on screen, as it is copied to the clipboard.
  static QImage screenImage(QwtPlot* plot);

  // Writes the figure file; false with error naming the file and the reason
  // (an existing file then keeps its content).
  static bool write(const Options& options, QwtPlot* main, QwtPlot* below, QString& error,
                    Layout* layout = nullptr);
  // write(), with a failure reported in a box.
  static bool exportFigure(QWidget* parent, const Options& options, QwtPlot* main, QwtPlot* below);
};

#endif
