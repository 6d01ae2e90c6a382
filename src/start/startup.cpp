#include "startup.h"

#include "registry.h"
#include "schemaversion.h"

#include <QFileInfo>

Startup::Startup(Environment env) : env_(std::move(env))
{
    if (!env_.programFolder.endsWith(QLatin1Char('/')))
        env_.programFolder += QLatin1Char('/');
}

Startup::Result Startup::run()
{
    const QString dbPath = env_.programFolder + QStringLiteral("Data/Account.mdb");
    if (!QFileInfo::exists(dbPath)) {
        env_.services.messages->show(QStringLiteral("Zelko家庭理财"),
                                     QStringLiteral("数据文件") + dbPath + QStringLiteral("不存在!"), MsgIcon::Critical);
        return Result::MissingFile;
    }

    dm_ = std::make_unique<TDataModule1>(env_.programFolder, env_.services);
    if (!dm_->isConnected()) {
        dm_.reset();
        return Result::NoConnection; // the connect routine has reported it
    }

    SchemaVersion::check(*dm_);

    const QString installPath = Registry::installPath();
    dm_->currentUser = dm_->readSetting(0);
    if (dm_->currentUser != QLatin1String("0") && installPath == env_.programFolder) {
        automatic_ = true;
        return Result::Ready;
    }

    dm_->currentUser = QStringLiteral("0");
    if (!env_.signIn || !env_.signIn(*dm_) || dm_->currentUser == QLatin1String("0") || dm_->currentUser.isEmpty())
        return Result::Cancelled;
    dm_->writeSetting(3, dm_->currentUser);
    return Result::Ready;
}
