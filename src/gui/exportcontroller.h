#ifndef QUELMORA_EXPORTCONTROLLER_H
#define QUELMORA_EXPORTCONTROLLER_H

#include "gui/figureexport.h"

#include <QObject>
#include <QStringList>
#include <QVector>

class AnalysisFeatures;
class DocumentView;
class FtransformWidget;
class FunctionTableWidget;
class QWidget;
class SessionDocument;
class WidgetPersistence;

// Export of values, pictures and figures, and copies to the clipboard. The
// dialogs collect the choices; ExportRunner and FigureExport write and report
// failures. The dialogs' fields belong to the session: kept in the
// document's stored values through the session persistence.
class ExportController : public QObject
{
  Q_OBJECT

public:
  ExportController(QWidget* window, FtransformWidget* controller, FunctionTableWidget* table,
                   const SessionDocument& document, DocumentView* view,
                   WidgetPersistence* persistence, AnalysisFeatures* analysis);

  // Groups of the dialogs' fields in a session.
  static QStringList dialogGroups();

public slots:
  void exportValues();
  void exportPicture();
  void exportFigure();
  void copyPlot();
  void copyTable();

private:
  // Which function and degree each curve of the main plot shows.
  QVector<FigureExport::CurveRole> figureRoles() const;

  QWidget* window;
  FtransformWidget* ft;
  FunctionTableWidget* table;
  const SessionDocument& document;
  DocumentView* view;
  WidgetPersistence* persistence;
  AnalysisFeatures* analysis;
};

#endif
