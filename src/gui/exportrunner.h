#ifndef QUELMORA_EXPORTRUNNER_H
#define QUELMORA_EXPORTRUNNER_H

#include "gui/ftransform_widgets/data_structures.h"

#include <QList>
#include <QMap>
#include <QSharedPointer>
#include <QSize>
#include <QString>

class ExportWidget;
class PlotWidget;
class QPixmap;
class QWidget;

// The writing half of the two export commands, separate from the modal
// dialog so that it runs (and is tested) without one. Failures are reported
// in a box naming the file and the reason; an existing target file is
// replaced only by a completely written new one.
class ExportRunner
{
public:
  using Function = Fn::MathFn<double, double>;
  using ResultMap = QMap<FnKey, QSharedPointer<Function>>;
  struct Column
  {
    const Function* function;
    QString name;
    bool points = false; // the function's domain points, not its values
  };

  struct ValueChoices
  {
    QString filePath;
    bool domainValues = false;
    bool originalFunction = false;
    bool coefficients = false;
    bool nodes = false;
    bool inverseFunction = false;
    // Significant digits; 6 is the writer's usual format.
    int digits = 6;
  };

  struct NamedFunction
  {
    const Function* function;
    QString name;
  };

  static ValueChoices valueChoices(const ExportWidget& dialog);

  // The columns in file order: per function (in the given order) the function
  // itself, its components of every degree in degreeMask, then its inverses;
  // with nodes, a "Nodes" column (the places of the components) just before
  // the first function's components.
  // A selected degree without results gives false and sets missing to the
  // message naming what was not calculated.
  static bool valueColumns(const ValueChoices& choices, const QList<NamedFunction>& functions,
                           int degreeMask, const ResultMap& components, const ResultMap& inverses,
                           QList<Column>& columns, QString& missing);

  // Collects the columns and writes them; false after a reported failure.
  static bool exportValues(QWidget* parent, const ValueChoices& choices,
                           const QList<NamedFunction>& functions, int degreeMask,
                           const ResultMap& components, const ResultMap& inverses);

  // The plot's canvas as an image of exactly size pixels.
  static QPixmap canvasPicture(PlotWidget* plot, const QSize& size);
  // Saves in the format named by the path's suffix; false with error set
  // when the file was not written (an existing file then stays as it was).
  static bool savePicture(const QPixmap& picture, const QString& path, QString& error);
  static bool exportPicture(QWidget* parent, PlotWidget* plot, const QSize& size,
                            const QString& path);

private:
  static void reportFailure(QWidget* parent, const QString& text);
};

#endif
