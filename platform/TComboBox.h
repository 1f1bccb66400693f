#pragma once
// A drop-down list with an edit field that always shows one of its items:
// the field cannot be typed into, so the selection never leaves the items.

#include "platform/TControl.h"

#include <vector>

class TComboBox : public TControl {
public:
    TComboBox(QWidget* parent, int left, int top, int width, int height,
              const std::vector<std::string>& items);

    int ItemCount() const;
    std::string Item(int index) const;
    // -1 only while there are no items.
    int ItemIndex() const;
    // Indexes outside the items are ignored.
    void SetItemIndex(int index);
    std::string Text() const;
};
