#ifndef QUELMORA_DOCUMENTVIEW_H
#define QUELMORA_DOCUMENTVIEW_H

#include "midle/numberreader/datafileinfo.h"
#include "midle/session/sessiondocument.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

class AnalysisFeatures;
class EditHistory;
class FormulaBuilderWidget;
class PreferencesWidget;
class QAction;
class QActionGroup;
class QMainWindow;
class QwtSlider;
namespace Ui {
class MainWindow;
}

// The session document shown in the main window's widgets: the functions
// and records go to the controller, the selectors, degree controls, legend
// and component table show the rest, and the user's edits come back into the
// document (updateDocument()). Data files, random data and the formula
// builder's changes reach the document through here. It owns no widget; the
// window connects its menus and inputs to the slots.
class DocumentView : public QObject
{
  Q_OBJECT

public:
  using Function = SessionDocument::Function;

  DocumentView(QMainWindow* window, Ui::MainWindow* ui, QwtSlider* zoomSlider,
               SessionDocument& document, FormulaBuilderWidget* formulaBuilder,
               PreferencesWidget* preferences, QActionGroup* legendGroup);

  void setAnalysis(AnalysisFeatures* a) { analysis = a; }
  void setHistory(EditHistory* h) { history = h; }
  // The functions on the domain input as a fresh window shows them.
  void start();

  // What the inputs show, into the document: domain texts, selectors, kind,
  // the editor's nodes, zoom, degrees, bases, legend, edited components.
  void updateDocument();
  DomainTexts domainTexts() const;

  QAction* kindAction(DataHolders::PartitionKind kind) const;
  DataHolders::PartitionKind currentKind() const;
  QSharedPointer<DataHolders::Partitions::PartBase> currentRecord() const;
  void installPartition();
  // Shows the inputs of a function source and makes it the document's.
  void setFunctionType(FunctionSource type);

  void clearFunctions();
  // Formula functions of the selectors on newDomain, which becomes the document's.
  void rebuildFunctions(SessionDocument::Domain* newDomain);
  // The functions the controller computes and draws: every data function, the
  // formula functions of selectors that show a formula (an added selector
  // stays empty, and draws nothing, until one is picked).
  QList<Function*> drawnFunctions() const;
  // The formulas again on the document's domain record, drawn by the controller.
  void remakeFormulas();
  QString expressionOf(const QString& name) const;
  // The formulas a session carries, offered beside the user's list for this
  // run where the list lacks them; per selector the name to select ("" to
  // keep the stored position).
  QStringList offerSessionFormulas(const QMap<QString, QVariant>& session, int selectorCount);
  void resetSelectors(int count);
  void connectSelectors(double zoom);
  // Each selector's tool tip: its formula's expression.
  void showExpressions(int count);
  // Chooses names in the selectors after resetSelectors(): a formula deleted
  // since gives the first one, as the selectors do; an empty name is a
  // selector added and not chosen yet.
  void selectFunctions(const QStringList& names);
  // Chooses name in selector index, as the user would. False when the
  // selector cannot show it (the function would not follow).
  bool selectFunction(int index, const QString& name);
  void showDomainTexts(const DomainTexts& texts);
  // After functions were made again: the selectors report changes again at
  // the zoom shown, and the table, tab order and title follow.
  void showRestoredFunctions();

  void applyDegree(int degree);
  void restoreDegrees(int degree, int shownDegrees);
  int degreeMask() const;
  // Shows and computes with these bases of the higher degrees.
  void setHigherDegreeBasis(Fn::HigherDegreeBasis basis);
  void showLegendAlignment(int alignment);
  // The checked corner's alignment flags (0: none).
  int legendAlignment() const;
  void linkNodeSelection(bool link);
  bool tableIsLinked() const { return tableLinked; }
  void applyPreferences(bool fromDialog);
  // The formula builder's directory (SessionController::formulaDirectory),
  // recorded for the batch tool.
  void useFormulaDirectory();
  void updateTabOrder();

  // Data import: true when the file became the source.
  bool loadDataFile(DataFileInfo fileInfo, bool interactive);
  // "Open data" after its file dialog: the file with the x values in xColumn.
  bool openDataFile(const QString& file, int xColumn);

public slots:
  void choosePartitionKind();
  void takeDomain();
  void refreshCoefTable();
  void onFunctionTableVisibility_changed(bool visible);
  void onFtDegreeSpin_changed(int degree);
  // The check box of degree changed to state.
  void onFtDegreeChBox_changed(int degree, int state);
  void onBasisCbox_changed(int index);
  void onLegendPosition_changed();
  void generateRandomFunction();
  void openData();
  void closeData();
  void onFormulaBuilder_accepted();
  void onFormulaBuilder_rejected() { renames.clear(); }
  void onFormulaBuilder_renamed(QString oldName, QString newName);
  void onPreferences_accepted() { applyPreferences(true); }

signals:
  // The data file or the function source changed (the window title names them).
  void sourceChanged();

private:
  void onSelectedFunction_changed(int index, QString text);
  void onSelector_added(int index);
  void onSelector_removed(int index);
  void disconnectSelectors();
  void setTableColumnCount(int count);
  void setDegreeColumnsVisible(int degree, int state);
  // Before data replaces the formulas: the domain input shows the domain they
  // were computed on, which Close data brings back (a half-typed range never
  // took effect).
  void showFormulaDomain();
  QStringList formulaNames() const;
  // Legend names of the function curves: the selector texts, or the data
  // columns' names ("DataFile 1 (temperature)", "DataFile" for random data).
  void nameFunctionCurves();

  QMainWindow* window;
  Ui::MainWindow* ui;
  QwtSlider* zoomSlider;
  SessionDocument& document;
  FormulaBuilderWidget* formulaBuilder;
  PreferencesWidget* preferences;
  QActionGroup* legendGroup;
  AnalysisFeatures* analysis = nullptr;
  EditHistory* history = nullptr;
  QMap<QString, QString> renames;
  QMetaObject::Connection nodeSelectedLink;
  QMetaObject::Connection rowSelectedLink;
  bool tableLinked = false;
};

#endif
