#ifndef QUELMORA_COMPONENTEDITSOWNER_H
#define QUELMORA_COMPONENTEDITSOWNER_H

// What the component table needs from the holder of the edited components
// (the F-transform controller). The table lives in a lower layer than the
// controller, so it reaches it only through this interface.
class ComponentEditsOwner
{
public:
  virtual ~ComponentEditsOwner() = default;

  // Discards every edited component and recomputes the transforms.
  virtual void resetEditedComponents() = 0;

protected:
  ComponentEditsOwner() = default;
  ComponentEditsOwner(const ComponentEditsOwner&) = default;
  ComponentEditsOwner& operator=(const ComponentEditsOwner&) = default;
};

#endif
