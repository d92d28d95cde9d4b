// The main window's menu bar. Every item carries its command id in
// QAction::data() and its display text, shortcut text after the tab
// included; no item has a key sequence of its own, because the key router
// runs the shortcuts. Items start enabled or grayed as the menu loads.
#pragma once

#include <map>

class QAction;
class QMenuBar;
class QWidget;

namespace tessel {

QMenuBar* createMainMenu(QWidget* parent, std::map<int, QAction*>& actionsById);

} // namespace tessel
