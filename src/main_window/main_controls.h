#pragma once

#include "platform/title_selector.h"
#include "shapes.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>

// The main window's controls, under the names the rest of the program knows them by.
struct MainControls {
    TitleSelector* IComboTitle = nullptr;
    QPushButton* Bt_Add = nullptr;
    QPushButton* Bt_Edit = nullptr;
    QPushButton* Bt_Del = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QLabel*, 7> Label1{};
    std::array<QLabel*, 3> Lb_data{};
    std::array<QPushButton*, 2> Bt_Clip{};
    QPushButton* CmdURL = nullptr;
    FilledShape* Shape2 = nullptr;
    QPushButton* cmdTop = nullptr;
    OutlineShape* Shape1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* LbClipBoard = nullptr;
    QPushButton* cmdSort = nullptr;
    LineShape* Line1 = nullptr;
    std::array<QLineEdit*, 4> Tx_Data{};
    QLabel* Label2 = nullptr;
    std::array<QPushButton*, 2> Bt_OK{};
};
