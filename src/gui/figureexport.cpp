#include "gui/figureexport.h"

#include "gui/components/prompt.h"
#include "midle/export/replacefile.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <qwt_plot.h>
#include <qwt_plot_renderer.h>
#include <qwt_scale_draw.h>
#include <qwt_scale_widget.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double mmPerInch = 25.4;
// The part of the height the main plot takes above a second plot.
constexpr double mainShare = 0.68;
const char* const figureTitle = "Quelmora figure";

// For the time of one figure: the lower plot on the upper plot's x range, and
// both left axes as wide as the wider one, so that the canvases line up.
class AlignedPair
{
public:
  AlignedPair(QwtPlot* upper, QwtPlot* lower)
      : plots{upper, lower}, lowerDiv(lower->axisScaleDiv(QwtPlot::xBottom))
  {
    lower->setAxisScaleDiv(QwtPlot::xBottom, upper->axisScaleDiv(QwtPlot::xBottom));
    lower->updateAxes();
    int dims[2];
    for (int i = 0; i < 2; ++i) {
      QwtScaleWidget* axis = plots[i]->axisWidget(QwtPlot::yLeft);
      savedExtent[i] = axis->scaleDraw()->minimumExtent();
      axis->scaleDraw()->setMinimumExtent(0.0);
      dims[i] = axis->dimForLength(QWIDGETSIZE_MAX, axis->font());
    }
    const int widest = std::max(dims[0], dims[1]);
    for (int i = 0; i < 2; ++i) {
      QwtScaleWidget* axis = plots[i]->axisWidget(QwtPlot::yLeft);
      QwtScaleDraw* draw = axis->scaleDraw();
      draw->setMinimumExtent(draw->extent(axis->font()) + widest - dims[i]);
    }
  }

  ~AlignedPair()
  {
    for (int i = 0; i < 2; ++i)
      plots[i]->axisWidget(QwtPlot::yLeft)->scaleDraw()->setMinimumExtent(savedExtent[i]);
    plots[1]->setAxisScaleDiv(QwtPlot::xBottom, lowerDiv);
    for (QwtPlot* p : plots) {
      p->updateAxes();
      p->updateLayout();
    }
  }

  AlignedPair(const AlignedPair&) = delete;
  AlignedPair& operator=(const AlignedPair&) = delete;

private:
  QwtPlot* plots[2];
  QwtScaleDiv lowerDiv;
  double savedExtent[2] = {0.0, 0.0};
};

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

void FigureExport::render(QPainter& painter, const QRectF& rect, QwtPlot* main, QwtPlot* below)
{
  QwtPlotRenderer renderer;
  // The page is the background; the window's grey around the plot is not part of a figure.
  renderer.setDiscardFlag(QwtPlotRenderer::DiscardBackground);
  renderer.setDiscardFlag(QwtPlotRenderer::DiscardCanvasFrame);
  renderer.setLayoutFlag(QwtPlotRenderer::FrameWithScales);
  if (!below) {
    renderer.render(main, &painter, rect);
    return;
  }
  const QRectF upper(rect.x(), rect.y(), rect.width(), rect.height() * mainShare);
  const QRectF lower(rect.x(), upper.bottom(), rect.width(), rect.bottom() - upper.bottom());
  AlignedPair aligned(main, below);
  renderer.render(main, &painter, upper);
  renderer.render(below, &painter, lower);
}

QImage FigureExport::image(const QSize& pixels, int dpi, QwtPlot* main, QwtPlot* below)
{
  QImage picture(pixels, QImage::Format_ARGB32);
  if (picture.isNull())
    return picture;
  const int dotsPerMeter = qRound(dpi / mmPerInch * 1000.0);
  picture.setDotsPerMeterX(dotsPerMeter);
  picture.setDotsPerMeterY(dotsPerMeter);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  render(painter, QRectF(QPointF(0, 0), QSizeF(pixels)), main, below);
  return picture;
}

QImage FigureExport::screenImage(QwtPlot* plot)
{
  return image(plot->size(), plot->logicalDpiX(), plot);
}

bool FigureExport::write(const Options& options, QwtPlot* main, QwtPlot* below, QString& error)
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
      picture = image(pixelSize(options.sizeMm, options.dpi), options.dpi, main, below);
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
          render(painter, vectorRect, main, below);
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
          render(painter, QRectF(0, 0, pdf.width(), pdf.height()), main, below);
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
