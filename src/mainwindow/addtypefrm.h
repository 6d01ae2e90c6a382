#pragma once
// The small naming dialogs of the category tree: TAddTypeFrm for income and
// expense categories (with the "参与统计" box) and TAddOtherTypeFrm for
// address-book and favourites groups.

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TDataModule1;

class TAddTypeFrm : public QDialog {
    Q_OBJECT
public:
    enum Mode { Add, Edit };
    // Add mode: `code` is the class code of the new member. Edit mode: the
    // member's own code.
    TAddTypeFrm(TDataModule1* dm, Mode mode, const QString& code, QWidget* parent = nullptr);

    Mode mode() const { return mode_; }
    // The code of the created member after an accepted add.
    QString newCode() const { return newCode_; }

    QLabel* Label1;
    QLineEdit* TypeNameEdit;
    QCheckBox* FlagCheckBox = nullptr;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

public slots:
    void BitBtn1Click();
    void BitBtn2Click();

protected:
    TAddTypeFrm(TDataModule1* dm, Mode mode, const QString& code, bool withFlag, QWidget* parent);
    void showEvent(QShowEvent* e) override;

private:
    void build(bool withFlag);
    void load();
    TDataModule1* dm_;
    Mode mode_;
    QString code_;
    QString newCode_;
    bool loaded_ = false;
};

class TAddOtherTypeFrm : public TAddTypeFrm {
    Q_OBJECT
public:
    TAddOtherTypeFrm(TDataModule1* dm, Mode mode, const QString& code, QWidget* parent = nullptr);
};
