#pragma once
// The round indicators: the window's "Connected:" and "In Sync:" and the pages' own in-sync
// marks. They start off. Amber is "Connected:" for a port open with no gateway answering.
class QLabel;

namespace korvex::ui::widgets {

QLabel* makeIndicator(const char* objectName);
void showIndicator(QLabel& indicator, bool on);
void showAmberIndicator(QLabel& indicator);

} // namespace korvex::ui::widgets
