#pragma once
// What makes a Qt table behave like the desktop's report-style list: one Tab
// stop (Tab and Shift+Tab leave it), Home and End go to the first and last
// row, and the header is painted across the whole width.

class QTableView;

// Call once, right after the view has its model.
void ApplyReportViewChrome(QTableView* view);
