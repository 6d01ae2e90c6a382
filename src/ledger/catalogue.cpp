#include "catalogue.h"

#include "datamodule.h"

namespace {
const QString kDuplicate = QStringLiteral("已有同名的分类名称，此次操作无效！");
const QString kFull = QStringLiteral("分类已满，无法新增分类！");
} // namespace

bool Catalogue::list(const QString& classCode)
{
    if (classCode.isEmpty())
        return dm_->query(QStringLiteral("SELECT * FROM AC_Type WHERE (UserID = 0 OR UserID = ?) AND UseFlag = '1' "
                                         "ORDER BY TypeID"),
                          {dm_->currentUserId()});
    return dm_->query(QStringLiteral("SELECT * FROM AC_Type WHERE (UserID = 0 OR UserID = ?) AND TypeFlag = ? "
                                     "AND UseFlag <> '0' ORDER BY TypeID"),
                      {dm_->currentUserId(), classCode});
}

QString Catalogue::create(const QString& name, const QString& classCode, bool flag)
{
    const int user = dm_->currentUserId();
    if (!dm_->query(QStringLiteral("SELECT TypeID FROM AC_Type WHERE (UserID = 0 OR UserID = ?) AND TypeName = ? "
                                   "AND TypeFlag = ? AND UseFlag <> '0'"),
                    {user, name, classCode}))
        return QString();
    if (!dm_->ADOQuery1().isEmpty()) {
        dm_->messages()->info(kDuplicate);
        return QString();
    }
    if (!dm_->query(QStringLiteral("SELECT max(TypeID) AS TypeID FROM AC_Type WHERE (UserID = 0 OR UserID = ?) "
                                   "AND TypeID <> '299' AND TypeFlag = ?"),
                    {user, classCode}))
        return QString();
    const QString highest = dm_->ADOQuery1().isEmpty() ? QString() : dm_->ADOQuery1().text(0, QStringLiteral("TypeID"));
    const QString candidate = highest.isEmpty() ? classCode + QStringLiteral("01")
                                                : QString::number(highest.toInt() + 1);
    if (candidate.left(1) != classCode || candidate == QLatin1String("299") || candidate.size() != 3) {
        dm_->messages()->info(kFull);
        return QString();
    }
    if (!dm_->exec(QStringLiteral("INSERT INTO AC_Type VALUES (?, ?, ?, 0, '1', ?, ?)"),
                   {candidate, name, classCode, flag, user}))
        return QString();
    return candidate;
}

bool Catalogue::rename(const QString& code, const QString& name, bool flag)
{
    const int user = dm_->currentUserId();
    if (!dm_->query(QStringLiteral("SELECT TypeID FROM AC_Type WHERE (UserID = 0 OR UserID = ?) AND TypeID <> ? "
                                   "AND TypeName = ? AND TypeFlag = ? AND UseFlag <> '0'"),
                    {user, code, name, code.left(1)}))
        return false;
    if (!dm_->ADOQuery1().isEmpty()) {
        dm_->messages()->info(kDuplicate);
        return false;
    }
    return dm_->exec(QStringLiteral("UPDATE AC_Type SET TypeName = ?, FundFlag = ? WHERE UserID = ? AND TypeID = ?"),
                     {name, flag, user, code});
}

bool Catalogue::retire(const QString& code)
{
    return dm_->exec(QStringLiteral("UPDATE AC_Type SET UseFlag = '0' WHERE UserID = ? AND TypeID = ?"),
                     {dm_->currentUserId(), code});
}
