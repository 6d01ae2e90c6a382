#pragma once
// The sign-in window: pick a name, type the password. Its "用户管理" button
// leads to user administration behind the administrator's password.

#include <QDialog>

class IMessageBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TDataModule1;

class TLoginFrm : public QDialog {
    Q_OBJECT
public:
    TLoginFrm(TDataModule1* dm, IMessageBox* msg, QWidget* parent = nullptr);

    // Fills the list with the users who may sign in and preselects the last
    // signed-in one (setting 3), else the first.
    void refillUserList();

    QLabel* Label1;
    QLabel* Label2;
    QComboBox* ComboBox1;
    QLineEdit* MaskEdit1;
    QPushButton* BitBtn1; // 确定
    QPushButton* BitBtn2; // 取消
    QPushButton* BitBtn3; // 用户管理

protected:
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    // What becoming active does: refill the list, re-centre, focus the password.
    void FormActivate();
    // A child window closed: the list is refilled once this window is active again.
    void childClosed();

    TDataModule1* dm_;
    IMessageBox* msg_;
    bool refillOnActivate_ = false;
};
