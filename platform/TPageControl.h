#pragma once
// Tabbed pages; each page is a control whose children use its coordinates.

#include "platform/TControl.h"

#include <memory>
#include <vector>

class TPageControl : public TControl {
public:
    TPageControl(QWidget* parent, int left, int top, int width, int height);

    // Adds a page and returns it.
    TControl& AddPage(const std::string& caption);
    int PageCount() const { return static_cast<int>(Pages_.size()); }
    std::string PageCaption(int index) const;
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);

private:
    std::vector<std::unique_ptr<TControl>> Pages_;
};
