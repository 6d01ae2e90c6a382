#pragma once
// The three search windows, created once and hidden between uses:
// TActSearchFrm (ledger), TAddrSearchFrm (address book), TMemoSearchFrm
// (favourites); and the multi-select drop-down the ledger search uses.

#include <QComboBox>
#include <QDialog>

class GridPages;
class IMessageBox;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class TDataModule1;

// A drop-down of items with check boxes. codes(): the ticked items' codes
// joined by ","; empty when the first ticked item is "所有" or everything is
// ticked; "000" (a code no row has) when nothing is ticked.
class CheckComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit CheckComboBox(QWidget* parent = nullptr);
    void clearItems();
    void addCheckItem(const QString& text, const QString& code);
    int itemCount() const;
    bool isTicked(int i) const;
    void setTicked(int i, bool on);
    QString itemCode(int i) const;
    QString codes() const;
    // Ticks the items whose codes the text lists; empty ticks every item but separators.
    void setCodes(const QString& remembered);
    QString shownText() const;
    void showPopup() override;
    void hidePopup() override;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void updateText();
    QStandardItemModel* model_;
    bool keepOpen_ = false;
};

class TActSearchFrm : public QDialog {
    Q_OBJECT
public:
    TActSearchFrm(TDataModule1* dm, IMessageBox* messages, GridPages* pages, QWidget* parent = nullptr);

    QLineEdit *DateEdit1, *DateEdit2;   // from, to
    QComboBox* ComboBox1;               // type
    CheckComboBox* CategoryBox;
    CheckComboBox* AccountBox;
    CheckComboBox* MemberBox;
    QLineEdit *MinEdit, *MaxEdit, *MarkEdit;
    QPushButton *SearchButton, *CancelButton;

    // Remembered choices of the run.
    QString rememberedType, rememberedAccounts, rememberedCategories;

    void fillCategories(const QString& type);
    void prepare(); // what showing the window does
    void SearchButtonClick();

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    TDataModule1* dm_;
    IMessageBox* messages_;
    GridPages* pages_;
};

class TAddrSearchFrm : public QDialog {
    Q_OBJECT
public:
    TAddrSearchFrm(TDataModule1* dm, GridPages* pages, QWidget* parent = nullptr);
    QLineEdit *NameEdit, *PhoneEdit, *QQEdit, *EmailEdit, *HomepageEdit, *BirthdayEdit, *AddressEdit, *CompanyEdit,
        *TitleEdit, *MiscEdit;
    QComboBox* TypeBox;
    QPushButton *SearchButton, *CancelButton;
    QString rememberedType;
    void prepare();
    void SearchButtonClick();

protected:
    void showEvent(QShowEvent* e) override;

private:
    TDataModule1* dm_;
    GridPages* pages_;
};

class TMemoSearchFrm : public QDialog {
    Q_OBJECT
public:
    TMemoSearchFrm(TDataModule1* dm, GridPages* pages, QWidget* parent = nullptr);
    QLineEdit *NameEdit, *URLEdit, *DescriptionEdit;
    QComboBox* TypeBox;
    QPushButton *SearchButton, *CancelButton;
    QString rememberedType;
    void prepare();
    void SearchButtonClick();

protected:
    void showEvent(QShowEvent* e) override;

private:
    TDataModule1* dm_;
    GridPages* pages_;
};
