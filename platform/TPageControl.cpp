#include "platform/TPageControl.h"

#include "platform/QtStrings.h"

#include <QTabWidget>

namespace {
QTabWidget* AsTabs(QWidget* w) {
    return static_cast<QTabWidget*>(w);
}
} // namespace

TPageControl::TPageControl(QWidget* parent, int left, int top, int width, int height)
    : TControl(new QTabWidget(parent)) {
    AsTabs(Widget_)->setDocumentMode(false);
    SetBounds(left, top, width, height);
}

TControl& TPageControl::AddPage(const std::string& caption) {
    auto* page = new QWidget;
    AsTabs(Widget_)->addTab(page, ToQ(caption));
    Pages_.push_back(std::make_unique<TControl>(page));
    return *Pages_.back();
}

std::string TPageControl::PageCaption(int index) const {
    return FromQ(AsTabs(Widget_)->tabText(index));
}

int TPageControl::ActivePageIndex() const {
    return AsTabs(Widget_)->currentIndex();
}

void TPageControl::SetActivePageIndex(int index) {
    AsTabs(Widget_)->setCurrentIndex(index);
}
