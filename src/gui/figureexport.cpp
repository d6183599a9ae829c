#include "gui/figureexport.h"

#include "gui/components/fittedlegend.h"
#include "gui/components/prompt.h"
#include "midle/export/replacefile.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <qwt_null_paintdevice.h>
#include <qwt_painter.h>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_legenditem.h>
#include <qwt_plot_renderer.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

constexpr double mmPerInch = 25.4;
// The part of the height the main plot takes above a second plot.
constexpr double mainShare = 0.68;
// Between the plots and a legend beside or below them, in the plots' screen units.
constexpr double legendGap = 8.0;
const char* const figureTitle = "Quelmora figure";

// Draws nothing and reports the resolution of another device, so that the
// figure's layout can be measured before it is drawn.
class MeasuringDevice : public QwtNullPaintDevice
{
public:
  explicit MeasuringDevice(const QPaintDevice& like)
      : dpiX(like.logicalDpiX()), dpiY(like.logicalDpiY()), size(like.width(), like.height())
  {
  }

  int metric(PaintDeviceMetric m) const override
  {
    switch (m) {
    case PdmDpiX:
    case PdmPhysicalDpiX:
      return dpiX;
    case PdmDpiY:
    case PdmPhysicalDpiY:
      return dpiY;
    default:
      return QwtNullPaintDevice::metric(m);
    }
  }

protected:
  QSize sizeMetrics() const override { return size; }

private:
  int dpiX, dpiY;
  QSize size;
};

// Renders a plot for a figure: remembers where its canvas went (device
// coordinates) and draws the figure's legend inside it when given one.
class FigureRenderer : public QwtPlotRenderer
{
public:
  FigureRenderer()
  {
    // The page is the background; the window's grey around the plot is not part of a figure.
    setDiscardFlag(DiscardBackground);
    setDiscardFlag(DiscardCanvasFrame);
    setLayoutFlag(FrameWithScales);
  }

  bool measuring = false;
  const FittedLegend* legend = nullptr;
  Qt::Alignment corner;
  mutable QRectF canvas;

protected:
  void renderCanvas(const QwtPlot* plot, QPainter* painter, const QRectF& canvasRect,
                    const QwtScaleMap* maps) const override
  {
    canvas = painter->transform().mapRect(canvasRect);
    if (measuring)
      return;
    QwtPlotRenderer::renderCanvas(plot, painter, canvasRect, maps);
    if (legend) {
      painter->save();
      painter->setClipRect(canvasRect);
      legend->drawIn(painter, canvasRect, corner, legend->borderDistance(), FittedLegend::Columns);
      painter->restore();
    }
  }
};

// For the time of one figure: the lower plot on the upper plot's x range.
class SharedXScale
{
public:
  SharedXScale(QwtPlot* upper, QwtPlot* lower)
      : _lower(lower), _saved(lower->axisScaleDiv(QwtPlot::xBottom))
  {
    lower->setAxisScaleDiv(QwtPlot::xBottom, upper->axisScaleDiv(QwtPlot::xBottom));
    lower->updateAxes();
  }
  ~SharedXScale()
  {
    _lower->setAxisScaleDiv(QwtPlot::xBottom, _saved);
    _lower->updateAxes();
  }
  SharedXScale(const SharedXScale&) = delete;
  SharedXScale& operator=(const SharedXScale&) = delete;

private:
  QwtPlot* _lower;
  QwtScaleDiv _saved;
};

// For the time of one figure: the pens of the colour choice, the axis
// titles asked for, the plots' own legends hidden (the figure draws its own)
// and dash patterns kept along dense lines.
class BorrowedLooks
{
public:
  BorrowedLooks(QwtPlot* main, QwtPlot* below, const FigureExport::Options& o)
      : splitting(QwtPainter::polylineSplitting())
  {
    QwtPainter::setPolylineSplitting(false);
    for (QwtPlot* plot : {main, below})
      if (plot)
        for (QwtPlotItem* item : plot->itemList(QwtPlotItem::Rtti_PlotLegend))
          if (item->isVisible()) {
            hidden.push_back(item);
            item->setVisible(false);
          }
    if (o.colours != FigureExport::ColoursAsShown) {
      int functions = 0;
      for (const FigureExport::CurveRole& r : o.roles)
        functions = std::max(functions, r.function + 1);
      for (const FigureExport::CurveRole& r : o.roles) {
        auto* curve = const_cast<QwtPlotCurve*>(dynamic_cast<const QwtPlotCurve*>(r.curve));
        if (!curve || curve->plot() != main || pens.count(curve))
          continue;
        pens[curve] = curve->pen();
        QPen pen = curve->pen();
        const int degree = r.error ? std::max(r.degree, 0) + 1 : r.degree;
        pen.setColor(FigureExport::roleColour(o.colours, r.function, functions, degree));
        pen.setStyle(FigureExport::roleStyle(o.colours, r.degree, r.error, pen.style()));
        curve->setPen(pen);
      }
    }
    retitle(main, QwtPlot::yLeft, o.yTitle);
    retitle(below ? below : main, QwtPlot::xBottom, o.xTitle);
  }

  ~BorrowedLooks()
  {
    for (auto& t : titles)
      t.plot->setAxisTitle(t.axis, t.title);
    for (auto& p : pens)
      p.first->setPen(p.second);
    for (QwtPlotItem* item : hidden)
      item->setVisible(true);
    QwtPainter::setPolylineSplitting(splitting);
  }

  BorrowedLooks(const BorrowedLooks&) = delete;
  BorrowedLooks& operator=(const BorrowedLooks&) = delete;

private:
  void retitle(QwtPlot* plot, int axis, const QString& text)
  {
    if (text.trimmed().isEmpty())
      return;
    titles.push_back({plot, axis, plot->axisTitle(axis)});
    QwtText title = plot->axisTitle(axis);
    title.setText(text);
    plot->setAxisTitle(axis, title);
  }

  struct Title
  {
    QwtPlot* plot;
    int axis;
    QwtText title;
  };
  bool splitting;
  std::vector<QwtPlotItem*> hidden;
  std::map<QwtPlotCurve*, QPen> pens;
  std::vector<Title> titles;
};

// The curves a legend names: visible, with a title.
QList<const QwtPlotItem*> namedCurves(const QwtPlot* plot)
{
  QList<const QwtPlotItem*> items;
  for (const QwtPlotItem* item : plot->itemList(QwtPlotItem::Rtti_PlotCurve))
    if (item->isVisible() && !item->title().isEmpty())
      items.append(item);
  return items;
}

const QwtPlotLegendItem* shownLegend(const QwtPlot* plot)
{
  for (const QwtPlotItem* item : plot->itemList(QwtPlotItem::Rtti_PlotLegend))
    if (item->isVisible())
      return static_cast<const QwtPlotLegendItem*>(item);
  return nullptr;
}

Qt::Alignment cornerOf(FigureExport::LegendPlace place)
{
  switch (place) {
  case FigureExport::LegendTopLeft:
    return Qt::AlignLeft | Qt::AlignTop;
  case FigureExport::LegendBottomLeft:
    return Qt::AlignLeft | Qt::AlignBottom;
  case FigureExport::LegendBottomRight:
    return Qt::AlignRight | Qt::AlignBottom;
  default:
    return Qt::AlignRight | Qt::AlignTop;
  }
}

// Where the canvas of a plot rendered into rect goes, in the painter's coordinates.
QRectF measureCanvas(FigureRenderer& renderer, QwtPlot* plot, const QPainter& like,
                     const QRectF& rect)
{
  MeasuringDevice device(*like.device());
  QPainter painter(&device);
  painter.setTransform(like.transform());
  renderer.measuring = true;
  renderer.render(plot, &painter, rect);
  renderer.measuring = false;
  return like.transform().inverted().mapRect(renderer.canvas);
}

// Narrows the two rectangles so that both canvases span the same x.
void alignCanvases(FigureRenderer& renderer, const QPainter& painter, QwtPlot* upper,
                   QRectF& upperRect, QwtPlot* lower, QRectF& lowerRect)
{
  const QRectF cu = measureCanvas(renderer, upper, painter, upperRect);
  const QRectF cl = measureCanvas(renderer, lower, painter, lowerRect);
  const double leftU = cu.left() - upperRect.left(), leftL = cl.left() - lowerRect.left();
  const double rightU = upperRect.right() - cu.right(), rightL = lowerRect.right() - cl.right();
  const double left = std::max(leftU, leftL), right = std::max(rightU, rightL);
  upperRect.adjust(left - leftU, 0, -(right - rightU), 0);
  lowerRect.adjust(left - leftL, 0, -(right - rightL), 0);
}

QString absolute(const QString& path)
{
  return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

} // namespace

FigureExport::Format FigureExport::formatOf(const QString& path)
{
  const int i = suffixes().indexOf(QFileInfo(path).suffix().toLower());
  return i < 0 ? Unknown : Format(i);
}

QStringList FigureExport::suffixes()
{
  return {QStringLiteral("png"), QStringLiteral("svg"), QStringLiteral("pdf")};
}

QSize FigureExport::pixelSize(const QSizeF& sizeMm, int dpi)
{
  const double w = sizeMm.width() / mmPerInch * dpi;
  const double h = sizeMm.height() / mmPerInch * dpi;
  // Kept within int; sizeProblem() refuses anything this large.
  return QSize(int(std::min(std::round(w), 1e9)), int(std::min(std::round(h), 1e9)));
}

QString FigureExport::sizeProblem(const QSizeF& sizeMm, int dpi)
{
  const QSize px = pixelSize(sizeMm, dpi);
  if (px.width() < 1 || px.height() < 1)
    return QObject::tr("the picture would have no pixels");
  if (px.width() > maxSide || px.height() > maxSide || qint64(px.width()) * px.height() > maxPixels)
    return QObject::tr("%1 x %2 pixels is more than a PNG figure may have (%3 a side, %4 "
                       "million in all)")
        .arg(px.width())
        .arg(px.height())
        .arg(maxSide)
        .arg(maxPixels / 1000000);
  return QString();
}

QColor FigureExport::roleColour(Colours colours, int function, int functions, int degree)
{
  // Hues spread evenly round the circle from blue; the function itself darkest.
  const int hue = (210 + function * 360 / std::max(1, functions)) % 360;
  const int lightness = colours == FunctionHuesShades ? 70 + 30 * std::clamp(degree + 1, 0, 4)
                                                      : (degree < 0 ? 70 : 100);
  return QColor::fromHsl(hue, 200, lightness);
}

Qt::PenStyle FigureExport::roleStyle(Colours colours, int degree, bool error, Qt::PenStyle shown)
{
  if (colours != FunctionHuesDashes)
    return shown;
  static const Qt::PenStyle byDegree[] = {Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                          Qt::DashDotDotLine};
  if (degree < 0)
    return Qt::SolidLine;
  return error ? Qt::DashLine : byDegree[std::min(degree, 3)];
}

void FigureExport::render(QPainter& painter, const QRectF& rect, QwtPlot* main, QwtPlot* below,
                          const Options& options, Layout* layout)
{
  const QTransform toRect = painter.transform().inverted();
  // Layouts are made in the plot's screen units, then scaled to the device.
  const double scale = double(painter.device()->logicalDpiX()) / main->logicalDpiX();

  LegendPlace place = options.legend;
  Qt::Alignment corner = cornerOf(place);
  if (place == LegendAsShown) {
    const QwtPlotLegendItem* shown = shownLegend(main);
    place = shown ? LegendTopRight : NoLegend;
    if (shown)
      corner = shown->alignment();
  }

  BorrowedLooks looks(main, below, options);
  FittedLegend legend;
  if (place != NoLegend)
    legend.setEntries(namedCurves(main));
  const bool outside = place == LegendOutsideRight || place == LegendBelow;
  const FittedLegend::Fill fill = place == LegendBelow ? FittedLegend::Rows : FittedLegend::Columns;
  QRectF plots = rect, legendArea;
  if (outside && legend.entryCount() > 0) {
    legend.setBackgroundBrush(Qt::NoBrush);
    const QSizeF size = legend.sizeWithin(rect.size() / scale, fill) * scale;
    const double gap = legendGap * scale;
    if (place == LegendOutsideRight) {
      plots.setRight(rect.right() - size.width() - gap);
      legendArea = QRectF(plots.right() + gap, rect.top(), size.width(), rect.height());
    } else {
      plots.setBottom(rect.bottom() - size.height() - gap);
      legendArea = QRectF(rect.left(), plots.bottom() + gap, rect.width(), size.height());
    }
  }

  FigureRenderer renderer;
  if (!outside && legend.entryCount() > 0) {
    renderer.legend = &legend;
    renderer.corner = corner;
  }
  QRectF canvas, belowCanvas;
  if (!below) {
    renderer.render(main, &painter, plots);
    canvas = toRect.mapRect(renderer.canvas);
  } else {
    QRectF upper(plots.x(), plots.y(), plots.width(), plots.height() * mainShare);
    QRectF lower(plots.x(), upper.bottom(), plots.width(), plots.bottom() - upper.bottom());
    SharedXScale shared(main, below);
    alignCanvases(renderer, painter, main, upper, below, lower);
    renderer.render(main, &painter, upper);
    canvas = toRect.mapRect(renderer.canvas);
    renderer.legend = nullptr;
    renderer.render(below, &painter, lower);
    belowCanvas = toRect.mapRect(renderer.canvas);
  }
  if (!legendArea.isEmpty()) {
    painter.save();
    painter.translate(legendArea.topLeft());
    painter.scale(scale, scale);
    const Qt::Alignment at =
        place == LegendBelow ? Qt::AlignHCenter | Qt::AlignTop : Qt::AlignLeft | Qt::AlignTop;
    legend.drawIn(&painter, QRectF(QPointF(0, 0), legendArea.size() / scale), at, 0, fill);
    painter.restore();
  }

  if (layout) {
    *layout = Layout();
    layout->figure = rect;
    layout->canvas = canvas;
    layout->belowCanvas = belowCanvas;
    for (const FittedLegend::Drawn& d : legend.lastDrawn()) {
      layout->legendTitles.append(d.title);
      layout->legendRects.append(toRect.mapRect(d.rect));
    }
  }
}

QImage FigureExport::image(const QSize& pixels, int dpi, QwtPlot* main, QwtPlot* below,
                           const Options& options, Layout* layout)
{
  QImage picture(pixels, QImage::Format_ARGB32);
  if (picture.isNull())
    return picture;
  const int dotsPerMeter = qRound(dpi / mmPerInch * 1000.0);
  picture.setDotsPerMeterX(dotsPerMeter);
  picture.setDotsPerMeterY(dotsPerMeter);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  render(painter, QRectF(QPointF(0, 0), QSizeF(pixels)), main, below, options, layout);
  return picture;
}

QImage FigureExport::screenImage(QwtPlot* plot)
{
  return image(plot->size(), plot->logicalDpiX(), plot, nullptr, Options());
}

bool FigureExport::write(const Options& options, QwtPlot* main, QwtPlot* below, QString& error,
                         Layout* layout)
{
  const QString path = options.filePath;
  const Format format = formatOf(path);
  if (format == Unknown) {
    error = QObject::tr("Cannot write \"%1\": a figure is a .png, .svg or .pdf file.")
                .arg(absolute(path));
    return false;
  }
  QImage picture;
  if (format == Png) {
    const QString problem = sizeProblem(options.sizeMm, options.dpi);
    if (problem.isEmpty())
      picture =
          image(pixelSize(options.sizeMm, options.dpi), options.dpi, main, below, options, layout);
    if (picture.isNull()) {
      error =
          QObject::tr("Cannot write \"%1\": %2")
              .arg(absolute(path),
                   problem.isEmpty() ? QObject::tr("there is not enough memory for it") : problem);
      return false;
    }
  }
  // Vector formats are drawn in the plot's own screen units: dotted and
  // dashed hairlines keep the pattern they have on screen.
  const int vectorDpi = main->logicalDpiX();
  const QSizeF vectorSize = options.sizeMm / mmPerInch * vectorDpi;
  const QRectF vectorRect(QPointF(0, 0), vectorSize);

  return replaceFile(
      path,
      [&](QIODevice& device, QString& reason) {
        switch (format) {
        case Png: {
          QImageWriter writer(&device, "png");
          if (writer.write(picture))
            return true;
          reason = writer.errorString();
          return false;
        }
        case Svg: {
          QSvgGenerator svg;
          svg.setOutputDevice(&device);
          svg.setTitle(QString::fromLatin1(figureTitle));
          svg.setResolution(vectorDpi);
          svg.setSize(vectorSize.toSize());
          svg.setViewBox(vectorRect);
          QPainter painter;
          if (!painter.begin(&svg))
            return false;
          render(painter, vectorRect, main, below, options, layout);
          return painter.end();
        }
        case Pdf: {
          QPdfWriter pdf(&device);
          pdf.setTitle(QString::fromLatin1(figureTitle));
          pdf.setCreator(QStringLiteral("Quelmora"));
          pdf.setResolution(vectorDpi);
          pdf.setPageSize(
              QPageSize(options.sizeMm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
          pdf.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
          QPainter painter;
          if (!painter.begin(&pdf))
            return false;
          render(painter, QRectF(0, 0, pdf.width(), pdf.height()), main, below, options, layout);
          return painter.end();
        }
        case Unknown:
          break;
        }
        return false;
      },
      error, false);
}

bool FigureExport::exportFigure(QWidget* parent, const Options& options, QwtPlot* main,
                                QwtPlot* below)
{
  QString error;
  if (write(options, main, below, error))
    return true;
  Prompt::critical(parent, QObject::tr("Error"), error);
  return false;
}
