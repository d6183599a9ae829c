#ifndef QUELMORA_PARTITIONWIDGETBASE_H
#define QUELMORA_PARTITIONWIDGETBASE_H

#include "gui/inputs/configwidgetbase.h"

#include <QComboBox>
#include <QMetaObject>
#include <QSharedPointer>
#include <QVector>

#include <initializer_list>
#include <functional>
#include <set>

class PartitionEditor;
class QLineEdit;
class QPoint;
namespace Ui {
class PartitionWidgetBase;
}

// Root of the three partition configuration widgets: the kind's inputs on top
// ("top"), the partition editor (plot with node markers and node editors)
// below ("bottom"). The widget edits a record it shares with the controller;
// data() brings the node positions shown by the editor into it.
class PartitionWidgetBase : public ConfigWidgetBase
{
  Q_OBJECT

public:
  PartitionWidgetBase(const QSharedPointer<DataHolders::Partitions::PartBase>& record,
                      const QString& name, QWidget* parent = nullptr);
  ~PartitionWidgetBase() override;

  // Copies the editor's node positions into the record and returns it.
  DataHolderBase data() override;
  QSharedPointer<DataHolders::Partitions::PartBase> record() const { return partitionRecord; }

  virtual void setMaxComponents(int n);

  // Node positions placed by the user (opened sessions). Replaces the record's
  // nodes without signalling or redrawing. Sets that a partition cannot be
  // built on (fewer than two nodes, not finite, outside the record's domain)
  // are refused with false. Kinds whose nodes follow from their inputs refuse all.
  bool setNodeSet(const std::set<double>& nodes);
  // The node positions the user placed (kinds that add and remove nodes).
  const std::set<double>& nodes() const { return userNodes(); }

  PartitionEditor* partitionEditor() const { return editor; }

  // Locked nodes cannot be dragged or typed.
  void setNodesLocked(bool locked);
  bool nodesLocked() const { return locked; }

  // When on, a dragged marker or a typed node position re-emits inputsChanged().
  void setNodeMovePropagation(bool on);
  bool nodeMovePropagation() const { return !propagation.isEmpty(); }

  // Moves node `index` to x as if the user had typed it (editor, marker and
  // plot follow; inputsChanged() while propagating), so that the controller
  // updates only what the node reaches. Refused (false) when the nodes are
  // locked or x is not strictly between the neighbouring nodes.
  bool moveNode(std::size_t index, double x);

public slots:
  virtual void setDomainData(QSharedPointer<DataHolders::Domains::Equid> domain);
  void setDomainData(DataHolderBase domain);
  void onInputsChanged(int v = 0) override;

protected slots:
  void onTextEdited(QString text);

protected:
  // Reads the inputs into the record.
  virtual void updateData() = 0;
  // Nodes were dragged, typed or moved by moveNode(): the user's node set is
  // read from the editor when next needed.
  void nodesMoved() { nodeSetStale = true; }
  // The node positions a fresh layout of the current record gives.
  virtual QVector<double> layoutNodes() = 0;

  // Cuts every link from the inputs, the plot and the editors to this widget.
  // Destructors call it first: a focused spin box or editor reports its last
  // edit while the children are deleted, after the subclass is gone.
  void disconnectInputs();

  // Lets the editor show the record (or nothing when no partition can be built on it).
  void redraw();
  // The parent of the subclass's form.
  QWidget* top() const;

  // The editor's node positions, or none when it shows no partition.
  QVector<double> editorNodes() const;
  // Plot x of a canvas pixel and back.
  double canvasToX(int pixel) const;
  double xToCanvas(double x) const;
  // True for a click in the lowest third of the partition plot's canvas.
  bool inLowestThird(const QPoint& pos) const;

  // Ctrl+click editing of the user's node set (generic Ruspini and custom).
  // Adding inserts the plot x of a click in the lowest third unless it lies
  // outside the domain or within a pixel of a node. Removing takes the inner node nearest to
  // the click (the left one on a tie) when nearer than 13 pixels, unless a
  // neighbour of the click is the first or last node. Locked nodes are never
  // added or removed. Both answer whether the set changed.
  bool addNodeAt(std::set<double>& nodes, const QPoint& pos) const;
  bool removeNodeAt(std::set<double>& nodes, const QPoint& pos) const;
  // The same edits from the node editors' keys (Alt+Insert, Alt+Delete), as
  // the clicks that would make them: add midway after node `index` (before
  // the last node), remove node `index`; the editor at the place of the
  // change keeps the focus. `add` and `remove` are the widget's click handlers.
  void connectNodeKeys(const std::function<void(const QPoint&)>& add,
                       const std::function<void(const QPoint&)>& remove);

  // Marks edit by whether its text is acceptable; true when it is.
  static bool highlightAcceptable(QLineEdit* edit);
  // True when the edit holds a finite number within its double validator's
  // range (up to the 6 digits the widgets write bounds with): what a session
  // stores of it opens again.
  static bool holdsUsableNumber(const QLineEdit* edit);
  // Gives w the invalid-input style and returns name.
  static QString markInvalid(QWidget* w, const QString& name);

  // Fills box with the translated names of shapes, each carrying its code:
  // the choice is read back by code, never by its displayed text.
  static void fillShapes(QComboBox* box, std::initializer_list<DataHolders::Shape> shapes);
  // The code of the chosen shape (the triangle when none is chosen).
  static int32_t shapeCode(const QComboBox* box);

  // For kinds that add and remove nodes with Ctrl+clicks: the partition
  // plot's status tip names those mouse actions too, and the user's node set
  // starts from the record's finite nodes.
  void setNodeSetEditable(bool editable);

  // The user's node set; rebuilt from the editor only when it is needed after
  // nodes moved (a drag must not pay for sorting all nodes at every step).
  std::set<double>& userNodes() const;
  // Takes these positions as the user's node set.
  void keepUserNodes(const QVector<double>& nodes);

  Ui::PartitionWidgetBase* baseUi;
  PartitionEditor* editor;
  QSharedPointer<DataHolders::Partitions::PartBase> partitionRecord;
  bool locked = false;

private:
  // The partition plot's status tip: what the mouse does there now.
  void describeMouseActions();

  QList<QMetaObject::Connection> propagation;
  bool nodeSetEditable = false;
  mutable std::set<double> nodeSet;
  mutable bool nodeSetStale = false;
};

#endif
