#pragma once
// User administration ("用户和密码"): lists every user and lets the
// administrator add, delete, rename, describe, lock and unlock users, set
// passwords and choose the default user signed in automatically.

#include <QDialog>

class IMessageBox;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TDataModule1;

class TUserAndPassWordFrm : public QDialog {
    Q_OBJECT
public:
    TUserAndPassWordFrm(TDataModule1* dm, IMessageBox* msg, QWidget* parent = nullptr);

    // The entry the buttons act on (nullptr when none is selected).
    QTreeWidgetItem* selectedEntry() const;
    // The list row of a user name (nullptr when not listed).
    QTreeWidgetItem* entryOf(const QString& name) const;

    QLabel* Label1;
    QLabel* Label2;
    QCheckBox* CheckBox1;
    QTreeWidget* ListView1;
    QPushButton* BitBtn3; // 添加
    QPushButton* BitBtn4; // 删除
    QPushButton* BitBtn5; // 属性
    QGroupBox* GroupBox1;
    QLabel* Image1;
    QLabel* Label3;
    QLabel* Label5;
    QPushButton* BitBtn6; // 设置密码
    QPushButton* BitBtn1; // 确定
    QPushButton* BitBtn2; // 取消

protected:
    void showEvent(QShowEvent* e) override;

private:
    void fillList();
    void FormActivate();
    void ListView1SelectItem();
    void showPasswordPart(const QString& name);
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();
    void BitBtn6Click();

    TDataModule1* dm_;
    IMessageBox* msg_;
};
