#pragma once
// The button row shared by the catalogue dialogs (new class, account details).

class QHBoxLayout;
class QPushButton;
class QWidget;

// "确定" and "取消" at the right, named BitBtn1 and BitBtn2, not auto-default
// (Enter is handled by DialogKeys), at least 80 wide.
QHBoxLayout* okCancelRow(QWidget* parent, QPushButton** ok, QPushButton** cancel);
