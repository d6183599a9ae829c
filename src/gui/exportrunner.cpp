#include "gui/exportrunner.h"

#include "gui/components/plotwidget.h"
#include "gui/components/prompt.h"
#include "gui/exportwidget.h"
#include "midle/export/csvexportfunction.h"
#include "midle/export/outputfile.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QPixmap>

namespace {

const int degreeCount = 4;

} // namespace

ExportRunner::ValueChoices ExportRunner::valueChoices(const ExportWidget& dialog)
{
  ValueChoices c;
  c.filePath = dialog.filePath();
  c.domainValues = dialog.domainValues();
  c.originalFunction = dialog.originalFunction();
  c.coefficients = dialog.coefficients();
  c.nodes = dialog.nodes();
  c.inverseFunction = dialog.inverseFunction();
  c.digits = dialog.digits();
  return c;
}

bool ExportRunner::valueColumns(const ValueChoices& choices, const QList<NamedFunction>& functions,
                                int degreeMask, const ResultMap& components,
                                const ResultMap& inverses, QList<Column>& columns, QString& missing)
{
  columns.clear();
  // A partition that cannot be built leaves no results; that is reported, never asserted.
  auto addResults = [&](const NamedFunction& f, const ResultMap& results, const char* label,
                        const QString& notCalculated) {
    for (int d = 0; d < degreeCount; ++d) {
      const int flag = 1 << d;
      if (!(degreeMask & flag))
        continue;
      const auto result = results.value(FnKey{f.function, flag});
      if (!result) {
        missing = notCalculated;
        return false;
      }
      columns.append({result.data(), f.name + QLatin1String(label) + QString::number(d)});
    }
    return true;
  };
  // Every component of a computation sits on the same nodes.
  auto addNodes = [&](const NamedFunction& f) {
    for (int d = 0; d < degreeCount; ++d) {
      if (const auto result = components.value(FnKey{f.function, 1 << d})) {
        columns.append({result.data(), QStringLiteral("Nodes"), true});
        return true;
      }
    }
    missing = QObject::tr("Direct fuzzy transform was not calculated");
    return false;
  };
  for (const auto& f : functions) {
    if (choices.originalFunction)
      columns.append({f.function, f.name});
    if (choices.nodes && &f == &functions.first() && !addNodes(f))
      return false;
    if (choices.coefficients &&
        !addResults(f, components, " - Comp",
                    QObject::tr("Direct fuzzy transform was not calculated")))
      return false;
    if (choices.inverseFunction &&
        !addResults(f, inverses, " - Inverse",
                    QObject::tr("Inverse fuzzy transform was not calculated")))
      return false;
  }
  return true;
}

bool ExportRunner::exportValues(QWidget* parent, const ValueChoices& choices,
                                const QList<NamedFunction>& functions, int degreeMask,
                                const ResultMap& components, const ResultMap& inverses)
{
  QList<Column> columns;
  QString missing;
  if (!valueColumns(choices, functions, degreeMask, components, inverses, columns, missing)) {
    reportFailure(parent,
                  QObject::tr("Nothing was written to \"%1\": %2.")
                      .arg(QDir::toNativeSeparators(QFileInfo(choices.filePath).absoluteFilePath()),
                           missing));
    return false;
  }
  CsvExportFunction writer(choices.filePath);
  writer.setWaitForReader(false);
  writer.setIncludeDomain(choices.domainValues);
  writer.setPrecision(choices.digits);
  for (const auto& c : columns) {
    if (c.points)
      writer.addPointsColumn(c.function, c.name);
    else
      writer.addColumn(c.function, c.name);
  }
  if (writer.write())
    return true;
  reportFailure(parent, writer.errorString());
  return false;
}

QPixmap ExportRunner::canvasPicture(PlotWidget* plot, const QSize& size)
{
  // The plot widget is resized so that its canvas, not the whole widget with
  // axes and scroll bar, gets the chosen size. The axes may take a little
  // more or less room at the new size, so correct once by what was measured.
  QSize chrome = plot->size() - plot->canvas()->size();
  QPixmap pixmap;
  for (int attempt = 0; attempt < 2; ++attempt) {
    pixmap = plot->picture(size + chrome);
    if (pixmap.isNull())
      return pixmap;
    const QSize got = pixmap.size() / pixmap.devicePixelRatio();
    if (got == size && pixmap.devicePixelRatio() == 1.0)
      return pixmap;
    chrome += got - size;
    chrome = chrome.expandedTo(QSize(0, 0));
  }
  // Minimum sizes of the plot's parts can keep the canvas from any size.
  pixmap = pixmap.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  pixmap.setDevicePixelRatio(1.0);
  return pixmap;
}

bool ExportRunner::savePicture(const QPixmap& picture, const QString& path, QString& error)
{
  const QString target = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
  const QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
  if (!QImageWriter::supportedImageFormats().contains(format)) {
    error = QObject::tr("Cannot write \"%1\": \"%2\" is not a known image format.")
                .arg(target, QString::fromLatin1(format));
    return false;
  }
  if (picture.isNull()) {
    error = QObject::tr("Cannot write \"%1\": the picture could not be created at this size.")
                .arg(target);
    return false;
  }
  if (QFileInfo(path).isDir()) {
    error = QObject::tr("Cannot write \"%1\": it is a directory").arg(target);
    return false;
  }
  OutputFile file(path);
  file.setWaitForReader(false);
  if (!file.open()) {
    error = QObject::tr("Cannot write \"%1\": %2").arg(target, file.errorString());
    return false;
  }
  QImageWriter writer(file.device(), format);
  if (!writer.write(picture.toImage())) {
    error = QObject::tr("Cannot write \"%1\": %2").arg(target, writer.errorString());
    file.cancel();
    return false;
  }
  if (!file.commit()) {
    error = QObject::tr("Cannot write \"%1\": %2").arg(target, file.errorString());
    return false;
  }
  return true;
}

bool ExportRunner::exportPicture(QWidget* parent, PlotWidget* plot, const QSize& size,
                                 const QString& path)
{
  QString error;
  if (savePicture(canvasPicture(plot, size), path, error))
    return true;
  reportFailure(parent, error);
  return false;
}

void ExportRunner::reportFailure(QWidget* parent, const QString& text)
{
  Prompt::critical(parent, QObject::tr("Error"), text);
}
