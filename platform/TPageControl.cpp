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
    AsTabs(widget_)->setDocumentMode(false);
    SetBounds(left, top, width, height);
}

TControl& TPageControl::AddPage(const std::string& caption) {
    auto* page = new QWidget;
    AsTabs(widget_)->addTab(page, ToQ(caption));
    pages_.push_back(std::make_unique<TControl>(page));
    return *pages_.back();
}

std::string TPageControl::PageCaption(int index) const {
    return FromQ(AsTabs(widget_)->tabText(index));
}

int TPageControl::ActivePageIndex() const {
    return AsTabs(widget_)->currentIndex();
}

void TPageControl::SetActivePageIndex(int index) {
    AsTabs(widget_)->setCurrentIndex(index);
}
