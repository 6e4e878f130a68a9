#pragma once
// How the document reaches the control panel and the data view without knowing them.
// Calls arrive in the order the model makes them; tests record that order.

namespace ohmlet {

class Component;

class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;
    // Fill the current-component fields from component, or empty them for none.
    virtual void ShowComponent(const Component* /*component*/) {}
    // Refill the component list (and the totals' texts).
    virtual void RefreshComponentList() {}
    // Rewrite the point count of the current component's row.
    virtual void RefreshPointCount() {}
    // Rebuild the reading grid of the current component.
    virtual void RebuildGrid() {}
    // Redraw one row of the component list (its tick changed).
    virtual void RefreshComponentRow(int /*index*/) {}
};

}  // namespace ohmlet
