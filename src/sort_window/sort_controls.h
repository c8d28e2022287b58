#pragma once

#include <array>

class QAction;
class QMenu;
class QMenuBar;
class QPushButton;
class SortList;

// The sort window's controls and menus, under the names the rest of the program knows them by.
struct SortControls {
    SortList* ListView1 = nullptr;
    std::array<QPushButton*, 2> CmdOK{}; // 0 saves, 1 discards
    QMenuBar* menuBar = nullptr;
    QMenu* menu_file = nullptr;
    QAction* menu_SaveClose = nullptr;
    QAction* menu_Cancel = nullptr;
    QMenu* popup = nullptr; // the edit menu, also the list's context menu
    QAction* itemUp = nullptr;
    QAction* itemDown = nullptr;
};
