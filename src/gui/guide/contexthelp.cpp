#include "gui/guide/contexthelp.h"

#include <QWidget>

namespace ContextHelp {

// Names shared by several forms (lowEdt, listWidget, plotWidget, widthSpin)
// come qualified, before any entry that would take them unqualified.
const std::vector<Entry>& table()
{
  static const std::vector<Entry> entries = {
      // Formula builder and its help.
      {"FormulaBuilderWidget/textEdit", "formulas.html#syntax"},
      {"FormulaBuilderWidget/listWidget", "formulas.html#builder"},
      {"FormulaBuilderWidget/lowEdt", "formulas.html#builder"},
      {"FormulaBuilderWidget/highEdt", "formulas.html#builder"},
      {"FormulaBuilderWidget/plotWidget", "formulas.html#builder"},
      {"FormulaBuilderWidget", "formulas.html#builder"},
      {"FormulaBuilderHelp", "formulas.html#functions"},

      // Preferences.
      {"PreferencesWidget/listWidget", "window.html#preferences"},
      {"page_0", "window.html#colours"},
      {"showGridCbox", "window.html#plot"},
      {"showCompCbox", "ftransform.html#show-components"},
      {"maxZoomSpin", "window.html#zoom"},
      {"legendIconWidthSpin", "window.html#legend"},
      {"legendIconHeightSpin", "window.html#legend"},
      {"showErrCbox", "convergence.html#curves"},
      {"tablePrecisionSpin", "table.html#precision"},
      {"formulasGrp", "formulas.html#file"},
      {"maxRecentSpin", "sessions.html#recent"},
      {"saveSessionGrp", "sessions.html#on-exit"},
      {"PreferencesWidget", "window.html#preferences"},

      // Export of values and pictures.
      {"ExportWidget/domainCBox", "export.html#values"},
      {"ExportWidget/originFnChbox", "export.html#values"},
      {"ExportWidget/coefChbox", "export.html#values"},
      {"ExportWidget/nodesChbox", "export.html#values"},
      {"ExportWidget/inverseFnChbox", "export.html#values"},
      {"ExportWidget/digitsSpin", "export.html#value-file"},
      {"ExportWidget/pictureWidget", "export.html#picture"},
      {"ExportWidget", "export.html#file"},

      // Figures.
      {"FigureExportWidget/sizeGroupBox", "export.html#figure-size"},
      {"FigureExportWidget/partitionChBox", "export.html#figure"},
      {"FigureExportWidget/looksGroupBox", "export.html#figure-looks"},
      {"FigureExportWidget", "export.html#figure"},

      // Data import.
      {"CsvDialog/decimalGroup", "data.html#decimal"},
      {"CsvDialog/separatorGroup", "data.html#separators"},
      {"CsvDialog", "data.html#csv"},
      {"DataFileOpenDialog/xColumnChBox", "data.html#xcolumn"},
      {"DataFileOpenDialog/xColumnSpin", "data.html#xcolumn"},
      {"DataFileOpenDialog", "data.html#open"},

      // Convergence study.
      {"ConvergenceDialog/countsEdt", "convergence.html#counts"},
      {"ConvergenceDialog/defaultCountsBtn", "convergence.html#counts"},
      {"ConvergenceDialog/pointsChbox", "convergence.html#points"},
      {"ConvergenceDialog/pointsSpin", "convergence.html#points"},
      {"ConvergenceDialog/resultTable", "convergence.html#results"},
      {"ConvergenceDialog/convergencePlot", "convergence.html#results"},
      {"ConvergenceDialog/functionCbox", "convergence.html#results"},
      {"ConvergenceDialog/exportTableBtn", "convergence.html#export"},
      {"ConvergenceDialog/exportPlotBtn", "convergence.html#export"},
      {"ConvergenceDialog", "convergence.html#study"},

      // The partition inputs and editor, below the main plot.
      {"shapeCbox", "partitions.html#shapes"},
      {"nodesSpin", "partitions.html#generic"},
      {"offsetSpin", "partitions.html#shift-offset"},
      {"shiftSpin", "partitions.html#shift-offset"},
      {"elemWidthEdt", "partitions.html#equidistant"},
      {"fixedPtSlider", "partitions.html#equidistant"},
      {"deltaEdt", "partitions.html#custom"},
      {"extraParamEdt", "partitions.html#custom"},
      {"w1Partition", "nodes.html#plot"},
      {"w2Editors", "nodes.html#editors"},
      {"EquidPart", "partitions.html#generic"},
      {"FixedPart", "partitions.html#equidistant"},
      {"DeltaPart", "partitions.html#custom"},

      // The options dock.
      {"domainWidget", "window.html#domain"},
      {"computeBtn", "window.html#domain"},
      {"zoomSlider", "window.html#zoom"},
      {"fnSelector", "window.html#functions"},
      {"ftDegreeWidget", "window.html#degrees"},
      {"basisCbox", "ftransform.html#bases"},

      // The main plot and the docks.
      {"plotWidget", "window.html#plot"},
      {"functionTableWidget/resetBtn", "table.html#reset"},
      {"functionTableWidget", "table.html#edit"},
      {"errorTableWidget", "errors.html#readout"},
      {"undoView", "undo.html#history"},
  };
  return entries;
}

namespace {

// name is pattern, or for "prefix#" the prefix followed by digits only.
bool nameMatches(const QString& name, const QString& pattern)
{
  if (!pattern.endsWith(QLatin1Char('#')))
    return name == pattern;
  const int prefix = pattern.size() - 1;
  if (name.size() <= prefix || !name.startsWith(pattern.left(prefix)))
    return false;
  for (int i = prefix; i < name.size(); ++i)
    if (!name.at(i).isDigit())
      return false;
  return true;
}

bool widgetMatches(const QWidget* w, const QString& pattern)
{
  return nameMatches(w->objectName(), pattern) ||
         nameMatches(QLatin1String(w->metaObject()->className()), pattern);
}

bool insideMatch(const QWidget* w, const QString& pattern)
{
  for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
    if (widgetMatches(p, pattern))
      return true;
  return false;
}

} // namespace

QString targetFor(const QWidget* w)
{
  for (const QWidget* level = w; level; level = level->parentWidget()) {
    for (const Entry& e : table()) {
      const QString key = QLatin1String(e.key);
      const int slash = key.indexOf(QLatin1Char('/'));
      if (widgetMatches(level, key.mid(slash + 1)) &&
          (slash < 0 || insideMatch(level, key.left(slash))))
        return QLatin1String(e.target);
    }
    // A dialog's controls are never explained by its parent window's entries.
    if (level->isWindow())
      break;
  }
  return QString();
}

} // namespace ContextHelp
