#pragma once
// The new-user wizard ("添加新用户"): page 1 asks for the name and the
// description, page 2 for the password typed twice; "完   成" writes the
// user with a ready catalogue and adds the entry to the administration list.

#include <QDialog>

class IMessageBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class TDataModule1;

class TUserGuideFrm : public QDialog {
    Q_OBJECT
public:
    // list: the administration list that receives the new user's entry (may be null).
    TUserGuideFrm(TDataModule1* dm, IMessageBox* msg, QTreeWidget* list, QWidget* parent = nullptr);

    int page() const { return page_; }
    int createdUserId() const { return createdId_; }

    QLabel* Image1;
    QFrame* Bevel1;
    QLabel* Label1; // title
    QLabel* Label2; // first caption
    QLabel* Label3; // second caption
    QLabel* Label4; // hint
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QPushButton* Button1; // < 上一步
    QPushButton* Button2; // 下一步 > / 完   成
    QPushButton* Button3; // 取  消

private:
    void showPage(int page);
    void keepPage();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void finish();

    TDataModule1* dm_;
    IMessageBox* msg_;
    QTreeWidget* list_;
    int page_ = 0;
    bool hintShown_ = false;
    int createdId_ = -1;
    QString name_, description_, password_, confirmation_;
};
