#pragma once
// "用户属性": name, description and lock of the user selected in user
// administration; confirming writes them and updates the list entry.

#include <QDialog>

class IMessageBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidgetItem;
class TDataModule1;

class TChangeCharacterFrm : public QDialog {
    Q_OBJECT
public:
    // entry: the selected row of the administration list (its name is the old name).
    TChangeCharacterFrm(TDataModule1* dm, IMessageBox* msg, QTreeWidgetItem* entry, QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label3;
    QLineEdit* Edit1; // 用户名
    QLineEdit* Edit3; // 说明
    QCheckBox* LockCheckBox;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void BitBtn1Click();
    void BitBtn2Click();

    TDataModule1* dm_;
    IMessageBox* msg_;
    QTreeWidgetItem* entry_;
};
