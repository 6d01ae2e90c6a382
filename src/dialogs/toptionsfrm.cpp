#include "toptionsfrm.h"

#include "artwork.h"
#include "datamodule.h"
#include "dialogkeys.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QLineEdit* numberEdit(const QString& name, const QString& text, QWidget* parent)
{
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(name);
    e->setFixedWidth(48);
    e->setAlignment(Qt::AlignRight);
    e->setMaxLength(6);
    return e;
}

QLabel* label(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    return l;
}

QHBoxLayout* row()
{
    auto* h = new QHBoxLayout;
    h->setSpacing(6);
    return h;
}

} // namespace

TOptionsFrm::TOptionsFrm(TDataModule1* dm, IMessageBox* messages, QWidget* parent)
    : QDialog(parent), dm_(dm), messages_(messages)
{
    Artwork::init();
    setObjectName(QStringLiteral("TOptionsFrm"));
    setWindowTitle(QStringLiteral("选项"));
    setWindowIcon(Artwork::icon(QStringLiteral("options")));
    setFixedSize(537, 315);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));

    // --- 常用 ----------------------------------------------------------------------
    TabGeneral = new QWidget;
    TabGeneral->setObjectName(QStringLiteral("TabGeneral"));
    auto* general = new QVBoxLayout(TabGeneral);
    general->setContentsMargins(12, 10, 12, 8);
    general->setSpacing(8);

    auto* startBox = new QGroupBox(QStringLiteral("常规"), TabGeneral);
    auto* startLay = new QGridLayout(startBox);
    startLay->setHorizontalSpacing(24);
    startLay->setVerticalSpacing(8);
    auto* runAtStart = new QCheckBox(QStringLiteral("开机运行"), startBox);
    runAtStart->setEnabled(false);
    auto* toTray = new QCheckBox(QStringLiteral("关闭窗口时，缩小到Tray"), startBox);
    toTray->setEnabled(false);
    auto* fromSunday = new QRadioButton(QStringLiteral("每周从星期日开始"), startBox);
    fromSunday->setEnabled(false);
    auto* fromMonday = new QRadioButton(QStringLiteral("每周从星期一开始"), startBox);
    fromMonday->setChecked(true);
    CheckBoxSkipFlashBox = new QCheckBox(QStringLiteral("跳过启动画面"), startBox);
    CheckBoxSkipFlashBox->setObjectName(QStringLiteral("CheckBoxSkipFlashBox"));
    startLay->addWidget(runAtStart, 0, 0);
    startLay->addWidget(toTray, 0, 1);
    startLay->addWidget(fromSunday, 1, 0);
    startLay->addWidget(fromMonday, 1, 1);
    startLay->addWidget(CheckBoxSkipFlashBox, 2, 0);
    startLay->setColumnStretch(2, 1);
    general->addWidget(startBox);

    auto* backupBox = new QGroupBox(QStringLiteral("数据备份"), TabGeneral);
    auto* backupLay = row();
    backupBox->setLayout(backupLay);
    CheckBoxBackup = new QCheckBox(QStringLiteral("每隔"), backupBox);
    CheckBoxBackup->setObjectName(QStringLiteral("CheckBoxBackup"));
    EditBackupDays = numberEdit(QStringLiteral("EditBackupDays"), QStringLiteral("30"), backupBox);
    backupLay->addWidget(CheckBoxBackup);
    backupLay->addWidget(EditBackupDays);
    backupLay->addWidget(label(QStringLiteral("天，软件退出前提示数据备份"), backupBox));
    backupLay->addStretch();
    general->addWidget(backupBox);
    general->addStretch();
    PageControl1->addTab(TabGeneral, QStringLiteral("常用"));

    // --- 收支记录 --------------------------------------------------------------------
    TabInOut = new QWidget;
    TabInOut->setObjectName(QStringLiteral("TabInOut"));
    auto* inOut = new QVBoxLayout(TabInOut);
    inOut->setContentsMargins(12, 10, 12, 8);
    inOut->setSpacing(8);

    auto* viewBox = new QGroupBox(QStringLiteral("收支记录显示"), TabInOut);
    auto* viewLay = new QVBoxLayout(viewBox);
    EditLastDays = numberEdit(QStringLiteral("EditLastDays"), QStringLiteral("30"), viewBox);
    EditLeastRec = numberEdit(QStringLiteral("EditLeastRec"), QStringLiteral("5"), viewBox);
    EditMostRec = numberEdit(QStringLiteral("EditMostRec"), QStringLiteral("30"), viewBox);
    auto* line1 = row();
    line1->addWidget(label(QStringLiteral("默认记录：显示最近"), viewBox));
    line1->addWidget(EditLastDays);
    line1->addWidget(label(QStringLiteral("天收支记录；"), viewBox));
    line1->addStretch();
    auto* line2 = row();
    line2->addWidget(label(QStringLiteral("如果记录少于"), viewBox));
    line2->addWidget(EditLeastRec);
    line2->addWidget(label(QStringLiteral("条，就显示最近"), viewBox));
    line2->addWidget(EditMostRec);
    line2->addWidget(label(QStringLiteral("条记录"), viewBox));
    line2->addStretch();
    viewLay->addLayout(line1);
    viewLay->addLayout(line2);
    inOut->addWidget(viewBox);

    auto* statBox = new QGroupBox(QStringLiteral("统计标志"), TabInOut);
    auto* statLay = new QVBoxLayout(statBox);
    ComboBoxWeekStat = new QComboBox(statBox);
    ComboBoxWeekStat->setObjectName(QStringLiteral("ComboBoxWeekStat"));
    ComboBoxWeekStat->addItems({QStringLiteral("星期一"), QStringLiteral("星期二"), QStringLiteral("星期三"),
                                QStringLiteral("星期四"), QStringLiteral("星期五"), QStringLiteral("星期六"),
                                QStringLiteral("星期日")});
    ComboBoxSeasonStat = new QComboBox(statBox);
    ComboBoxSeasonStat->setObjectName(QStringLiteral("ComboBoxSeasonStat"));
    ComboBoxSeasonStat->addItems({QStringLiteral("季前"), QStringLiteral("季中"), QStringLiteral("季末")});
    auto* weekRow = row();
    weekRow->addWidget(label(QStringLiteral("以周为单位统计时，标志显示在"), statBox));
    weekRow->addWidget(ComboBoxWeekStat);
    weekRow->addWidget(label(QStringLiteral("上"), statBox));
    weekRow->addStretch();
    auto* seasonRow = row();
    seasonRow->addWidget(label(QStringLiteral("以季为单位统计时，标志显示在每"), statBox));
    seasonRow->addWidget(ComboBoxSeasonStat);
    seasonRow->addWidget(label(QStringLiteral("上"), statBox));
    seasonRow->addStretch();
    statLay->addLayout(weekRow);
    statLay->addLayout(seasonRow);
    inOut->addWidget(statBox);
    inOut->addStretch();
    PageControl1->addTab(TabInOut, QStringLiteral("收支记录"));

    // --- buttons ----------------------------------------------------------------------
    BitBtn1 = new QPushButton(QStringLiteral("确定"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAutoDefault(false);
    BitBtn2 = new QPushButton(QStringLiteral("取消"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);
    for (QPushButton* b : {BitBtn1, BitBtn2})
        b->setMinimumWidth(80);
    auto* buttons = row();
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(10, 10, 10, 10);
    main->addWidget(PageControl1, 1);
    main->addLayout(buttons);

    connect(BitBtn1, &QPushButton::clicked, this, &TOptionsFrm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TOptionsFrm::BitBtn2Click);
    DialogKeys::install(this, BitBtn1);

    load();
}

void TOptionsFrm::load()
{
    const int interval = dm_->readSetting(10).trimmed().toInt();
    CheckBoxBackup->setChecked(interval > 0);
    if (interval != 0)
        EditBackupDays->setText(QString::number(qAbs(interval)));
    CheckBoxSkipFlashBox->setChecked(dm_->readSetting(18) == QLatin1String("1"));
    const QList<QPair<int, QLineEdit*>> counts{{13, EditLastDays}, {14, EditLeastRec}, {15, EditMostRec}};
    for (const auto& c : counts) {
        const QString v = dm_->readSetting(c.first);
        if (v != QLatin1String("0"))
            c.second->setText(v);
    }
    const int week = dm_->readSetting(16).trimmed().toInt();
    ComboBoxWeekStat->setCurrentIndex(week >= 0 && week < ComboBoxWeekStat->count() ? week : 0);
    const int season = dm_->readSetting(17).trimmed().toInt();
    ComboBoxSeasonStat->setCurrentIndex(season >= 0 && season < ComboBoxSeasonStat->count() ? season : 0);
}

bool TOptionsFrm::checkNumber(QLineEdit* edit, QWidget* tab, const QString& wrong, const QString& notPositive,
                              int* value)
{
    bool ok = false;
    const int n = edit->text().trimmed().toInt(&ok);
    if (ok && n > 0) {
        *value = n;
        return true;
    }
    PageControl1->setCurrentWidget(tab);
    messages_->info(ok ? notPositive : wrong);
    edit->setFocus();
    edit->selectAll();
    return false;
}

void TOptionsFrm::BitBtn1Click()
{
    dm_->clickSound();
    BitBtn1->setFocus(); // a field being typed in is finished first
    int days = 0;
    if (!checkNumber(EditBackupDays, TabGeneral, QStringLiteral("间隔天数错误，请重新输入！"),
                     QStringLiteral("间隔天数必须大于零，请重新输入！"), &days))
        return;
    dm_->writeSetting(10, QString::number(CheckBoxBackup->isChecked() ? days : -days));
    dm_->writeSetting(18, CheckBoxSkipFlashBox->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));

    int n = 0;
    if (!checkNumber(EditLastDays, TabInOut, QStringLiteral("天数错误，请重新输入！"),
                     QStringLiteral("天数必须大于零，请重新输入！"), &n))
        return;
    dm_->writeSetting(13, QString::number(n));
    if (!checkNumber(EditLeastRec, TabInOut, QStringLiteral("最少记录数错误，请重新输入！"),
                     QStringLiteral("最少记录数必须大于零，请重新输入！"), &n))
        return;
    dm_->writeSetting(14, QString::number(n));
    if (!checkNumber(EditMostRec, TabInOut, QStringLiteral("最多记录数错误，请重新输入！"),
                     QStringLiteral("最多记录数必须大于零，请重新输入！"), &n))
        return;
    dm_->writeSetting(15, QString::number(n));
    dm_->writeSetting(16, QString::number(ComboBoxWeekStat->currentIndex()));
    dm_->writeSetting(17, QString::number(ComboBoxSeasonStat->currentIndex()));
    accept();
}

void TOptionsFrm::BitBtn2Click()
{
    dm_->clickSound();
    reject();
}
