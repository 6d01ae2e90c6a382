#include "searchforms.h"

#include "datamodule.h"
#include "dates.h"
#include "dialogkeys.h"
#include "fieldrules.h"
#include "gridpages.h"
#include "money.h"
#include "services.h"

#include <QAbstractItemView>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString kAll = QStringLiteral("所有");
const QString kSeparator = QStringLiteral("----------------------");

bool isSeparator(const QString& text) { return text.startsWith(QLatin1String("-----")); }

// Rows of the catalogue by flag (the user's, and the shared rows for categories).
QVector<QPair<QString, QString>> catalogueRows(TDataModule1* dm, const QString& flag)
{
    QVector<QPair<QString, QString>> rows;
    const bool shared = flag == QLatin1String("2") || flag == QLatin1String("3");
    QueryResult r;
    if (dm->db().select(QStringLiteral("SELECT TypeID, TypeName FROM AC_Type WHERE (UserID = ? OR UserID = ?) AND TypeFlag = ? "
                                       "AND UseFlag <> '0' ORDER BY TypeID"),
                        {dm->currentUserId(), shared ? 0 : dm->currentUserId(), flag}, &r))
        for (int i = 0; i < r.size(); ++i)
            rows.append({r.text(i, QStringLiteral("TypeID")), r.text(i, QStringLiteral("TypeName"))});
    return rows;
}

// Left/Right swallowed; Space selects the next item, wrapping.
class ListKeys : public QObject {
public:
    ListKeys(QObject* parent, std::function<void()> changed) : QObject(parent), changed_(std::move(changed)) {}
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress && e->type() != QEvent::ShortcutOverride)
            return false;
        auto* cb = qobject_cast<QComboBox*>(o);
        if (!cb && o->parent())
            cb = qobject_cast<QComboBox*>(o->parent()); // the line of an editable list
        auto* k = static_cast<QKeyEvent*>(e);
        if (!cb)
            return false;
        if (k->key() == Qt::Key_Left || k->key() == Qt::Key_Right) {
            e->accept();
            return true;
        }
        if (k->key() == Qt::Key_Space && e->type() == QEvent::KeyPress && cb->count() > 0) {
            cb->setCurrentIndex((cb->currentIndex() + 1) % cb->count());
            if (changed_)
                changed_();
            return true;
        }
        return false;
    }

private:
    std::function<void()> changed_;
};

// A click on the read-only line of a drop-down list opens its list.
class PopupOnClick : public QObject {
public:
    explicit PopupOnClick(QComboBox* box) : QObject(box), box_(box) {}
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonRelease) {
            box_->showPopup();
            return true;
        }
        return false;
    }

private:
    QComboBox* box_;
};

QLineEdit* textBox(int maxLength)
{
    auto* e = new QLineEdit;
    e->setMaxLength(maxLength);
    return e;
}

} // namespace

// --- multi-select drop-down -------------------------------------------------------------

CheckComboBox::CheckComboBox(QWidget* parent) : QComboBox(parent), model_(new QStandardItemModel(this))
{
    setModel(model_);
    setEditable(true);
    lineEdit()->setReadOnly(true);
    lineEdit()->installEventFilter(this);
    view()->viewport()->installEventFilter(this);
    setMaxVisibleItems(12);
    updateText();
}

void CheckComboBox::clearItems()
{
    model_->clear();
    updateText();
}

void CheckComboBox::addCheckItem(const QString& text, const QString& code)
{
    auto* item = new QStandardItem(text);
    item->setData(code, Qt::UserRole);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    item->setData(Qt::Unchecked, Qt::CheckStateRole);
    model_->appendRow(item);
    updateText();
}

int CheckComboBox::itemCount() const { return model_->rowCount(); }

bool CheckComboBox::isTicked(int i) const { return model_->item(i)->checkState() == Qt::Checked; }

void CheckComboBox::setTicked(int i, bool on)
{
    model_->item(i)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    updateText();
}

QString CheckComboBox::itemCode(int i) const { return model_->item(i)->data(Qt::UserRole).toString(); }

QString CheckComboBox::codes() const
{
    QStringList codes;
    bool all = true;
    bool first = true;
    for (int i = 0; i < itemCount(); ++i) {
        if (!isTicked(i)) {
            if (!isSeparator(model_->item(i)->text()))
                all = false;
            continue;
        }
        if (first && model_->item(i)->text() == kAll)
            return QString();
        first = false;
        if (!isSeparator(model_->item(i)->text()))
            codes << itemCode(i);
    }
    if (codes.isEmpty())
        return QStringLiteral("000");
    if (all)
        return QString();
    return codes.join(QLatin1Char(','));
}

void CheckComboBox::setCodes(const QString& remembered)
{
    const QStringList wanted = remembered.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (int i = 0; i < itemCount(); ++i) {
        const QString text = model_->item(i)->text();
        const bool on = remembered.isEmpty() ? !isSeparator(text) : wanted.contains(itemCode(i)) && !itemCode(i).isEmpty();
        model_->item(i)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    updateText();
}

QString CheckComboBox::shownText() const { return lineEdit()->text(); }

void CheckComboBox::updateText()
{
    QStringList names;
    bool all = itemCount() > 0;
    for (int i = 0; i < itemCount(); ++i) {
        const QString text = model_->item(i)->text();
        if (isTicked(i)) {
            if (text != kAll && !isSeparator(text))
                names << text;
        } else if (!isSeparator(text) && text != kAll) {
            all = false;
        }
    }
    if (itemCount() > 0 && isTicked(0) && model_->item(0)->text() == kAll)
        all = true;
    lineEdit()->setText(all ? kAll : names.join(QLatin1Char(',')));
    lineEdit()->setCursorPosition(0);
}

void CheckComboBox::showPopup()
{
    keepOpen_ = true;
    QComboBox::showPopup();
}

void CheckComboBox::hidePopup()
{
    if (keepOpen_ && view()->isVisible() && view()->underMouse())
        return;
    keepOpen_ = false;
    QComboBox::hidePopup();
    updateText();
}

bool CheckComboBox::eventFilter(QObject* o, QEvent* e)
{
    if (o == lineEdit() && e->type() == QEvent::MouseButtonRelease) {
        showPopup();
        return true;
    }
    if (o == view()->viewport() && e->type() == QEvent::MouseButtonRelease) {
        auto* me = static_cast<QMouseEvent*>(e);
        const QModelIndex i = view()->indexAt(me->pos());
        if (i.isValid()) {
            const bool on = model_->item(i.row())->checkState() != Qt::Checked;
            if (i.row() == 0 && model_->item(0)->text() == kAll) {
                for (int r = 0; r < itemCount(); ++r)
                    if (!isSeparator(model_->item(r)->text()))
                        model_->item(r)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
            } else {
                model_->item(i.row())->setCheckState(on ? Qt::Checked : Qt::Unchecked);
                if (!on && itemCount() > 0 && model_->item(0)->text() == kAll)
                    model_->item(0)->setCheckState(Qt::Unchecked);
            }
            updateText();
        }
        return true;
    }
    return QComboBox::eventFilter(o, e);
}

// --- ledger search -----------------------------------------------------------------------

TActSearchFrm::TActSearchFrm(TDataModule1* dm, IMessageBox* messages, GridPages* pages, QWidget* parent)
    : QDialog(parent), dm_(dm), messages_(messages), pages_(pages)
{
    setWindowTitle(QStringLiteral("收支查询"));
    setObjectName(QStringLiteral("TActSearchFrm"));
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(8);
    int row = 0;
    auto label = [&grid, &row](const QString& text) {
        auto* l = new QLabel(text);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(l, row, 0);
    };
    auto pair = [&grid, &row](QWidget* a, QWidget* b) {
        auto* h = new QHBoxLayout;
        h->setContentsMargins(0, 0, 0, 0);
        h->addWidget(a, 1);
        h->addWidget(new QLabel(QStringLiteral("至")));
        h->addWidget(b, 1);
        grid->addLayout(h, row, 1);
    };
    DateEdit1 = new QLineEdit;
    DateEdit2 = new QLineEdit;
    for (QLineEdit* e : {DateEdit1, DateEdit2})
        e->setInputMask(FieldRules::kDateMask);
    label(QStringLiteral("发生日期："));
    pair(DateEdit1, DateEdit2);
    ++row;
    ComboBox1 = new QComboBox;
    ComboBox1->addItems({kAll, QStringLiteral("支出"), QStringLiteral("收入")});
    // Shown through a read-only line like the multi-select boxes beneath it.
    ComboBox1->setEditable(true);
    ComboBox1->lineEdit()->setReadOnly(true);
    ComboBox1->lineEdit()->installEventFilter(new PopupOnClick(ComboBox1));
    label(QStringLiteral("收支类型："));
    grid->addWidget(ComboBox1, row++, 1);
    CategoryBox = new CheckComboBox;
    label(QStringLiteral("收支分类："));
    grid->addWidget(CategoryBox, row++, 1);
    AccountBox = new CheckComboBox;
    label(QStringLiteral("交易帐户："));
    grid->addWidget(AccountBox, row++, 1);
    MemberBox = new CheckComboBox;
    label(QStringLiteral("家庭成员："));
    grid->addWidget(MemberBox, row++, 1);
    MinEdit = textBox(20);
    MaxEdit = textBox(20);
    label(QStringLiteral("金额范围："));
    pair(MinEdit, MaxEdit);
    ++row;
    MarkEdit = textBox(250);
    label(QStringLiteral("收支说明："));
    grid->addWidget(MarkEdit, row++, 1);
    grid->setColumnMinimumWidth(1, 260);

    SearchButton = new QPushButton(QStringLiteral("查询"));
    CancelButton = new QPushButton(QStringLiteral("取消"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(SearchButton);
    buttons->addWidget(CancelButton);

    // The saved statistics queries: laid out, not in use.
    auto* saved = new QGroupBox(QStringLiteral("常用统计查询"));
    saved->setObjectName(QStringLiteral("GroupBox1"));
    auto* sl = new QVBoxLayout(saved);
    sl->addWidget(new QLabel(QStringLiteral("查询名称：")));
    sl->addWidget(new QTableWidget(0, 1));
    sl->addWidget(new QPushButton(QStringLiteral("删除")));
    sl->addWidget(new QPushButton(QStringLiteral("保存")));
    saved->hide();

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(16, 14, 16, 12);
    top->addLayout(grid);
    top->addSpacing(6);
    top->addLayout(buttons);
    top->addWidget(saved);
    top->setSizeConstraint(QLayout::SetFixedSize);

    connect(SearchButton, &QPushButton::clicked, this, &TActSearchFrm::SearchButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, [this] {
        dm_->clickSound();
        reject();
    });
    connect(ComboBox1, qOverload<int>(&QComboBox::activated), this, [this] { fillCategories(ComboBox1->currentText()); });
    DialogKeys::install(this, SearchButton);
    auto* typeKeys = new ListKeys(this, [this] { fillCategories(ComboBox1->currentText()); });
    ComboBox1->installEventFilter(typeKeys);
    ComboBox1->lineEdit()->installEventFilter(typeKeys);

    // Once per run.
    const QDate today = pages_ ? pages_->today() : QDate::currentDate();
    int n = dm_->readSetting(13).toInt();
    if (n <= 0)
        n = 30;
    DateEdit1->setText(today.addDays(-n).toString(QStringLiteral("yyyy-MM-dd")));
    DateEdit2->setText(today.toString(QStringLiteral("yyyy-MM-dd")));
}

void TActSearchFrm::fillCategories(const QString& type)
{
    // Keep the ticked codes that still exist.
    QString keep;
    if (CategoryBox->itemCount() > 0) {
        keep = CategoryBox->codes();
        if (keep == QLatin1String("000"))
            keep = QStringLiteral("000");
    }
    CategoryBox->clearItems();
    CategoryBox->addCheckItem(kAll, QString());
    auto add = [this, &type](const QString& flag) {
        for (const auto& r : catalogueRows(dm_, flag)) {
            if (type != kAll && r.first == QLatin1String("299"))
                continue;
            CategoryBox->addCheckItem(r.second, r.first);
        }
    };
    if (type == QStringLiteral("收入")) {
        add(QStringLiteral("3"));
    } else if (type == QStringLiteral("支出")) {
        add(QStringLiteral("2"));
    } else {
        add(QStringLiteral("2"));
        add(QStringLiteral("3"));
    }
    CategoryBox->setCodes(keep);
    if (keep.isEmpty())
        CategoryBox->setTicked(0, true);
}

void TActSearchFrm::prepare()
{
    AccountBox->clearItems();
    AccountBox->addCheckItem(kAll, QString());
    for (const auto& r : catalogueRows(dm_, QStringLiteral("1")))
        AccountBox->addCheckItem(r.second, r.first);
    const int ti = rememberedType.isEmpty() ? 0 : ComboBox1->findText(rememberedType);
    ComboBox1->setCurrentIndex(ti < 0 ? 0 : ti);
    CategoryBox->clearItems();
    fillCategories(ComboBox1->currentText());
    CategoryBox->setCodes(rememberedCategories);
    AccountBox->setCodes(rememberedAccounts);
    DateEdit1->setFocus();
}

void TActSearchFrm::showEvent(QShowEvent* e)
{
    prepare();
    if (parentWidget())
        move(parentWidget()->window()->geometry().center() - rect().center());
    QDialog::showEvent(e);
}

bool TActSearchFrm::eventFilter(QObject* o, QEvent* e) { return QDialog::eventFilter(o, e); }

void TActSearchFrm::SearchButtonClick()
{
    dm_->clickSound();
    const QDate from = Dates::parse(DateEdit1->displayText());
    const QDate to = Dates::parse(DateEdit2->displayText());
    if (!from.isValid() || !to.isValid()) {
        messages_->show(QStringLiteral("提示"), QStringLiteral("请输入完整的发生日期！"), MsgIcon::Information);
        (from.isValid() ? DateEdit2 : DateEdit1)->setFocus();
        return;
    }
    rememberedType = ComboBox1->currentText();
    rememberedAccounts = AccountBox->codes();
    rememberedCategories = CategoryBox->codes();
    const QString minText = MinEdit->text().trimmed();
    const QString maxText = MaxEdit->text().trimmed();
    Money m;
    if (!minText.isEmpty() && !Money::parse(minText, &m)) {
        messages_->show(QStringLiteral("提示"), QStringLiteral("最小金额范围错误，请重新输入！"), MsgIcon::Information);
        MinEdit->setFocus();
        return;
    }
    if (!maxText.isEmpty() && !Money::parse(maxText, &m)) {
        messages_->show(QStringLiteral("提示"), QStringLiteral("最大金额范围错误，请重新输入！"), MsgIcon::Information);
        MaxEdit->setFocus();
        return;
    }
    RecordFilters::LedgerQuery q;
    q.type = rememberedType;
    q.accounts = rememberedAccounts.split(QLatin1Char(','), Qt::SkipEmptyParts);
    q.categories = rememberedCategories.split(QLatin1Char(','), Qt::SkipEmptyParts);
    q.minAmount = minText;
    q.maxAmount = maxText;
    q.description = MarkEdit->text().trimmed();
    q.start = from;
    q.end = to;
    dm_->viewStart = from;
    dm_->viewEnd = to;
    if (pages_) {
        pages_->DateRangeStaticText->setText(RecordFilters::rangeCaption(from, to));
        pages_->filters.runLedgerQuery(q);
    }
    accept();
}

// --- address-book search ------------------------------------------------------------------

namespace {

QComboBox* typeList(QDialog*)
{
    return new QComboBox;
}

void fillTypes(QComboBox* cb, TDataModule1* dm, const QString& flag, const QString& remembered)
{
    cb->clear();
    cb->addItem(kAll, QString());
    for (const auto& r : catalogueRows(dm, flag))
        cb->addItem(r.second, r.first);
    const int i = cb->findText(remembered);
    cb->setCurrentIndex(i < 0 ? 0 : i);
}

QGridLayout* formGrid(QDialog* d, const QList<QPair<QString, QWidget*>>& rows, QPushButton* ok, QPushButton* cancel)
{
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(6);
    for (int i = 0; i < rows.size(); ++i) {
        auto* l = new QLabel(rows[i].first);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(l, i, 0);
        grid->addWidget(rows[i].second, i, 1);
    }
    grid->setColumnMinimumWidth(1, 260);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* top = new QVBoxLayout(d);
    top->setContentsMargins(16, 14, 16, 12);
    top->addLayout(grid);
    top->addSpacing(6);
    top->addLayout(buttons);
    top->setSizeConstraint(QLayout::SetFixedSize);
    return grid;
}

} // namespace

TAddrSearchFrm::TAddrSearchFrm(TDataModule1* dm, GridPages* pages, QWidget* parent)
    : QDialog(parent), dm_(dm), pages_(pages)
{
    setWindowTitle(QStringLiteral("通讯录查询"));
    setObjectName(QStringLiteral("TAddrSearchFrm"));
    NameEdit = textBox(50);
    TypeBox = typeList(this);
    PhoneEdit = textBox(50);
    QQEdit = textBox(50);
    EmailEdit = textBox(255);
    HomepageEdit = textBox(255);
    BirthdayEdit = textBox(10);
    AddressEdit = textBox(250);
    CompanyEdit = textBox(250);
    TitleEdit = textBox(50);
    MiscEdit = textBox(250);
    SearchButton = new QPushButton(QStringLiteral("查询"));
    CancelButton = new QPushButton(QStringLiteral("取消"));
    formGrid(this,
             {{QStringLiteral("姓名："), NameEdit},
              {QStringLiteral("类别："), TypeBox},
              {QStringLiteral("电话："), PhoneEdit},
              {QStringLiteral("QQ："), QQEdit},
              {QStringLiteral("Email："), EmailEdit},
              {QStringLiteral("主页："), HomepageEdit},
              {QStringLiteral("生日："), BirthdayEdit},
              {QStringLiteral("通信地址："), AddressEdit},
              {QStringLiteral("公司名称："), CompanyEdit},
              {QStringLiteral("职位："), TitleEdit},
              {QStringLiteral("备注："), MiscEdit}},
             SearchButton, CancelButton);
    connect(SearchButton, &QPushButton::clicked, this, &TAddrSearchFrm::SearchButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, [this] {
        dm_->clickSound();
        reject();
    });
    DialogKeys::install(this, SearchButton);
    TypeBox->installEventFilter(new ListKeys(this, nullptr));
}

void TAddrSearchFrm::prepare()
{
    fillTypes(TypeBox, dm_, QStringLiteral("5"), rememberedType);
    NameEdit->setFocus();
}

void TAddrSearchFrm::showEvent(QShowEvent* e)
{
    prepare();
    if (parentWidget())
        move(parentWidget()->window()->geometry().center() - rect().center());
    QDialog::showEvent(e);
}

void TAddrSearchFrm::SearchButtonClick()
{
    dm_->clickSound();
    rememberedType = TypeBox->currentText();
    RecordFilters::AddressQuery q;
    q.typeId = TypeBox->currentIndex() <= 0 ? QString() : TypeBox->currentData().toString();
    q.name = NameEdit->text().trimmed();
    q.phone = PhoneEdit->text().trimmed();
    q.qq = QQEdit->text().trimmed();
    q.email = EmailEdit->text().trimmed();
    q.homepage = HomepageEdit->text().trimmed();
    q.birthday = BirthdayEdit->text().trimmed();
    q.address = AddressEdit->text().trimmed();
    q.company = CompanyEdit->text().trimmed();
    q.title = TitleEdit->text().trimmed();
    q.misc = MiscEdit->text().trimmed();
    if (pages_)
        pages_->filters.filterAddress(q);
    accept();
}

// --- favourites search ---------------------------------------------------------------------

TMemoSearchFrm::TMemoSearchFrm(TDataModule1* dm, GridPages* pages, QWidget* parent)
    : QDialog(parent), dm_(dm), pages_(pages)
{
    setWindowTitle(QStringLiteral("备忘录查询"));
    setObjectName(QStringLiteral("TMemoSearchFrm"));
    NameEdit = textBox(50);
    TypeBox = typeList(this);
    URLEdit = textBox(255);
    DescriptionEdit = textBox(250);
    SearchButton = new QPushButton(QStringLiteral("查询"));
    CancelButton = new QPushButton(QStringLiteral("取消"));
    formGrid(this,
             {{QStringLiteral("名称："), NameEdit},
              {QStringLiteral("类别："), TypeBox},
              {QStringLiteral("网址："), URLEdit},
              {QStringLiteral("说明："), DescriptionEdit}},
             SearchButton, CancelButton);
    connect(SearchButton, &QPushButton::clicked, this, &TMemoSearchFrm::SearchButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, [this] {
        dm_->clickSound();
        reject();
    });
    DialogKeys::install(this, SearchButton);
    TypeBox->installEventFilter(new ListKeys(this, nullptr));
}

void TMemoSearchFrm::prepare()
{
    fillTypes(TypeBox, dm_, QStringLiteral("6"), rememberedType);
    NameEdit->setFocus();
}

void TMemoSearchFrm::showEvent(QShowEvent* e)
{
    prepare();
    if (parentWidget())
        move(parentWidget()->window()->geometry().center() - rect().center());
    QDialog::showEvent(e);
}

void TMemoSearchFrm::SearchButtonClick()
{
    dm_->clickSound();
    rememberedType = TypeBox->currentText();
    RecordFilters::MemoQuery q;
    q.typeId = TypeBox->currentIndex() <= 0 ? QString() : TypeBox->currentData().toString();
    q.name = NameEdit->text().trimmed();
    q.url = URLEdit->text().trimmed();
    q.description = DescriptionEdit->text().trimmed();
    if (pages_)
        pages_->filters.filterMemo(q);
    accept();
}
